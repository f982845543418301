// The buttons' icons: loading them for a ButtonDef and putting one on a bar button.
#pragma once

#include "settings/settings_records.h"

// Releases the button's previous icons and loads new ones from its icon file (or the fallbacks).
void LoadButtonIcons(ButtonDef& def);
