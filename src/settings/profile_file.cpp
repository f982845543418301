// Sections of a settings file read whole through the system's profile functions.
#include "settings/profile_file.h"

#include <windows.h>

namespace {
// Room for a whole [Buttons] section of a usual settings file in one call.
constexpr DWORD kFirstRoom = 32 * 1024;
constexpr DWORD kLastRoom = 16 * 1024 * 1024;
}  // namespace

std::string ReadSectionBlock(const char* section, const char* file) {
    std::string block(kFirstRoom, '\0');
    for (;;) {
        const DWORD room = static_cast<DWORD>(block.size());
        const DWORD length = GetPrivateProfileSectionA(section, &block[0], room, file);
        // A block that did not fit comes back cut, its length room - 2; one that only just fits does too.
        if (length + 2 < room || room >= kLastRoom) {
            block.resize(length < room ? length : room);
            return block;
        }
        block.assign(static_cast<std::size_t>(room) * 2, '\0');
    }
}
