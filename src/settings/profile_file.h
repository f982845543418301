// Sections of a settings file read whole through the system's profile functions, for ProfileSection to
// answer from.
#pragma once

#include <string>

// The block GetPrivateProfileSectionA gives for [section] of file: "key=value" entries each ended by a
// NUL. The buffer starts with the file's size and grows until the block fits, up to 16 MB; a section
// larger than that is read as far as it goes. Empty for a missing section or file.
std::string ReadSectionBlock(const char* section, const char* file);
