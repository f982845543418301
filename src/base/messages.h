// The texts the program shows: the string table, from which every user-visible text and every settings
// key is loaded by id, and the message boxes that report failures.
#pragma once

#include <cstddef>

#include "base/bounded_text.h"

// The room of one string-table text, NUL included.
constexpr std::size_t kResTextSize = 256;

// One loaded text, held by value: any number can be in use at once, on any thread.
using ResText = FixedText<kResTextSize>;

// Loads string `id`; empty when there is no such entry.
ResText ResStr(int id);
// Loads string `id` into a buffer of the caller's own (empty when there is no such entry) and returns it.
const char* LoadResString(int id, char* buffer, std::size_t size);

template <std::size_t N>
inline const char* LoadResString(int id, char (&buffer)[N]) {
    return LoadResString(id, buffer, N);
}

// Shows string `stringId` under "Fatal Error in Brisolt"; the program goes on.
void ErrorBox(int stringId);
// Shows string `stringId` under "Fatal Error in Brisolt", closes the button bar and ends the program with
// exit code 1.
[[noreturn]] void FatalErrorBox(int stringId);
// Shows the system's text for `code` under "Error in Brisolt"; the program goes on.
void SystemErrorBox(unsigned long code);
// Shows a file name that no ANSI name can reach (with its own letters) and why, under "Error in Brisolt".
void FileNameErrorBox(const wchar_t* name);
