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
}  // namespace

char* NextArgument(ArgumentScanner& scanner, char* text) {
    if (text) scanner.cursor = text;
    char* p = scanner.cursor;
    if (!p) return nullptr;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (*p == '\0') {
        scanner.cursor = p;
        return nullptr;
    }
    if (*p == '"') {
        if (char* close = std::strchr(p + 1, '"')) {
            *close = '\0';
            scanner.cursor = close + 1;
            return p + 1;
        }
    }
    // A blank anywhere further on ends the argument before an earlier tab does.
    char* end = std::strchr(p, ' ');
    if (!end) end = std::strchr(p, '\t');
    if (end) {
        *end = '\0';
        scanner.cursor = end + 1;
    } else {
        scanner.cursor = p + std::strlen(p);
    }
    return p;
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

void SplitExtension(const char* path, char* base, std::size_t baseRoom, char* extension, std::size_t extensionRoom) {
    const char* dot = std::strrchr(path, '.');
    const char* slash = std::strrchr(path, '\\');
    if (dot && slash && dot < slash) dot = nullptr;
    const std::size_t length = std::strlen(path);
    const std::size_t baseLength = dot ? static_cast<std::size_t>(dot - path) : length;
    // The extension is taken first: base may be the same buffer as path.
    if (extension) text::CopyInto(extension, extensionRoom, dot ? std::string_view(dot) : std::string_view());
    if (base) text::CopyInto(base, baseRoom, std::string_view(path, baseLength));
}

void ScanCommandLine(char* text, StartupArguments& arguments) {
    ArgumentScanner scanner;
    for (char* argument = NextArgument(scanner, text); argument; argument = NextArgument(scanner, nullptr)) {
        if (TakeOptionValue(scanner, arguments.settingsFile, sizeof arguments.settingsFile, argument, "/i", "-i",
                            &arguments.settingsFileTooLong))
            continue;
        if (TakeOptionValue(scanner, arguments.defaultFolder, sizeof arguments.defaultFolder, argument, "/d", "-d"))
            continue;
        if (arguments.mainFile[0] == '\0') CopyText(arguments.mainFile, argument);
    }
}

void ReplaceFileName(char* path, std::size_t room, std::string_view name) {
    const std::size_t length = text::BoundedLength(path, room);
    std::size_t keep = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (path[i] == '\\') keep = i + 1;
    }
    if (keep >= room) keep = room - 1;
    path[keep] = '\0';
    text::AppendInto(path, room, name);
}
