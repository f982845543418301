// The folder a button's program starts in.
#include "exec/working_folder.h"

std::string WorkingFolder(std::string_view buttonDirectory, std::string_view defaultFolder, std::string_view mainFile) {
    if (!buttonDirectory.empty()) return std::string(buttonDirectory);
    if (!defaultFolder.empty()) return std::string(defaultFolder);
    const std::size_t slash = mainFile.rfind('\\');
    if (slash == std::string_view::npos) return std::string();
    // The backslash of a root folder is part of the folder's name.
    if (slash == 0 || mainFile[slash - 1] == ':') return std::string(mainFile.substr(0, slash + 1));
    return std::string(mainFile.substr(0, slash));
}
