// The string table loaders: two shared buffers for the user-interface thread, and a loader into the
// caller's own buffer for other threads.
#pragma once

#include <cstddef>

// Loads string `id` into the first shared buffer (empty when there is no such entry) and returns it.
const char* ResStr(int id);
// The same with the second shared buffer: section names and message-box captions by convention.
const char* ResStr2(int id);
// Loads string `id` into a buffer of the caller's own; safe on any thread.
const char* LoadResString(int id, char* buffer, std::size_t size);

template <std::size_t N>
inline const char* LoadResString(int id, char (&buffer)[N]) {
    return LoadResString(id, buffer, N);
}
