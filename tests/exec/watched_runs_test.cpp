// Watched runs under Wine without a job of their own, as where the program itself runs in a job that
// forbids another (Windows 7): a stop ends the started program and what it started, found by their
// parents. A run's job lets a program leave it, as sandboxed viewers must.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles.h"
#include "exec/logs.h"
#include "exec/watched_runs.h"
#include "settings/settings_records.h"
#include "support/process_family.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/wait.h"

namespace {

// A run that only keeps its log, and never shows it.
WatchedRunInfo LogOnly(const std::string& log) {
    WatchedRunInfo info;
    info.logFile = log.c_str();
    return info;
}

TEST(WatchedRuns, WithoutAJobAStopEndsTheStartedProgramAndWhatItStarted) {
    g_app.appInstance = GetModuleHandleA(nullptr);
    const TempFolder folder("wrt");
    const std::string pids = folder.path() + "\\pids.txt", log = folder.path() + "\\log.txt";
    HANDLE run = nullptr;
    const HANDLE started = StartProgram("\"" + ExeFolder() + "fixture_family.exe\" " + pids, &run);
    ASSERT_NE(started, nullptr);
    CloseHandle(started);
    ProcessFamily family;  // fixture_family is the child here
    ASSERT_TRUE(family.Open(pids));
    WriteWhole(log, "waiting");
    WatchRun(run, nullptr, LogOnly(log));
    EXPECT_EQ(RunningWatchedRuns(), 1);
    StopWatchedRuns();
    ASSERT_EQ(WaitForSingleObject(family.child, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(family.child, &exitCode);
    EXPECT_NE(exitCode, 0u) << "a stopped run failed";
    EXPECT_EQ(WaitForSingleObject(family.grandchild, 10000), WAIT_OBJECT_0) << "what it started ends too";
    EXPECT_EQ(RunningWatchedRuns(), 0) << "a stopped run is not offered again";
    ASSERT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 10000));
    EXPECT_EQ(ReadWhole(log), "waiting\r\nstopped by the user\r\n");

    // The closing line starts a line of its own; a log that cannot be opened is left alone.
    const std::string alone =
        "waiting\r\nstopped by the user; only the started program was ended, programs it started may still run\r\n";
    WriteWhole(log, "waiting");
    AppendStoppedLine(log.c_str(), true);
    EXPECT_EQ(ReadWhole(log), alone);
    AppendStoppedLine((folder.path() + "\\missing.txt").c_str(), false);
    EXPECT_FALSE(Exists(folder.path() + "\\missing.txt"));
}

TEST(WatchedRuns, ARunThatEndedByItselfIsNotStopped) {
    const TempFolder folder("wre");
    const std::string log = folder.path() + "\\log.txt";
    WriteWhole(log, "done\r\n");
    HANDLE run = nullptr;
    const HANDLE started = StartProgram("\"" + ExeFolder() + "fixture_sleeper.exe\" 0 5", &run);
    ASSERT_NE(started, nullptr);
    ASSERT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
    WatchRun(run, nullptr, LogOnly(log));
    EXPECT_EQ(RunningWatchedRuns(), 0);
    StopWatchedRuns();
    ASSERT_TRUE(WaitFor([] { return WatchedRunCount() == 0; }, 10000));
    EXPECT_EQ(ReadWhole(log), "done\r\n") << "its watch thread finds it was not stopped";
    DWORD exitCode = 0;
    GetExitCodeProcess(started, &exitCode);
    EXPECT_EQ(exitCode, 5u) << "its own status stays";
    CloseHandle(started);
}

TEST(WatchedRuns, AProgramInARunsJobMayLeaveIt) {
    const TempFolder folder("wrb");
    const std::string report = folder.path() + "\\breakaway.txt";
    std::string line = "\"" + ExeFolder() + "fixture_sleeper.exe\" --breakaway " + report;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                               &startup, &started));
    const HANDLE job = StartInJob(started.hProcess, started.hThread);
    CloseHandle(started.hThread);
    ASSERT_NE(job, nullptr);
    ASSERT_EQ(WaitForSingleObject(started.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ReadWhole(report), "started outside the job\r\n");
    CloseHandle(started.hProcess);
    CloseHandle(job);
}

}  // namespace
