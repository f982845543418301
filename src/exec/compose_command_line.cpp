// The command lines a run starts.
#include "exec/compose_command_line.h"

std::string ComposeCommandLine(bool logged, std::string_view logWrapper, std::string_view logFile,
                               std::string_view command, std::string_view options) {
    std::string line;
    if (logged) {
        line.append(logWrapper).append(" ");
        // A name with a blank would split into two of the wrapper's arguments.
        const bool quote = logFile.find(' ') != std::string_view::npos;
        if (quote) line.append("\"");
        line.append(logFile);
        if (quote) line.append("\"");
        line.append(" ");
    }
    line.append(command);
    if (!options.empty()) {
        if (!command.empty()) line.append(" ");
        line.append(options);
    }
    return line;
}

namespace {

bool HoldsBlank(std::string_view text) {
    return text.find_first_of(" \t") != std::string_view::npos;
}

void AppendQuotedIfBlank(std::string& line, std::string_view text) {
    const bool quote = HoldsBlank(text);
    if (quote) line.append("\"");
    line.append(text);
    if (quote) line.append("\"");
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

}  // namespace

std::string_view AssociationDocument(std::string_view command) {
    if (command.size() >= 2 && command.front() == '"' && command.back() == '"') return command.substr(1, command.size() - 2);
    return command;
}

std::string ComposeAssociationLine(std::string_view program, std::string_view document, std::string_view options) {
    std::string line;
    AppendQuotedIfBlank(line, program);
    line.append(" ");
    AppendQuotedIfBlank(line, AssociationDocument(document));
    if (!options.empty()) line.append(" ").append(options);
    return line;
}

bool IsProgramItself(std::string_view document, std::string_view program) {
    document = AssociationDocument(document);
    if (document.empty() || document.find_first_of("\\/:") != std::string_view::npos) return false;
    const std::size_t slash = program.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? program : program.substr(slash + 1);
    if (SameText(name, document)) return true;
    for (const std::string_view extension : {".exe", ".com", ".bat", ".cmd"}) {
        if (name.size() == document.size() + extension.size() && SameText(name.substr(0, document.size()), document) &&
            SameText(name.substr(document.size()), extension))
            return true;
    }
    return false;
}
