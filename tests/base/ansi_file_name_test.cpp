// Wide file names made into ANSI names under Wine: kept when the code page has every letter, the short
// form when it has not, nothing when there is no short form.
#include "base/ansi_file_name.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

// Greek and Cyrillic letters, which no Western code page has, and a blank.
const std::wstring kForeignName = L"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae \u0442\u0435\u0441\u0442.tex";

class AnsiFileNames : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 1252u) << "the cases below are for a Western code page"; }
    TempFolder folder_{"brisolt_ansi_name"};
    const std::wstring folder = Widen(folder_.path()) + L"\\";
};

TEST_F(AnsiFileNames, ANameTheCodePageCanWriteStaysAsItIs) {
    // "é" is in the code page: kept, even for a file that does not exist.
    const std::wstring name = folder + L"r\u00e9sum\u00e9 one.tex";
    char out[MAX_PATH] = "stale";
    EXPECT_EQ(AnsiFileName(name.c_str(), out, sizeof out), AnsiName::kExact);
    EXPECT_EQ(std::string(out), folder_.path() + "\\r\xe9sum\xe9 one.tex");
}

TEST_F(AnsiFileNames, ANameThatNeedsMoreRoomThanThereIsGivesTheShortFormNeverACutOne) {
    // As a name of fewer than 260 letters can need on a double-byte code page.
    const std::wstring name = folder + L"a rather long name of a paper.tex";
    ASSERT_TRUE(WriteWholeWide(name, "x"));
    const std::string shortForm = ShortPathOf(name);
    std::string out(shortForm.size() + 1, '\0');
    ASSERT_LT(out.size(), name.size());
    EXPECT_EQ(AnsiFileName(name.c_str(), &out[0], out.size()), AnsiName::kShortForm);
    EXPECT_EQ(out.c_str(), shortForm);
    // Without a short form there is no name at all.
    char field[MAX_PATH] = "stale";
    const std::wstring longName = L"C:\\" + std::wstring(400, L'n');
    EXPECT_EQ(AnsiFileName(longName.c_str(), field, sizeof field), AnsiName::kNone);
    EXPECT_STREQ(field, "");
}

TEST_F(AnsiFileNames, ForeignLettersGiveTheShortFormWhichOpensTheFile) {
    const std::wstring name = folder + kForeignName;
    ASSERT_TRUE(WriteWholeWide(name, "\\relax\n"));
    char out[MAX_PATH] = "stale";
    EXPECT_EQ(AnsiFileName(name.c_str(), out, sizeof out), AnsiName::kShortForm);
    EXPECT_EQ(std::string(out), ShortPathOf(name));
    EXPECT_EQ(std::string(out).find('?'), std::string::npos) << out;
    EXPECT_EQ(ReadWhole(out), "\\relax\n");
    // The short form must fit whole: a cut one would name another file.
    char small[12] = "stale";
    EXPECT_EQ(AnsiFileName(name.c_str(), small, sizeof small), AnsiName::kNone);
    EXPECT_STREQ(small, "");
}

TEST_F(AnsiFileNames, LookAlikesAreNotTakenForTheLetters) {
    // Best fit writes the Greek mu as the micro sign with no warning: a name that looks whole and opens
    // nothing.
    ASSERT_EQ(Narrow(L"\u03bc"), "\xb5");
    const std::wstring name = folder + L"\u03bc\u0100\u0103.tex";
    ASSERT_TRUE(WriteWholeWide(name, "x"));
    char out[MAX_PATH] = "";
    EXPECT_EQ(AnsiFileName(name.c_str(), out, sizeof out), AnsiName::kShortForm);
    EXPECT_EQ(ReadWhole(out), "x");
}

TEST_F(AnsiFileNames, WithoutAShortFormThereIsNoName) {
    const std::wstring missing = folder + L"\u043d\u0435\u0442 " + kForeignName;
    char out[MAX_PATH] = "stale";
    EXPECT_EQ(AnsiFileName(missing.c_str(), out, sizeof out), AnsiName::kNone);
    EXPECT_STREQ(out, "");
}

}  // namespace
