// One section of a settings file read whole, answering lookups as the system's profile functions do;
// no windows.h.
//
// GetPrivateProfileSectionA gives a section as a block of "key=value" entries, each ended by a NUL and
// the last followed by a second NUL. ProfileSection takes that block and answers what
// GetPrivateProfileStringA and GetPrivateProfileIntA would answer for the same section:
//  - keys compare without regard to the case of A..Z; every other byte compares as it is, as the
//    system's own comparison does (it takes no two letters of the code page above 127 as one);
//  - blanks around a key, around a value and around the key asked for do not count: tab, line feed,
//    vertical tab, form feed, carriage return, ^Z and space, and no other byte (no non-breaking space);
//  - the first entry of a key counts; an entry without "=" has no value, so its key gives the caller's
//    default, and later entries of that key stay hidden behind it;
//  - an empty key is a key like any other: "=value" gives a value to the key "" (or "  ");
//  - a key that starts with ";" is a comment: the system leaves comments out of the block, so they are
//    never found here, where GetPrivateProfileStringA does find them (the one difference; the program
//    has no such key);
//  - a value that starts and ends with the same quote (' or ") loses that pair when it is read, and a
//    value longer than the reader's buffer is cut (ProfileStringValue);
//  - a number is read as ProfileIntValue says.
// The block comes in the code page: in a file with a Unicode byte-order mark, a key with a character
// the code page lacks reaches the block in its nearest form, so it can match where the system's own
// lookup does not.
#pragma once

#include <cstddef>
#include <string_view>
#include "base/heap_array.h"

class ProfileSection {
public:
    // The block is only viewed: it must outlive the ProfileSection. A block without its final NUL, or
    // an empty one, is read as far as it goes.
    explicit ProfileSection(std::string_view block);

    // True, with the value as stored (blanks trimmed, quotes kept), when the first entry of key has a
    // value; false when there is no such entry or it has no "=".
    bool Find(std::string_view key, std::string_view& value) const;
    // True when the section has an entry of key, with or without a value.
    bool Has(std::string_view key) const;

private:
    struct Entry {
        std::string_view key;
        std::string_view value;
        bool hasValue;
    };
    const Entry* First(std::string_view key) const;

    HeapArray<Entry> entries_;  // in block order; empty when there was no memory for them
    HeapArray<std::size_t> byKey_;  // indexes into entries_, sorted by key and then by position
    std::size_t count_ = 0;
};

// What a buffer of `size` bytes receives for a stored value: one pair of surrounding quotes dropped,
// the rest cut to size - 1 bytes. When a quoted value only just fits, the reader loses its last
// character with the closing quote: "abc" read into 4 bytes gives "ab". Always a part of `stored`.
std::string_view ProfileStringValue(std::string_view stored, std::size_t size);

// GetPrivateProfileIntA's number for a stored value: the value as a 30-byte buffer receives it, or
// `fallback` when that is empty; otherwise ParseProfileInt of it.
unsigned ProfileIntValue(std::string_view stored, int fallback);

// The number at the start of text: bytes up to and including space skipped, an optional "+" or "-",
// then "0x" for hexadecimal, "0o" for octal, "0b" for binary (lower case only), else decimal; digits up
// to the first that does not belong to the base; wrapped modulo 2^32, so "4294967297" gives 1 and
// "-1" gives 4294967295. No digits give 0.
unsigned ParseProfileInt(std::string_view text);
