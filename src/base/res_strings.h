// The string table loader: every user-visible text and every settings key is loaded by id.
#pragma once

#include <cstddef>

#include "base/bounded_text.h"

// The room of one string-table text, NUL included.
constexpr std::size_t kResTextSize = 256;

// One loaded text, held by value: any number can be in use at once, on any thread.
using ResText = FixedText<kResTextSize>;

// Loads string `id`; empty when there is no such entry.
ResText ResStr(int id);
// Loads string `id` into a buffer of the caller's own (empty when there is no such entry) and returns it.
const char* LoadResString(int id, char* buffer, std::size_t size);

template <std::size_t N>
inline const char* LoadResString(int id, char (&buffer)[N]) {
    return LoadResString(id, buffer, N);
}
