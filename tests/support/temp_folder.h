// A folder of the test's own under the temporary path, removed with everything in it at the end.
#pragma once

#include <string>

class TempFolder {
public:
    // Makes a new folder "<stem>_<process>_<n>" under the temporary path as it is now; the stem may hold
    // blanks. Process ids come round again under Wine, so n is the first number not taken yet.
    explicit TempFolder(const std::string& stem = "brisolt_test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's long name without a trailing backslash; empty when no folder could be made.
    const std::string& path() const { return path_; }
    // A name inside the folder.
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};
