// File names that came as wide text, made into names an ANSI program can store and pass on.
#include "base/ansi_file_name.h"

#include <windows.h>

#include "base/bounded_text.h"

namespace {
std::string ToAnsi(const wchar_t* wide, DWORD flags) {
    const int size = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide, -1, &text[0], size, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(size) - 1);
    return text;
}

// True when `ansi`, the name in the code page, reads back as the very same letters: without best fit,
// a letter the code page lacks becomes "?" instead of a look-alike, and the round trip shows it.
bool ConvertsExactly(const wchar_t* wide, std::string& ansi) {
    // A UTF-8 code page takes no best-fit flag; it has every letter anyway.
    ansi = ToAnsi(wide, GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS);
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    if (size <= 0) return false;
    std::wstring back(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &back[0], size);
    return lstrcmpW(back.c_str(), wide) == 0;
}
}  // namespace

AnsiName AnsiFileName(const wchar_t* wide, char* out, std::size_t room) {
    std::string ansi;
    if (ConvertsExactly(wide, ansi)) {
        text::CopyInto(out, room, ansi);
        return AnsiName::kExact;
    }
    if (room > 0) out[0] = '\0';
    const DWORD size = GetShortPathNameW(wide, nullptr, 0);
    if (size == 0) return AnsiName::kNone;
    std::wstring shortName(size, L'\0');
    const DWORD length = GetShortPathNameW(wide, &shortName[0], size);
    if (length == 0 || length >= size) return AnsiName::kNone;
    // A cut name would be another file's.
    if (!ConvertsExactly(shortName.c_str(), ansi) || !text::CopyInto(out, room, ansi)) {
        if (room > 0) out[0] = '\0';
        return AnsiName::kNone;
    }
    return AnsiName::kShortForm;
}

std::string SystemAnsiText(const wchar_t* wide) {
    return ToAnsi(wide, 0);
}
