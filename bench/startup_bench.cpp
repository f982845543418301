// Start-up of the button bar with the full settings file, against a dialog that does nothing with the
// same DLL imports and manifest: the time to a visible window, the time to input idle, and the memory
// the process holds once idle.
#include <windows.h>
#include <psapi.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "support/find_window.h"
#include "support/test_files.h"

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
// Time for work that the program leaves until after its first idle moment to show in its memory.
constexpr DWORD kSettleMs = 300;

struct StartRun {
    double visible = 0;  // seconds from CreateProcess to a visible dialog window
    double idle = 0;     // seconds from CreateProcess to input idle
    double privateBytes = 0;
    double workingSet = 0;
    bool ok = false;
};

struct IdleWait {
    HANDLE process;
    double start;
    double idle;
};

DWORD WINAPI WaitIdle(void* data) {
    IdleWait& wait = *static_cast<IdleWait*>(data);
    if (WaitForInputIdle(wait.process, kStartTimeoutMs) == 0) wait.idle = Now() - wait.start;
    return 0;
}

StartRun TimeStart(const std::string& exe, const std::string& arguments) {
    StartRun run;
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return run;
    IdleWait wait{process.hProcess, start, 0};
    HANDLE waiter = CreateThread(nullptr, 0, WaitIdle, &wait, 0, nullptr);
    while (Now() - start < kStartTimeoutMs / 1000.0) {
        if (FindProcessWindow(process.dwProcessId, "#32770", nullptr)) {
            run.visible = Now() - start;
            break;
        }
        Sleep(1);
    }
    if (waiter) {
        WaitForSingleObject(waiter, kStartTimeoutMs);
        CloseHandle(waiter);
    }
    run.idle = wait.idle;
    Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        // Wine leaves PrivateUsage empty for another process; its PagefileUsage, the same figure on
        // Windows, counts the private pages.
        run.privateBytes = static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage);
        run.workingSet = static_cast<double>(memory.WorkingSetSize);
    }
    run.ok = run.visible > 0 && run.idle > 0 && run.privateBytes > 0;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

struct Series {
    std::vector<double> visible, idle, privateBytes, workingSet;
    void Add(const StartRun& run) {
        visible.push_back(run.visible * 1000);
        idle.push_back(run.idle * 1000);
        privateBytes.push_back(run.privateBytes / (1 << 20));
        workingSet.push_back(run.workingSet / (1 << 20));
    }
};
}  // namespace

void AddStartupRows(int runs, std::vector<BenchRow>& rows) {
    const std::string settings = BenchFolder() + "startup.ini";
    WriteWhole(settings, FullSettings());
    const std::string brisolt = ExeFolder() + "Brisolt.exe";
    const std::string arguments = "/i \"" + settings + "\" \"" + BenchMainFile() + "\"";
    const std::string idleDialog = ExeFolder() + "bench_idle_dialog.exe";

    BenchRow visible{"start-up to a visible bar, full settings file"};
    BenchRow idle{"start-up to input idle, full settings file"};
    BenchRow privateMemory{"private memory once idle"};
    BenchRow workingSet{"working set once idle"};
    // For comparison, what a dialog of the bar's 50 labelled buttons costs by itself.
    BenchRow buttonsVisible{"  idle dialog with 50 buttons, to visible"};
    BenchRow buttonsIdle{"  idle dialog with 50 buttons, to input idle"};
    BenchRow buttonsMemory{"  idle dialog with 50 buttons, private memory"};
    visible.target = idle.target = 1.3;
    privateMemory.unit = workingSet.unit = "MB";
    privateMemory.difference = true;
    privateMemory.target = 0.5;

    // A first run of each, not counted, fills the caches and settles the settings file as a user's
    // second start finds it.
    BenchRow* const all[] = {&visible, &idle, &privateMemory, &workingSet, &buttonsVisible, &buttonsIdle, &buttonsMemory};
    if (!TimeStart(brisolt, arguments).ok || !TimeStart(idleDialog, "").ok || !TimeStart(idleDialog, "buttons").ok) {
        for (BenchRow* row : all) {
            row->failure = "the bar or the idle dialog did not start";
            rows.push_back(*row);
        }
        return;
    }
    Series ours, baseline, buttons;
    for (int i = 0; i < runs; ++i) {
        const StartRun a = TimeStart(idleDialog, "");
        const StartRun b = TimeStart(brisolt, arguments);
        const StartRun c = TimeStart(idleDialog, "buttons");
        if (!a.ok || !b.ok || !c.ok) continue;
        baseline.Add(a);
        ours.Add(b);
        buttons.Add(c);
    }
    if (ours.visible.empty()) {
        for (BenchRow* row : all) row->failure = "no run";
    }
    visible.ours = Median(ours.visible);
    visible.baseline = Median(baseline.visible);
    idle.ours = Median(ours.idle);
    idle.baseline = Median(baseline.idle);
    privateMemory.ours = Median(ours.privateBytes);
    privateMemory.baseline = Median(baseline.privateBytes);
    workingSet.ours = Median(ours.workingSet);
    workingSet.baseline = Median(baseline.workingSet);
    buttonsVisible.ours = Median(buttons.visible);
    buttonsVisible.baseline = visible.baseline;
    buttonsIdle.ours = Median(buttons.idle);
    buttonsIdle.baseline = idle.baseline;
    buttonsMemory.unit = "MB";
    buttonsMemory.difference = true;
    buttonsMemory.ours = Median(buttons.privateBytes);
    buttonsMemory.baseline = privateMemory.baseline;
    for (const BenchRow& row : {visible, idle, buttonsVisible, buttonsIdle, privateMemory, buttonsMemory, workingSet})
        rows.push_back(row);
}
