// The hint window's text and placement rules; no windows.h.
#pragma once

#include <cstddef>

// Turns each two-character "\n" of a hint into a carriage return and line feed, in place.
void HintLineBreaks(char* text, std::size_t room);

struct HintPlace {
    int x;
    int y;
    int width;
    int height;
};

// The hint window's place for a click at (x, y): half a cursor below the click, sized to the text
// with its border and margin, and moved back so it ends at the screen's right and bottom edges.
HintPlace PlaceHint(int x, int y, int textWidth, int textHeight, int cursorHeight, int borderX, int borderY,
                    int screenWidth, int screenHeight);

// String id of the description of a button type, or 0 for a type that has none.
int TypeDescriptionId(int type);
