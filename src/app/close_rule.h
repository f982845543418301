// Whether the bar may close at once, and the question to ask when watched children still run; no windows.h.
#pragma once

#include <cstddef>

// The string id of the question for `children` watched children, or 0 when the bar closes at once.
int CloseQuestionId(long children);
