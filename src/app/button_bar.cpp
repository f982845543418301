// The button bar window: the program's main window, a modal dialog from template 100.
#include "app/button_bar.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app_state.h"
#include "app/close_rule.h"
#include "app/hint_text.h"
#include "app/hint_window.h"
#include "app/layout_buttons.h"
#include "exec/activation.h"
#include "res/resource.h"
#include "settings/about_box.h"
#include "settings/bounded_text.h"
#include "settings/help.h"
#include "settings/main_file.h"
#include "settings/res_strings.h"
#include "settings/settings_file.h"

namespace {
void AddSystemMenuItems(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    AppendMenuA(menu, MF_SEPARATOR, static_cast<UINT_PTR>(-1), nullptr);
    AppendMenuA(menu, MF_STRING, IDM_CONFIGURATION, ResStr(IDS_MENU_CONFIGURATION));
    AppendMenuA(menu, MF_STRING, IDM_HELP, ResStr(IDS_MENU_HELP));
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, ResStr(IDS_MENU_ABOUT));
}

void SetWindowIcons(HWND window) {
    HICON large = LoadIconA(g_app.appInstance, MAKEINTRESOURCEA(IDI_PROGRAM));
    HICON small = LoadIconA(g_app.appInstance, MAKEINTRESOURCEA(IDI_PROGRAM_SMALL));
    if (large) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    if (small) SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void CreateHintWindow(HWND window) {
    char className[64];
    CopyText(className, ResStr(IDS_HINT_CLASS));
    g_app.hintWindow = CreateWindowExA(WS_EX_CONTEXTHELP, className, nullptr, WS_POPUP | WS_BORDER, 0, 0, 0, 0, window,
                                       nullptr, g_app.appInstance, nullptr);
}

void CreateTooltips(HWND window) {
    g_app.tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, window,
                                    nullptr, g_app.appInstance, nullptr);
    if (!g_app.tooltip) return;
    for (int id = IDC_BAR_FIRST; id <= IDC_BAR_LAST; ++id) {
        TTTOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, id));
        tool.hinst = g_app.appInstance;
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(g_app.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

BOOL OnInitDialog(HWND window) {
    g_app.mainWindow = window;
    MainFileChanged();
    AddSystemMenuItems(window);
    RestoreWindowPlace(window);
    SetWindowIcons(window);
    LayoutButtons();
    DragAcceptFiles(window, TRUE);
    CreateHintWindow(window);
    CreateTooltips(window);
    return TRUE;
}

void OnWindowPosChanged(HWND window, const WINDOWPOS* position) {
    if (!(position->flags & SWP_NOSIZE)) LayoutButtons();
    // Only the normal state is worth keeping: a minimised or maximised bar saves nothing.
    if (IsIconic(window) || IsZoomed(window)) return;
    SaveWindowPlace(window);
}

void OnNeedText(NMHDR* header) {
    if (!g_settings.options.displayTips || header->code != TTN_NEEDTEXTA) return;
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    const LONG_PTR id = GetWindowLongPtrA(reinterpret_cast<HWND>(header->idFrom), GWLP_ID);
    const LONG_PTR index = id - IDC_BAR_FIRST;
    if (index < 0 || index >= kButtonCount) return;
    info->lpszText = g_settings.buttons[index].tip;
    info->szText[0] = '\0';
    info->hinst = nullptr;
}

void OnDropFiles(HDROP drop) {
    DragQueryFileA(drop, 0, g_paths.mainFile, sizeof g_paths.mainFile);
    g_paths.mainFile[sizeof g_paths.mainFile - 1] = '\0';
    DragFinish(drop);
    MainFileChanged();
}

void OnCommand(WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDM_WHAT_IS_THIS: {
        const int k = g_app.contextButton;
        if (k < 0 || k >= kButtonCount) return;
        const ButtonDef& def = g_settings.buttons[k];
        if (def.tip[0] != '\0') {
            ShowHint(def.tip);
        } else {
            const int description = TypeDescriptionId(def.type);
            ShowHint(description ? ResStr(description) : "");
        }
        return;
    }
    case IDM_PROPERTIES:
        ConfigureFromButton(g_app.contextButton + 1);
        return;
    default:
        // Only the bar buttons' clicks act: Enter and Escape (commands 1 and 2) and a WM_CLOSE from
        // another program never close the bar.
        ActivateButton(static_cast<int>(static_cast<INT_PTR>(wParam) - IDC_BAR_FIRST));
        return;
    }
}

void CALLBACK CloseQuestionHelp(LPHELPINFO) {
    ShowHelpTopic(1006);
}

void OnClose(HWND window) {
    const LONG children = g_app.childCount;
    const int questionId = CloseQuestionId(children);
    if (questionId == 0) {
        EndDialog(window, 1);
        return;
    }
    char question[256];
    if (children == 1) {
        CopyText(question, ResStr(questionId));
    } else {
        FormatText(question, ResStr(questionId), static_cast<int>(children));
    }
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = window;
    box.hInstance = g_app.appInstance;
    box.lpszText = question;
    box.lpszCaption = ResStr2(IDS_PROGRAM_NAME);
    box.dwStyle = MB_YESNO | MB_ICONQUESTION | MB_HELP | MB_SETFOREGROUND | MB_TOPMOST;
    box.dwContextHelpId = 0;
    box.lpfnMsgBoxCallback = CloseQuestionHelp;
    if (MessageBoxIndirectA(&box) == IDYES) EndDialog(window, 1);
}

BOOL OnSysCommand(HWND window, WPARAM command) {
    switch (command) {
    case IDM_CONFIGURATION:
        ConfigureFromButton(0);
        return TRUE;
    case IDM_HELP:
        ShowHelpIndex();
        return TRUE;
    case IDM_ABOUT:
        RunAboutDialog();
        return TRUE;
    case SC_CLOSE:
        OnClose(window);
        return TRUE;
    default:
        return FALSE;
    }
}
}  // namespace

INT_PTR CALLBACK ButtonBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window);
    case WM_DESTROY:
        g_app.mainWindow = nullptr;
        if (g_app.hintWindow) DestroyWindow(g_app.hintWindow);
        g_app.hintWindow = nullptr;
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(window, reinterpret_cast<const WINDOWPOS*>(lParam));
        return TRUE;
    case WM_NOTIFY:
        OnNeedText(reinterpret_cast<NMHDR*>(lParam));
        return FALSE;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return FALSE;
    case WM_COMMAND:
        OnCommand(wParam);
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam);
    default:
        return FALSE;
    }
}
