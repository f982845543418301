// Where the program and the log wrapper look for the libraries and programs they load and start by name.
#include "base/search_order.h"

namespace {

constexpr wchar_t kNoCurrentFolderVariable[] = L"NoDefaultCurrentDirectoryInExePath";
constexpr int kVariableLength = sizeof kNoCurrentFolderVariable / sizeof kNoCurrentFolderVariable[0] - 1;

// Whether the variable was set by this process rather than by the user; set once at start.
struct ProgramSearch {
    bool variableAdded = false;
};
ProgramSearch g_programSearch;

wchar_t Upper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// True for the entry "NoDefaultCurrentDirectoryInExePath=...", whatever the case of its name.
bool IsVariableEntry(const wchar_t* entry) {
    for (int i = 0; i < kVariableLength; ++i) {
        if (Upper(entry[i]) != Upper(kNoCurrentFolderVariable[i])) return false;
    }
    return entry[kVariableLength] == L'=';
}

}  // namespace

void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto setDefault =
        kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                     reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
               : nullptr;
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryA("");
}

void KeepCurrentFolderOutOfProgramSearch() {
    if (GetEnvironmentVariableW(kNoCurrentFolderVariable, nullptr, 0) != 0) return;
    g_programSearch.variableAdded = SetEnvironmentVariableW(kNoCurrentFolderVariable, L"1") != FALSE;
}

ChildEnvironment::ChildEnvironment() {
    if (!g_programSearch.variableAdded) return;
    wchar_t* const own = GetEnvironmentStringsW();
    if (own == nullptr) return;
    const wchar_t* end = own;
    while (*end != L'\0') end += lstrlenW(end) + 1;
    // The copy is never longer than the block with its final NUL.
    const SIZE_T room = static_cast<SIZE_T>(end - own + 1) * sizeof(wchar_t);
    block_ = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, room < 2 * sizeof(wchar_t) ? 2 * sizeof(wchar_t) : room));
    if (block_ != nullptr) {
        wchar_t* out = block_;
        for (const wchar_t* entry = own; *entry != L'\0'; entry += lstrlenW(entry) + 1) {
            if (IsVariableEntry(entry)) continue;
            const int length = lstrlenW(entry) + 1;
            CopyMemory(out, entry, static_cast<SIZE_T>(length) * sizeof(wchar_t));
            out += length;
        }
        // An empty block still needs its two NULs.
        if (out == block_) *out++ = L'\0';
        *out = L'\0';
    }
    FreeEnvironmentStringsW(own);
}

ChildEnvironment::~ChildEnvironment() {
    if (block_ != nullptr) HeapFree(GetProcessHeap(), 0, block_);
}
