// File names that came as wide text, made into names an ANSI program can store and pass on.
#pragma once

#include <cstddef>

enum class AnsiName {
    kExact,      // every letter has its own character in the code page and the name fits: the name as it is
    kShortForm,  // it has not, or it needs more room than there is: the short (8.3) form, which has and fits
    kNone,       // neither: no name that opens the file can be written (out is empty)
};

// Writes `wide` into out (room bytes) as ANSI: the name itself when it converts without loss and fits
// whole, else its short form when that converts without loss and fits whole. On a double-byte or UTF-8
// code page a name of fewer than 260 letters may need more bytes than a path field has; it is never cut,
// which could split a letter and would name another file.
AnsiName AnsiFileName(const wchar_t* wide, char* out, std::size_t room);

// The same for a file that need not exist yet (a settings file still to be made): without a short form
// of its own, the short form of its folder followed by its own name, when that name converts and fits.
AnsiName AnsiNewFileName(const wchar_t* wide, char* out, std::size_t room);

// Takes a wide name through AnsiFileName into a path field; false, after telling the user which name
// and why, when there is none.
bool TakeWideFileName(const wchar_t* wide, char* out, std::size_t room);

template <std::size_t N>
inline bool TakeWideFileName(const wchar_t* wide, char (&out)[N]) {
    return TakeWideFileName(wide, out, N);
}
