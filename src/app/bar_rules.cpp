// The button bar's rules that need no system call.
#include "app/bar_rules.h"

#include <cstdint>

#include "base/bounded_text.h"
#include "res/resource.h"
#include "settings/settings_rules.h"

// ---- The grid

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

// ---- The hint

void HintLineBreaks(char* text, std::size_t room) {
    const std::size_t length = text::BoundedLength(text, room);
    for (std::size_t i = 0; i + 1 < length; ++i) {
        if (text[i] == '\\' && text[i + 1] == 'n') {
            text[i] = '\r';
            text[i + 1] = '\n';
            ++i;
        }
    }
}

HintPlace PlaceHint(int x, int y, int textWidth, int textHeight, int cursorHeight, int borderX, int borderY,
                    int screenWidth, int screenHeight) {
    HintPlace place{x, y + cursorHeight / 2, textWidth + 2 * borderX + 8, textHeight + 2 * borderY + 8};
    if (place.x + place.width > screenWidth) place.x = screenWidth - place.width;
    if (place.y + place.height > screenHeight) place.y = screenHeight - place.height;
    return place;
}

int TypeDescriptionId(int type) {
    return (type >= 0 && type <= IDS_HINT_STOP_RUNS - IDS_HINT_EXECUTE) ? IDS_HINT_EXECUTE + type : 0;
}

// ---- Buttons run in turn

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

bool StepTitle(std::string_view list, int n, std::string_view& title) {
    for (int found = 0;;) {
        const std::size_t bar = list.find('|');
        const std::string_view piece = TrimBlanks(text::Part(list, 0, bar));
        if (!piece.empty() && found++ == n) {
            title = piece;
            return true;
        }
        if (bar == std::string_view::npos) return false;
        list = text::Part(list, bar + 1);
    }
}

StepCheck FindStepButton(const ButtonDef (&buttons)[kButtonCount], std::string_view title, int& index) {
    for (int k = 0; k < kButtonCount; ++k) {
        if (!SameName(FieldText(buttons[k].title), title)) continue;
        index = k;
        return buttons[k].type == kTypeRunInTurn ? StepCheck::kRunsInTurn : StepCheck::kFound;
    }
    return StepCheck::kNoButton;
}

// ---- Closing

int CloseQuestionId(long children) {
    if (children <= 0) return 0;
    return children == 1 ? IDS_CLOSE_ONE_CHILD : IDS_CLOSE_CHILDREN;
}

// ---- Moving windows

void ApplyMoves(const WindowMove* moves, std::size_t count, MoveSystem& system) {
    bool batched = system.BeginBatch(count);
    for (std::size_t i = 0; batched && i < count; ++i) batched = system.Defer(moves[i]);
    if (batched) {
        system.EndBatch();
        return;
    }
    for (std::size_t i = 0; i < count; ++i) system.MoveNow(moves[i]);
}
