// Files and folders for the Windows tests: reading and writing whole files, settings values, long and
// short names, the test's own program, clean-up.
#pragma once

#include <string>

bool Exists(const std::string& path);
// The text in lower case (A..Z only), for comparing names as Windows does.
std::string Lower(std::string text);
// True once the log wrapper has written its closing line into the log at `path`: the logged run has ended.
bool LogClosed(const std::string& path);
std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, const std::string& text);
// One value of an INI file as the profile functions read it, or "<missing>" when the key is not there.
std::string IniValue(const std::string& path, const char* section, const char* key);
// Makes a folder (its parent must exist) and gives its name back.
std::string MakeFolder(const std::string& path);
// The long form of path, or path itself when the system has none.
std::string LongPath(const std::string& path);
// The short (8.3) form of path, or path itself when the system has none.
std::string ShortPath(const std::string& path);
// Text of the code page in wide characters.
std::wstring Widen(const std::string& text);
// Wide text as the system hands it to ANSI functions: look-alikes and "?" for letters the code page lacks.
std::string Narrow(const std::wstring& text);
// Writes a whole file under a wide name (letters of any script); false when it could not be made.
bool WriteWholeWide(const std::wstring& path, const std::string& text);
// The short form of a wide name in the code page, asked of the system; empty when it has none.
std::string ShortPathOf(const std::wstring& path);
// The running executable's full name.
std::string ExePath();
// The folder of the running executable, with its trailing "\": the built programs are there too.
std::string ExeFolder();
// Removes a folder (given with its trailing "\") and everything below it, read-only files included.
void RemoveTree(const std::string& folder);
