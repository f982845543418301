// The placeholder language of button commands, options and the caption pattern; no windows.h here.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/bounded_text.h"

// What the expansion needs from the system: the environment, short names, the user and the program's name.
class ExpansionHost {
public:
    virtual ~ExpansionHost() = default;
    // The length of the variable's value, 0 when it is unset or empty; the value itself goes into `value`
    // (room bytes) when it fits there whole with its NUL.
    virtual std::size_t Environment(std::string_view name, char* value, std::size_t room) = 0;
    // True with the short (8.3) form of path in `shortPath` (room bytes); false when there is none that fits.
    virtual bool ShortPath(std::string_view path, char* shortPath, std::size_t room) = 0;
    // Asks the user for the variable `name`, offering `initial`; the answer goes into `answer` (room
    // bytes), cut to it. False when the user cancels.
    virtual bool Query(std::string_view name, std::string_view initial, char* answer, std::size_t room) = 0;
    virtual std::string_view DisplayName() = 0;
};

// Whether a placeholder replaces the main file's path by its short form.
enum class LongNames { kNo, kYes };

// The main file's path taken apart: drive with its colon, folder with its leading and trailing
// backslash, base name, extension with its dot; each part is empty when the path lacks it.
struct PathParts {
    std::string_view drive;
    std::string_view folder;
    std::string_view name;
    std::string_view extension;
};
PathParts SplitPathParts(std::string_view path);

// The room of a main-file placeholder's text: every part of a path of a path field's length and more.
constexpr std::size_t kMainFileTextSize = 1040;
using MainFileTextBuffer = FixedText<kMainFileTextSize>;

// The text of a main-file placeholder: `letters` is its name after the "@" ("" for the whole path, else
// the part letters d, p, n, e in that order); path is the main file as stored or its short form.
MainFileTextBuffer MainFileText(std::string_view letters, std::string_view path);

// Expands templ into out (capacity bytes, NUL included). Returns 1, or 0 when the user cancels a query;
// then the output is unfinished and must not be used. templ is never changed.
int ExpandTemplate(const char* templ, LongNames longNames, std::string_view mainFile, char* out, std::size_t capacity,
                   ExpansionHost& host);
