// The section parser against the system's own profile functions: generated and hostile settings files,
// and every lookup of every key asked of both, as strings into buffers of many sizes and as numbers.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "settings/profile_section.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

const char kSection[] = "Probe";
constexpr int kFallback = -7;

std::string Escaped(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", c);
            out += code;
        }
    }
    return out.size() > 200 ? out.substr(0, 200) + "...(" + std::to_string(text.size()) + " bytes)" : out;
}

// One settings file compared through all its lookups: the real functions on one side, the block read
// once and ProfileSection on the other.
class Comparison {
public:
    Comparison(const std::string& path, const std::string& name)
        : path_(path), name_(name), block_(ReadSectionBlock(kSection, path.c_str())), section_(block_.text()) {}

    // Compares one key; false (with a failure recorded) at the first difference.
    bool Lookup(std::string key) {
        key = key.c_str();  // the functions see the key up to its first NUL
        std::string_view stored;
        const bool found = section_.Find(key, stored);
        std::set<DWORD> sizes = {1, 2, 3, 4, 5, 30, 64, 260, 262, 8192};
        for (const std::size_t edge : {stored.size(), stored.size() + 1, stored.size() + 2, stored.size() - 1}) {
            if (edge >= 1 && edge <= 8192) sizes.insert(static_cast<DWORD>(edge));
        }
        std::vector<char> buffer(8192);
        for (const DWORD size : sizes) {
            const DWORD length =
                GetPrivateProfileStringA(kSection, key.c_str(), "", buffer.data(), size, path_.c_str());
            const std::string system(buffer.data(), length);
            const std::string ours(found ? ProfileStringValue(stored, size) : std::string_view());
            ++lookups_;
            if (system != ours || std::string(buffer.data()) != system) {
                ADD_FAILURE() << name_ << ": key \"" << Escaped(key) << "\" into " << size << " bytes: system \""
                              << Escaped(system) << "\", parser \"" << Escaped(ours) << "\" (stored \""
                              << Escaped(std::string(stored)) << "\", found " << found << ")";
                return false;
            }
        }
        const unsigned system = GetPrivateProfileIntA(kSection, key.c_str(), kFallback, path_.c_str());
        const unsigned ours = found ? ProfileIntValue(stored, kFallback) : static_cast<unsigned>(kFallback);
        ++lookups_;
        if (system != ours) {
            ADD_FAILURE() << name_ << ": number of key \"" << Escaped(key) << "\": system " << system << ", parser "
                          << ours << " (stored \"" << Escaped(std::string(stored)) << "\")";
            return false;
        }
        return true;
    }

    int lookups() const { return lookups_; }

private:
    std::string path_;
    std::string name_;
    SectionBlock block_;
    ProfileSection section_;  // views block_
    int lookups_ = 0;
};

// Keys of the program's own and some that no file below holds.
const char* const kCommonKeys[] = {"Rows", "Title1", "Title10", "Use long names1", "Icon number50", "File0", "Pos9",
                                   "Last file", "X", "Nope", "k", "K", "key", "a b", "", " ", "Title1 "};

// Lookups of a comment's key are the one known difference (see profile_section.h).
bool IsLeftOut(const std::string& key) {
    std::size_t i = 0;
    while (i < key.size() && (key[i] == ' ' || (key[i] >= '\t' && key[i] <= '\r') || key[i] == '\x1a')) ++i;
    return i < key.size() && key[i] == ';';
}

// Makes settings files from random parts: keys and values of every byte, blanks of every kind, quotes,
// numbers in every form, long values, duplicates, comments, entries without "=", other and repeated
// sections, three kinds of line end, NUL bytes, and the three encodings the functions read.
class FileMaker {
public:
    explicit FileMaker(unsigned seed) : random_(seed) {}

    struct Made {
        std::string bytes;  // the file as written; empty and `missing` for no file
        bool missing = false;
        std::vector<std::string> keys;  // keys to look up
    };

    Made Make() {
        Made made;
        const int form = Below(100);
        if (form < 2) {
            made.missing = true;
            AddLookups(made);
            return made;
        }
        // Unicode files keep to characters the code page has, so the block holds them unchanged.
        encoding_ = form < 80 ? kAnsi : (form < 90 ? kUtf8 : kUtf16);
        std::string text;
        if (Below(4) == 0) text += Lines(Below(4));  // entries before any section
        if (Below(3) == 0) text += "[Other]" + LineEnd() + Lines(Below(5));
        if (Below(20) != 0) {
            const char* headers[] = {"[Probe]", "[probe]", "[ PROBE ]", "\t[Probe]  ", "[Probe] trailing]"};
            text += std::string(headers[Below(5)]) + LineEnd();
            text += Lines(1 + Below(40), &made);
        }
        if (Below(4) == 0) text += "[Probe]" + LineEnd() + Lines(Below(6), &made);  // hidden behind the first
        if (Below(3) == 0) text += "[After]" + LineEnd() + Lines(Below(5));
        made.bytes = Encoded(text);
        AddLookups(made);
        return made;
    }

private:
    enum Encoding { kAnsi, kUtf8, kUtf16 };

    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    char Byte() {
        if (encoding_ != kAnsi) {
            // ASCII without NUL, and the Latin-1 letters and signs, which mean the same in code page 1252.
            const int c = Below(2) ? 1 + Below(127) : 0xa0 + Below(0x60);
            return static_cast<char>(c);
        }
        return static_cast<char>(1 + Below(255));
    }

    std::string Blanks() {
        const char* const blanks[] = {"", " ", "  ", "\t", "\x0b", "\x0c", "\x1a", " \t ", "\xa0", "\x1c", "\x1f"};
        return blanks[Below(11)];
    }

    std::string LineEnd() {
        const int pick = Below(10);
        return pick < 7 ? "\r\n" : (pick < 9 ? "\n" : "\r");
    }

    std::string Key() {
        const char* const known[] = {"Rows", "rows", "ROWS", "Title1", "Title10", "Use long names1", "use Long names1",
                                     "Icon number50", "k", "K", "key", "KEY", "a b", "a  b", "\xc9t\xe9", "\xe9T\xc9",
                                     "[x", "x]", "\"q\"", "'q'", "File0", "Pos9", "X", "Last file"};
        if (Below(3) != 0) return known[Below(24)];
        std::string key;
        const int length = 1 + Below(10);
        for (int i = 0; i < length; ++i) {
            const char c = Byte();
            if (c != '\r' && c != '\n') key += c;
        }
        return key;
    }

    std::string Number() {
        const char* const numbers[] = {"0", "12", "-12", "+12", "--5", "0x1F", "0X1F", "0o17", "0b101", "-0x10",
                                       "12abc", "1e3", "99999999999999999999", "4294967296", "4294967297",
                                       "-2147483649", "2147483648", "0xffffffff", "0x100000000", "0x", "0xg", "+",
                                       "-", "\x01\x02 7", "\xa0" "5", "0b102", "0o78",
                                       "0000000000000000000000000000012", "00000000000000000000000000012"};
        std::string number = numbers[Below(29)];
        if (Below(4) == 0) {
            const char quote = Below(2) ? '"' : '\'';
            number = quote + number + quote;
        }
        return number;
    }

    std::string Value() {
        std::string value;
        switch (Below(8)) {
        case 0:
            return Number();
        case 1: {
            const char quotes[] = {'"', '\'', '"'};
            value += quotes[Below(3)];
            for (int i = Below(12); i > 0; --i) value += 'a' + static_cast<char>(Below(26));
            if (Below(4) != 0) value += value[0];
            return value;
        }
        case 2: {
            // Long values: buffer cuts everywhere, and sometimes a section larger than the first read.
            const int length = Below(8) == 0 ? 30000 + Below(40000) : 250 + Below(30);
            for (int i = 0; i < length; ++i) value += 'a' + static_cast<char>(i % 26);
            if (Below(2)) value = "\"" + value + "\"";
            return value;
        }
        case 3:
            return "";
        default:
            for (int i = Below(16); i > 0; --i) {
                const char c = Byte();
                if (c != '\r' && c != '\n') value += c;
            }
            return value;
        }
    }

    std::string Lines(int count, Made* made = nullptr) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            const int kind = Below(20);
            std::string line;
            if (kind < 14) {
                const std::string key = Key();
                line = Blanks() + key + Blanks() + "=" + Blanks() + Value() + Blanks();
                if (made) made->keys.push_back(key);
            } else if (kind == 14) {
                const std::string key = Key();
                line = Blanks() + key + Blanks();  // an entry without "="
                if (made) made->keys.push_back(key);
            } else if (kind == 15) {
                line = ";" + Key() + "=" + Value();
            } else if (kind == 16) {
                line = Blanks();
            } else if (kind == 17 && encoding_ == kAnsi) {
                // A NUL inside the key or the value.
                const std::string key = Key();
                line = key + (Below(2) ? std::string("\0x=1", 4) : "=a" + std::string(1, '\0') + "b");
                if (made) made->keys.push_back(key);
            } else {
                for (int n = Below(20); n > 0; --n) {
                    const char c = Byte();
                    if (c != '\r' && c != '\n') line += c;
                }
                if (made) made->keys.push_back(line.substr(0, line.find('=')));
            }
            text += line + LineEnd();
        }
        return text;
    }

    std::string Encoded(const std::string& text) {
        if (encoding_ == kAnsi) return text;
        std::string out = encoding_ == kUtf8 ? "\xef\xbb\xbf" : "\xff\xfe";
        for (const char c : text) {
            const auto code = static_cast<unsigned char>(c);
            if (encoding_ == kUtf16) {
                out += static_cast<char>(code);
                out += '\0';
            } else if (code < 0x80) {
                out += c;
            } else {
                out += static_cast<char>(0xc0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3f));
            }
        }
        return out;
    }

    std::string FlippedCase(const std::string& key) {
        std::string flipped = key;
        for (char& c : flipped) {
            const auto code = static_cast<unsigned char>(c);
            if (Below(2) == 0) continue;
            if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z')) c = static_cast<char>(code ^ 0x20);
            // Letters above 127 in code page 1252 pair as c0..de with e0..fe: their case counts.
            if ((code >= 0xc0 && code <= 0xde && code != 0xd7) || (code >= 0xe0 && code <= 0xfe && code != 0xf7))
                c = static_cast<char>(code ^ 0x20);
        }
        return flipped;
    }

    void AddLookups(Made& made) {
        std::vector<std::string> keys;
        for (const std::string& key : made.keys) {
            keys.push_back(key);
            keys.push_back(FlippedCase(key));
            keys.push_back(Blanks() + key + Blanks());
        }
        for (const char* key : kCommonKeys) keys.push_back(key);
        made.keys.clear();
        std::set<std::string> seen;
        for (const std::string& key : keys) {
            const std::string asked = key.c_str();
            if (!IsLeftOut(asked) && seen.insert(asked).second) made.keys.push_back(asked);
        }
    }

    std::mt19937 random_;
    Encoding encoding_ = kAnsi;
};

class ProfileSectionAgainstSystem : public ::testing::Test {
protected:
    // Writes text as file number `n` (a new name each time: the functions keep files they have seen)
    // and compares the given keys; false at the first difference.
    bool Compare(const std::string& name, const std::string* bytes, const std::vector<std::string>& keys) {
        const std::string path = folder_.File("probe" + std::to_string(++files_) + ".ini");
        if (bytes) WriteWhole(path, *bytes);
        Comparison comparison(path, name);
        bool same = true;
        for (const std::string& key : keys) {
            if (IsLeftOut(key)) continue;
            if (!comparison.Lookup(key)) {
                same = false;
                break;
            }
        }
        lookups_ += comparison.lookups();
        if (bytes) DeleteFileA(path.c_str());
        return same;
    }

    TempFolder folder_{"profile_section"};
    int files_ = 0;
    int lookups_ = 0;
};

TEST_F(ProfileSectionAgainstSystem, GeneratedFiles) {
    int differences = 0;
    const int files = 160;
    for (int seed = 1; seed <= files && differences < 10; ++seed) {
        FileMaker maker(static_cast<unsigned>(seed));
        const FileMaker::Made made = maker.Make();
        if (!Compare("seed " + std::to_string(seed), made.missing ? nullptr : &made.bytes, made.keys)) ++differences;
    }
    std::printf("%d generated files, %d lookups compared\n", files_, lookups_);
    EXPECT_GT(lookups_, files * 50) << "too few lookups to say much";
}

struct HostileFile {
    const char* name;
    std::string bytes;
    std::vector<std::string> keys;
};

std::string EveryByteAround() {
    std::string text = "[Probe]\r\n";
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n') continue;
        const std::string c(1, static_cast<char>(b));
        text += c + "k" + std::to_string(b) + c + "=" + c + "v" + c + "\r\n";
    }
    return text;
}

std::vector<std::string> EveryByteKeys() {
    std::vector<std::string> keys;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n' || b == ';') continue;
        const std::string c(1, static_cast<char>(b));
        keys.push_back("k" + std::to_string(b));
        keys.push_back(c + "k" + std::to_string(b) + c);
        keys.push_back(c + "K" + std::to_string(b));
    }
    return keys;
}

std::string ManyEntries() {
    std::string text = "[Probe]\r\n";
    for (int i = 0; i < 6000; ++i) text += "Key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
    return text;
}

TEST_F(ProfileSectionAgainstSystem, HostileFiles) {
    const std::string nul(1, '\0');
    const std::vector<HostileFile> files = {
        {"every byte around keys and values", EveryByteAround(), EveryByteKeys()},
        {"comments, entries without =, empty keys, duplicates",
         "[Probe]\r\n;k=1\r\nk\r\nk=2\r\n=empty\r\n  = blank\r\nA=1\r\na=2\r\n[probe]\r\nlater=1\r\n",
         {"k", "K", "a", "A", "later", "", " ", "empty"}},
        {"NUL in a key and in a value", "[Probe]\r\nk=a" + nul + "b\r\nx" + nul + "y=2\r\n" + nul + "z=3\r\n",
         {"k", "x", "xy", "z"}},
        {"lone carriage returns and ^Z", "a=1\rb=2\r[Probe]\rc=3\rd=4\x1a\r\n\x1a", {"a", "b", "c", "d"}},
        {"section names with blanks and case", "[ pRoBe ]\r\nk=1\r\n", {"k"}},
        {"quotes of every shape",
         "[Probe]\r\nq1=\"abc\"\r\nq2='abc'\r\nq3=\"abc'\r\nq4=\"\r\nq5=\"\"\r\nq6=\"a\r\nq7=''\r\nq8=\"a\"\r\n"
         "q9=\"ab\"c\"\r\nq10= \" spaced \" \r\nq11=\"" + std::string(258, 'b') + "\"\r\nq12=\"" +
             std::string(259, 'c') + "\"\r\nq13=\"" + std::string(28, '0') + "5\"\r\n",
         {"q1", "q2", "q3", "q4", "q5", "q6", "q7", "q8", "q9", "q10", "q11", "q12", "q13"}},
        {"a section larger than the first read", ManyEntries(), {"Key0", "key5999", "KEY3000", "Key6000"}},
        {"a value of 100000 bytes", "[Probe]\r\nbig=" + std::string(100000, 'v') + "\r\nafter=1\r\n",
         {"big", "after"}},
        {"empty file", "", {"k"}},
        {"byte-order marks only", "\xef\xbb\xbf", {"k"}},
        {"no section", "k=1\r\n[Other]\r\nk=2\r\n", {"k"}},
        {"section header without its bracket", "[Probe\r\nk=1\r\n[Probe]\r\nk=2\r\n[Probe x\r\nm=3\r\n",
         {"k", "m", "[Probe", "[Probe x"}},
    };
    for (const HostileFile& file : files) {
        SCOPED_TRACE(file.name);
        Compare(file.name, &file.bytes, file.keys);
    }
    std::printf("%d hostile files, %d lookups compared\n", files_, lookups_);
}

}  // namespace
