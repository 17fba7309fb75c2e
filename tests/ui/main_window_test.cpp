// The main window as a user meets it, checked on the real exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>

#include "program/control_ids.h"
#include "tests/ui/driver.h"
#include "tests/ui/layout_tables.h"

namespace zolv::ui {
namespace {

class MainWindowOnScreen : public ::testing::Test {
protected:
    TempDir temp;
    std::wstring games = temp.Make(L"zolv");
    Loader app{temp.path()};

    void SetUp() override { ASSERT_NE(app.main(), nullptr) << "the main window did not appear"; }
};

TEST_F(MainWindowOnScreen, IsTheOneFixedSizeWindowWithEveryControlsKindCaptionAndPlaceInTwips) {
    EXPECT_EQ(app.VisibleWindows().size(), 1u);
    EXPECT_EQ(Text(app.main()), L"ZOLV Loader");
    const LONG style = GetWindowLongW(app.main(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the border must not resize";
    ExpectLaidOut(app.main(), kMainControls, kMainClient);

    const auto kindOf = [&](int id) { return GetWindowLongW(app.Control(id), GWL_STYLE); };
    for (int id : {IDC_SCAN, IDC_ENABLEV, IDC_FRAME, IDC_NOSOUND, IDC_SKIP, IDC_JOYSTICK, IDC_FM,
                   IDC_ROTATE}) {
        EXPECT_EQ(kindOf(id) & BS_TYPEMASK, BS_AUTOCHECKBOX) << id;
        EXPECT_EQ(SendMessageW(app.Control(id), BM_GETCHECK, 0, 0), BST_UNCHECKED) << id;
    }
    for (int id : {IDC_SAVE, IDC_EXECUTE}) {
        EXPECT_EQ(kindOf(id) & BS_TYPEMASK, BS_PUSHBUTTON) << "no default button: " << id;
    }
    EXPECT_EQ(kindOf(IDC_RES) & 3, CBS_DROPDOWN);
    EXPECT_EQ(kindOf(IDC_GAMEDIR) & 3, CBS_DROPDOWN);
    EXPECT_EQ(kindOf(IDC_DRIVE) & 3, CBS_DROPDOWNLIST);
    EXPECT_FALSE(kindOf(IDC_RES) & CBS_SORT);
    EXPECT_FALSE(kindOf(IDC_GAMEDIR) & CBS_SORT);
}

TEST_F(MainWindowOnScreen, TheLabelIsYellowOnBlackAndTheLinesAreDrawn) {
    const ScreenShot label(app.Control(IDC_TINDRELDIR));
    EXPECT_EQ(label.At(label.width() - 1, label.height() - 1), RGB(0, 0, 0))
        << "opaque black background";
    EXPECT_LT(label.Differing(RGB(255, 255, 0)), label.width() * label.height())
        << "no yellow text in the label";

    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(ScreenPixel(app.main(), Px(2400), Px(2000)), ink) << "the divider";
    EXPECT_EQ(ScreenPixel(app.main(), Px(1200), Px(2880)), ink)
        << "the rule under JoyStick Support";
    EXPECT_EQ(ScreenPixel(app.main(), Px(3500), Px(2760)), ink) << "the rule above the buttons";
    EXPECT_NE(ScreenPixel(app.main(), Px(1200), Px(3600)), ink) << "no rule under the last box";
}

TEST_F(MainWindowOnScreen, TheListsAreFilledAfterLoad) {
    HWND games = app.Control(IDC_GAMEDIR), res = app.Control(IDC_RES);
    ASSERT_EQ(SendMessageW(games, CB_GETCOUNT, 0, 0), 22);
    EXPECT_EQ(ComboItem(games, 0), L"Select Game Directory");
    EXPECT_EQ(ComboItem(games, 1), L"1943");
    EXPECT_EQ(ComboItem(games, 21), L"victroad");
    ASSERT_EQ(SendMessageW(res, CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(ComboItem(res, 0), L"Select Resolution");
    EXPECT_EQ(ComboItem(res, 4), L" -d320x240");
    EXPECT_EQ(ComboItem(res, 6), L" -d224x288");

    // Both lists start where the program was started.
    EXPECT_EQ(app.DirectoryPath(), temp.path());
    const std::wstring drive = ComboItem(app.Control(IDC_DRIVE));
    EXPECT_EQ(towlower(drive[0]), towlower(temp.path()[0]));
    EXPECT_EQ(drive[1], L':');
}

TEST(DirectoryList, ShowsTheOpenPathThenItsFoldersInOrderAndOpensOneByEnterOrDoubleClick) {
    TempDir temp;
    for (const wchar_t* name : {L"beta", L"Delta", L"Alpha", L"gamma"}) temp.Make(name);
    Loader app(temp.path());
    ASSERT_NE(app.main(), nullptr);
    HWND list = app.Control(IDC_DIR);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    ASSERT_GE(count, 5);
    const LRESULT first = count - 4;  // the open path's entries come before
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), first - 1) << "the open directory";
    EXPECT_EQ(ListItem(list, first), L"Alpha");
    EXPECT_EQ(ListItem(list, first + 1), L"beta");
    EXPECT_EQ(ListItem(list, first + 2), L"Delta");
    EXPECT_EQ(ListItem(list, first + 3), L"gamma");

    // Each row's folder sits one indent (8 pixels) deeper than its parent's:
    // the root's open folder at the left, the subdirectories' closed ones
    // after the open path's.
    const int row = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    auto folderFill = [&](LRESULT index, int level) {
        SendMessageW(list, LB_SETTOPINDEX, index, 0);
        UpdateWindow(list);
        app.Idle();
        const int top = static_cast<int>(index - SendMessageW(list, LB_GETTOPINDEX, 0, 0)) * row;
        return ScreenPixel(list, 2 + 8 * level + 7, top + row / 2 + 2);
    };
    EXPECT_EQ(folderFill(0, 0), RGB(255, 255, 160)) << "the root, open";
    EXPECT_EQ(folderFill(first, static_cast<int>(first)), RGB(224, 192, 64)) << "Alpha, closed";

    // The keyboard's type-ahead finds a folder by its first letter.
    PostMessageW(list, WM_CHAR, L'g', 0);
    app.Idle();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), first + 3);
    EXPECT_EQ(app.DirectoryPath(), temp.path()) << "highlighting opens nothing";

    // A double-click opens the entry; Enter, typed in the list, opens rather
    // than going to the dialog keys.
    app.PressKeys({VK_TAB, VK_TAB, VK_TAB});
    SendMessageW(list, LB_SETTOPINDEX, first + 3, 0);
    RECT gamma;
    SendMessageW(list, LB_GETITEMRECT, first + 3, reinterpret_cast<LPARAM>(&gamma));
    const LPARAM at = MAKELPARAM(gamma.left + 20, (gamma.top + gamma.bottom) / 2);
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageW(list, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    app.Idle();
    EXPECT_EQ(app.DirectoryPath(), temp.path() + L"\\gamma");
    ASSERT_EQ(app.Focus(), list);
    app.PressKeys({VK_UP, VK_RETURN});
    EXPECT_EQ(app.DirectoryPath(), temp.path());
}

TEST(DirectoryList, AFolderRemovedAfterItWasListedIsNamedAndLeavesTheList) {
    TempDir temp;
    const std::wstring gone = temp.Make(L"gone");
    temp.Make(L"kept");
    Loader app(temp.path());
    ASSERT_NE(app.main(), nullptr);
    HWND list = app.Control(IDC_DIR);
    const auto find = [&](const wchar_t* name) {
        return SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(name));
    };
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    ASSERT_NE(find(L"gone"), LB_ERR);
    ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));

    app.OpenDirectory(L"gone");
    const Box box = app.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr) << "no message for the folder that is gone";
    std::wstring text = box.text;  // a long path is broken onto lines
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());
    EXPECT_EQ(text, L"The directory \"" + gone + L"\" no longer exists or cannot be read.");
    EXPECT_EQ(box.owner, app.main());
    app.Dismiss(box);
    app.Idle();

    EXPECT_EQ(find(L"gone"), LB_ERR) << "the list is not read again";
    EXPECT_EQ(find(L"kept"), count - 2);
    EXPECT_EQ(app.DirectoryPath(), temp.path());
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), count - 3) << "the open directory";
}

TEST_F(MainWindowOnScreen, SaveWithoutAGameIsRefusedWithTheProgramsTitle) {
    app.OpenDirectory(L"zolv");
    app.Click(app.Control(IDC_SAVE));
    const Box box = app.WaitForBox();
    ASSERT_NE(box.hwnd, nullptr);
    ExpectMessage(box, L"you must select a game directory!!", true, app.main());
    app.Dismiss(box);
    EXPECT_FALSE(Exists(games + L"\\zolvload.bat")) << "a refused save writes nothing";
}

TEST(Startup, ArgumentsChangeNothingAndASecondCopyIsIndependent) {
    TempDir temp;
    Loader first{temp.path(), L"/zolv.exe --ignored \"C:\\somewhere else\""};
    ASSERT_NE(first.main(), nullptr);
    EXPECT_EQ(first.DirectoryPath(), temp.path());
    EXPECT_EQ(Text(first.Control(IDC_GAMEDIR)), L"Select Game Directory");

    Loader second{temp.path()};
    ASSERT_NE(second.main(), nullptr);
    EXPECT_NE(second.main(), first.main());
    EXPECT_EQ(second.VisibleWindows().size(), 1u);
    second.SelectComboItem(IDC_GAMEDIR, L"loth");
    EXPECT_EQ(Text(first.Control(IDC_GAMEDIR)), L"Select Game Directory");
}

}  // namespace
}  // namespace zolv::ui
