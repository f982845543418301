// Files and folders for the Windows tests: reading and writing whole files, long names, clean-up.
#pragma once

#include <string>

bool Exists(const std::string& path);
std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, const std::string& text);
// The long form of path, or path itself when the system has none.
std::string LongPath(const std::string& path);
// The short (8.3) form of path, or path itself when the system has none.
std::string ShortPath(const std::string& path);
// The folder of the running executable, with its trailing "\": the built programs are there too.
std::string ExeFolder();
// Removes a folder (given with its trailing "\") and everything below it.
void RemoveTree(const std::string& folder);
