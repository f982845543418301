// The buttons' icon rules without windows.h: which icon a ButtonDef keeps, with its fallbacks, and where
// a button's face comes from. The system calls come through IconSystem.
#pragma once

#include "settings/settings_records.h"

// The system operations the icon rules need; the Win32 shell implements them with the shell's calls.
class IconSystem {
public:
    virtual ~IconSystem() = default;
    // Bar button `index` shows no image any more (it may be showing a handle about to be destroyed).
    virtual void ClearBarFace(int index) = 0;
    virtual void DestroyIcon(void* icon) = 0;
    // One large and one small icon of that index; a handle left 0 or 1 means none.
    virtual void ExtractIcons(const char* file, int iconNumber, void*& large, void*& small) = 0;
    // Writes the program that opens `command`'s file into `program`; true when one was found.
    virtual bool FindProgram(const char* command, char (&program)[kPathSize]) = 0;
};

// 0 and 1 both mean "no icon" in an icon handle.
bool IsIcon(const void* handle);

// Releases def's icons and loads them again from its icon file; when that fails, from icon 0 of the program
// that opens its command (which then becomes its icon file), and failing that leaves it without an icon
// (iconNumber -1). Afterwards either iconNumber >= 0 and both handles are icons, or iconNumber is -1 and
// both are 0. index is def's bar button, or -1 for a ButtonDef that has none.
void ReloadButtonIcons(ButtonDef& def, int index, IconSystem& system);

enum class FaceSource {
    kOwnIcon,    // the ButtonDef's own large or small icon
    kShellIcon,  // the icon the shell shows for the command's file
};

FaceSource ChooseFaceSource(const ButtonDef& def);
