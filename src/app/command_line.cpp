// Scanning Brisolt's command line.
#include "app/command_line.h"

#include <cctype>
#include <cstring>

#include "base/bounded_text.h"

namespace {
bool EqualsIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const int ca = std::tolower(static_cast<unsigned char>(*a));
        const int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) return false;
        if (ca == 0) return true;
    }
}

// Only the white space of the C locale counts, in either width.
bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}
bool IsSpace(wchar_t c) {
    return c < 0x80 && std::isspace(static_cast<int>(c)) != 0;
}

template <typename Char>
Char* Find(Char* p, Char c) {
    for (; *p; ++p) {
        if (*p == c) return p;
    }
    return nullptr;
}

template <typename Char>
Char* ScanArgument(BasicArgumentScanner<Char>& scanner, Char* text) {
    if (text) scanner.cursor = text;
    Char* p = scanner.cursor;
    if (!p) return nullptr;
    while (*p && IsSpace(*p)) ++p;
    scanner.cursor = p;
    if (*p == '\0') return nullptr;
    ++scanner.count;
    if (*p == '"') {
        if (Char* close = Find(p + 1, Char('"'))) {
            *close = '\0';
            scanner.cursor = close + 1;
            return p + 1;
        }
    }
    // A blank anywhere further on ends the argument before an earlier tab does.
    Char* end = Find(p, Char(' '));
    if (!end) end = Find(p, Char('\t'));
    if (end) {
        *end = '\0';
        scanner.cursor = end + 1;
    } else {
        while (*scanner.cursor) ++scanner.cursor;
    }
    return p;
}
}  // namespace

char* NextArgument(ArgumentScanner& scanner, char* text) {
    return ScanArgument(scanner, text);
}

wchar_t* NextArgument(WideArgumentScanner& scanner, wchar_t* text) {
    return ScanArgument(scanner, text);
}

wchar_t* SkipProgramName(wchar_t* line) {
    wchar_t* p = line;
    if (*p == L'"') {
        while (*++p && *p != L'"') {
        }
        if (*p == L'"') ++p;
    } else {
        while (*p > L' ') ++p;
    }
    while (*p && *p <= L' ') ++p;
    return p;
}

wchar_t* ArgumentAt(wchar_t* text, int number) {
    if (number < 0) return nullptr;
    WideArgumentScanner scanner;
    wchar_t* argument = NextArgument(scanner, text);
    while (argument && scanner.count <= number) argument = NextArgument(scanner, nullptr);
    return argument;
}

bool TakeOptionValue(ArgumentScanner& scanner, char* target, std::size_t room, const char* argument,
                     const char* form1, const char* form2, bool* cut) {
    if (target[0] != '\0') return false;
    if (!EqualsIgnoringCase(argument, form1) && !EqualsIgnoringCase(argument, form2)) return false;
    // An option at the very end is an ordinary argument: nothing may be consumed for it.
    char* saved = scanner.cursor;
    const char* value = NextArgument(scanner, nullptr);
    if (!value) {
        scanner.cursor = saved;
        return false;
    }
    const bool whole = text::CopyInto(target, room, value);
    if (cut) *cut = !whole;
    return true;
}

void ScanCommandLine(char* text, StartupArguments& arguments) {
    ArgumentScanner scanner;
    for (char* argument = NextArgument(scanner, text); argument; argument = NextArgument(scanner, nullptr)) {
        if (TakeOptionValue(scanner, arguments.settingsFile, sizeof arguments.settingsFile, argument, "/i", "-i",
                            &arguments.settingsFileTooLong)) {
            arguments.settingsFileArgument = scanner.count - 1;
            continue;
        }
        if (TakeOptionValue(scanner, arguments.defaultFolder, sizeof arguments.defaultFolder, argument, "/d", "-d")) {
            arguments.defaultFolderArgument = scanner.count - 1;
            continue;
        }
        if (arguments.mainFile[0] == '\0') {
            CopyText(arguments.mainFile, argument);
            arguments.mainFileArgument = scanner.count - 1;
        }
    }
}

