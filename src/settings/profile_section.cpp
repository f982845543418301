// One section of a settings file read whole, answering lookups as the system's profile functions do.
#include "settings/profile_section.h"

#include <algorithm>

#include "base/bounded_text.h"

namespace {

// The bytes the profile functions take as blanks around keys and values.
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

unsigned char Fold(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// <0, 0 or >0 as a sorts before, with or after b when case does not count.
int CompareKeys(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Fold(a[i]);
        const unsigned char y = Fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The value of one digit in any base up to 36, or 36 for a byte that is no digit.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A' + 10);
    return 36;
}

// GetPrivateProfileIntA reads the value into a buffer of this many characters.
constexpr std::size_t kIntBufferSize = 30;
}  // namespace

ProfileSection::ProfileSection(std::string_view block) {
    // Each entry ends with a NUL: there are never more entries than NULs and one.
    std::size_t room = 1;
    for (const char c : block) room += c == '\0' ? 1 : 0;
    entries_ = HeapArray<Entry>(room);
    byKey_ = HeapArray<std::size_t>(room);
    if (!entries_ || !byKey_) return;
    while (!block.empty() && block.front() != '\0') {
        const std::size_t end = std::min(block.find('\0'), block.size());
        const std::string_view entry = text::Part(block, 0, end);
        block.remove_prefix(std::min(end + 1, block.size()));
        const std::size_t equals = entry.find('=');
        Entry item{Trim(text::Part(entry, 0, equals)), {}, equals != std::string_view::npos};
        if (item.hasValue) item.value = Trim(text::Part(entry, equals + 1));
        if (!item.key.empty() && item.key.front() == ';') continue;
        entries_[count_++] = item;
    }
    for (std::size_t i = 0; i < count_; ++i) byKey_[i] = i;
    // Entries of the same key keep their order: the first one counts.
    std::sort(byKey_.get(), byKey_.get() + count_, [this](std::size_t a, std::size_t b) {
        const int order = CompareKeys(entries_[a].key, entries_[b].key);
        return order != 0 ? order < 0 : a < b;
    });
}

const ProfileSection::Entry* ProfileSection::First(std::string_view key) const {
    key = Trim(key);
    const std::size_t* const begin = byKey_.get();
    const std::size_t* const end = begin + count_;
    const auto first = std::lower_bound(begin, end, key,
                                        [this](std::size_t index, std::string_view k) {
                                            return CompareKeys(entries_[index].key, k) < 0;
                                        });
    if (first == end || CompareKeys(entries_[*first].key, key) != 0) return nullptr;
    return &entries_[*first];
}

bool ProfileSection::Find(std::string_view key, std::string_view& value) const {
    const Entry* entry = First(key);
    if (!entry || !entry->hasValue) return false;
    value = entry->value;
    return true;
}

bool ProfileSection::Has(std::string_view key) const {
    return First(key) != nullptr;
}

std::string_view ProfileStringValue(std::string_view stored, std::size_t size) {
    if (size == 0) return {};
    const bool quoted = stored.size() > 1 && (stored.front() == '"' || stored.front() == '\'') &&
                        stored.back() == stored.front();
    if (quoted) stored.remove_prefix(1);
    std::string_view result = text::Part(stored, 0, size - 1);
    if (quoted && size >= stored.size() && !result.empty()) result.remove_suffix(1);
    return result;
}

unsigned ProfileIntValue(std::string_view stored, int fallback) {
    const std::string_view text = ProfileStringValue(stored, kIntBufferSize);
    return text.empty() ? static_cast<unsigned>(fallback) : ParseProfileInt(text);
}

unsigned ParseProfileInt(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.size() >= 2 && text[0] == '0') {
        if (text[1] == 'x') base = 16;
        if (text[1] == 'o') base = 8;
        if (text[1] == 'b') base = 2;
        if (base != 10) text.remove_prefix(2);
    }
    unsigned total = 0;
    for (const char c : text) {
        const unsigned digit = DigitValue(c);
        if (digit >= base) break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}
