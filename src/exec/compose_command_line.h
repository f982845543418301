// The command lines a run starts: the logged or plain line and the line through an associated program.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The room of the line buffer a run composes into.
constexpr std::size_t kCommandLineSize = 2048;

// The line for the expanded command and options. A logged run puts the log wrapper and the log file in
// front (the log file quoted when it holds a blank); options follow the command after a space, or the prefix directly when the command is empty.
std::string ComposeCommandLine(bool logged, std::string_view logWrapper, std::string_view logFile,
                               std::string_view command, std::string_view options);

// The line that opens a document with its associated program: program, the document, then any options.
// It never carries the log prefix.
std::string ComposeAssociationLine(std::string_view program, std::string_view document, std::string_view options);
