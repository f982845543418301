// Calls into the HTML Help system.
#include "base/help.h"

#include <htmlhelp.h>

#include "base/handles.h"
#include "base/bounded_text.h"
#include "res/resource.h"

// Every control of the dialogs with its context-help topic, which is named after a control: a label,
// a spin or a field beside a button answers with the topic of the control it belongs to.
const DWORD helpIdMap[] = {
    IDOK, IDOK,
    IDCANCEL, IDCANCEL,
    IDC_HELP_BUTTON, IDC_HELP_BUTTON,
    IDC_CONFIG_ROWS, IDC_CONFIG_ROWS,
    IDC_CONFIG_ROWS_SPIN, IDC_CONFIG_ROWS,
    IDC_CONFIG_COLS, IDC_CONFIG_COLS,
    IDC_CONFIG_COLS_SPIN, IDC_CONFIG_COLS,
    IDC_CONFIG_SPACE, IDC_CONFIG_SPACE,
    IDC_CONFIG_SPACE_SPIN, IDC_CONFIG_SPACE,
    IDC_CONFIG_ON_TOP, IDC_CONFIG_ON_TOP,
    IDC_CONFIG_DISPLAY_TIPS, IDC_CONFIG_DISPLAY_TIPS,
    IDC_CONFIG_SAVE_FILE_POS, IDC_CONFIG_SAVE_FILE_POS,
    IDC_CONFIG_ROW, IDC_CONFIG_ROW,
    IDC_CONFIG_ROW_SPIN, IDC_CONFIG_ROW,
    IDC_CONFIG_COLUMN, IDC_CONFIG_COLUMN,
    IDC_CONFIG_COLUMN_SPIN, IDC_CONFIG_COLUMN,
    IDC_CONFIG_POSITION, IDC_CONFIG_POSITION,
    IDC_CONFIG_POSITION_SPIN, IDC_CONFIG_POSITION,
    IDC_CONFIG_TITLE, IDC_CONFIG_TITLE,
    IDC_CONFIG_TYPE, IDC_CONFIG_TYPE,
    IDC_CONFIG_SHOW_LABEL, IDC_CONFIG_SHOW,
    IDC_CONFIG_SHOW, IDC_CONFIG_SHOW,
    IDC_CONFIG_COMMAND_BUTTON, IDC_CONFIG_COMMAND_BUTTON,
    IDC_CONFIG_COMMAND, IDC_CONFIG_COMMAND,
    IDC_CONFIG_OPTIONS_LABEL, IDC_CONFIG_OPTIONS,
    IDC_CONFIG_OPTIONS, IDC_CONFIG_OPTIONS,
    IDC_CONFIG_FOLDER_BUTTON, IDC_CONFIG_FOLDER_BUTTON,
    IDC_CONFIG_DIRECTORY, IDC_CONFIG_FOLDER_BUTTON,
    IDC_CONFIG_TIP, IDC_CONFIG_TIP,
    IDC_CONFIG_EDIT_COMMAND_LINE, IDC_CONFIG_EDIT_COMMAND_LINE,
    IDC_CONFIG_WAIT, IDC_CONFIG_WAIT,
    IDC_CONFIG_USE_LONG_NAMES, IDC_CONFIG_USE_LONG_NAMES,
    IDC_CONFIG_LOG_LABEL, IDC_CONFIG_LOG,
    IDC_CONFIG_LOG, IDC_CONFIG_LOG,
    IDC_SELECTION_COMBO, IDC_SELECTION_COMBO,
    IDC_SELECTION_BROWSE, IDC_SELECTION_BROWSE,
    IDC_EDIT_COMMAND, IDC_EDIT_COMMAND,
    IDC_EDIT_OPTIONS, IDC_EDIT_OPTIONS,
    IDC_QUERY_NAME, IDC_QUERY_NAME,
    IDC_QUERY_VALUE, IDC_QUERY_VALUE,
    IDC_CONFIG_USE_ICON, IDC_CONFIG_USE_ICON,
    IDC_CONFIG_ICON, IDC_CONFIG_ICON,
    IDC_CONFIG_CHANGE_ICON, IDC_CONFIG_CHANGE_ICON,
    IDC_ICON_FAST_DEFAULT, IDC_ICON_FAST_DEFAULT,
    IDC_ICON_PREVIEW, IDC_ICON_PREVIEW,
    IDC_ICON_FILE_BUTTON, IDC_ICON_FILE_BUTTON,
    IDC_ICON_FILE, IDC_ICON_FILE,
    IDC_ICON_LIST_LABEL, IDC_ICON_LIST,
    IDC_ICON_LIST, IDC_ICON_LIST,
    0, 0,
};

namespace {
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The help library is optional: it is looked for once, on the first help request.
struct HelpLibrary {
    bool tried = false;
    HtmlHelpFunction htmlHelp = nullptr;
    HelpCaller caller = nullptr;  // in place of the library, when set
};
HelpLibrary g_help;

// Only the system's own copy: a library of the same name beside a document must never be loaded.
HMODULE LoadHelpLibrary() {
    char path[MAX_PATH] = "";
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path) return nullptr;
    if (!AppendText(path, "\\hhctrl.ocx")) return nullptr;
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
}  // namespace

void SetHelpCaller(HelpCaller caller) {
    g_help.caller = caller;
}

HWND CallHtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data) {
    if (g_help.caller != nullptr) return g_help.caller(caller, file, command, data);
    if (!g_help.tried) {
        g_help.tried = true;
        if (HMODULE library = LoadHelpLibrary()) {
            g_help.htmlHelp = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void (*)()>(GetProcAddress(library, "HtmlHelpA")));
        }
    }
    return g_help.htmlHelp ? g_help.htmlHelp(caller, file, command, data) : nullptr;
}

void HelpOnControl(const HELPINFO* helpInfo) {
    CallHtmlHelp(static_cast<HWND>(helpInfo->hItemHandle), g_app.helpFile, HH_TP_HELP_WM_HELP,
                 reinterpret_cast<DWORD_PTR>(helpIdMap));
}

void HelpContextMenu(HWND window) {
    CallHtmlHelp(window, g_app.helpFile, HH_TP_HELP_CONTEXTMENU, reinterpret_cast<DWORD_PTR>(helpIdMap));
}

void ShowHelpTopic(DWORD topic) {
    CallHtmlHelp(nullptr, g_app.helpFile, HH_HELP_CONTEXT, topic);
}

void ShowHelpIndex() {
    CallHtmlHelp(nullptr, g_app.helpFile, HH_DISPLAY_TOPIC, 0);
}

bool HandleDialogHelp(UINT message, WPARAM wParam, LPARAM lParam, DWORD topic) {
    switch (message) {
    case WM_HELP:
        HelpOnControl(reinterpret_cast<const HELPINFO*>(lParam));
        return true;
    case WM_CONTEXTMENU:
        HelpContextMenu(reinterpret_cast<HWND>(wParam));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_HELP_BUTTON || HIWORD(wParam) != BN_CLICKED) return false;
        ShowHelpTopic(topic);
        return true;
    default:
        return false;
    }
}
