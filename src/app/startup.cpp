// Start-up: the command line, the settings file, window classes and the button bar's run.
#include "app/startup.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/button_bar.h"
#include "app/command_line.h"
#include "app/hint_window.h"
#include "app/shutdown.h"
#include "base/ansi_file_name.h"
#include "base/app_handles.h"
#include "base/bounded_text.h"
#include "base/growing_read.h"
#include "base/message_boxes.h"
#include "base/res_strings.h"
#include "config/button_icons.h"
#include "exec/launch.h"
#include "res/resource.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"

namespace {
// The longest command line Windows passes to a program, with its NUL.
constexpr std::size_t kCommandLineRoom = 32768;

// A main file whose letters the ANSI line could not carry arrives with "?" in their place. The same
// argument of the wide line then gives its short form, which opens the file; without one the user is
// told and the bar opens as if no main file had been given. True when the short form was taken.
bool TakeWideMainFile(const StartupArguments& arguments, wchar_t* wideArguments) {
    if (!wideArguments || arguments.mainFile[0] == '\0') return false;
    const wchar_t* wide = ArgumentAt(wideArguments, arguments.mainFileArgument);
    if (!wide) return false;
    // Only the same argument will do: the system's own conversion of it is the ANSI text. A longer
    // one was cut in the ANSI line and stays as it is.
    char asGiven[MAX_PATH];
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, asGiven, sizeof asGiven, nullptr, nullptr) == 0 ||
        std::strcmp(asGiven, arguments.mainFile) != 0) {
        return false;
    }
    char name[MAX_PATH];
    switch (AnsiFileName(wide, name, sizeof name)) {
    case AnsiName::kExact:
        return false;
    case AnsiName::kShortForm:
        CopyText(g_paths.mainFile, name);
        return true;
    case AnsiName::kNone:
        break;
    }
    FileNameErrorBox(wide);
    g_paths.mainFile[0] = '\0';
    return false;
}
}  // namespace

bool SettleStartupPaths(char* commandLine, wchar_t* wideArguments) {
    StartupArguments arguments;
    ScanCommandLine(commandLine, arguments);
    if (arguments.settingsFileTooLong) return false;
    CopyText(g_paths.settingsFile, arguments.settingsFile);
    CopyText(g_paths.defaultFolder, arguments.defaultFolder);
    CopyText(g_paths.mainFile, arguments.mainFile);
    const bool shortForm = TakeWideMainFile(arguments, wideArguments);
    if (g_paths.settingsFile[0] == '\0') {
        std::string value;
        const bool set = ReadGrowing(value, kPathSize, [](char* buffer, DWORD size) {
            return GetEnvironmentVariableA("Brisolt", buffer, size);
        });
        if (set && !CopyText(g_paths.settingsFile, value)) return false;
    }
    if (g_paths.settingsFile[0] == '\0') {
        CopyText(g_paths.settingsFile, ResStr(IDS_DEFAULT_SETTINGS_FILE).text);
        SettleDefaultSettingsFile(g_paths.settingsFile);
    }
    // The long form of a short form taken for its letters would bring the "?" back.
    if (g_paths.mainFile[0] != '\0' && !shortForm) {
        char longName[MAX_PATH];
        const DWORD length = GetLongPathNameA(g_paths.mainFile, longName, sizeof longName);
        if (length > 0 && length < sizeof longName) CopyText(g_paths.mainFile, longName);
    }
    return true;
}

void InitModulePaths() {
    char modulePath[MAX_PATH] = "";
    GetModuleFileNameA(g_app.appInstance, modulePath, sizeof modulePath);
    modulePath[sizeof modulePath - 1] = '\0';
    char base[MAX_PATH];
    SplitExtension(modulePath, base, sizeof base, nullptr, 0);
    CopyText(g_app.helpFile, base);
    AppendText(g_app.helpFile, ".chm");

    CopyText(g_paths.logWrapperPath, base);
    ReplaceFileName(g_paths.logWrapperPath, sizeof g_paths.logWrapperPath, "corvane.exe");
    char shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameA(g_paths.logWrapperPath, shortPath, sizeof shortPath);
    if (length > 0 && length < sizeof shortPath) CopyText(g_paths.logWrapperPath, shortPath);
}

bool RegisterWindowClasses() {
    WNDCLASSEXA record = {};
    record.cbSize = sizeof record;
    record.style = CS_VREDRAW | CS_HREDRAW | CS_SAVEBITS;
    record.lpfnWndProc = HintWindowProc;
    record.hInstance = g_app.appInstance;
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    record.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1));
    const ResText className = ResStr(IDS_HINT_CLASS);
    record.lpszClassName = className.text;
    if (!RegisterClassExA(&record)) return false;

    // A process-local "Button" class: every button of the program's own dialogs comes from it, so the
    // bar buttons can have their context menu while all other buttons behave as the system's.
    record = {};
    record.cbSize = sizeof record;
    if (!GetClassInfoExA(nullptr, "Button", &record)) return false;
    record.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    g_buttonClass.systemButtonProc = record.lpfnWndProc;
    record.lpfnWndProc = BarButtonProc;
    record.hInstance = g_app.appInstance;
    record.lpszClassName = "Button";
    return RegisterClassExA(&record) != 0;
}

int RunBrisolt(HINSTANCE instance, const char* commandLine) {
    g_app.appInstance = instance;
    // The scan writes into the text, so it works on a copy of its own.
    char lineCopy[kCommandLineRoom];
    CopyText(lineCopy, commandLine ? commandLine : "");
    const wchar_t* wideLine = GetCommandLineW();
    const int wideRoom = wideLine ? lstrlenW(wideLine) + 1 : 1;
    std::unique_ptr<wchar_t[]> wideCopy(new wchar_t[static_cast<std::size_t>(wideRoom)]);
    lstrcpynW(wideCopy.get(), wideLine ? wideLine : L"", wideRoom);
    if (!SettleStartupPaths(lineCopy, SkipProgramName(wideCopy.get()))) FatalErrorBox(IDS_SETTINGS_NAME_TOO_LONG);

    if (!RegisterWindowClasses()) FatalErrorBox(IDS_NO_WINDOW);
    InitModulePaths();
    ReadSettings();
    LoadAllButtonIcons();
    InitCommonControls();
    if (RunButtonBar() == -1) FatalErrorBox(IDS_NO_WINDOW);

    SaveOnExit();
    const LONG count = g_runs.childCount;
    if (count != 0) ExitProcess(static_cast<UINT>(count));
    return 0;
}
