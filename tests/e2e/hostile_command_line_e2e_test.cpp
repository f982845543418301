// Command lines of every shape and length against the built program: options in each spelling, taken
// twice, at the end or empty; main files that exist, in short form, relative, missing, non-ASCII and of
// 259 characters and more; quotes, tabs and runs of blanks; junk arguments up to a line of 30000
// characters. For each the program starts, lays out, opens and cancels the configuration dialog and
// closes; its settings file then holds everything it held before, with the main file the line named (cut
// to 259 characters) as "Last file". A settings file named with more than 259 characters is refused.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "e2e/hostile_inputs.h"
#include "e2e/ini_snapshot.h"
#include "e2e/user_session.h"
#include "support/brisolt_process.h"
#include "support/dialog_watcher.h"
#include "support/environment.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

constexpr unsigned kSeed = 1207;
constexpr int kLineCount = 16;
constexpr DWORD kExitMs = 30000;

// One argument of a generated line, with what the scan makes of it.
struct Piece {
    std::string text;     // as it stands on the line
    std::string value;    // the argument the scan returns for it
    char option = 0;      // 'i' or 'd' for an option word whose value is the next piece
};

// A generated line with what the program must make of it.
struct GeneratedLine {
    std::string text;
    bool namesSettings = false;     // a /i took the test's settings file
    std::string mainFile;           // after the cut and the long form; empty: none on the line
    std::string defaultFolder;
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Seeded(const TempFolder& folder) {
    return "[Options]\r\nRows=2\r\nCols=5\r\nLast file=" + folder.File("seeded.tex") +
           "\r\nLastDir=C:\\seeded dir\r\n[Buttons]\r\nTitle1=Kept\r\n[Kept]\r\nkey=value\r\n";
}

class LineMaker {
public:
    LineMaker(int index, const TempFolder& folder, const std::string& ini)
        : inputs_(kSeed + static_cast<unsigned>(index)), index_(index), folder_(folder), ini_(ini) {}

    GeneratedLine Make() {
        std::vector<Piece> pieces;
        // Options before the main file, in any order and spelling; sometimes none.
        if (inputs_.Chance(0.6)) AddSettingsOption(pieces);
        if (inputs_.Chance(0.5)) AddFolderOption(pieces);
        if (inputs_.Chance(0.2)) pieces.push_back({"\"\"", "", 0});  // an empty argument takes no slot
        AddMainFile(pieces);
        // What follows the main file: options taken late or twice, and junk.
        if (inputs_.Chance(0.4)) AddSettingsOption(pieces);
        if (inputs_.Chance(0.3)) AddFolderOption(pieces);
        const int junk = index_ % 5 == 4 ? 200 : inputs_.Between(0, 6);
        for (int i = 0; i < junk; ++i) pieces.push_back(Junk(index_ % 5 == 4 ? 140 : 40));
        if (inputs_.Chance(0.3)) pieces.push_back({"\"unterminated", "\"unterminated", 0});
        if (inputs_.Chance(0.2)) AddOption(pieces, inputs_.Pick({"/i", "-d", "/D"}), 0);  // at the very end

        GeneratedLine line;
        bool settingsTaken = false;
        bool folderTaken = false;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            line.text += (i == 0 ? "" : inputs_.Pick({" ", "   ", " \t", " \t \t"})) + pieces[i].text;
            const Piece& piece = pieces[i];
            const bool hasValue = i + 1 < pieces.size();
            if (piece.option == 'i' && !settingsTaken && hasValue) {
                settingsTaken = !pieces[++i].value.empty();
                line.text += " " + pieces[i].text;
                line.namesSettings = settingsTaken;
                continue;
            }
            if (piece.option == 'd' && !folderTaken && hasValue) {
                folderTaken = !pieces[++i].value.empty();
                line.text += " " + pieces[i].text;
                line.defaultFolder = pieces[i].value.substr(0, 259);
                continue;
            }
            if (line.mainFile.empty() && !piece.value.empty()) line.mainFile = LongPath(piece.value.substr(0, 259));
        }
        return line;
    }

private:
    // An option word is an ordinary argument when its option is taken already or nothing follows it.
    void AddOption(std::vector<Piece>& pieces, const char* word, char option) {
        pieces.push_back({word, word, option});
    }

    void AddSettingsOption(std::vector<Piece>& pieces) {
        AddOption(pieces, inputs_.Pick({"/i", "-i", "/I", "-I"}), 'i');
        if (inputs_.Chance(0.2)) {
            pieces.push_back({"\"\"", "", 0});
        } else if (inputs_.Chance(0.5)) {
            pieces.push_back({ShortPath(ini_), ShortPath(ini_), 0});
        } else {
            pieces.push_back({Quoted(ini_), ini_, 0});
        }
    }

    void AddFolderOption(std::vector<Piece>& pieces) {
        AddOption(pieces, inputs_.Pick({"/d", "-d", "/D", "-D"}), 'd');
        const std::string values[] = {folder_.path(), "C:\\no such folder", "C:\\" + std::string(300, 'd'),
                                      "C:\\\xe9t\xe9 \xfc\xf1\xee", ""};
        const std::string& value = inputs_.Pick(values);
        pieces.push_back({Quoted(value), value, 0});
    }

    // The main file's kinds come round in turn, so that every line count sees each.
    void AddMainFile(std::vector<Piece>& pieces) {
        const std::string existing = folder_.File("my paper " + std::to_string(index_) + ".tex");
        WriteWhole(existing, "\\relax\n");
        switch (index_ % 8) {
        case 0:
            pieces.push_back({Quoted(existing), existing, 0});
            break;
        case 1:
            pieces.push_back({ShortPath(existing), ShortPath(existing), 0});
            break;
        case 2:
            pieces.push_back({"paper.tex", "paper.tex", 0});  // relative, and missing in the current folder
            break;
        case 3:
            pieces.push_back({Quoted(folder_.File("missing.tex")), folder_.File("missing.tex"), 0});
            break;
        case 4: {
            const std::string name = "C:\\" + std::string(252, 'm') + ".tex";  // 259 characters
            pieces.push_back({name, name, 0});
            break;
        }
        case 5: {
            const std::string name = folder_.File(std::string(inputs_.Between(240, 5000), 'x') + ".tex");
            pieces.push_back({Quoted(name), name, 0});
            break;
        }
        case 6: {
            const std::string name = folder_.File("\xe4\xf6\xfc %@n% 100%% & ^ ; , = \xff.tex");
            pieces.push_back({Quoted(name), name, 0});
            break;
        }
        default:
            break;  // no main file: "Last file" of the settings file stands
        }
    }

    Piece Junk(int longest) {
        std::string text = inputs_.Text();
        for (char& c : text) {
            if (c == '"' || std::isspace(static_cast<unsigned char>(c))) c = '_';
        }
        if (text.empty()) text = "-";
        if (static_cast<int>(text.size()) > longest) text.resize(static_cast<std::size_t>(longest));
        return {text, text, 0};
    }

    HostileInputs inputs_;
    int index_;
    const TempFolder& folder_;
    const std::string& ini_;
};

class HostileCommandLines : public ::testing::TestWithParam<int> {};

TEST_P(HostileCommandLines, SessionKeepsTheSettings) {
    TempFolder folder("hostile line");
    ASSERT_FALSE(folder.path().empty());
    const std::string ini = folder.File("Brisolt.ini");
    const std::string decoy = folder.File("decoy.ini");
    const std::string copy = folder.File("before.ini");
    const std::string seeded = Seeded(folder);
    WriteWhole(ini, seeded);
    WriteWhole(copy, seeded);

    const GeneratedLine line = LineMaker(GetParam(), folder, ini).Make();
    SCOPED_TRACE("line of " + std::to_string(line.text.size()) + " characters: " + line.text.substr(0, 300));
    // Without a /i the variable names the settings file; with one, it names a file that must stay unmade.
    const ScopedVariable variable("Brisolt", (line.namesSettings ? decoy : ini).c_str());
    const SessionReport report = RunSession(line.text, copy);

    ASSERT_TRUE(report.started) << "no bar came up";
    EXPECT_EQ(report.layoutProblem, "");
    EXPECT_TRUE(report.configurationCancelled);
    ASSERT_TRUE(report.exitCode.has_value()) << "the program did not end";
    EXPECT_EQ(*report.exitCode, 0u);
    for (const std::string& message : report.messages) ADD_FAILURE() << "message: " << message;

    EXPECT_FALSE(Exists(decoy));
    for (const std::string& difference : CompareSettings(ParseIni(seeded), ParseIni(ReadWhole(ini)), SessionWrites()))
        ADD_FAILURE() << difference;
    const bool fromLine = !line.mainFile.empty();
    EXPECT_EQ(IniValue(ini, "Options", "Last file"), fromLine ? line.mainFile : folder.File("seeded.tex"));
    EXPECT_EQ(IniValue(ini, "Options", "LastDir"), fromLine ? line.defaultFolder : "C:\\seeded dir");
}

INSTANTIATE_TEST_SUITE_P(Seeded, HostileCommandLines, ::testing::Range(0, kLineCount));

// The names of what a folder holds, to see that nothing was made in it.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST(OverLongSettingsName, IsRefusedWithTheFatalErrorBox) {
    TempFolder folder("long_settings");
    ASSERT_FALSE(folder.path().empty());
    const std::string stem = folder.path() + "\\";
    // Names of exactly 260 characters and longer, each in the test's folder, so that a file made under
    // the name cut to 259 characters would show there.
    const std::string name260 = stem + std::string(260 - stem.size() - 4, 'n') + ".ini";
    const std::string name400 = stem + "with blanks " + std::string(384 - stem.size(), 'b') + ".ini";
    ASSERT_EQ(name260.size(), 260u);
    struct Row {
        const char* name;
        std::string line;
        const char* variable;
    };
    const Row rows[] = {
        {"/i with 260 characters", "/i " + name260 + " paper.tex", nullptr},
        {"-I with 400 characters, quoted", "-I \"" + name400 + "\"", nullptr},
        {"variable with 260 characters", "paper.tex", name260.c_str()},
        {"variable with 400 characters", "", name400.c_str()},
    };
    const std::vector<std::string> before = Listing(folder.path());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScopedVariable variable("Brisolt", row.variable);
        BrisoltProcess brisolt;
        ASSERT_TRUE(brisolt.Start(row.line));
        DialogWatcher box({"Fatal Error in Brisolt"}, IDOK, kExitMs, brisolt.ProcessId());
        EXPECT_TRUE(box.Wait(kExitMs)) << "no error box";
        EXPECT_EQ(box.text(), "The name of the settings file is longer than 259 characters.");
        const std::optional<DWORD> code = brisolt.WaitForExit(kExitMs);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 1u);
        EXPECT_EQ(Listing(folder.path()), before) << "a file was made";
    }
}

TEST(OverLongSettingsName, NameOf259CharactersIsUsed) {
    TempFolder folder("long_settings");
    ASSERT_FALSE(folder.path().empty());
    const std::string stem = folder.path() + "\\";
    const std::string name259 = stem + std::string(259 - stem.size() - 4, 'n') + ".ini";
    ASSERT_EQ(name259.size(), 259u);
    WriteWhole(name259, "[Options]\r\nRows=1\r\nCols=3\r\n");
    const std::string copy = folder.File("before.ini");
    WriteWhole(copy, ReadWhole(name259));
    const SessionReport report = RunSession("/i " + name259 + " " + folder.File("paper.tex"), copy);
    ASSERT_TRUE(report.started);
    EXPECT_EQ(report.layoutProblem, "");
    ASSERT_TRUE(report.exitCode.has_value());
    EXPECT_EQ(*report.exitCode, 0u);
    EXPECT_EQ(IniValue(name259, "Options", "Last file"), folder.File("paper.tex"));
}

}  // namespace
