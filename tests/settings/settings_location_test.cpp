// The default settings file among folders of the test's own standing in for the program's folder, the
// user's application data and the Windows folder: a portable file beside the program, the user's own file
// seeded once (and again after a seed that failed), and the Windows folder's file while it may be written.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_location.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

class DefaultSettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto [folder, field] : {std::pair{program_, folders_.program}, std::pair{user_, folders_.user},
                                     std::pair{windows_, folders_.windows}}) {
            lstrcpynW(field, Widen(folder).c_str(), static_cast<int>(kPathSize));
        }
    }
    void TearDown() override {
        for (HANDLE guard : guards_) CloseHandle(guard);
    }
    std::string Settle() const {
        char file[kPathSize] = "Brisolt.ini";
        SettleDefaultSettingsFile(file, folders_);
        return file;
    }
    // A standard user's view of a file: it can be read, not written.
    void HoldReadOnly(const std::string& file) {
        guards_.push_back(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(guards_.back(), INVALID_HANDLE_VALUE);
    }

    TempFolder root_{"settings place"};
    const std::string program_ = MakeFolder(root_.File("program")), user_ = MakeFolder(root_.File("user")),
                      windows_ = MakeFolder(root_.File("windows"));
    const std::string beside_ = program_ + "\\Brisolt.ini", own_ = user_ + "\\Brisolt\\Brisolt.ini",
                      inWindows_ = windows_ + "\\Brisolt.ini";
    SettingsFolders folders_;
    std::vector<HANDLE> guards_;
};

TEST_F(DefaultSettingsFile, WritableWindowsFileStaysTheDefault) {
    WriteWhole(inWindows_, "[Options]\r\nCols=7\r\n");
    EXPECT_EQ(Settle(), "Brisolt.ini");
    EXPECT_FALSE(Exists(user_ + "\\Brisolt")) << "nothing is made for the user while the Windows folder serves";
}

TEST_F(DefaultSettingsFile, AFileBesideTheProgramIsAPortableSetUp) {
    WriteWhole(beside_, "[Options]\r\nCols=3\r\n");
    WriteWhole(inWindows_, "[Options]\r\nCols=7\r\n");
    EXPECT_EQ(Settle(), beside_);

    // Where it may not be written, the user's own file is made from it, without its read-only mark.
    SetFileAttributesA(beside_.c_str(), FILE_ATTRIBUTE_READONLY);
    HoldReadOnly(beside_);
    EXPECT_EQ(Settle(), own_);
    EXPECT_EQ(ReadWhole(own_), "[Options]\r\nCols=3\r\n");
    EXPECT_EQ(GetFileAttributesA(own_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    WriteWhole(own_, "[Options]\r\nCols=5\r\n");
    EXPECT_EQ(Settle(), own_);
    EXPECT_EQ(ReadWhole(own_), "[Options]\r\nCols=5\r\n") << "seeded once";
}

TEST_F(DefaultSettingsFile, UnwritableWindowsFileMovesToTheUsersOwnWhichThenStays) {
    WriteWhole(inWindows_, "[Options]\r\nCols=7\r\n");
    HoldReadOnly(inWindows_);
    EXPECT_EQ(Settle(), own_);
    EXPECT_EQ(ReadWhole(own_), "[Options]\r\nCols=7\r\n") << "seeded from the Windows folder";

    // A start that may write the Windows folder ("Run as administrator") keeps the user's own file.
    CloseHandle(guards_.back());
    guards_.pop_back();
    EXPECT_EQ(Settle(), own_);
}

TEST_F(DefaultSettingsFile, ASeedThatFailedIsReadAndTriedAgainNextTime) {
    WriteWhole(beside_, "[Options]\r\nCols=3\r\n");
    HoldReadOnly(beside_);
    // A file where the user's folder should be: nothing can be made there.
    WriteWhole(user_ + "\\Brisolt", "");
    EXPECT_EQ(Settle(), beside_) << "the seed itself, read only, rather than an empty file of the user's";
    DeleteFileA((user_ + "\\Brisolt").c_str());
    EXPECT_EQ(Settle(), own_);
    EXPECT_EQ(ReadWhole(own_), "[Options]\r\nCols=3\r\n");
}

TEST_F(DefaultSettingsFile, NoWindowsFileAndAnUnwritableFolderStartsEmpty) {
    // A folder where the Windows folder's file would be makes that name unwritable, with nothing to seed.
    ASSERT_TRUE(CreateDirectoryA(inWindows_.c_str(), nullptr));
    EXPECT_EQ(Settle(), own_);
    EXPECT_FALSE(Exists(own_));
}

}  // namespace
