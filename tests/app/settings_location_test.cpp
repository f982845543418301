// The default settings file when the Windows folder's copy cannot be written: the user's own file, made
// and seeded once, so moves, configurations and recent lists are kept.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "base/app_handles.h"
#include "settings/settings_file.h"
#include "support/test_files.h"

namespace {

std::string InWindows() {
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\Brisolt.ini";
}

std::string UserFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Brisolt";
}

void SettleDefault() {
    g_paths = PathStore{};
    SetEnvironmentVariableA("Brisolt", nullptr);
    char line[] = "";
    SettleStartupPaths(line);
}

class DefaultSettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        g_app.appInstance = GetModuleHandleA(nullptr);
        DeleteFileA(InWindows().c_str());
        DeleteFileA((UserFolder() + "\\Brisolt.ini").c_str());
    }
    void TearDown() override {
        if (guard_ != INVALID_HANDLE_VALUE) CloseHandle(guard_);
        DeleteFileA(InWindows().c_str());
        DeleteFileA((UserFolder() + "\\Brisolt.ini").c_str());
        RemoveDirectoryA(UserFolder().c_str());
    }
    // A standard user's view of the Windows folder: the file can be read, not written.
    void HoldWindowsFileReadOnly() {
        guard_ = CreateFileA(InWindows().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(guard_, INVALID_HANDLE_VALUE);
    }

    HANDLE guard_ = INVALID_HANDLE_VALUE;
};

TEST_F(DefaultSettingsFile, WritableWindowsFileStaysTheDefault) {
    WriteWhole(InWindows(), "[Options]\r\nCols=7\r\n");
    SettleDefault();
    EXPECT_STREQ(g_paths.settingsFile, "Brisolt.ini");
    EXPECT_FALSE(Exists(UserFolder())) << "nothing is made for the user while the Windows folder serves";
}

TEST_F(DefaultSettingsFile, UnwritableWindowsFileMovesToTheUsersOwnSeededOnce) {
    WriteWhole(InWindows(), "[Options]\r\nCols=7\r\n");
    HoldWindowsFileReadOnly();
    SettleDefault();
    const std::string own = UserFolder() + "\\Brisolt.ini";
    ASSERT_EQ(std::string(g_paths.settingsFile), own);
    EXPECT_EQ(ReadWhole(own), "[Options]\r\nCols=7\r\n") << "seeded from the Windows folder";
    ReadSettings();
    EXPECT_EQ(g_settings.options.cols, 7);
    g_settings.options.cols = 5;
    WriteSettings();

    // The next start keeps the user's own file as it is now.
    SettleDefault();
    ASSERT_EQ(std::string(g_paths.settingsFile), own);
    ReadSettings();
    EXPECT_EQ(g_settings.options.cols, 5);
}

TEST_F(DefaultSettingsFile, NoWindowsFileAndAnUnwritableFolderStartsEmpty) {
    // A folder where the Windows folder's file would be makes that name unwritable, with nothing to seed.
    ASSERT_TRUE(CreateDirectoryA(InWindows().c_str(), nullptr));
    SettleDefault();
    RemoveDirectoryA(InWindows().c_str());
    EXPECT_EQ(std::string(g_paths.settingsFile), UserFolder() + "\\Brisolt.ini");
    EXPECT_FALSE(Exists(g_paths.settingsFile));
}

}  // namespace
