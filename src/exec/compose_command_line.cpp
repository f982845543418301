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

std::string ComposeAssociationLine(std::string_view program, std::string_view document, std::string_view options) {
    std::string line(program);
    line.append(" ").append(document);
    if (!options.empty()) line.append(" ").append(options);
    return line;
}
