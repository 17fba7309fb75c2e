// The About window, the menu commands and the shutdown as a user meets them,
// checked on the real exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "program/control_ids.h"
#include "tests/ui/driver.h"
#include "tests/ui/layout_tables.h"

namespace zolv::ui {
namespace {

constexpr const wchar_t* kAboutCaption = L"About ZOLV Loader";

// "&About" is chosen by posting its command, as the menu does, except where
// the menu's keys themselves are under test.
class AboutWindowTest : public ::testing::Test {
protected:
    TempDir temp;
    std::wstring games = temp.Make(L"zolv");  // before the start, so that the list shows it
    Loader app{temp.path()};
    HWND about = nullptr;

    void SetUp() override {
        ASSERT_NE(app.main(), nullptr) << "the main window did not appear";
        about = app.OpenAbout();
        ASSERT_NE(about, nullptr) << "\"&About\" did not show the About window";
    }

    int AboutWindows() const {
        int count = 0;
        for (HWND hwnd : app.VisibleWindows()) count += Text(hwnd) == kAboutCaption;
        return count;
    }

    bool AboutIsGone() const {
        return WaitFor([&] { return !IsWindow(about); }, 5000);
    }
};

// --- what it is ----------------------------------------------------------------------------------

using AboutWindowLooks = AboutWindowTest;

TEST_F(AboutWindowLooks, IsAFixedModelessDialogOfTheMainWindowWithEveryControlInPlaceInTwips) {
    EXPECT_EQ(GetWindow(about, GW_OWNER), app.main()) << "the About window's owner";
    EXPECT_FALSE(GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW)
        << "a taskbar button of its own";
    EXPECT_TRUE(IsWindowEnabled(app.main())) << "the main window must stay usable";
    EXPECT_EQ(AboutWindows(), 1);
    const LONG style = GetWindowLongW(about, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU) << "no close box";
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the border must not resize";
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME)
        << "a dialog's fixed border is expected";
    ExpectLaidOut(about, kAboutControls, kAboutClient);
    const auto buttonKind = [&](int id) {
        return GetWindowLongW(GetDlgItem(about, id), GWL_STYLE) & BS_TYPEMASK;
    };
    EXPECT_EQ(buttonKind(IDOK), BS_DEFPUSHBUTTON) << "\"OK\" is the default button";
    EXPECT_EQ(buttonKind(IDC_SYSINFO), BS_PUSHBUTTON);
    EXPECT_NE(Text(GetDlgItem(about, IDC_DESCRIPTION)).find(L"zolvloader@example.org"),
              std::wstring::npos)
        << "the description names the address for questions";
    EXPECT_NE(Text(GetDlgItem(about, IDC_DISCLAIMER)).find(L"Warning:"), std::wstring::npos);
}

TEST_F(AboutWindowLooks, ShowsTheProgramsIconInThePictureAndTheCaption) {
    EXPECT_NE(SendMessageW(GetDlgItem(about, IDC_PICICON), STM_GETICON, 0, 0), 0)
        << "picIcon shows no icon";
    // Wine answers WM_GETICON to no other process, so the caption is looked
    // at instead: the icon's yellow, left of the caption's text.
    app.PutBeside(about);  // the main window's caption shows the same icon
    app.MakeForeground(about);
    RECT frame;
    GetWindowRect(about, &frame);
    POINT client = {0, 0};
    ClientToScreen(about, &client);
    const ScreenShot caption({frame.left, frame.top, frame.left + 32, client.y});
    int yellow = 0;
    for (COLORREF c : caption.pixels())
        yellow += GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) < 100;
    EXPECT_GT(yellow, 10) << "no icon in the About window's caption";
}

TEST_F(AboutWindowLooks, TheEngravedRuleIsGreyOverWhite) {
    RECT client;
    GetClientRect(about, &client);
    POINT origin = {0, 0};
    ClientToScreen(about, &origin);
    const ScreenShot shot({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
    const COLORREF grey = RGB(128, 128, 128), white = RGB(255, 255, 255);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int y = Px(1920);
    for (int x = Px(120); x <= Px(3480); ++x) {
        ASSERT_EQ(Hex(shot.At(x, y)), Hex(grey)) << "grey line at x " << x << ", y " << y;
        ASSERT_EQ(Hex(shot.At(x, y + 1)), Hex(white)) << "white under it at x " << x;
    }
    EXPECT_EQ(Hex(shot.At(Px(105), y)), Hex(white)) << "the white line starts at 105 twips";
    EXPECT_EQ(Hex(shot.At(Px(105), y + 1)), Hex(white));
    EXPECT_EQ(Hex(shot.At(Px(105) - 1, y)), Hex(face)) << "nothing left of the rule";
    EXPECT_EQ(Px(3480) + 1, shot.width()) << "the rule ends at the client area's right edge";
    EXPECT_EQ(Hex(shot.At(Px(2000), y - 1)), Hex(face)) << "the rule is two pixels high";
    EXPECT_EQ(Hex(shot.At(Px(2000), y + 2)), Hex(face)) << "the rule is two pixels high";
}

// Text cut off at a label's edge leaves ink on its last rows or column. The
// long texts' runs of blanks end a line; none is carried over to indent the next.
TEST_F(AboutWindowLooks, EveryLabelShowsItsWholeTextEachLineFromTheLeft) {
    app.PutBeside(about);
    app.MakeForeground(about);
    RECT frame;
    GetWindowRect(about, &frame);
    const ScreenShot shot(about);
    EXPECT_TRUE(shot.Save(L"zolv-about.bmp")) << "could not save the screenshot";
    POINT origin = {0, 0};
    ClientToScreen(about, &origin);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    for (int id : {IDC_TITLE, IDC_VERSION, IDC_DESCRIPTION, IDC_DISCLAIMER}) {
        const bool lineByLine = id == IDC_DESCRIPTION || id == IDC_DISCLAIMER;
        const RECT r = ClientRectIn(GetDlgItem(about, id));
        const int left = origin.x - frame.left + r.left, top = origin.y - frame.top + r.top;
        const int width = r.right - r.left, height = r.bottom - r.top;
        int inked = 0, lastInkedRow = -1, lastInkedColumn = -1;
        // Lines of text are bands of rows with ink, with clear rows between.
        int lines = 0, lineStart = -1;
        for (int y = 0; y <= height; ++y) {
            int first = width;
            for (int x = 0; x < width && y < height; ++x) {
                if (shot.At(left + x, top + y) == face) continue;
                first = std::min(first, x);
                ++inked;
                lastInkedRow = std::max(lastInkedRow, y);
                lastInkedColumn = std::max(lastInkedColumn, x);
            }
            if (first < width) {
                if (lineStart < 0) ++lines;
                lineStart = lineStart < 0 ? first : std::min(lineStart, first);
            } else if (lineStart >= 0) {
                if (lineByLine) {
                    EXPECT_LE(lineStart, 2) << "label " << id << ": line " << lines << " starts "
                                            << lineStart << " pixels in";
                }
                lineStart = -1;
            }
        }
        EXPECT_GT(inked, 20) << "label " << id << " shows no text";
        EXPECT_LT(lastInkedRow, height - 2)
            << "label " << id << ": a line of text is cut off at the bottom (" << height
            << " pixels high)";
        EXPECT_LT(lastInkedColumn, width - 1)
            << "label " << id << ": text is cut off at the right (" << width << " pixels wide)";
        if (lineByLine) {
            EXPECT_GE(lines, 3) << "label " << id << " should show several lines";
        }
    }
}

// --- keys and closing ----------------------------------------------------------------------------

using AboutWindowKeys = AboutWindowTest;

// Activated again, or "&About" chosen again, the one window comes back as it was left.
TEST_F(AboutWindowKeys, ActivatedOrChosenAgainTheOneWindowComesBackAsItWasLeft) {
    app.PutBeside(about);
    app.PressKeys({VK_TAB});
    ASSERT_EQ(app.Focus(), GetDlgItem(about, IDC_SYSINFO)) << "Tab moves from OK to System Info";
    app.MakeForeground(app.main());
    app.MakeForeground(about);
    EXPECT_EQ(app.Focus(), GetDlgItem(about, IDC_SYSINFO))
        << "the About window lost track of its focused button";
    HWND version = GetDlgItem(about, IDC_VERSION);
    SendMessageW(version, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"set by the test"));
    app.MakeForeground(app.main());
    EXPECT_EQ(app.OpenAbout(), about) << "a second About window appeared";
    EXPECT_EQ(AboutWindows(), 1);
    EXPECT_EQ(Text(version), L"set by the test") << "the load step ran again";
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }, 3000))
        << "the open About window did not come to the front";
    EXPECT_EQ(app.Focus(), GetDlgItem(about, IDC_SYSINFO));
}

// Every way of closing the About window closes only the About window.
struct CloseWay {
    const char* name;
    void (*close)(Loader& app, HWND about);
};

// Failure messages name the case, not its bytes.
void PrintTo(const CloseWay& way, std::ostream* out) { *out << way.name; }

const CloseWay kCloseWays[] = {
    {"Esc", [](Loader& app, HWND) { app.PressKeys({VK_ESCAPE}); }},
    {"EnterOnOK", [](Loader& app, HWND) { app.PressKeys({VK_RETURN}); }},
    {"SpaceOnOK", [](Loader& app, HWND) { app.PressKeys({VK_SPACE}); }},
    {"OKClicked", [](Loader& app, HWND about) { app.Click(GetDlgItem(about, IDOK)); }},
    {"OKClickedWithTheMouse",
     [](Loader& app, HWND about) {
         MouseClickAt(CentreOf(GetDlgItem(about, IDOK)));
         app.Idle();
     }},
    {"CloseCommand",
     [](Loader& app, HWND about) {
         PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
         app.Idle();
     }},
    {"CloseBoxClicked",
     [](Loader& app, HWND about) {
         POINT box;
         ASSERT_TRUE(FindCloseBox(about, &box)) << "no close box found on the caption";
         MouseClickAt(box);
         app.Idle();
     }},
    {"AltF4", [](Loader& app, HWND) { app.PressKeys({VK_F4}, false, /*alt=*/true); }},
};

class AboutWindowCloses : public AboutWindowTest, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(AboutWindowCloses, AndTheProgramGoesOn) {
    app.PutBeside(about);
    ASSERT_EQ(app.Focus(), GetDlgItem(about, IDOK));
    GetParam().close(app, about);
    EXPECT_TRUE(AboutIsGone()) << "the About window is still open";
    EXPECT_FALSE(app.WaitForExit(300)) << "closing the About window ended the program";
    EXPECT_TRUE(IsWindowVisible(app.main()));
    EXPECT_TRUE(app.NoBoxFor(200)) << "closing the About window asked something";
    EXPECT_EQ(app.VisibleWindows(), std::vector<HWND>{app.main()});
}

INSTANTIATE_TEST_SUITE_P(, AboutWindowCloses, ::testing::ValuesIn(kCloseWays), ByName());

// --- one window, loaded once ---------------------------------------------------------------------

using AboutWindowLoad = AboutWindowTest;

TEST_F(AboutWindowLoad, AfterItWasClosedTheNextOneIsLoadedAfreshInFrontWithTheFocusOnOK) {
    SendMessageW(GetDlgItem(about, IDC_VERSION), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"set by the test"));
    SendMessageW(about, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"caption set by the test"));
    app.Click(GetDlgItem(about, IDOK));
    ASSERT_TRUE(AboutIsGone());
    about = app.OpenAbout();
    ASSERT_NE(about, nullptr) << "\"&About\" after a close showed nothing";
    EXPECT_EQ(AboutWindows(), 1);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }, 3000));
    EXPECT_EQ(Text(GetDlgItem(about, IDC_VERSION)), L"Version 0.5.0");
    EXPECT_EQ(Text(GetDlgItem(about, IDC_TITLE)), L"ZOLV Loader");
    EXPECT_EQ(app.Focus(), GetDlgItem(about, IDOK));
}

// --- side by side --------------------------------------------------------------------------------

using BothWindows = AboutWindowTest;

TEST_F(BothWindows, RunTheGameAnswersWhileTheAboutWindowIsOpen) {
    app.PutBeside(about);
    MouseClickAt(CentreOf(app.Control(IDC_EXECUTE)));
    app.Idle();
    const Box box = app.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr) << "Run the Game! did not answer with the About window open";
    EXPECT_EQ(box.text, L"You must click Save Settings first");
    EXPECT_EQ(box.owner, app.main());
    app.Dismiss(box);
    EXPECT_TRUE(IsWindowVisible(about)) << "the About window closed";
}

TEST_F(BothWindows, SaveSettingsWorksWhileTheAboutWindowIsOpen) {
    app.PutBeside(about);
    app.OpenDirectory(L"zolv");
    ASSERT_EQ(app.DirectoryPath(), games);
    app.SelectComboItem(IDC_GAMEDIR, L"1943");
    MouseClickAt(CentreOf(app.Control(IDC_SAVE)));
    app.Idle();
    ASSERT_TRUE(WaitFor([&] { return Exists(games + L"\\zolvload.bat"); }, 5000))
        << "Save Settings wrote no script with the About window open";
    EXPECT_EQ(ReadFileBytes(games + L"\\zolvload.bat"), "zolv.exe 1943");
    EXPECT_TRUE(app.NoBoxFor(200));
    EXPECT_TRUE(IsWindowVisible(about));

    RECT main, aside, both;
    GetWindowRect(app.main(), &main);
    GetWindowRect(about, &aside);
    UnionRect(&both, &main, &aside);
    app.MakeForeground(about);
    EXPECT_TRUE(ScreenShot(both).Save(L"zolv-both.bmp")) << "could not save the screenshot";
}

// --- its place beside the main window ------------------------------------------------------------

std::string Where(const RECT& r) {
    char text[64];
    snprintf(text, sizeof(text), "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

TEST_F(BothWindows, TheAboutWindowOpensBesideTheMainWindowElseOverItAndGoesAndComesBackWithIt) {
    RECT main, aside;
    GetWindowRect(app.main(), &main);
    GetWindowRect(about, &aside);
    // The main window opens at the work area's top left: there is room on its right.
    EXPECT_EQ(aside.left, main.right) << Where(aside) << " not right of " << Where(main);
    EXPECT_EQ(aside.top, main.top) << Where(aside) << " not level with " << Where(main);

    // Minimised with the main window, as its title bar's button does it, and back with it.
    PostMessageW(app.main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    app.Idle();
    ASSERT_TRUE(WaitFor([&] { return IsIconic(app.main()); }, 3000));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(about); }, 3000))
        << "the About window stayed on the screen";
    PostMessageW(app.main(), WM_SYSCOMMAND, SC_RESTORE, 0);
    app.Idle();
    ASSERT_TRUE(WaitFor([&] { return !IsIconic(app.main()); }, 3000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(about); }, 3000))
        << "the About window did not come back";

    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(app.main(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const SIZE mainSize = {main.right - main.left, main.bottom - main.top};
    const SIZE aboutSize = {aside.right - aside.left, aside.bottom - aside.top};
    const auto reopenWithTheMainWindowAt = [&](int left, int top, SIZE size) {
        app.Click(GetDlgItem(about, IDOK));
        ASSERT_TRUE(AboutIsGone());
        SetWindowPos(app.main(), nullptr, left, top, size.cx, size.cy, SWP_NOZORDER);
        app.Idle();
        about = app.OpenAbout();
        ASSERT_NE(about, nullptr);
        GetWindowRect(app.main(), &main);
        GetWindowRect(about, &aside);
    };

    // The main window half out of the work area at its bottom right: the
    // About window opens on its left, moved up into the area.
    reopenWithTheMainWindowAt(area.right - mainSize.cx / 3, area.bottom - mainSize.cy / 2,
                              mainSize);
    if (HasFatalFailure()) return;
    EXPECT_EQ(aside.right, main.left) << Where(aside) << " not left of " << Where(main);
    EXPECT_EQ(aside.bottom, area.bottom) << Where(aside) << " not within " << Where(area);

    // No room on either side: over the main window, centred, the two windows'
    // centres a pixel apart at most (the halving rounds).
    reopenWithTheMainWindowAt(area.left + aboutSize.cx / 2, area.top,
                              {area.right - area.left - aboutSize.cx + 2, mainSize.cy});
    if (HasFatalFailure()) return;
    EXPECT_LE(std::abs((aside.left + aside.right) - (main.left + main.right)), 1)
        << Where(aside) << " not centred over the main window at " << Where(main);
    EXPECT_LE(std::abs((aside.top + aside.bottom) - (main.top + main.bottom)), 1)
        << Where(aside) << " not centred over the main window at " << Where(main);
}

// --- the menus' keys and the shutdown ------------------------------------------------------------

TEST(AboutCommand, AltHThenAShowsTheAboutWindow) {
    TempDir temp;
    Loader app(temp.path());
    ASSERT_NE(app.main(), nullptr) << "the main window did not appear";
    app.PressKeys({'H', 'A'}, false, /*alt=*/true);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = app.FindWindowByCaption(kAboutCaption)); }, 5000))
        << "Alt+H, A showed no About window";
    EXPECT_EQ(Text(GetDlgItem(about, IDC_VERSION)), L"Version 0.5.0");
    EXPECT_EQ(app.Focus(), GetDlgItem(about, IDOK));
}

// Each way out ends the program with the About window open, and asks nothing.
struct ShutdownWay {
    const char* name;
    void (*end)(Loader& app);
};

// Failure messages name the case, not its bytes.
void PrintTo(const ShutdownWay& way, std::ostream* out) { *out << way.name; }

const ShutdownWay kShutdownWays[] = {
    {"AltPThenE",
     [](Loader& app) {
         app.PressKeys({'P', 'E'}, false, /*alt=*/true);
     }},
    {"AltF4", [](Loader& app) { app.PressKeys({VK_F4}, false, /*alt=*/true); }},
    {"CloseCommand", [](Loader& app) { PostMessageW(app.main(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"Close", [](Loader& app) { PostMessageW(app.main(), WM_CLOSE, 0, 0); }},
    {"CloseBoxClicked",
     [](Loader& app) {
         POINT box;
         ASSERT_TRUE(FindCloseBox(app.main(), &box)) << "no close box on the main window";
         MouseClickAt(box);
     }},
};

class ProgramEnds : public AboutWindowTest, public ::testing::WithParamInterface<ShutdownWay> {};

TEST_P(ProgramEnds, WithTheAboutWindowOpen) {
    // Beside each other, the main window in front: its keys and its close box.
    app.PutBeside(about);
    app.MakeForeground(app.main());

    const HWND mainWindow = app.main();
    GetParam().end(app);
    const bool ended = app.WaitForExit(5000);
    if (!ended) {
        const Box box = app.WaitForBox(100);
        ASSERT_TRUE(ended) << "the program did not end"
                           << (box.hwnd ? " and asked: " + Narrow(box.text) : std::string());
    }
    EXPECT_FALSE(IsWindow(mainWindow)) << "the main window is still there";
    EXPECT_FALSE(IsWindow(about)) << "the About window is still there";
    DWORD code = 1;
    GetExitCodeProcess(app.process(), &code);
    EXPECT_EQ(code, 0u) << "the program ended with a failure code";
}

INSTANTIATE_TEST_SUITE_P(, ProgramEnds, ::testing::ValuesIn(kShutdownWays), ByName());

}  // namespace
}  // namespace zolv::ui
