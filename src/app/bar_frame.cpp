// The button bar's frame: caption, place and resolution.
#include "app/bar_frame.h"

#include "app/layout_buttons.h"
#include "base/bounded_text.h"
#include "base/dpi.h"
#include "base/handles.h"
#include "base/messages.h"
#include "config/button_icons.h"
#include "exec/expand_command.h"
#include "res/resource.h"
#include "settings/main_file.h"
#include "settings/settings_file.h"
#include "settings/settings_rules.h"

namespace {
// Room of the caption: a path, a separator and the program's name, or an expanded pattern.
constexpr std::size_t kCaptionSize = 520;

HICON LoadProgramIcon(int id, int size) {
    return static_cast<HICON>(
        LoadImageA(g_app.appInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The small icon has its own 16-pixel image; larger small sizes are drawn from the large icon's images.
void SetWindowIcons(HWND bar, BarDpi& state, int dpi) {
    const int largeSize = MetricForDpi(SM_CXICON, dpi);
    const int smallSize = MetricForDpi(SM_CXSMICON, dpi);
    const HICON large = LoadProgramIcon(IDI_PROGRAM, largeSize);
    const HICON small = LoadProgramIcon(smallSize <= 16 ? IDI_PROGRAM_SMALL : IDI_PROGRAM, smallSize);
    if (large) SendMessageA(bar, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    if (small) SendMessageA(bar, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    for (HICON& icon : state.windowIcons) {
        if (icon) DestroyIcon(icon);
    }
    state.windowIcons[0] = large;
    state.windowIcons[1] = small;
}

// The template's font stays with the dialog, which releases it; a copy for another resolution is ours.
void SetButtonFont(HWND bar, BarDpi& state, int dpi) {
    HFONT scaled = nullptr;
    if (state.templateDpi > 0 && dpi != state.templateDpi) {
        LOGFONTA font = state.templateFont;
        font.lfHeight = MulDiv(font.lfHeight, dpi, state.templateDpi);
        font.lfWidth = MulDiv(font.lfWidth, dpi, state.templateDpi);
        scaled = CreateFontIndirectA(&font);
    }
    const auto templateFont = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
    const auto shown = reinterpret_cast<WPARAM>(scaled ? scaled : templateFont);
    for (int id = IDC_BAR_FIRST; id <= IDC_BAR_LAST; ++id) SendDlgItemMessageA(bar, id, WM_SETFONT, shown, FALSE);
    if (state.scaledFont) DeleteObject(state.scaledFont);
    state.scaledFont = scaled;
}

}  // namespace

// ---- Caption and main file

void UpdateCaption(HWND bar) {
    char caption[kCaptionSize];
    CopyText(caption, FieldText(g_paths.mainFile));
    if (g_paths.mainFile[0] != '\0') AppendText(caption, " - ");
    bool expanded = false;
    if (g_settings.options.caption[0] != '\0') {
        char pattern[sizeof g_settings.options.caption];
        CopyText(pattern, FieldText(g_settings.options.caption));
        char result[kCaptionSize];
        // A cancelled query leaves the usual caption rather than a half-expanded pattern.
        if (ExpandPlaceholders(pattern, LongNames::kYes, result, sizeof result)) {
            CopyText(caption, FieldText(result));
            expanded = true;
        }
    }
    if (!expanded) AppendText(caption, ResStr(IDS_PROGRAM_NAME).text);
    if (bar) SetWindowTextA(bar, caption);
}

void SetMainFile(HWND bar, std::string_view name) {
    TakeMainFile(name);
    UpdateCaption(bar);
}

// ---- Place

void SaveWindowPlace(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    SavePlace({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
}

void RestoreWindowPlace(HWND window) {
    WindowPlace place = ReadWindowPlace();
    if (g_settings.options.saveFilePos && g_paths.mainFile[0] != '\0') {
        ReadRecentFiles();
        const int i = FindRecent(g_settings.recentFiles, FieldText(g_paths.mainFile));
        if (i >= 0) ParsePosition(FieldText(g_settings.recentPositions.entries[i]), place);
    }
    if (place.width != 0 && place.height != 0)
        SetWindowPos(window, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER);
}

// ---- Resolution

void SetUpBarDpi(HWND bar, BarDpi& state) {
    const int dpi = WindowDpi(bar);
    state.templateDpi = dpi;
    const auto font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
    if (!font || GetObjectA(font, sizeof state.templateFont, &state.templateFont) == 0) state.templateDpi = 0;
    SetWindowIcons(bar, state, dpi);
    LoadAllButtonIconsAt(dpi);
    MeasureLayoutAt(dpi);
}

void FollowDpi(HWND bar, BarDpi& state, int dpi, const RECT& suggested, bool opening) {
    if (dpi <= 0) return;
    SetButtonFont(bar, state, dpi);
    SetWindowIcons(bar, state, dpi);
    LoadAllButtonIconsAt(dpi);
    MeasureLayoutAt(dpi);
    // While the bar opens, its move to the stored place may land on such a screen: the stored size is
    // kept, or the bar would grow or shrink at every start.
    if (opening) return;
    SetWindowPos(bar, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A new resolution with the same size brings no new layout of its own.
    LayoutButtons();
}

void ReleaseBarDpi(BarDpi& state) {
    for (HICON& icon : state.windowIcons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
    if (state.scaledFont) DeleteObject(state.scaledFont);
    state.scaledFont = nullptr;
}
