// Running the command of an "Execute command" button: expansion, the edit dialog, the start (directly or
// through the document's associated program), and waiting for or watching the child.
#include "exec/launch.h"

#include <windows.h>
#include <shellapi.h>

#include "base/handles.h"
#include "exec/run_rules.h"
#include "base/dialog.h"
#include "exec/expand_command.h"
#include "exec/logs.h"
#include "exec/watched_runs.h"
#include "base/bounded_text.h"
#include "base/messages.h"
#include "base/search_order.h"
#include "res/resource.h"
#include "settings/settings_records.h"

namespace {

// The edit dialog (template 103): shows the program a run will start and lets the user edit its
// parameters.
struct EditCommandDialog : DialogBase {
    static constexpr int kTemplate = IDD_EDIT_COMMAND;
    static constexpr DWORD kHelpTopic = IDH_EDIT_COMMAND;
    const char* command = "";   // shown, not changeable
    char* options = nullptr;    // shown and replaced on OK
    std::size_t optionsRoom = 0;  // bytes in options, NUL included

    BOOL OnInit(HWND dialog) {
        SetDlgItemTextA(dialog, IDC_EDIT_COMMAND, command);
        const HWND field = GetDlgItem(dialog, IDC_EDIT_OPTIONS);
        // The field takes no more than the options buffer can hold.
        SendMessageA(field, EM_LIMITTEXT, optionsRoom > 1 ? optionsRoom - 1 : 1, 0);
        SetWindowTextA(field, options);
        SendMessageA(field, EM_SETSEL, 0, -1);
        SetFocus(field);
        return FALSE;  // the focus is set
    }
    bool OnOk(HWND dialog) {
        DialogItemText(dialog, IDC_EDIT_OPTIONS, options, optionsRoom);
        return true;
    }
};

// The rooms of the expanded options and command.
constexpr std::size_t kExpandedOptionsSize = 780;
constexpr std::size_t kExpandedCommandSize = 520;

// A child that will be watched starts suspended, so that it is in its job before it can start anything.
bool StartProcess(char* line, bool inherit, int show, const PathText& folder, bool watched,
                  PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowWindowForMode(show));
    process = PROCESS_INFORMATION{};
    const ChildEnvironment environment;
    return CreateProcessA(nullptr, line, nullptr, nullptr, inherit ? TRUE : FALSE,
                          (watched ? CREATE_SUSPENDED : 0) | environment.flags(), environment.block(),
                          folder.text[0] == '\0' ? nullptr : folder.text, &startup, &process) != FALSE;
}

// The serial of the next followed run; window thread only.
struct RunSerials {
    unsigned last = 0;
};
RunSerials g_runSerials;

// Serials fill the high word of the end message's wParam; 0 is none.
constexpr unsigned kLastSerial = 0xFFFF;

unsigned NextRunSerial() {
    g_runSerials.last = g_runSerials.last >= kLastSerial ? 1 : g_runSerials.last + 1;
    return g_runSerials.last;
}

// The folder a run starts in: its working folder, or else the program's current one.
PathText FolderOfRun(const PathText& folder) {
    if (folder.text[0] != '\0') return folder;
    PathText current;
    if (GetCurrentDirectoryA(sizeof current.text, current.text) >= sizeof current.text) current.text[0] = '\0';
    return current;
}

// A run that never started: its console goes, its reserved log name is given back, and the error shows.
void AbandonRun(bool capture, const char* logFile, unsigned long error) {
    if (capture) ReleaseCaptureConsole();
    ReleaseLogFileName(logFile);
    SystemErrorBox(error);
}

}  // namespace

RunResult RunButtonCommand(int index) {
    RunResult result;
    if (index < 0 || index >= kButtonCount) return result;
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
    const LongNames longNames = button.useLongNames != 0 ? LongNames::kYes : LongNames::kNo;
    if (!ExpandPlaceholders(button.options, longNames, options, sizeof options)) return result;
    if (!ExpandPlaceholders(button.command, longNames, command, sizeof command)) return result;

    bool logged = IsLogged(logMode);
    char logFile[kLogFileNameSize] = "";
    if (logged) {
        CopyText(logFile, NewLogFileName());
        // Without a log file name the wrapper would take the command for it: run without the wrapper.
        if (logFile[0] == '\0') logged = false;
    }

    if (button.editCommandLine) {
        EditCommandDialog edit;
        edit.command = command;
        edit.options = options;
        edit.optionsRoom = sizeof options;
        if (!RunModalDialog(g_app.mainWindow, edit)) {
            ReleaseLogFileName(logFile);
            return result;
        }
    }

    // CreateProcessA may write into the line it is given.
    CommandLine line = ComposeCommandLine(logged, FieldText(g_paths.logWrapperPath), FieldText(logFile),
                                          FieldText(command), FieldText(options));
    const PathText folder =
        WorkingFolder(FieldText(button.directory), FieldText(g_paths.defaultFolder), FieldText(g_paths.mainFile));
    const bool inherit = IsLogged(logMode);
    const bool watched = IsLogged(logMode) && !waiting;

    if (capture) OpenCaptureConsole(consoleTitle);
    PROCESS_INFORMATION process;
    bool started = StartProcess(line.text, inherit, show, folder, watched, process);
    if (!started && logged) {
        // The wrapper could not be started (it is missing): the command runs without a log. Through the
        // association it would run a program with its own name for its first argument.
        ReleaseLogFileName(logFile);
        logFile[0] = '\0';
        line = ComposeCommandLine(false, "", "", FieldText(command), FieldText(options));
        started = StartProcess(line.text, inherit, show, folder, watched, process);
    }
    if (!started) {
        const DWORD startError = GetLastError();
        char document[kExpandedCommandSize];
        CopyText(document, AssociationDocument(FieldText(command)));
        char program[MAX_PATH] = "";
        const INT_PTR found = reinterpret_cast<INT_PTR>(FindExecutableA(document, nullptr, program));
        if (found <= 32) {
            AbandonRun(capture, logFile, static_cast<unsigned long>(found));
            return result;
        }
        // A program the search left out on purpose is not started by the back door.
        if (IsProgramItself(FieldText(document), FieldText(program))) {
            AbandonRun(capture, logFile, startError);
            return result;
        }
        line = ComposeAssociationLine(FieldText(program), FieldText(document), FieldText(options));
        if (!StartProcess(line.text, inherit, show, folder, watched, process)) {
            AbandonRun(capture, logFile, GetLastError());
            return result;
        }
        // The associated program runs without the wrapper, so nothing will write the reserved log.
        ReleaseLogFileName(logFile);
    }
    const HANDLE job = watched ? StartInJob(process.hProcess, process.hThread) : nullptr;
    CloseHandle(process.hThread);

    HWND focus = nullptr;
    if (waiting) {
        focus = GetFocus();
        if (g_app.mainWindow) {
            ShowWindow(g_app.mainWindow, SW_MINIMIZE);
            UpdateWindow(g_app.mainWindow);
        }
        WaitForSingleObject(process.hProcess, INFINITE);
    } else if (watched) {
        const PathText runFolder = FolderOfRun(folder);
        WatchedRunInfo info;
        info.logMode = logMode;
        info.logFile = logFile;
        info.folder = runFolder.text;
        info.mainFile = g_paths.mainFile;
        result.serial = NextRunSerial();
        info.tag = MAKEWPARAM(index, result.serial);
        result.outcome = WatchRun(process.hProcess, job, info) ? RunOutcome::kFollowed : RunOutcome::kLetGo;
        return result;
    } else {
        CloseHandle(process.hProcess);
        result.outcome = RunOutcome::kLetGo;
        return result;
    }

    if (capture) CloseCaptureConsole();
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = kStoppedExitCode;
    if (IsLogged(logMode)) {
        SummarizeLogErrors(logFile, FolderOfRun(folder).text, g_paths.mainFile);
        ShowLog(process.hProcess, logMode, logFile);
    }
    CloseHandle(process.hProcess);
    result.outcome = RunOutcome::kEnded;
    result.exitCode = exitCode;

    if (g_app.mainWindow) ShowWindow(g_app.mainWindow, SW_SHOWNORMAL);
    if (focus) SetFocus(focus);
    return result;
}
