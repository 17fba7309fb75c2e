#include "about/win32/about_window.h"

#include <array>

#include "app/control_ids.h"
#include "app/identity.h"
#include "app/resource.h"
#include "platform/win32/ui.h"

namespace zolv {

namespace {

constexpr const wchar_t* kClassName = L"ZOLVLoaderAbout";
constexpr int kClientWidth = 3495;  // twips
constexpr int kClientHeight = 3375;

struct ControlLayout {
    int id;
    const wchar_t* kind;
    const wchar_t* text;
    DWORD style;
    int left, top, width, height;  // twips
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOPREFIX;

// In tab order, which is also the order the controls are made in. The
// caption, title and version are set again by the load step.
const std::array<ControlLayout, 7> kLayout = {{
    {IDOK, L"BUTTON", L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 120, 3000, 1260, 345},
    {IDC_PICICON, L"STATIC", L"", kChild | SS_ICON | SS_CENTERIMAGE, 0, 0, 540, 540},
    {IDC_SYSINFO, L"BUTTON", L"&System Info...", kChild | WS_TABSTOP | BS_PUSHBUTTON, 2160, 3000,
     1245, 345},
    {IDC_DESCRIPTION, L"STATIC", kAboutDescription, kLabel, 360, 840, 3045, 1050},
    {IDC_DISCLAIMER, L"STATIC", kAboutDisclaimer, kLabel, 120, 2040, 3255, 825},
    {IDC_TITLE, L"STATIC", L"ZOLV Loader", kLabel, 600, 120, 1965, 480},
    {IDC_VERSION, L"STATIC", L"Version BETA 0.5", kLabel, 600, 600, 1365, 225},
}};

void ShowLoadFailure() {
    MessageBoxW(nullptr,
                (L"The About window could not be shown: " + SystemReason(GetLastError())).c_str(),
                kTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, FileSystem& files, Registry& registry,
                         CodePage& codePage, Shell& shell)
    : instance_(instance), logic_(*this, {files, registry, codePage, shell, messages_}) {}

AboutWindow::~AboutWindow() {
    Unload();
    if (titleFont_) DeleteObject(titleFont_);
    if (defaultFont_) DeleteObject(defaultFont_);
}

void AboutWindow::Show() {
    if (hwnd_) {
        // Already open: the one About window comes to the front, unchanged.
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        return;
    }
    if (!Load()) return;
    logic_.Form_Load();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetFocus(GetDlgItem(hwnd_, IDOK));
}

bool AboutWindow::Load() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance_, kClassName, &wc)) {
        wc.lpfnWndProc = WndProc;
        wc.hInstance = instance_;
        wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc)) {
            ShowLoadFailure();
            return false;
        }
    }
    dpi_ = SystemDpi();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame = {0, 0, Pixels(kClientWidth), Pixels(kClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    // No owner: the two windows take input side by side.
    CreateWindowExW(exStyle, kClassName, L"About ZOLV Loader", style, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance_,
                    this);
    if (!hwnd_) {
        ShowLoadFailure();
        return false;
    }
    return true;
}

void AboutWindow::Unload() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void AboutWindow::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

void AboutWindow::SetTitle(const std::wstring& text) {
    SetDlgItemTextW(hwnd_, IDC_TITLE, text.c_str());
}

void AboutWindow::SetVersion(const std::wstring& text) {
    SetDlgItemTextW(hwnd_, IDC_VERSION, text.c_str());
}

LRESULT CALLBACK AboutWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<AboutWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->HandleMessage(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT AboutWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate();
        case WM_COMMAND:
            return OnCommand(LOWORD(wp), HIWORD(wp));
        case WM_CTLCOLORSTATIC:
            return OnLabelColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_PAINT:
            return OnPaint();  // the engraved rule
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            return 0;
    }
    // The close box and the system menu's Close destroy the window.
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT AboutWindow::OnCreate() {
    if (!titleFont_) titleFont_ = MakeFont(L"Terminal", 1350, true, OEM_CHARSET, dpi_);
    if (!defaultFont_) defaultFont_ = MakeFont(L"MS Sans Serif", 800, false, DEFAULT_CHARSET, dpi_);
    icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
    messages_.SetOwner(hwnd_);
    for (const ControlLayout& c : kLayout) {
        HWND control = CreateWindowExW(0, c.kind, c.text, c.style, Pixels(c.left), Pixels(c.top),
                                       Pixels(c.width), Pixels(c.height), hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       instance_, nullptr);
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(c.id == IDC_TITLE ? titleFont_ : defaultFont_),
                     FALSE);
    }
    SendDlgItemMessageW(hwnd_, IDC_PICICON, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
    return 0;
}

LRESULT AboutWindow::OnCommand(int id, int code) {
    if (id == IDC_SYSINFO && code == BN_CLICKED) {
        logic_.cmdSysInfo_Click();
    } else if (id == IDOK || id == IDCANCEL) {
        // "OK" is the default and the cancel button: Enter and Esc reach it,
        // except that Enter on "System Info..." presses that button.
        if (id == IDOK && GetFocus() == GetDlgItem(hwnd_, IDC_SYSINFO)) {
            logic_.cmdSysInfo_Click();
        } else {
            logic_.cmdOK_Click();
        }
    }
    return 0;
}

LRESULT AboutWindow::OnLabelColour(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    LRESULT brush = DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(control));
    if (id == IDC_DESCRIPTION || id == IDC_DISCLAIMER || id == IDC_TITLE)
        SetTextColor(dc, RGB(0, 0, 0));
    return brush;
}

LRESULT AboutWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    // Two lines at one height make the engraved rule: white, two pixels,
    // under grey, one pixel.
    const int y = Pixels(1920);
    HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HPEN grey = CreatePen(PS_INSIDEFRAME, 1, RGB(128, 128, 128));
    HGDIOBJ old = SelectObject(dc, white);
    for (int dy = 0; dy < 2; ++dy) {
        MoveToEx(dc, Pixels(105), y + dy, nullptr);
        LineTo(dc, Pixels(3480) + 1, y + dy);
    }
    SelectObject(dc, grey);
    MoveToEx(dc, Pixels(120), y, nullptr);
    LineTo(dc, Pixels(3480) + 1, y);
    SelectObject(dc, old);
    DeleteObject(white);
    DeleteObject(grey);
    EndPaint(hwnd_, &paint);
    return 0;
}

}  // namespace zolv
