// How a button's show mode starts its program.
#include "exec/show_mode.h"

#include "settings/settings_records.h"

namespace {
// The platform's SW_* numbers, so this file needs no windows.h.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowMinimized = 2;
constexpr int kSwShowMaximized = 3;
}  // namespace

int ShowWindowForMode(int show) {
    switch (show) {
    case kShowMinimized: return kSwShowMinimized;
    case kShowMaximized: return kSwShowMaximized;
    case kShowInvisible: return kSwHide;
    default: return kSwShowNormal;  // Normal, Capture and anything the settings file should not hold
    }
}

bool IsCaptureMode(int show) {
    return show == kShowCapture;
}
