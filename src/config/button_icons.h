// The buttons' icons: loading them for a ButtonDef and putting a face on a button window.
#pragma once

#include <windows.h>

#include "settings/settings_records.h"

// The resolution the buttons' icons are loaded for; 0 until the bar knows its own: the system's sizes.
struct ButtonIconSizes {
    int dpi = 0;
};
extern ButtonIconSizes g_buttonIconSizes;

// Icon `iconNumber` of a file at the large icon size of `dpi` (0: the system's sizes), or null.
HICON ExtractIconAt(const char* file, int iconNumber, int dpi);

// Releases the button's previous icons and loads new ones from its icon file (or the fallbacks). Bar
// button 500 + i of a ButtonDef in the table is told first to show no image.
void LoadButtonIcons(ButtonDef& def);
// LoadButtonIcons for all 50 buttons, after the settings have been read.
void LoadAllButtonIcons();
// Loads all 50 buttons' icons again at the sizes of `dpi`, when it is not the resolution they have.
void LoadAllButtonIconsAt(int dpi);

// Gives `button` the face of ButtonDef `index`: its own icon (the small one when `small`), else the
// shell's icon for its command. With setStyle, `style` plus BS_ICON is written first. False when there
// was no icon; the button's image is then unchanged.
bool SetButtonFace(HWND button, LONG_PTR style, int index, bool small, bool setStyle);

// Takes the image off a button; a shell icon that SetButtonFace gave it is released.
void ClearButtonFace(HWND button);
// ClearButtonFace for bar button 500 + index, when the bar is open.
void ClearBarFace(int index);
