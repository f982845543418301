// What a press on a bar button does, decided from its index and type; no windows.h.
#pragma once

enum class ButtonAction { kNothing, kRunCommand, kSelectMainFile, kSelectFolder, kConfigure, kHelpIndex, kAbout };

// Indexes outside 0..49 and types outside 0..5 do nothing.
ButtonAction ActionForButton(int index, int type);
