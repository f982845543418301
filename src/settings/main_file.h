// The main file and the default folder: taking a new one, and telling the shell of a main file.
#pragma once

#include <string_view>

#include "base/bounded_text.h"
#include "settings/settings_rules.h"
#include "settings/settings_records.h"

// Makes `name` the main file; the recent files and the shell's recent documents hear of it unless it is
// empty. The caption is the bar's to build again.
void TakeMainFile(std::string_view name);
// Makes `folder` the default folder and pushes it, even when empty, onto the recent folders.
void TakeDefaultFolder(std::string_view folder);
// Adds path to the shell's recent documents unless its shortcut is there already.
void AddToShellRecent(const char* path);
// AddToShellRecent a moment later, from the bar's timer, once the bar has settled: the shell takes long to
// load the first time, and the bar need not wait for it. At once when there is no bar. A file still
// waiting is told first, so the shell hears of the files in order.
void AddToShellRecentLater(const char* path);
// Tells the shell at once of a file still waiting.
void FinishShellRecent();
// The shell's display name of path, or path itself.
FixedText<kPathSize> ShellDisplayName(const char* path);
