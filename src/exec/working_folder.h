// The folder a button's program starts in; no windows.h here.
#pragma once

#include <string>
#include <string_view>

// The button's directory as stored, else the default folder, else the main file's folder; empty means
// "inherit the program's current folder". A root folder keeps its backslash ("C:\", "\").
std::string WorkingFolder(std::string_view buttonDirectory, std::string_view defaultFolder, std::string_view mainFile);
