// The texts of both windows at their size and whole at every DPI. The
// At96Dpi suite runs in the ordinary session; AtHighDpi runs in small prefixes
// of their own set to a higher DPI (the ui_dpi144 and ui_dpi192 tests).
#include <gtest/gtest.h>

#include <cmath>

#include "platform/win32/ui.h"
#include "program/control_ids.h"
#include "tests/ui/driver.h"

namespace zolv::ui {
namespace {

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// What the probe in the loader last sent back.
LOGFONTW probeAnswer;
bool probeAnswered;

LRESULT CALLBACK ProbeSink(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_COPYDATA) return DefWindowProcW(hwnd, msg, wp, lp);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    probeAnswered = data->cbData == sizeof(probeAnswer);
    if (probeAnswered) probeAnswer = *static_cast<const LOGFONTW*>(data->lpData);
    return TRUE;
}

// The font a control of the loader draws with, read there by the probe that
// a window hook puts into it.
LOGFONTW FontOfControl(HWND control) {
    static HWND sink = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ProbeSink;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZolvFontSink";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    }();
    static HMODULE probe = [] {
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dll(path, length);
        dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"font_probe.dll";
        return LoadLibraryW(dll.c_str());
    }();
    probeAnswered = false;
    const auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "FontProbe")));
    HHOOK hook = proc ? SetWindowsHookExW(WH_CALLWNDPROC, proc, probe,
                                          GetWindowThreadProcessId(control, nullptr))
                      : nullptr;
    if (hook) {
        SendMessageW(control, RegisterWindowMessageW(L"ZolvFontProbe"),
                     reinterpret_cast<WPARAM>(sink), 0);
        UnhookWindowsHookEx(hook);
    }
    LOGFONTW none = {};
    return probeAnswered ? probeAnswer : none;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

int CALLBACK NoteSize(const LOGFONTW*, const TEXTMETRICW* metrics, DWORD type, LPARAM lp) {
    auto* wanted = reinterpret_cast<LONG*>(lp);
    if ((type & RASTER_FONTTYPE) && metrics->tmHeight == *wanted) *wanted = 0;
    return *wanted != 0;
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
    HDC dc() const { return dc_; }
    std::wstring asked() const { return logical_.lfFaceName; }
    int CharacterHeight() const { return metrics_.tmHeight - metrics_.tmInternalLeading; }
    // A bitmap face at a size it does not have: the system scales it by whole
    // factors, and Wine then spaces its letters apart.
    bool ScaledBitmap() const {
        if (metrics_.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) return false;
        LOGFONTW face = {};
        face.lfCharSet = metrics_.tmCharSet;
        GetTextFaceW(dc_, LF_FACESIZE, face.lfFaceName);
        LONG wanted = metrics_.tmHeight;
        EnumFontFamiliesExW(dc_, &face, NoteSize, reinterpret_cast<LPARAM>(&wanted), 0);
        return wanted != 0;
    }

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
    LOGFONTW logical_ = {};
    TEXTMETRICW metrics_ = {};
};

std::wstring WithoutPrefix(const std::wstring& caption) {
    std::wstring text;
    for (wchar_t c : caption) {
        if (c != L'&') text += c;
    }
    return text;
}

// The width a one-line caption has: a check box's less its box and the gap
// after it, a push button's less its edges.
int Room(HWND control, const FontOf& font) {
    RECT client;
    GetClientRect(control, &client);
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (ClassOf(control) != L"Button") return client.right;
    if (type == BS_AUTOCHECKBOX)
        return client.right - (MulDiv(12, ScreenDpi(), 96) + 1) - font.Width(L"0") / 2;
    return client.right - 4 * GetSystemMetrics(SM_CXEDGE);
}

void ExpectOneLineFits(HWND control, const FontOf& font) {
    const std::wstring text = WithoutPrefix(Text(control));
    EXPECT_LE(font.Width(text), Room(control, font)) << "\"" << Narrow(text) << "\" is cut";
}

// A wrapped label: all of it shows, wrapped as the About window draws it.
void ExpectWrappedFits(HWND label, const FontOf& font) {
    RECT box;
    GetClientRect(label, &box);
    EXPECT_TRUE(WrappedFits(font.dc(), Text(label), box))
        << "label " << GetDlgCtrlID(label) << " is cut";
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
        wchar_t item[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        EXPECT_LE(font.Width(item), room) << "item " << i << " of combo " << GetDlgCtrlID(combo);
    }
}

enum class Fit { OneLine, Wrapped, Combo, List };

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
    {true, IDC_TITLE, Fit::OneLine, L"Terminal", 18},
    {true, IDC_VERSION, Fit::OneLine, L"MS Sans Serif", 11},
    // The description does not fit in MS Sans Serif, which has no size below
    // 8 point: the About window fits it in the outline face at 96 DPI already.
    {true, IDC_DESCRIPTION, Fit::Wrapped, L"Microsoft Sans Serif", 9},
    {true, IDC_DISCLAIMER, Fit::Wrapped, L"MS Sans Serif", 11},
    {true, IDOK, Fit::OneLine, L"MS Sans Serif", 11},
    {true, IDC_SYSINFO, Fit::OneLine, L"MS Sans Serif", 11},
};

// Both windows open, the About window beside the main window.
class BothWindows {
public:
    BothWindows() : app_(temp_.path()) {
        if (!app_.main()) return;
        PostMessageW(app_.main(), WM_COMMAND, IDM_ABOUT, 0);
        WaitFor([&] { return (about_ = app_.FindWindowByCaption(L"About ZOLV Loader")); });
        app_.Idle();
    }
    bool open() const { return about_ != nullptr; }
    HWND Control(const DesignedText& text) const {
        return text.about ? GetDlgItem(about_, text.id) : app_.Control(text.id);
    }

private:
    TempDir temp_;
    Loader app_;
    HWND about_ = nullptr;
};

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
    for (const DesignedText& text : kTexts) {
        const HWND control = windows.Control(text);
        const FontOf font(control);
        ASSERT_TRUE(font.valid()) << "no font in control " << text.id;
        const double size = text.height96 * dpi / 96.0;
        EXPECT_LE(std::abs(font.CharacterHeight() - size), size / 10)
            << "control " << text.id << " in " << Narrow(font.asked()) << ": "
            << font.CharacterHeight() << " pixels high, not " << size;
        EXPECT_FALSE(font.ScaledBitmap()) << "control " << text.id << " in " << Narrow(font.asked())
                                          << " has its letters spaced apart";
        switch (text.fit) {
            case Fit::OneLine:
                ExpectOneLineFits(control, font);
                break;
            case Fit::Wrapped:
                ExpectWrappedFits(control, font);
                break;
            case Fit::Combo:
                ExpectComboFits(control, font);
                break;
            case Fit::List:
                break;
        }
    }
}

}  // namespace
}  // namespace zolv::ui
