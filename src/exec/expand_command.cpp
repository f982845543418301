// The system side of expansion: environment, short names, the query dialog and the program's name.
#include "exec/expand_command.h"

#include <windows.h>

#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/handles.h"
#include "base/messages.h"
#include "exec/expansion.h"
#include "res/resource.h"
#include "settings/settings_records.h"

namespace {

// A placeholder's name or default: never longer than the template it stands in.
using PlaceholderText = FixedText<kPathSize>;

// The query dialog (template 104): asks the user for the value of a "?" placeholder.
struct QueryDialog : DialogBase {
    static constexpr int kTemplate = IDD_QUERY;
    static constexpr DWORD kHelpTopic = IDH_QUERY;
    PlaceholderText name;     // shown read-only
    PlaceholderText initial;  // the value offered
    char* answer = nullptr;   // the value confirmed with OK
    std::size_t room = 0;

    BOOL OnInit(HWND dialog) {
        SetDlgItemTextA(dialog, IDC_QUERY_NAME, name.text);
        SetDlgItemTextA(dialog, IDC_QUERY_VALUE, initial.text);
        const HWND value = GetDlgItem(dialog, IDC_QUERY_VALUE);
        SendMessageA(value, EM_SETSEL, 0, -1);
        SetFocus(value);
        return FALSE;  // the focus is set
    }
    bool OnOk(HWND dialog) {
        DialogItemText(dialog, IDC_QUERY_VALUE, answer, room);
        return true;
    }
};

class SystemExpansionHost : public ExpansionHost {
public:
    explicit SystemExpansionHost(HWND owner) : owner_(owner) {}

    std::size_t Environment(std::string_view name, char* value, std::size_t room) override {
        PlaceholderText key;
        if (!CopyText(key.text, name)) return 0;
        const DWORD fits = room > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(room);
        // The length of a value that fits, else the room it would need with its NUL.
        const DWORD length = GetEnvironmentVariableA(key.text, value, fits);
        return length < fits ? length : length - 1;
    }

    bool ShortPath(std::string_view path, char* shortPath, std::size_t room) override {
        char longPath[kPathSize];
        if (!CopyText(longPath, path)) return false;
        const DWORD fits = room > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(room);
        const DWORD length = GetShortPathNameA(longPath, shortPath, fits);
        return length > 0 && length < fits;
    }

    bool Query(std::string_view name, std::string_view initial, char* answer, std::size_t room) override {
        QueryDialog query;
        CopyText(query.name.text, name);
        CopyText(query.initial.text, initial);
        query.answer = answer;
        query.room = room;
        return RunModalDialog(owner_, query);
    }

    std::string_view DisplayName() override {
        if (displayName_.text[0] == '\0') displayName_ = ResStr(IDS_PROGRAM_NAME);
        return FieldText(displayName_.text);
    }

private:
    HWND owner_;
    ResText displayName_;
};

}  // namespace

bool ExpandPlaceholders(const char* templ, LongNames longNames, char* out, std::size_t capacity) {
    SystemExpansionHost host(g_app.mainWindow);
    return ExpandTemplate(templ, longNames, FieldText(g_paths.mainFile), out, capacity, host) != 0;
}
