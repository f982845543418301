// The texts the program shows: the string table and the message boxes.
#include "base/messages.h"

#include <windows.h>

#include <cstdlib>

#include "base/handles.h"
#include "res/resource.h"

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

// The room FormatMessageA gets for the system's text.
constexpr DWORD kSystemTextSize = 260;

void ErrorBox(int stringId) {
    MessageBoxA(GetActiveWindow(), ResStr(stringId).text, ResStr(IDS_FATAL_CAPTION).text, MB_ICONERROR | MB_OK);
}

void FatalErrorBox(int stringId) {
    ErrorBox(stringId);
    if (g_app.mainWindow) DestroyWindow(g_app.mainWindow);
    std::exit(1);
}

void SystemErrorBox(unsigned long code) {
    char message[kSystemTextSize] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        message, sizeof message, nullptr);
    // The system may have no text for the code: name the code itself rather than show an empty box.
    if (length == 0) FormatText(message, "Error %lu", code);
    MessageBoxA(GetActiveWindow(), message, ResStr(IDS_ERROR_CAPTION).text, MB_ICONERROR | MB_OK);
}

void FileNameErrorBox(const wchar_t* name) {
    // The wide strings of the same table: the name cannot be shown in ANSI. A name too long for a path
    // is shown cut.
    wchar_t message[MAX_PATH + 2 + kResTextSize] = L"";
    wchar_t caption[kResTextSize] = L"";
    lstrcpynW(message, name, MAX_PATH);
    lstrcatW(message, L"\n\n");
    LoadStringW(g_app.appInstance, IDS_NO_SHORT_NAME, message + lstrlenW(message), kResTextSize);
    LoadStringW(g_app.appInstance, IDS_ERROR_CAPTION, caption, kResTextSize);
    MessageBoxW(GetActiveWindow(), message, caption, MB_ICONERROR | MB_OK);
}
