// The records that the settings file holds, and the process-wide paths; plain data, no windows.h.
#pragma once

#include <cstddef>

constexpr int kButtonCount = 50;
constexpr int kButtonsPerRow = 10;
constexpr int kMaxRows = 5;
constexpr int kMaxCols = 10;
constexpr int kRecentCount = 10;
constexpr std::size_t kPathSize = 260;

enum ButtonType : int {
    kTypeExecute = 0,
    kTypeFileSelection = 1,
    kTypeFolderSelection = 2,
    kTypeConfiguration = 3,
    kTypeHelpIndex = 4,
    kTypeAbout = 5,
    kTypeInvisible = 6,
    kTypeRunInTurn = 7,  // its options hold the titles of the buttons it runs, separated by "|"
    kTypeStopRuns = 8,
};

enum ShowMode : int { kShowNormal = 0, kShowMinimized = 1, kShowMaximized = 2, kShowInvisible = 3, kShowCapture = 4 };

enum LogMode : int { kLogNever = 0, kLogAlways = 1, kLogOnError = 2, kLogAskUser = 3 };

// Every record here starts out all zeros, so that g_settings lies in zero-filled memory and not in the
// program file. ReadSettings gives each field its value, with the file's fallbacks where a key is missing.

// One button's definition, plain data. A button without an icon has an empty iconFile; loading its icons
// (the configuration's icon table) sets iconNumber to -1.
struct ButtonDef {
    signed char type = 0;
    char title[64] = "";
    char command[260] = "";
    char options[260] = "";
    char directory[256] = "";
    char tip[256] = "";
    char iconFile[260] = "";
    int iconNumber = 0;
    signed char show = 0;
    signed char log = 0;
    int editCommandLine = 0;
    int wait = 0;
    int useLongNames = 0;
    int useIcon = 0;
};

// The bar's options; a settings file without them gives a grid of 2 rows and 8 columns, with tips shown
// and the main file's window position saved.
struct AppOptions {
    int rows = 0;
    int cols = 0;
    int space = 0;
    int onTop = 0;
    int saveFilePos = 0;
    int displayTips = 0;
    char caption[260] = "";
};

// Ten entries, most recent first; an empty entry is free.
struct RecentList {
    char entries[kRecentCount][kPathSize] = {};
};

// Everything the settings file holds, owned by the settings store. The configuration dialog edits a copy
// of the options and the buttons and stores it back on OK.
struct SettingsStore {
    AppOptions options;
    ButtonDef buttons[kButtonCount];
    RecentList recentFiles;
    RecentList recentPositions;  // entry k is the window position "%d,%d,%d,%d" for recentFiles entry k
    RecentList recentFolders;
};

// Paths fixed at start-up or changed through the main-file operations.
struct PathStore {
    char settingsFile[kPathSize] = "";
    char mainFile[kPathSize] = "";
    char defaultFolder[kPathSize] = "";
    char logWrapperPath[kPathSize] = "";
};

extern SettingsStore g_settings;
extern PathStore g_paths;
