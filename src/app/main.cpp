// Brisolt's entry point.
#include <windows.h>

#include "app/startup.h"
#include "base/search_order.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    RestrictDllSearch();
    KeepCurrentFolderOutOfProgramSearch();
    return RunBrisolt(instance, commandLine);
}
