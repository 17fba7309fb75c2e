// Both windows as people meet them who cannot see them as drawn: through a
// screen reader, and in a high-contrast colour scheme.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <utility>

#include "platform/text_colours.h"
#include "program/control_ids.h"
#include "tests/ui/driver.h"
#include "tests/ui/probe.h"

namespace zolv::ui {
namespace {

// The focus as a screen reader follows it from another process: each focus
// event's object (AccessibleObjectFromEvent) read by name.
class FocusFollower {
public:
    struct Heard {
        HWND window;
        std::wstring name;
    };

    explicit FocusFollower(DWORD process) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        following_ = this;
        hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocus, process,
                                0, WINEVENT_OUTOFCONTEXT);
    }
    ~FocusFollower() {
        if (hook_) UnhookWinEvent(hook_);
        following_ = nullptr;
        CoUninitialize();
    }
    bool hooked() const { return hook_ != nullptr; }

    // What was heard from now on until an event told of the focus in this
    // window: under Wine a combo box's field and then the combo box itself.
    std::vector<Heard> HeardUntilFocusIn(HWND window) {
        WaitFor([&] {
            Listen();
            return std::any_of(heard_.begin(), heard_.end(),
                               [&](const Heard& heard) { return heard.window == window; });
        });
        return std::exchange(heard_, {});
    }
    void Forget() {
        Listen();
        heard_.clear();
    }

private:
    static void Listen() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    static void CALLBACK OnFocus(HWINEVENTHOOK, DWORD, HWND window, LONG objectId, LONG childId,
                                 DWORD, DWORD) {
        IAccessible* object = nullptr;
        VARIANT child = {};
        std::wstring name = L"(no object)";
        if (SUCCEEDED(AccessibleObjectFromEvent(window, objectId, childId, &object, &child))) {
            VARIANT self = {};
            self.vt = VT_I4;
            BSTR text = nullptr;
            const HRESULT hr = object->get_accName(self, &text);
            name = hr == S_OK && text ? text : L"(no name)";
            SysFreeString(text);
            VariantClear(&child);
            object->Release();
        }
        following_->heard_.push_back({window, name});
    }

    static inline FocusFollower* following_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
    std::vector<Heard> heard_;
};

TEST(ScreenReader, CallsEveryControlOfTheMainWindowByWhatItIsOnEveryRouteOfTheTabOrder) {
    TempDir temp;
    temp.Make(L"zolv");
    Loader app(temp.path());
    ASSERT_NE(app.main(), nullptr);
    app.SelectComboItem(IDC_RES, L" -d320x240");  // a value apart from the name
    const std::map<int, std::wstring> uncaptioned = {{IDC_DRIVE, L"Drive"},
                                                     {IDC_DIR, L"Directory"},
                                                     {IDC_RES, L"Resolution"},
                                                     {IDC_GAMEDIR, L"Game"}};
    // The lists that drop down from the combo boxes, by the combo box they belong to.
    std::map<HWND, HWND> comboOfList;
    for (int id : {IDC_DRIVE, IDC_RES, IDC_GAMEDIR})
        comboOfList[ListOfCombo(app.Control(id))] = app.Control(id);
    // What each control is called: the name above, else its caption.
    const auto nameOf = [&](HWND control) {
        if (comboOfList.count(control)) control = comboOfList[control];
        if (GetParent(control) != app.main()) control = GetParent(control);  // a combo's field
        const auto named = uncaptioned.find(GetDlgCtrlID(control));
        if (named != uncaptioned.end()) return named->second;
        std::wstring caption = Text(control);
        caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
        return caption;
    };

    // Read inside the program, as oleacc's clients in it read: the four
    // controls, the fields the focus lands in within the lists of choices,
    // and the lists that drop down from the three combo boxes.
    std::vector<HWND> read = {app.Control(IDC_NOSOUND), app.Control(IDC_EXECUTE)};
    for (const auto& [id, name] : uncaptioned) {
        read.push_back(app.Control(id));
        if (HWND field = FindWindowExW(app.Control(id), nullptr, L"Edit", nullptr))
            read.push_back(field);
    }
    for (const auto& [list, combo] : comboOfList) {
        if (list) read.push_back(list);
    }
    ASSERT_EQ(read.size(), 11u) << "the resolution and game lists each have an edit field, and "
                                   "the three combo boxes a list each";
    for (HWND control : read) {
        const ScreenReading reading = ReadLikeAScreenReader(control);
        const std::string which = Narrow(ClassOf(control) + L" " + nameOf(control));
        std::wstring name = reading.handedOut.name;
        // A captioned control hands out Windows' own object, asked for its
        // name in the plain form only: Wine's takes no other.
        if (control == app.Control(IDC_NOSOUND) || control == app.Control(IDC_EXECUTE))
            name = name.substr(0, name.find(L'|'));
        EXPECT_EQ(Narrow(name), Narrow(nameOf(control))) << which;
        EXPECT_EQ(Narrow(reading.comFaults), "") << which;
        // Value, role, state and children: the standard object's, read through the named one.
        ASSERT_FALSE(reading.standard.rest.empty()) << which;
        EXPECT_EQ(Narrow(reading.handedOut.rest), Narrow(reading.standard.rest)) << which;
    }
    // What the resolution shows is what Windows alone would call it: the name comes from us.
    EXPECT_EQ(Narrow(ReadLikeAScreenReader(app.Control(IDC_RES)).standard.name), " -d320x240");

    // From another process, where the focus lands: from "Run the Game!" Tab
    // round every stop in tab order, then Shift+Tab back two.
    FocusFollower follower(app.pid());
    ASSERT_TRUE(follower.hooked());
    EXPECT_EQ(app.Focus(), app.Control(IDC_EXECUTE)) << "the focus starts on Run the Game!";
    const int order[] = {IDC_SAVE,    IDC_DRIVE,   IDC_DIR,      IDC_SKIP, IDC_NOSOUND, IDC_FRAME,
                         IDC_ENABLEV, IDC_SCAN,    IDC_JOYSTICK, IDC_FM,   IDC_ROTATE,  IDC_RES,
                         IDC_GAMEDIR, IDC_EXECUTE, IDC_GAMEDIR,  IDC_RES};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const bool back = i >= std::size(order) - 2;
        follower.Forget();
        app.PressKeys({VK_TAB}, /*shift=*/back);
        const HWND focus = app.Focus();
        const HWND control = GetParent(focus) == app.main() ? focus : GetParent(focus);
        EXPECT_EQ(GetDlgCtrlID(control), order[i])
            << (back ? "Shift+Tab" : "Tab") << " should reach " << order[i];
        const auto heard = follower.HeardUntilFocusIn(focus);
        EXPECT_TRUE(std::any_of(heard.begin(), heard.end(),
                                [&](const auto& event) { return event.window == focus; }))
            << "no focus event for " << Narrow(nameOf(focus));
        for (const auto& [window, name] : heard)
            EXPECT_EQ(Narrow(name), Narrow(nameOf(window))) << Narrow(ClassOf(window));
    }
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
    const ScreenShot shot(label);
    std::map<COLORREF, int> counts;
    for (COLORREF colour : shot.pixels()) ++counts[colour];
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

// A label's pixels by what they are in a scheme: its face colour, its text
// colour, a blend of the two where a font smooths its edges, or another.
struct SchemePixels {
    int face = 0, text = 0, blends = 0, other = 0;
    COLORREF firstOther = CLR_INVALID;
};

// Whether a colour lies the same share of the way from one colour to another
// in each channel, give or take a step of rounding.
bool IsBlend(COLORREF colour, COLORREF from, COLORREF to) {
    const int c[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    const int f[3] = {GetRValue(from), GetGValue(from), GetBValue(from)};
    const int t[3] = {GetRValue(to), GetGValue(to), GetBValue(to)};
    int widest = 0;
    for (int i = 1; i < 3; ++i) {
        if (std::abs(t[i] - f[i]) > std::abs(t[widest] - f[widest])) widest = i;
    }
    if (t[widest] == f[widest]) return false;
    const double share = static_cast<double>(c[widest] - f[widest]) / (t[widest] - f[widest]);
    if (share < 0 || share > 1) return false;
    for (int i = 0; i < 3; ++i) {
        if (std::abs(f[i] + share * (t[i] - f[i]) - c[i]) > 2) return false;
    }
    return true;
}

SchemePixels InSchemeColours(HWND label, COLORREF face, COLORREF text) {
    const ScreenShot shot(label);
    SchemePixels pixels;
    for (COLORREF colour : shot.pixels()) {
        if (colour == face) {
            ++pixels.face;
        } else if (colour == text) {
            ++pixels.text;
        } else if (IsBlend(colour, face, text)) {
            ++pixels.blends;
        } else if (pixels.other++ == 0) {
            pixels.firstOther = colour;
        }
    }
    return pixels;
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
    const HWND about = app.OpenAbout();
    ASSERT_NE(about, nullptr);
    app.PutBeside(about);
    ASSERT_EQ(ScreenPixel(about, 1, 1), black) << "the program is not in the scheme";

    const std::pair<HWND, int> labels[] = {
        {app.Control(IDC_TINDRELDIR), IDC_TINDRELDIR},
        {GetDlgItem(about, IDC_TITLE), IDC_TITLE},
        {GetDlgItem(about, IDC_VERSION), IDC_VERSION},
        {GetDlgItem(about, IDC_DESCRIPTION), IDC_DESCRIPTION},
        {GetDlgItem(about, IDC_DISCLAIMER), IDC_DISCLAIMER},
    };
    // Each check reads the screen once the labels show what it looks for, or
    // after a time: the windows paint when they are next idle.
    const auto allLabels = [&](const std::function<bool(HWND)>& shows) {
        return WaitFor([&] {
            return std::all_of(std::begin(labels), std::end(labels),
                               [&](const auto& label) { return shows(label.first); });
        });
    };

    // In a dark scheme of the user's own: a label's text must stand out.
    allLabels([](HWND label) { return ReadablePixels(label) > 30; });
    for (const auto& [label, id] : labels)
        EXPECT_GT(ReadablePixels(label), 30) << "label " << id << " cannot be read";

    // High contrast turned on, as Windows tells a program (Wine cannot turn
    // it on: the probe answers for it inside the program): every label takes
    // the scheme's text and face colours, and none keeps colours of its own,
    // however well they stand out, as yellow on black would.
    ASSERT_TRUE(TurnHighContrastOn({app.main(), about})) << "the program was not told";
    allLabels([&](HWND label) {
        const SchemePixels pixels = InSchemeColours(label, black, white);
        return pixels.other == 0 && pixels.face > pixels.text && pixels.text > 30;
    });
    for (const auto& [label, id] : labels) {
        const SchemePixels pixels = InSchemeColours(label, black, white);
        EXPECT_EQ(pixels.other, 0) << "label " << id << " keeps a colour of its own, "
                                   << Hex(pixels.firstOther) << ", in high contrast";
        EXPECT_GT(pixels.face, pixels.text) << "label " << id << " is not on the scheme's face";
        EXPECT_GT(pixels.text, 30) << "label " << id << " has no text in the scheme's colour";
    }
}

}  // namespace
}  // namespace zolv::ui
