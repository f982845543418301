// Fuzzes the section parser: every answer is a part of the block, trimmed, and the one a plain scan of
// the entries in file order finds first; values read into any buffer stay inside it; numbers never trap.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "settings/profile_section.h"

namespace {

bool Blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a'; }

bool Trimmed(std::string_view text) { return text.empty() || (!Blank(text.front()) && !Blank(text.back())); }

bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        const auto fx = x >= 'A' && x <= 'Z' ? x + 32 : x, fy = y >= 'A' && y <= 'Z' ? y + 32 : y;
        if (fx != fy) return false;
    }
    return true;
}

// The next entry of the block, taken off its front: its trimmed key and whether it has a value; false
// at the block's end. Comments are left out, as the system leaves them out.
bool NextEntry(std::string_view& rest, std::string_view& key, bool& hasValue) {
    for (;;) {
        if (rest.empty() || rest.front() == '\0') return false;
        const std::string_view entry = rest.substr(0, rest.find('\0'));
        rest.remove_prefix(std::min(entry.size() + 1, rest.size()));
        key = entry.substr(0, entry.find('='));
        while (!key.empty() && Blank(key.front())) key.remove_prefix(1);
        while (!key.empty() && Blank(key.back())) key.remove_suffix(1);
        hasValue = entry.find('=') != std::string_view::npos;
        if (key.empty() || key.front() != ';') return true;
    }
}

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::size_t room = input.Byte();
    const std::string_view asked = input.Line();
    // The rest is the block as the system hands it over: lines become NUL-ended entries.
    std::string block(input.Rest());
    for (char& c : block) {
        if (c == '\n') c = '\0';
    }
    const ProfileSection section(block);

    // A plain scan in block order: the first entry whose trimmed key matches, comments left out.
    std::vector<std::string_view> keys;
    std::string_view rest(block), key;
    bool hasValue = false;
    while (NextEntry(rest, key, hasValue)) {
        keys.push_back(key);

        std::string_view value;
        const bool found = section.Find(key, value);
        FUZZ_CHECK(section.Has(key));
        FUZZ_CHECK(!found || (Inside(value, block) && Trimmed(value)));
        // The first entry of the key answers: one with "=" found, one without found not.
        bool firstHasValue = false;
        std::string_view again(block), otherKey;
        bool otherHasValue = false;
        while (NextEntry(again, otherKey, otherHasValue)) {
            if (SameKey(otherKey, key)) {
                firstHasValue = otherHasValue;
                break;
            }
        }
        FUZZ_CHECK(found == firstHasValue);

        const std::string_view read = ProfileStringValue(value, room);
        FUZZ_CHECK(Inside(read, value) && (room == 0 ? read.empty() : read.size() < room));
        (void)ProfileIntValue(value, static_cast<int>(room) - 128);
    }

    // A key of the input's own: found only when the scan has it.
    bool known = false;
    std::string_view trimmedAsked = asked;
    while (!trimmedAsked.empty() && Blank(trimmedAsked.front())) trimmedAsked.remove_prefix(1);
    while (!trimmedAsked.empty() && Blank(trimmedAsked.back())) trimmedAsked.remove_suffix(1);
    for (const std::string_view key : keys) known = known || SameKey(key, trimmedAsked);
    FUZZ_CHECK(section.Has(asked) == known);
    (void)ParseProfileInt(asked);
    return 0;
}
