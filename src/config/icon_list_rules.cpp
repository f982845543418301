// The Select icon dialog's rules.
#include "config/icon_list_rules.h"

#include "base/bounded_text.h"

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
    return name.substr(skip);
}
