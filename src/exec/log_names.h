// Names of the temporary folder and its log files, chosen by what already exists; no windows.h here.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Whether a file or folder of that name exists.
using ExistsFunction = std::function<bool(const std::string&)>;

// Names longer than this do not fit a path buffer and are never handed out.
constexpr std::size_t kLongestName = 259;
// Numbers are tried up to this one; past it no name is free.
constexpr unsigned kLastNumber = 100000;

// "<tempPath>Brisolt<n>" for the first n from 1 that does not exist (tempPath ends in a backslash);
// empty when no such name fits.
std::string TempFolderName(std::string_view tempPath, const ExistsFunction& exists);

// "<folder>\log<number>.txt".
std::string LogFileName(std::string_view folder, unsigned number);

// The first log file in the folder that does not exist, and its number; empty (number 0) when no free
// name fits.
struct FreeLogFile {
    std::string name;
    unsigned number = 0;
};
FreeLogFile FirstFreeLogFile(std::string_view folder, const ExistsFunction& exists);

// The log files to remove at exit: every name from 1 up to the highest number handed out that still
// exists, so a file the user deleted by hand leaves no later log behind.
std::vector<std::string> LogFilesToDelete(std::string_view folder, unsigned highestNumber, const ExistsFunction& exists);
