// The buttons' icons.
#include "config/button_icons.h"

#include <windows.h>

void LoadButtonIcons(ButtonDef& def) {
    if (def.largeIcon) DestroyIcon(static_cast<HICON>(def.largeIcon));
    if (def.smallIcon) DestroyIcon(static_cast<HICON>(def.smallIcon));
    def.largeIcon = nullptr;
    def.smallIcon = nullptr;
    if (def.iconFile[0] == '\0') def.iconNumber = -1;
}
