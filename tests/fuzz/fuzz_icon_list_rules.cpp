// Fuzzes the Select icon dialog's rules: the file its list shows first, the item selected, what counts as
// an own icon, the size of an item and the clean-up of a typed name.
#include <memory>
#include <string>

#include "base/bounded_text.h"
#include "config/icon_list_rules.h"
#include "fuzz_input.h"

namespace {

bool IsBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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
    FUZZ_CHECK(skipped.empty() || !IsBlank(skipped.front()));
    for (std::size_t k = 0; k < given.size() - skipped.size(); ++k) FUZZ_CHECK(IsBlank(given[k]));

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
