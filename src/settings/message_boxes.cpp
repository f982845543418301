// The program's two error boxes.
#include "settings/message_boxes.h"

#include <windows.h>

#include <cstdlib>

#include "app/app_state.h"
#include "res/resource.h"
#include "settings/bounded_text.h"
#include "settings/res_strings.h"

void ErrorBox(int stringId, int fatal) {
    MessageBoxA(GetActiveWindow(), ResStr(stringId), ResStr2(IDS_FATAL_CAPTION), MB_ICONERROR | MB_OK);
    if (fatal) {
        if (g_app.mainWindow) DestroyWindow(g_app.mainWindow);
        std::exit(1);
    }
}

void SystemErrorBox(unsigned long code) {
    char message[260] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        message, sizeof message, nullptr);
    // The system may have no text for the code: name the code itself rather than show an empty box.
    if (length == 0) FormatText(message, "Error %lu", code);
    MessageBoxA(GetActiveWindow(), message, ResStr2(IDS_ERROR_CAPTION), MB_ICONERROR | MB_OK);
}
