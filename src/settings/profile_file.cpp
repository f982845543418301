// Sections of a settings file read whole through the system's profile functions.
#include "settings/profile_file.h"

#include <windows.h>

#include <memory>

namespace {
// A section's block is never longer than the file (a Unicode file gives fewer characters than bytes),
// so a room of the file's size takes any section in one call; small sections need little room.
constexpr DWORD kSmallestRoom = 1024;
constexpr DWORD kLastRoom = 16 * 1024 * 1024;

DWORD FirstRoom(const char* file) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(file, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0) return kSmallestRoom;
    const DWORD room = data.nFileSizeLow + 2;
    return room < kSmallestRoom ? kSmallestRoom : (room > kLastRoom ? kLastRoom : room);
}
}  // namespace

std::string ReadSectionBlock(const char* section, const char* file) {
    // A bare name is the profile functions' file in the Windows folder, not one here: the first room may
    // then be too small, and the buffer grows.
    for (DWORD room = FirstRoom(file);; room = room < kLastRoom / 4 ? room * 4 : kLastRoom) {
        // Left unfilled, so only what the block takes is ever touched.
        const std::unique_ptr<char[]> buffer(new char[room]);
        const DWORD length = GetPrivateProfileSectionA(section, buffer.get(), room, file);
        // A block that did not fit comes back cut, its length room - 2; one that only just fits does too.
        if (length + 2 < room || room >= kLastRoom) return std::string(buffer.get(), length < room ? length : room);
    }
}
