// The string table loader.
#include "base/res_strings.h"

#include <windows.h>

#include "base/app_handles.h"

const char* LoadResString(int id, char* buffer, std::size_t size) {
    if (size == 0) return buffer;
    buffer[0] = '\0';
    const int room = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
    if (LoadStringA(g_app.appInstance, static_cast<UINT>(id), buffer, room) <= 0) buffer[0] = '\0';
    return buffer;
}

ResText ResStr(int id) {
    ResText loaded;
    LoadResString(id, loaded.text);
    return loaded;
}
