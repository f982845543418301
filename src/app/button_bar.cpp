// The button bar window: the program's main window, a modal dialog from template 100.
#include "app/button_bar.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/bar_dpi.h"
#include "app/button_routing.h"
#include "app/caption.h"
#include "app/close_rule.h"
#include "app/hint_text.h"
#include "app/hint_window.h"
#include "app/layout_buttons.h"
#include "app/window_place.h"
#include "base/ansi_file_name.h"
#include "base/app_handles.h"
#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/help.h"
#include "base/message_boxes.h"
#include "base/res_strings.h"
#include "exec/launch.h"
#include "exec/watched_runs.h"
#include "res/resource.h"
#include "settings/about_box.h"
#include "settings/settings_records.h"

namespace {

void AddSystemMenuItems(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    // Stopping the runs goes with the system's Close; the bar's own three commands stay last.
    AppendMenuA(menu, MF_STRING | MF_GRAYED, IDM_STOP_RUNS, ResStr(IDS_MENU_STOP_RUNS).text);
    AppendMenuA(menu, MF_SEPARATOR, static_cast<UINT_PTR>(-1), nullptr);
    AppendMenuA(menu, MF_STRING, IDM_CONFIGURATION, ResStr(IDS_MENU_CONFIGURATION).text);
    AppendMenuA(menu, MF_STRING, IDM_HELP, ResStr(IDS_MENU_HELP).text);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, ResStr(IDS_MENU_ABOUT).text);
}

// The stop item is offered only while a watched run is still running.
void OnInitMenuPopup(HWND window, HMENU menu, LPARAM lParam) {
    if (!HIWORD(lParam) || menu != GetSystemMenu(window, FALSE)) return;
    EnableMenuItem(menu, IDM_STOP_RUNS, MF_BYCOMMAND | (RunningWatchedRuns() > 0 ? MF_ENABLED : MF_GRAYED));
}

void OnStopRuns(HWND window) {
    const int running = RunningWatchedRuns();
    if (running == 0) return;
    char question[kResTextSize];
    FormatText(question, ResStr(IDS_STOP_QUESTION).text, running);
    if (MessageBoxA(window, question, ResStr(IDS_PROGRAM_NAME).text,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES) {
        StopWatchedRuns();
    }
}

// The tooltip window has no owner: under Wine every window a bar owns makes each of its moves slower, and
// a tooltip that always shows needs no owner to stay above the bar. The bar destroys it itself.
void CreateTooltips(HWND window, BarState& state) {
    state.tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, nullptr,
                                    nullptr, g_app.appInstance, nullptr);
    if (!state.tooltip) return;
    for (int id = IDC_BAR_FIRST; id <= IDC_BAR_LAST; ++id) {
        TTTOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, id));
        tool.hinst = g_app.appInstance;
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(state.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Only the normal state is worth keeping: a minimised or maximised bar saves nothing.
void SaveNormalPlace(HWND window) {
    if (IsIconic(window) || IsZoomed(window)) return;
    SaveWindowPlace(window);
}

BOOL OnInitDialog(HWND window, BarState& state) {
    g_app.mainWindow = window;
    state.opening = true;
    AnnounceMainFile(window);
    AddSystemMenuItems(window);
    // Before the bar takes its place, which may be on a screen of another resolution.
    SetUpBarDpi(window, state);
    RestoreWindowPlace(window);
    LayoutButtons();
    DragAcceptFiles(window, TRUE);
    state.opening = false;
    SaveNormalPlace(window);
    return TRUE;
}

void OnWindowPosChanged(HWND window, const BarState& state, const WINDOWPOS* position) {
    if (state.opening) return;
    if (!(position->flags & SWP_NOSIZE)) LayoutButtons();
    // A change of stacking order or of showing leaves the place as it was.
    if ((position->flags & SWP_NOMOVE) && (position->flags & SWP_NOSIZE)) return;
    SaveNormalPlace(window);
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

// The first dropped name becomes the main file: through the wide name, so that letters the code page
// lacks, or a name that needs more bytes than a path field has, give the short form. False, after
// telling the user, when no name can open it; the main file then stays as it was.
bool TakeDroppedName(HDROP drop) {
    wchar_t name[MAX_PATH];
    if (DragQueryFileW(drop, 0, name, MAX_PATH) == 0) {
        DragQueryFileA(drop, 0, g_paths.mainFile, sizeof g_paths.mainFile);
        g_paths.mainFile[sizeof g_paths.mainFile - 1] = '\0';
        return true;
    }
    char converted[MAX_PATH];
    if (!TakeWideFileName(name, converted)) return false;
    CopyText(g_paths.mainFile, converted);
    return true;
}

void OnDropFiles(HWND window, HDROP drop) {
    const bool taken = TakeDroppedName(drop);
    DragFinish(drop);
    if (taken) AnnounceMainFile(window);
}

void OnCommand(HWND window, BarState& state, WPARAM wParam) {
    const int id = LOWORD(wParam);
    switch (id) {
    case IDM_WHAT_IS_THIS: {
        const int k = state.contextButton;
        if (k < 0 || k >= kButtonCount) return;
        const ButtonDef& def = g_settings.buttons[k];
        if (def.tip[0] != '\0') {
            ShowHint(state, def.tip);
        } else {
            const int description = TypeDescriptionId(def.type);
            ShowHint(state, description ? ResStr(description).text : "");
        }
        return;
    }
    case IDM_PROPERTIES:
        ConfigureFromButton(window, state.contextButton + 1);
        return;
    default:
        // Only the bar buttons' clicks act: Enter and Escape (commands 1 and 2) and a WM_CLOSE from
        // another program never close the bar.
        if (id < IDC_BAR_FIRST || id > IDC_BAR_LAST || HIWORD(wParam) != BN_CLICKED) return;
        ActivateButton(window, id - IDC_BAR_FIRST);
        return;
    }
}

void CALLBACK CloseQuestionHelp(LPHELPINFO) {
    ShowHelpTopic(IDH_CLOSE_QUESTION);
}

void OnClose(HWND window) {
    const LONG children = g_runs.childCount;
    const int questionId = CloseQuestionId(children);
    if (questionId == 0) {
        EndDialog(window, 1);
        return;
    }
    char question[kResTextSize];
    if (children == 1) {
        CopyText(question, ResStr(questionId).text);
    } else {
        FormatText(question, ResStr(questionId).text, static_cast<int>(children));
    }
    const ResText caption = ResStr(IDS_PROGRAM_NAME);
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = window;
    box.hInstance = g_app.appInstance;
    box.lpszText = question;
    box.lpszCaption = caption.text;
    box.dwStyle = MB_YESNO | MB_ICONQUESTION | MB_HELP | MB_SETFOREGROUND | MB_TOPMOST;
    box.dwContextHelpId = 0;
    box.lpfnMsgBoxCallback = CloseQuestionHelp;
    if (MessageBoxIndirectA(&box) == IDYES) EndDialog(window, 1);
}

BOOL OnSysCommand(HWND window, WPARAM command) {
    // Our own items are matched whole; the system's SC_ values carry flags in their low four bits.
    switch (command) {
    case IDM_CONFIGURATION:
        ConfigureFromButton(window, 0);
        return TRUE;
    case IDM_HELP:
        ShowHelpIndex();
        return TRUE;
    case IDM_ABOUT:
        RunAboutDialog(window);
        return TRUE;
    case IDM_STOP_RUNS:
        OnStopRuns(window);
        return TRUE;
    default:
        break;
    }
    if ((command & 0xFFF0) == SC_CLOSE) {
        OnClose(window);
        return TRUE;
    }
    return FALSE;
}
}  // namespace

BarState* BarStateOf(HWND bar) {
    if (bar == nullptr || bar != g_app.mainWindow) return nullptr;
    return reinterpret_cast<BarState*>(GetWindowLongPtrA(bar, DWLP_USER));
}

INT_PTR RunButtonBar() {
    // The folder browser and the shell's extensions, called from the bar and its dialogs, need COM on the
    // thread that calls them.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    BarState state;
    const INT_PTR result = RunDialog(nullptr, IDD_BAR, ButtonBarProc, &state);
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}

INT_PTR CALLBACK ButtonBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BarState* state = DialogData<BarState>(window, message, lParam);
    if (state == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window, *state);
    case WM_DESTROY:
        g_app.mainWindow = nullptr;
        if (state->hintWindow) DestroyWindow(state->hintWindow);
        state->hintWindow = nullptr;
        if (state->tooltip) DestroyWindow(state->tooltip);
        state->tooltip = nullptr;
        ReleaseBarDpi(*state);
        return TRUE;
    case WM_DPICHANGED:
        FollowDpi(window, *state, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(window, *state, reinterpret_cast<const WINDOWPOS*>(lParam));
        return TRUE;
    case WM_SETCURSOR:
        // The tooltips are made when the mouse first comes over the bar, not while it opens.
        if (!state->tooltip) CreateTooltips(window, *state);
        return FALSE;
    case WM_NOTIFY:
        OnNeedText(reinterpret_cast<NMHDR*>(lParam));
        return FALSE;
    case WM_DROPFILES:
        OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return FALSE;
    case WM_COMMAND:
        OnCommand(window, *state, wParam);
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam);
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(window, reinterpret_cast<HMENU>(wParam), lParam);
        return FALSE;
    default:
        return FALSE;
    }
}
