// The system side of expansion: environment, short names, the query dialog and the program's name.
#include "exec/expand_command.h"

#include <windows.h>

#include <string>

#include "base/handles.h"
#include "exec/expansion.h"
#include "base/dialog.h"
#include "base/help.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "base/messages.h"
#include "settings/settings_records.h"

namespace {

// The query dialog (template 104): asks the user for the value of a "?" placeholder.
struct QueryDialogData {
    std::string name;   // shown read-only
    std::string value;  // in: the value offered; out: the value confirmed with OK
};

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthA(control);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

INT_PTR CALLBACK QueryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = DialogData<QueryDialogData>(dialog, message, lParam);
    if (HandleDialogHelp(message, wParam, lParam, IDH_QUERY)) return TRUE;
    switch (message) {
    case WM_INITDIALOG: {
        SetDlgItemTextA(dialog, IDC_QUERY_NAME, data->name.c_str());
        SetDlgItemTextA(dialog, IDC_QUERY_VALUE, data->value.c_str());
        HWND value = GetDlgItem(dialog, IDC_QUERY_VALUE);
        SendMessageA(value, EM_SETSEL, 0, -1);
        SetFocus(value);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (data) data->value = ControlText(dialog, IDC_QUERY_VALUE);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// Runs the dialog modally over owner; true on OK. A dialog that cannot be shown counts as cancelled.
bool RunQueryDialog(HWND owner, QueryDialogData& data) {
    const INT_PTR result = RunDialog(owner, IDD_QUERY, QueryDialogProc, &data);
    return result == IDOK;
}

// Calls a system function that answers with the length it needs when the buffer is too small, growing
// the buffer until the text fits; the text can change between calls, so it asks a few times at most.
// `call(buffer, size)` returns the length written, the size needed, or 0 on failure.
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
