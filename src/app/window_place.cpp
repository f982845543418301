// The button bar's place on the screen.
#include "app/window_place.h"

#include "base/bounded_text.h"
#include "res/resource.h"
#include "settings/main_file.h"
#include "settings/recent_lists.h"
#include "settings/settings_file.h"

void SaveWindowPlace(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    SavePlace({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
}

void RestoreWindowPlace(HWND window) {
    WindowPlace place = ReadWindowPlace();
    if (g_settings.options.saveFilePos && g_paths.mainFile[0] != '\0') {
        ReadRecentFiles();
        const int i = FindRecent(g_settings.recentFiles, FieldText(g_paths.mainFile));
        if (i >= 0) ParsePosition(FieldText(g_settings.recentPositions.entries[i]), place);
    }
    if (place.width != 0 && place.height != 0)
        SetWindowPos(window, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER);
}
