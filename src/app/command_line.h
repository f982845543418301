// Scanning Brisolt's command line: arguments, the /i and /d options, the main file; no windows.h.
#pragma once

#include <cstddef>
#include <string_view>

// Cursor of the in-place scan: NextArgument writes a NUL over the character that ends each argument.
// The wide line is scanned by the same rule, so an argument has the same number in both lines.
template <typename Char>
struct BasicArgumentScanner {
    Char* cursor = nullptr;
    int count = 0;  // arguments returned so far
};
using ArgumentScanner = BasicArgumentScanner<char>;
using WideArgumentScanner = BasicArgumentScanner<wchar_t>;

// With text, starts a new scan of it; with nullptr, goes on. Returns the next argument, or nullptr.
char* NextArgument(ArgumentScanner& scanner, char* text);
wchar_t* NextArgument(WideArgumentScanner& scanner, wchar_t* text);

// The arguments after the program's name in a whole command line, as the entry point receives them.
wchar_t* SkipProgramName(wchar_t* line);
// Argument number `number` (from 0) of text, scanned in place; nullptr when there are fewer.
wchar_t* ArgumentAt(wchar_t* text, int number);

// True, and the next argument copied into target, when target is still empty, argument is form1 or
// form2 (without regard to case) and another argument follows. `cut`, when given, tells whether the
// value taken was too long for target and was cut.
bool TakeOptionValue(ArgumentScanner& scanner, char* target, std::size_t room, const char* argument,
                     const char* form1, const char* form2, bool* cut = nullptr);

struct StartupArguments {
    char settingsFile[260] = "";
    char defaultFolder[260] = "";
    char mainFile[260] = "";
    // The numbers of the arguments that became the three values, -1 for a value not given.
    int settingsFileArgument = -1;
    int defaultFolderArgument = -1;
    int mainFileArgument = -1;
    bool settingsFileTooLong = false;  // the /i value did not fit: the caller refuses it rather than use it cut
};

// Scans the whole command line (changed in place) into the three values; a value too long for its
// field is cut, and for the settings file that is noted.
void ScanCommandLine(char* text, StartupArguments& arguments);

