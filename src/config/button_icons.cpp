// The buttons' icons: the Win32 side of loading them and of giving a button its face.
#include "config/button_icons.h"

#include <shellapi.h>

#include <climits>

#include "base/handles.h"
#include "base/dpi.h"
#include "config/config_rules.h"
#include "res/resource.h"

ButtonIconSizes g_buttonIconSizes;

namespace {

// Icon `iconNumber` of a file at the sizes of `dpi`, the large one and, when asked for, the small one, from
// one reading of the file: the low words of the sizes ask for the first icon, the high words for the
// second. Some systems fill the places even when nothing was extracted: the count alone says whether the
// handles are icons at all.
void ExtractIconsAt(const char* file, int iconNumber, int dpi, HICON& large, HICON* small) {
    const int width = MetricForDpi(SM_CXICON, dpi);
    const int height = MetricForDpi(SM_CYICON, dpi);
    const int smallWidth = small ? MetricForDpi(SM_CXSMICON, dpi) : 0;
    const int smallHeight = small ? MetricForDpi(SM_CYSMICON, dpi) : 0;
    HICON icons[2] = {};
    UINT ids[2] = {};
    const UINT extracted = PrivateExtractIconsA(file, iconNumber, MAKELONG(width, smallWidth),
                                                MAKELONG(height, smallHeight), icons, ids, small ? 2 : 1, 0);
    const bool any = extracted != 0 && extracted != UINT_MAX;
    large = any ? icons[0] : nullptr;
    if (small) *small = any ? icons[1] : nullptr;
}

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
        HICON largeIcon = nullptr;
        HICON smallIcon = nullptr;
        ExtractIconsAt(file, iconNumber, g_buttonIconSizes.dpi, largeIcon, &smallIcon);
        large = largeIcon;
        small = smallIcon;
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

HICON ExtractIconAt(const char* file, int iconNumber, int dpi) {
    HICON icon = nullptr;
    ExtractIconsAt(file, iconNumber, dpi, icon, nullptr);
    return icon;
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
