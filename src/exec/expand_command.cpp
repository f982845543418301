// The system side of expansion: environment, short names, the query dialog and the program's name.
#include "exec/expand_command.h"

#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "exec/expansion.h"
#include "exec/query_dialog.h"
#include "res/resource.h"
#include "settings/bounded_text.h"
#include "settings/res_strings.h"
#include "settings/settings_records.h"

namespace {

// Calls a system function that answers with the length it needs when the buffer is too small, growing
// the buffer until the text fits; the text can change between calls, so it asks a few times at most.
template <typename Call>
bool ReadGrowing(std::string& out, DWORD firstSize, Call call) {
    std::string buffer(firstSize, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length = call(&buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0) return false;
        if (length < buffer.size()) {
            out.assign(buffer.data(), length);
            return true;
        }
        buffer.assign(length, '\0');
    }
    return false;
}

class SystemExpansionHost : public ExpansionHost {
public:
    explicit SystemExpansionHost(HWND owner) : owner_(owner) {}

    bool Environment(std::string_view name, std::string& value) override {
        const std::string key(name);
        return ReadGrowing(value, 64, [&](char* buffer, DWORD size) {
            return GetEnvironmentVariableA(key.c_str(), buffer, size);
        });
    }

    bool ShortPath(std::string_view path, std::string& shortPath) override {
        const std::string longPath(path);
        return ReadGrowing(shortPath, 262, [&](char* buffer, DWORD size) {
            return GetShortPathNameA(longPath.c_str(), buffer, size);
        });
    }

    bool Query(std::string_view name, std::string_view initial, std::string& answer) override {
        QueryDialogData data;
        data.name = name;
        data.value = initial;
        if (!RunQueryDialog(owner_, data)) return false;
        answer = data.value;
        return true;
    }

    std::string_view DisplayName() override {
        if (displayName_.empty()) displayName_ = ResStr(IDS_PROGRAM_NAME);
        return displayName_;
    }

private:
    HWND owner_;
    std::string displayName_;
};

}  // namespace

int ExpandPlaceholders(const char* templ, int useLongNames, char* out, std::size_t capacity) {
    SystemExpansionHost host(g_app.mainWindow);
    return ExpandTemplate(templ, useLongNames != 0, FieldText(g_paths.mainFile), out, capacity, host);
}
