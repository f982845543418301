// The grid layout's Win32 shell: measures, gives each cell its face and title, and moves all buttons in one batch.
#include "app/layout_buttons.h"

#include <windows.h>

#include <cstring>

#include "app/app_state.h"
#include "config/button_icons.h"
#include "res/resource.h"

LayoutMetrics g_layoutMetrics;

namespace {

// One deferred batch, so the bar repaints once; should the system refuse the batch, the remaining
// buttons are moved one by one instead of being left where they were.
class WindowMoves {
public:
    WindowMoves() : batch_(BeginDeferWindowPos(kButtonCount)) {}
    ~WindowMoves() {
        if (batch_ != nullptr) EndDeferWindowPos(batch_);
    }
    WindowMoves(const WindowMoves&) = delete;
    WindowMoves& operator=(const WindowMoves&) = delete;

    void Move(HWND window, int x, int y, int width, int height, UINT flags) {
        if (batch_ != nullptr) batch_ = DeferWindowPos(batch_, window, nullptr, x, y, width, height, flags);
        if (batch_ == nullptr) SetWindowPos(window, nullptr, x, y, width, height, flags);
    }

private:
    HDWP batch_;
};

void MeasureIconCell() {
    if (g_layoutMetrics.measured) return;
    g_layoutMetrics.iconCellMin.width = GetSystemMetrics(SM_CXICON) + 2 * GetSystemMetrics(SM_CXEDGE);
    g_layoutMetrics.iconCellMin.height = GetSystemMetrics(SM_CYICON) + 2 * GetSystemMetrics(SM_CYEDGE);
    g_layoutMetrics.measured = true;
}

// Style and title are written only when they change: each write repaints the button, and a resize
// lays the grid out at every step.
void ApplyFace(HWND button, int index, const ButtonCell& cell) {
    const ButtonDef& def = g_settings.buttons[index];
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    if (!def.useIcon || !SetButtonFace(button, style, index, cell.smallIcon, true)) {
        // SetButtonFace has set the icon style before it found no icon: look again.
        const LONG_PTR current = GetWindowLongPtrA(button, GWL_STYLE);
        const LONG_PTR plain = current & ~static_cast<LONG_PTR>(BS_ICON);
        if (plain != current) SetWindowLongPtrA(button, GWL_STYLE, plain);
    }
    char shown[sizeof def.title] = "";
    GetWindowTextA(button, shown, sizeof shown);
    if (std::strcmp(shown, def.title) != 0) SetWindowTextA(button, def.title);
}

}  // namespace

void LayoutButtons() {
    const HWND bar = g_app.mainWindow;
    if (bar == nullptr) return;
    MeasureIconCell();
    SetWindowPos(bar, g_settings.options.onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);

    RECT client = {};
    GetClientRect(bar, &client);
    GridRequest request;
    request.clientWidth = client.right;
    request.clientHeight = client.bottom;
    request.iconCellMin = g_layoutMetrics.iconCellMin;
    for (int i = 0; i < kButtonCount; ++i) request.invisible[i] = g_settings.buttons[i].type == kTypeInvisible;
    GridLayout layout;
    ComputeGridLayout(g_settings.options, request, layout);

    WindowMoves moves;
    for (int i = 0; i < kButtonCount; ++i) {
        const HWND button = GetDlgItem(bar, IDC_BAR_FIRST + i);
        if (button == nullptr) continue;
        const ButtonCell& cell = layout.cells[i];
        if (cell.inGrid) ApplyFace(button, i, cell);
        switch (cell.placement) {
        case CellPlacement::kShow:
            moves.Move(button, cell.x, cell.y, cell.width, cell.height, SWP_NOZORDER | SWP_SHOWWINDOW);
            break;
        case CellPlacement::kHideInCell:
            moves.Move(button, cell.x, cell.y, cell.width, cell.height, SWP_NOZORDER | SWP_HIDEWINDOW);
            break;
        case CellPlacement::kHide:
            moves.Move(button, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW);
            break;
        }
    }
}
