// The buttons' icons: the Win32 side of loading them and of giving a button its face.
#include "config/button_icons.h"

#include <shellapi.h>

#include <climits>

#include "base/app_handles.h"
#include "base/dpi.h"
#include "config/button_icon_rules.h"
#include "res/resource.h"

ButtonIconSizes g_buttonIconSizes;

namespace {

// A shell icon handed to a button belongs to that button alone: the handle is kept in a property of the
// button, so it is released when the image is replaced instead of leaking one icon per layout.
constexpr char kShellIconProperty[] = "Brisolt_shell_icon";

void ShowImage(HWND button, HICON icon) {
    const HANDLE previous = reinterpret_cast<HANDLE>(
        SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
    const HANDLE shellIcon = GetPropA(button, kShellIconProperty);
    if (shellIcon != nullptr && shellIcon != icon) {
        RemovePropA(button, kShellIconProperty);
        // Only the icon that the button was showing is ours to release; anything else was replaced
        // behind our back and is left to whoever set it.
        if (previous == shellIcon) DestroyIcon(static_cast<HICON>(shellIcon));
    }
}

class Win32IconSystem : public IconSystem {
public:
    void ClearBarFace(int index) override { ::ClearBarFace(index); }
    void DestroyIcon(void* icon) override { ::DestroyIcon(static_cast<HICON>(icon)); }
    // Each icon is taken at the size the bar's resolution asks for, so it is drawn as made, not stretched.
    void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) override {
        large = ExtractIconAt(file, iconNumber, g_buttonIconSizes.dpi, false);
        small = ExtractIconAt(file, iconNumber, g_buttonIconSizes.dpi, true);
    }
    bool FindProgram(const char* command, char (&program)[kPathSize]) override {
        program[0] = '\0';
        const HINSTANCE result = FindExecutableA(command, "", program);
        program[kPathSize - 1] = '\0';
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
};

int TableIndex(const ButtonDef& def) {
    for (int i = 0; i < kButtonCount; ++i) {
        if (&g_settings.buttons[i] == &def) return i;
    }
    return -1;
}

}  // namespace

// Some systems fill the place even when nothing was extracted: the count alone says whether the handle
// is an icon at all.
HICON ExtractIconAt(const char* file, int iconNumber, int dpi, bool small) {
    const int width = MetricForDpi(small ? SM_CXSMICON : SM_CXICON, dpi);
    const int height = MetricForDpi(small ? SM_CYSMICON : SM_CYICON, dpi);
    HICON icon = nullptr;
    UINT id = 0;
    const UINT extracted = PrivateExtractIconsA(file, iconNumber, width, height, &icon, &id, 1, 0);
    return extracted != 0 && extracted != UINT_MAX ? icon : nullptr;
}

void LoadButtonIcons(ButtonDef& def) {
    Win32IconSystem system;
    ReloadButtonIcons(def, TableIndex(def), system);
}

void LoadAllButtonIcons() {
    for (ButtonDef& def : g_settings.buttons) LoadButtonIcons(def);
}

void LoadAllButtonIconsAt(int dpi) {
    const int loadedAt = g_buttonIconSizes.dpi != 0 ? g_buttonIconSizes.dpi : WindowDpi(nullptr);
    g_buttonIconSizes.dpi = dpi;
    if (dpi != loadedAt) LoadAllButtonIcons();
}

bool SetButtonFace(HWND button, LONG_PTR style, int index, bool small, bool setStyle) {
    if (setStyle) SetWindowLongPtrA(button, GWL_STYLE, style | BS_ICON);
    if (index < 0 || index >= kButtonCount) return false;
    const ButtonDef& def = g_settings.buttons[index];
    if (ChooseFaceSource(def) == FaceSource::kOwnIcon) {
        ShowImage(button, static_cast<HICON>(small ? def.smallIcon : def.largeIcon));
        return true;
    }
    SHFILEINFOA info = {};
    const UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : 0);
    if (SHGetFileInfoA(def.command, 0, &info, sizeof info, flags) == 0 || info.hIcon == nullptr) return false;
    ShowImage(button, info.hIcon);
    SetPropA(button, kShellIconProperty, info.hIcon);
    return true;
}

void ClearButtonFace(HWND button) {
    ShowImage(button, nullptr);
}

void ClearBarFace(int index) {
    if (g_app.mainWindow == nullptr || index < 0 || index >= kButtonCount) return;
    const HWND button = GetDlgItem(g_app.mainWindow, IDC_BAR_FIRST + index);
    if (button != nullptr) ClearButtonFace(button);
}
