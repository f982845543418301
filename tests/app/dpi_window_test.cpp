// The bar and its dialogs at the screen's resolution. The suite runs twice: in the usual 96 dpi prefix, where
// it writes what it measured to the file named by BRISOLT_DPI_REFERENCE, and in a prefix set to 144 dpi,
// where it compares with that file. Apart from that, the bar's move to a screen of another resolution.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/button_bar.h"
#include "app/bar_test_support.h"
#include "config/button_icons.h"
#include "config/dialog_driver.h"
#include "res/resource.h"
#include "settings/settings_records.h"

namespace {

constexpr char kAboutTitle[] = "About Brisolt";

// One bar button with an icon of its own and room for a large icon at 144 dpi, one with a title.
constexpr char kSettings[] =
    "[Options]\r\nRows=1\r\nCols=2\r\nSpace=2\r\nOn Top=0\r\nSave File Pos=0\r\nDisplay tips=1\r\n"
    "X=20\r\nY=20\r\nWidth=400\r\nHeight=200\r\n"
    "[Buttons]\r\nType1=0\r\nTitle1=Icon\r\nCommand1=notepad.exe\r\nUse icon1=1\r\nIcon1=shell32.dll\r\n"
    "Icon number1=3\r\nType2=0\r\nTitle2=Text\r\nCommand2=notepad.exe\r\n";

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

SIZE IconExtent(HICON icon) {
    SIZE size = {0, 0};
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return size;
    BITMAP bitmap = {};
    if (GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap) != 0) {
        size.cx = bitmap.bmWidth;
        size.cy = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return size;
}

HICON ButtonImage(HWND button) {
    return reinterpret_cast<HICON>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0));
}

int FontHeight(HWND window) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA info = {};
    if (font == nullptr || GetObjectA(font, sizeof info, &info) == 0) return 0;
    return info.lfHeight < 0 ? -info.lfHeight : info.lfHeight;
}

RECT ClientRect(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return client;
}

// Every visible control of the dialog lies inside its client area: nothing is cut off at an edge.
void ExpectNothingClipped(HWND dialog, const char* name) {
    const RECT client = ClientRect(dialog);
    int controls = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT place = {};
        GetWindowRect(child, &place);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&place), 2);
        ++controls;
        EXPECT_GE(place.left, 0) << name << " control " << GetDlgCtrlID(child);
        EXPECT_GE(place.top, 0) << name << " control " << GetDlgCtrlID(child);
        EXPECT_LE(place.right, client.right) << name << " control " << GetDlgCtrlID(child);
        EXPECT_LE(place.bottom, client.bottom) << name << " control " << GetDlgCtrlID(child);
    }
    EXPECT_GT(controls, 2) << name;
}

// What one run measured: name -> value, written at 96 dpi and compared at another resolution.
using Measures = std::map<std::string, int>;

std::string ReferenceFile() {
    const char* file = std::getenv("BRISOLT_DPI_REFERENCE");
    if (file == nullptr || file[0] == '\0') return "";
    // CTest names the file as the build sees it; under Wine such a path lies on drive Z:.
    return file[0] == '/' ? std::string("Z:") + file : std::string(file);
}

void WriteMeasures(const std::string& file, const Measures& measures) {
    std::ofstream out(file, std::ios::trunc);
    for (const auto& [name, value] : measures) out << name << ' ' << value << '\n';
}

Measures ReadMeasures(const std::string& file) {
    Measures measures;
    std::ifstream in(file);
    std::string name;
    int value = 0;
    while (in >> name >> value) measures[name] = value;
    return measures;
}

class DpiWindow : public ::testing::Test {
protected:
    void TearDown() override {
        if (HWND about = FindOwnWindow(kAboutTitle)) PressAndWaitGone(about, IDOK);
        CancelOpenDialogs();
    }
};

TEST_F(DpiWindow, BarAndDialogsScaleWithTheScreen) {
    const int dpi = ScreenDpi();
    // A failed 96 dpi run leaves no reference behind for the other run to trust.
    const std::string reference = ReferenceFile();
    if (dpi == 96 && !reference.empty()) DeleteFileA(reference.c_str());
    const int iconSize = GetSystemMetrics(SM_CXICON);
    if (dpi == 144) {
        EXPECT_EQ(iconSize, 48);
    }
    TempSettings ini(kSettings);
    BarRun bar(ini.path(), "");
    ASSERT_NE(bar.window(), nullptr);
    Measures measures;

    // The bar: its icon button shows the icon at the resolution's size, its text the dialog font.
    const HWND iconButton = GetDlgItem(bar.window(), IDC_BAR_FIRST);
    EXPECT_EQ(IconExtent(ButtonImage(iconButton)).cx, iconSize);
    EXPECT_EQ(IconExtent(ButtonImage(iconButton)).cy, iconSize);
    // Its small icon, read from the file together with the large one, has the small size.
    EXPECT_EQ(IconExtent(ButtonIcons(0).small.get()).cx, GetSystemMetrics(SM_CXSMICON));
    RECT cell = {};
    GetWindowRect(iconButton, &cell);
    MapWindowPoints(HWND_DESKTOP, bar.window(), reinterpret_cast<POINT*>(&cell), 2);
    measures["bar_space"] = cell.left;
    measures["bar_font"] = FontHeight(GetDlgItem(bar.window(), IDC_BAR_FIRST + 1));

    const HWND config = OpenFromSystemMenu(bar.window());
    ASSERT_NE(config, nullptr);
    ExpectNothingClipped(config, "configuration");
    measures["config_width"] = ClientRect(config).right;
    measures["config_height"] = ClientRect(config).bottom;
    EXPECT_EQ(IconExtent(ButtonImage(GetDlgItem(config, IDC_CONFIG_ICON))).cx, iconSize);

    Press(config, IDC_CONFIG_CHANGE_ICON);
    const HWND picker = WaitForDialog(kPickerTitle);
    ASSERT_NE(picker, nullptr);
    ExpectNothingClipped(picker, "icon picker");
    measures["picker_width"] = ClientRect(picker).right;
    measures["picker_height"] = ClientRect(picker).bottom;
    const HWND list = GetDlgItem(picker, IDC_ICON_LIST);
    ASSERT_GT(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    const auto listIcon = reinterpret_cast<HICON>(SendMessageA(list, LB_GETITEMDATA, 3, 0));
    EXPECT_EQ(IconExtent(listIcon).cx, iconSize);
    // The items hold a whole icon in their middle, and the list shows the whole icon.
    const int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(itemHeight, iconSize);
    EXPECT_LE((itemHeight - iconSize) / 2 + iconSize, ClientRect(list).bottom);
    measures["picker_item"] = itemHeight;
    ASSERT_TRUE(PressAndWaitGone(picker, IDCANCEL));
    ASSERT_TRUE(PressAndWaitGone(config, IDCANCEL));

    PostMessageA(bar.window(), WM_SYSCOMMAND, IDM_ABOUT, 0);
    const HWND about = WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr);
    ExpectNothingClipped(about, "about");
    measures["about_width"] = ClientRect(about).right;
    measures["about_height"] = ClientRect(about).bottom;
    ASSERT_TRUE(PressAndWaitGone(about, IDOK));

    if (reference.empty()) return;
    if (dpi == 96) {
        WriteMeasures(reference, measures);
        return;
    }
    // At another resolution every size is that of 96 dpi in proportion; fonts come in whole pixels and
    // dialog units follow the font's measured size, so a tenth either way is allowed.
    const Measures base = ReadMeasures(reference);
    ASSERT_EQ(base.size(), measures.size()) << "no complete 96 dpi run in " << reference;
    const double expected = dpi / 96.0;
    for (const auto& [name, value] : measures) {
        const int baseValue = base.at(name);
        ASSERT_GT(baseValue, 0) << name;
        const double ratio = static_cast<double>(value) / baseValue;
        EXPECT_NEAR(ratio, expected, expected * 0.1) << name << ": " << baseValue << " at 96 dpi, " << value;
    }
}

// A per-monitor aware program is told when its window comes to a screen of another resolution; the bar
// then takes the suggested rectangle, its fonts and icons at the new sizes, and lays its grid out again.
TEST_F(DpiWindow, BarFollowsAMoveToAnotherResolutionAndBack) {
    const int dpi = ScreenDpi();
    const int newDpi = dpi * 3 / 2;
    TempSettings ini(kSettings);
    BarRun bar(ini.path(), "");
    const HWND window = bar.window();
    ASSERT_NE(window, nullptr);
    const HWND iconButton = GetDlgItem(window, IDC_BAR_FIRST);
    const HWND textButton = GetDlgItem(window, IDC_BAR_FIRST + 1);

    RECT before = {};
    GetWindowRect(window, &before);
    RECT iconBefore = {};
    GetWindowRect(iconButton, &iconBefore);
    const int iconSize = IconExtent(ButtonImage(iconButton)).cx;
    const int smallIconSize = IconExtent(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0))).cx;
    const int fontHeight = FontHeight(textButton);
    ASSERT_GT(iconSize, 0);
    ASSERT_GT(fontHeight, 0);

    RECT suggested = {before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                      before.top + (before.bottom - before.top) * 3 / 2};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
    RECT after = {};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&after, &suggested));
    EXPECT_EQ(IconExtent(ButtonImage(iconButton)).cx, iconSize * 3 / 2);
    EXPECT_EQ(IconExtent(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0))).cx,
              smallIconSize * 3 / 2);
    EXPECT_NEAR(FontHeight(textButton), fontHeight * 3 / 2, 1);
    RECT cell = {};
    GetWindowRect(iconButton, &cell);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&cell), 2);
    // The spacing of 2 is given for 96 dpi: 3 pixels at 144, 5 at 216.
    const int spacing = (2 * newDpi + 48) / 96;
    EXPECT_EQ(cell.left, spacing);
    EXPECT_EQ(cell.top, spacing);
    EXPECT_EQ(WindowText(textButton), "Text");

    // Back on the first screen: the same bar as before, to the pixel.
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before));
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&after, &before));
    RECT iconAfter = {};
    GetWindowRect(iconButton, &iconAfter);
    EXPECT_TRUE(EqualRect(&iconAfter, &iconBefore));
    EXPECT_EQ(IconExtent(ButtonImage(iconButton)).cx, iconSize);
    EXPECT_EQ(FontHeight(textButton), fontHeight);
    // The window rectangle saved is that of the window as it is now.
    EXPECT_EQ(ini.Read("Options", "Width"), std::to_string(before.right - before.left));
}

// A bar restored on a screen of another resolution is told so by its own move to the stored place: it
// takes the new font but keeps the stored size, or it would grow or shrink at every start.
TEST_F(DpiWindow, WhileOpeningTheStoredSizeStays) {
    const int dpi = ScreenDpi();
    TempSettings ini(kSettings);
    BarRun bar(ini.path(), "");
    const HWND window = bar.window();
    ASSERT_NE(window, nullptr);
    const HWND textButton = GetDlgItem(window, IDC_BAR_FIRST + 1);
    const int fontHeight = FontHeight(textButton);
    RECT before = {};
    GetWindowRect(window, &before);
    RECT suggested = {before.left, before.top, before.left + (before.right - before.left) * 3 / 2,
                      before.top + (before.bottom - before.top) * 3 / 2};
    BarStateOf(window)->opening = true;
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi * 3 / 2, dpi * 3 / 2), reinterpret_cast<LPARAM>(&suggested));
    BarStateOf(window)->opening = false;
    RECT after = {};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&after, &before));
    EXPECT_NEAR(FontHeight(textButton), fontHeight * 3 / 2, 1);
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before));
}

}  // namespace
