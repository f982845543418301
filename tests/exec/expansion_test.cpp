// Table-driven tests of the placeholder language against a scripted host.
#include "exec/expansion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char kMain[] = "C:\\Papers\\Thesis\\chapter1.tex";

struct AskedQuery {
    std::string name;
    std::string initial;
    bool operator==(const AskedQuery& other) const { return name == other.name && initial == other.initial; }
};

// Answers from tables; std::nullopt in `answers` is a press on Cancel.
class FakeHost : public ExpansionHost {
public:
    std::map<std::string, std::string> environment;
    std::map<std::string, std::string> shortPaths;
    std::vector<std::optional<std::string>> answers;
    std::vector<AskedQuery> asked;
    std::vector<std::string> shortPathCalls;

    std::size_t Environment(std::string_view name, char* value, std::size_t room) override {
        const auto found = environment.find(std::string(name));
        if (found == environment.end()) return 0;
        if (found->second.size() < room) std::memcpy(value, found->second.c_str(), found->second.size() + 1);
        return found->second.size();
    }
    bool ShortPath(std::string_view path, char* shortPath, std::size_t room) override {
        shortPathCalls.emplace_back(path);
        const auto found = shortPaths.find(std::string(path));
        return found != shortPaths.end() && text::CopyInto(shortPath, room, found->second);
    }
    bool Query(std::string_view name, std::string_view initial, char* answer, std::size_t room) override {
        asked.push_back({std::string(name), std::string(initial)});
        const std::size_t k = asked.size() - 1;
        if (k >= answers.size() || !answers[k]) return false;
        text::CopyInto(answer, room, *answers[k]);
        return true;
    }
    std::string_view DisplayName() override { return "Brisolt"; }
};

struct Result {
    int status = -1;
    std::string text;
};

// Expands into a heap buffer of exactly `capacity` bytes, so a write past it is caught by the sanitizer,
// and checks that the template came back untouched.
Result Expand(const std::string& templ, FakeHost& host, std::size_t capacity = 780, bool longNames = true,
              std::string_view mainFile = kMain) {
    std::vector<char> input(templ.begin(), templ.end());
    input.push_back('\0');
    std::vector<char> out(capacity, '\x7f');
    Result result;
    result.status = ExpandTemplate(input.data(), longNames ? LongNames::kYes : LongNames::kNo, mainFile, out.data(),
                                   out.size(), host);
    EXPECT_EQ(std::string(input.data()), templ) << "the template was changed";
    if (result.status == 1) {
        const void* end = std::memchr(out.data(), '\0', out.size());
        EXPECT_NE(end, nullptr) << "the output is not terminated";
        if (end) result.text.assign(out.data(), static_cast<std::size_t>(static_cast<const char*>(end) - out.data()));
    }
    return result;
}

struct Row {
    const char* templ;
    const char* expected;
};

class WorkedExamples : public ::testing::TestWithParam<Row> {};

TEST_P(WorkedExamples, ExpandForTheThesisChapter) {
    FakeHost host;
    host.environment["TEMP"] = "C:\\Temp";
    const Result result = Expand(GetParam().templ, host);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.text, GetParam().expected);
    EXPECT_TRUE(host.asked.empty());
}

INSTANTIATE_TEST_SUITE_P(
    MainFileForms, WorkedExamples,
    ::testing::Values(Row{"%@%", "C:\\Papers\\Thesis\\chapter1.tex"}, Row{"%@dpne%", "C:\\Papers\\Thesis\\chapter1.tex"},
                      Row{"%@dpn%", "C:\\Papers\\Thesis\\chapter1"}, Row{"%@dp%", "C:\\Papers\\Thesis"},
                      Row{"%@d%", "C"}, Row{"%@p%", "\\Papers\\Thesis"}, Row{"%@pn%", "\\Papers\\Thesis\\chapter1"},
                      Row{"%@ne%", "chapter1.tex"}, Row{"%@n%", "chapter1"}, Row{"%@e%", "tex"},
                      Row{"%@pe%", "\\Papers\\Thesis\\tex"}, Row{"%@de%", "C:tex"}, Row{"%@en%", "tex"},
                      Row{"%@t%", "Brisolt"}, Row{"%@title%", "Brisolt"}, Row{"%@x%", ""}, Row{"%@N%", ""},
                      Row{"%@dx%", "C:"}, Row{"%@nx%", "chapter1"}, Row{"%@pne%", "\\Papers\\Thesis\\chapter1.tex"},
                      Row{"%@dn%", "C:chapter1"}, Row{"%@pd%", "\\Papers\\Thesis\\"}));

INSTANTIATE_TEST_SUITE_P(
    Language, WorkedExamples,
    ::testing::Values(Row{"-o %@n%.ps %@n%", "-o chapter1.ps chapter1"}, Row{"%TEMP%\\%@n%.log", "C:\\Temp\\chapter1.log"},
                      Row{"%NOSUCH% 100%% done", "%NOSUCH% 100% done"}, Row{"50%", "50%"}, Row{"%%", "%"},
                      Row{"%", "%"}, Row{"%%%", "%%"}, Row{"%a%b%", "%a%b%"}, Row{"50% of %@n%", "50% of %@n%"},
                      Row{"50%% of %@n%", "50% of chapter1"}, Row{"latex", "latex"}, Row{"", ""},
                      Row{"%TEMP%%TEMP%", "C:\\TempC:\\Temp"}, Row{"%temp%", "%temp%"},
                      Row{"%@n%%@e%", "chapter1tex"}));

// Inserted text is never scanned again, and names that look like other forms still go to the environment first.
TEST(Environment, ValuesAreInsertedAsTheyAre) {
    struct Case {
        const char* templ;
        std::map<std::string, std::string> environment;
        const char* expected;
    } cases[] = {
        {"%A%", {{"A", "%@n%"}}, "%@n%"},
        {"%A%", {{"A", "100%"}}, "100%"},
        {"[%EMPTY%]", {{"EMPTY", ""}}, "[%EMPTY%]"},
        {"%@n%", {{"@n", "from env"}}, "from env"},
        {"%?x%", {{"?x", "from env"}}, "from env"},
        {"%@x%", {{"@x", ""}}, ""},
        {"%a b%", {{"a b", "spaced"}}, "spaced"},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.environment = c.environment;
        const Result result = Expand(c.templ, host);
        EXPECT_EQ(result.status, 1) << c.templ;
        EXPECT_EQ(result.text, c.expected) << c.templ;
        EXPECT_TRUE(host.asked.empty()) << c.templ;
    }
}

// A value of any length comes whole from the host and then obeys the insertion rule.
TEST(Environment, LongValuesAreWholeOrLeftOut) {
    for (const std::size_t length : {63u, 64u, 65u, 100u, 300u, 1000u}) {
        FakeHost host;
        const std::string value(length, 'v');
        host.environment["LONG"] = value;
        EXPECT_EQ(Expand("%LONG%", host, length + 2).text, value) << length;
        EXPECT_EQ(Expand("%LONG%", host, length + 1).text, "") << length;
        EXPECT_EQ(Expand("<%LONG%>", host, length + 3).text, "<" + value + ">") << length;
        EXPECT_EQ(Expand("<%LONG%>", host, length + 2).text, "<>") << length;
    }
}

TEST(MainFile, RootFolderBareNameAndNoFile) {
    struct Case {
        const char* mainFile;
        const char* templ;
        const char* expected;
    } cases[] = {
        {"C:\\main.tex", "%@dp%", "C:"},
        {"C:\\main.tex", "%@p%", ""},
        {"C:\\main.tex", "%@pn%", "\\main"},
        {"C:\\main.tex", "%@dpne%", "C:\\main.tex"},
        {"main.tex", "%@p%", ""},
        {"main.tex", "%@dp%", ""},
        {"main.tex", "%@d%", ""},
        {"main.tex", "%@ne%", "main.tex"},
        {"main.tex", "%@%", "main.tex"},
        {"C:\\Papers\\README", "%@ne%", "README"},
        {"C:\\Papers\\README", "%@e%", ""},
        {"C:\\My Papers\\long report.tex", "\"%@%\"", "\"C:\\My Papers\\long report.tex\""},
        {"C:\\a.b\\file", "%@n%|%@e%", "file|"},
        {"C:\\a\\archive.tar.gz", "%@n%|%@e%", "archive.tar|gz"},
        {"", "[%@%][%@dpne%][%@d%][%@t%]", "[][][][Brisolt]"},
    };
    for (const Case& c : cases) {
        FakeHost host;
        const Result result = Expand(c.templ, host, 780, true, c.mainFile);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.text, c.expected) << c.mainFile << " " << c.templ;
    }
}

TEST(MainFile, ShortFormOnlyWhenLongNamesAreOff) {
    const std::string longName = "C:\\My Papers\\long report.tex";
    const std::string shortName = "C:\\MYPAPE~1\\LONGRE~1.TEX";
    struct Case {
        bool longNames;
        bool hasShortForm;
        const char* templ;
        std::string expected;
    } cases[] = {
        {false, true, "%@%", shortName},
        {false, true, "%@n%", "LONGRE~1"},
        {false, true, "%@pn%", "\\MYPAPE~1\\LONGRE~1"},
        {false, true, "%@e%", "TEX"},
        {true, true, "%@%", longName},
        {true, true, "%@n%", "long report"},
        {false, false, "%@%", longName},
        {false, false, "%@dp%", "C:\\My Papers"},
        {false, true, "%@t%", "Brisolt"},
    };
    for (const Case& c : cases) {
        FakeHost host;
        if (c.hasShortForm) host.shortPaths[longName] = shortName;
        const Result result = Expand(c.templ, host, 780, c.longNames, longName);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.text, c.expected) << c.templ << " long names " << c.longNames;
        if (c.longNames) {
            EXPECT_TRUE(host.shortPathCalls.empty()) << c.templ;
        }
    }
}

TEST(MainFile, NoShortFormAskedForAnEmptyMainFile) {
    FakeHost host;
    EXPECT_EQ(Expand("[%@%]", host, 780, false, "").text, "[]");
    EXPECT_TRUE(host.shortPathCalls.empty());
}

TEST(SplitPathParts, Parts) {
    struct Case {
        const char* path;
        const char* drive;
        const char* folder;
        const char* name;
        const char* extension;
    } cases[] = {
        {"C:\\Papers\\Thesis\\chapter1.tex", "C:", "\\Papers\\Thesis\\", "chapter1", ".tex"},
        {"C:\\main.tex", "C:", "\\", "main", ".tex"},
        {"main.tex", "", "", "main", ".tex"},
        {"C:main", "C:", "", "main", ""},
        {"\\\\server\\share\\x.y", "", "\\\\server\\share\\", "x", ".y"},
        {"D:/unix/style.sty", "D:", "/unix/", "style", ".sty"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const PathParts parts = SplitPathParts(c.path);
        EXPECT_EQ(parts.drive, c.drive) << c.path;
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
}

TEST(SplitPathParts, EachPartKeepsAtMost255Characters) {
    const std::string folder = "\\" + std::string(300, 'f') + "\\";
    const std::string path = "C:" + folder + std::string(300, 'n') + "." + std::string(300, 'e');
    const PathParts parts = SplitPathParts(path);
    EXPECT_EQ(parts.folder, folder.substr(0, 255));
    EXPECT_EQ(parts.name, std::string(255, 'n'));
    EXPECT_EQ(parts.extension, "." + std::string(254, 'e'));
}

// N is the capacity: a value goes in whole while it ends at N - 2, copied text runs up to N - 1.
TEST(Capacity, Boundaries) {
    struct Case {
        const char* templ;
        std::size_t capacity;
        const char* expected;
    } cases[] = {
        // Plain text fills up to N - 1 and the rest is not read.
        {"abcdef", 7, "abcdef"},
        {"abcdef", 6, "abcde"},
        {"abcdef", 1, ""},
        {"%%%%%%", 3, "%%"},
        // A value fits when it ends at N - 2 and is left out whole at N - 1; the text after it goes on.
        {"%V%", 12, "0123456789"},
        {"%V%", 11, ""},
        {"%V%x", 11, "x"},
        {"ab%V%", 14, "ab0123456789"},
        {"ab%V%", 13, "ab"},
        {"ab%V%cdef", 13, "abcdef"},
        {"%@t%", 9, "Brisolt"},
        {"%@t%", 8, ""},
        {"%@n%", 10, "chapter1"},
        {"%@n%", 9, ""},
        // Copied back: each percent sign while room remains, the name whole or not at all.
        {"%NAME%", 7, "%NAME%"},
        {"%NAME%", 6, "%%"},
        {"%NAME%", 5, "%%"},
        {"%NAME%", 3, "%%"},
        {"%NAME%", 2, "%"},
        {"a%NAME%", 6, "a%%"},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.environment["V"] = "0123456789";
        const Result result = Expand(c.templ, host, c.capacity);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.text, c.expected) << c.templ << " in " << c.capacity;
    }
}

TEST(Capacity, ZeroCapacityWritesNothing) {
    FakeHost host;
    char guard[2] = {'x', 'y'};
    EXPECT_EQ(ExpandTemplate("abc", LongNames::kYes, kMain, guard + 1, 0, host), 1);
    EXPECT_EQ(guard[0], 'x');
    EXPECT_EQ(guard[1], 'y');
}

// The answer may take N - 2 - o characters: the room left.
TEST(Query, AnswerIsCutToTheRoomLeft) {
    struct Case {
        const char* templ;
        std::size_t capacity;
        const char* answer;
        const char* expected;
    } cases[] = {
        {"%?x%", 10, "12345678", "12345678"},
        {"%?x%", 10, "123456789", "12345678"},
        {"%?x%", 10, "", ""},
        {"ab%?x%", 10, "123456789", "ab123456"},
        {"ab%?x%cd", 10, "123456789", "ab123456c"},
        {"ab%?x%cd", 10, "12", "ab12cd"},
        {"abcdefgh%?x%", 10, "123", "abcdefgh"},
        {"abcdefgh%?x%z", 10, "123", "abcdefghz"},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.answers = {std::string(c.answer)};
        const Result result = Expand(c.templ, host, c.capacity);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.text, c.expected) << c.templ << " in " << c.capacity;
        EXPECT_EQ(host.asked.size(), 1u) << c.templ;
    }
}

TEST(Query, NameAndDefaultAsShown) {
    struct Case {
        const char* templ;
        AskedQuery asked;
    } cases[] = {
        {"--pages=%?Pages=1-10%", {"Pages", "1-10"}},
        {"%?Pages%", {"Pages", ""}},
        {"%?Pages=%", {"Pages", ""}},
        {"%?a=b=c%", {"a", "b=c"}},
        {"%?%", {"", ""}},
        {"%?=only default%", {"", "only default"}},
        {"%??x%", {"?x", ""}},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.answers = {std::string("typed")};
        const Result result = Expand(c.templ, host);
        EXPECT_EQ(result.status, 1);
        ASSERT_EQ(host.asked.size(), 1u) << c.templ;
        EXPECT_EQ(host.asked[0], c.asked) << c.templ;
    }
}

TEST(Query, AskedInTemplateOrderAndAgainForARepeatedName) {
    FakeHost host;
    host.answers = {std::string("first"), std::string("second"), std::string("third")};
    const Result result = Expand("%?A=1% %@n% %?B% %?A=1%", host);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.text, "first chapter1 second third");
    const std::vector<AskedQuery> expected = {{"A", "1"}, {"B", ""}, {"A", "1"}};
    EXPECT_EQ(host.asked, expected);
}

// The answer is text, not template: it is never scanned for placeholders.
TEST(Query, AnswerIsNotExpandedAgain) {
    FakeHost host;
    host.environment["V"] = "value";
    host.answers = {std::string("%V% %@n%")};
    EXPECT_EQ(Expand("%?x%", host).text, "%V% %@n%");
}

TEST(Query, CancelStopsAtOnce) {
    struct Case {
        const char* templ;
        std::vector<std::optional<std::string>> answers;
        std::size_t askedCount;
    } cases[] = {
        {"%?A%", {std::nullopt}, 1},
        {"%?A% %?B% %?C%", {std::nullopt, std::string("b"), std::string("c")}, 1},
        {"%?A% %?B% %?C%", {std::string("a"), std::nullopt, std::string("c")}, 2},
        {"%?A% %?A%", {std::string("a"), std::nullopt}, 2},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.answers = c.answers;
        EXPECT_EQ(Expand(c.templ, host).status, 0) << c.templ;
        EXPECT_EQ(host.asked.size(), c.askedCount) << c.templ;
    }
}

// The launcher expands options first and stops there when they are cancelled, so the command's queries
// never appear.
TEST(Query, OptionsFirstThenCommand) {
    FakeHost host;
    host.answers = {std::string("opt"), std::string("cmd")};
    EXPECT_EQ(Expand("%?Option%", host, 780).text, "opt");
    EXPECT_EQ(Expand("%?Command%", host, 520).text, "cmd");
    const std::vector<AskedQuery> expected = {{"Option", ""}, {"Command", ""}};
    EXPECT_EQ(host.asked, expected);

    FakeHost cancelled;
    cancelled.answers = {std::nullopt, std::string("cmd")};
    if (Expand("%?Option%", cancelled, 780).status == 1) Expand("%?Command%", cancelled, 520);
    ASSERT_EQ(cancelled.asked.size(), 1u);
    EXPECT_EQ(cancelled.asked[0].name, "Option");
}

// Every capacity and every template prefix: the output stays inside the buffer and ends with a NUL.
TEST(Capacity, NeverWritesPastTheBuffer) {
    const std::string templ = "x%V% %?q=d% %NOSUCH% %@dpne% %@t% 50%% %a%b% end%";
    for (std::size_t capacity = 1; capacity < 120; ++capacity) {
        for (std::size_t cut = 0; cut <= templ.size(); ++cut) {
            FakeHost host;
            host.environment["V"] = std::string(70, 'v');
            host.answers = {std::string(40, 'a')};
            const Result result = Expand(templ.substr(0, cut), host, capacity);
            EXPECT_EQ(result.status, 1);
            EXPECT_LE(result.text.size(), capacity - 1);
        }
    }
}

}  // namespace
