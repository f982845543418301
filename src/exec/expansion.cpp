// The placeholder language: one left-to-right pass over a template into a buffer of fixed capacity.
#include "exec/expansion.h"

namespace {

// Each path part lives in a 256-byte field.
constexpr std::size_t kPartLimit = 255;

std::string_view Limited(std::string_view part) { return text::Part(part, 0, kPartLimit); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The output buffer and the number of characters written so far; the last byte is kept for the NUL.
class Output {
public:
    Output(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {}

    bool HasRoom() const { return used_ + 1 < capacity_; }
    // Copies one character, while room remains.
    void Put(char c) {
        if (HasRoom()) out_[used_++] = c;
    }
    // A value replacing a placeholder goes in whole or is left out whole; one byte beyond it must stay free.
    void Insert(std::string_view value) {
        if (used_ + value.size() + 2 <= capacity_) Write(value);
    }
    // A typed answer is cut to the room left, with the same byte kept free.
    void InsertCut(std::string_view value) {
        const std::size_t room = used_ + 2 <= capacity_ ? capacity_ - 2 - used_ : 0;
        Write(text::Part(value, 0, room));
    }
    void Terminate() {
        if (capacity_ > 0) out_[used_] = '\0';
    }

private:
    void Write(std::string_view value) {
        for (char c : value) out_[used_++] = c;
    }

    char* out_;
    std::size_t capacity_;
    std::size_t used_ = 0;
};

// Room for one value: as long as the longest output any buffer of the program expands into.
constexpr std::size_t kValueSize = 2048;
using ExpansionValue = FixedText<kValueSize>;

}  // namespace

PathParts SplitPathParts(std::string_view path) {
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = text::Part(path, 0, 2);
        path.remove_prefix(2);
    }
    std::size_t nameStart = 0;
    for (std::size_t k = path.size(); k > 0; --k) {
        if (IsSeparator(path[k - 1])) {
            nameStart = k;
            break;
        }
    }
    parts.folder = Limited(text::Part(path, 0, nameStart));
    path.remove_prefix(nameStart);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos) {
        parts.extension = Limited(text::Part(path, dot));
        path = text::Part(path, 0, dot);
    }
    parts.name = Limited(path);
    return parts;
}

MainFileTextBuffer MainFileText(std::string_view letters, std::string_view path) {
    MainFileTextBuffer text;
    if (path.empty()) return text;
    if (letters.empty()) {
        CopyText(text.text, path);
        return text;
    }

    // Letters count only in the order d, p, n, e; "last" means the closing percent sign follows it.
    std::size_t at = 0;
    auto take = [&](char letter) {
        if (at < letters.size() && letters[at] == letter) {
            ++at;
            return true;
        }
        return false;
    };
    auto last = [&] { return at == letters.size(); };
    const bool drive = take('d');
    const bool driveLast = drive && last();
    const bool folder = take('p');
    const bool folderLast = folder && last();
    const bool name = take('n');
    const bool extension = take('e');

    const PathParts parts = SplitPathParts(path);
    if (drive) {
        std::string_view part = parts.drive;
        if (driveLast && !part.empty() && part.back() == ':') part.remove_suffix(1);
        AppendText(text.text, part);
    }
    if (folder) {
        std::string_view part = parts.folder;
        if (folderLast && !part.empty() && IsSeparator(part.back())) part.remove_suffix(1);
        AppendText(text.text, part);
    }
    if (name) AppendText(text.text, parts.name);
    if (extension) {
        std::string_view part = parts.extension;
        // The dot stays only between a name and its extension (an n followed by the e is never last).
        if (!name && !part.empty() && part.front() == '.') part.remove_prefix(1);
        AppendText(text.text, part);
    }
    return text;
}

int ExpandTemplate(const char* templ, LongNames longNames, std::string_view mainFile, char* out, std::size_t capacity,
                   ExpansionHost& host) {
    Output output(out, capacity);
    const std::string_view rest(templ ? templ : "");
    // A value of the environment, the user's answer or a short name, one at a time.
    ExpansionValue value;
    std::size_t i = 0;
    while (i < rest.size() && output.HasRoom()) {
        const char c = rest[i];
        if (c != '%') {
            output.Put(c);
            ++i;
            continue;
        }
        if (i + 1 < rest.size() && rest[i + 1] == '%') {
            output.Put('%');
            i += 2;
            continue;
        }
        const std::size_t close = rest.find('%', i + 1);
        if (close == std::string_view::npos) {
            output.Put('%');
            ++i;
            continue;
        }
        const std::string_view name = text::Part(rest, i + 1, close - i - 1);
        i = close + 1;

        // A value longer than the whole output could never be inserted: its room need go no further.
        const std::size_t length = host.Environment(name, value.text, sizeof value.text);
        if (length != 0) {
            if (length < sizeof value.text) output.Insert(std::string_view(value.text, length));
        } else if (name.front() == '?') {
            // Everything after the first "=" is the default; the name shown is what comes before it.
            const std::string_view query = text::Part(name, 1);
            const std::size_t equals = query.find('=');
            const std::string_view shown = text::Part(query, 0, equals);
            const std::string_view initial =
                equals == std::string_view::npos ? std::string_view() : text::Part(query, equals + 1);
            if (!host.Query(shown, initial, value.text, sizeof value.text)) {
                output.Terminate();
                return 0;
            }
            output.InsertCut(FieldText(value.text));
        } else if (name.front() == '@') {
            const std::string_view letters = text::Part(name, 1);
            if (!letters.empty() && letters.front() == 't') {
                output.Insert(host.DisplayName());
                continue;
            }
            std::string_view path = mainFile;
            if (longNames == LongNames::kNo && !path.empty() && host.ShortPath(path, value.text, sizeof value.text) &&
                value.text[0] != '\0') {
                path = FieldText(value.text);
            }
            output.Insert(FieldText(MainFileText(letters, path).text));
        } else {
            output.Put('%');
            output.Insert(name);
            output.Put('%');
        }
    }
    output.Terminate();
    return 1;
}
