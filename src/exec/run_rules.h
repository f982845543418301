// The rules of a run that need no system call: the working folder and the paths it comes from, the
// command lines, the show mode, the log's names and what happens to it, and the processes a stop ends;
// no windows.h.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/bounded_text.h"
#include "settings/settings_records.h"

// ---- Paths

// Splits path at its last "." when that dot stands after the last "\"; base and extension may be null
// and base may be path itself.
void SplitExtension(const char* path, char* base, std::size_t baseRoom, char* extension, std::size_t extensionRoom);

// Replaces everything after the last "\" of path (or all of it) by name.
void ReplaceFileName(char* path, std::size_t room, std::string_view name);

// A path as a run uses it.
using PathText = FixedText<kPathSize>;

// The button's directory as stored, else the default folder, else the main file's folder; empty means
// "inherit the program's current folder". A root folder keeps its backslash ("C:\", "\").
PathText WorkingFolder(std::string_view buttonDirectory, std::string_view defaultFolder, std::string_view mainFile);

// ---- Command lines

// The room of the line buffer a run composes into: every part of the largest line fits.
constexpr std::size_t kCommandLineSize = 2048;
using CommandLine = FixedText<kCommandLineSize>;

// The line for the expanded command and options. A logged run puts the log wrapper and the log file in
// front (the log file quoted when it holds a blank); options follow the command after a space, or the
// prefix directly when the command is empty.
CommandLine ComposeCommandLine(bool logged, std::string_view logWrapper, std::string_view logFile,
                               std::string_view command, std::string_view options);

// The document a command names for the association: the expanded command without the one pair of
// quotes a user writes around a name that may hold blanks ("%@dpn%.pdf").
std::string_view AssociationDocument(std::string_view command);

// The line that opens a document with its associated program: program, the document, then any options;
// the program and the document are quoted when they hold a blank, so that "C:\Program Files\..." is not
// looked up as "C:\Program" and a document in a folder with blanks reaches the program as one argument.
// It never carries the log prefix.
CommandLine ComposeAssociationLine(std::string_view program, std::string_view document, std::string_view options);

// Whether the program the shell names for a document is that document itself: a program named without a
// folder that the system's search did not find, which the shell found in the current folder instead
// ("bibtex" gives "C:\Papers\bibtex.exe"). Such a program is never started.
bool IsProgramItself(std::string_view document, std::string_view program);

// ---- Show mode and log

// The wShowWindow value for a stored show mode: Normal 1, Minimized 2, Maximized 3, Invisible 0,
// Capture 1. A value outside 0..4 starts the program as Normal.
int ShowWindowForMode(int show);

// Whether the run captures the program's console output (show mode 4 only).
bool IsCaptureMode(int show);

enum class LogAction {
    kNothing,  // Never, On error after success, or a mode the settings file should not hold
    kOpen,     // open the log with the shell
    kAsk,      // ask the user whether to open it
};

LogAction LogActionFor(int logMode, unsigned long exitCode);

// Whether a run with this log mode goes through the log wrapper at all.
bool IsLogged(int logMode);

// ---- Names of the temporary folder and its log files, chosen by what already exists

// What the names are chosen by: whether a file or folder exists, and removing a log file.
class LogFileSystem {
public:
    virtual ~LogFileSystem() = default;
    virtual bool Exists(const char* name) = 0;
    virtual void Remove(const char* name) = 0;
};

// Names longer than this do not fit a path buffer and are never handed out.
constexpr std::size_t kLongestName = 259;
// Numbers are tried up to this one; past it no name is free.
constexpr unsigned kLastNumber = 100000;

// "<tempPath>Brisolt<n>" for the first n from 1 that does not exist (tempPath ends in a backslash);
// empty when no such name fits.
PathText TempFolderName(std::string_view tempPath, LogFileSystem& files);

// "<folder>\log<number>.txt", or empty when that is longer than kLongestName.
PathText LogFileName(std::string_view folder, unsigned number);

// The first log file in the folder that does not exist, and its number; empty (number 0) when no free
// name fits.
struct FreeLogFile {
    PathText name;
    unsigned number = 0;
};
FreeLogFile FirstFreeLogFile(std::string_view folder, LogFileSystem& files);

// At exit: removes every log file from 1 up to the highest number handed out that still exists, so a
// file the user deleted by hand leaves no later log behind.
void RemoveLogFiles(std::string_view folder, unsigned highestNumber, LogFileSystem& files);

// ---- The programs a run started, found among the system's processes through their parents

// One process as the system lists it. `created` is its start time, 0 when it could not be asked.
struct ProcessEntry {
    unsigned long id = 0;
    unsigned long parentId = 0;
    unsigned long long created = 0;
};

// Writes the ids of the processes that `rootId` started, and those they started, into `out` (room
// entries), parents before their children; returns how many. A process started before the one its
// parent id names is not its child: it took over the id of a parent that has ended. A process whose
// start time is unknown is left out with everything below it.
std::size_t FindDescendants(const ProcessEntry* entries, std::size_t count, unsigned long rootId,
                            unsigned long long rootCreated, unsigned long* out, std::size_t room);
