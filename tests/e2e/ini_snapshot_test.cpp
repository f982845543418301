// The settings comparison of the session suites: what the profile functions do to a file on every write
// counts as nothing, the keys a session writes are set aside, and every other loss or addition shows.
#include "e2e/ini_snapshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kBefore =
    "; made by hand\r\nloose=1\r\n[Options]\r\nRows = 3 \r\nX=10\r\n\r\nLast file=C:\\a.tex\r\n"
    "[Buttons]\r\nTitle1=\xe4\xf6\x80\r\nTitle1=second\r\nno equals sign\r\n[Files]\r\nFile0=C:\\a.tex\r\n"
    "File10=kept\r\n[Options]\r\nCols=4\r\n[Empty]\r\n";

struct CompareRow {
    const char* name;
    std::string after;
    std::vector<std::string> differences;
};

const CompareRow kRows[] = {
    {"unchanged", kBefore, {}},
    {"written back by the profile functions, with the session's keys",
     "; made by hand\r\nloose=1\r\n[Options]\r\nRows=3\r\nX=-7\r\nLast file=C:\\b.tex\r\nY=1\r\nLastDir=\r\n"
     "[Buttons]\r\nTitle1=\xe4\xf6\x80\r\nTitle1=second\r\nno equals sign\r\n[Files]\r\nFile1=C:\\a.tex\r\n"
     "File0=C:\\b.tex\r\nFile10=kept\r\n[Options]\r\nCols=4\r\n[Empty]\r\n[Positions]\r\nPos0=1,2,3,4\r\n",
     {}},
    {"a duplicated key lost",
     "; made by hand\r\nloose=1\r\n[Options]\r\nRows=3\r\nX=10\r\nLast file=C:\\a.tex\r\n[Buttons]\r\n"
     "Title1=\xe4\xf6\x80\r\nno equals sign\r\n[Files]\r\nFile0=C:\\a.tex\r\nFile10=kept\r\n[Options]\r\nCols=4\r\n"
     "[Empty]\r\n",
     {"changed: [Buttons] Title1=second -> [Buttons] no equals sign", "lost: [Buttons] no equals sign"}},
    {"a value changed and an unnumbered list key lost",
     "; made by hand\r\nloose=2\r\n[Options]\r\nRows=3\r\n[Buttons]\r\nTitle1=\xe4\xf6\x80\r\nTitle1=second\r\n"
     "no equals sign\r\n[Files]\r\nFile0=C:\\a.tex\r\n[Options]\r\nCols=4\r\n[Empty]\r\n",
     {"changed: [] loose=1 -> [] loose=2", "lost: [Files] File10=kept"}},
    {"the second section of a name lost",
     "; made by hand\r\nloose=1\r\n[Options]\r\nRows=3\r\n[Buttons]\r\nTitle1=\xe4\xf6\x80\r\nTitle1=second\r\n"
     "no equals sign\r\n[Files]\r\nFile10=kept\r\n[Empty]\r\n",
     {"section [Options] became [Empty]", "section lost: [Empty]"}},
    {"a key that is not the session's added",
     kBefore + "[Options]\r\nRows=5\r\n",
     {"section added: [Options]"}},
};

TEST(CompareSettings, Table) {
    const IniSnapshot before = ParseIni(kBefore);
    for (const CompareRow& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CompareSettings(before, ParseIni(row.after), SessionWrites()), row.differences);
    }
}

TEST(ParseIni, LinesEndAtCarriageReturnsAndLineFeedsAlike) {
    const IniSnapshot snapshot = ParseIni("[A]\ra=1\nb=2\r\n\r\nc\r[B]");
    ASSERT_EQ(snapshot.size(), 2u);
    ASSERT_EQ(snapshot[0].lines.size(), 3u);
    EXPECT_EQ(snapshot[0].lines[1].value, "2");
    EXPECT_FALSE(snapshot[0].lines[2].hasValue);
    EXPECT_EQ(snapshot[1].name, "B");
}

}  // namespace
