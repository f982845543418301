// The TeX errors in a run's output, and the summary a log with errors begins with.
#include "exec/error_scan.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The most digits a line number is read with; a longer number is no line.
constexpr std::size_t kMostLineDigits = 9;

// The digits at `at` as a line number, and where they end; 0 when there are none or too many.
unsigned long LineNumber(std::string_view text, std::size_t at, std::size_t& end) {
    unsigned long number = 0;
    end = at;
    while (end < text.size() && IsDigit(text[end]) && end - at < kMostLineDigits + 1) {
        number = number * 10 + static_cast<unsigned long>(text[end] - '0');
        ++end;
    }
    return end - at <= kMostLineDigits ? number : 0;
}

// A name a file may have: not empty, no blank at either end, none of the characters Windows forbids,
// and a colon only after a drive letter.
bool CouldBeFileName(std::string_view name) {
    if (name.empty() || IsBlank(name.front()) || IsBlank(name.back())) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (static_cast<unsigned char>(c) < 32 || c == '"' || c == '<' || c == '>' || c == '|' || c == '?' ||
            c == '*' || (c == ':' && i != 1)) {
            return false;
        }
    }
    return true;
}

// The text after `at` without the blanks in front; control characters (binary output) become blanks.
void TakeMessage(std::string_view line, std::size_t at, char (&message)[kErrorMessageSize]) {
    std::string_view rest = text::Part(line, at);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    rest = text::Part(rest, 0, kErrorMessageSize - 1);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        message[i] = static_cast<unsigned char>(rest[i]) < 32 ? ' ' : rest[i];
    }
    message[rest.size()] = '\0';
}

// The end of "LINE:" or "LINE:COLUMN:" at `at`, followed by a blank or the line's end; 0 when there is
// none. A compiler names the column too.
std::size_t LineEnd(std::string_view line, std::size_t at, unsigned long& number) {
    std::size_t end = 0;
    number = LineNumber(line, at, end);
    if (number == 0 || end >= line.size() || line[end] != ':') return 0;
    if (end + 1 == line.size() || IsBlank(line[end + 1])) return end + 1;
    std::size_t column = 0;
    if (LineNumber(line, end + 1, column) == 0 || column >= line.size() || line[column] != ':') return 0;
    return column + 1 == line.size() || IsBlank(line[column + 1]) ? column + 1 : 0;
}

// What opens a file in TeX's output: "(" and a name with an extension ("(./paper.tex", "(article.cls").
bool LooksLikeFile(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 >= name.size()) return false;
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string_view::npos || slash < dot;
}

// The name that starts at `at`: up to a blank, a parenthesis or the end.
std::string_view NameAt(std::string_view line, std::size_t at) {
    std::size_t end = at;
    while (end < line.size() && !IsBlank(line[end]) && line[end] != '(' && line[end] != ')') ++end;
    return text::Part(line, at, end - at);
}

}  // namespace

void ErrorScan::Feed(std::string_view output) {
    for (const char c : output) {
        if (c == '\n') {
            std::size_t length = lineLength_ < kScanLineSize ? lineLength_ : kScanLineSize;
            std::size_t full = lineLength_;
            if (length > 0 && length == full && line_[length - 1] == '\r') {
                --length;
                --full;
            }
            TakeLine(std::string_view(line_, length), full);
            lineLength_ = 0;
            continue;
        }
        if (lineLength_ < kScanLineSize) line_[lineLength_] = c;
        if (lineLength_ < static_cast<std::size_t>(-1)) ++lineLength_;
    }
}

void ErrorScan::Finish() {
    if (lineLength_ > 0) Feed("\n");
}

void ErrorScan::TakeLine(std::string_view line, std::size_t fullLength) {
    FollowFiles(line, fullLength);
    // "! MESSAGE" starts a classic error; a later one without its "l.LINE" replaces it.
    if (line.size() >= 2 && line[0] == '!' && line[1] == ' ') {
        pending_ = true;
        CopyText(pendingFile_, CurrentFile());
        TakeMessage(line, 2, pendingMessage_);
        return;
    }
    std::size_t end = 0;
    if (pending_ && line.size() >= 3 && line[0] == 'l' && line[1] == '.') {
        const unsigned long number = LineNumber(line, 2, end);
        if (number > 0 && (end == line.size() || IsBlank(line[end]))) {
            pending_ = false;
            Record(FieldText(pendingFile_), number, FieldText(pendingMessage_));
            return;
        }
    }
    // "FILE:LINE: MESSAGE": the first colon with a line number and a colon after it, which ends the line
    // or stands before a blank.
    for (std::size_t colon = line.find(':', 1); colon != std::string_view::npos; colon = line.find(':', colon + 1)) {
        unsigned long number = 0;
        const std::size_t messageAt = LineEnd(line, colon + 1, number);
        if (messageAt == 0) continue;
        const std::string_view file = text::Part(line, 0, colon);
        if (!CouldBeFileName(file)) continue;
        char message[kErrorMessageSize];
        TakeMessage(line, messageAt, message);
        pending_ = false;
        Record(file, number, FieldText(message));
        return;
    }
}

void ErrorScan::Record(std::string_view file, unsigned long line, std::string_view message) {
    if (count_ < static_cast<unsigned long>(-1)) ++count_;
    if (kept_ >= kErrorsKept) return;
    TexError& error = errors_[kept_++];
    CopyText(error.file, file);
    error.line = line;
    CopyText(error.message, message);
}

void ErrorScan::FollowFiles(std::string_view line, std::size_t fullLength) {
    std::size_t at = 0;
    if (nameGoesOn_) {
        nameGoesOn_ = false;
        const std::string_view rest = NameAt(line, 0);
        if (depth_ > 0 && depth_ <= kOpenFilesDepth) {
            OpenFile& file = files_[depth_ - 1];
            AppendText(file.name, rest);
            file.isFile = LooksLikeFile(FieldText(file.name));
        }
        at = rest.size();
    }
    for (; at < line.size(); ++at) {
        if (line[at] == ')') {
            if (depth_ > 0) --depth_;
        } else if (line[at] == '(') {
            const std::string_view name = NameAt(line, at + 1);
            if (depth_ < kOpenFilesDepth) {
                CopyText(files_[depth_].name, name);
                files_[depth_].isFile = LooksLikeFile(name);
            }
            if (depth_ < static_cast<std::size_t>(-1)) ++depth_;
            // TeX breaks a long name where the line is full; the next line holds the rest of it.
            nameGoesOn_ = !name.empty() && at + 1 + name.size() == fullLength && fullLength == kTexLineBreak;
            at += name.size();
        }
    }
}

std::string_view ErrorScan::CurrentFile() const {
    for (std::size_t i = depth_ < kOpenFilesDepth ? depth_ : kOpenFilesDepth; i > 0; --i) {
        if (files_[i - 1].isFile) return FieldText(files_[i - 1].name);
    }
    return std::string_view();
}

FixedText<kPathSize> ErrorFileName(std::string_view folder, std::string_view file) {
    FixedText<kPathSize> name;
    const bool absolute = (file.size() >= 2 && file[1] == ':') || (!file.empty() && (file[0] == '\\' || file[0] == '/'));
    if (!absolute && !folder.empty()) {
        CopyText(name.text, folder);
        if (folder.back() != '\\' && folder.back() != '/') AppendText(name.text, "\\");
    }
    AppendText(name.text, file);
    return name;
}

ErrorSummary ComposeErrorSummary(std::string_view heading, const ErrorScan& scan) {
    ErrorSummary summary;
    CopyText(summary.text, heading);
    AppendText(summary.text, "\r\n");
    for (std::size_t i = 0; i < scan.kept(); ++i) {
        const TexError& error = scan.error(i);
        char line[kPathSize + kErrorMessageSize + 16];
        FormatText(line, "%s:%lu: %s\r\n", error.file, error.line, error.message);
        AppendText(summary.text, line);
    }
    AppendText(summary.text, "----------------------------------------------------------------------\r\n");
    return summary;
}
