// The hint window.
#include "app/hint_window.h"

#include "app/bar_rules.h"
#include "base/handles.h"
#include "base/bounded_text.h"
#include "base/dpi.h"
#include "base/messages.h"
#include "res/resource.h"
#include "settings/settings_records.h"

namespace {
// The room of a hint: a button's tip or a type's description, line breaks doubled.
constexpr std::size_t kHintSize = 256;

// The hint's font: the stock one as it is at 96 dpi, a copy in proportion at other resolutions, where the
// stock font keeps its size in pixels. Selected into a device context for the life of the object.
class HintFont {
public:
    HintFont(HWND window, HDC dc) : dc_(dc) {
        const HGDIOBJ stock = GetStockObject(ANSI_VAR_FONT);
        const int dpi = WindowDpi(window);
        LOGFONTA font = {};
        if (dpi != kBaseDpi && GetObjectA(stock, sizeof font, &font) != 0) {
            font.lfHeight = MulDiv(font.lfHeight, dpi, kBaseDpi);
            font.lfWidth = MulDiv(font.lfWidth, dpi, kBaseDpi);
            scaled_ = CreateFontIndirectA(&font);
        }
        old_ = SelectObject(dc, scaled_ ? scaled_ : stock);
    }
    ~HintFont() {
        SelectObject(dc_, old_);
        if (scaled_) DeleteObject(scaled_);
    }
    HintFont(const HintFont&) = delete;
    HintFont& operator=(const HintFont&) = delete;

private:
    HDC dc_;
    HFONT scaled_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

void PaintHint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const HintFont font(window, dc);
    SetBkMode(dc, TRANSPARENT);
    RECT rect;
    GetClientRect(window, &rect);
    InflateRect(&rect, -4, -4);
    char text[kHintSize] = "";
    GetWindowTextA(window, text, sizeof text);
    DrawTextA(dc, text, -1, &rect, 0);
    EndPaint(window, &paint);
}
}  // namespace

void ShowHint(HWND& hintWindow, POINT at, const char* text) {
    if (!hintWindow) {
        hintWindow = CreateWindowExA(WS_EX_CONTEXTHELP, ResStr(IDS_HINT_CLASS).text, nullptr, WS_POPUP | WS_BORDER,
                                         0, 0, 0, 0, g_app.mainWindow, nullptr, g_app.appInstance, nullptr);
    }
    HWND hint = hintWindow;
    if (!hint) return;
    char shown[kHintSize];
    CopyText(shown, text);
    HintLineBreaks(shown, sizeof shown);
    SetWindowTextA(hint, shown);
    HDC dc = GetDC(hint);
    RECT measured = {0, 0, 0, 0};
    {
        const HintFont font(hint, dc);
        DrawTextA(dc, shown, -1, &measured, DT_CALCRECT);
    }
    ReleaseDC(hint, dc);
    const HintPlace place =
        PlaceHint(at.x, at.y, measured.right - measured.left,
                  measured.bottom - measured.top, GetSystemMetrics(SM_CYCURSOR), GetSystemMetrics(SM_CXBORDER),
                  GetSystemMetrics(SM_CYBORDER), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    InvalidateRect(hint, nullptr, TRUE);
    SetWindowPos(hint, g_app.mainWindow, place.x, place.y, place.width, place.height, SWP_SHOWWINDOW);
}

LRESULT CALLBACK HintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintHint(window);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) ShowWindow(window, SW_HIDE);
        break;
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ShowWindow(window, SW_HIDE);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
