// The configuration dialog (template 101): the grid's shape and options and the 50 buttons, edited in a
// draft. OK stores the draft, writes what the settings file does not hold yet and loads again only the
// icons of the buttons whose icons changed; Cancel drops it.
#include "config/config_dialog.h"

#include <commctrl.h>

#include "base/dialog.h"
#include "base/handles.h"
#include "base/messages.h"
#include "config/button_icons.h"
#include "config/config_rules.h"
#include "config/icon_picker.h"
#include "res/resource.h"
#include "settings/selection.h"
#include "settings/settings_file.h"

namespace {

enum Spin { kRowsSpin, kColsSpin, kSpaceSpin, kRowSpin, kColumnSpin, kPositionSpin, kSpinCount };

constexpr int kMaxSpace = 32;

// Each number field changes only through the spin beside it; the range is the one the spin is created with.
struct SpinSpec {
    int id;
    int edit;
    int low;
    int high;
};
constexpr SpinSpec kSpins[kSpinCount] = {
    {IDC_CONFIG_ROWS_SPIN, IDC_CONFIG_ROWS, 1, kMaxRows},
    {IDC_CONFIG_COLS_SPIN, IDC_CONFIG_COLS, 1, kMaxCols},
    {IDC_CONFIG_SPACE_SPIN, IDC_CONFIG_SPACE, 0, kMaxSpace},
    {IDC_CONFIG_ROW_SPIN, IDC_CONFIG_ROW, 1, kMaxRows},
    {IDC_CONFIG_COLUMN_SPIN, IDC_CONFIG_COLUMN, 1, kMaxCols},
    {IDC_CONFIG_POSITION_SPIN, IDC_CONFIG_POSITION, 1, kButtonCount},
};

// What only a command button uses: greyed for every other type, their contents kept and stored.
constexpr int kCommandControls[] = {
    IDC_CONFIG_SHOW_LABEL,     IDC_CONFIG_SHOW,          IDC_CONFIG_LOG_LABEL,  IDC_CONFIG_LOG,
    IDC_CONFIG_COMMAND_BUTTON, IDC_CONFIG_COMMAND,       IDC_CONFIG_FOLDER_BUTTON, IDC_CONFIG_DIRECTORY,
    IDC_CONFIG_OPTIONS_LABEL,  IDC_CONFIG_OPTIONS,       IDC_CONFIG_EDIT_COMMAND_LINE, IDC_CONFIG_WAIT,
    IDC_CONFIG_USE_LONG_NAMES,
};

int Clamp(int value, int low, int high) {
    if (value > high) return high;
    if (value < low) return low;
    return value;
}

void SetSpinRange(HWND spin, int low, int high) {
    SendMessageA(spin, UDM_SETRANGE, 0, MAKELPARAM(high, low));
}

// Clamps to the range and, through the buddy, rewrites the number field.
void SetSpinPos(HWND spin, int position) {
    SendMessageA(spin, UDM_SETPOS, 0, MAKELPARAM(position, 0));
}

int SpinPos(HWND spin) {
    return static_cast<short>(LOWORD(SendMessageA(spin, UDM_GETPOS, 0, 0)));
}

void SetCheck(HWND dialog, int id, int value) {
    CheckDlgButton(dialog, id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

int Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

template <std::size_t N>
void LimitText(HWND dialog, int id, const char (&)[N]) {
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, N - 1, 0);
}

// The names from string `firstId` upward, up to the first empty one.
void FillList(HWND dialog, int id, int firstId) {
    for (int stringId = firstId;; ++stringId) {
        const ResText name = ResStr(stringId);
        if (name.text[0] == '\0') break;
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.text));
    }
}

// A value outside the list leaves it without a selection.
void SelectEntry(HWND dialog, int id, int value) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

signed char SelectedEntry(HWND dialog, int id) {
    return static_cast<signed char>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

// A button that runs others in turn keeps their titles in the options field, and its label says so.
void EnableCommandControls(HWND dialog, int type) {
    const bool steps = type == kTypeRunInTurn;
    for (int id : kCommandControls) {
        const bool options = id == IDC_CONFIG_OPTIONS_LABEL || id == IDC_CONFIG_OPTIONS;
        EnableWindow(GetDlgItem(dialog, id), type == kTypeExecute || (steps && options));
    }
    SetDlgItemTextA(dialog, IDC_CONFIG_OPTIONS_LABEL, ResStr(steps ? IDS_STEPS_LABEL : IDS_OPTIONS_LABEL).text);
}

// The options and the buttons as the settings hold them, a draft the dialog edits.
struct ConfigDraft {
    AppOptions options;
    ButtonDef buttons[kButtonCount];
};

// The options and the buttons become the draft; the table keeps the icons of every button whose icons
// did not change, and the settings file gets what it does not hold yet.
void StoreDraft(const ConfigDraft& draft) {
    g_settings.options = draft.options;
    for (int i = 0; i < kButtonCount; ++i) {
        const bool sameIcons = SameIcons(g_settings.buttons[i], draft.buttons[i]);
        g_settings.buttons[i] = draft.buttons[i];
        if (!sameIcons) LoadButtonIcons(i);
    }
    WriteSettings();
}

struct ConfigDialog : DialogBase {
    static constexpr int kTemplate = IDD_CONFIG;
    static constexpr DWORD kHelpTopic = IDH_CONFIGURATION;

    int startButton = 0;
    ConfigDraft draft;
    // The icons of the button shown, for the Icon button.
    ButtonIconPair shownIcons;
    HWND dialog = nullptr;
    HWND spins[kSpinCount] = {};
    GridCursor cursor;
    // Set while the dialog fills its own controls: their change notifications are not the user's edits.
    bool loading = false;

    ButtonDef& Current() { return draft.buttons[cursor.index]; }

    void CreateSpins() {
        const AppOptions& options = draft.options;
        // The stored grid values are brought into the spins' ranges here already: a position is a 16-bit value.
        const int start[kSpinCount] = {Clamp(options.rows, 1, kMaxRows), Clamp(options.cols, 1, kMaxCols),
                                       Clamp(options.space, 0, kMaxSpace), 1, 1, 1};
        for (int s = 0; s < kSpinCount; ++s) {
            const SpinSpec& spec = kSpins[s];
            spins[s] = CreateUpDownControl(WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ALIGNRIGHT | UDS_SETBUDDYINT |
                                               UDS_ARROWKEYS,
                                           10, 10, 18, 18, dialog, spec.id, g_app.appInstance,
                                           GetDlgItem(dialog, spec.edit), spec.high, spec.low, start[s]);
        }
    }

    // The Icon button shows the button's large face, or nothing when it has none.
    void ShowIconFace() {
        const HWND iconButton = GetDlgItem(dialog, IDC_CONFIG_ICON);
        // The face goes before the icons it may show do.
        ClearButtonFace(iconButton);
        shownIcons = LoadButtonIconPair(Current());
        ShowButtonFace(iconButton, Current(), shownIcons, IconSize::kLarge);
    }

    void ShowCurrentButton() {
        AppOptions& options = draft.options;
        loading = true;
        cursor = ClampCursor(options, cursor.index);

        SetSpinRange(spins[kRowSpin], 1, options.rows);
        SetSpinRange(spins[kColumnSpin], 1, options.cols);
        SetSpinRange(spins[kPositionSpin], 1, options.rows * options.cols);
        SetSpinPos(spins[kRowsSpin], options.rows);
        SetSpinPos(spins[kColsSpin], options.cols);
        SetSpinPos(spins[kRowSpin], cursor.row + 1);
        SetSpinPos(spins[kColumnSpin], cursor.column + 1);
        SetSpinPos(spins[kPositionSpin], cursor.position + 1);

        const ButtonDef& def = Current();
        SelectEntry(dialog, IDC_CONFIG_TYPE, def.type);
        SelectEntry(dialog, IDC_CONFIG_SHOW, def.show);
        SelectEntry(dialog, IDC_CONFIG_LOG, def.log);
        SetCheck(dialog, IDC_CONFIG_EDIT_COMMAND_LINE, def.editCommandLine);
        SetCheck(dialog, IDC_CONFIG_WAIT, def.wait);
        SetCheck(dialog, IDC_CONFIG_USE_LONG_NAMES, def.useLongNames);
        SetCheck(dialog, IDC_CONFIG_USE_ICON, def.useIcon);
        SetDlgItemTextA(dialog, IDC_CONFIG_TITLE, def.title);
        SetDlgItemTextA(dialog, IDC_CONFIG_COMMAND, def.command);
        SetDlgItemTextA(dialog, IDC_CONFIG_OPTIONS, def.options);
        SetDlgItemTextA(dialog, IDC_CONFIG_DIRECTORY, def.directory);
        SetDlgItemTextA(dialog, IDC_CONFIG_TIP, def.tip);

        loading = false;
        EnableCommandControls(dialog, def.type);
        ShowIconFace();
    }

    // Every field of the current button from its control, greyed or not.
    void StoreCurrentButton() {
        ButtonDef& def = Current();
        def.type = SelectedEntry(dialog, IDC_CONFIG_TYPE);
        def.show = SelectedEntry(dialog, IDC_CONFIG_SHOW);
        def.log = SelectedEntry(dialog, IDC_CONFIG_LOG);
        def.editCommandLine = Checked(dialog, IDC_CONFIG_EDIT_COMMAND_LINE);
        def.wait = Checked(dialog, IDC_CONFIG_WAIT);
        def.useLongNames = Checked(dialog, IDC_CONFIG_USE_LONG_NAMES);
        def.useIcon = Checked(dialog, IDC_CONFIG_USE_ICON);
        DialogItemText(dialog, IDC_CONFIG_TITLE, def.title);
        DialogItemText(dialog, IDC_CONFIG_COMMAND, def.command);
        DialogItemText(dialog, IDC_CONFIG_OPTIONS, def.options);
        DialogItemText(dialog, IDC_CONFIG_DIRECTORY, def.directory);
        DialogItemText(dialog, IDC_CONFIG_TIP, def.tip);
    }

    BOOL OnInit(HWND window) {
        dialog = window;
        loading = true;
        CreateSpins();
        const AppOptions& options = draft.options;
        SetCheck(dialog, IDC_CONFIG_ON_TOP, options.onTop);
        SetCheck(dialog, IDC_CONFIG_SAVE_FILE_POS, options.saveFilePos);
        SetCheck(dialog, IDC_CONFIG_DISPLAY_TIPS, options.displayTips);
        const ButtonDef& def = draft.buttons[0];
        LimitText(dialog, IDC_CONFIG_TITLE, def.title);
        LimitText(dialog, IDC_CONFIG_COMMAND, def.command);
        LimitText(dialog, IDC_CONFIG_OPTIONS, def.options);
        LimitText(dialog, IDC_CONFIG_DIRECTORY, def.directory);
        LimitText(dialog, IDC_CONFIG_TIP, def.tip);
        FillList(dialog, IDC_CONFIG_TYPE, IDS_TYPE_EXECUTE);
        FillList(dialog, IDC_CONFIG_SHOW, IDS_SHOW_NORMAL);
        FillList(dialog, IDC_CONFIG_LOG, IDS_LOG_NEVER);
        cursor.index = StartIndex(startButton);
        loading = false;
        ShowCurrentButton();
        return TRUE;  // the focus goes to the first tab stop, the rows field
    }

    void OnNumberChanged(int id) {
        StoreCurrentButton();
        AppOptions& options = draft.options;
        switch (id) {
        case IDC_CONFIG_ROWS: options.rows = SpinPos(spins[kRowsSpin]); break;
        case IDC_CONFIG_COLS: options.cols = SpinPos(spins[kColsSpin]); break;
        case IDC_CONFIG_ROW: cursor.index = IndexAt(SpinPos(spins[kRowSpin]) - 1, cursor.column); break;
        case IDC_CONFIG_COLUMN: cursor.index = IndexAt(cursor.row, SpinPos(spins[kColumnSpin]) - 1); break;
        case IDC_CONFIG_POSITION:
            cursor = MoveToPosition(draft.buttons, options, cursor, SpinPos(spins[kPositionSpin]) - 1);
            break;
        default: return;
        }
        ShowCurrentButton();
    }

    void ChooseProgram() {
        char path[kPathSize] = "";
        DialogItemText(dialog, IDC_CONFIG_COMMAND, path);
        if (ChooseFile(dialog, path, FileKind::kProgram)) SetDlgItemTextA(dialog, IDC_CONFIG_COMMAND, path);
    }

    void ChooseFolder() {
        char path[kPathSize] = "";
        DialogItemText(dialog, IDC_CONFIG_DIRECTORY, path);
        if (BrowseForFolder(dialog, path)) SetDlgItemTextA(dialog, IDC_CONFIG_DIRECTORY, path);
    }

    void ChooseIcon() {
        // The picker reads the button's command for its previews and fallbacks: it sees what is typed now.
        StoreCurrentButton();
        if (RunIconPicker(dialog, Current())) ShowIconFace();
    }

    bool OnOk(HWND) {
        AppOptions& options = draft.options;
        options.rows = static_cast<int>(GetDlgItemInt(dialog, IDC_CONFIG_ROWS, nullptr, FALSE));
        options.cols = static_cast<int>(GetDlgItemInt(dialog, IDC_CONFIG_COLS, nullptr, FALSE));
        options.space = static_cast<int>(GetDlgItemInt(dialog, IDC_CONFIG_SPACE, nullptr, FALSE));
        options.onTop = Checked(dialog, IDC_CONFIG_ON_TOP);
        options.saveFilePos = Checked(dialog, IDC_CONFIG_SAVE_FILE_POS);
        options.displayTips = Checked(dialog, IDC_CONFIG_DISPLAY_TIPS);
        StoreCurrentButton();
        StoreDraft(draft);
        return true;
    }

    BOOL OnCommand(HWND, int id, int code) {
        switch (id) {
        case IDC_CONFIG_ROWS:
        case IDC_CONFIG_COLS:
        case IDC_CONFIG_ROW:
        case IDC_CONFIG_COLUMN:
        case IDC_CONFIG_POSITION:
            if (code == EN_CHANGE && !loading) OnNumberChanged(id);
            return TRUE;
        case IDC_CONFIG_TYPE:
            if (code == CBN_SELCHANGE) EnableCommandControls(dialog, SelectedEntry(dialog, IDC_CONFIG_TYPE));
            return TRUE;
        case IDC_CONFIG_COMMAND_BUTTON:
            if (code == BN_CLICKED) ChooseProgram();
            return TRUE;
        case IDC_CONFIG_FOLDER_BUTTON:
            if (code == BN_CLICKED) ChooseFolder();
            return TRUE;
        case IDC_CONFIG_ICON:
        case IDC_CONFIG_CHANGE_ICON:
            if (code == BN_CLICKED) ChooseIcon();
            return TRUE;
        default:
            return FALSE;
        }
    }

    INT_PTR OnMessage(HWND, UINT message, WPARAM, LPARAM) {
        // The Icon button's face goes with the dialog, before the icons it shows.
        if (message == WM_DESTROY) ClearButtonFace(GetDlgItem(dialog, IDC_CONFIG_ICON));
        return FALSE;
    }
};

}  // namespace

bool RunConfigurationDialog(HWND owner, int startButton) {
    ConfigDialog configuration;
    configuration.startButton = startButton;
    configuration.draft.options = g_settings.options;
    for (int i = 0; i < kButtonCount; ++i) configuration.draft.buttons[i] = g_settings.buttons[i];
    return RunModalDialog(owner, configuration);
}
