// What the fuzz targets share: reading the fuzzer's bytes as numbers, choices and texts, and the check
// that stops the run on a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A broken invariant is a finding like a crash: libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// The blanks that separate arguments on a command line.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the input from the front: single bytes for choices, four bytes for any int, lines for texts.
// Past the end every read gives zero or an empty text, so any input is a whole case.
class FuzzInput {
public:
    // A value line "*<c><count>" stands for count copies of c, so hostile lengths need no long inputs.
    static constexpr std::size_t kLongestValue = 20000;

    FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    bool Empty() const { return rest_.empty(); }

    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }

    bool Flag() { return (Byte() & 1) != 0; }

    std::int32_t Int() {
        std::uint32_t bits = 0;
        for (int k = 0; k < 4; ++k) bits |= static_cast<std::uint32_t>(Byte()) << (8 * k);
        return static_cast<std::int32_t>(bits);
    }

    // An int in low..high (high - low below 2^31).
    int IntIn(int low, int high) {
        const auto span = static_cast<std::uint32_t>(high - low) + 1u;
        return low + static_cast<int>(static_cast<std::uint32_t>(Int()) % span);
    }

    // The text up to the next line feed (which is consumed), or the rest of the input.
    std::string_view Line() {
        const std::size_t end = rest_.find('\n');
        const std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return line;
    }

    // A line, with "*<c><count>" expanded.
    std::string Value() { return Expand(Line()); }

    std::string_view Rest() {
        const std::string_view rest = rest_;
        rest_ = {};
        return rest;
    }

    static std::string Expand(std::string_view line) {
        if (line.size() < 2 || line[0] != '*') return std::string(line);
        std::size_t count = 0;
        for (std::size_t k = 2; k < line.size() && line[k] >= '0' && line[k] <= '9'; ++k) {
            count = count * 10 + static_cast<std::size_t>(line[k] - '0');
            if (count > kLongestValue) count = kLongestValue;
        }
        return std::string(count, line[1]);
    }

private:
    std::string_view rest_;
};

// The text of a C string as a view, never past `room` bytes.
inline std::string_view CText(const char* text, std::size_t room) {
    std::size_t n = 0;
    while (n < room && text[n] != '\0') ++n;
    return std::string_view(text, n);
}

// Whether a buffer of room bytes holds its terminating NUL.
inline bool Terminated(const char* text, std::size_t room) { return CText(text, room).size() < room; }

// A value as a C string would carry it: cut at its first NUL.
inline std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// Whether part lies inside whole's characters (an empty part anywhere).
inline bool Within(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

inline bool EndsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}
