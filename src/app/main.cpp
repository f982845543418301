// Brisolt's entry point.
#include <windows.h>

#include "app/startup.h"
#include "base/dll_search.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    RestrictDllSearch();
    return RunBrisolt(instance, commandLine);
}
