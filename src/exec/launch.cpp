// Running the command of an "Execute command" button: expansion, the edit dialog, the start (directly or
// through the document's associated program), and waiting for or watching the child.
#include "exec/launch.h"

#include <objbase.h>
#include <shellapi.h>

#include <new>

#include "base/handles.h"
#include "exec/run_rules.h"
#include "base/dialog.h"
#include "base/help.h"
#include "exec/expand_command.h"
#include "exec/logs.h"
#include "exec/watched_runs.h"
#include "base/bounded_text.h"
#include "base/messages.h"
#include "base/search_order.h"
#include "res/resource.h"
#include "settings/settings_records.h"

RunState g_runs;

namespace {

// The edit dialog (template 103): shows the program a run will start and lets the user edit its
// parameters.
struct EditCommandData {
    const char* command;      // shown, not changeable
    char* options;            // shown and replaced on OK
    std::size_t optionsRoom;  // bytes in options, NUL included
};

INT_PTR CALLBACK EditCommandDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = DialogData<EditCommandData>(dialog, message, lParam);
    if (HandleDialogHelp(message, wParam, lParam, IDH_EDIT_COMMAND)) return TRUE;
    switch (message) {
    case WM_INITDIALOG: {
        SetDlgItemTextA(dialog, IDC_EDIT_COMMAND, data->command);
        HWND options = GetDlgItem(dialog, IDC_EDIT_OPTIONS);
        // The field takes no more than the options buffer can hold.
        SendMessageA(options, EM_LIMITTEXT, data->optionsRoom > 1 ? data->optionsRoom - 1 : 1, 0);
        SetWindowTextA(options, data->options);
        SendMessageA(options, EM_SETSEL, 0, -1);
        SetFocus(options);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (data && data->optionsRoom > 0) {
                const int room = data->optionsRoom > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(data->optionsRoom);
                if (GetDlgItemTextA(dialog, IDC_EDIT_OPTIONS, data->options, room) == 0) data->options[0] = '\0';
            }
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// True on OK (options hold the edited text), false on Cancel.
bool RunEditCommandDialog(HWND owner, EditCommandData& data) {
    const INT_PTR result = RunDialog(owner, IDD_EDIT_COMMAND, EditCommandDialogProc, &data);
    return result == IDOK;
}

constexpr DWORD kWatchStackSize = 12000;
// The rooms of the expanded options and command.
constexpr std::size_t kExpandedOptionsSize = 780;
constexpr std::size_t kExpandedCommandSize = 520;

// What a watch thread keeps: its own copy of the ChildWatch, and its place among the runs a user may stop.
struct WatchThreadData {
    ChildWatch watch;
    WatchedRun run;
};

void CloseRunHandles(const ChildWatch& watch) {
    CloseHandle(watch.process);
    if (watch.job != nullptr) CloseHandle(watch.job);
}

DWORD WINAPI WatchChild(LPVOID parameter) {
    WatchThreadData* data = static_cast<WatchThreadData*>(parameter);
    const ChildWatch& watch = data->watch;
    // The shell may hand the log to an extension that needs COM on the calling thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    WaitForSingleObject(watch.process, INFINITE);
    // The log wrapper has ended with the run, so its log is free for the closing line.
    const RunEnd end = RemoveWatchedRun(data->run);
    if (end != RunEnd::kByItself) AppendStoppedLine(watch.logFile, end == RunEnd::kStoppedAlone);
    ShowLog(watch.process, watch.log, watch.logFile);
    if (SUCCEEDED(com)) CoUninitialize();
    CloseRunHandles(watch);
    delete data;
    InterlockedDecrement(&g_runs.childCount);
    return 0;
}

// The child is counted before its thread exists, so no reader sees it uncounted while the thread starts.
void StartWatchThread(const ChildWatch& watch) {
    WatchThreadData* data = new (std::nothrow) WatchThreadData{watch, WatchedRun{}};
    if (data != nullptr) {
        data->run.process = watch.process;
        data->run.job = watch.job;
        AddWatchedRun(data->run);
        InterlockedIncrement(&g_runs.childCount);
        HANDLE thread = CreateThread(nullptr, kWatchStackSize, WatchChild, data, 0, nullptr);
        if (thread != nullptr) {
            CloseHandle(thread);
            return;
        }
        InterlockedDecrement(&g_runs.childCount);
        RemoveWatchedRun(data->run);
        delete data;
    }
    // Without a thread the child goes unwatched.
    CloseRunHandles(watch);
}

// A child that will be watched starts suspended, so that it is in its job before it can start anything.
bool StartProcess(char* line, bool inherit, int show, const std::string& folder, bool watched,
                  PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowWindowForMode(show));
    process = PROCESS_INFORMATION{};
    const ChildEnvironment environment;
    return CreateProcessA(nullptr, line, nullptr, nullptr, inherit ? TRUE : FALSE,
                          (watched ? CREATE_SUSPENDED : 0) | environment.flags(), environment.block(),
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process) != FALSE;
}

// A run that never started: its console goes, its reserved log name is given back, and the error shows.
void AbandonRun(bool capture, const char* logFile, unsigned long error) {
    if (capture) ReleaseCaptureConsole();
    ReleaseLogFileName(logFile);
    SystemErrorBox(error);
}

}  // namespace

void RunButtonCommand(int index) {
    if (index < 0 || index >= kButtonCount) return;
    const ButtonDef& button = g_settings.buttons[index];
    // The run keeps what it reads of the button: dialogs shown during the run must not change it.
    const int show = button.show;
    const int logMode = button.log;
    const bool capture = IsCaptureMode(show);
    const bool waiting = button.wait != 0 || capture;
    char consoleTitle[sizeof button.command];
    CopyText(consoleTitle, FieldText(button.command));

    char options[kExpandedOptionsSize];
    char command[kExpandedCommandSize];
    if (!ExpandPlaceholders(button.options, button.useLongNames, options, sizeof options)) return;
    if (!ExpandPlaceholders(button.command, button.useLongNames, command, sizeof command)) return;

    bool logged = IsLogged(logMode);
    char logFile[kLogFileNameSize] = "";
    if (logged) {
        CopyText(logFile, NewLogFileName());
        // Without a log file name the wrapper would take the command for it: run without the wrapper.
        if (logFile[0] == '\0') logged = false;
    }

    if (button.editCommandLine) {
        EditCommandData edit{command, options, sizeof options};
        if (!RunEditCommandDialog(g_app.mainWindow, edit)) {
            ReleaseLogFileName(logFile);
            return;
        }
    }

    char line[kCommandLineSize];
    CopyText(line, ComposeCommandLine(logged, FieldText(g_paths.logWrapperPath), FieldText(logFile),
                                      FieldText(command), FieldText(options)));
    const std::string folder =
        WorkingFolder(FieldText(button.directory), FieldText(g_paths.defaultFolder), FieldText(g_paths.mainFile));
    const bool inherit = IsLogged(logMode);
    const bool watched = IsLogged(logMode) && !waiting;

    if (capture) OpenCaptureConsole(consoleTitle);
    PROCESS_INFORMATION process;
    bool started = StartProcess(line, inherit, show, folder, watched, process);
    if (!started && logged) {
        // The wrapper could not be started (it is missing): the command runs without a log. Through the
        // association it would run a program with its own name for its first argument.
        ReleaseLogFileName(logFile);
        logFile[0] = '\0';
        CopyText(line, ComposeCommandLine(false, "", "", FieldText(command), FieldText(options)));
        started = StartProcess(line, inherit, show, folder, watched, process);
    }
    if (!started) {
        const DWORD startError = GetLastError();
        char document[kExpandedCommandSize];
        CopyText(document, AssociationDocument(FieldText(command)));
        char program[MAX_PATH] = "";
        const INT_PTR found = reinterpret_cast<INT_PTR>(FindExecutableA(document, nullptr, program));
        if (found <= 32) {
            AbandonRun(capture, logFile, static_cast<unsigned long>(found));
            return;
        }
        // A program the search left out on purpose is not started by the back door.
        if (IsProgramItself(FieldText(document), FieldText(program))) {
            AbandonRun(capture, logFile, startError);
            return;
        }
        CopyText(line, ComposeAssociationLine(FieldText(program), FieldText(document), FieldText(options)));
        if (!StartProcess(line, inherit, show, folder, watched, process)) {
            AbandonRun(capture, logFile, GetLastError());
            return;
        }
        // The associated program runs without the wrapper, so nothing will write the reserved log.
        ReleaseLogFileName(logFile);
    }
    const HANDLE job = watched ? StartInJob(process.hProcess, process.hThread) : nullptr;
    CloseHandle(process.hThread);

    ChildWatch watch;
    watch.process = process.hProcess;
    watch.job = job;
    watch.log = static_cast<signed char>(logMode);
    CopyText(watch.logFile, FieldText(logFile));

    HWND focus = nullptr;
    if (waiting) {
        focus = GetFocus();
        if (g_app.mainWindow) {
            ShowWindow(g_app.mainWindow, SW_MINIMIZE);
            UpdateWindow(g_app.mainWindow);
        }
        WaitForSingleObject(process.hProcess, INFINITE);
    } else if (watched) {
        StartWatchThread(watch);
        return;
    }

    if (capture) CloseCaptureConsole();
    if (IsLogged(logMode)) ShowLog(watch.process, watch.log, watch.logFile);
    CloseHandle(process.hProcess);

    if (waiting) {
        if (g_app.mainWindow) ShowWindow(g_app.mainWindow, SW_SHOWNORMAL);
        if (focus) SetFocus(focus);
    }
}
