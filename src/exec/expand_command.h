// Expansion of a button's command or options, or the caption pattern, against the live system.
#pragma once

#include <cstddef>

#include "exec/expansion.h"

// Expands templ into out (capacity bytes) for the current main file, asking queries in dialogs owned by the
// button bar. False when the user cancelled a query; then out must not be used.
bool ExpandPlaceholders(const char* templ, LongNames longNames, char* out, std::size_t capacity);
