// Both windows as people meet them who cannot see them as drawn: through a
// screen reader, and in a high-contrast colour scheme.
#include <gtest/gtest.h>

#include <map>

#include "platform/text_colours.h"
#include "program/control_ids.h"
#include "tests/ui/driver.h"
#include "tests/ui/probe.h"

namespace zolv::ui {
namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(ScreenReader, CallsEveryControlOfTheMainWindowByWhatItIsAndReadsTheRestAsWindowsDoes) {
    TempDir temp;
    temp.Make(L"zolv");
    Loader app(temp.path());
    ASSERT_NE(app.main(), nullptr);
    app.SelectComboItem(IDC_RES, L" -d320x240");  // a value apart from the name
    const struct {
        int id;
        const wchar_t* name;
    } controls[] = {
        {IDC_DRIVE, L"Drive"},  {IDC_DIR, L"Directory"},    {IDC_RES, L"Resolution"},
        {IDC_GAMEDIR, L"Game"}, {IDC_NOSOUND, L"No sound"}, {IDC_EXECUTE, L"Run the Game!"},
    };
    for (const auto& control : controls) {
        const ScreenReading read = ReadLikeAScreenReader(app.Control(control.id));
        EXPECT_EQ(Narrow(read.handedOut.name), Narrow(control.name)) << "control " << control.id;
        // Value, role, state and children: the standard object's, read through the named one.
        ASSERT_FALSE(read.standard.rest.empty()) << "control " << control.id;
        EXPECT_EQ(Narrow(read.handedOut.rest), Narrow(read.standard.rest))
            << "control " << control.id;
    }
    // What the resolution shows is what Windows alone would call it: the name comes from us.
    EXPECT_EQ(Narrow(ReadLikeAScreenReader(app.Control(IDC_RES)).standard.name), " -d320x240");
}

// Sets a scheme's colours for the whole session, as the user's settings do,
// and puts the ones before back however the test ends.
class SchemeColours {
public:
    explicit SchemeColours(const std::map<int, COLORREF>& colours) {
        for (const auto& [element, colour] : colours) {
            elements_.push_back(element);
            before_.push_back(GetSysColor(element));
            after_.push_back(colour);
        }
        set_ = SetSysColors(static_cast<int>(elements_.size()), elements_.data(), after_.data());
    }
    ~SchemeColours() {
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), before_.data());
    }
    bool set() const { return set_; }

private:
    std::vector<int> elements_;
    std::vector<COLORREF> before_, after_;
    bool set_ = false;
};

// How many pixels of a label stand out from the colour most of it has, its
// background, by the contrast a text needs to be read.
int ReadablePixels(HWND label) {
    RECT r;
    GetWindowRect(label, &r);
    const ScreenShot shot(r);
    std::map<COLORREF, int> counts;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) ++counts[shot.At(x, y)];
    }
    COLORREF background = 0;
    int most = 0;
    for (const auto& [colour, count] : counts) {
        if (count > most) most = count, background = colour;
    }
    int readable = 0;
    for (const auto& [colour, count] : counts) {
        if (ContrastRatio(colour, background) >= kReadableContrast) readable += count;
    }
    return readable;
}

TEST(HighContrast, EveryLabelOfBothWindowsStandsOutInABlackScheme) {
    // Windows' High Contrast Black. Wine gives a program the colours of the
    // session as they were when it started: the scheme comes first.
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    const SchemeColours scheme({{COLOR_BTNFACE, black},
                                {COLOR_BTNTEXT, white},
                                {COLOR_WINDOW, black},
                                {COLOR_WINDOWTEXT, white},
                                {COLOR_3DHILIGHT, white},
                                {COLOR_3DSHADOW, RGB(128, 128, 128)},
                                {COLOR_HIGHLIGHT, RGB(128, 0, 128)},
                                {COLOR_HIGHLIGHTTEXT, white},
                                {COLOR_GRAYTEXT, RGB(0, 255, 0)},
                                {COLOR_MENU, black},
                                {COLOR_MENUTEXT, white},
                                {COLOR_MENUBAR, black}});
    ASSERT_TRUE(scheme.set());
    TempDir temp;
    temp.Make(L"zolv");
    Loader app(temp.path());
    ASSERT_NE(app.main(), nullptr);
    PostMessageW(app.main(), WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = app.FindWindowByCaption(L"About ZOLV Loader")); }));
    RECT frame;
    GetWindowRect(app.main(), &frame);
    SetWindowPos(about, nullptr, frame.right + 8, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    app.Idle();
    ASSERT_EQ(ScreenPixel(about, 1, 1), black) << "the program is not in the scheme";

    const std::pair<HWND, int> labels[] = {
        {app.Control(IDC_TINDRELDIR), IDC_TINDRELDIR},
        {GetDlgItem(about, IDC_TITLE), IDC_TITLE},
        {GetDlgItem(about, IDC_VERSION), IDC_VERSION},
        {GetDlgItem(about, IDC_DESCRIPTION), IDC_DESCRIPTION},
        {GetDlgItem(about, IDC_DISCLAIMER), IDC_DISCLAIMER},
    };
    for (const auto& [label, id] : labels)
        EXPECT_GT(ReadablePixels(label), 30) << "label " << id << " cannot be read";
}

}  // namespace
}  // namespace zolv::ui
