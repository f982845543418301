// The About box.
#include "app/about_box.h"

#include "base/bounded_text.h"
#include "base/dialog.h"
#include "base/handles.h"
#include "res/resource.h"

namespace {

// Only OK closes the box: Escape and the close box leave it open.
struct AboutDialog : DialogBase {
    static constexpr int kTemplate = IDD_ABOUT;
    static constexpr DWORD kHelpTopic = 0;
    BOOL OnInit(HWND dialog) {
        ShowProductVersion(dialog);
        return TRUE;
    }
    bool OnOk(HWND) { return true; }
    bool OnCancel(HWND) { return false; }
};

// The "ProductVersion" of a version record read whole into `block`, or null.
const char* ProductVersion(const char* block) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return nullptr;
    char query[64];
    FormatText(query, "\\StringFileInfo\\%04X%04X\\%s", translations[0].language, translations[0].codePage,
               "ProductVersion");
    char* version = nullptr;
    return VerQueryValueA(block, query, reinterpret_cast<void**>(&version), &length) ? version : nullptr;
}

}  // namespace

void ShowProductVersion(HWND dialog) {
    char name[MAX_PATH] = "";
    GetModuleFileNameA(g_app.appInstance, name, sizeof name);
    name[sizeof name - 1] = '\0';
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(name, &handle);
    if (size == 0) return;
    char* const block = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size + 1));
    if (block == nullptr) return;
    if (GetFileVersionInfoA(name, 0, size, block)) {
        if (const char* version = ProductVersion(block)) SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, version);
    }
    HeapFree(GetProcessHeap(), 0, block);
}

void RunAboutDialog(HWND owner) {
    AboutDialog about;
    RunModalDialog(owner, about);
}
