// The grid layout's Win32 shell: measures, gives each cell its face and title, and moves all buttons in one batch.
#include "app/layout_buttons.h"
#include "app/bar_rules.h"

#include <windows.h>

#include <cstring>

#include "base/handles.h"
#include "base/dpi.h"
#include "config/button_icons.h"
#include "res/resource.h"

LayoutMetrics g_layoutMetrics;

namespace {

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
