// Every caption whole at 144 DPI, where the fonts do not grow in step with the
// layout. Runs in a prefix of its own set to 144 DPI (the ui_dpi144 test).
#include <gtest/gtest.h>

#include "platform/win32/ui.h"
#include "program/control_ids.h"
#include "tests/ui/driver.h"

namespace zolv::ui {
namespace {

constexpr int kDpi = 144;

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

// A DC of this process with the control's font in it.
class FontOf {
public:
    explicit FontOf(HWND control) : dc_(CreateCompatibleDC(nullptr)) {
        const LOGFONTW face = FontOfControl(control);
        if (face.lfHeight) font_ = CreateFontIndirectW(&face);
        old_ = SelectObject(dc_, font_ ? font_ : GetStockObject(SYSTEM_FONT));
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

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
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
        return client.right - (MulDiv(12, kDpi, 96) + 1) - font.Width(L"0") / 2;
    return client.right - 4 * GetSystemMetrics(SM_CXEDGE);
}

void ExpectOneLineFits(HWND control) {
    const FontOf font(control);
    ASSERT_TRUE(font.valid()) << "no font in control " << GetDlgCtrlID(control);
    const std::wstring text = WithoutPrefix(Text(control));
    EXPECT_LE(font.Width(text), Room(control, font))
        << "\"" << std::string(text.begin(), text.end()) << "\" is cut";
}

// A wrapped label: all of it shows, wrapped as the About window draws it.
void ExpectWrappedFits(HWND label) {
    const FontOf font(label);
    ASSERT_TRUE(font.valid());
    RECT box;
    GetClientRect(label, &box);
    EXPECT_TRUE(WrappedFits(font.dc(), Text(label), box))
        << "label " << GetDlgCtrlID(label) << " is cut";
}

// The selection field of a combo box: every item fits it, as any may be chosen.
void ExpectComboFits(HWND combo) {
    const FontOf font(combo);
    ASSERT_TRUE(font.valid());
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

TEST(At144Dpi, EveryCaptionOfBothWindowsIsWhole) {
    ASSERT_EQ(ScreenDpi(), kDpi) << "this test runs in a prefix set to " << kDpi << " DPI";
    TempDir temp;
    Loader app{temp.path()};
    ASSERT_NE(app.main(), nullptr);
    for (int id : {IDC_SCAN, IDC_ENABLEV, IDC_FRAME, IDC_NOSOUND, IDC_SKIP, IDC_JOYSTICK, IDC_FM,
                   IDC_ROTATE, IDC_SAVE, IDC_EXECUTE, IDC_TINDRELDIR}) {
        ExpectOneLineFits(app.Control(id));
    }
    for (int id : {IDC_DRIVE, IDC_RES, IDC_GAMEDIR}) ExpectComboFits(app.Control(id));

    PostMessageW(app.main(), WM_COMMAND, IDM_ABOUT, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (about = app.FindWindowByCaption(L"About ZOLV Loader")); }));
    app.Idle();
    for (int id : {IDOK, IDC_SYSINFO, IDC_TITLE, IDC_VERSION}) {
        ExpectOneLineFits(GetDlgItem(about, id));
    }
    for (int id : {IDC_DESCRIPTION, IDC_DISCLAIMER}) ExpectWrappedFits(GetDlgItem(about, id));
}

}  // namespace
}  // namespace zolv::ui
