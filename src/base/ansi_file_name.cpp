// File names that came as wide text, made into names an ANSI program can store and pass on.
#include "base/ansi_file_name.h"

#include <windows.h>

#include "base/bounded_text.h"
#include "base/heap_array.h"
#include "base/messages.h"

namespace {
// Writes `wide` into out as ANSI when every letter comes through as itself and the whole text fits.
// Without best fit a letter the code page lacks becomes "?" instead of a look-alike, and reading the
// text back shows it.
bool ConvertsWhole(const wchar_t* wide, char* out, std::size_t room) {
    // A UTF-8 code page takes no best-fit flag; it has every letter anyway.
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0 || static_cast<std::size_t>(size) > room) return false;
    const HeapArray<char> ansi(static_cast<std::size_t>(size));
    if (!ansi) return false;
    WideCharToMultiByte(CP_ACP, flags, wide, -1, ansi.get(), size, nullptr, nullptr);
    const int length = lstrlenW(wide) + 1;
    const HeapArray<wchar_t> back(static_cast<std::size_t>(length));
    if (!back || MultiByteToWideChar(CP_ACP, 0, ansi.get(), -1, back.get(), length) != length ||
        lstrcmpW(back.get(), wide) != 0) {
        return false;
    }
    return text::CopyInto(out, room, ansi.get());
}

bool ShortFormWhole(const wchar_t* wide, char* out, std::size_t room) {
    wchar_t shortName[MAX_PATH];
    const DWORD length = GetShortPathNameW(wide, shortName, MAX_PATH);
    return length > 0 && length < MAX_PATH && ConvertsWhole(shortName, out, room);
}

AnsiName Nothing(char* out, std::size_t room) {
    if (room > 0) out[0] = '\0';
    return AnsiName::kNone;
}
}  // namespace

AnsiName AnsiFileName(const wchar_t* wide, char* out, std::size_t room) {
    if (ConvertsWhole(wide, out, room)) return AnsiName::kExact;
    if (ShortFormWhole(wide, out, room)) return AnsiName::kShortForm;
    return Nothing(out, room);
}

AnsiName AnsiNewFileName(const wchar_t* wide, char* out, std::size_t room) {
    const AnsiName name = AnsiFileName(wide, out, room);
    if (name != AnsiName::kNone) return name;
    const wchar_t* slash = nullptr;
    for (const wchar_t* p = wide; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/') slash = p;
    }
    if (slash == nullptr || slash - wide >= MAX_PATH) return Nothing(out, room);
    wchar_t folder[MAX_PATH];
    lstrcpynW(folder, wide, static_cast<int>(slash - wide) + 1);
    char ownName[MAX_PATH];
    if (!ShortFormWhole(folder, out, room) || !ConvertsWhole(slash + 1, ownName, sizeof ownName) ||
        !text::AppendInto(out, room, "\\") || !text::AppendInto(out, room, ownName)) {
        return Nothing(out, room);
    }
    return AnsiName::kShortForm;
}

bool TakeWideFileName(const wchar_t* wide, char* out, std::size_t room) {
    if (AnsiFileName(wide, out, room) != AnsiName::kNone) return true;
    FileNameErrorBox(wide);
    return false;
}
