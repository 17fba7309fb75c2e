// Both windows, told that they moved to a monitor of another DPI, lay
// themselves out there from their twips tables, and back at 96 DPI exactly as
// they started. Wine has one DPI for every monitor, so the tests tell the
// windows as Windows would, through the probe inside the program.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/driver.h"
#include "tests/ui/layout_tables.h"
#include "tests/ui/probe.h"

namespace zolv::ui {
namespace {

// What a window looks like: its client size, and each control's place and font.
struct Layout {
    SIZE client;
    std::vector<RECT> places;
    std::vector<LOGFONTW> fonts;
    LRESULT listItemHeight = 0;
};

template <std::size_t N>
Layout Read(HWND window, const PlacedControl (&table)[N]) {
    Layout layout;
    RECT client;
    GetClientRect(window, &client);
    layout.client = {client.right, client.bottom};
    for (const PlacedControl& c : table) {
        layout.places.push_back(ClientRectIn(GetDlgItem(window, c.id)));
        layout.fonts.push_back(FontOfControl(GetDlgItem(window, c.id)));
    }
    if (HWND list = GetDlgItem(window, IDC_DIR)) {
        layout.listItemHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    }
    return layout;
}

int At(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

template <std::size_t N>
void ExpectPlacedAt(HWND window, const PlacedControl (&table)[N], SIZE clientTwips, int dpi) {
    const Layout layout = Read(window, table);
    EXPECT_EQ(layout.client.cx, At(clientTwips.cx, dpi)) << "client width at " << dpi;
    EXPECT_EQ(layout.client.cy, At(clientTwips.cy, dpi)) << "client height at " << dpi;
    for (std::size_t i = 0; i < N; ++i) {
        const PlacedControl& c = table[i];
        const RECT& r = layout.places[i];
        EXPECT_EQ(r.left, At(c.left, dpi)) << "left of " << c.id << " at " << dpi;
        EXPECT_EQ(r.top, At(c.top, dpi)) << "top of " << c.id << " at " << dpi;
        EXPECT_EQ(r.right - r.left, At(c.width, dpi)) << "width of " << c.id << " at " << dpi;
        EXPECT_EQ(r.bottom - r.top, At(c.height, dpi)) << "height of " << c.id << " at " << dpi;
    }
}

void ExpectSameLayout(const Layout& now, const Layout& before, const char* window) {
    EXPECT_EQ(now.client.cx, before.client.cx) << window;
    EXPECT_EQ(now.client.cy, before.client.cy) << window;
    ASSERT_EQ(now.places.size(), before.places.size());
    for (std::size_t i = 0; i < now.places.size(); ++i) {
        EXPECT_TRUE(EqualRect(&now.places[i], &before.places[i])) << window << " control " << i;
        EXPECT_EQ(now.fonts[i].lfHeight, before.fonts[i].lfHeight) << window << " control " << i;
        EXPECT_EQ(now.fonts[i].lfWeight, before.fonts[i].lfWeight) << window << " control " << i;
        EXPECT_EQ(std::wstring(now.fonts[i].lfFaceName), before.fonts[i].lfFaceName)
            << window << " control " << i;
    }
    EXPECT_EQ(now.listItemHeight, before.listItemHeight) << window;
}

// The suggested rectangle's size, as Windows scales a window for a new DPI.
SIZE Scaled(HWND window, int dpi, int from) {
    RECT frame;
    GetWindowRect(window, &frame);
    return {MulDiv(frame.right - frame.left, dpi, from),
            MulDiv(frame.bottom - frame.top, dpi, from)};
}

TEST(DpiChange, BothWindowsLayThemselvesOutAt144AndBackAt96AsTheyStarted) {
    TempDir temp;
    temp.Make(L"zolv");
    Loader app{temp.path()};
    ASSERT_NE(app.main(), nullptr);
    PostMessageW(app.main(), WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = app.FindWindowByCaption(L"About ZOLV Loader")); }));
    // Apart, with room for the main window to grow, so that the About window hides none of it.
    RECT frame;
    GetWindowRect(app.main(), &frame);
    SetWindowPos(about, nullptr, frame.left + 2 * (frame.right - frame.left), frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    app.Idle();
    const Layout main96 = Read(app.main(), kMainControls);
    const Layout about96 = Read(about, kAboutControls);

    TellDpiChanged(app.main(), 144, Scaled(app.main(), 144, 96));
    TellDpiChanged(about, 144, Scaled(about, 144, 96));
    app.Idle();
    ExpectPlacedAt(app.main(), kMainControls, kMainClient, 144);
    ExpectPlacedAt(about, kAboutControls, kAboutClient, 144);
    const Layout main144 = Read(app.main(), kMainControls);
    for (std::size_t i = 0; i < main144.fonts.size(); ++i) {
        EXPECT_LT(main144.fonts[i].lfHeight, main96.fonts[i].lfHeight)
            << "control " << kMainControls[i].id << " keeps its 96-DPI font";
    }
    EXPECT_GT(main144.listItemHeight, main96.listItemHeight);
    EXPECT_EQ(ScreenPixel(app.main(), At(2400, 144), At(2000, 144)), GetSysColor(COLOR_WINDOWTEXT))
        << "the divider at its 144-DPI place";

    TellDpiChanged(app.main(), 96, Scaled(app.main(), 96, 144));
    TellDpiChanged(about, 96, Scaled(about, 96, 144));
    app.Idle();
    ExpectSameLayout(Read(app.main(), kMainControls), main96, "main window");
    ExpectSameLayout(Read(about, kAboutControls), about96, "About window");
}

}  // namespace
}  // namespace zolv::ui
