// Hostile inputs for the built program, made from a seed so that every run sees the same ones: numbers
// and texts of every awkward kind, and settings files built from them.
#pragma once

#include <random>
#include <string>

class HostileInputs {
public:
    explicit HostileInputs(unsigned seed) : random_(seed) {}

    // A number as a settings file may hold one: extreme, out of range, malformed or ordinary.
    std::string Number();
    // A text: empty, over-long, of non-ASCII or control bytes, full of placeholders, quoted, path-like.
    // It never holds CR, LF or NUL, and it starts and ends with a visible ASCII character, so that the
    // profile functions keep it exactly.
    std::string Text();
    // A whole settings file: sections missing, duplicated, in any order, each with known keys (also out of
    // range and duplicated), unknown keys, lines without "=" and comments; `mainFile` sometimes among the
    // recent files.
    std::string SettingsFile(const std::string& mainFile);
    // A settings file of about `bytes` bytes: a section of filler keys ahead of a settings file as above.
    std::string BigSettingsFile(std::size_t bytes, const std::string& mainFile);

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
    }

private:
    std::string Bytes(int length, int low, int high);
    std::string OptionsSection();
    std::string ButtonsSection();
    std::string ListSection(const char* keyStem, bool positions, const std::string& mainFile);

    std::mt19937 random_;
};
