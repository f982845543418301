// Loads a library by name as the program's late loads do, with or without the program's restricted search.
// fixture_dll_probe [--restrict] [--move FOLDER] NAME
//   --restrict     RestrictDllSearch() first, as the program's entry points do
//   --move FOLDER  then make FOLDER the current folder, as a file dialog does when a main file is chosen
// Exit code 0 when the library was loaded, 1 when it was not, 2 on a bad command line.
#include <windows.h>

#include <cstring>

#include "base/search_order.h"

int main(int argc, char** argv) {
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--restrict") == 0) {
        RestrictDllSearch();
        ++i;
    }
    if (i + 1 < argc && std::strcmp(argv[i], "--move") == 0) {
        if (!SetCurrentDirectoryA(argv[i + 1])) return 2;
        i += 2;
    }
    if (i + 1 != argc) return 2;
    return LoadLibraryA(argv[i]) != nullptr ? 0 : 1;
}
