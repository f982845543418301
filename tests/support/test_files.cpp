// Files and folders for the Windows tests.
#include "support/test_files.h"

#include <windows.h>

#include <fstream>
#include <sstream>

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string LongPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    return (length > 0 && length < MAX_PATH) ? std::string(buffer, length) : path;
}

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return (length > 0 && length < MAX_PATH) ? std::string(buffer, length) : path;
}

std::string ExeFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + "\\");
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
