// The program's life: the command line, the settings file, window classes, the button bar's run and what
// is saved when it has closed.
#include "app/startup.h"

#include <commctrl.h>

#include <cstring>

#include "app/button_bar.h"
#include "app/command_line.h"
#include "app/hint_window.h"
#include "base/ansi_file_name.h"
#include "base/handles.h"
#include "base/heap_array.h"
#include "base/bounded_text.h"
#include "base/messages.h"
#include "config/button_icons.h"
#include "exec/watched_runs.h"
#include "exec/logs.h"
#include "exec/run_rules.h"
#include "settings/main_file.h"
#include "res/resource.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"

namespace {
// The longest command line Windows passes to a program, with its NUL.
constexpr std::size_t kCommandLineRoom = 32768;

// Whether the file a name names may not exist yet (a settings file still to be made).
enum class NameOf { kExistingFile, kFileToBe };

// How a name that also came in wide text was taken.
enum class WideName {
    kAsGiven,    // the ANSI text is the name
    kShortForm,  // the ANSI text lost letters or room: the short form stands in
    kRefused,    // no ANSI name reaches it; the user has been told
};

// Argument `number` of the wide arguments, copied, when it is the argument the ANSI line gave as
// `given`: the system's own conversion of it is that text, or begins with it where the ANSI field was
// too small. Null otherwise.
HeapArray<wchar_t> WideArgument(const wchar_t* wideArguments, int number, const char* given) {
    if (wideArguments == nullptr || number < 0) return HeapArray<wchar_t>();
    const std::size_t room = static_cast<std::size_t>(lstrlenW(wideArguments)) + 1;
    HeapArray<wchar_t> copy(room);
    if (!copy) return copy;
    lstrcpynW(copy.get(), wideArguments, static_cast<int>(room));
    const wchar_t* wide = ArgumentAt(copy.get(), number);
    if (wide == nullptr) return HeapArray<wchar_t>();
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    const HeapArray<char> asGiven(size > 0 ? static_cast<std::size_t>(size) : 1);
    if (size <= 0 || !asGiven) return HeapArray<wchar_t>();
    WideCharToMultiByte(CP_ACP, 0, wide, -1, asGiven.get(), size, nullptr, nullptr);
    const std::size_t length = std::strlen(given);
    const bool same = std::strcmp(asGiven.get(), given) == 0 ||
                      (length == kPathSize - 1 && std::strncmp(asGiven.get(), given, length) == 0);
    if (!same) return HeapArray<wchar_t>();
    // The argument moves to the front of the copy, which holds it.
    MoveMemory(copy.get(), wide, (static_cast<std::size_t>(lstrlenW(wide)) + 1) * sizeof(wchar_t));
    return copy;
}

// A name whose letters the ANSI text could not carry arrives with "?" in their place, and one that needs
// more bytes than a path field has arrives cut: the wide text then gives its short form, which opens the
// file (for a file still to be made, the short form of its folder). `target` holds the ANSI text.
WideName TakeWideName(const wchar_t* wide, char (&target)[kPathSize], NameOf kind) {
    // A name of a path's length in letters is too long in any code page: it is left as the ANSI text
    // has it.
    if (wide == nullptr || lstrlenW(wide) >= static_cast<int>(kPathSize)) return WideName::kAsGiven;
    char name[kPathSize];
    switch (kind == NameOf::kFileToBe ? AnsiNewFileName(wide, name, sizeof name) : AnsiFileName(wide, name, sizeof name)) {
    case AnsiName::kExact:
        return WideName::kAsGiven;
    case AnsiName::kShortForm:
        CopyText(target, FieldText(name));
        return WideName::kShortForm;
    case AnsiName::kNone:
        break;
    }
    FileNameErrorBox(wide);
    target[0] = '\0';
    return WideName::kRefused;
}

WideName TakeWideArgument(const wchar_t* wideArguments, int number, char (&target)[kPathSize], NameOf kind) {
    return TakeWideName(WideArgument(wideArguments, number, target).get(), target, kind);
}

// The "Brisolt" variable, read wide so that a name of any script reaches the settings file.
SettleResult TakeSettingsVariable() {
    const DWORD size = GetEnvironmentVariableW(L"Brisolt", nullptr, 0);
    if (size == 0) return SettleResult::kSettled;
    const HeapArray<wchar_t> value(size);
    if (!value || GetEnvironmentVariableW(L"Brisolt", value.get(), size) != size - 1 || value[0] == L'\0')
        return SettleResult::kSettled;
    // A cut name would be another file.
    if (lstrlenW(value.get()) >= static_cast<int>(kPathSize)) return SettleResult::kNameTooLong;
    switch (AnsiNewFileName(value.get(), g_paths.settingsFile, sizeof g_paths.settingsFile)) {
    case AnsiName::kExact:
    case AnsiName::kShortForm:
        return SettleResult::kSettled;
    case AnsiName::kNone:
        break;
    }
    FileNameErrorBox(value.get());
    return SettleResult::kNameRefused;
}
}  // namespace

SettleResult SettleStartupPaths(char* commandLine, wchar_t* wideArguments) {
    StartupArguments arguments;
    ScanCommandLine(commandLine, arguments);
    CopyText(g_paths.settingsFile, arguments.settingsFile);
    CopyText(g_paths.defaultFolder, arguments.defaultFolder);
    CopyText(g_paths.mainFile, arguments.mainFile);
    switch (TakeWideArgument(wideArguments, arguments.settingsFileArgument, g_paths.settingsFile, NameOf::kFileToBe)) {
    case WideName::kAsGiven:
        if (arguments.settingsFileTooLong) return SettleResult::kNameTooLong;
        break;
    case WideName::kShortForm:
        break;
    case WideName::kRefused:
        return SettleResult::kNameRefused;
    }
    TakeWideArgument(wideArguments, arguments.defaultFolderArgument, g_paths.defaultFolder, NameOf::kExistingFile);
    const bool shortForm =
        TakeWideArgument(wideArguments, arguments.mainFileArgument, g_paths.mainFile, NameOf::kExistingFile) ==
        WideName::kShortForm;
    if (g_paths.settingsFile[0] == '\0') {
        const SettleResult variable = TakeSettingsVariable();
        if (variable != SettleResult::kSettled) return variable;
    }
    if (g_paths.settingsFile[0] == '\0') {
        CopyText(g_paths.settingsFile, ResStr(IDS_DEFAULT_SETTINGS_FILE).text);
        SettleDefaultSettingsFile(g_paths.settingsFile, SystemSettingsFolders());
    }
    // The long form of a short form taken for its letters would bring the "?" back.
    if (g_paths.mainFile[0] != '\0' && !shortForm) {
        char longName[MAX_PATH];
        const DWORD length = GetLongPathNameA(g_paths.mainFile, longName, sizeof longName);
        if (length > 0 && length < sizeof longName) CopyText(g_paths.mainFile, longName);
    }
    return SettleResult::kSettled;
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

void SaveOnExit() {
    FinishShellRecent();
    WriteOptionString(IDS_KEY_LAST_FILE, g_paths.mainFile);
    if (g_paths.mainFile[0] != '\0') WriteOptionString(IDS_KEY_LAST_DIR, g_paths.defaultFolder);
    DeleteLogFiles();
}

int RunBrisolt(HINSTANCE instance, const char* commandLine) {
    g_app.appInstance = instance;
    // The scan writes into the text, so it works on a copy of its own.
    char lineCopy[kCommandLineRoom];
    CopyText(lineCopy, commandLine ? commandLine : "");
    const wchar_t* wideLine = GetCommandLineW();
    const int wideRoom = wideLine ? lstrlenW(wideLine) + 1 : 1;
    const HeapArray<wchar_t> wideCopy(static_cast<std::size_t>(wideRoom));
    if (wideCopy) lstrcpynW(wideCopy.get(), wideLine ? wideLine : L"", wideRoom);
    switch (SettleStartupPaths(lineCopy, wideCopy ? SkipProgramName(wideCopy.get()) : nullptr)) {
    case SettleResult::kSettled:
        break;
    case SettleResult::kNameTooLong:
        FatalErrorBox(IDS_SETTINGS_NAME_TOO_LONG);
    case SettleResult::kNameRefused:
        return 1;
    }

    if (!RegisterWindowClasses()) FatalErrorBox(IDS_NO_WINDOW);
    InitModulePaths();
    ReadSettings();
    LoadAllButtonIcons();
    InitCommonControls();
    if (RunButtonBar() == -1) FatalErrorBox(IDS_NO_WINDOW);

    SaveOnExit();
    const int count = WatchedRunCount();
    if (count != 0) ExitProcess(static_cast<UINT>(count));
    return 0;
}
