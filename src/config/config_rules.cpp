// The configuration layer's rules that need no system call.
#include "config/config_rules.h"

#include <utility>

#include "base/bounded_text.h"
#include "settings/settings_rules.h"

// ---- Button icons

namespace {

// Both icons, or neither: a half-extracted pair is released at once rather than kept unused.
bool Extract(const ButtonDef& def, IconSystem& system, IconPair& icons) {
    void* large = nullptr;
    void* small = nullptr;
    system.ExtractIcons(def.iconFile, def.iconNumber, large, small);
    if (IsIcon(large) && IsIcon(small)) {
        icons = {large, small};
        return true;
    }
    if (IsIcon(large)) system.ReleaseIcon(large);
    if (IsIcon(small)) system.ReleaseIcon(small);
    return false;
}

}  // namespace

bool IsIcon(const void* handle) {
    return handle != nullptr && handle != reinterpret_cast<const void*>(1);
}

IconPair LoadIconPair(ButtonDef& def, IconSystem& system) {
    IconPair icons;
    if (def.iconFile[0] == '\0') def.iconNumber = -1;
    if (def.iconNumber < 0) return icons;
    if (Extract(def, system, icons)) return icons;

    char program[kPathSize] = "";
    // Only a program that was found replaces the icon file: an empty answer would erase the user's
    // file name at the next save.
    if (system.FindProgram(def.command, program)) {
        CopyText(def.iconFile, FieldText(program));
        def.iconNumber = 0;
        if (Extract(def, system, icons)) return icons;
    }
    def.iconNumber = -1;
    return icons;
}

FaceSource ChooseFaceSource(const ButtonDef& def, const IconPair& icons) {
    const bool own = def.iconNumber >= 0 && def.iconFile[0] != '\0' && IsIcon(icons.large) && IsIcon(icons.small);
    return own ? FaceSource::kOwnIcon : FaceSource::kShellIcon;
}

bool SameIcons(const ButtonDef& a, const ButtonDef& b) {
    return a.iconNumber == b.iconNumber && FieldText(a.iconFile) == FieldText(b.iconFile) &&
           FieldText(a.command) == FieldText(b.command);
}

// ---- The configuration dialog's cells

namespace {

int Clamp(int value, int low, int high) {
    if (value > high) return high;
    if (value < low) return low;
    return value;
}

}  // namespace

int StartIndex(int startButton) {
    return startButton != 0 ? startButton - 1 : 0;
}

int IndexAt(int row, int column) {
    return row * kButtonsPerRow + column;
}

int IndexAtPosition(int position, int cols) {
    if (cols < 1) cols = 1;
    return IndexAt(position / cols, position % cols);
}

GridCursor ClampCursor(AppOptions& options, int index) {
    ClampGrid(options);
    GridCursor cursor;
    // A negative index divides toward zero: its row and column are clamped like any other.
    cursor.row = Clamp(index / kButtonsPerRow, 0, options.rows - 1);
    cursor.column = Clamp(index % kButtonsPerRow, 0, options.cols - 1);
    cursor.index = IndexAt(cursor.row, cursor.column);
    cursor.position = cursor.row * options.cols + cursor.column;
    return cursor;
}

GridCursor MoveToPosition(ButtonDef (&buttons)[kButtonCount], AppOptions& options, const GridCursor& cursor,
                          int position) {
    ClampGrid(options);
    position = Clamp(position, 0, options.rows * options.cols - 1);
    const GridCursor moved = ClampCursor(options, IndexAtPosition(position, options.cols));
    const GridCursor from = ClampCursor(options, cursor.index);
    if (moved.index != from.index) std::swap(buttons[from.index], buttons[moved.index]);
    return moved;
}

// ---- The Select icon dialog's list

IconListSource ChooseIconListSource(std::string_view given, const ButtonDef& def) {
    // Blanks typed in front of a name would make it name no file, and the list would silently show the
    // command's program instead.
    given = SkipLeadingBlanks(given);
    if (!given.empty()) return {given, 0};
    const std::string_view iconFile = FieldText(def.iconFile);
    if (!iconFile.empty()) return {iconFile, def.iconNumber < 0 ? 0 : def.iconNumber};
    return {FieldText(def.command), 0};
}

int StartItem(int selection, int count) {
    return (selection >= 0 && selection < count) ? selection : 0;
}

bool HasOwnIcon(int iconNumber, std::string_view name, int iconCount) {
    return iconNumber >= 0 && !name.empty() && iconCount > 0;
}

IconItemMetrics MeasureIconItem(int listClientHeight, int iconWidth, int iconHeight) {
    IconItemMetrics metrics;
    metrics.itemSize = listClientHeight + 2;
    metrics.xOffset = (metrics.itemSize - iconWidth) / 2;
    metrics.yOffset = (metrics.itemSize - iconHeight) / 2;
    return metrics;
}

std::string_view SkipLeadingBlanks(std::string_view name) {
    std::size_t skip = 0;
    // Codes above 127 are letters of the code page, however char is signed here.
    while (skip < name.size()) {
        const unsigned char c = static_cast<unsigned char>(name[skip]);
        if (c < 1 || c > 32) break;
        ++skip;
    }
    return text::Part(name, skip);
}
