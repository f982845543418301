// Fuzzes the recent lists' moves over a sequence of pushes and position changes, and the position text:
// any four ints round-trip, and any text parses as the C library's "%d,%d,%d,%d" would read it.
#include <cctype>
#include <cstdio>
#include <string>

#include "base/bounded_text.h"
#include "fuzz_input.h"
#include "settings/recent_lists.h"
#include "settings/settings_rules.h"

namespace {

using Pair = std::pair<std::string, std::string>;

bool SamePlace(const WindowPlace& a, const WindowPlace& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

Pair PairAt(const RecentList& files, const RecentList& positions, int k) {
    return {std::string(FieldText(files.entries[k])), std::string(FieldText(positions.entries[k]))};
}

// The value goes to the front with the position it had (or none), the other pairs keep their order.
void CheckPush(std::string_view value, RecentList& files, RecentList* positions) {
    const RecentList oldFiles = files;
    const RecentList oldPositions = positions ? *positions : RecentList();
    const int found = FindRecent(files, value);
    if (found >= 0) {
        FUZZ_CHECK(found < kRecentCount && SameName(FieldText(files.entries[found]), value));
        for (int k = 0; k < found; ++k) FUZZ_CHECK(!SameName(FieldText(files.entries[k]), value));
    }
    PushRecentEntry(value, files, positions);

    const RecentList newPositions = positions ? *positions : RecentList();
    const std::string_view front = UpToNul(value.substr(0, kPathSize - 1));
    FUZZ_CHECK(FieldText(files.entries[0]) == front);
    const int removed = found >= 0 ? found : kRecentCount - 1;
    FUZZ_CHECK(FieldText(newPositions.entries[0]) == (found >= 0 ? FieldText(oldPositions.entries[found]) : ""));
    int next = 1;
    for (int k = 0; k < kRecentCount; ++k) {
        if (k == removed) continue;
        FUZZ_CHECK(PairAt(files, newPositions, next) == PairAt(oldFiles, oldPositions, k));
        ++next;
    }
    for (const auto& entry : files.entries) FUZZ_CHECK(Terminated(entry, kPathSize));
}

// ParsePosition leaves the place alone on failure, and what it read formats and parses back the same.
void CheckParse(std::string_view text) {
    const WindowPlace sentinel{-7, 13, 1234, -99};
    WindowPlace place = sentinel;
    const bool parsed = ParsePosition(text, place);
    if (!parsed) {
        FUZZ_CHECK(SamePlace(place, sentinel));
    } else {
        char formatted[kPathSize];
        FormatPosition(place, formatted);
        WindowPlace again;
        FUZZ_CHECK(ParsePosition(FieldText(formatted), again));
        FUZZ_CHECK(SamePlace(again, place));
    }

    // Where no number can overflow, the C library's reading of the same text is the reference.
    if (text.find('\0') != std::string_view::npos) return;
    std::size_t digits = 0;
    for (const char c : text) {
        digits = std::isdigit(static_cast<unsigned char>(c)) ? digits + 1 : 0;
        if (digits > 9) return;
    }
    const std::string terminated(text);
    int n[4];
    const bool scanned = std::sscanf(terminated.c_str(), "%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3]) == 4;
    FUZZ_CHECK(scanned == parsed);
    if (parsed) FUZZ_CHECK(SamePlace(place, WindowPlace{n[0], n[1], n[2], n[3]}));
}

void CheckRoundTrip(const WindowPlace& place) {
    char text[kPathSize];
    FormatPosition(place, text);
    WindowPlace back;
    FUZZ_CHECK(ParsePosition(FieldText(text), back));
    FUZZ_CHECK(SamePlace(back, place));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    RecentList files;
    RecentList positions;
    RecentList folders;
    while (!input.Empty()) {
        switch (input.Byte() % 5) {
        case 0: CheckPush(input.Value(), files, &positions); break;
        case 1: CheckPush(input.Value(), folders, nullptr); break;
        case 2: {
            // The bar writes the front file's position when it moves.
            const int k = input.Byte() % kRecentCount;
            CopyText(positions.entries[k], input.Line());
            break;
        }
        case 3: CheckParse(input.Line()); break;
        default: {
            WindowPlace place;
            place.x = input.Int();
            place.y = input.Int();
            place.width = input.Int();
            place.height = input.Int();
            CheckRoundTrip(place);
            break;
        }
        }
    }
    return 0;
}
