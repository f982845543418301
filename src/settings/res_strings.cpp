// The string table loaders.
#include "settings/res_strings.h"

#include <windows.h>

#include "app/app_state.h"

namespace {
// The loaders' two buffers; each call overwrites its own.
struct StringBuffers {
    char first[256];
    char second[256];
};
StringBuffers g_strings;
}  // namespace

const char* LoadResString(int id, char* buffer, std::size_t size) {
    if (size == 0) return buffer;
    buffer[0] = '\0';
    const int room = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
    if (LoadStringA(g_app.appInstance, static_cast<UINT>(id), buffer, room) <= 0) buffer[0] = '\0';
    return buffer;
}

const char* ResStr(int id) {
    return LoadResString(id, g_strings.first);
}

const char* ResStr2(int id) {
    return LoadResString(id, g_strings.second);
}
