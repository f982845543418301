// Names of the temporary folder and its log files.
#include "exec/log_names.h"

std::string TempFolderName(std::string_view tempPath, const ExistsFunction& exists) {
    for (unsigned n = 1; n <= kLastNumber; ++n) {
        std::string name(tempPath);
        name.append("Brisolt").append(std::to_string(n));
        if (name.size() > kLongestName) return std::string();
        if (!exists(name)) return name;
    }
    return std::string();
}

std::string LogFileName(std::string_view folder, unsigned number) {
    std::string name(folder);
    name.append("\\log").append(std::to_string(number)).append(".txt");
    return name;
}

FreeLogFile FirstFreeLogFile(std::string_view folder, const ExistsFunction& exists) {
    for (unsigned n = 1; n <= kLastNumber; ++n) {
        std::string name = LogFileName(folder, n);
        if (name.size() > kLongestName) break;
        if (!exists(name)) return FreeLogFile{std::move(name), n};
    }
    return FreeLogFile{};
}

std::vector<std::string> LogFilesToDelete(std::string_view folder, unsigned highestNumber, const ExistsFunction& exists) {
    std::vector<std::string> names;
    for (unsigned n = 1; n <= highestNumber && n <= kLastNumber; ++n) {
        std::string name = LogFileName(folder, n);
        if (exists(name)) names.push_back(std::move(name));
    }
    return names;
}
