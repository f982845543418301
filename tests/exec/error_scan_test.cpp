// The TeX errors found in a run's output and the summary a log begins with.
#include <gtest/gtest.h>

#include <string>

#include "exec/error_scan.h"

namespace {

// The errors as "FILE:LINE: MESSAGE" lines, after feeding the output in pieces of `piece` bytes.
std::string Found(const std::string& output, std::size_t piece = 7) {
    ErrorScan scan;
    for (std::size_t at = 0; at < output.size(); at += piece) scan.Feed(text::Part(output, at, piece));
    scan.Finish();
    std::string found = std::to_string(scan.count());
    for (std::size_t i = 0; i < scan.kept(); ++i) {
        const TexError& error = scan.error(i);
        found += std::string("|") + error.file + ":" + std::to_string(error.line) + ": " + error.message;
    }
    return found;
}

TEST(ErrorScan, FindsBothFormsAndNothingElse) {
    const struct {
        const char* output;
        const char* found;
    } rows[] = {
        {"./paper.tex:12: Undefined control sequence.\r\nl.12 \\foo\r\n", "1|./paper.tex:12: Undefined control sequence."},
        {"C:\\Users\\Ann Lee\\OneDrive\\paper.tex:3: Missing $ inserted.\n",
         "1|C:\\Users\\Ann Lee\\OneDrive\\paper.tex:3: Missing $ inserted."},
        // A compiler's messages, with or without the column.
        {"x.c:4:10: error: expected ';'\n", "1|x.c:4: error: expected ';'"},
        {"x.c:4: error: expected ';'\n", "1|x.c:4: error: expected ';'"},
        {"gcc: x.c:4:10: error\nx.c:4:10:11: no\n", "0"},
        {"./a.tex:7:\n", "1|./a.tex:7: "},
        // The classic form: the message, then the line; the file is the one TeX read last and left open.
        {"(./paper.tex (./ch2.tex\n! Undefined control sequence.\n<argument> \\foo\nl.5 \\bar\n",
         "1|./ch2.tex:5: Undefined control sequence."},
        {"(./paper.tex (./ch1.tex) [1]\n! Missing } inserted.\nl.40 }\n", "1|./paper.tex:40: Missing } inserted."},
        {"! Emergency stop.\n<*> paper.tex\n", "0"},  // no line: not counted
        {"! LaTeX Error: File `x.sty' not found.\n! Second.\nl.3 \\usepackage{x}\n", "1|:3: Second."},
        {"l.5 \\foo\n", "0"},
        {"Output written on paper.pdf (1 page, 12:30 bytes).\nTime 12:30: lunch\n", "1|Time 12:30: lunch"},
        {"LaTeX Warning: Reference `x' on page 1 undefined on input line 12.\n", "0"},
        {"C:12: x\n \tname:1: x\n\"q\":1: x\nname:0: x\nname:1234567890: x\n", "1|C:12: x"},
        {"", "0"},
    };
    for (const auto& row : rows) EXPECT_EQ(Found(row.output), row.found) << row.output;
}

TEST(ErrorScan, FollowsTheFilesTexOpensAcrossBrokenLines) {
    // TeX breaks its lines at 79 characters, a file name too.
    const std::string opened = "(./" + std::string(75, 'd');
    ASSERT_EQ(opened.size(), kTexLineBreak - 1);
    const std::string output = opened + "/\nlong.tex\n! Bad.\nl.2 x\n(other.tex)\n! Also bad.\nl.9 y\n";
    EXPECT_EQ(Found(output, 1), "2|./" + std::string(75, 'd') + "/long.tex:2: Bad.|./" + std::string(75, 'd') +
                                    "/long.tex:9: Also bad.");
}

TEST(ErrorScan, CountsAllKeepsTheFirstFiveAndStaysBounded) {
    std::string output;
    for (int i = 1; i <= 12; ++i) output += "a.tex:" + std::to_string(i) + ": error " + std::to_string(i) + "\n";
    EXPECT_EQ(Found(output), "12|a.tex:1: error 1|a.tex:2: error 2|a.tex:3: error 3|a.tex:4: error 4|a.tex:5: error 5");

    // A line of 100,000 characters is read only at its start; binary output is no error and no message
    // keeps its control characters.
    const std::string huge = "b.tex:8: " + std::string(100000, 'm') + "\nc.tex:9: x" + std::string(1, '\0') +
                             "\x01y\n" + std::string(5000, '\0') + ":3: z\n";
    const std::string found = Found(huge, 4096);
    EXPECT_EQ(found, "2|b.tex:8: " + std::string(kErrorMessageSize - 1, 'm') + "|c.tex:9: x  y");

    ErrorScan scan;
    scan.Feed(output);
    const ErrorSummary summary = ComposeErrorSummary("Errors found in the output: 12", scan);
    const std::string text = summary.text;
    EXPECT_EQ(text.rfind("Errors found in the output: 12\r\na.tex:1: error 1\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("a.tex:5: error 5\r\n----"), std::string::npos) << text;
    EXPECT_EQ(text.find("error 6"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(ErrorScan, RelativeNamesAreTakenInTheRunsFolder) {
    EXPECT_STREQ(ErrorFileName("C:\\Thesis", "./a.tex").text, "C:\\Thesis\\./a.tex");
    EXPECT_STREQ(ErrorFileName("C:\\", "sub/a.tex").text, "C:\\sub/a.tex");
    for (const char* absolute : {"D:\\a.tex", "\\\\server\\share\\a.tex", "/texlive/a.sty"}) {
        EXPECT_STREQ(ErrorFileName("C:\\Thesis", absolute).text, absolute);
    }
}

}  // namespace
