// The Select icon dialog (template 105): the icons of a file in an owner-drawn list, the shell's icon for the
// command as the fast default, and the standard icons when a file has none.
#include "config/icon_picker.h"

#include <shellapi.h>

#include "base/handles.h"
#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/dpi.h"
#include "base/help.h"
#include "base/messages.h"
#include "config/config_rules.h"
#include "config/button_icons.h"
#include "res/resource.h"
#include "settings/selection.h"

namespace {

// The standard icons offered when a file has none. The old program manager that once held them is gone
// from current systems; the shell library is in the system folder of every Windows version and of Wine,
// and holds the system's own standard icons. A bare name: the search for programs finds it.
constexpr char kStandardIconFile[] = "SHELL32.DLL";

constexpr char kIconFilter[] =
    "Icon files (*.ico;*.exe;*.dll)\0*.ico;*.exe;*.dll\0Icons (*.ico)\0*.ico\0Programs (*.exe)\0*.exe\0"
    "Libraries (*.dll)\0*.dll\0All files (*.*)\0*.*\0";

// What the file-name field, the list and the Use fast default box stand for.
constexpr int kFileControls[] = {IDC_ICON_FILE_BUTTON, IDC_ICON_FILE, IDC_ICON_LIST};

struct IconPickerData {
    ButtonDef* def = nullptr;  // the configuration dialog's draft of the button
    // Set when the user changes the file-name field; an OK then shows that file first.
    bool nameEdited = false;
    char fileName[kPathSize] = "";
    IconItemMetrics metrics;
    // The shell's icon for the command, on the preview button; released when replaced and at the end.
    OwnedIcon preview;
};

HWND List(HWND dialog) {
    return GetDlgItem(dialog, IDC_ICON_LIST);
}

ButtonDef& Def(const IconPickerData& data) {
    return *data.def;
}

int IconCount(const char* file) {
    if (file[0] == '\0') return 0;
    return static_cast<int>(reinterpret_cast<UINT_PTR>(ExtractIconA(g_app.appInstance, file, static_cast<UINT>(-1))));
}

// Every icon the list holds is its own: destroyed here, before the list forgets them.
void ClearIconList(HWND dialog) {
    const HWND list = List(dialog);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto icon = reinterpret_cast<HICON>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        if (IsIcon(icon)) DestroyIcon(icon);
    }
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

void SetPreview(HWND dialog, IconPickerData& data, HICON icon) {
    SendDlgItemMessageA(dialog, IDC_ICON_PREVIEW, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    data.preview.Reset(icon);
}

void EnableFileControls(HWND dialog, bool enable) {
    for (int id : kFileControls) EnableWindow(GetDlgItem(dialog, id), enable);
}

bool AskForStandardIcons() {
    const ResText question = ResStr(IDS_NO_ICON_QUESTION);
    const ResText caption = ResStr(IDS_PROGRAM_NAME);
    return MessageBoxA(GetActiveWindow(), question.text, caption.text, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

// The first filling of the list also sets the Use fast default box from the button.
enum class Filling { kFirst, kAgain };

// Shows the icons of `given`, or of the button's own file or command when it is empty.
void FillIconList(HWND dialog, IconPickerData& data, const char* given, Filling filling) {
    const HCURSOR previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    ShowCursor(TRUE);
    const ButtonDef& def = Def(data);

    SHFILEINFOA info = {};
    SHGetFileInfoA(def.command, 0, &info, sizeof info, SHGFI_ICON);
    SetPreview(dialog, data, info.hIcon);

    const IconListSource source = ChooseIconListSource(given, def);
    char name[kPathSize];
    CopyText(name, source.name);
    ClearIconList(dialog);

    if (IconCount(name) == 0) {
        name[0] = '\0';
        const HINSTANCE found = FindExecutableA(def.command, "", name);
        name[kPathSize - 1] = '\0';
        if (reinterpret_cast<INT_PTR>(found) <= 32) name[0] = '\0';
    }
    SetDlgItemTextA(dialog, IDC_ICON_FILE, name);
    if (IconCount(name) == 0 && AskForStandardIcons()) {
        CopyText(name, kStandardIconFile);
        SetDlgItemTextA(dialog, IDC_ICON_FILE, name);
    }

    const HWND list = List(dialog);
    const int count = IconCount(name);
    const int dpi = WindowDpi(dialog);
    for (int i = 0; i < count; ++i) {
        // An icon that does not come out keeps its place, so that item i stays icon i.
        const HICON icon = ExtractIconAt(name, i, dpi);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(icon));
    }
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(StartItem(source.selection, count)), 0);

    if (filling == Filling::kFirst) {
        const bool own = HasOwnIcon(def.iconNumber, name, count);
        CheckDlgButton(dialog, IDC_ICON_FAST_DEFAULT, own ? BST_UNCHECKED : BST_CHECKED);
        EnableFileControls(dialog, own);
    }
    data.nameEdited = false;

    ShowCursor(FALSE);
    SetCursor(previousCursor);
}

IconItemMetrics MeasureList(HWND dialog) {
    RECT client = {};
    GetClientRect(List(dialog), &client);
    const int dpi = WindowDpi(dialog);
    return MeasureIconItem(client.bottom, MetricForDpi(SM_CXICON, dpi), MetricForDpi(SM_CYICON, dpi));
}

// The list asks once, while it is being created: before the dialog's data is known.
BOOL MeasureIconItem(HWND dialog, MEASUREITEMSTRUCT& item) {
    if (item.CtlID != IDC_ICON_LIST) return FALSE;
    const IconItemMetrics metrics = MeasureList(dialog);
    item.itemWidth = static_cast<UINT>(metrics.itemSize);
    item.itemHeight = static_cast<UINT>(metrics.itemSize);
    return TRUE;
}

BOOL DrawIconItem(const IconPickerData& data, const DRAWITEMSTRUCT& item) {
    if (item.CtlID != IDC_ICON_LIST) return FALSE;
    if (item.itemID != static_cast<UINT>(-1)) {
        const bool selected = (item.itemState & ODS_SELECTED) != 0;
        const HBRUSH brush = CreateSolidBrush(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        FillRect(item.hDC, &item.rcItem, brush);
        DeleteObject(brush);
        const auto icon = reinterpret_cast<HICON>(item.itemData);
        if (IsIcon(icon)) {
            // At the icon's own size, which is the one the list's resolution asks for.
            DrawIconEx(item.hDC, item.rcItem.left + data.metrics.xOffset, item.rcItem.top + data.metrics.yOffset,
                       icon, 0, 0, 0, nullptr, DI_NORMAL);
        }
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return TRUE;
}

void ChooseIconFile(HWND dialog, IconPickerData& data) {
    DialogItemText(dialog, IDC_ICON_FILE, data.fileName);
    if (ChooseFileWithFilter(dialog, IDS_CHOOSE_ICON, data.fileName, kIconFilter, "ICO")) {
        FillIconList(dialog, data, data.fileName, Filling::kAgain);
    }
}

// False while a typed name is shown first: the next OK takes it.
bool TakeChoice(HWND dialog, IconPickerData& data) {
    if (data.nameEdited) {
        DialogItemText(dialog, IDC_ICON_FILE, data.fileName);
        FillIconList(dialog, data, data.fileName, Filling::kAgain);
        return false;
    }
    ButtonDef& def = Def(data);
    DialogItemText(dialog, IDC_ICON_FILE, def.iconFile);
    ResolveFileName(def.iconFile);
    const LRESULT selected = SendMessageA(List(dialog), LB_GETCURSEL, 0, 0);
    def.iconNumber = selected == LB_ERR ? -1 : static_cast<int>(selected);
    if (IsDlgButtonChecked(dialog, IDC_ICON_FAST_DEFAULT) == BST_CHECKED) def.iconNumber = -1;
    return true;
}

struct IconPicker : DialogBase, IconPickerData {
    static constexpr int kTemplate = IDD_ICON_PICKER;
    static constexpr DWORD kHelpTopic = IDH_ICON_PICKER;

    // The list asks for its items' size while it is being made, before the dialog has its data.
    static INT_PTR BeforeInit(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
        if (message != WM_MEASUREITEM || !MeasureIconItem(dialog, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return FALSE;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }

    BOOL OnInit(HWND dialog) {
        metrics = MeasureList(dialog);
        // One column per icon: the list is a single row of squares, scrolled sideways.
        SendMessageA(List(dialog), LB_SETCOLUMNWIDTH, static_cast<WPARAM>(metrics.itemSize), 0);
        FillIconList(dialog, *this, "", Filling::kFirst);
        return TRUE;
    }

    bool OnOk(HWND dialog) { return TakeChoice(dialog, *this); }

    BOOL OnCommand(HWND dialog, int id, int code) {
        switch (id) {
        case IDC_ICON_PREVIEW:
            if (code != BN_CLICKED) return TRUE;
            CheckDlgButton(dialog, IDC_ICON_FAST_DEFAULT,
                           IsDlgButtonChecked(dialog, IDC_ICON_FAST_DEFAULT) == BST_CHECKED ? BST_UNCHECKED
                                                                                            : BST_CHECKED);
            EnableFileControls(dialog, IsDlgButtonChecked(dialog, IDC_ICON_FAST_DEFAULT) != BST_CHECKED);
            return TRUE;
        case IDC_ICON_FAST_DEFAULT:
            if (code == BN_CLICKED)
                EnableFileControls(dialog, IsDlgButtonChecked(dialog, IDC_ICON_FAST_DEFAULT) != BST_CHECKED);
            return TRUE;
        case IDC_ICON_FILE_BUTTON:
            if (code == BN_CLICKED) ChooseIconFile(dialog, *this);
            return TRUE;
        case IDC_ICON_FILE:
            if (code == EN_CHANGE) nameEdited = true;
            return TRUE;
        case IDC_ICON_LIST:
            // A double click chooses as OK does.
            if (code == LBN_DBLCLK && OnOk(dialog)) EndDialog(dialog, IDOK);
            return TRUE;
        default:
            return FALSE;
        }
    }

    INT_PTR OnMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
        switch (message) {
        case WM_DRAWITEM:
            if (!DrawIconItem(*this, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return FALSE;
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_DESTROY:
            // Whatever way the dialog ends, nothing it showed outlives it.
            ClearIconList(dialog);
            SetPreview(dialog, *this, nullptr);
            return FALSE;
        default:
            return FALSE;
        }
    }
};

}  // namespace

void ResolveFileName(char (&name)[kPathSize]) {
    char trimmed[kPathSize];
    CopyText(trimmed, SkipLeadingBlanks(FieldText(name)));
    // The search a program's name goes through when no path is given: the program's folder, the current
    // folder, the system folders, then PATH; a name with a path is only looked up there.
    char found[kPathSize] = "";
    const DWORD length = trimmed[0] != '\0' ? SearchPathA(nullptr, trimmed, nullptr, sizeof found, found, nullptr) : 0;
    const DWORD attributes = (length > 0 && length < sizeof found) ? GetFileAttributesA(found) : INVALID_FILE_ATTRIBUTES;
    const bool isFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    CopyText(name, isFile ? found : trimmed);
}

bool RunIconPicker(HWND owner, ButtonDef& def) {
    IconPicker picker;
    picker.def = &def;
    return RunModalDialog(owner, picker);
}
