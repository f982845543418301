// The hint window's text and placement rules.
#include "app/hint_text.h"

#include "res/resource.h"
#include "base/bounded_text.h"

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
    return (type >= 0 && type <= IDS_HINT_INVISIBLE - IDS_HINT_EXECUTE) ? IDS_HINT_EXECUTE + type : 0;
}
