// The buttons' icons: the table that owns them, loading them and giving a button its face.
#include "config/button_icons.h"

#include <shellapi.h>

#include <climits>

#include "base/handles.h"
#include "base/dpi.h"
#include "config/config_rules.h"
#include "res/resource.h"

namespace {

// The 50 buttons' icons and the resolution they were loaded for (0: the system's sizes, until the bar
// knows its own).
struct ButtonIconTable {
    ButtonIconPair icons[kButtonCount];
    int dpi = 0;
};
ButtonIconTable g_icons;

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
    void ReleaseIcon(void* icon) override { DestroyIcon(static_cast<HICON>(icon)); }
    // Each icon is taken at the size the bar's resolution asks for, so it is drawn as made, not stretched.
    void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) override {
        HICON largeIcon = nullptr;
        HICON smallIcon = nullptr;
        ExtractIconsAt(file, iconNumber, g_icons.dpi, largeIcon, &smallIcon);
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

// Bar button `index` shows no image any more.
void ClearBarFace(int index) {
    if (g_app.mainWindow == nullptr) return;
    const HWND button = GetDlgItem(g_app.mainWindow, IDC_BAR_FIRST + index);
    if (button != nullptr) ClearButtonFace(button);
}

}  // namespace

HICON ExtractIconAt(const char* file, int iconNumber, int dpi) {
    HICON icon = nullptr;
    ExtractIconsAt(file, iconNumber, dpi, icon, nullptr);
    return icon;
}

ButtonIconPair LoadButtonIconPair(ButtonDef& def) {
    Win32IconSystem system;
    const IconPair loaded = LoadIconPair(def, system);
    ButtonIconPair icons;
    icons.large.Reset(static_cast<HICON>(loaded.large));
    icons.small.Reset(static_cast<HICON>(loaded.small));
    return icons;
}

void LoadButtonIcons(int index) {
    if (index < 0 || index >= kButtonCount) return;
    ClearBarFace(index);
    g_icons.icons[index] = LoadButtonIconPair(g_settings.buttons[index]);
}

void LoadAllButtonIcons() {
    for (int i = 0; i < kButtonCount; ++i) LoadButtonIcons(i);
}

void LoadAllButtonIconsAt(int dpi) {
    const int loadedAt = g_icons.dpi != 0 ? g_icons.dpi : WindowDpi(nullptr);
    g_icons.dpi = dpi;
    if (dpi != loadedAt) LoadAllButtonIcons();
}

const ButtonIconPair& ButtonIcons(int index) {
    return g_icons.icons[index];
}

bool ShowButtonFace(HWND button, const ButtonDef& def, const ButtonIconPair& icons, IconSize size) {
    const bool small = size == IconSize::kSmall;
    if (ChooseFaceSource(def, {icons.large.get(), icons.small.get()}) == FaceSource::kOwnIcon) {
        ShowImage(button, small ? icons.small.get() : icons.large.get());
        return true;
    }
    SHFILEINFOA info = {};
    const UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : 0);
    if (SHGetFileInfoA(def.command, 0, &info, sizeof info, flags) == 0 || info.hIcon == nullptr) return false;
    ShowImage(button, info.hIcon);
    SetPropA(button, kShellIconProperty, info.hIcon);
    return true;
}

bool SetButtonFace(HWND button, int index, IconSize size) {
    if (index < 0 || index >= kButtonCount) return false;
    return ShowButtonFace(button, g_settings.buttons[index], g_icons.icons[index], size);
}

void ClearButtonFace(HWND button) {
    ShowImage(button, nullptr);
}
