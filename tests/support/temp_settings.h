// A settings file of the test's own, in a fresh temporary folder, written from INI text.
#pragma once

#include <string>

#include "support/temp_folder.h"

class TempSettings {
public:
    explicit TempSettings(const std::string& iniText);
    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_.path(); }
    // One value as the profile functions read it, or "<missing>".
    std::string Read(const char* section, const char* key) const;
    void Write(const char* section, const char* key, const char* value) const;

private:
    TempFolder folder_{"bar_test"};
    std::string path_;
};
