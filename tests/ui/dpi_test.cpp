// Both windows at every DPI: the texts at their size and whole, the controls
// at their twips places. AtHighDpi runs in prefixes set to a higher DPI
// (ui_dpi144, ui_dpi192); Wine has one DPI for every monitor, so DpiChange
// tells the windows of a move as Windows would, through the probe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/newer_windows.h"
#include "program/control_ids.h"
#include "tests/ui/driver.h"
#include "tests/ui/layout_tables.h"
#include "tests/ui/probe.h"

namespace zolv::ui {
namespace {

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// A DC of this process with the control's font in it.
class FontOf {
public:
    explicit FontOf(HWND control) : dc_(CreateCompatibleDC(nullptr)) {
        logical_ = FontOfControl(control);
        if (logical_.lfHeight) font_ = CreateFontIndirectW(&logical_);
        old_ = SelectObject(dc_, font_ ? font_ : GetStockObject(SYSTEM_FONT));
        GetTextMetricsW(dc_, &metrics_);
    }
    ~FontOf() {
        SelectObject(dc_, old_);
        if (font_) DeleteObject(font_);
        DeleteDC(dc_);
    }
    bool valid() const { return font_ != nullptr; }
    int Width(const std::wstring& text) const {
        SIZE extent = {};
        GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }
    std::wstring asked() const { return logical_.lfFaceName; }
    const LOGFONTW& logical() const { return logical_; }
    int CharacterHeight() const { return metrics_.tmHeight - metrics_.tmInternalLeading; }

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
    LOGFONTW logical_ = {};
    TEXTMETRICW metrics_ = {};
};

// A text drawn alone on one line in a font and colours, 8 pixels in from the
// top left (DrawText's format: how an access key's "&" shows).
ScreenShot Draw(const LOGFONTW& logical, const std::wstring& text, COLORREF ink, COLORREF paper,
                UINT format) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectW(&logical);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &all, format | DT_SINGLELINE | DT_CALCRECT);
    all.right += 16;
    all.bottom += 16;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = all.right;
    info.bmiHeader.biHeight = -all.bottom;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP sheet = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldSheet = SelectObject(dc, sheet);
    SetBkColor(dc, paper);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    SetTextColor(dc, ink);
    SetBkMode(dc, TRANSPARENT);
    RECT at = {8, 8, all.right, all.bottom};
    DrawTextW(dc, text.c_str(), -1, &at, format | DT_SINGLELINE | DT_NOCLIP);
    GdiFlush();
    const ScreenShot drawing(all.right, all.bottom, static_cast<const DWORD*>(bits));
    SelectObject(dc, oldSheet);
    DeleteObject(sheet);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    DeleteDC(dc);
    return drawing;
}

int InkOf(const LOGFONTW& font, const std::wstring& text, COLORREF ink, COLORREF paper,
          UINT format) {
    return Draw(font, text, ink, paper, format).Differing(paper);
}

// How a bitmap face scaled to a size it lacks looks, or "" where it looks
// right: blocky on Windows (squares of k by k pixels alike); under Wine its
// letters at the face's own smaller size, less than half the characters' height.
std::string LooksScaled(const LOGFONTW& font, int characterHeight) {
    const ScreenShot d = Draw(font, L"Hamburgefonstiv 0123", RGB(0, 0, 0), RGB(255, 255, 255), 0);
    int top = d.height(), bottom = -1;
    for (int y = 0; y < d.height(); ++y) {
        for (int x = 0; x < d.width(); ++x) {
            if (d.At(x, y) != RGB(255, 255, 255))
                top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    if ((bottom - top + 1) * 2 < characterHeight) return "letters smaller than its characters";
    for (int k = 2; k <= 4; ++k) {
        bool blocks = true;
        for (int y = 8; y < d.height() && blocks; ++y) {
            for (int x = 8; x < d.width() && blocks; ++x)
                blocks = d.At(x, y) == d.At(8 + (x - 8) / k * k, 8 + (y - 8) / k * k);
        }
        if (blocks) return "blocky";
    }
    return "";
}

// The pixels of a text's words, each drawn apart, black on the face: what an
// owner-drawn label shows where it shows all of the text.
int InkOfWords(const LOGFONTW& font, const std::wstring& text) {
    int ink = 0;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
        end = std::min(text.find(L' ', start), text.size());
        if (end > start) {
            ink += InkOf(font, text.substr(start, end - start), RGB(0, 0, 0),
                         GetSysColor(COLOR_BTNFACE), DT_NOPREFIX);
        }
    }
    return ink;
}

// An owner-drawn label shows every pixel of its words.
void ExpectWrappedShowsWhole(HWND label, const LOGFONTW& font) {
    const int words = InkOfWords(font, Text(label));
    int shown = 0;
    WaitFor(
        [&] { return (shown = ScreenShot(label).Differing(GetSysColor(COLOR_BTNFACE))) == words; },
        3000);
    EXPECT_EQ(shown, words) << "label " << GetDlgCtrlID(label) << " shows " << shown
                            << " of its words' " << words << " pixels";
}

// A one-line caption shows every pixel of it: the control on the screen
// differs from itself with a blank caption in as many pixels as the caption
// drawn alone in its colours, its access key underlined or not.
void ExpectCaptionShowsWhole(HWND control, const LOGFONTW& font) {
    const std::wstring caption = Text(control);
    const bool label = ClassOf(control) == L"Static";  // the yellow one on black
    const COLORREF ink = label ? RGB(255, 255, 0) : GetSysColor(COLOR_BTNTEXT);
    const COLORREF paper = label ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNFACE);
    const int plain = InkOf(font, caption, ink, paper, label ? DT_NOPREFIX : DT_HIDEPREFIX);
    const int underlined = label ? plain : InkOf(font, caption, ink, paper, 0);
    const ScreenShot with(control);
    // A blank, not nothing: an empty caption moves a check box's box.
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" "));
    int shown = 0;
    WaitFor(
        [&] {
            shown = ScreenShot(control).Differing(with);
            return shown == plain || shown == underlined;
        },
        3000);
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    WaitFor([&] { return ScreenShot(control).Differing(with) == 0; }, 3000);
    EXPECT_TRUE(shown == plain || shown == underlined)
        << "\"" << Narrow(caption) << "\" shows " << shown << " of its " << plain << " pixels";
}

// The selection field of a combo box: every item fits it, as any may be chosen.
void ExpectComboFits(HWND combo, const FontOf& font) {
    RECT client;
    GetClientRect(combo, &client);
    int room = client.right - GetSystemMetrics(SM_CXVSCROLL) - 4 * GetSystemMetrics(SM_CXEDGE);
    if (HWND edit = GetWindow(combo, GW_CHILD)) {
        GetClientRect(edit, &client);
        const LRESULT margins = SendMessageW(edit, EM_GETMARGINS, 0, 0);
        room = client.right - LOWORD(margins) - HIWORD(margins);
    }
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        EXPECT_LE(font.Width(ComboItem(combo, i)), room)
            << "item " << i << " of combo " << GetDlgCtrlID(combo);
    }
}

// A caption of the system's controls, a label the About window draws, a combo box's items.
enum class Fit { OneLine, Drawn, Combo, List };

// Every control with text: the face the window's design names for it, and
// the character height it has at 96 DPI.
struct DesignedText {
    bool about;
    int id;
    Fit fit;
    const wchar_t* face;
    int height96;
};

constexpr DesignedText kTexts[] = {
    {false, IDC_SCAN, Fit::OneLine, L"System", 13},
    {false, IDC_ENABLEV, Fit::OneLine, L"System", 13},
    {false, IDC_FRAME, Fit::OneLine, L"System", 13},
    {false, IDC_NOSOUND, Fit::OneLine, L"System", 13},
    {false, IDC_SKIP, Fit::OneLine, L"System", 13},
    {false, IDC_JOYSTICK, Fit::OneLine, L"System", 13},
    {false, IDC_FM, Fit::OneLine, L"System", 13},
    {false, IDC_ROTATE, Fit::OneLine, L"System", 13},
    {false, IDC_TINDRELDIR, Fit::OneLine, L"MS Sans Serif", 13},
    {false, IDC_SAVE, Fit::OneLine, L"Terminal", 12},
    {false, IDC_EXECUTE, Fit::OneLine, L"Terminal", 12},
    {false, IDC_DRIVE, Fit::Combo, L"MS Sans Serif", 11},
    {false, IDC_RES, Fit::Combo, L"MS Sans Serif", 11},
    {false, IDC_GAMEDIR, Fit::Combo, L"MS Sans Serif", 11},
    {false, IDC_DIR, Fit::List, L"MS Sans Serif", 11},
    {true, IDC_TITLE, Fit::Drawn, L"Terminal", 18},
    {true, IDC_VERSION, Fit::Drawn, L"MS Sans Serif", 11},
    // The description does not fit in MS Sans Serif, which has no size below
    // 8 point: the About window fits it in the outline face at 96 DPI already.
    {true, IDC_DESCRIPTION, Fit::Drawn, L"Microsoft Sans Serif", 9},
    {true, IDC_DISCLAIMER, Fit::Drawn, L"MS Sans Serif", 11},
    {true, IDOK, Fit::OneLine, L"MS Sans Serif", 11},
    {true, IDC_SYSINFO, Fit::OneLine, L"MS Sans Serif", 11},
};

// Both windows open, the About window beside the main window.
class BothWindows {
public:
    BothWindows() : app_(temp_.path()) {
        if (!app_.main() || !(about_ = app_.OpenAbout())) return;
        // With room for the main window to grow.
        RECT frame;
        GetWindowRect(app_.main(), &frame);
        app_.PutBeside(about_, frame.right - frame.left);
    }
    bool open() const { return about_ != nullptr; }
    const Loader& app() const { return app_; }
    HWND main() const { return app_.main(); }
    HWND about() const { return about_; }
    // One window wholly on the screen at its top left, once drawn there; for the
    // main window the About window off the screen, as it is kept above its owner.
    void Expose(bool about) const {
        const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        SetWindowPos(about ? about_ : app_.main(), nullptr, 0, 0, 0, 0, flags);
        if (!about) SetWindowPos(about_, nullptr, screen.right, 0, 0, 0, flags);
        app_.Idle();
        ScreenShot before(screen);
        WaitFor([&] {
            Sleep(100);
            const ScreenShot now(screen);
            const bool same = now.Differing(before) == 0;
            before = now;
            return same;
        });
    }
    HWND Control(const DesignedText& text) const {
        return text.about ? GetDlgItem(about_, text.id) : app_.Control(text.id);
    }

private:
    TempDir temp_;
    std::wstring games_ = temp_.Make(L"zolv");  // before the start, so that the list shows it
    Loader app_;
    HWND about_ = nullptr;
};

// A text shows whole: on its one line, wrapped within its label, or, for a
// combo box, every item in the selection field.
void ExpectWhole(HWND control, Fit fit, const FontOf& font) {
    switch (fit) {
        case Fit::OneLine:
            ExpectCaptionShowsWhole(control, font.logical());
            break;
        case Fit::Drawn:
            ExpectWrappedShowsWhole(control, font.logical());
            break;
        case Fit::Combo:
            ExpectComboFits(control, font);
            break;
        case Fit::List:
            break;
    }
}

// Every text of both windows whole; laid out for a DPI, where one is given,
// at its 96-DPI size in proportion, in a face that shows at that size.
void ExpectEveryTextWhole(const BothWindows& windows, int dpi = 0) {
    for (const DesignedText& text : kTexts) {
        if (&text == kTexts || text.about != (&text)[-1].about) windows.Expose(text.about);
        const HWND control = windows.Control(text);
        const FontOf font(control);
        ASSERT_TRUE(font.valid()) << "no font in control " << text.id;
        if (dpi) {
            const double size = text.height96 * dpi / 96.0;
            EXPECT_LE(std::abs(font.CharacterHeight() - size), size / 10)
                << "control " << text.id << " in " << Narrow(font.asked()) << ": "
                << font.CharacterHeight() << " pixels high, not " << size;
            EXPECT_EQ(LooksScaled(font.logical(), font.CharacterHeight()), "")
                << "control " << text.id << " in " << Narrow(font.asked());
        }
        ExpectWhole(control, text.fit, font);
    }
    windows.Expose(false);
}

TEST(At96Dpi, EveryTextIsInTheFaceAndSizeTheDesignNames) {
    ASSERT_EQ(ScreenDpi(), 96);
    const BothWindows windows;
    ASSERT_TRUE(windows.open());
    for (const DesignedText& text : kTexts) {
        const FontOf font(windows.Control(text));
        ASSERT_TRUE(font.valid()) << "no font in control " << text.id;
        EXPECT_EQ(Narrow(font.asked()), Narrow(text.face)) << "control " << text.id;
        EXPECT_EQ(font.CharacterHeight(), text.height96) << "control " << text.id;
    }
}

TEST(AtHighDpi, EveryTextOfBothWindowsIsAtItsSizeAndWhole) {
    const int dpi = ScreenDpi();
    ASSERT_GT(dpi, 120) << "this test runs in a prefix set to a higher DPI";
    const BothWindows windows;
    ASSERT_TRUE(windows.open());
    ExpectEveryTextWhole(windows, dpi);
}

// --- a move to a monitor of another DPI ------------------------------------------------------

LRESULT ListItemHeight(HWND window) {
    HWND list = GetDlgItem(window, IDC_DIR);
    return list ? SendMessageW(list, LB_GETITEMHEIGHT, 0, 0) : 0;
}

// What a window looks like: its client size, each control's place and font,
// and the directory list's item height.
template <std::size_t N>
std::string Read(HWND window, const PlacedControl (&table)[N]) {
    RECT r;
    GetClientRect(window, &r);
    std::string layout = "client " + std::to_string(r.right) + "x" + std::to_string(r.bottom);
    for (const PlacedControl& c : table) {
        r = ClientRectIn(GetDlgItem(window, c.id));
        const LOGFONTW font = FontOfControl(GetDlgItem(window, c.id));
        char line[160];
        snprintf(line, sizeof(line), "\n%d at (%ld, %ld)-(%ld, %ld) in %s %ld/%ld", c.id, r.left,
                 r.top, r.right, r.bottom, Narrow(font.lfFaceName).c_str(), font.lfHeight,
                 font.lfWeight);
        layout += line;
    }
    return layout + "\nlist items " + std::to_string(ListItemHeight(window));
}

// How much larger a window's frame (its edges, caption and menu bar) is at
// one DPI than at another, as Windows draws it for its style.
SIZE FrameGrowth(HWND window, int dpi, int from) {
    RECT at[2] = {};
    const int dpis[2] = {dpi, from};
    for (int i = 0; i < 2; ++i) {
        AdjustWindowRectForDpi(&at[i], static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                               GetMenu(window) != nullptr,
                               static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), dpis[i]);
    }
    return {(at[0].right - at[0].left) - (at[1].right - at[1].left),
            (at[0].bottom - at[0].top) - (at[1].bottom - at[1].top)};
}

// Tells a window of a move to a monitor of another DPI as Windows 10 does,
// asking its size there, then suggesting it. Told from inside, it stays where
// its frame is drawn at the old DPI, so it takes the answer less the frame's growth.
void MoveToDpi(HWND window, int dpi, int from) {
    const std::optional<SIZE> answer = AskDpiScaledSize(window, dpi, from);
    ASSERT_TRUE(answer) << "WM_GETDPISCALEDSIZE left the size to Windows, at " << dpi;
    TellDpiChanged(window, dpi, *answer);
    RECT taken;
    GetWindowRect(window, &taken);
    const SIZE growth = FrameGrowth(window, dpi, ScreenDpi());
    EXPECT_EQ(taken.right - taken.left + growth.cx, answer->cx) << "width at " << dpi;
    EXPECT_EQ(taken.bottom - taken.top + growth.cy, answer->cy) << "height at " << dpi;
}

// Tells both windows of a move to 144 DPI, runs the checks there, and tells
// them of the move back: every control is then as the windows opened.
template <typename At144>
void RoundTripTo144(const BothWindows& windows, At144 checksAt144) {
    const std::string main96 = Read(windows.main(), kMainControls);
    const std::string about96 = Read(windows.about(), kAboutControls);
    const LRESULT items96 = ListItemHeight(windows.main());

    MoveToDpi(windows.main(), 144, 96);
    MoveToDpi(windows.about(), 144, 96);
    windows.app().Idle();
    ExpectLaidOut(windows.main(), kMainControls, kMainClient, 144);
    ExpectLaidOut(windows.about(), kAboutControls, kAboutClient, 144);
    EXPECT_GT(ListItemHeight(windows.main()), items96);
    checksAt144();

    MoveToDpi(windows.main(), 96, 144);
    MoveToDpi(windows.about(), 96, 144);
    windows.app().Idle();
    EXPECT_EQ(Read(windows.main(), kMainControls), main96) << "main window";
    EXPECT_EQ(Read(windows.about(), kAboutControls), about96) << "About window";
}

TEST(DpiChange, BothWindowsLayThemselvesOutAt144AndBackAt96AsTheyStarted) {
    const BothWindows windows;
    ASSERT_TRUE(windows.open());
    RoundTripTo144(windows, [&] {
        ExpectEveryTextWhole(windows, 144);
        EXPECT_EQ(ScreenPixel(windows.main(), MulDiv(2400, 144, 1440), MulDiv(2000, 144, 1440)),
                  GetSysColor(COLOR_WINDOWTEXT))
            << "the divider at its 144-DPI place";
    });
}

// The face that the font mapper gives for one asked for.
std::string FaceGiven(const wchar_t* face) {
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    wchar_t given[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, given);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return Narrow(given);
}

// Wine's own fonts, as the test prefixes and tools/run.sh (the run_sh test)
// give them: the design's bitmap faces that Wine ships (no Terminal) come
// back as themselves, and Marlett, which draws the title-bar buttons, is there.
TEST(WineFonts, TheDesignsFacesComeBackAsThemselvesAndMarlettIsThere) {
    EXPECT_EQ(FaceGiven(L"MS Sans Serif"), "MS Sans Serif");
    EXPECT_EQ(FaceGiven(L"System"), "System");
    EXPECT_EQ(FaceGiven(L"Marlett"), "Marlett");
}

// The three combo boxes are as tall closed, so their lists drop as far,
// whichever font each was given.
void ExpectCombosDropAlike(HWND main) {
    const int drive = DroppedHeight(GetDlgItem(main, IDC_DRIVE));
    EXPECT_GT(drive, 0);
    for (int id : {IDC_RES, IDC_GAMEDIR})
        EXPECT_EQ(DroppedHeight(GetDlgItem(main, id)), drive) << "combo " << id;
}

// Debian's Wine without its own fonts (ui_plain) gives DejaVu Sans, wider
// than the design's faces, for every face: the windows fit their texts to it.
TEST(WithoutWineFonts, EveryTextIsWholeAndARoundTripTo144LeavesEveryFontAsItOpened) {
    ASSERT_NE(FaceGiven(L"Marlett"), "Marlett")
        << "this test runs in a prefix without Wine's own fonts";
    const BothWindows windows;
    ASSERT_TRUE(windows.open());
    ExpectEveryTextWhole(windows);
    ExpectCombosDropAlike(windows.main());
    RoundTripTo144(windows, [&] {
        ExpectEveryTextWhole(windows);
        ExpectCombosDropAlike(windows.main());
    });
    ExpectCombosDropAlike(windows.main());
}
}  // namespace
}  // namespace zolv::ui
