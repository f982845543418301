// The rules of a run that need no system call.
#include "exec/run_rules.h"

#include <cstring>

#include "base/bounded_text.h"
#include "settings/settings_records.h"
#include "settings/settings_rules.h"

namespace {
// The platform's SW_* numbers, so this file needs no windows.h.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;
constexpr int kSwShowMaximized = 3;
}  // namespace

// ---- Paths

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

PathText WorkingFolder(std::string_view buttonDirectory, std::string_view defaultFolder, std::string_view mainFile) {
    PathText folder;
    if (!buttonDirectory.empty()) {
        CopyText(folder.text, buttonDirectory);
    } else if (!defaultFolder.empty()) {
        CopyText(folder.text, defaultFolder);
    } else if (const std::size_t slash = mainFile.rfind('\\'); slash != std::string_view::npos) {
        // The backslash of a root folder is part of the folder's name.
        const bool root = slash == 0 || mainFile[slash - 1] == ':';
        CopyText(folder.text, text::Part(mainFile, 0, root ? slash + 1 : slash));
    }
    return folder;
}

// ---- Command lines

CommandLine ComposeCommandLine(bool logged, std::string_view logWrapper, std::string_view logFile,
                               std::string_view command, std::string_view options) {
    CommandLine line;
    if (logged) {
        AppendText(line.text, logWrapper);
        AppendText(line.text, " ");
        // A name with a blank would split into two of the wrapper's arguments.
        const bool quote = logFile.find(' ') != std::string_view::npos;
        if (quote) AppendText(line.text, "\"");
        AppendText(line.text, logFile);
        if (quote) AppendText(line.text, "\"");
        AppendText(line.text, " ");
    }
    AppendText(line.text, command);
    if (!options.empty()) {
        if (!command.empty()) AppendText(line.text, " ");
        AppendText(line.text, options);
    }
    return line;
}

namespace {

bool HoldsBlank(std::string_view text) {
    return text.find_first_of(" \t") != std::string_view::npos;
}

void AppendQuotedIfBlank(CommandLine& line, std::string_view part) {
    const bool quote = HoldsBlank(part);
    if (quote) AppendText(line.text, "\"");
    AppendText(line.text, part);
    if (quote) AppendText(line.text, "\"");
}

}  // namespace

std::string_view AssociationDocument(std::string_view command) {
    if (command.size() >= 2 && command.front() == '"' && command.back() == '"') return text::Part(command, 1, command.size() - 2);
    return command;
}

CommandLine ComposeAssociationLine(std::string_view program, std::string_view document, std::string_view options) {
    CommandLine line;
    AppendQuotedIfBlank(line, program);
    AppendText(line.text, " ");
    AppendQuotedIfBlank(line, AssociationDocument(document));
    if (!options.empty()) {
        AppendText(line.text, " ");
        AppendText(line.text, options);
    }
    return line;
}

bool IsProgramItself(std::string_view document, std::string_view program) {
    document = AssociationDocument(document);
    if (document.empty() || document.find_first_of("\\/:") != std::string_view::npos) return false;
    const std::size_t slash = program.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? program : text::Part(program, slash + 1);
    if (SameName(name, document)) return true;
    for (const std::string_view extension : {".exe", ".com", ".bat", ".cmd"}) {
        if (name.size() == document.size() + extension.size() &&
            SameName(text::Part(name, 0, document.size()), document) &&
            SameName(text::Part(name, document.size()), extension))
            return true;
    }
    return false;
}

// ---- Show mode and log

int ShowWindowForMode(int show) {
    switch (show) {
    case kShowMinimized: return kSwShowMinimized;
    case kShowMaximized: return kSwShowMaximized;
    case kShowInvisible: return kSwHide;
    default: return kSwShowNormal;  // Normal, Capture and anything the settings file should not hold
    }
}

bool IsCaptureMode(int show) {
    return show == kShowCapture;
}

LogAction LogActionFor(int logMode, unsigned long exitCode) {
    switch (logMode) {
    case kLogAlways: return LogAction::kOpen;
    case kLogOnError: return exitCode != 0 ? LogAction::kOpen : LogAction::kNothing;
    case kLogAskUser: return LogAction::kAsk;
    default: return LogAction::kNothing;
    }
}

bool IsLogged(int logMode) {
    return logMode != kLogNever;
}

// ---- Log names

namespace {
// "<folder><stem><number><ending>"; empty when it is longer than any name handed out.
PathText NumberedName(std::string_view folder, const char* stem, unsigned number, const char* ending) {
    char digits[16];
    FormatText(digits, "%u", number);
    FixedText<kPathSize + 32> name;
    const bool whole = CopyText(name.text, folder) && AppendText(name.text, stem) && AppendText(name.text, digits) &&
                       AppendText(name.text, ending);
    PathText result;
    if (whole && FieldText(name.text).size() <= kLongestName) CopyText(result.text, FieldText(name.text));
    return result;
}
}  // namespace

PathText TempFolderName(std::string_view tempPath, LogFileSystem& files) {
    for (unsigned n = 1; n <= kLastNumber; ++n) {
        const PathText name = NumberedName(tempPath, "Brisolt", n, "");
        if (name.text[0] == '\0' || !files.Exists(name.text)) return name;
    }
    return PathText{};
}

PathText LogFileName(std::string_view folder, unsigned number) {
    return NumberedName(folder, "\\log", number, ".txt");
}

FreeLogFile FirstFreeLogFile(std::string_view folder, LogFileSystem& files) {
    for (unsigned n = 1; n <= kLastNumber; ++n) {
        const PathText name = LogFileName(folder, n);
        if (name.text[0] == '\0') break;
        if (!files.Exists(name.text)) return FreeLogFile{name, n};
    }
    return FreeLogFile{};
}

void RemoveLogFiles(std::string_view folder, unsigned highestNumber, LogFileSystem& files) {
    for (unsigned n = 1; n <= highestNumber && n <= kLastNumber; ++n) {
        const PathText name = LogFileName(folder, n);
        if (name.text[0] != '\0' && files.Exists(name.text)) files.Remove(name.text);
    }
}

// ---- Process tree

namespace {

bool Listed(const unsigned long* ids, std::size_t count, unsigned long id) {
    for (std::size_t i = 0; i < count; ++i) {
        if (ids[i] == id) return true;
    }
    return false;
}

}  // namespace

std::size_t FindDescendants(const ProcessEntry* entries, std::size_t count, unsigned long rootId,
                            unsigned long long rootCreated, unsigned long* out, std::size_t room) {
    std::size_t found = 0;
    // Each process found is a parent in its turn: `next` walks the list as it grows.
    for (std::size_t next = 0; next <= found; ++next) {
        const unsigned long parent = next == 0 ? rootId : out[next - 1];
        unsigned long long parentCreated = rootCreated;
        for (std::size_t i = 0; next > 0 && i < count; ++i) {
            if (entries[i].id == parent) parentCreated = entries[i].created;
        }
        for (std::size_t i = 0; i < count && found < room; ++i) {
            const ProcessEntry& entry = entries[i];
            if (entry.parentId != parent || entry.id == rootId || entry.created == 0) continue;
            if (entry.created < parentCreated || Listed(out, found, entry.id)) continue;
            out[found++] = entry.id;
        }
    }
    return found;
}
