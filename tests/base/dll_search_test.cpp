// The restricted library search: a library planted in the current folder, or in a main file's folder that
// became the current folder later, is never loaded once RestrictDllSearch has run; the system's own are.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

constexpr const char* kPlantedName = "brisolt_planted.dll";

// Runs the probe in `folder` and gives its exit code (0 loaded, 1 not loaded).
DWORD Probe(const std::string& folder, const std::string& arguments) {
    const std::string exe = ExeFolder() + "fixture_dll_probe.exe";
    std::string line = "\"" + exe + "\" " + arguments;
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
        return 100;
    }
    CloseHandle(info.hThread);
    DWORD code = 101;
    if (WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    else TerminateProcess(info.hProcess, 102);
    CloseHandle(info.hProcess);
    return code;
}

class DllSearch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root_.path().empty());
        const std::string planted = ExeFolder() + "fixture_planted.dll";
        ASSERT_TRUE(Exists(planted)) << planted;
        for (const std::string& folder : {current_, mainFileFolder_}) {
            ASSERT_TRUE(CopyFileA(planted.c_str(), (folder + "\\" + kPlantedName).c_str(), FALSE)) << folder;
        }
        WriteWhole(mainFileFolder_ + "\\paper.tex", "\\relax\n");
    }
    bool LoadedIn(const std::string& folder) const {
        return Exists(folder + "\\" + kPlantedName + ".loaded");
    }

    TempFolder root_{"dll_search"};
    const std::string current_ = MakeFolder(root_.File("current"));
    const std::string mainFileFolder_ = MakeFolder(root_.File("papers"));
};

TEST_F(DllSearch, PlantedLibraryInTheCurrentFolder) {
    // Without the restriction the planted library is found: the plant is real.
    EXPECT_EQ(Probe(current_, kPlantedName), 0u);
    EXPECT_TRUE(LoadedIn(current_));
    DeleteFileA((current_ + "\\" + kPlantedName + ".loaded").c_str());

    EXPECT_EQ(Probe(current_, std::string("--restrict ") + kPlantedName), 1u);
    EXPECT_FALSE(LoadedIn(current_));
}

TEST_F(DllSearch, PlantedLibraryBesideAMainFileChosenLater) {
    const std::string move = "--move \"" + mainFileFolder_ + "\" ";
    EXPECT_EQ(Probe(current_, move + kPlantedName), 0u);
    EXPECT_TRUE(LoadedIn(mainFileFolder_));
    DeleteFileA((mainFileFolder_ + "\\" + kPlantedName + ".loaded").c_str());

    EXPECT_EQ(Probe(current_, "--restrict " + move + kPlantedName), 1u);
    EXPECT_FALSE(LoadedIn(mainFileFolder_));
    EXPECT_FALSE(LoadedIn(current_));
}

TEST_F(DllSearch, SystemLibrariesStillLoadByName) {
    // What the program and the shell load late by name comes from the system folder.
    for (const char* name : {"msimg32.dll", "oleaut32.dll", "hhctrl.ocx"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Probe(current_, std::string("--restrict ") + name), 0u);
    }
}

}  // namespace
