// The placeholder language of button commands, options and the caption pattern; no windows.h here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the expansion needs from the system: the environment, short names, the user and the program's name.
class ExpansionHost {
public:
    virtual ~ExpansionHost() = default;
    // True with the whole value when the variable is set (an empty value counts as unset).
    virtual bool Environment(std::string_view name, std::string& value) = 0;
    // True with the short (8.3) form of path; false when there is none.
    virtual bool ShortPath(std::string_view path, std::string& shortPath) = 0;
    // Asks the user for the variable `name`, offering `initial`; false when the user cancels.
    virtual bool Query(std::string_view name, std::string_view initial, std::string& answer) = 0;
    virtual std::string_view DisplayName() = 0;
};

// The main file's path taken apart: drive with its colon, folder with its leading and trailing
// backslash, base name, extension with its dot; each part is empty when the path lacks it.
struct PathParts {
    std::string_view drive;
    std::string_view folder;
    std::string_view name;
    std::string_view extension;
};
PathParts SplitPathParts(std::string_view path);

// The text of a main-file placeholder: `letters` is its name after the "@" ("" for the whole path, else
// the part letters d, p, n, e in that order); path is the main file as stored or its short form.
std::string MainFileText(std::string_view letters, std::string_view path);

// Expands templ into out (capacity bytes, NUL included). Returns 1, or 0 when the user cancels a query;
// then the output is unfinished and must not be used. templ is never changed.
int ExpandTemplate(const char* templ, bool useLongNames, std::string_view mainFile, char* out, std::size_t capacity,
                   ExpansionHost& host);
