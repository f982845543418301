// Fuzzes the hint's text and place: "\n" pairs become line breaks inside a buffer that may lack its NUL,
// and the window always ends on the screen's right and bottom edges or before them.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "app/hint_text.h"
#include "fuzz_input.h"
#include "res/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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
    FUZZ_CHECK(id == 0 || (id >= IDS_HINT_EXECUTE && id <= IDS_HINT_INVISIBLE && id - IDS_HINT_EXECUTE == type));
    FUZZ_CHECK((id == 0) == (type < 0 || type > IDS_HINT_INVISIBLE - IDS_HINT_EXECUTE));

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
