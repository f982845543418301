// The built Brisolt.exe end to end: started with a settings file and a main file, closed only from its
// system menu, with exit status 0 and the main file saved as "Last file".
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/brisolt_process.h"
#include "support/test_files.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 15000;

class BrisoltEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        const std::string stem = LongPath(temp) + "brisolt_e2e_" + std::to_string(GetCurrentProcessId()) + "_" +
                                 std::to_string(++counter);
        ini_ = stem + ".ini";
        mainFile_ = stem + " paper.tex";
        std::ofstream(mainFile_) << "\\relax\n";
        std::ofstream(ini_, std::ios::binary) << "[Options]\r\nRows=1\r\nCols=4\r\n";
    }
    void TearDown() override {
        DeleteFileA(ini_.c_str());
        DeleteFileA(mainFile_.c_str());
    }
    std::string Arguments() const { return "/i \"" + ini_ + "\" \"" + mainFile_ + "\""; }
    std::string LastFile() const {
        char value[MAX_PATH] = "";
        GetPrivateProfileStringA("Options", "Last file", "<missing>", value, sizeof value, ini_.c_str());
        return value;
    }

    std::string ini_;
    std::string mainFile_;
};

TEST_F(BrisoltEndToEnd, SystemCloseEndsTheRunAndSavesTheMainFile) {
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments()));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    ASSERT_TRUE(brisolt.Post(WM_SYSCOMMAND, SC_CLOSE));
    const std::optional<DWORD> code = brisolt.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "Brisolt did not end after SC_CLOSE";
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(LastFile(), mainFile_);
}

TEST_F(BrisoltEndToEnd, ExitWithoutAMainFileEmptiesLastFileAndKeepsLastDir) {
    std::ofstream(ini_, std::ios::binary) << "[Options]\r\nRows=1\r\nCols=4\r\nLastDir=C:\\Keep\r\n";
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start("/i \"" + ini_ + "\""));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    // The system adds flags in the low four bits of SC_ values (a double click on the system menu).
    ASSERT_TRUE(brisolt.Post(WM_SYSCOMMAND, SC_CLOSE | 0x2));
    const std::optional<DWORD> code = brisolt.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "Brisolt did not end after SC_CLOSE";
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(LastFile(), "");
    char lastDir[MAX_PATH] = "";
    GetPrivateProfileStringA("Options", "LastDir", "<missing>", lastDir, sizeof lastDir, ini_.c_str());
    EXPECT_STREQ(lastDir, "C:\\Keep");
}

TEST_F(BrisoltEndToEnd, EscapeAndCloseMessageDoNotEndIt) {
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start(Arguments()));
    HWND bar = brisolt.WaitForMainWindow(kWindowTimeoutMs);
    ASSERT_NE(bar, nullptr);

    struct Attempt {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Attempt attempts[] = {
        {"Escape", WM_COMMAND, IDCANCEL},
        {"Enter", WM_COMMAND, IDOK},
        {"WM_CLOSE", WM_CLOSE, 0},
    };
    for (const Attempt& attempt : attempts) {
        SCOPED_TRACE(attempt.name);
        ASSERT_TRUE(brisolt.Post(attempt.message, attempt.wParam));
        // The bar answers a sent message only after it has dealt with the posted one before it.
        EXPECT_TRUE(brisolt.Send(WM_NULL).has_value());
        Sleep(300);
        EXPECT_TRUE(brisolt.IsRunning());
        EXPECT_TRUE(IsWindow(bar));
        EXPECT_EQ(brisolt.WaitForWindow(1000), bar);
    }

    ASSERT_TRUE(brisolt.Post(WM_SYSCOMMAND, SC_CLOSE));
    const std::optional<DWORD> code = brisolt.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "Brisolt did not end after SC_CLOSE";
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(IsWindow(bar));
}

}  // namespace
