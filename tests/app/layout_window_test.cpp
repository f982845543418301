// Lays out the real button bar template under Wine and measures what the layout did to the 50 buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "app/bar_frame.h"
#include "config/button_icons.h"
#include "res/resource.h"
#include "base/bounded_text.h"
#include "settings/settings_records.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/window_text.h"

namespace {

INT_PTR CALLBACK QuietBarProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct Cell {
    int x, y, width, height;
};

class LayoutWindow : public ::testing::Test {
protected:
    // One bar per suite: each layout sets every button's place, style, text and visibility afresh, and a
    // window destroyed without a window manager costs seconds of waiting.
    static void SetUpTestSuite() {
        g_app.appInstance = GetModuleHandleA(nullptr);
        bar_ = CreateDialogParamA(g_app.appInstance, MAKEINTRESOURCEA(IDD_BAR), nullptr, QuietBarProc, 0);
    }

    static void TearDownTestSuite() {
        if (bar_ != nullptr) DestroyWindow(bar_);
        bar_ = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(bar_, nullptr);
        g_app.mainWindow = bar_;
        g_settings.options = AppOptions();
        g_settings.options.rows = 2;
        g_settings.options.cols = 8;
        g_settings.options.space = 0;
        g_settings.options.onTop = 0;
        for (int i = 0; i < kButtonCount; ++i) {
            ButtonDef& def = g_settings.buttons[i];
            def.type = kTypeExecute;
            FormatText(def.title, "B%d", i);
            def.command[0] = '\0';
            def.iconFile[0] = '\0';
            def.iconNumber = -1;
            def.useIcon = 0;
        }
    }

    void TearDown() override {
        for (int i = 0; i < kButtonCount; ++i) {
            g_settings.buttons[i].iconFile[0] = '\0';
            LoadButtonIcons(i);
            if (bar_ != nullptr) ClearButtonFace(Button(i));
        }
    }

    // Gives the bar a client area of exactly width x height; the frame is whatever the system draws.
    void SizeClient(int width, int height) {
        RECT outer = {0, 0, width, height};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(bar_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(bar_, GWL_EXSTYLE)));
        int outerWidth = outer.right - outer.left;
        int outerHeight = outer.bottom - outer.top;
        RECT client = {};
        for (int attempt = 0; attempt < 4; ++attempt) {
            SetWindowPos(bar_, nullptr, 50, 50, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
            GetClientRect(bar_, &client);
            if (client.right == width && client.bottom == height) return;
            outerWidth += width - client.right;
            outerHeight += height - client.bottom;
        }
        FAIL() << "client area is " << client.right << " x " << client.bottom;
    }

    static HWND Button(int index) { return GetDlgItem(bar_, IDC_BAR_FIRST + index); }

    Cell Place(int index) const {
        RECT r = {};
        GetWindowRect(Button(index), &r);
        MapWindowPoints(nullptr, bar_, reinterpret_cast<POINT*>(&r), 2);
        return Cell{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    bool Visible(int index) const { return IsWindowVisible(Button(index)) != FALSE; }
    bool IconStyle(int index) const { return (GetWindowLongPtrA(Button(index), GWL_STYLE) & BS_ICON) != 0; }
    HANDLE Image(int index) const {
        return reinterpret_cast<HANDLE>(SendMessageA(Button(index), BM_GETIMAGE, IMAGE_ICON, 0));
    }
    std::string Text(int index) const { return WindowText(Button(index)); }

    void GiveOwnIcon(int index, const std::string& file, int iconNumber) {
        ButtonDef& def = g_settings.buttons[index];
        CopyText(def.iconFile, file);
        def.iconNumber = iconNumber;
        def.useIcon = 1;
        LoadButtonIcons(index);
    }

    std::string ScratchTextFile() {
        const std::string file = scratch_.File("layout.txt");
        WriteWhole(file, "text\n");
        return file;
    }

    static HWND bar_;
    TempFolder scratch_{"brisolt_layout"};
};

HWND LayoutWindow::bar_ = nullptr;

// ---- Where the buttons go

struct PlaceCase {
    const char* name;
    int space;
    std::vector<int> xs, widths;
    std::vector<int> ys, heights;
};

class LayoutPlaces : public LayoutWindow, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(LayoutPlaces, ButtonsFillTheirCells) {
    const PlaceCase& c = GetParam();
    g_settings.options.space = c.space;
    SizeClient(403, 60);
    LayoutButtons();
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int index = row * 10 + column;
            const Cell cell = Place(index);
            EXPECT_EQ(cell.x, c.xs[column]) << "button " << index;
            EXPECT_EQ(cell.width, c.widths[column]) << "button " << index;
            EXPECT_EQ(cell.y, c.ys[row]) << "button " << index;
            EXPECT_EQ(cell.height, c.heights[row]) << "button " << index;
            EXPECT_TRUE(Visible(index)) << "button " << index;
            EXPECT_EQ(Text(index), "B" + std::to_string(index));
        }
    }
    for (int index : {8, 9, 18, 19, 20, 29, 35, 49}) EXPECT_FALSE(Visible(index)) << "button " << index;
}

INSTANTIATE_TEST_SUITE_P(
    Bar, LayoutPlaces,
    ::testing::Values(PlaceCase{"NoSpace", 0, {0, 50, 100, 150, 200, 250, 301, 352}, {50, 50, 50, 50, 50, 51, 51, 51},
                                {0, 30}, {30, 30}},
                      PlaceCase{"Space2", 2, {2, 52, 102, 152, 202, 252, 302, 352}, {48, 48, 48, 48, 48, 48, 48, 49},
                                {2, 31}, {27, 27}}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });

TEST_F(LayoutWindow, ThreeColumnsHideTheRestOfEachRow) {
    g_settings.options.rows = 5;
    g_settings.options.cols = 3;
    SizeClient(300, 100);
    LayoutButtons();
    for (int index = 0; index < kButtonCount; ++index) EXPECT_EQ(Visible(index), index % 10 < 3) << index;
    EXPECT_EQ(Place(12).x, 200);
    EXPECT_EQ(Place(12).width, 100);
}

TEST_F(LayoutWindow, GrowingTheGridShowsButtonsAgain) {
    g_settings.options.cols = 3;
    SizeClient(403, 60);
    LayoutButtons();
    ASSERT_FALSE(Visible(5));
    g_settings.options.cols = 8;
    LayoutButtons();
    EXPECT_TRUE(Visible(5));
    EXPECT_EQ(Place(5).x, 250);
}

TEST_F(LayoutWindow, OutOfRangeGridIsClampedAndKept) {
    g_settings.options.rows = 0;
    g_settings.options.cols = 12;
    SizeClient(403, 60);
    LayoutButtons();
    EXPECT_EQ(g_settings.options.rows, 1);
    EXPECT_EQ(g_settings.options.cols, 10);
    for (int index = 0; index < kButtonCount; ++index) EXPECT_EQ(Visible(index), index < 10) << index;
    EXPECT_EQ(Place(9).x + Place(9).width, 403);
    EXPECT_EQ(Place(9).height, 60);
}

TEST_F(LayoutWindow, InvisibleButtonLeavesItsCellEmpty) {
    g_settings.buttons[3].type = kTypeInvisible;
    SizeClient(403, 60);
    LayoutButtons();
    EXPECT_FALSE(Visible(3));
    const Cell hidden = Place(3);
    EXPECT_EQ(hidden.x, 150);
    EXPECT_EQ(hidden.width, 50);
    EXPECT_EQ(hidden.height, 30);
    EXPECT_TRUE(Visible(4));
    EXPECT_EQ(Place(4).x, 200);
}

TEST_F(LayoutWindow, TinyClientHidesCellsWithoutRoom) {
    g_settings.options.rows = 5;
    g_settings.options.cols = 10;
    g_settings.options.space = 3;
    SizeClient(403, 60);
    LayoutButtons();
    ASSERT_TRUE(Visible(0));
    // 60 high with spacing 3: rows of 9 pixels. With a client 10 high no row keeps any room.
    SizeClient(200, 10);
    LayoutButtons();
    for (int index = 0; index < kButtonCount; ++index) EXPECT_FALSE(Visible(index)) << index;
}

// ---- Faces

TEST_F(LayoutWindow, OwnIconSizeFollowsTheCell) {
    GiveOwnIcon(0, ExePath(), 0);
    const ButtonDef& def = g_settings.buttons[0];
    ASSERT_NE(ButtonIcons(0).large.get(), nullptr);
    ASSERT_NE(ButtonIcons(0).small.get(), nullptr);
    ASSERT_EQ(def.iconNumber, 0);
    SizeClient(403, 60);

    g_settings.options.rows = 1;
    LayoutButtons();
    const IconCellMin minimum = g_layoutMetrics.iconCellMin;
    ASSERT_TRUE(g_layoutMetrics.measured);
    ASSERT_LE(minimum.width, 50);  // the one-row cells are 50 x 60: large
    ASSERT_GT(minimum.height, 30);  // the two-row cells are 50 x 30: small
    EXPECT_TRUE(IconStyle(0));
    EXPECT_EQ(Image(0), ButtonIcons(0).large.get());
    EXPECT_EQ(Text(0), "B0");  // the title stays the window text behind the icon

    g_settings.options.rows = 2;
    LayoutButtons();
    EXPECT_TRUE(IconStyle(0));
    EXPECT_EQ(Image(0), ButtonIcons(0).small.get());
    EXPECT_FALSE(IconStyle(1));
}

TEST_F(LayoutWindow, IconStyleGoesWhenUseIconIsCleared) {
    GiveOwnIcon(0, ExePath(), 0);
    SizeClient(403, 60);
    LayoutButtons();
    ASSERT_TRUE(IconStyle(0));
    g_settings.buttons[0].useIcon = 0;
    LayoutButtons();
    EXPECT_FALSE(IconStyle(0));
    EXPECT_EQ(Image(0), nullptr) << "an image left from the icon would show beside the title";
    EXPECT_EQ(Text(0), "B0");
}

TEST_F(LayoutWindow, TitleShowsWhenNoIconExists) {
    ButtonDef& def = g_settings.buttons[2];
    def.useIcon = 1;
    CopyText(def.command, "C:\\no such folder\\nothing.brisolt-none");
    CopyText(def.title, "latex");
    SizeClient(403, 60);
    LayoutButtons();
    EXPECT_FALSE(IconStyle(2));
    EXPECT_EQ(Image(2), nullptr);
    EXPECT_EQ(Text(2), "latex");
}

TEST_F(LayoutWindow, ShellIconForTheCommandWithoutOwnIcon) {
    ButtonDef& def = g_settings.buttons[1];
    def.useIcon = 1;
    CopyText(def.command, ExePath());
    SizeClient(403, 60);
    LayoutButtons();
    EXPECT_TRUE(IconStyle(1));
    const HANDLE first = Image(1);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, ButtonIcons(1).large.get());

    // The shell's icon belongs to the button: the next layout replaces it and releases the old one.
    LayoutButtons();
    const HANDLE second = Image(1);
    ASSERT_NE(second, nullptr);
    if (second != first) {
        ICONINFO info = {};
        EXPECT_FALSE(GetIconInfo(static_cast<HICON>(first), &info));
    }
}

TEST_F(LayoutWindow, ReloadingIconsTakesTheImageOffTheBarButton) {
    GiveOwnIcon(0, ExePath(), 0);
    SizeClient(403, 60);
    LayoutButtons();
    ASSERT_EQ(Image(0), ButtonIcons(0).small.get());
    LoadButtonIcons(0);
    EXPECT_EQ(Image(0), nullptr);
}

// ---- Loading icons with the fallbacks

TEST_F(LayoutWindow, IconBeyondTheFileFallsBackToTheProgramOfTheCommand) {
    ButtonDef& def = g_settings.buttons[4];
    CopyText(def.command, ScratchTextFile());
    GiveOwnIcon(4, ExePath(), 40);
    EXPECT_EQ(def.iconNumber, 0);
    std::string program = def.iconFile;
    for (char& c : program) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(program.find("notepad"), std::string::npos) << def.iconFile;
    EXPECT_NE(ButtonIcons(4).large.get(), nullptr);
    EXPECT_NE(ButtonIcons(4).small.get(), nullptr);
}

TEST_F(LayoutWindow, SecondIconOfTheFileNeedsNoFallback) {
    ButtonDef& def = g_settings.buttons[5];
    CopyText(def.command, ScratchTextFile());
    GiveOwnIcon(5, ExePath(), 1);
    EXPECT_EQ(def.iconNumber, 1);
    EXPECT_EQ(std::string(def.iconFile), ExePath());
    EXPECT_NE(ButtonIcons(5).large.get(), nullptr);
    EXPECT_NE(ButtonIcons(5).small.get(), nullptr);
}

TEST_F(LayoutWindow, NoProgramAndNoFileLeavesNoOwnIcon) {
    ButtonDef& def = g_settings.buttons[6];
    CopyText(def.command, "C:\\no such folder\\nothing.brisolt-none");
    GiveOwnIcon(6, "C:\\no such folder\\icons.dll", 0);
    EXPECT_EQ(def.iconNumber, -1);
    EXPECT_EQ(ButtonIcons(6).large.get(), nullptr);
    EXPECT_EQ(ButtonIcons(6).small.get(), nullptr);
}

// ---- Always on top

TEST_F(LayoutWindow, TopmostFollowsOnTop) {
    SizeClient(403, 60);
    g_settings.options.onTop = 1;
    LayoutButtons();
    EXPECT_NE(GetWindowLongPtrA(bar_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    g_settings.options.onTop = 0;
    LayoutButtons();
    EXPECT_EQ(GetWindowLongPtrA(bar_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

}  // namespace
