// A settings file of the test's own, in a fresh temporary folder.
#include "support/temp_settings.h"

#include <windows.h>

#include "support/test_files.h"

TempSettings::TempSettings(const std::string& iniText) : path_(folder_.File("Brisolt.ini")) {
    WriteWhole(path_, iniText);
}

std::string TempSettings::Read(const char* section, const char* key) const { return IniValue(path_, section, key); }

void TempSettings::Write(const char* section, const char* key, const char* value) const {
    WritePrivateProfileStringA(section, key, value, path_.c_str());
}
