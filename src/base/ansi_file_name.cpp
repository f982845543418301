// File names that came as wide text, made into names an ANSI program can store and pass on.
#include "base/ansi_file_name.h"

#include <windows.h>

#include <memory>

#include "base/bounded_text.h"

namespace {
// Writes `wide` into out as ANSI, cut to room (`whole` tells); true when every letter came through as
// itself. Without best fit a letter the code page lacks becomes "?" instead of a look-alike, and
// reading the text back shows it.
bool ConvertsExactly(const wchar_t* wide, char* out, std::size_t room, bool& whole) {
    // A UTF-8 code page takes no best-fit flag; it has every letter anyway.
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    std::unique_ptr<char[]> ansi(new char[static_cast<std::size_t>(size)]);
    WideCharToMultiByte(CP_ACP, flags, wide, -1, ansi.get(), size, nullptr, nullptr);
    whole = text::CopyInto(out, room, ansi.get());
    const int length = lstrlenW(wide) + 1;
    std::unique_ptr<wchar_t[]> back(new wchar_t[static_cast<std::size_t>(length)]);
    return MultiByteToWideChar(CP_ACP, 0, ansi.get(), -1, back.get(), length) == length &&
           lstrcmpW(back.get(), wide) == 0;
}
}  // namespace

AnsiName AnsiFileName(const wchar_t* wide, char* out, std::size_t room) {
    bool whole = false;
    if (ConvertsExactly(wide, out, room, whole)) return AnsiName::kExact;
    wchar_t shortName[MAX_PATH];
    const DWORD length = GetShortPathNameW(wide, shortName, MAX_PATH);
    // A cut name would be another file's.
    if (length > 0 && length < MAX_PATH && ConvertsExactly(shortName, out, room, whole) && whole) {
        return AnsiName::kShortForm;
    }
    if (room > 0) out[0] = '\0';
    return AnsiName::kNone;
}
