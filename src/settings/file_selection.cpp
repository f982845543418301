// Picking files and folders through the system's standard dialogs.
#include "settings/file_selection.h"

// Not part of this build yet: every dialog counts as cancelled.
int ChooseFile(HWND, char (&)[kPathSize], int) {
    return 0;
}

int BrowseForFolder(HWND, char (&path)[kPathSize]) {
    return path[0] != '\0';
}

int ChooseFileWithFilter(HWND, int, char (&)[kPathSize], const char*, const char*) {
    return 0;
}
