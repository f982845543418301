// Fuzzes the grid layout with any rows, columns and spacing the settings file may hold and any client
// area: the grid is clamped, only its cells get a place, a shown cell has an area, and with a spacing of
// zero or more the shown cells lie inside the client area, the spacing free around each.
#include "app/grid_layout.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    AppOptions options;
    options.rows = input.Int();
    options.cols = input.Int();
    options.space = input.Int();
    GridRequest request;
    // A real client area is far below 2^20; anything else only needs to come through without harm.
    const bool real = input.Flag();
    request.clientWidth = real ? input.IntIn(0, 1 << 20) : input.Int();
    request.clientHeight = real ? input.IntIn(0, 1 << 20) : input.Int();
    request.iconCellMin.width = input.IntIn(0, 256);
    request.iconCellMin.height = input.IntIn(0, 256);
    for (bool& invisible : request.invisible) invisible = input.Flag();

    GridLayout layout;
    ComputeGridLayout(options, request, layout);
    FUZZ_CHECK(options.rows >= 1 && options.rows <= kMaxRows && options.cols >= 1 && options.cols <= kMaxCols);

    const bool inside = real && options.space >= 0;
    for (int index = 0; index < kButtonCount; ++index) {
        const ButtonCell& cell = layout.cells[index];
        const int row = index / kButtonsPerRow;
        const int column = index % kButtonsPerRow;
        FUZZ_CHECK(cell.inGrid == (row < options.rows && column < options.cols));
        if (!cell.inGrid) {
            FUZZ_CHECK(cell.placement == CellPlacement::kHide);
            continue;
        }
        if (cell.placement == CellPlacement::kHide) {
            FUZZ_CHECK(cell.width <= 0 || cell.height <= 0);
            continue;
        }
        FUZZ_CHECK(cell.width > 0 && cell.height > 0);
        FUZZ_CHECK((cell.placement == CellPlacement::kHideInCell) == request.invisible[index]);
        const IconCellMin& least = request.iconCellMin;
        FUZZ_CHECK(cell.smallIcon == (cell.width < least.width || cell.height < least.height));
        if (!inside) continue;
        // The spacing stays free at every edge of the client area and between neighbours.
        const int space = options.space;
        FUZZ_CHECK(cell.x >= space && cell.y >= space);
        FUZZ_CHECK(cell.x + cell.width <= request.clientWidth - space);
        FUZZ_CHECK(cell.y + cell.height <= request.clientHeight - space);
        if (column + 1 < options.cols && layout.cells[index + 1].placement != CellPlacement::kHide) {
            FUZZ_CHECK(layout.cells[index + 1].x >= cell.x + cell.width + space);
        }
        if (row + 1 < options.rows && layout.cells[index + kButtonsPerRow].placement != CellPlacement::kHide) {
            FUZZ_CHECK(layout.cells[index + kButtonsPerRow].y >= cell.y + cell.height + space);
        }
    }
    return 0;
}
