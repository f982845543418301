// Faults around the built program: a settings file that cannot be written or vanishes, a temporary folder
// that cannot be made or vanishes, a missing log wrapper, children that crash or are killed, fifty quick
// presses of a logged button and two instances on one settings file. Nothing is lost beyond what the
// system makes impossible, and each failure is told once or passed over in silence, as the program promises.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/ini_snapshot.h"
#include "e2e/user_session.h"
#include "support/brisolt_process.h"
#include "support/dialog_watcher.h"
#include "support/environment.h"
#include "support/find_window.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/wait.h"
#include "support/window_text.h"

namespace {

constexpr DWORD kWaitMs = 30000;

std::string NotSaved(const std::string& path) {
    return "Brisolt could not save its settings in\n" + path + "\nChanges made now last only until Brisolt ends.";
}

// Presses bar button `index` from outside, as a click does.
void Press(const BrisoltProcess& brisolt, int index) {
    brisolt.Post(WM_COMMAND, MAKEWPARAM(500 + index, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(brisolt.MainWindow(), 500 + index)));
}

// Moves the bar as a drag does; the bar has handled the move when this returns.
void Move(const BrisoltProcess& brisolt, int x, int y) {
    SetWindowPos(brisolt.MainWindow(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    brisolt.Send(WM_NULL);
}

// The window a log was opened in (the shell's viewer), found by the log's name in its title.
HWND Viewer(const std::string& logName) {
    return FindTopLevel([&](HWND window) { return WindowTitle(window).find(logName) != std::string::npos; });
}

DWORD ParentOf(DWORD processId) {
    DWORD parent = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) parent = entry.th32ParentProcessID;
    }
    CloseHandle(snapshot);
    return parent;
}

bool Kill(DWORD processId, UINT code) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    const bool killed = TerminateProcess(process, code) && WaitForSingleObject(process, kWaitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return killed;
}

class Faults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        WriteWhole(mainFile_, "\\relax\n");
    }
    std::string Arguments(const std::string& ini) const { return "/i \"" + ini + "\" \"" + mainFile_ + "\""; }
    std::string Fixture(const char* name) const { return ExeFolder() + name; }

    TempFolder folder_{"brisolt faults"};
    const std::string ini_ = folder_.File("Brisolt.ini");
    const std::string mainFile_ = folder_.File("paper.tex");
};

TEST_F(Faults, ReadOnlySettingsFileIsToldOnceAndKeptAsItWas) {
    const std::string text =
        "[Options]\r\nRows=1\r\nCols=3\r\n[Buttons]\r\nTitle1=Kept\r\n[Files]\r\nFile0=C:\\x.tex\r\n";
    WriteWhole(ini_, text);
    ASSERT_TRUE(SetFileAttributesA(ini_.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine run by root writes to read-only files anyway; a handle that shares only reading keeps every
    // writer out.
    HANDLE guard = CreateFileA(ini_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(guard, INVALID_HANDLE_VALUE);

    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments(ini_)));
    DialogWatcher notice({"Brisolt"}, IDOK, 120000, brisolt.ProcessId());
    ASSERT_NE(WaitForBar(brisolt), nullptr);
    // The main file is pushed onto the recent list at start; the write fails and is told.
    EXPECT_TRUE(notice.Wait(kWaitMs));
    Move(brisolt, 40, 50);
    EXPECT_TRUE(AnswerConfiguration(brisolt, IDOK));  // writes every option and button
    const std::optional<DWORD> code = brisolt.Close(kWaitMs);
    CloseHandle(guard);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(notice.answered(), 1) << "told once, not for every write";
    EXPECT_EQ(notice.text(), NotSaved(ini_));
    EXPECT_EQ(ReadWhole(ini_), text);
}

TEST_F(Faults, SettingsFileDeletedWhileRunningIsMadeAgain) {
    WriteWhole(ini_, "[Options]\r\nRows=1\r\nCols=3\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments(ini_)));
    DialogWatcher notice({"Brisolt"}, IDOK, 120000, brisolt.ProcessId());
    ASSERT_NE(WaitForBar(brisolt), nullptr);
    ASSERT_TRUE(DeleteFileA(ini_.c_str()));
    Move(brisolt, 60, 70);
    EXPECT_TRUE(AnswerConfiguration(brisolt, IDCANCEL));
    const std::optional<DWORD> code = brisolt.Close(kWaitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(notice.answered(), 0) << notice.text();
    EXPECT_EQ(IniValue(ini_, "Options", "X"), "60");
    EXPECT_EQ(IniValue(ini_, "Options", "Last file"), mainFile_);
}

TEST_F(Faults, SettingsFolderDeletedWhileRunningIsToldOnce) {
    const std::string folder = MakeFolder(folder_.File("settings"));
    const std::string ini = folder + "\\Brisolt.ini";
    WriteWhole(ini, "[Options]\r\nRows=1\r\nCols=3\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments(ini)));
    DialogWatcher notice({"Brisolt"}, IDOK, 120000, brisolt.ProcessId());
    ASSERT_NE(WaitForBar(brisolt), nullptr);
    // The bar may still be writing its first save; the folder goes once the file is free.
    ASSERT_TRUE(WaitFor(
        [&] {
            RemoveTree(folder + "\\");
            return !Exists(folder);
        },
        kWaitMs));
    Move(brisolt, 60, 70);
    EXPECT_TRUE(notice.Wait(kWaitMs));
    EXPECT_TRUE(AnswerConfiguration(brisolt, IDOK));
    const std::optional<DWORD> code = brisolt.Close(kWaitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(notice.answered(), 1);
    EXPECT_EQ(notice.text(), NotSaved(ini));
    EXPECT_FALSE(Exists(folder));
}

TEST_F(Faults, UnusableTemporaryFolderRunsTheCommandWithoutALog) {
    const std::string file = folder_.File("a file.txt");
    WriteWhole(file, "not a folder");
    for (const std::string& temp : {file, folder_.File("no such folder")}) {
        SCOPED_TRACE(temp);
        const ScopedVariable tmp("TMP", temp.c_str()), tempVariable("TEMP", temp.c_str());
        const std::string out = folder_.File("out.txt");
        DeleteFileA(out.c_str());
        WriteWhole(ini_, "[Buttons]\r\nCommand1=" + Fixture("fixture_sleeper.exe") + "\r\nOptions1=--cmdline \"" +
                             out + "\"\r\nLog1=1\r\n");
        BrisoltProcess brisolt;
        ASSERT_TRUE(brisolt.Start(Arguments(ini_)));
        DialogWatcher boxes({"Brisolt", "Error in Brisolt"}, IDOK, 120000, brisolt.ProcessId());
        ASSERT_NE(WaitForBar(brisolt), nullptr);
        Press(brisolt, 0);
        EXPECT_TRUE(WaitFor([&] { return !ReadWhole(out).empty(); }, kWaitMs)) << "the command did not run";
        Sleep(1000);  // the watch thread's end
        const std::optional<DWORD> code = brisolt.Close(kWaitMs);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0u);
        EXPECT_EQ(boxes.answered(), 0) << boxes.text();
        EXPECT_EQ(ReadWhole(file), "not a folder");
        EXPECT_FALSE(Exists(folder_.File("no such folder")));
    }
}

TEST_F(Faults, TemporaryFolderDeletedWhileRunningIsMadeAgain) {
    const std::string tmp = MakeFolder(folder_.File("tmp"));
    const ScopedVariable tmpVariable("TMP", tmp.c_str()), tempVariable("TEMP", tmp.c_str());
    WriteWhole(ini_, "[Buttons]\r\nCommand1=" + Fixture("fixture_sleeper.exe") + "\r\nOptions1=0 0 logged\r\n"
                     "Log1=2\r\nWait1=1\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments(ini_)));
    DialogWatcher boxes({"Brisolt", "Error in Brisolt"}, IDOK, 120000, brisolt.ProcessId());
    ASSERT_NE(WaitForBar(brisolt), nullptr);
    const std::string log = tmp + "\\Brisolt1\\log1.txt";
    Press(brisolt, 0);
    ASSERT_TRUE(WaitFor([&] { return LogClosed(log); }, kWaitMs));
    // A clean-up of the temporary path takes the folder away between two runs.
    RemoveTree(tmp + "\\Brisolt1\\");
    ASSERT_FALSE(Exists(tmp + "\\Brisolt1"));
    Press(brisolt, 0);
    EXPECT_TRUE(WaitFor([&] { return LogClosed(log); }, kWaitMs)) << "the second run kept no log";
    EXPECT_NE(ReadWhole(log).find("logged\r\ncorvane: exit code 0"), std::string::npos) << ReadWhole(log);
    const std::optional<DWORD> code = brisolt.Close(kWaitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(boxes.answered(), 0) << boxes.text();
    EXPECT_FALSE(Exists(tmp + "\\Brisolt1"));
}

TEST_F(Faults, MissingLogWrapperRunsTheCommandAsItStands) {
    // A copy of the program in a folder of its own has no log wrapper beside it.
    const std::string program = MakeFolder(folder_.File("program")) + "\\Brisolt.exe";
    ASSERT_TRUE(CopyFileA((ExeFolder() + "Brisolt.exe").c_str(), program.c_str(), FALSE));
    const std::string tmp = MakeFolder(folder_.File("tmp"));
    const ScopedVariable tmpVariable("TMP", tmp.c_str()), tempVariable("TEMP", tmp.c_str());
    const std::string out = folder_.File("out.txt");
    const std::string command = Fixture("fixture_sleeper.exe");
    WriteWhole(ini_, "[Buttons]\r\nCommand1=" + command + "\r\nOptions1=--cmdline \"" + out + "\"\r\nLog1=2\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments(ini_), program));
    DialogWatcher boxes({"Brisolt", "Error in Brisolt"}, IDOK, 120000, brisolt.ProcessId());
    ASSERT_NE(WaitForBar(brisolt), nullptr);
    Press(brisolt, 0);
    EXPECT_TRUE(WaitFor([&] { return !ReadWhole(out).empty(); }, kWaitMs)) << "the command did not run";
    // Not the associated program's line, which would name the program twice.
    EXPECT_EQ(ReadWhole(out), command + " --cmdline \"" + out + "\"");
    Sleep(1000);  // the watch thread's end
    const std::optional<DWORD> code = brisolt.Close(kWaitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(boxes.answered(), 0) << boxes.text();
    EXPECT_FALSE(Exists(tmp + "\\Brisolt1")) << "a log name stayed reserved";
}

TEST_F(Faults, CrashedAndKilledChildrenHaveTheirLogsShown) {
    const std::string tmp = MakeFolder(folder_.File("tmp"));
    const ScopedVariable tmpVariable("TMP", tmp.c_str()), tempVariable("TEMP", tmp.c_str());
    const std::string pidFile = folder_.File("victim.pid");
    const std::string victim = Fixture("fixture_victim.exe");
    WriteWhole(ini_, "[Buttons]\r\nCommand1=" + victim + "\r\nOptions1=crash\r\nLog1=2\r\nCommand2=" + victim +
                         "\r\nOptions2=wait \"" + pidFile + "\"\r\nLog2=2\r\nCommand3=" + victim +
                         "\r\nOptions3=wait \"" + pidFile + "\"\r\nLog3=2\r\nWait3=1\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments(ini_)));
    DialogWatcher boxes({"Brisolt", "Error in Brisolt"}, IDOK, 240000, brisolt.ProcessId());
    ASSERT_NE(WaitForBar(brisolt), nullptr);
    const std::string logs = tmp + "\\Brisolt1\\";

    // A crash is a failure: "On error" shows the log, which holds the output and the crash's code.
    Press(brisolt, 0);
    HWND viewer = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (viewer = Viewer("log1")) != nullptr; }, kWaitMs)) << "log not shown";
    const std::string crashed = ReadWhole(logs + "log1.txt");
    EXPECT_NE(crashed.find("before the crash"), std::string::npos) << crashed;
    EXPECT_NE(crashed.find("corvane: exit code 3221225477 (0xC0000005)"), std::string::npos) << crashed;
    if (viewer) PostMessageA(viewer, WM_CLOSE, 0, 0);

    // The command killed: the wrapper still writes the end of the log.
    Press(brisolt, 1);
    ASSERT_TRUE(WaitFor([&] { return !ReadWhole(pidFile).empty(); }, kWaitMs));
    ASSERT_TRUE(Kill(std::strtoul(ReadWhole(pidFile).c_str(), nullptr, 10), 7));
    EXPECT_TRUE(WaitFor([&] { return (viewer = Viewer("log2")) != nullptr; }, kWaitMs)) << "log not shown";
    const std::string killed = ReadWhole(logs + "log2.txt");
    EXPECT_NE(killed.find("waiting to be killed"), std::string::npos) << killed;
    EXPECT_NE(killed.find("corvane: exit code 7"), std::string::npos) << killed;
    if (viewer) PostMessageA(viewer, WM_CLOSE, 0, 0);

    // The wrapper killed: its exit code is the run's, and what it had logged is shown.
    DeleteFileA(pidFile.c_str());
    Press(brisolt, 1);
    ASSERT_TRUE(WaitFor([&] { return !ReadWhole(pidFile).empty(); }, kWaitMs));
    const DWORD child = std::strtoul(ReadWhole(pidFile).c_str(), nullptr, 10);
    const DWORD wrapper = ParentOf(child);
    ASSERT_NE(wrapper, 0u);
    ASSERT_TRUE(Kill(wrapper, 9));
    EXPECT_TRUE(WaitFor([&] { return (viewer = Viewer("log3")) != nullptr; }, kWaitMs)) << "log not shown";
    EXPECT_NE(ReadWhole(logs + "log3.txt").find("waiting to be killed"), std::string::npos);
    if (viewer) PostMessageA(viewer, WM_CLOSE, 0, 0);
    Kill(child, 0);

    // A waited run killed: the bar, minimised while it waits, comes back and shows the log.
    DeleteFileA(pidFile.c_str());
    Press(brisolt, 2);
    ASSERT_TRUE(WaitFor([&] { return !ReadWhole(pidFile).empty(); }, kWaitMs));
    EXPECT_TRUE(WaitFor([&] { return IsIconic(brisolt.MainWindow()) != FALSE; }, kWaitMs));
    ASSERT_TRUE(Kill(std::strtoul(ReadWhole(pidFile).c_str(), nullptr, 10), 5));
    EXPECT_TRUE(WaitFor([&] { return (viewer = Viewer("log4")) != nullptr; }, kWaitMs)) << "log not shown";
    EXPECT_NE(ReadWhole(logs + "log4.txt").find("corvane: exit code 5"), std::string::npos);
    if (viewer) PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(brisolt.MainWindow()); }, kWaitMs));

    Sleep(1000);  // the watch threads' last steps
    const std::optional<DWORD> code = brisolt.Close(kWaitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(boxes.answered(), 0) << boxes.text();
}

TEST_F(Faults, FiftyQuickPressesOfALoggedButtonEachKeepTheirLog) {
    const std::string tmp = MakeFolder(folder_.File("tmp"));
    const ScopedVariable tmpVariable("TMP", tmp.c_str()), tempVariable("TEMP", tmp.c_str());
    WriteWhole(ini_, "[Buttons]\r\nCommand1=" + Fixture("fixture_sleeper.exe") + "\r\nOptions1=3000 0 finished\r\n"
                     "Log1=2\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments(ini_)));
    DialogWatcher boxes({"Brisolt", "Error in Brisolt"}, IDYES, 240000, brisolt.ProcessId());
    ASSERT_NE(WaitForBar(brisolt), nullptr);
    constexpr int kPresses = 50;
    for (int i = 0; i < kPresses; ++i) Press(brisolt, 0);
    const std::string logs = tmp + "\\Brisolt1\\log";
    const auto allClosed = [&] {
        for (int n = 1; n <= kPresses; ++n) {
            if (!LogClosed(logs + std::to_string(n) + ".txt")) return false;
        }
        return true;
    };
    EXPECT_TRUE(WaitFor(allClosed, 240000)) << "not every run ended with a log of its own";
    for (int n = 1; n <= kPresses; ++n) {
        const std::string log = ReadWhole(logs + std::to_string(n) + ".txt");
        EXPECT_NE(log.find("finished\r\ncorvane: exit code 0"), std::string::npos)
            << n << (Exists(logs + std::to_string(n) + ".txt") ? " (there)" : " (missing)") << ": " << log;
    }
    EXPECT_FALSE(Exists(logs + std::to_string(kPresses + 1) + ".txt"));
    Sleep(1000);  // the watch threads' last steps
    const std::optional<DWORD> code = brisolt.Close(kWaitMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u) << "children still counted after they ended";
    EXPECT_EQ(boxes.answered(), 0) << boxes.text();
    EXPECT_FALSE(Exists(tmp + "\\Brisolt1"));
}

TEST_F(Faults, TwoInstancesOnOneSettingsFileKeepEachOthersWrites) {
    const std::string text =
        "[Options]\r\nRows=1\r\nCols=3\r\n[Buttons]\r\nTitle1=Kept\r\nCommand1=latex\r\n[Kept]\r\nkey=value\r\n";
    WriteWhole(ini_, text);
    const std::string other = folder_.File("other paper.tex");
    WriteWhole(other, "\\relax\n");

    BrisoltProcess first;
    ASSERT_TRUE(first.Start(Arguments(ini_)));
    ASSERT_NE(WaitForBar(first), nullptr);
    BrisoltProcess second;
    ASSERT_TRUE(second.Start("/i \"" + ini_ + "\" \"" + other + "\""));
    ASSERT_NE(WaitForBar(second), nullptr);
    DialogWatcher boxes({"Brisolt", "Error in Brisolt"}, IDOK, 120000, first.ProcessId());
    DialogWatcher secondBoxes({"Brisolt", "Error in Brisolt"}, IDOK, 120000, second.ProcessId());

    EXPECT_TRUE(AnswerConfiguration(first, IDOK));
    Move(second, 80, 90);
    EXPECT_TRUE(AnswerConfiguration(second, IDCANCEL));
    const std::optional<DWORD> firstCode = first.Close(kWaitMs);
    const std::optional<DWORD> secondCode = second.Close(kWaitMs);
    ASSERT_TRUE(firstCode.has_value() && secondCode.has_value());
    EXPECT_EQ(*firstCode, 0u);
    EXPECT_EQ(*secondCode, 0u);
    EXPECT_EQ(boxes.answered() + secondBoxes.answered(), 0);

    // Each pushed its main file onto the list the other had written; the one closed last is "Last file".
    EXPECT_EQ(IniValue(ini_, "Files", "File0"), other);
    EXPECT_EQ(IniValue(ini_, "Files", "File1"), mainFile_);
    EXPECT_EQ(IniValue(ini_, "Positions", "Pos0").rfind("80,90,", 0), 0u) << IniValue(ini_, "Positions", "Pos0");
    EXPECT_EQ(IniValue(ini_, "Options", "Last file"), other);
    EXPECT_EQ(IniValue(ini_, "Buttons", "Title1"), "Kept");
    EXPECT_EQ(IniValue(ini_, "Buttons", "Command1"), "latex");
    EXPECT_EQ(IniValue(ini_, "Options", "Rows"), "1");
    EXPECT_EQ(IniValue(ini_, "Options", "Cols"), "3");
    std::vector<WrittenKey> written = SessionWrites();
    written.push_back({"Buttons", ""});
    for (const char* key : {"Rows", "Cols", "Space", "On Top", "Save File Pos", "Display tips"})
        written.push_back({"Options", key});
    for (const std::string& difference : CompareSettings(ParseIni(text), ParseIni(ReadWhole(ini_)), written))
        ADD_FAILURE() << difference;
}

}  // namespace
