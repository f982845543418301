// Fuzzes the bounded copy, append and format into buffers exactly as large as their room, the destination
// of an append possibly unterminated.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "base/bounded_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t room = input.Byte() | (input.Byte() & 1u) << 8;  // 0..511
    const bool terminated = input.Flag();
    const std::string first = input.Value();
    const std::string second = input.Value();

    const std::unique_ptr<char[]> buffer(new char[room]);

    // Copy: cut at room - 1 and terminated; whole exactly when the text fits.
    const bool whole = text::CopyInto(buffer.get(), room, second);
    if (room == 0) {
        FUZZ_CHECK(whole == second.empty());
    } else {
        FUZZ_CHECK(whole == (second.size() < room));
        const std::size_t copied = whole ? second.size() : room - 1;
        FUZZ_CHECK(std::memcmp(buffer.get(), second.data(), copied) == 0);
        FUZZ_CHECK(buffer[copied] == '\0');
    }

    // Append onto `first`, which may fill the buffer without its NUL.
    if (room > 0) {
        const std::size_t start = std::min(first.size(), terminated ? room - 1 : room);
        std::memcpy(buffer.get(), first.data(), start);
        if (start < room) buffer[start] = '\0';
        const std::size_t used = text::BoundedLength(buffer.get(), room);
        FUZZ_CHECK(used <= start);
        const std::string before(buffer.get(), std::min(used, room - 1));
        const bool appended = text::AppendInto(buffer.get(), room, second);
        FUZZ_CHECK(Terminated(buffer.get(), room));
        FUZZ_CHECK(std::memcmp(buffer.get(), before.data(), before.size()) == 0);
        FUZZ_CHECK(appended == (before.size() + second.size() < room));
        const std::size_t added = appended ? second.size() : room - 1 - before.size();
        FUZZ_CHECK(std::memcmp(buffer.get() + before.size(), second.data(), added) == 0);
        FUZZ_CHECK(buffer[before.size() + added] == '\0');
    }

    // Format: the same text as snprintf into a buffer large enough, cut.
    const int number = static_cast<int>(first.size()) - 77;
    const std::string_view shown = UpToNul(second);
    const bool formatted = text::FormatInto(buffer.get(), room, "[%d|%.*s]", number, static_cast<int>(shown.size()),
                                            shown.data());
    const std::string full = "[" + std::to_string(number) + "|" + std::string(shown) + "]";
    FUZZ_CHECK(formatted == (room > full.size()));
    if (room > 0) {
        FUZZ_CHECK(CText(buffer.get(), room) == std::string_view(full).substr(0, room - 1));
    }
    return 0;
}
