// The filter list of the open-file dialog: the user's "Filter1", "Filter2", ... pairs, then the defaults.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/bounded_text.h"

// Room of the whole list, the final empty string included.
constexpr std::size_t kFilterListSize = 10240;

// NUL-terminated texts in pairs, a description and its patterns, ended by an empty string.
using FilterList = FixedText<kFilterListSize>;

// The user's value number n (1, 2, ...), empty when the key is missing or empty.
using FilterValueReader = std::function<std::string(int n)>;

// Reads the user's values until the first empty one and builds the list: the user's pairs, then, when
// the user gave an even number of values, the default texts (read until their first empty one). An odd
// number of values ends the list after the last whole pair, without defaults. Pairs are entered whole
// or not at all: the first pair that would not fit, with room for the final empty string, ends the list,
// and reading stops once no further value could fit.
FilterList BuildFilterList(const FilterValueReader& userValue, const std::vector<std::string>& defaults);
