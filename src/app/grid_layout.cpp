// The grid's running division of the client area into the bar buttons' cells.
#include "app/grid_layout.h"

#include <cstdint>

#include "settings/settings_rules.h"

namespace {

// The settings file may hold any spacing: the sums are made in 64 bits and only then brought back into
// the range of a window coordinate.
constexpr std::int64_t kCoordinateLimit = 1 << 28;

int ToCoordinate(std::int64_t value) {
    if (value > kCoordinateLimit) return static_cast<int>(kCoordinateLimit);
    if (value < -kCoordinateLimit) return static_cast<int>(-kCoordinateLimit);
    return static_cast<int>(value);
}

}  // namespace

std::int64_t SpacingAt(int space, int dpi) {
    if (dpi <= 0 || dpi == kSpacingDpi) return space;
    const std::int64_t scaled = static_cast<std::int64_t>(space) * dpi;
    const std::int64_t half = kSpacingDpi / 2;
    return scaled >= 0 ? (scaled + half) / kSpacingDpi : (scaled - half) / kSpacingDpi;
}

void ComputeGridLayout(AppOptions& options, const GridRequest& request, GridLayout& layout) {
    ClampGrid(options);
    const std::int64_t space = SpacingAt(options.space, request.dpi);
    const std::int64_t clientWidth = request.clientWidth;
    const std::int64_t clientHeight = request.clientHeight;

    for (ButtonCell& cell : layout.cells) cell = ButtonCell();

    std::int64_t y = space;
    for (int row = 0; row < options.rows; ++row) {
        const std::int64_t height = (clientHeight - y) / (options.rows - row) - space;
        std::int64_t x = space;
        for (int column = 0; column < options.cols; ++column) {
            const int index = row * kButtonsPerRow + column;
            const std::int64_t width = (clientWidth - x) / (options.cols - column) - space;
            ButtonCell& cell = layout.cells[index];
            cell.inGrid = true;
            cell.x = ToCoordinate(x);
            cell.y = ToCoordinate(y);
            cell.width = ToCoordinate(width);
            cell.height = ToCoordinate(height);
            cell.smallIcon = width < request.iconCellMin.width || height < request.iconCellMin.height;
            if (width <= 0 || height <= 0) {
                cell.placement = CellPlacement::kHide;
            } else {
                cell.placement = request.invisible[index] ? CellPlacement::kHideInCell : CellPlacement::kShow;
            }
            x += width + space;
        }
        y += height + space;
    }
}
