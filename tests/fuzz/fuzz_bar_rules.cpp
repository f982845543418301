// Fuzzes the bar's rules: the grid layout with any rows, columns, spacing and client area (the grid is
// clamped, only its cells get a place, a shown cell has an area and lies inside the client area with the
// spacing free around it); the hint's text and place; the close question; and a batch of window moves
// against a system that refuses at any point (every window is moved exactly once either way).
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/bar_rules.h"
#include "fuzz_input.h"
#include "res/resource.h"

namespace grid_layout_case {
int FuzzGridLayout(const std::uint8_t* data, std::size_t size) {
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
}  // namespace grid_layout_case

namespace hint_text_case {
int FuzzHintText(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    // Measures and coordinates of a real screen, generous.
    constexpr int kLimit = 1 << 20;
    const int x = input.IntIn(-kLimit, kLimit);
    const int y = input.IntIn(-kLimit, kLimit);
    const int textWidth = input.IntIn(0, kLimit);
    const int textHeight = input.IntIn(0, kLimit);
    const int cursorHeight = input.IntIn(0, 256);
    const int borderX = input.IntIn(0, 64);
    const int borderY = input.IntIn(0, 64);
    const int screenWidth = input.IntIn(0, kLimit);
    const int screenHeight = input.IntIn(0, kLimit);
    const HintPlace place =
        PlaceHint(x, y, textWidth, textHeight, cursorHeight, borderX, borderY, screenWidth, screenHeight);
    FUZZ_CHECK(place.width == textWidth + 2 * borderX + 8 && place.height == textHeight + 2 * borderY + 8);
    // Moved back only as far as the edge asks.
    FUZZ_CHECK(place.x + place.width <= screenWidth && place.y + place.height <= screenHeight);
    FUZZ_CHECK(place.x == x || (place.x < x && place.x + place.width == screenWidth));
    const int below = y + cursorHeight / 2;
    FUZZ_CHECK(place.y == below || (place.y < below && place.y + place.height == screenHeight));

    const int type = input.Int();
    const int id = TypeDescriptionId(type);
    FUZZ_CHECK(id == 0 || (id >= IDS_HINT_EXECUTE && id <= IDS_HINT_STOP_RUNS && id - IDS_HINT_EXECUTE == type));
    FUZZ_CHECK((id == 0) == (type < 0 || type > IDS_HINT_STOP_RUNS - IDS_HINT_EXECUTE));

    // The text: room as given, the buffer filled from the input and perhaps without its NUL.
    const std::size_t room = 1 + input.Byte();
    const std::string_view text = input.Rest();
    const std::unique_ptr<char[]> buffer(new char[room]);
    const std::size_t filled = std::min(text.size(), room);
    std::memcpy(buffer.get(), text.data(), filled);
    if (filled < room) buffer[filled] = '\0';
    const std::string before(buffer.get(), filled);
    const std::size_t length = CText(buffer.get(), room).size();

    HintLineBreaks(buffer.get(), room);
    const std::string after(buffer.get(), filled);
    // Only "\n" pairs change, each into CR LF, and none is left.
    FUZZ_CHECK(CText(buffer.get(), room).size() == length);
    for (std::size_t i = 0; i < filled; ++i) {
        if (after[i] == before[i]) continue;
        FUZZ_CHECK(i + 1 < length && before.compare(i, 2, "\\n") == 0 && after.compare(i, 2, "\r\n") == 0);
        ++i;
    }
    FUZZ_CHECK(std::string_view(after).substr(0, length).find("\\n") == std::string_view::npos);
    return 0;
}
}  // namespace hint_text_case

namespace bar_rules_case {
namespace {

// Refuses the batch or any deferred move as the input says, and records what was done.
class FuzzMoves : public MoveSystem {
public:
    explicit FuzzMoves(FuzzInput& input) : input_(input) {}

    std::vector<const void*> deferred;
    std::vector<const void*> movedNow;
    int batchesBegun = 0;
    int batchesEnded = 0;
    bool refused = false;

    bool BeginBatch(std::size_t) override {
        ++batchesBegun;
        refused = !input_.Flag();
        return !refused;
    }
    bool Defer(const WindowMove& move) override {
        FUZZ_CHECK(!refused && batchesEnded == 0 && movedNow.empty());
        if (!input_.Flag()) {
            refused = true;
            return false;
        }
        deferred.push_back(move.window);
        return true;
    }
    void EndBatch() override {
        FUZZ_CHECK(!refused);
        ++batchesEnded;
    }
    void MoveNow(const WindowMove& move) override {
        FUZZ_CHECK(refused && batchesEnded == 0);
        movedNow.push_back(move.window);
    }

private:
    FuzzInput& input_;
};

}  // namespace

int FuzzBarRules(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    const long children = input.Int();
    const int question = CloseQuestionId(children);
    FUZZ_CHECK(question == (children <= 0 ? 0 : children == 1 ? IDS_CLOSE_ONE_CHILD : IDS_CLOSE_CHILDREN));

    const std::size_t count = input.Byte() % 64;
    std::vector<WindowMove> moves(count);
    for (std::size_t k = 0; k < count; ++k) moves[k].window = &moves[k];
    FuzzMoves system(input);
    ApplyMoves(moves.data(), count, system);
    FUZZ_CHECK(system.batchesBegun == 1);
    const std::vector<const void*>& done = system.refused ? system.movedNow : system.deferred;
    FUZZ_CHECK(system.batchesEnded == (system.refused ? 0 : 1));
    FUZZ_CHECK(done.size() == count);
    for (std::size_t k = 0; k < count; ++k) FUZZ_CHECK(done[k] == &moves[k]);
    return 0;
}
}  // namespace bar_rules_case

// The first byte chooses the rule; the rest is that rule's input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    switch (data[0] % 3) {
    case 0: return grid_layout_case::FuzzGridLayout(data + 1, size - 1);
    case 1: return hint_text_case::FuzzHintText(data + 1, size - 1);
    case 2: return bar_rules_case::FuzzBarRules(data + 1, size - 1);
    default: return 0;
    }
}
