// The system side of expansion: environment, short names, the query dialog and the program's name.
#include "exec/expand_command.h"

#include <windows.h>

#include <string>

#include "base/app_handles.h"
#include "base/growing_read.h"
#include "exec/expansion.h"
#include "exec/query_dialog.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "base/res_strings.h"
#include "settings/settings_records.h"

namespace {

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
        if (displayName_.empty()) displayName_ = ResStr(IDS_PROGRAM_NAME).text;
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
