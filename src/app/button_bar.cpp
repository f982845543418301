// The button bar window: the program's main window, a modal dialog from template 100.
#include "app/button_bar.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/about_box.h"
#include "app/bar_rules.h"
#include "app/button_routing.h"
#include "app/hint_window.h"
#include "app/bar_frame.h"
#include "base/ansi_file_name.h"
#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/handles.h"
#include "base/help.h"
#include "base/messages.h"
#include "exec/watched_runs.h"
#include "res/resource.h"
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

// The stop item is offered only while a watched run or a sequence is still going.
void OnInitMenuPopup(HWND window, HMENU menu, LPARAM lParam) {
    if (!HIWORD(lParam) || menu != GetSystemMenu(window, FALSE)) return;
    const bool running = RunningWatchedRuns() > 0 || ActiveSequences() > 0;
    EnableMenuItem(menu, IDM_STOP_RUNS, MF_BYCOMMAND | (running ? MF_ENABLED : MF_GRAYED));
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
    SetMainFile(window, FieldText(g_paths.mainFile));
    AddSystemMenuItems(window);
    // Before the bar takes its place, which may be on a screen of another resolution.
    SetUpBarDpi(window, state.dpi);
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

// A busy button's tooltip says it is running, with its title when it has no hint of its own.
void OnNeedText(BarState& state, NMHDR* header) {
    if (!g_settings.options.displayTips || header->code != TTN_NEEDTEXTA) return;
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    const LONG_PTR id = GetWindowLongPtrA(reinterpret_cast<HWND>(header->idFrom), GWLP_ID);
    const LONG_PTR index = id - IDC_BAR_FIRST;
    if (index < 0 || index >= kButtonCount) return;
    ButtonDef& def = g_settings.buttons[index];
    info->lpszText = def.tip;
    if (IsButtonBusy(static_cast<int>(index))) {
        FormatText(state.busyTip, ResStr(IDS_RUNNING).text, def.tip[0] != '\0' ? def.tip : def.title);
        info->lpszText = state.busyTip;
    }
    info->szText[0] = '\0';
    info->hinst = nullptr;
}

// The first dropped name, through the wide name, so that letters the code page lacks, or a name that
// needs more bytes than a path field has, give the short form. False, after telling the user, when no
// name can open it.
bool DroppedName(HDROP drop, char (&name)[kPathSize]) {
    wchar_t wide[MAX_PATH];
    if (DragQueryFileW(drop, 0, wide, MAX_PATH) == 0) {
        DragQueryFileA(drop, 0, name, sizeof name);
        name[sizeof name - 1] = '\0';
        return true;
    }
    return TakeWideFileName(wide, name);
}

// The dropped name becomes the main file; without one the main file stays as it was.
void OnDropFiles(HWND window, HDROP drop) {
    char name[kPathSize] = "";
    const bool taken = DroppedName(drop, name);
    DragFinish(drop);
    if (taken) SetMainFile(window, FieldText(name));
}

void OnCommand(HWND window, BarState& state, WPARAM wParam) {
    const int id = LOWORD(wParam);
    switch (id) {
    case IDM_WHAT_IS_THIS: {
        const int k = state.contextButton;
        if (k < 0 || k >= kButtonCount) return;
        const ButtonDef& def = g_settings.buttons[k];
        const int description = TypeDescriptionId(def.type);
        const ResText typeHint = description != 0 ? ResStr(description) : ResText{};
        const char* hint = def.tip[0] != '\0' ? def.tip : typeHint.text;
        char busyHint[sizeof def.tip + kResTextSize];
        if (IsButtonBusy(k)) {
            FormatText(busyHint, ResStr(IDS_RUNNING).text, hint);
            hint = busyHint;
        }
        ShowHint(state.hintWindow, state.contextPoint, hint);
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

// A sequence between its steps counts as one running command.
void OnClose(HWND window) {
    const int watched = WatchedRunCount();
    const int children = watched > 0 ? watched : ActiveSequences();
    const int questionId = CloseQuestionId(children);
    if (questionId == 0) {
        EndDialog(window, 1);
        return;
    }
    char question[kResTextSize];
    if (children == 1) {
        CopyText(question, ResStr(questionId).text);
    } else {
        FormatText(question, ResStr(questionId).text, children);
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
        AskToStopRuns(window);
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

ButtonClass g_buttonClass;

namespace {
LRESULT OnButtonRightUp(HWND button, WPARAM wParam, LPARAM lParam) {
    BarState* bar = BarStateOf(GetParent(button));
    const int k = GetDlgCtrlID(button) - IDC_BAR_FIRST;
    HMENU menu = (bar != nullptr && k >= 0 && k < kButtonCount) ? CreatePopupMenu() : nullptr;
    if (!menu) return CallWindowProcA(g_buttonClass.systemButtonProc, button, WM_RBUTTONUP, wParam, lParam);
    bar->contextButton = k;
    // "What is this?" is left out exactly when the tooltip already shows the button's hint.
    if (g_settings.buttons[k].tip[0] == '\0' || !g_settings.options.displayTips)
        AppendMenuA(menu, MF_STRING, IDM_WHAT_IS_THIS, ResStr(IDS_MENU_WHAT_IS_THIS).text);
    AppendMenuA(menu, MF_STRING, IDM_PROPERTIES, ResStr(IDS_MENU_PROPERTIES).text);
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(button, HWND_DESKTOP, &point, 1);
    bar->contextPoint = point;
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, point.x, point.y, 0, g_app.mainWindow, nullptr);
    DestroyMenu(menu);
    return 0;
}
}  // namespace

LRESULT CALLBACK BarButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RBUTTONUP) return OnButtonRightUp(button, wParam, lParam);
    return CallWindowProcA(g_buttonClass.systemButtonProc, button, message, wParam, lParam);
}

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
        ReleaseBarDpi(state->dpi);
        return TRUE;
    case WM_DPICHANGED:
        FollowDpi(window, state->dpi, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam), state->opening);
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(window, *state, reinterpret_cast<const WINDOWPOS*>(lParam));
        return TRUE;
    case WM_SETCURSOR:
        // The tooltips are made when the mouse first comes over the bar, not while it opens.
        if (!state->tooltip) CreateTooltips(window, *state);
        return FALSE;
    case WM_NOTIFY:
        OnNeedText(*state, reinterpret_cast<NMHDR*>(lParam));
        return FALSE;
    case WM_DROPFILES:
        OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return FALSE;
    case WM_COMMAND:
        OnCommand(window, *state, wParam);
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam);
    case kRunEndedMessage:
        OnRunEnded(window, wParam, lParam);
        return TRUE;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(window, reinterpret_cast<HMENU>(wParam), lParam);
        return FALSE;
    default:
        return FALSE;
    }
}
