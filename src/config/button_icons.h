// The buttons' icons: the table of the 50 buttons' icons, which owns them, loading a button's icons at the
// bar's resolution, and putting a face on a button window.
#pragma once

#include <windows.h>

#include "base/handles.h"
#include "settings/settings_records.h"

// A button's two icons, owned: both, or neither.
struct ButtonIconPair {
    OwnedIcon large;
    OwnedIcon small;
};

enum class IconSize { kLarge, kSmall };

// Icon `iconNumber` of a file at the large icon size of `dpi` (0: the system's sizes), or null.
HICON ExtractIconAt(const char* file, int iconNumber, int dpi);

// Loads def's icons at the resolution the table's icons have, with the fallbacks of the icon rules,
// which may change def's icon file and number.
ButtonIconPair LoadButtonIconPair(ButtonDef& def);

// The table: the icons of g_settings.buttons[index], loaded again (its bar button shows no image first,
// as it may show an icon about to go).
void LoadButtonIcons(int index);
// LoadButtonIcons for all 50 buttons, after the settings have been read.
void LoadAllButtonIcons();
// Loads all 50 buttons' icons again at the sizes of `dpi`, when it is not the resolution they have.
void LoadAllButtonIconsAt(int dpi);
// The table's icons of button `index`.
const ButtonIconPair& ButtonIcons(int index);

// Gives `button` the face of `def` with its loaded `icons`: its own icon of that size, else the shell's
// icon for its command. False when there was no icon; the button's image is then unchanged.
bool ShowButtonFace(HWND button, const ButtonDef& def, const ButtonIconPair& icons, IconSize size);
// ShowButtonFace with button `index` of the settings and the table.
bool SetButtonFace(HWND button, int index, IconSize size);
// Takes the image off a button; a shell icon that a face gave it is released.
void ClearButtonFace(HWND button);
