// A settings file's content as the profile functions keep it, and what a run lost of it.
#pragma once

#include <string>
#include <vector>

// One line of a section: "key=value", or a line without "=" (hasValue false), trimmed as the profile
// functions trim it when they write the file back.
struct IniLine {
    std::string key;
    std::string value;
    bool hasValue = false;
};

// One section in the order of the file; the lines before the first section header have no header.
struct IniSection {
    std::string name;
    bool header = true;
    std::vector<IniLine> lines;
};

using IniSnapshot = std::vector<IniSection>;

// Reads INI text: lines end at CR, LF or both; blank lines and the white space around keys and values
// do not count, as the profile functions drop them on every write. A header is "[" name "]".
IniSnapshot ParseIni(const std::string& text);

// A key the program writes: `key` empty stands for every key of the section; `numbered` for the keys
// `key`0 .. `key`9.
struct WrittenKey {
    std::string section;
    std::string key;
    bool numbered = false;
};

// What a session is specified to write: [Files] File0..9 and [Positions] Pos0..9 (the main file pushed,
// the position on a move), [Options] X, Y, Width, Height (a move), "Last file" and "LastDir" (exit).
std::vector<WrittenKey> SessionWrites();

// The differences between `before` and `after` once the keys in `written` are set aside (and a section
// that exists only to hold them): every line of `before` must still be there, in its order, and nothing
// else may have come. Empty when nothing was lost or added; otherwise readable lines saying what.
std::vector<std::string> CompareSettings(const IniSnapshot& before, const IniSnapshot& after,
                                         const std::vector<WrittenKey>& written);
