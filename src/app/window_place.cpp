// The button bar's place on the screen.
#include "app/window_place.h"

#include "base/bounded_text.h"
#include "res/resource.h"
#include "settings/recent_lists.h"
#include "settings/settings_file.h"

void SaveWindowPlace(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    const WindowPlace place{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    WriteOptionInt(IDS_KEY_X, place.x);
    WriteOptionInt(IDS_KEY_Y, place.y);
    WriteOptionInt(IDS_KEY_WIDTH, place.width);
    WriteOptionInt(IDS_KEY_HEIGHT, place.height);

    if (g_paths.mainFile[0] == '\0') return;
    ReadRecentFiles();
    const int i = FindRecent(g_settings.recentFiles, FieldText(g_paths.mainFile));
    if (i < 0) return;
    FormatPosition(place, g_settings.recentPositions.entries[i]);
    WriteRecentFiles();
}

void RestoreWindowPlace(HWND window) {
    WindowPlace place{ReadOptionInt(IDS_KEY_X, 0), ReadOptionInt(IDS_KEY_Y, 0), ReadOptionInt(IDS_KEY_WIDTH, 0),
                      ReadOptionInt(IDS_KEY_HEIGHT, 0)};
    if (g_settings.options.saveFilePos && g_paths.mainFile[0] != '\0') {
        ReadRecentFiles();
        const int i = FindRecent(g_settings.recentFiles, FieldText(g_paths.mainFile));
        if (i >= 0) ParsePosition(FieldText(g_settings.recentPositions.entries[i]), place);
    }
    if (place.width != 0 && place.height != 0)
        SetWindowPos(window, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER);
}
