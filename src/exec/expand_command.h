// Expansion of a button's command or options, or the caption pattern, against the live system.
#pragma once

#include <cstddef>

// Expands templ into out (capacity bytes) for the current main file, asking queries in dialogs owned by the
// button bar. Returns 1, or 0 when the user cancelled a query; then out must not be used.
int ExpandPlaceholders(const char* templ, int useLongNames, char* out, std::size_t capacity);
