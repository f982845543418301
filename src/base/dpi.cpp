// The screen's resolution and the system's sizes at it. The per-window calls are looked up at run time:
// systems before them have one resolution for all windows, which the screen's device context tells.
#include "base/dpi.h"

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
using MetricsForDpi = int(WINAPI*)(int, UINT);

template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

// The per-window calls, looked up once: the answer does not change while the program runs.
struct DpiCalls {
    bool looked = false;
    DpiForWindow forWindow = nullptr;
    MetricsForDpi forDpi = nullptr;
};
DpiCalls g_dpiCalls;

const DpiCalls& Calls() {
    if (!g_dpiCalls.looked) {
        g_dpiCalls.forWindow = User32Function<DpiForWindow>("GetDpiForWindow");
        g_dpiCalls.forDpi = User32Function<MetricsForDpi>("GetSystemMetricsForDpi");
        g_dpiCalls.looked = true;
    }
    return g_dpiCalls;
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    const DpiForWindow forWindow = Calls().forWindow;
    const UINT dpi = forWindow != nullptr && window != nullptr ? forWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : ScreenDpi();
}

int MetricForDpi(int index, int dpi) {
    const MetricsForDpi forDpi = Calls().forDpi;
    if (forDpi != nullptr && dpi > 0) return forDpi(index, static_cast<UINT>(dpi));
    // Without the call every window has the screen's resolution, at which the plain metric is right.
    return GetSystemMetrics(index);
}
