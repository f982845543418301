// Tests of the buttons' icon rules: reloading with the fallbacks, handle ownership and the face's source.
#include "config/button_icon_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/bounded_text.h"

namespace {

void* Handle(std::uintptr_t value) { return reinterpret_cast<void*>(value); }

// A file system of icon files: each file has a number of icons; a program association per command.
class FakeIconSystem : public IconSystem {
public:
    std::map<std::string, int> iconCounts;       // file -> icons it holds
    std::map<std::string, std::string> programs;  // command -> program that opens it
    std::string failedAnswer;                     // what the finder writes when it finds nothing
    bool halfExtraction = false;                  // files give a large icon but no small one
    bool extractGivesOne = false;                 // missing icons come back as handle 1, not 0

    std::vector<int> clearedFaces;
    std::vector<std::string> extracted;  // "file,index"
    std::vector<std::string> lookedUp;
    std::set<void*> alive;
    std::vector<void*> destroyed;

    void ClearBarFace(int index) override { clearedFaces.push_back(index); }
    void DestroyIcon(void* icon) override {
        destroyed.push_back(icon);
        alive.erase(icon);
    }
    void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) override {
        extracted.push_back(std::string(file) + "," + std::to_string(iconNumber));
        const auto found = iconCounts.find(file);
        const void* none = extractGivesOne ? Handle(1) : nullptr;
        large = const_cast<void*>(none);
        small = const_cast<void*>(none);
        if (found == iconCounts.end() || iconNumber >= found->second) return;
        large = NewIcon();
        if (!halfExtraction) small = NewIcon();
    }
    bool FindProgram(const char* command, char (&program)[kPathSize]) override {
        lookedUp.push_back(command);
        const auto found = programs.find(command);
        CopyText(program, found == programs.end() ? failedAnswer : found->second);
        return found != programs.end();
    }

private:
    void* NewIcon() {
        void* icon = Handle(next_);
        next_ += 16;
        alive.insert(icon);
        return icon;
    }
    std::uintptr_t next_ = 0x1000;
};

ButtonDef MakeDef(const char* iconFile, int iconNumber, const char* command = "C:\\Papers\\thesis.tex") {
    ButtonDef def;
    CopyText(def.iconFile, iconFile);
    def.iconNumber = iconNumber;
    CopyText(def.command, command);
    return def;
}

// ---- Loading a ButtonDef's own icons

struct ReloadCase {
    const char* name;
    const char* iconFile;
    int iconNumber;
    const char* command;
    const char* expectedFile;
    int expectedNumber;
    std::vector<std::string> expectedExtractions;
    std::vector<std::string> expectedLookups;
};

class ReloadIcons : public ::testing::TestWithParam<ReloadCase> {};

TEST_P(ReloadIcons, OwnIconOrFallback) {
    const ReloadCase& c = GetParam();
    FakeIconSystem system;
    system.iconCounts = {{"C:\\Tools\\three.exe", 3}, {"C:\\Editors\\edit.exe", 1}, {"C:\\Viewers\\noicon.exe", 0}};
    system.programs = {{"C:\\Papers\\thesis.tex", "C:\\Editors\\edit.exe"},
                       {"C:\\Papers\\paper.pdf", "C:\\Viewers\\noicon.exe"}};
    ButtonDef def = MakeDef(c.iconFile, c.iconNumber, c.command);
    ReloadButtonIcons(def, 7, system);

    EXPECT_STREQ(def.iconFile, c.expectedFile);
    EXPECT_EQ(def.iconNumber, c.expectedNumber);
    EXPECT_EQ(system.extracted, c.expectedExtractions);
    EXPECT_EQ(system.lookedUp, c.expectedLookups);
    if (c.expectedNumber >= 0) {
        EXPECT_TRUE(IsIcon(def.largeIcon));
        EXPECT_TRUE(IsIcon(def.smallIcon));
        EXPECT_NE(def.largeIcon, def.smallIcon);
        EXPECT_EQ(system.alive, (std::set<void*>{def.largeIcon, def.smallIcon}));
    } else {
        EXPECT_EQ(def.largeIcon, nullptr);
        EXPECT_EQ(def.smallIcon, nullptr);
        EXPECT_TRUE(system.alive.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Icons, ReloadIcons,
    ::testing::Values(
        ReloadCase{"ThirdIconOfAProgram", "C:\\Tools\\three.exe", 2, "C:\\Papers\\thesis.tex", "C:\\Tools\\three.exe", 2,
                   {"C:\\Tools\\three.exe,2"}, {}},
        ReloadCase{"IndexBeyondTheFileFallsBackToTheProgram", "C:\\Tools\\three.exe", 5, "C:\\Papers\\thesis.tex",
                   "C:\\Editors\\edit.exe", 0, {"C:\\Tools\\three.exe,5", "C:\\Editors\\edit.exe,0"},
                   {"C:\\Papers\\thesis.tex"}},
        ReloadCase{"UnreadableFileFallsBackToTheProgram", "C:\\gone.ico", 0, "C:\\Papers\\thesis.tex",
                   "C:\\Editors\\edit.exe", 0, {"C:\\gone.ico,0", "C:\\Editors\\edit.exe,0"}, {"C:\\Papers\\thesis.tex"}},
        ReloadCase{"NoProgramLeavesNoOwnIcon", "C:\\Tools\\three.exe", 5, "latex", "C:\\Tools\\three.exe", -1, {"C:\\Tools\\three.exe,5"},
                   {"latex"}},
        ReloadCase{"ProgramWithoutIconsLeavesNoOwnIcon", "C:\\Tools\\three.exe", 9, "C:\\Papers\\paper.pdf",
                   "C:\\Viewers\\noicon.exe", -1, {"C:\\Tools\\three.exe,9", "C:\\Viewers\\noicon.exe,0"},
                   {"C:\\Papers\\paper.pdf"}},
        ReloadCase{"EmptyIconFileMeansNoIcon", "", 4, "C:\\Papers\\thesis.tex", "", -1, {}, {}},
        ReloadCase{"NumberMinusOneLoadsNothing", "C:\\Tools\\three.exe", -1, "C:\\Papers\\thesis.tex",
                   "C:\\Tools\\three.exe", -1, {}, {}},
        ReloadCase{"AnyNegativeNumberLoadsNothing", "C:\\Tools\\three.exe", -7, "C:\\Papers\\thesis.tex",
                   "C:\\Tools\\three.exe", -7, {}, {}}),
    [](const ::testing::TestParamInfo<ReloadCase>& info) { return std::string(info.param.name); });

TEST(ReloadIconsHandles, PreviousIconsAreDestroyedAndTheBarFaceClearedFirst) {
    FakeIconSystem system;
    system.iconCounts = {{"C:\\Tools\\three.exe", 3}};
    ButtonDef def = MakeDef("C:\\Tools\\three.exe", 1);
    ReloadButtonIcons(def, 12, system);
    void* const oldLarge = def.largeIcon;
    void* const oldSmall = def.smallIcon;
    ReloadButtonIcons(def, 12, system);
    EXPECT_EQ(system.clearedFaces, (std::vector<int>{12, 12}));
    EXPECT_EQ(system.destroyed, (std::vector<void*>{oldLarge, oldSmall}));
    EXPECT_NE(def.largeIcon, oldLarge);
    EXPECT_EQ(system.alive, (std::set<void*>{def.largeIcon, def.smallIcon}));
}

TEST(ReloadIconsHandles, HandleOneIsNeverDestroyed) {
    FakeIconSystem system;
    ButtonDef def = MakeDef("", -1);
    def.largeIcon = Handle(1);
    def.smallIcon = nullptr;
    ReloadButtonIcons(def, 0, system);
    EXPECT_TRUE(system.destroyed.empty());
    EXPECT_EQ(def.largeIcon, nullptr);
}

TEST(ReloadIconsHandles, ButtonDefOutsideTheTableClearsNoBarFace) {
    FakeIconSystem system;
    ButtonDef def = MakeDef("", -1);
    ReloadButtonIcons(def, -1, system);
    EXPECT_TRUE(system.clearedFaces.empty());
}

TEST(ReloadIconsHandles, HalfExtractedPairIsReleasedBeforeTheFallback) {
    FakeIconSystem system;
    system.iconCounts = {{"C:\\Tools\\three.exe", 3}, {"C:\\Editors\\edit.exe", 1}};
    system.programs = {{"C:\\Papers\\thesis.tex", "C:\\Editors\\edit.exe"}};
    system.halfExtraction = true;
    ButtonDef def = MakeDef("C:\\Tools\\three.exe", 0);
    ReloadButtonIcons(def, 3, system);
    EXPECT_EQ(def.iconNumber, -1);
    EXPECT_EQ(def.largeIcon, nullptr);
    EXPECT_EQ(def.smallIcon, nullptr);
    EXPECT_EQ(system.destroyed.size(), 2u);  // one large icon from each attempt
    EXPECT_TRUE(system.alive.empty());
}

TEST(ReloadIconsHandles, HandleOneFromExtractionCountsAsNone) {
    FakeIconSystem system;
    system.extractGivesOne = true;
    ButtonDef def = MakeDef("C:\\gone.ico", 0, "latex");
    ReloadButtonIcons(def, 3, system);
    EXPECT_EQ(def.iconNumber, -1);
    EXPECT_EQ(def.largeIcon, nullptr);
    EXPECT_EQ(def.smallIcon, nullptr);
    EXPECT_TRUE(system.destroyed.empty());
}

TEST(ReloadIconsHandles, FailedLookupKeepsTheIconFile) {
    FakeIconSystem system;
    system.failedAnswer = "";
    ButtonDef def = MakeDef("C:\\gone.ico", 3, "latex");
    ReloadButtonIcons(def, 3, system);
    EXPECT_STREQ(def.iconFile, "C:\\gone.ico");
    EXPECT_EQ(def.iconNumber, -1);
}

// ---- Where a face comes from

struct FaceCase {
    const char* name;
    const char* iconFile;
    int iconNumber;
    std::uintptr_t large, small;
    FaceSource expected;
};

class FaceSources : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceSources, OwnIconOnlyWhenComplete) {
    const FaceCase& c = GetParam();
    ButtonDef def = MakeDef(c.iconFile, c.iconNumber);
    def.largeIcon = Handle(c.large);
    def.smallIcon = Handle(c.small);
    EXPECT_EQ(ChooseFaceSource(def), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Icons, FaceSources,
    ::testing::Values(FaceCase{"Complete", "C:\\a.ico", 0, 0x100, 0x200, FaceSource::kOwnIcon},
                      FaceCase{"NumberMinusOne", "C:\\a.ico", -1, 0x100, 0x200, FaceSource::kShellIcon},
                      FaceCase{"EmptyFile", "", 0, 0x100, 0x200, FaceSource::kShellIcon},
                      FaceCase{"NoLarge", "C:\\a.ico", 0, 0, 0x200, FaceSource::kShellIcon},
                      FaceCase{"NoSmall", "C:\\a.ico", 2, 0x100, 0, FaceSource::kShellIcon},
                      FaceCase{"HandleOne", "C:\\a.ico", 2, 1, 0x200, FaceSource::kShellIcon}),
    [](const ::testing::TestParamInfo<FaceCase>& info) { return std::string(info.param.name); });

TEST(IconHandles, ZeroAndOneAreNoIcon) {
    EXPECT_FALSE(IsIcon(nullptr));
    EXPECT_FALSE(IsIcon(Handle(1)));
    EXPECT_TRUE(IsIcon(Handle(2)));
    EXPECT_TRUE(IsIcon(Handle(0x10000)));
}

}  // namespace
