// Bounded copy, append and format for fixed text buffers.
#include "base/bounded_text.h"

#include <cstdio>
#include <cstring>

namespace text {

std::size_t BoundedLength(const char* src, std::size_t room) {
    const void* end = std::memchr(src, '\0', room);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - src) : room;
}

bool CopyInto(char* dst, std::size_t room, std::string_view src) {
    if (room == 0) return src.empty();
    const std::size_t n = src.size() < room ? src.size() : room - 1;
    if (n > 0) std::memmove(dst, src.data(), n);  // an empty view may carry a null pointer
    dst[n] = '\0';
    return n == src.size();
}

bool AppendInto(char* dst, std::size_t room, std::string_view src) {
    if (room == 0) return src.empty();
    std::size_t used = BoundedLength(dst, room);
    if (used == room) {  // an unterminated buffer is cut to terminate it
        dst[room - 1] = '\0';
        used = room - 1;
    }
    return CopyInto(dst + used, room - used, src);
}

bool FormatIntoV(char* dst, std::size_t room, const char* format, va_list args) {
    if (room == 0) return false;
#ifdef _WIN32
    // The system's C library formats here, as the compiler checks the formats against its rules;
    // MinGW's own formatter would add some 25 KB to the program. It leaves a text that fills dst
    // unterminated and reports a cut one as -1.
    const int written = _vsnprintf(dst, room, format, args);
    if (written < 0 || static_cast<std::size_t>(written) >= room) {
        dst[room - 1] = '\0';
        return false;
    }
    return true;
#else
    const int needed = std::vsnprintf(dst, room, format, args);
    if (needed < 0) {
        dst[0] = '\0';
        return false;
    }
    return static_cast<std::size_t>(needed) < room;
#endif
}

bool FormatInto(char* dst, std::size_t room, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const bool whole = FormatIntoV(dst, room, format, args);
    va_end(args);
    return whole;
}

}  // namespace text
