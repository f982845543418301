// Counts the calls the test program makes to the system's profile functions, so a test can say how many
// times the settings file was read and written.
#pragma once

// While one lives, the program's imports of the profile functions go through counters; the imports are
// put back when it ends. One at a time; calls from any thread count.
class ProfileCalls {
public:
    ProfileCalls();
    ~ProfileCalls();
    ProfileCalls(const ProfileCalls&) = delete;
    ProfileCalls& operator=(const ProfileCalls&) = delete;

    // False when the imports could not be found, and nothing is counted.
    bool counting() const { return counting_; }
    // GetPrivateProfileStringA and GetPrivateProfileIntA.
    int keyReads() const;
    // GetPrivateProfileSectionA.
    int sectionReads() const;
    // WritePrivateProfileStringA.
    int writes() const;
    void Reset();

private:
    bool counting_ = false;
};
