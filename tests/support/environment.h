// An environment variable of the test process set for one scope and put back as it was afterwards.
#pragma once

#include <optional>
#include <string>

class ScopedVariable {
public:
    // Sets `name` to `value`, or removes it when `value` is null.
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;  // nullopt: the variable was not set
};
