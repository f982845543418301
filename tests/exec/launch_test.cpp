// Runs real buttons under Wine: command lines, working folders, the association path, error boxes, logs,
// waiting and capture, watched children, and the clean-up at exit.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/handles.h"
#include "exec/launch.h"
#include "exec/watched_runs.h"
#include "base/search_order.h"
#include "exec/logs.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "settings/settings_records.h"
#include "support/dialog_watcher.h"
#include "support/environment.h"
#include "support/find_window.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/wait.h"
#include "support/window_text.h"

namespace {

// ---- Files and folders -------------------------------------------------------------------------------------------

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// ---- The process-wide scene: a real top-level window as the button bar, its own temporary path ------------------

struct Scene {
    std::string temp;  // what GetTempPathA gives the code under test, with its backslash
    std::string work;  // the tests' own files
    HWND bar = nullptr;
    HWND barEdit = nullptr;
    HWND otherEdit = nullptr;
};
Scene g_scene;

class LaunchEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        g_app.appInstance = GetModuleHandleA(nullptr);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        // A scenario child already has its temporary path from its parent.
        if (GetEnvironmentVariableA("BRISOLT_LAUNCH_SCENARIO", nullptr, 0) == 0) {
            ownTemp_ = std::make_unique<TempFolder>("brl");
            const std::string own = ShortPath(ownTemp_->path()) + "\\";
            SetEnvironmentVariableA("TMP", own.c_str());
            SetEnvironmentVariableA("TEMP", own.c_str());
            GetTempPathA(MAX_PATH, temp);
        }
        g_scene.temp = temp;
        g_scene.work = MakeFolder(std::string(temp) + "work") + "\\";
        CopyText(g_paths.logWrapperPath, ShortPath(ExeFolder() + "corvane.exe"));
        // Children inherit our standard handles; their pass-through output is not the test's.
        HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
        SetStdHandle(STD_OUTPUT_HANDLE, nul);
        SetStdHandle(STD_ERROR_HANDLE, nul);

        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = g_app.appInstance;
        windowClass.lpszClassName = "LaunchTestBar";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&windowClass);
        g_scene.bar = CreateWindowExA(0, "LaunchTestBar", "Launch test bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                      300, 120, nullptr, nullptr, g_app.appInstance, nullptr);
        g_scene.barEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 120, 20, g_scene.bar,
                                          nullptr, g_app.appInstance, nullptr);
        g_scene.otherEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 140, 10, 120, 20,
                                            g_scene.bar, nullptr, g_app.appInstance, nullptr);
        g_app.mainWindow = g_scene.bar;
        UpdateWindow(g_scene.bar);
    }

    void TearDown() override {
        if (g_scene.bar) DestroyWindow(g_scene.bar);
        ownTemp_.reset();
    }

private:
    std::unique_ptr<TempFolder> ownTemp_;
};

const ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new LaunchEnvironment);

// ---- Windows of this and other processes -------------------------------------------------------------------------

// The shell's viewer showing a log: a window whose title names the log file. Closes it when found.
bool LogViewerOpened(const std::string& logFile, DWORD timeoutMs) {
    std::string base = logFile.substr(logFile.find_last_of('\\') + 1);
    base = Lower(base.substr(0, base.find('.')));
    HWND viewer = nullptr;
    WaitFor(
        [&] {
            viewer = FindTopLevel([&](HWND window) {
                return window != g_scene.bar && Lower(WindowTitle(window)).find(base + ".") != std::string::npos;
            });
            return viewer != nullptr;
        },
        timeoutMs);
    if (viewer) {
        PostMessageA(viewer, WM_CLOSE, 0, 0);
        WaitFor([&] { return !IsWindow(viewer); }, 10000);
    }
    return viewer != nullptr;
}

// ---- Buttons -----------------------------------------------------------------------------------------------------

constexpr int kButton = 7;

ButtonDef& FreshButton(const std::string& command, const std::string& options, int log, int wait, int show = 0) {
    ButtonDef& button = g_settings.buttons[kButton];
    button = ButtonDef{};
    button.type = kTypeExecute;
    CopyText(button.command, command);
    CopyText(button.options, options);
    button.log = static_cast<signed char>(log);
    button.wait = wait;
    button.show = static_cast<signed char>(show);
    button.useLongNames = 1;
    return button;
}

void SetPaths(const std::string& mainFile, const std::string& defaultFolder) {
    CopyText(g_paths.mainFile, mainFile);
    CopyText(g_paths.defaultFolder, defaultFolder);
}

// The name the next logged run takes: the first free number in the temporary folder.
std::string NextLogFile() {
    const std::string folder = LogFolder();
    for (unsigned n = 1;; ++n) {
        const std::string name = folder + "\\log" + std::to_string(n) + ".txt";
        if (!Exists(name)) return name;
    }
}

bool CorvaneBuilt() { return Exists(ExeFolder() + "corvane.exe"); }

#define REQUIRE_CORVANE() \
    if (!CorvaneBuilt()) GTEST_SKIP() << "corvane.exe is not built beside the test"

// Makes sure the temporary folder exists (a first logged name, given back at once).
void EnsureLogFolder() {
    if (LogFolder()[0] == '\0') ReleaseLogFileName(NewLogFileName());
}

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPaths("", "");
        CopyText(g_paths.logWrapperPath, ShortPath(ExeFolder() + "corvane.exe"));
        ShowWindow(g_scene.bar, SW_SHOWNORMAL);
        PumpMessages();
    }
    void TearDown() override {
        EXPECT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 30000)) << "children still watched";
        PumpMessages();
    }
    std::string Folder(const std::string& name) { return MakeFolder(g_scene.work + name); }
};

// ---- Command lines -----------------------------------------------------------------------------------------------

struct LineCase {
    const char* name;
    const char* command;  // {out} stands for the file the fixture writes its command line into
    const char* options;
    const char* expectedTail;  // what follows the program's name on the child's command line
};

std::string Fill(std::string text, const std::string& out) {
    const std::size_t at = text.find("{out}");
    if (at != std::string::npos) text.replace(at, 5, out);
    return text;
}

TEST_F(LaunchTest, CommandLineOfEachCombinationReachesTheChild) {
    const LineCase cases[] = {
        {"command and options", "fixture_sleeper.exe", "--cmdline {out} a  b", " --cmdline {out} a  b"},
        {"empty options", "fixture_sleeper.exe --cmdline {out}", "", " --cmdline {out}"},
        {"empty command", "", "fixture_sleeper.exe --cmdline {out} c", " --cmdline {out} c"},
    };
    const std::string folder = Folder("lines");
    int n = 0;
    for (const LineCase& c : cases) {
        for (int log : {kLogNever, kLogOnError}) {
            if (log != kLogNever && !CorvaneBuilt()) continue;
            const std::string out = "line" + std::to_string(++n) + ".txt";
            ButtonDef& button = FreshButton(Fill(c.command, out), Fill(c.options, out), log, 1);
            CopyText(button.directory, folder);
            RunButtonCommand(kButton);
            const std::string seen = ReadWhole(folder + "\\" + out);
            EXPECT_EQ(seen, "fixture_sleeper.exe" + Fill(c.expectedTail, out)) << c.name << ", log " << log;
        }
    }
}

TEST_F(LaunchTest, OptionsAreExpandedForTheMainFile) {
    const std::string folder = Folder("expand");
    SetPaths(folder + "\\chapter1.tex", "");
    FreshButton("cmd", "/c echo %@n%> out.txt", kLogNever, 1);
    RunButtonCommand(kButton);
    EXPECT_EQ(Trimmed(ReadWhole(folder + "\\out.txt")), "chapter1");
}

// ---- Working folder ----------------------------------------------------------------------------------------------

TEST_F(LaunchTest, WorkingFolderFirstMatchWins) {
    const std::string a = Folder("wa"), b = Folder("wb"), c = Folder("wc"), d = Folder("wd");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(d.c_str());
    struct Case {
        const char* name;
        std::string directory, defaultFolder, mainFile, expected;
    } cases[] = {
        {"button folder", a, b, c + "\\main.tex", a},
        {"default folder", "", b, c + "\\main.tex", b},
        {"main file's folder", "", "", c + "\\main.tex", c},
        {"bare main file inherits", "", "", "main.tex", d},
        {"no main file inherits", "", "", "", d},
    };
    for (const Case& k : cases) {
        SetPaths(k.mainFile, k.defaultFolder);
        ButtonDef& button = FreshButton("cmd", "/c cd > wf.txt", kLogNever, 1);
        CopyText(button.directory, k.directory);
        DeleteFileA((k.expected + "\\wf.txt").c_str());
        RunButtonCommand(kButton);
        EXPECT_EQ(Lower(LongPath(Trimmed(ReadWhole(k.expected + "\\wf.txt")))), Lower(LongPath(k.expected))) << k.name;
    }
    SetCurrentDirectoryA(previous);
}

TEST_F(LaunchTest, MainFileInARootFolderStartsInTheRoot) {
    SetPaths("C:\\main.tex", "");
    FreshButton("cmd", "/c cd > brl_root_wf.txt", kLogNever, 1);
    RunButtonCommand(kButton);
    EXPECT_EQ(Trimmed(ReadWhole("C:\\brl_root_wf.txt")), "C:\\");
    DeleteFileA("C:\\brl_root_wf.txt");
}

// ---- The association path ----------------------------------------------------------------------------------------

bool RegisterDocumentType() {
    const std::string program = ExeFolder() + "fixture_sleeper.exe";
    const std::string open = "\"" + program + "\" \"%1\"";
    return RegSetValueA(HKEY_CLASSES_ROOT, ".brisoltdoc", REG_SZ, "BrisoltLaunchTest.Document", 0) == ERROR_SUCCESS &&
           RegSetValueA(HKEY_CLASSES_ROOT, "BrisoltLaunchTest.Document\\shell\\open\\command", REG_SZ, open.c_str(),
                        0) == ERROR_SUCCESS;
}

TEST_F(LaunchTest, DocumentCommandStartsTheAssociatedProgram) {
    ASSERT_TRUE(RegisterDocumentType());
    const std::string folder = Folder("assoc");
    const std::string document = folder + "\\paper.brisoltdoc";
    WriteWhole(document, "a document\r\n");
    SetPaths(folder + "\\paper.tex", "");
    FreshButton("%@dpn%.brisoltdoc", "-x 1", kLogNever, 1);
    RunButtonCommand(kButton);
    const std::string seen = ReadWhole(document + ".seen");
    ASSERT_FALSE(seen.empty()) << "the associated program did not run";
    const std::string tail = " " + document + " -x 1";
    ASSERT_GT(seen.size(), tail.size());
    EXPECT_EQ(seen.substr(seen.size() - tail.size()), tail);
    EXPECT_EQ(Lower(LongPath(Trimmed(seen.substr(0, seen.size() - tail.size())))),
              Lower(LongPath(ExeFolder() + "fixture_sleeper.exe")));
}

TEST_F(LaunchTest, LoggedDocumentCommandGoesThroughTheWrapperInstead) {
    REQUIRE_CORVANE();
    ASSERT_TRUE(RegisterDocumentType());
    const std::string folder = Folder("assoclog");
    const std::string document = folder + "\\paper.brisoltdoc";
    WriteWhole(document, "a document\r\n");
    SetPaths(folder + "\\paper.tex", "");
    EnsureLogFolder();
    const std::string log = NextLogFile();
    FreshButton("%@dpn%.brisoltdoc", "", 7, 1);  // logged, never shown
    RunButtonCommand(kButton);
    EXPECT_FALSE(Exists(document + ".seen"));
    EXPECT_FALSE(ReadWhole(log).empty()) << "the wrapper wrote no log";
}

TEST_F(LaunchTest, ADocumentInAFolderWithBlanksReachesItsProgramWhole) {
    ASSERT_TRUE(RegisterDocumentType());
    DialogWatcher errors({"Error in Brisolt"}, IDOK);
    const std::string folder = Folder("OneDrive - Uni");
    const std::string document = folder + "\\my paper.brisoltdoc";
    WriteWhole(document, "a document\r\n");
    SetPaths(folder + "\\my paper.tex", "");
    for (const char* command : {"%@dpn%.brisoltdoc", "\"%@dpn%.brisoltdoc\""}) {
        DeleteFileA((document + ".seen").c_str());
        FreshButton(command, "-x 1", kLogNever, 1);
        RunButtonCommand(kButton);
        const std::string seen = ReadWhole(document + ".seen");
        EXPECT_NE(seen.find(" \"" + document + "\" -x 1"), std::string::npos) << command << ": " << seen;
    }
    EXPECT_EQ(errors.answered(), 0);
}

// A program named without a folder is the one on the path, never one of the same name in the document's
// folder or the current folder; one named with its folder runs from there. The variable that keeps the
// search so stays out of the program's environment.
TEST_F(LaunchTest, ABareProgramNameIsNeverTheOneBesideTheDocument) {
    REQUIRE_CORVANE();
    KeepCurrentFolderOutOfProgramSearch();  // as the entry point does
    const std::string paper = Folder("planted"), tools = Folder("tools");
    for (const std::string& folder : {paper, tools}) {
        ASSERT_TRUE(CopyFileA((ExeFolder() + "fixture_sleeper.exe").c_str(), (folder + "\\brisolt_probe.exe").c_str(),
                              FALSE));
    }
    char path[4096] = "";
    GetEnvironmentVariableA("PATH", path, sizeof path);
    const ScopedVariable searched("PATH", (tools + ";" + path).c_str());
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(paper.c_str());
    SetPaths(paper + "\\paper.tex", "");
    const std::string where = paper + "\\where.txt";
    const struct {
        const char* command;
        int log;
        std::string ran;
    } cases[] = {
        {"brisolt_probe", kLogNever, tools},
        {"brisolt_probe", kLogOnError, tools},
        {"brisolt_probe.exe", kLogNever, tools},
        {".\\brisolt_probe", kLogNever, paper},
        {".\\brisolt_probe", kLogOnError, paper},
    };
    for (const auto& c : cases) {
        DeleteFileA(where.c_str());
        FreshButton(c.command, "--where where.txt", c.log, 1);
        RunButtonCommand(kButton);
        const std::string seen = ReadWhole(where);
        const std::size_t comma = std::min(seen.find(','), seen.size());
        EXPECT_EQ(Lower(LongPath(seen.substr(0, comma))), Lower(LongPath(c.ran + "\\brisolt_probe.exe")))
            << c.command << ", log " << c.log;
        EXPECT_EQ(seen.substr(comma), ", variable not set\r\n") << c.command << ", log " << c.log;
    }
    // Nor does the shell's look-up of a document start it instead.
    ASSERT_TRUE(MoveFileA((paper + "\\brisolt_probe.exe").c_str(), (paper + "\\brisolt_planted.exe").c_str()));
    DeleteFileA(where.c_str());
    DialogWatcher error({"Error in Brisolt"}, IDOK);
    FreshButton("brisolt_planted", "--where where.txt", kLogNever, 1);
    RunButtonCommand(kButton);
    EXPECT_TRUE(error.Wait(10000));
    EXPECT_FALSE(Exists(where));
    SetCurrentDirectoryA(previous);
}

// ---- Error boxes -------------------------------------------------------------------------------------------------

TEST_F(LaunchTest, NothingToRunShowsTheErrorBox) {
    DialogWatcher watcher({"Error in Brisolt", "Fatal Error in Brisolt"}, IDOK);
    FreshButton("", "", kLogNever, 0);
    RunButtonCommand(kButton);
    EXPECT_TRUE(watcher.Wait(30000));
    EXPECT_EQ(watcher.title(), "Error in Brisolt");
    EXPECT_FALSE(watcher.text().empty());
}

TEST_F(LaunchTest, MissingFolderShowsTheErrorBox) {
    DialogWatcher watcher({"Error in Brisolt", "Fatal Error in Brisolt"}, IDOK);
    ButtonDef& button = FreshButton("cmd", "/c exit 0", kLogNever, 0);
    CopyText(button.directory, g_scene.work + "no such folder");
    RunButtonCommand(kButton);
    EXPECT_TRUE(watcher.Wait(30000));
    EXPECT_EQ(watcher.title(), "Error in Brisolt");
}

TEST_F(LaunchTest, MissingFolderWhileLoggedGivesItsLogNameBack) {
    REQUIRE_CORVANE();
    EnsureLogFolder();
    const std::string log = NextLogFile();
    DialogWatcher watcher({"Error in Brisolt"}, IDOK);
    ButtonDef& button = FreshButton("cmd", "/c exit 0", kLogOnError, 0);
    CopyText(button.directory, g_scene.work + "no such folder");
    RunButtonCommand(kButton);
    EXPECT_TRUE(watcher.Wait(30000));
    EXPECT_FALSE(Exists(log)) << "a run that never started left its log behind";
    EXPECT_EQ(NextLogFile(), log);
}

// ---- Edit dialog -------------------------------------------------------------------------------------------------

// Watches for the edit dialog, reads its two fields, sets the options and presses a button.
struct EditDialogSeen {
    std::string command, options;
    bool seen = false;
};

DialogWatcher::Answer AnswerEditDialog(EditDialogSeen& seen, const std::string& newOptions, int command) {
    return [&seen, newOptions, command](HWND dialog) {
        seen.command = WindowText(GetDlgItem(dialog, IDC_EDIT_COMMAND));
        seen.options = WindowText(GetDlgItem(dialog, IDC_EDIT_OPTIONS));
        seen.seen = true;
        SetDlgItemTextA(dialog, IDC_EDIT_OPTIONS, newOptions.c_str());
        PressButton(dialog, command);
    };
}

TEST_F(LaunchTest, EditDialogShowsTheCommandWithoutLogPrefixAndTakesNewOptions) {
    REQUIRE_CORVANE();
    const std::string folder = Folder("edit");
    ButtonDef& button = FreshButton("fixture_sleeper.exe", "--cmdline first.txt", kLogOnError, 1);
    button.editCommandLine = 1;
    CopyText(button.directory, folder);
    EditDialogSeen seen;
    DialogWatcher answer({"Brisolt will execute"}, AnswerEditDialog(seen, "--cmdline edited.txt z", IDOK));
    RunButtonCommand(kButton);
    answer.Stop();
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.command, "fixture_sleeper.exe");
    EXPECT_EQ(seen.options, "--cmdline first.txt");
    EXPECT_FALSE(Exists(folder + "\\first.txt"));
    EXPECT_EQ(ReadWhole(folder + "\\edited.txt"), "fixture_sleeper.exe --cmdline edited.txt z");
}

TEST_F(LaunchTest, EditDialogClearedOptionsRunTheCommandAlone) {
    const std::string folder = Folder("editclear");
    ButtonDef& button = FreshButton("cmd /c cd > alone.txt", "& echo options>> alone.txt", kLogNever, 1);
    button.editCommandLine = 1;
    CopyText(button.directory, folder);
    EditDialogSeen seen;
    DialogWatcher answer({"Brisolt will execute"}, AnswerEditDialog(seen, "", IDOK));
    RunButtonCommand(kButton);
    answer.Stop();
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(ReadWhole(folder + "\\alone.txt").find("options"), std::string::npos);
    EXPECT_TRUE(Exists(folder + "\\alone.txt"));
}

TEST_F(LaunchTest, EditDialogCancelStartsNothingAndGivesTheLogNameBack) {
    REQUIRE_CORVANE();
    EnsureLogFolder();
    const std::string log = NextLogFile();
    const std::string folder = Folder("editcancel");
    ButtonDef& button = FreshButton("fixture_sleeper.exe", "--cmdline never.txt", kLogAlways, 1);
    button.editCommandLine = 1;
    CopyText(button.directory, folder);
    EditDialogSeen seen;
    DialogWatcher answer({"Brisolt will execute"}, AnswerEditDialog(seen, "--cmdline never.txt", IDCANCEL));
    RunButtonCommand(kButton);
    answer.Stop();
    ASSERT_TRUE(seen.seen);
    Sleep(500);
    EXPECT_FALSE(Exists(folder + "\\never.txt"));
    EXPECT_FALSE(Exists(log));
}

// ---- Logs --------------------------------------------------------------------------------------------------------

TEST_F(LaunchTest, FirstTemporaryFolderIsBrisolt1UnderTheTemporaryPath) {
    EnsureLogFolder();
    EXPECT_EQ(std::string(LogFolder()), g_scene.temp + "Brisolt1");
    DWORD attributes = GetFileAttributesA(LogFolder());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(LaunchTest, LogNamesCountUpAndAreReservedAtOnce) {
    EnsureLogFolder();
    const std::string expected = NextLogFile();
    const std::string first = NewLogFileName();
    const std::string second = NewLogFileName();
    // Once reserved the file exists, so the name comes back in its short form, fit for an unquoted line.
    EXPECT_EQ(first, ShortPath(expected));
    EXPECT_EQ(first.find(' '), std::string::npos);
    const std::size_t at = first.rfind("log");
    const unsigned number = static_cast<unsigned>(std::stoul(first.substr(at + 3)));
    EXPECT_EQ(second, ShortPath(std::string(LogFolder()) + "\\log" + std::to_string(number + 1) + ".txt"));
    // Taken names exist at once, so a second run started before the first writes cannot share one.
    EXPECT_TRUE(Exists(first));
    EXPECT_TRUE(Exists(second));
    ReleaseLogFileName(second.c_str());
    ReleaseLogFileName(first.c_str());
    EXPECT_FALSE(Exists(expected));
    EXPECT_EQ(NextLogFile(), expected);
}

TEST_F(LaunchTest, ReleaseKeepsALogThatWasWritten) {
    EnsureLogFolder();
    const std::string name = NewLogFileName();
    WriteWhole(name, "written\r\n");
    ReleaseLogFileName(name.c_str());
    EXPECT_TRUE(Exists(name));
}

TEST_F(LaunchTest, LogHoldsTheChildsOutputAndExitCode) {
    REQUIRE_CORVANE();
    EnsureLogFolder();
    const std::string log = NextLogFile();
    FreshButton("fixture_sleeper.exe", "0 0 hello-from-the-child", kLogOnError, 1);
    RunButtonCommand(kButton);
    const std::string text = ReadWhole(log);
    EXPECT_NE(text.find("hello-from-the-child"), std::string::npos) << text;
}

struct ShowCase {
    const char* name;
    int log;
    int exitCode;
    int answer;  // the question's answer, 0 when no question is expected
    bool opened;
};

TEST_F(LaunchTest, LogShownByModeAndExitCode) {
    REQUIRE_CORVANE();
    const ShowCase cases[] = {
        {"Always, exit 0", kLogAlways, 0, 0, true},
        {"On error, exit 0", kLogOnError, 0, 0, false},
        {"On error, exit 3", kLogOnError, 3, 0, true},
        {"Ask user, exit 0, yes", kLogAskUser, 0, IDYES, true},
        {"Ask user, exit 3, no", kLogAskUser, 3, IDNO, false},
        {"out of range, exit 3", 9, 3, 0, false},
    };
    EnsureLogFolder();
    for (const ShowCase& c : cases) {
        for (int wait : {1, 0}) {
            const std::string log = NextLogFile();
            DialogWatcher question({"Brisolt"}, c.answer ? c.answer : IDNO, c.answer ? 30000 : 3000);
            FreshButton("cmd", "/c exit " + std::to_string(c.exitCode), c.log, wait);
            RunButtonCommand(kButton);
            const bool seen = question.Wait(c.answer ? 30000 : 3000);
            question.Stop();
            EXPECT_EQ(seen, c.answer != 0) << c.name << ", wait " << wait;
            if (seen) {
                EXPECT_EQ(question.text(), "Show log file?") << c.name;
            }
            EXPECT_EQ(LogViewerOpened(log, c.opened ? 30000 : 3000), c.opened) << c.name << ", wait " << wait << ", " << log;
            EXPECT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 30000));
            EXPECT_TRUE(Exists(log)) << c.name;
        }
    }
}

// ---- Waiting and capture -----------------------------------------------------------------------------------------

// Samples the bar while a run blocks the test's thread.
class BarSampler {
public:
    BarSampler() {
        thread_ = std::thread([this] {
            while (!stop_) {
                if (IsIconic(g_scene.bar)) minimized_ = true;
                Sleep(20);
            }
        });
    }
    bool WasMinimized() {
        stop_ = true;
        thread_.join();
        return minimized_;
    }

private:
    std::atomic<bool> stop_{false}, minimized_{false};
    std::thread thread_;
};

TEST_F(LaunchTest, WaitMinimizesTheBarAndRestoresItWithTheFocus) {
    for (int show : {kShowNormal, kShowInvisible}) {
        SetFocus(g_scene.otherEdit);
        ASSERT_EQ(GetFocus(), g_scene.otherEdit);
        FreshButton("fixture_sleeper.exe", "1500 0", kLogNever, 1, show);
        BarSampler sampler;
        const DWORD start = GetTickCount();
        RunButtonCommand(kButton);
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_TRUE(sampler.WasMinimized()) << "show " << show;
        EXPECT_GE(elapsed, 1400u);
        EXPECT_FALSE(IsIconic(g_scene.bar));
        EXPECT_EQ(GetFocus(), g_scene.otherEdit) << "show " << show;
    }
}

TEST_F(LaunchTest, WithoutWaitTheBarStaysAndTheRunReturnsAtOnce) {
    // A long child and a wide margin: a loaded machine may take a while just to start the process.
    FreshButton("fixture_sleeper.exe", "5000 0", kLogNever, 0);
    BarSampler sampler;
    const DWORD start = GetTickCount();
    RunButtonCommand(kButton);
    EXPECT_LT(GetTickCount() - start, 4000u);
    Sleep(300);
    EXPECT_FALSE(sampler.WasMinimized());
    EXPECT_EQ(WatchedRunCount(), 0) << "an unlogged child is not watched";
}

TEST_F(LaunchTest, CaptureWaitsAndPromptsAfterTheChildEnds) {
    // The program has no console of its own (it is a windowed program); this test program has one.
    FreeConsole();
    const ScopedVariable program("BRL_CAPTURE_PROGRAM", "fixture_sleeper.exe");
    FreshButton("%BRL_CAPTURE_PROGRAM%", "1500 0 captured", kLogNever, 0, kShowCapture);
    const DWORD start = GetTickCount();
    std::atomic<bool> childDoneWhenSeen{false};
    DialogWatcher prompt({"Brisolt"}, [&](HWND box) {
        childDoneWhenSeen = GetTickCount() - start >= 1400;
        PressButton(box, IDOK);
    });
    std::string titleWhileRunning;
    std::thread title([&] {
        WaitFor(
            [&] {
                char text[256] = "";
                if (GetConsoleTitleA(text, sizeof text) > 0) titleWhileRunning = text;
                return titleWhileRunning == "%BRL_CAPTURE_PROGRAM%";
            },
            10000);
    });
    BarSampler sampler;
    RunButtonCommand(kButton);
    const DWORD elapsed = GetTickCount() - start;
    title.join();
    const bool seen = prompt.Wait(30000);
    prompt.Stop();
    EXPECT_TRUE(sampler.WasMinimized()) << "capture waits even without wait";
    EXPECT_GE(elapsed, 1400u);
    ASSERT_TRUE(seen);
    EXPECT_EQ(prompt.text(), "Press OK to close capture box");
    EXPECT_TRUE(childDoneWhenSeen) << "the prompt comes after the child has ended";
    EXPECT_EQ(titleWhileRunning, "%BRL_CAPTURE_PROGRAM%") << "the console is titled with the command as stored";
    EXPECT_FALSE(IsIconic(g_scene.bar));
}

// ---- Watched children --------------------------------------------------------------------------------------------

TEST_F(LaunchTest, QuickPressesCountEveryChildOnceAndKeepEveryLog) {
    REQUIRE_CORVANE();
    EnsureLogFolder();
    const std::string first = NextLogFile();
    const unsigned firstNumber = static_cast<unsigned>(std::stoul(first.substr(first.rfind("log") + 3)));
    constexpr int kPresses = 5;
    std::atomic<long> highest{0};
    std::atomic<bool> stop{false};
    std::thread sampler([&] {
        while (!stop) {
            const long now = WatchedRunCount();
            if (now > highest) highest = now;
            Sleep(10);
        }
    });
    FreshButton("fixture_sleeper.exe", "1500 0 quick-press", kLogOnError, 0);
    for (int i = 0; i < kPresses; ++i) RunButtonCommand(kButton);
    EXPECT_EQ(WatchedRunCount(), kPresses) << "each press is counted as soon as it returns";
    EXPECT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 60000));
    stop = true;
    sampler.join();
    EXPECT_EQ(highest, kPresses);
    for (unsigned n = firstNumber; n < firstNumber + kPresses; ++n) {
        const std::string log = std::string(LogFolder()) + "\\log" + std::to_string(n) + ".txt";
        EXPECT_NE(ReadWhole(log).find("quick-press"), std::string::npos) << log;
    }
}

// ---- Bad input ---------------------------------------------------------------------------------------------------

TEST_F(LaunchTest, FullLengthCommandAndOptionsRun) {
    const std::string folder = Folder("full");
    const std::string command = "cmd /c echo " + std::string(259 - 12 - 8, 'c') + ">c.txt &";
    ASSERT_EQ(command.size(), 259u);
    const std::string options = "echo " + std::string(259 - 5 - 6, 'o') + ">o.txt";
    ASSERT_EQ(options.size(), 259u);
    ButtonDef& button = FreshButton(command, options, kLogNever, 1);
    CopyText(button.directory, folder);
    RunButtonCommand(kButton);
    EXPECT_EQ(Trimmed(ReadWhole(folder + "\\c.txt")), std::string(259 - 12 - 8, 'c'));
    EXPECT_EQ(Trimmed(ReadWhole(folder + "\\o.txt")), std::string(259 - 5 - 6, 'o'));
}

TEST_F(LaunchTest, ExpansionsThatFillTheirBuffersRun) {
    // A 259-character main file: %@% twice fills the command's 520 bytes as far as whole values go.
    const std::string folder = Folder("fill");
    const std::string main = folder + "\\" + std::string(259 - folder.size() - 1, 'm');
    ASSERT_EQ(main.size(), 259u);
    SetPaths(main, "");
    std::string options;
    while (options.size() + 3 <= 259) options += "%@%";
    for (int log : {static_cast<int>(kLogNever), 9}) {
        if (log != kLogNever && !CorvaneBuilt()) continue;
        DialogWatcher box({"Error in Brisolt"}, IDOK, 20000);
        FreshButton("%@%%@%", options, log, 1);
        RunButtonCommand(kButton);
        if (log == kLogNever) {
            EXPECT_TRUE(box.Wait(20000)) << "no such program: the error box";
        }
        box.Stop();
        EXPECT_FALSE(IsIconic(g_scene.bar));
    }
}

TEST_F(LaunchTest, MissingLogWrapperRunsWithoutItAndGivesTheNameBack) {
    EnsureLogFolder();
    const std::string log = NextLogFile();
    const std::string folder = Folder("nowrapper");
    CopyText(g_paths.logWrapperPath, g_scene.work + "nowhere\\corvane.exe");
    DialogWatcher box({"Error in Brisolt"}, IDOK, 5000);
    ButtonDef& button = FreshButton("cmd /c echo ran> ran.txt", "", kLogOnError, 1);
    CopyText(button.directory, folder);
    RunButtonCommand(kButton);
    box.Stop();
    EXPECT_FALSE(Exists(log)) << "no wrapper ran, so no log stays reserved";
    EXPECT_EQ(NextLogFile(), log);
}

TEST_F(LaunchTest, MegabytesOfOutputNeitherCrashNorHang) {
    const std::string size = std::to_string(4 * 1024 * 1024);
    for (int log : {kLogNever, kLogOnError}) {
        if (log != kLogNever && !CorvaneBuilt()) continue;
        EnsureLogFolder();
        const std::string logFile = NextLogFile();
        FreshButton("fixture_sleeper.exe", "0 0 megabytes " + size, log, 1);
        const DWORD start = GetTickCount();
        RunButtonCommand(kButton);
        EXPECT_LT(GetTickCount() - start, 120000u);
        if (log != kLogNever) {
            const std::string text = ReadWhole(logFile);
            EXPECT_GE(text.size(), 4u * 1024 * 1024) << logFile;
        }
    }
}

// ---- Temporary folders in a process of their own -----------------------------------------------------------------

// Runs this test program again for one scenario, with a temporary path of its choosing; the child reports
// its temporary folder in a file.
struct ScenarioResult {
    bool ran = false;
    DWORD exitCode = 1;
    std::string folder;
};

ScenarioResult RunScenario(const std::string& scenario, const std::string& tempPath) {
    ScenarioResult result;
    const std::string report = g_scene.work + "scenario_" + scenario + ".txt";
    DeleteFileA(report.c_str());
    std::string line = "\"" + ExePath() + "\" --gtest_filter=TempFolderScenario.*";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = FALSE;
    {
        const ScopedVariable name("BRISOLT_LAUNCH_SCENARIO", scenario.c_str());
        const ScopedVariable reportTo("BRISOLT_LAUNCH_REPORT", report.c_str());
        const ScopedVariable tmp("TMP", tempPath.c_str()), temp("TEMP", tempPath.c_str());
        started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    }
    if (!started) return result;
    CloseHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
        result.ran = true;
        GetExitCodeProcess(process.hProcess, &result.exitCode);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hProcess);
    result.folder = ReadWhole(report);
    return result;
}

TEST_F(LaunchTest, TemporaryFolderTakesTheNextFreeNumber) {
    const std::string temp = MakeFolder(g_scene.work + "taken") + "\\";
    MakeFolder(temp + "Brisolt1");
    const ScenarioResult result = RunScenario("taken", temp);
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.folder, temp + "Brisolt2");
}

TEST_F(LaunchTest, TemporaryFolderThatCannotBeMadeHarmsNothing) {
    const std::string blocker = g_scene.work + "blocker.txt";
    WriteWhole(blocker, "a file where a folder would go\r\n");
    const ScenarioResult result = RunScenario("unmakeable", blocker + "\\");
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.folder, "") << "no folder was made, so none is kept";
}

// The child side of the scenarios: skipped in an ordinary run.
TEST(TempFolderScenario, Child) {
    char scenario[32] = "";
    if (GetEnvironmentVariableA("BRISOLT_LAUNCH_SCENARIO", scenario, sizeof scenario) == 0) {
        GTEST_SKIP() << "runs only as a scenario child";
    }
    char report[MAX_PATH] = "";
    GetEnvironmentVariableA("BRISOLT_LAUNCH_REPORT", report, sizeof report);
    FreshButton("cmd", "/c exit 0", kLogOnError, 1);
    RunButtonCommand(kButton);
    WriteWhole(report, LogFolder());
    EXPECT_EQ(WatchedRunCount(), 0);
    DeleteLogFiles();
    EXPECT_FALSE(Exists(LogFolder()));
}

// ---- Clean-up at exit ---------------------------------------------------------------------------------------------

TEST_F(LaunchTest, DeleteLogFilesRemovesLogsAndFolderButLeavesAFileInUse) {
    REQUIRE_CORVANE();
    // What other tests left goes first: the folder is forgotten once it is gone, and the logs start at 1.
    DeleteLogFiles();
    ASSERT_STREQ(LogFolder(), "") << "an earlier test left its log folder in use";
    EnsureLogFolder();
    std::vector<std::string> logs;
    for (const char* word : {"one", "two", "three"}) {
        logs.push_back(NextLogFile());
        FreshButton("cmd", std::string("/c echo ") + word, kLogOnError, 1);
        RunButtonCommand(kButton);
        ASSERT_TRUE(Exists(logs.back()));
    }
    // A gap the user made by hand does not strand the logs after it.
    DeleteFileA(logs[1].c_str());
    HANDLE file = CreateFileA(logs[2].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DeleteLogFiles();
    EXPECT_FALSE(Exists(logs[0]));
    EXPECT_FALSE(Exists(std::string(LogFolder()) + "\\log1.txt"));
    EXPECT_TRUE(Exists(logs[2])) << "a file in use stays";
    EXPECT_TRUE(Exists(LogFolder())) << "the folder stays with it";
    CloseHandle(file);

    const std::string folder = LogFolder();
    DeleteLogFiles();
    EXPECT_FALSE(Exists(logs[2]));
    EXPECT_FALSE(Exists(folder));
    EXPECT_STREQ(LogFolder(), "") << "the next logged run makes a folder of its own";
}

// ---- Faults of the log folder and the watch threads --------------------------------------------------------------

TEST_F(LaunchTest, OverlongTemporaryPathRunsWithoutALogAndTriesAgainNextTime) {
    REQUIRE_CORVANE();
    DeleteLogFiles();
    ASSERT_STREQ(LogFolder(), "") << "an earlier test left its log folder in use";
    const std::string overlong = "C:\\" + std::string(300, 'x') + "\\";
    const std::string out = g_scene.work + "unlogged.txt";
    DeleteFileA(out.c_str());
    FreshButton("cmd", "/c echo ran> \"" + out + "\"", kLogOnError, 1);
    {
        const ScopedVariable tmp("TMP", overlong.c_str()), temp("TEMP", overlong.c_str());
        RunButtonCommand(kButton);
    }
    EXPECT_TRUE(WaitFor([&] { return ReadWhole(out).find("ran") != std::string::npos; }, 10000)) << "the run went ahead";
    EXPECT_STREQ(LogFolder(), "");
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_FALSE(Exists(std::string(current) + "\\Brisolt1")) << "no folder in whatever folder is current";

    RunButtonCommand(kButton);
    EXPECT_EQ(std::string(LogFolder()).rfind(g_scene.temp, 0), 0u) << LogFolder();
}

// What the log opener saw of COM on the thread that opened a log.
struct ApartmentSeen {
    std::atomic<int> calls{0};
    std::atomic<HRESULT> result{E_FAIL};
    std::atomic<DWORD> thread{0};
};
ApartmentSeen g_apartment;

void RecordApartment(const char*) {
    // S_FALSE: the thread has its single-threaded apartment already, as the shell's extensions need.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(result)) CoUninitialize();
    g_apartment.result = result;
    g_apartment.thread = GetCurrentThreadId();
    ++g_apartment.calls;
}

TEST_F(LaunchTest, WatchThreadOpensTheLogWithComReady) {
    REQUIRE_CORVANE();
    SetLogOpener(RecordApartment);
    g_apartment.calls = 0;
    FreshButton("cmd", "/c exit 0", kLogAlways, 0);
    RunButtonCommand(kButton);
    EXPECT_TRUE(WaitFor([] { return g_apartment.calls > 0; }, 30000));
    EXPECT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 30000));
    SetLogOpener(nullptr);
    EXPECT_NE(g_apartment.thread, GetCurrentThreadId()) << "opened on a watch thread";
    EXPECT_EQ(g_apartment.result, S_FALSE);
}

}  // namespace
