// The button bar at its screen's resolution: window icons and button font made for it, and the move to a
// screen of another resolution, which a per-monitor aware program is told of and must follow itself.
#include "app/bar_dpi.h"

#include "app/layout_buttons.h"
#include "base/app_handles.h"
#include "base/dpi.h"
#include "config/button_icons.h"
#include "res/resource.h"

namespace {

HICON LoadProgramIcon(int id, int size) {
    return static_cast<HICON>(
        LoadImageA(g_app.appInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The small icon has its own 16-pixel image; larger small sizes are drawn from the large icon's images.
void SetWindowIcons(HWND bar, BarState& state, int dpi) {
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
void SetButtonFont(HWND bar, BarState& state, int dpi) {
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

void SetUpBarDpi(HWND bar, BarState& state) {
    const int dpi = WindowDpi(bar);
    state.templateDpi = dpi;
    const auto font = reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0));
    if (!font || GetObjectA(font, sizeof state.templateFont, &state.templateFont) == 0) state.templateDpi = 0;
    SetWindowIcons(bar, state, dpi);
    LoadAllButtonIconsAt(dpi);
    MeasureLayoutAt(dpi);
}

void FollowDpi(HWND bar, BarState& state, int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    SetButtonFont(bar, state, dpi);
    SetWindowIcons(bar, state, dpi);
    LoadAllButtonIconsAt(dpi);
    MeasureLayoutAt(dpi);
    // While the bar opens, its move to the stored place may land on such a screen: the stored size is
    // kept, or the bar would grow or shrink at every start.
    if (state.opening) return;
    SetWindowPos(bar, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A new resolution with the same size brings no new layout of its own.
    LayoutButtons();
}

void ReleaseBarDpi(BarState& state) {
    for (HICON& icon : state.windowIcons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
    if (state.scaledFont) DeleteObject(state.scaledFont);
    state.scaledFont = nullptr;
}
