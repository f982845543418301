// Hostile settings files against the built program: generated from seeds (extreme and malformed numbers,
// over-long, non-ASCII and placeholder-laden texts, sections and keys missing, duplicated and out of
// range), an empty file, one that does not exist, 1 MB of them, UTF-8 and UTF-16 text of many scripts, and
// a folder in place of the file. For each the program starts, lays its bar out, opens and cancels the
// configuration dialog and closes, and the file afterwards holds everything it held before except what a
// session is specified to write.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/hostile_inputs.h"
#include "e2e/ini_snapshot.h"
#include "e2e/user_session.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

constexpr unsigned kSeed = 20261207;

enum class Shape {
    kGenerated, kEmpty, kMissing, kFolder, kOneMegabyte, kNoSections, kLongValues, kIcons, kCaptionQueries,
    kExtremePlace, kUtf8, kUtf16,
};

struct SettingsCase {
    const char* name;
    Shape shape;
};

const SettingsCase kCases[] = {
    {"empty file", Shape::kEmpty},
    {"file that does not exist", Shape::kMissing},
    {"folder in place of the file", Shape::kFolder},
    {"1 MB file", Shape::kOneMegabyte},
    {"lines without sections", Shape::kNoSections},
    {"values of 60000 characters", Shape::kLongValues},
    {"every button with an icon from an awkward file", Shape::kIcons},
    {"a caption that asks for values", Shape::kCaptionQueries},
    {"window places at the extremes", Shape::kExtremePlace},
    {"UTF-8 with its byte order mark", Shape::kUtf8},
    {"UTF-16", Shape::kUtf16},
};
constexpr int kGeneratedCases = 10;

const char* const kIconFiles[] = {
    "C:\\windows\\system32\\shell32.dll", "C:\\windows\\notepad.exe", "C:\\windows", "con", "nul",
    "C:\\does\\not\\exist.ico", "C:\\windows\\system32\\kernel32.dll", "\\\\nosuchserver\\share\\x.ico",
    "C:\\windows\\win.ini", "aux", "prn", "",
};
const char* const kIconNumbers[] = {"0", "-1", "1", "-2", "300", "2147483647", "-2147483648", "99999999999", "x"};
constexpr int kCaseCount = static_cast<int>(sizeof kCases / sizeof kCases[0]) + kGeneratedCases;

// A file in UTF-8 or UTF-16 (by its byte order mark) as UTF-8 text without the mark, so that the
// comparison reads every encoding alike; other files as they are.
std::string AsText(const std::string& bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
    if (bytes.compare(0, 2, "\xFF\xFE") != 0) return bytes;
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                       static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
    std::string text(wide.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                           static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string Utf16(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0],
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length));
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : wide) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

// Text of every script, in UTF-8: Latin, Cyrillic, Greek and Chinese, which no one ANSI code page holds.
const char kManyScripts[] =
    "[Options]\r\nRows=2\r\nCols=4\r\nCaption=Caf\xC3\xA9 \xD0\x91\xD1\x80\xD0\xB8\r\n[Buttons]\r\n"
    "Title1=\xCE\xB1\xCE\xB2\xCE\xB3\r\nCommand1=\xE4\xB8\xAD\xE6\x96\x87.exe\r\nTip2=na\xC3\xAFve\r\n"
    "[\xD0\xA0\xD0\xB0\xD0\xB7\xD0\xBD\xD0\xBE\xD0\xB5]\r\n\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87=\xE5\x80\xBC\r\n";

std::string ProfileString(const std::string& file, const char* key) {
    char value[260] = "";
    GetPrivateProfileStringA("Options", key, "", value, sizeof value, file.c_str());
    return value;
}

class HostileSettings : public ::testing::TestWithParam<int> {};

TEST_P(HostileSettings, SessionKeepsTheFile) {
    const int index = GetParam();
    const bool special = index < static_cast<int>(sizeof kCases / sizeof kCases[0]);
    const Shape shape = special ? kCases[index].shape : Shape::kGenerated;
    SCOPED_TRACE(std::string(special ? kCases[index].name : "generated") + ", seed " +
                 std::to_string(kSeed + index));
    HostileInputs inputs(kSeed + static_cast<unsigned>(index));

    TempFolder folder("hostile settings");
    ASSERT_FALSE(folder.path().empty());
    const std::string ini = folder.File("Brisolt.ini");
    const std::string copy = folder.File("before.ini");
    const std::string mainFile = folder.File("paper " + std::to_string(index) + ".tex");
    WriteWhole(mainFile, "\\relax\n");
    // A folder in place of the file cannot be written: the one notice names it, and a bar with a main file
    // has a caption of its own.
    const bool mainOnLine = shape == Shape::kFolder || shape == Shape::kCaptionQueries ||
                            shape == Shape::kExtremePlace || inputs.Chance(0.5);

    std::string text;
    switch (shape) {
    case Shape::kGenerated:
        text = inputs.SettingsFile(mainFile);
        break;
    case Shape::kEmpty:
    case Shape::kMissing:
    case Shape::kFolder:
        break;
    case Shape::kOneMegabyte:
        text = inputs.BigSettingsFile(1 << 20, mainFile);
        break;
    case Shape::kNoSections:
        for (int i = 0; i < 40; ++i) text += (inputs.Chance(0.5) ? "key=" : "") + inputs.Text() + "\r\n";
        break;
    case Shape::kIcons:
        text = "[Options]\r\nRows=5\r\nCols=10\r\n[Buttons]\r\n";
        for (int i = 1; i <= 50; ++i) {
            text += "Use icon" + std::to_string(i) + "=1\r\nIcon" + std::to_string(i) + "=" + inputs.Pick(kIconFiles) +
                    "\r\nIcon number" + std::to_string(i) + "=" + inputs.Pick(kIconNumbers) + "\r\n";
        }
        break;
    case Shape::kCaptionQueries:
        text = "[Options]\r\nCaption=%?First% and %?Second=" + std::string(200, 's') + "% of %@n%\r\n";
        break;
    case Shape::kExtremePlace:
        text = "[Options]\r\nX=2147483647\r\nY=-2147483648\r\nWidth=2147483647\r\nHeight=-5\r\n[Files]\r\nFile0=" +
               mainFile + "\r\n[Positions]\r\nPos0=-2147483648,2147483647,2147483647,2147483647\r\n";
        break;
    case Shape::kUtf8:
        text = std::string("\xEF\xBB\xBF") + kManyScripts;
        break;
    case Shape::kUtf16:
        text = Utf16(kManyScripts);
        break;
    case Shape::kLongValues:
        text = "[Options]\r\nCaption=" + std::string(60000, 'c') + "\r\nLast file=" + std::string(60000, 'l') +
               "\r\n[Buttons]\r\nTitle1=" + std::string(60000, 't') + "\r\nOptions1=\"" + std::string(60000, 'o') +
               "\"\r\nIcon1=" + std::string(60000, 'i') + "\r\nUse icon1=1\r\n[Files]\r\nFile0=" +
               std::string(60000, 'f') + "\r\n[Positions]\r\nPos0=" + std::string(60000, '9') + "\r\n";
        break;
    }
    if (shape == Shape::kFolder) {
        MakeFolder(ini);
    } else if (shape != Shape::kMissing) {
        WriteWhole(ini, text);
        WriteWhole(copy, text);
    }
    const std::string lastFileBefore = ProfileString(copy, "Last file");
    const std::string lastDirBefore = ProfileString(copy, "LastDir");

    std::string arguments = "/i \"" + ini + "\"";
    if (mainOnLine) arguments += " \"" + mainFile + "\"";
    const SessionReport report = RunSession(arguments, copy);

    ASSERT_TRUE(report.started) << "no bar came up";
    EXPECT_EQ(report.layoutProblem, "");
    EXPECT_TRUE(report.configurationCancelled);
    ASSERT_TRUE(report.exitCode.has_value()) << "the program did not end";
    EXPECT_EQ(*report.exitCode, 0u);

    if (shape == Shape::kCaptionQueries) {
        // The first field starts empty, the second with its default; OK takes them as they are.
        EXPECT_EQ(report.caption, " and " + std::string(200, 's') + " of paper " + std::to_string(index));
    }
    if (shape == Shape::kFolder) {
        EXPECT_NE(GetFileAttributesA(ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
        ASSERT_EQ(report.messages.size(), 1u);
        EXPECT_EQ(report.messages[0], "Brisolt could not save its settings in\n" + ini +
                                          "\nChanges made now last only until Brisolt ends.");
        return;
    }
    for (const std::string& message : report.messages) ADD_FAILURE() << "message: " << message;

    const std::string after = ReadWhole(ini);
    for (const std::string& difference :
         CompareSettings(ParseIni(AsText(text)), ParseIni(AsText(after)), SessionWrites()))
        ADD_FAILURE() << difference;
    const std::string lastFile = mainOnLine ? mainFile : lastFileBefore;
    EXPECT_EQ(ProfileString(ini, "Last file"), lastFile);
    if (!lastFile.empty()) {
        EXPECT_EQ(ProfileString(ini, "LastDir"), mainOnLine ? "" : lastDirBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeded, HostileSettings, ::testing::Range(0, kCaseCount));

}  // namespace
