// The button bar's frame: caption, place, resolution and the layout of its buttons.
#include "app/bar_frame.h"

#include <cstring>

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

LayoutMetrics g_layoutMetrics;

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

class Win32MoveSystem : public MoveSystem {
public:
    ~Win32MoveSystem() override {
        if (batch_ != nullptr) EndDeferWindowPos(batch_);
    }
    bool BeginBatch(std::size_t count) override {
        batch_ = BeginDeferWindowPos(static_cast<int>(count));
        return batch_ != nullptr;
    }
    bool Defer(const WindowMove& move) override {
        batch_ = DeferWindowPos(batch_, static_cast<HWND>(move.window), nullptr, move.x, move.y, move.width,
                                move.height, move.flags);
        return batch_ != nullptr;
    }
    void EndBatch() override {
        EndDeferWindowPos(batch_);
        batch_ = nullptr;
    }
    void MoveNow(const WindowMove& move) override {
        SetWindowPos(static_cast<HWND>(move.window), nullptr, move.x, move.y, move.width, move.height, move.flags);
    }

private:
    HDWP batch_ = nullptr;
};


// Style and title are written only when they change: each write repaints the button, and a resize
// lays the grid out at every step.
void ApplyFace(HWND button, int index, const ButtonCell& cell) {
    const ButtonDef& def = g_settings.buttons[index];
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    bool iconShown = false;
    if (def.useIcon) {
        // The icon style first: the face is drawn as soon as the image is set.
        if (!(style & BS_ICON)) SetWindowLongPtrA(button, GWL_STYLE, style | BS_ICON);
        iconShown = SetButtonFace(button, index, cell.smallIcon ? IconSize::kSmall : IconSize::kLarge);
    }
    if (!iconShown) {
        const LONG_PTR current = GetWindowLongPtrA(button, GWL_STYLE);
        const LONG_PTR plain = current & ~static_cast<LONG_PTR>(BS_ICON);
        if (plain != current) SetWindowLongPtrA(button, GWL_STYLE, plain);
        // An image left from an earlier face would show beside the title.
        if (SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0) != 0) ClearButtonFace(button);
    }
    char shown[sizeof def.title] = "";
    GetWindowTextA(button, shown, sizeof shown);
    if (std::strcmp(shown, def.title) != 0) SetWindowTextA(button, def.title);
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

// ---- Layout

void MeasureLayoutAt(int dpi) {
    g_layoutMetrics.dpi = dpi;
    g_layoutMetrics.iconCellMin.width = MetricForDpi(SM_CXICON, dpi) + 2 * MetricForDpi(SM_CXEDGE, dpi);
    g_layoutMetrics.iconCellMin.height = MetricForDpi(SM_CYICON, dpi) + 2 * MetricForDpi(SM_CYEDGE, dpi);
    g_layoutMetrics.measured = true;
}

void LayoutButtons() {
    const HWND bar = g_app.mainWindow;
    if (bar == nullptr) return;
    if (!g_layoutMetrics.measured) MeasureLayoutAt(WindowDpi(bar));
    // Making a window that is not topmost "not topmost" has no effect, and is left out.
    const bool topmost = (GetWindowLongPtrA(bar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (g_settings.options.onTop || topmost) {
        SetWindowPos(bar, g_settings.options.onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }

    RECT client = {};
    GetClientRect(bar, &client);
    GridRequest request;
    request.clientWidth = client.right;
    request.clientHeight = client.bottom;
    request.dpi = g_layoutMetrics.dpi;
    request.iconCellMin = g_layoutMetrics.iconCellMin;
    for (int i = 0; i < kButtonCount; ++i) request.invisible[i] = g_settings.buttons[i].type == kTypeInvisible;
    GridLayout layout;
    ComputeGridLayout(g_settings.options, request, layout);

    WindowMove moves[kButtonCount];
    std::size_t count = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        const HWND button = GetDlgItem(bar, IDC_BAR_FIRST + i);
        if (button == nullptr) continue;
        const ButtonCell& cell = layout.cells[i];
        if (cell.inGrid) ApplyFace(button, i, cell);
        WindowMove& move = moves[count++];
        switch (cell.placement) {
        case CellPlacement::kShow:
            move = {button, cell.x, cell.y, cell.width, cell.height, SWP_NOZORDER | SWP_SHOWWINDOW};
            break;
        case CellPlacement::kHideInCell:
            move = {button, cell.x, cell.y, cell.width, cell.height, SWP_NOZORDER | SWP_HIDEWINDOW};
            break;
        case CellPlacement::kHide:
            move = {button, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW};
            break;
        }
    }
    Win32MoveSystem system;
    ApplyMoves(moves, count, system);
}
