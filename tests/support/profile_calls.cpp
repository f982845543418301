// Counts the test program's calls to the profile functions by routing its imports through counters.
#include "support/profile_calls.h"

#include <windows.h>

#include <atomic>
#include <cstring>

namespace {

std::atomic<int> g_keyReads{0};
std::atomic<int> g_sectionReads{0};
std::atomic<int> g_writes{0};

struct Route {
    const char* name;
    void* counted;
    void* original;  // the system's function, which the counter calls
};

DWORD WINAPI CountedString(LPCSTR, LPCSTR, LPCSTR, LPSTR, DWORD, LPCSTR);
UINT WINAPI CountedInt(LPCSTR, LPCSTR, INT, LPCSTR);
DWORD WINAPI CountedSection(LPCSTR, LPSTR, DWORD, LPCSTR);
BOOL WINAPI CountedWrite(LPCSTR, LPCSTR, LPCSTR, LPCSTR);

enum RouteIndex { kString, kInt, kSection, kWrite };
Route g_routes[] = {
    {"GetPrivateProfileStringA", reinterpret_cast<void*>(&CountedString), nullptr},
    {"GetPrivateProfileIntA", reinterpret_cast<void*>(&CountedInt), nullptr},
    {"GetPrivateProfileSectionA", reinterpret_cast<void*>(&CountedSection), nullptr},
    {"WritePrivateProfileStringA", reinterpret_cast<void*>(&CountedWrite), nullptr},
};

template <typename Function>
Function Original(RouteIndex index) {
    return reinterpret_cast<Function>(g_routes[index].original);
}

DWORD WINAPI CountedString(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer, DWORD size, LPCSTR file) {
    ++g_keyReads;
    return Original<decltype(&CountedString)>(kString)(section, key, fallback, buffer, size, file);
}

UINT WINAPI CountedInt(LPCSTR section, LPCSTR key, INT fallback, LPCSTR file) {
    ++g_keyReads;
    return Original<decltype(&CountedInt)>(kInt)(section, key, fallback, file);
}

DWORD WINAPI CountedSection(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
    ++g_sectionReads;
    return Original<decltype(&CountedSection)>(kSection)(section, buffer, size, file);
}

BOOL WINAPI CountedWrite(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    ++g_writes;
    return Original<decltype(&CountedWrite)>(kWrite)(section, key, value, file);
}

bool SetSlot(void** slot, void* value) {
    DWORD was = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was)) return false;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, was, &was);
    return true;
}

// Points the program's import slot of every routed function at `counted` (or back at the original).
int Reroute(bool counted) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int changed = 0;
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress != 0 && module->Name != 0; ++module) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<void**>(base + module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (Route& route : g_routes) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), route.name) != 0) continue;
                if (counted) route.original = *slots;
                if (SetSlot(slots, counted ? route.counted : route.original)) ++changed;
            }
        }
    }
    return changed;
}
}  // namespace

ProfileCalls::ProfileCalls() {
    Reset();
    counting_ = Reroute(true) > 0;
}

ProfileCalls::~ProfileCalls() {
    if (counting_) Reroute(false);
}

int ProfileCalls::keyReads() const {
    return g_keyReads;
}

int ProfileCalls::sectionReads() const {
    return g_sectionReads;
}

int ProfileCalls::writes() const {
    return g_writes;
}

void ProfileCalls::Reset() {
    g_keyReads = 0;
    g_sectionReads = 0;
    g_writes = 0;
}
