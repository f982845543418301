// Fuzzes the configuration layer's rules: the reloading of a button's icons against a system that
// extracts icons, half pairs or none (afterwards the button has both icons or none, and every handle is
// destroyed exactly once unless the button keeps it); the dialog's cell arithmetic over any moves (every
// index stays in the visible grid, and a move only trades two records); the Select icon dialog's list.
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "base/bounded_text.h"
#include "config/config_rules.h"
#include "fuzz_input.h"

namespace button_icons_case {
namespace {

class FuzzIcons : public IconSystem {
public:
    explicit FuzzIcons(FuzzInput& input) : input_(input) {}

    std::set<void*> live;
    bool programFound = false;
    std::string program;

    // No handle, the "1" that also means none, or a new icon.
    void* NewHandle() {
        switch (input_.Byte() % 3) {
        case 0: return nullptr;
        case 1: return reinterpret_cast<void*>(1);
        default: {
            void* handle = reinterpret_cast<void*>(std::uintptr_t{0x10000} + 16 * next_++);
            live.insert(handle);
            return handle;
        }
        }
    }

    void ReleaseIcon(void* icon) override { FUZZ_CHECK(live.erase(icon) == 1); }
    void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) override {
        FUZZ_CHECK(Terminated(file, kPathSize) && file[0] != '\0' && iconNumber >= 0);
        large = NewHandle();
        small = NewHandle();
    }
    bool FindProgram(const char* command, char (&found)[kPathSize]) override {
        FUZZ_CHECK(Terminated(command, 260));
        program = UpToNul(input_.Value());
        // The system names a program whenever it finds one.
        programFound = input_.Flag() && !program.empty();
        CopyText(found, program);
        return programFound;
    }

private:
    FuzzInput& input_;
    unsigned next_ = 0;
};

}  // namespace

int FuzzButtonIcons(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    FuzzIcons system(input);
    const auto def = std::make_unique<ButtonDef>();
    def->iconNumber = input.Flag() ? input.Int() : input.IntIn(-2, 8);
    CopyText(def->iconFile, input.Value());
    CopyText(def->command, input.Value());
    const std::string iconFileBefore(FieldText(def->iconFile));

    const IconPair icons = LoadIconPair(*def, system);

    const bool own = def->iconNumber >= 0;
    if (own) {
        FUZZ_CHECK(IsIcon(icons.large) && IsIcon(icons.small) && icons.large != icons.small);
        FUZZ_CHECK(system.live == (std::set<void*>{icons.large, icons.small}));
        FUZZ_CHECK(def->iconFile[0] != '\0');
        FUZZ_CHECK(ChooseFaceSource(*def, icons) == FaceSource::kOwnIcon);
    } else {
        // A negative number read from the file stays as it is: every reader takes it for none.
        FUZZ_CHECK(def->iconNumber < 0 && icons.large == nullptr && icons.small == nullptr);
        FUZZ_CHECK(system.live.empty());
        FUZZ_CHECK(ChooseFaceSource(*def, icons) == FaceSource::kShellIcon);
    }
    // The icon file changes only to a program that was found.
    if (FieldText(def->iconFile) != iconFileBefore) {
        FUZZ_CHECK(system.programFound);
        FUZZ_CHECK(FieldText(def->iconFile) == text::Part(system.program, 0, kPathSize - 1));
    }
    return 0;
}
}  // namespace button_icons_case

namespace config_grid_case {
namespace {

// A cursor names one cell of the clamped grid, its index and position agreeing with its row and column.
void CheckCursor(const GridCursor& cursor, const AppOptions& options) {
    FUZZ_CHECK(cursor.row >= 0 && cursor.row < options.rows && cursor.column >= 0 && cursor.column < options.cols);
    FUZZ_CHECK(cursor.index == cursor.row * kButtonsPerRow + cursor.column);
    FUZZ_CHECK(cursor.index >= 0 && cursor.index < kButtonCount);
    FUZZ_CHECK(cursor.position == cursor.row * options.cols + cursor.column);
    FUZZ_CHECK(IndexAtPosition(cursor.position, options.cols) == cursor.index);
}

int Tag(const ButtonDef& def) { return std::stoi(def.title); }

}  // namespace

int FuzzConfigGrid(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    struct Records {
        ButtonDef buttons[kButtonCount];
    };
    const auto table = std::make_unique<Records>();
    ButtonDef (&records)[kButtonCount] = table->buttons;
    for (int k = 0; k < kButtonCount; ++k) CopyText(records[k].title, std::to_string(k));

    // The dialog opens on a bar button (1..50) or on the first record (0).
    const int startButton = input.IntIn(0, kButtonCount);
    const int start = StartIndex(startButton);
    FUZZ_CHECK(start >= 0 && start < kButtonCount && start == (startButton == 0 ? 0 : startButton - 1));

    AppOptions options;
    GridCursor cursor;
    cursor.index = start;
    while (!input.Empty()) {
        // The settings file or the spin boxes may give any rows and columns.
        options.rows = input.Flag() ? input.Int() : input.IntIn(0, 6);
        options.cols = input.Flag() ? input.Int() : input.IntIn(0, 11);
        cursor = ClampCursor(options, input.Flag() ? input.Int() : cursor.index);
        CheckCursor(cursor, options);

        int before[kButtonCount];
        for (int k = 0; k < kButtonCount; ++k) before[k] = Tag(records[k]);
        const int position = input.Flag() ? input.Int() : input.IntIn(-1, 51);
        const GridCursor moved = MoveToPosition(records, options, cursor, position);
        CheckCursor(moved, options);
        // A position past either end of the grid means that end.
        const int last = options.rows * options.cols - 1;
        FUZZ_CHECK(moved.position == (position < 0 ? 0 : position > last ? last : position));
        // The two records trade places; nothing else moves.
        FUZZ_CHECK(Tag(records[moved.index]) == before[cursor.index]);
        FUZZ_CHECK(Tag(records[cursor.index]) == before[moved.index]);
        for (int k = 0; k < kButtonCount; ++k) {
            if (k != moved.index && k != cursor.index) FUZZ_CHECK(Tag(records[k]) == before[k]);
        }
        cursor = moved;
    }
    return 0;
}
}  // namespace config_grid_case

namespace icon_list_rules_case {
namespace {

bool IsBlankOrControl(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

}  // namespace

int FuzzIconListRules(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);

    const int selection = input.Int();
    const int count = input.Int();
    const int item = StartItem(selection, count);
    FUZZ_CHECK(item == selection || item == 0);
    if (count > 0) FUZZ_CHECK(item >= 0 && item < count);

    const int iconNumber = input.Int();
    const int iconCount = input.Int();
    const auto def = std::make_unique<ButtonDef>();
    def->iconNumber = input.Int();
    CopyText(def->iconFile, input.Value());
    CopyText(def->command, input.Value());
    const std::string typed = input.Value();
    const std::string_view given = typed;

    const std::string_view skipped = SkipLeadingBlanks(given);
    FUZZ_CHECK(given.substr(given.size() - skipped.size()) == skipped);
    FUZZ_CHECK(skipped.empty() || !IsBlankOrControl(skipped.front()));
    for (std::size_t k = 0; k < given.size() - skipped.size(); ++k) FUZZ_CHECK(IsBlankOrControl(given[k]));

    // The typed name wins, then the icon file with its number, then the command.
    const IconListSource source = ChooseIconListSource(given, *def);
    if (!skipped.empty()) {
        FUZZ_CHECK(source.name == skipped && Within(source.name, given) && source.selection == 0);
    } else if (def->iconFile[0] != '\0') {
        FUZZ_CHECK(source.name == FieldText(def->iconFile) && source.selection >= 0);
        FUZZ_CHECK(source.selection == (def->iconNumber < 0 ? 0 : def->iconNumber));
    } else {
        FUZZ_CHECK(source.name == FieldText(def->command) && source.selection == 0);
    }
    FUZZ_CHECK(HasOwnIcon(iconNumber, source.name, iconCount) ==
               (iconNumber >= 0 && !source.name.empty() && iconCount > 0));

    // A list row and an icon of a real screen: the icon sits in the middle of its square item.
    const int rowHeight = input.IntIn(0, 1 << 16);
    const int iconWidth = input.IntIn(0, 1 << 16);
    const int iconHeight = input.IntIn(0, 1 << 16);
    const IconItemMetrics metrics = MeasureIconItem(rowHeight, iconWidth, iconHeight);
    FUZZ_CHECK(metrics.itemSize == rowHeight + 2);
    const int spareX = metrics.itemSize - iconWidth - 2 * metrics.xOffset;
    const int spareY = metrics.itemSize - iconHeight - 2 * metrics.yOffset;
    FUZZ_CHECK(spareX >= -1 && spareX <= 1 && spareY >= -1 && spareY <= 1);
    return 0;
}
}  // namespace icon_list_rules_case

// The first byte chooses the rule; the rest is that rule's input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    switch (data[0] % 3) {
    case 0: return button_icons_case::FuzzButtonIcons(data + 1, size - 1);
    case 1: return config_grid_case::FuzzConfigGrid(data + 1, size - 1);
    case 2: return icon_list_rules_case::FuzzIconListRules(data + 1, size - 1);
    default: return 0;
    }
}
