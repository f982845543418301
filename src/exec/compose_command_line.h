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

// The document a command names for the association: the expanded command without the one pair of
// quotes a user writes around a name that may hold blanks ("%@dpn%.pdf").
std::string_view AssociationDocument(std::string_view command);

// The line that opens a document with its associated program: program, the document, then any options;
// the program and the document are quoted when they hold a blank, so that "C:\Program Files\..." is not
// looked up as "C:\Program" and a document in a folder with blanks reaches the program as one argument.
// It never carries the log prefix.
std::string ComposeAssociationLine(std::string_view program, std::string_view document, std::string_view options);

// Whether the program the shell names for a document is that document itself: a program named without a
// folder that the system's search did not find, which the shell found in the current folder instead
// ("bibtex" gives "C:\Papers\bibtex.exe"). Such a program is never started.
bool IsProgramItself(std::string_view document, std::string_view program);
