// The built Brisolt.exe end to end: started with a settings file and a main file, or with the one beside
// it, closed only from its system menu, with exit status 0 and the main file saved as "Last file".
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/brisolt_process.h"
#include "support/environment.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/window_text.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 15000;

class BrisoltEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        WriteWhole(mainFile_, "\\relax\n");
        WriteWhole(ini_, "[Options]\r\nRows=1\r\nCols=4\r\n");
    }
    std::string Arguments() const { return "/i \"" + ini_ + "\" \"" + mainFile_ + "\""; }
    std::string LastFile() const { return IniValue(ini_, "Options", "Last file"); }

    TempFolder folder_{"brisolt_e2e"};
    const std::string ini_ = folder_.File("Brisolt.ini");
    const std::string mainFile_ = folder_.File("my paper.tex");
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
    WriteWhole(ini_, "[Options]\r\nRows=1\r\nCols=4\r\nLastDir=C:\\Keep\r\n");
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start("/i \"" + ini_ + "\""));
    ASSERT_NE(brisolt.WaitForMainWindow(kWindowTimeoutMs), nullptr);
    // The system adds flags in the low four bits of SC_ values (a double click on the system menu).
    ASSERT_TRUE(brisolt.Post(WM_SYSCOMMAND, SC_CLOSE | 0x2));
    const std::optional<DWORD> code = brisolt.WaitForExit(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "Brisolt did not end after SC_CLOSE";
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(LastFile(), "");
    EXPECT_EQ(IniValue(ini_, "Options", "LastDir"), "C:\\Keep");
}

// Unpacked from the ZIP and started with a double click: the ready bar beside the program is the settings.
TEST_F(BrisoltEndToEnd, WithoutANamedFileTheOneBesideTheProgramIsUsed) {
    const std::string program = folder_.File("Brisolt.exe");
    ASSERT_TRUE(CopyFileA((ExeFolder() + "Brisolt.exe").c_str(), program.c_str(), FALSE));
    WriteWhole(ini_, "[Options]\r\nRows=1\r\nCols=2\r\n[Buttons]\r\nTitle1=Beside\r\n");
    const ScopedVariable variable("Brisolt", nullptr);
    BrisoltProcess brisolt;
    ASSERT_TRUE(brisolt.Start("\"" + mainFile_ + "\"", program));
    const HWND bar = brisolt.WaitForMainWindow(kWindowTimeoutMs);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(bar, 500)), "Beside");
    const std::optional<DWORD> code = brisolt.Close(kExitTimeoutMs);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(LastFile(), mainFile_);
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
