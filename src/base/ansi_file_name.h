// File names that came as wide text, made into names an ANSI program can store and pass on.
#pragma once

#include <cstddef>

enum class AnsiName {
    kExact,      // every letter has its own character in the code page: the name as it is
    kShortForm,  // it has not: the short (8.3) form, which has
    kNone,       // neither: no name that opens the file can be written (out is empty)
};

// Writes `wide` into out as ANSI: the name itself, cut to room, when it converts without loss, else
// its short form when that converts without loss and fits whole.
AnsiName AnsiFileName(const wchar_t* wide, char* out, std::size_t room);
