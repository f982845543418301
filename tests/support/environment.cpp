// An environment variable of the test process set for one scope.
#include "support/environment.h"

#include <windows.h>

#include <vector>

ScopedVariable::ScopedVariable(const char* name, const char* value) : name_(name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size > 0) {
        std::vector<char> old(size);
        const DWORD length = GetEnvironmentVariableA(name, old.data(), size);
        previous_ = std::string(old.data(), length < size ? length : 0);
    } else if (GetLastError() != ERROR_ENVVAR_NOT_FOUND) {
        previous_ = std::string();  // set, but empty
    }
    SetEnvironmentVariableA(name, value);
}

ScopedVariable::~ScopedVariable() {
    SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}
