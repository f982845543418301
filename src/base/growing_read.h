// Reading a system text whose length is not known in advance (environment values, short names).
#pragma once

#include <windows.h>

#include <string>

// Calls a system function that answers with the length it needs when the buffer is too small, growing
// the buffer until the text fits; the text can change between calls, so it asks a few times at most.
// `call(buffer, size)` returns the length written, the size needed, or 0 on failure.
template <typename Call>
bool ReadGrowing(std::string& out, DWORD firstSize, Call call) {
    std::string buffer(firstSize, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length = call(&buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0) return false;
        if (length < buffer.size()) {
            out.assign(buffer.data(), length);
            return true;
        }
        buffer.assign(length, '\0');
    }
    return false;
}
