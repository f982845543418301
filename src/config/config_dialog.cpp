// The configuration dialog (template 101): the grid's shape and options and the 50 buttons, edited in the
// live records. OK writes them all; Cancel reads the settings file again.
#include "config/config_dialog.h"

#include <commctrl.h>

#include "base/handles.h"
#include "base/dialog.h"
#include "base/help.h"
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

struct ConfigDialogData {
    int startButton = 0;
    HWND dialog = nullptr;
    HWND spins[kSpinCount] = {};
    GridCursor cursor;
    // Set while the dialog fills its own controls: their change notifications are not the user's edits.
    bool loading = false;
};

ButtonDef& Current(const ConfigDialogData& data) {
    return g_settings.buttons[data.cursor.index];
}

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

void CreateSpins(ConfigDialogData& data) {
    const AppOptions& options = g_settings.options;
    // The stored grid values are brought into the spins' ranges here already: a position is a 16-bit value.
    const int start[kSpinCount] = {Clamp(options.rows, 1, kMaxRows), Clamp(options.cols, 1, kMaxCols),
                                   Clamp(options.space, 0, kMaxSpace), 1, 1, 1};
    for (int s = 0; s < kSpinCount; ++s) {
        const SpinSpec& spec = kSpins[s];
        data.spins[s] = CreateUpDownControl(WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ALIGNRIGHT | UDS_SETBUDDYINT |
                                                UDS_ARROWKEYS,
                                            10, 10, 18, 18, data.dialog, spec.id, g_app.appInstance,
                                            GetDlgItem(data.dialog, spec.edit), spec.high, spec.low, start[s]);
    }
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

template <std::size_t N>
void ReadText(HWND dialog, int id, char (&field)[N]) {
    GetDlgItemTextA(dialog, id, field, static_cast<int>(N));
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

void EnableCommandControls(HWND dialog, int type) {
    for (int id : kCommandControls) EnableWindow(GetDlgItem(dialog, id), type == kTypeExecute);
}

// The Icon button shows the button's large face, or nothing when it has none.
void ShowIconFace(HWND dialog, int index) {
    const HWND iconButton = GetDlgItem(dialog, IDC_CONFIG_ICON);
    if (!SetButtonFace(iconButton, 0, index, false, false)) ClearButtonFace(iconButton);
}

void ShowCurrentButton(ConfigDialogData& data) {
    const HWND dialog = data.dialog;
    AppOptions& options = g_settings.options;
    data.loading = true;
    data.cursor = ClampCursor(options, data.cursor.index);

    SetSpinRange(data.spins[kRowSpin], 1, options.rows);
    SetSpinRange(data.spins[kColumnSpin], 1, options.cols);
    SetSpinRange(data.spins[kPositionSpin], 1, options.rows * options.cols);
    SetSpinPos(data.spins[kRowsSpin], options.rows);
    SetSpinPos(data.spins[kColsSpin], options.cols);
    SetSpinPos(data.spins[kRowSpin], data.cursor.row + 1);
    SetSpinPos(data.spins[kColumnSpin], data.cursor.column + 1);
    SetSpinPos(data.spins[kPositionSpin], data.cursor.position + 1);

    const ButtonDef& def = Current(data);
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

    data.loading = false;
    EnableCommandControls(dialog, def.type);
    ShowIconFace(dialog, data.cursor.index);
}

// Every field of the current button from its control, greyed or not.
void StoreCurrentButton(const ConfigDialogData& data) {
    const HWND dialog = data.dialog;
    ButtonDef& def = Current(data);
    def.type = SelectedEntry(dialog, IDC_CONFIG_TYPE);
    def.show = SelectedEntry(dialog, IDC_CONFIG_SHOW);
    def.log = SelectedEntry(dialog, IDC_CONFIG_LOG);
    def.editCommandLine = Checked(dialog, IDC_CONFIG_EDIT_COMMAND_LINE);
    def.wait = Checked(dialog, IDC_CONFIG_WAIT);
    def.useLongNames = Checked(dialog, IDC_CONFIG_USE_LONG_NAMES);
    def.useIcon = Checked(dialog, IDC_CONFIG_USE_ICON);
    ReadText(dialog, IDC_CONFIG_TITLE, def.title);
    ReadText(dialog, IDC_CONFIG_COMMAND, def.command);
    ReadText(dialog, IDC_CONFIG_OPTIONS, def.options);
    ReadText(dialog, IDC_CONFIG_DIRECTORY, def.directory);
    ReadText(dialog, IDC_CONFIG_TIP, def.tip);
}

BOOL OnInitDialog(HWND dialog, ConfigDialogData& data) {
    data.dialog = dialog;
    data.loading = true;
    CreateSpins(data);
    const AppOptions& options = g_settings.options;
    SetCheck(dialog, IDC_CONFIG_ON_TOP, options.onTop);
    SetCheck(dialog, IDC_CONFIG_SAVE_FILE_POS, options.saveFilePos);
    SetCheck(dialog, IDC_CONFIG_DISPLAY_TIPS, options.displayTips);
    const ButtonDef& def = g_settings.buttons[0];
    LimitText(dialog, IDC_CONFIG_TITLE, def.title);
    LimitText(dialog, IDC_CONFIG_COMMAND, def.command);
    LimitText(dialog, IDC_CONFIG_OPTIONS, def.options);
    LimitText(dialog, IDC_CONFIG_DIRECTORY, def.directory);
    LimitText(dialog, IDC_CONFIG_TIP, def.tip);
    FillList(dialog, IDC_CONFIG_TYPE, IDS_TYPE_EXECUTE);
    FillList(dialog, IDC_CONFIG_SHOW, IDS_SHOW_NORMAL);
    FillList(dialog, IDC_CONFIG_LOG, IDS_LOG_NEVER);
    data.cursor.index = StartIndex(data.startButton);
    data.loading = false;
    ShowCurrentButton(data);
    return TRUE;  // the focus goes to the first tab stop, the rows field
}

void OnNumberChanged(ConfigDialogData& data, int id) {
    StoreCurrentButton(data);
    AppOptions& options = g_settings.options;
    switch (id) {
    case IDC_CONFIG_ROWS: options.rows = SpinPos(data.spins[kRowsSpin]); break;
    case IDC_CONFIG_COLS: options.cols = SpinPos(data.spins[kColsSpin]); break;
    case IDC_CONFIG_ROW: data.cursor.index = IndexAt(SpinPos(data.spins[kRowSpin]) - 1, data.cursor.column); break;
    case IDC_CONFIG_COLUMN: data.cursor.index = IndexAt(data.cursor.row, SpinPos(data.spins[kColumnSpin]) - 1); break;
    case IDC_CONFIG_POSITION: {
        const int from = data.cursor.index;
        data.cursor = MoveToPosition(g_settings.buttons, options, data.cursor, SpinPos(data.spins[kPositionSpin]) - 1);
        // The two bar buttons show icons whose records have just traded places: an icon reloaded for
        // one of the records before the bar is laid out again must not stay on the other's button.
        if (data.cursor.index != from) {
            ClearBarFace(from);
            ClearBarFace(data.cursor.index);
        }
        break;
    }
    default: return;
    }
    ShowCurrentButton(data);
}

void ChooseProgram(HWND dialog) {
    char path[kPathSize] = "";
    ReadText(dialog, IDC_CONFIG_COMMAND, path);
    if (ChooseFile(dialog, path, FileKind::kProgram)) SetDlgItemTextA(dialog, IDC_CONFIG_COMMAND, path);
}

void ChooseFolder(HWND dialog) {
    char path[kPathSize] = "";
    ReadText(dialog, IDC_CONFIG_DIRECTORY, path);
    BrowseForFolder(dialog, path);
    if (path[0] != '\0') SetDlgItemTextA(dialog, IDC_CONFIG_DIRECTORY, path);
}

void ChooseIcon(const ConfigDialogData& data) {
    // The picker reads the button's command for its previews and fallbacks: it sees what is typed now.
    StoreCurrentButton(data);
    RunIconPicker(data.dialog, data.cursor.index, GetDlgItem(data.dialog, IDC_CONFIG_ICON));
}

void OnOk(const ConfigDialogData& data) {
    const HWND dialog = data.dialog;
    AppOptions& options = g_settings.options;
    options.rows = static_cast<int>(GetDlgItemInt(dialog, IDC_CONFIG_ROWS, nullptr, FALSE));
    options.cols = static_cast<int>(GetDlgItemInt(dialog, IDC_CONFIG_COLS, nullptr, FALSE));
    options.space = static_cast<int>(GetDlgItemInt(dialog, IDC_CONFIG_SPACE, nullptr, FALSE));
    options.onTop = Checked(dialog, IDC_CONFIG_ON_TOP);
    options.saveFilePos = Checked(dialog, IDC_CONFIG_SAVE_FILE_POS);
    options.displayTips = Checked(dialog, IDC_CONFIG_DISPLAY_TIPS);
    StoreCurrentButton(data);
    WriteSettings();
    EndDialog(dialog, 1);
}

void OnCancel(HWND dialog) {
    // The Icon button may be showing an icon that the reload is about to destroy.
    ClearButtonFace(GetDlgItem(dialog, IDC_CONFIG_ICON));
    ReadSettings();
    LoadAllButtonIcons();
    EndDialog(dialog, 0);
}

BOOL OnCommand(ConfigDialogData& data, int id, int code) {
    switch (id) {
    case IDC_CONFIG_ROWS:
    case IDC_CONFIG_COLS:
    case IDC_CONFIG_ROW:
    case IDC_CONFIG_COLUMN:
    case IDC_CONFIG_POSITION:
        if (code == EN_CHANGE && !data.loading) OnNumberChanged(data, id);
        return TRUE;
    case IDC_CONFIG_TYPE:
        if (code == CBN_SELCHANGE) EnableCommandControls(data.dialog, SelectedEntry(data.dialog, IDC_CONFIG_TYPE));
        return TRUE;
    case IDC_CONFIG_COMMAND_BUTTON:
        if (code == BN_CLICKED) ChooseProgram(data.dialog);
        return TRUE;
    case IDC_CONFIG_FOLDER_BUTTON:
        if (code == BN_CLICKED) ChooseFolder(data.dialog);
        return TRUE;
    case IDC_CONFIG_ICON:
    case IDC_CONFIG_CHANGE_ICON:
        if (code == BN_CLICKED) ChooseIcon(data);
        return TRUE;
    case IDOK:
        OnOk(data);
        return TRUE;
    case IDCANCEL:
        OnCancel(data.dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = DialogData<ConfigDialogData>(dialog, message, lParam);
    if (data == nullptr) return FALSE;
    if (HandleDialogHelp(message, wParam, lParam, IDH_CONFIGURATION)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, *data);
    case WM_COMMAND:
        return OnCommand(*data, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
        // A shell icon on the Icon button belongs to that button alone.
        ClearButtonFace(GetDlgItem(dialog, IDC_CONFIG_ICON));
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool RunConfigurationDialog(HWND owner, int startButton) {
    ConfigDialogData data;
    data.startButton = startButton;
    return RunDialog(owner, IDD_CONFIG, ConfigDialogProc, &data) == 1;
}
