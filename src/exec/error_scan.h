// The TeX errors in a run's output: lines "FILE:LINE: MESSAGE" (TeX's -file-line-error form, which a
// compiler's messages share) and the classic "! MESSAGE" with its later "l.LINE" line. They are counted,
// the first few kept, and summed up in the lines a log begins with; no windows.h.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/bounded_text.h"
#include "settings/settings_records.h"

// How many errors the summary names; the rest are only counted.
constexpr std::size_t kErrorsKept = 5;
// The room of an error's message, NUL included; a longer one is cut.
constexpr std::size_t kErrorMessageSize = 160;
// The part of a line the scan reads; the rest of a longer line is passed over.
constexpr std::size_t kScanLineSize = 1024;
// How deeply the files TeX reads may nest and still be told apart.
constexpr std::size_t kOpenFilesDepth = 32;
// TeX breaks its output lines at this length, a file name included.
constexpr std::size_t kTexLineBreak = 79;

struct TexError {
    char file[kPathSize] = "";  // as printed; empty when a classic error came before any file was read
    unsigned long line = 0;
    char message[kErrorMessageSize] = "";
};

// Reads output in pieces of any size, as they come from a file, in bounded memory.
class ErrorScan {
public:
    void Feed(std::string_view output);
    // The last line, when the output does not end with a line end.
    void Finish();

    unsigned long count() const { return count_; }
    std::size_t kept() const { return kept_; }
    const TexError& error(std::size_t i) const { return errors_[i]; }
    TexError& error(std::size_t i) { return errors_[i]; }

private:
    void TakeLine(std::string_view line, std::size_t fullLength);
    void Record(std::string_view file, unsigned long line, std::string_view message);
    void FollowFiles(std::string_view line, std::size_t fullLength);
    std::string_view CurrentFile() const;

    char line_[kScanLineSize] = {};
    std::size_t lineLength_ = 0;  // the whole line's, of which line_ holds the start

    // A classic error waits for its "l.LINE" line.
    bool pending_ = false;
    char pendingFile_[kPathSize] = {};
    char pendingMessage_[kErrorMessageSize] = {};

    // The files TeX has opened and not yet closed: "(name" opens one, ")" closes the last. Other
    // parentheses are entries too, so that their ")" closes nothing else.
    struct OpenFile {
        char name[kPathSize];
        bool isFile;
    };
    OpenFile files_[kOpenFilesDepth] = {};
    std::size_t depth_ = 0;  // may pass kOpenFilesDepth: the entries above it are only counted
    bool nameGoesOn_ = false;  // the last name reached a broken line's end: the next line continues it

    unsigned long count_ = 0;
    std::size_t kept_ = 0;
    TexError errors_[kErrorsKept];
};

// The name an error's file has for the user: an absolute name as it is, a relative one in the run's
// working folder. The caller makes it a full path (with "." and ".." resolved).
FixedText<kPathSize> ErrorFileName(std::string_view folder, std::string_view file);

// The lines a log with errors begins with: the heading (its count already in it), each kept error as
// "FILE:LINE: MESSAGE", and a rule between them and the output.
constexpr std::size_t kErrorSummarySize = 4096;
using ErrorSummary = FixedText<kErrorSummarySize>;
ErrorSummary ComposeErrorSummary(std::string_view heading, const ErrorScan& scan);
