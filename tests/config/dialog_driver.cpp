// Drives the configuration dialogs from the test's thread.
#include "dialog_driver.h"

#include "app/bar_test_support.h"
#include "res/resource.h"

namespace {
constexpr DWORD kWaitMs = 10000;
}

HWND WaitForDialog(const char* title, HWND except) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOwnWindow(title, except)) != nullptr; }, kWaitMs);
    return found;
}

HWND OpenFromSystemMenu(HWND bar) {
    PostMessageA(bar, WM_SYSCOMMAND, IDM_CONFIGURATION, 0);
    return WaitForDialog(kConfigTitle);
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PressNow(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool PressAndWaitGone(HWND dialog, int id) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    Press(dialog, id);
    if (!WaitFor([&] { return !IsWindow(dialog); }, kWaitMs)) return false;
    // The owner answers only when it is back in its message loop: after what its opener does next.
    DWORD_PTR result = 0;
    if (owner) SendMessageTimeoutA(owner, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result);
    return true;
}

void StepSpin(HWND dialog, int editId, bool up) {
    const HWND edit = GetDlgItem(dialog, editId);
    const WPARAM key = up ? VK_UP : VK_DOWN;
    SendMessageA(edit, WM_KEYDOWN, key, 1);
    SendMessageA(edit, WM_KEYUP, key, 0xC0000001);
}

void ChooseEntry(HWND dialog, int listId, int index) {
    const HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void TypeText(HWND dialog, int id, const std::string& text) {
    SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

std::string ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

int Selection(HWND dialog, int listId) {
    return static_cast<int>(SendDlgItemMessageA(dialog, listId, CB_GETCURSEL, 0, 0));
}

void CancelOpenDialogs() {
    for (const char* title : {kPickerTitle, kConfigTitle}) {
        if (HWND dialog = FindOwnWindow(title)) PressAndWaitGone(dialog, IDCANCEL);
    }
}

bool IconAlive(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}
