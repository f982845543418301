// The program's help calls, recorded in place of HTML Help.
#include "support/help_calls.h"

#include "base/help.h"

namespace {
struct Recorded {
    SRWLOCK lock = SRWLOCK_INIT;
    std::vector<HelpCall> calls;
};
Recorded g_recorded;

HWND Record(HWND caller, const char*, UINT command, DWORD_PTR data) {
    AcquireSRWLockExclusive(&g_recorded.lock);
    g_recorded.calls.push_back({caller, command, data});
    ReleaseSRWLockExclusive(&g_recorded.lock);
    return nullptr;
}
}  // namespace

HelpRecorder::HelpRecorder() {
    Clear();
    SetHelpCaller(Record);
}

HelpRecorder::~HelpRecorder() {
    SetHelpCaller(nullptr);
}

std::vector<HelpCall> HelpRecorder::calls() const {
    AcquireSRWLockExclusive(&g_recorded.lock);
    std::vector<HelpCall> calls = g_recorded.calls;
    ReleaseSRWLockExclusive(&g_recorded.lock);
    return calls;
}

void HelpRecorder::Clear() {
    AcquireSRWLockExclusive(&g_recorded.lock);
    g_recorded.calls.clear();
    ReleaseSRWLockExclusive(&g_recorded.lock);
}

DWORD MappedTopic(DWORD_PTR map, int id) {
    for (const DWORD* pair = reinterpret_cast<const DWORD*>(map); pair != nullptr && pair[0] != 0; pair += 2) {
        if (pair[0] == static_cast<DWORD>(id)) return pair[1];
    }
    return 0;
}
