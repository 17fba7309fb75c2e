#include "about/win32/about_window.h"

#include <array>
#include <iterator>
#include <vector>

#include "platform/win32/newer_windows.h"
#include "platform/win32/ui.h"
#include "program/control_ids.h"
#include "program/identity.h"
#include "program/resource.h"

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
// The labels are drawn here, with DrawWrapped: the static control's own
// wrapping keeps the blanks that overflow a line and starts the next line
// with them, where the texts' runs of blanks are meant to end the line.
constexpr DWORD kLabel = kChild | SS_OWNERDRAW;

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

// Whether a label's text shows whole in a font, wrapped as it is drawn.
bool TextFits(HWND label, HFONT font) {
    RECT box;
    GetClientRect(label, &box);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    const bool fits = WrappedNeed(dc, WindowText(label), box) <= 1.0;
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return fits;
}

constexpr FontRole kTitleFont = {L"Terminal", 1350, true, OEM_CHARSET};
constexpr FontRole kDefaultFont = {L"MS Sans Serif", 800, false, DEFAULT_CHARSET};
// MS Sans Serif comes in no bitmap size below 8 point.
constexpr FontRole kTextFont = {L"MS Sans Serif", 800, false, DEFAULT_CHARSET,
                                L"Microsoft Sans Serif"};
constexpr int kFittedLabels[] = {IDC_TITLE, IDC_VERSION, IDC_DESCRIPTION, IDC_DISCLAIMER};

// Black for the title and the long texts, the system's text colour for the
// version, on the face; where either would not be read, the system's colours.
TextColours LabelColours(int id) {
    const COLORREF ink = id == IDC_VERSION ? GetSysColor(COLOR_WINDOWTEXT) : RGB(0, 0, 0);
    return ReadableColours({ink, GetSysColor(COLOR_BTNFACE)});
}

void ShowLoadFailure() {
    MessageBoxW(nullptr,
                (L"The About window could not be shown: " + SystemReason(GetLastError())).c_str(),
                kTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner, FileSystem& files, Registry& registry,
                         CodePage& codePage, Shell& shell)
    : instance_(instance),
      owner_(owner),
      logic_(*this, {files, registry, codePage, shell, messages_}) {}

AboutWindow::~AboutWindow() { Unload(); }

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
    // The desktop window manager gives a window's visible frame only once it
    // is shown: where that has invisible borders, it moves by them now.
    PlaceBesideOwner();
    SetFocus(GetDlgItem(hwnd_, IDOK));
}

bool AboutWindow::Load() {
    if (!RegisterClassOnce(instance_, kClassName,
                           LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP)))) {
        ShowLoadFailure();
        return false;
    }
    // Made at the system's DPI; laid out at creation for its monitor's.
    dpi_ = SystemDpi();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame = {0, 0, ClientAt(dpi_).cx, ClientAt(dpi_).cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    // Made beside the main window, on its monitor, so that it is laid out
    // for that monitor's DPI; placed again at the size that layout gave it.
    if (!Create(exStyle, kClassName, L"About ZOLV Loader", style, size.cx, size.cy, nullptr,
                instance_, owner_, BesideOrOver(owner_, size))) {
        ShowLoadFailure();
        return false;
    }
    PlaceBesideOwner();
    return true;
}

void AboutWindow::PlaceBesideOwner() {
    RECT made;
    GetWindowRect(hwnd_, &made);
    const POINT at = BesideOrOver(owner_, {made.right - made.left, made.bottom - made.top},
                                  InvisibleBorders(hwnd_));
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutWindow::Unload() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void AboutWindow::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

// The load step sets these texts after the window is laid out: each label
// is fitted again to the text it now shows.
void AboutWindow::SetTitle(const std::wstring& text) {
    SetDlgItemTextW(hwnd_, IDC_TITLE, text.c_str());
    FitLabel(IDC_TITLE);
}

void AboutWindow::SetVersion(const std::wstring& text) {
    SetDlgItemTextW(hwnd_, IDC_VERSION, text.c_str());
    FitLabel(IDC_VERSION);
}

LRESULT AboutWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate();
        case WM_COMMAND:
            return OnCommand(LOWORD(wp), HIWORD(wp));
        case WM_DRAWITEM:
            return OnDrawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        case WM_PAINT:
            return OnPaint();  // the engraved rule
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:  // high contrast, turned on or off
            Repaint(hwnd_);
            break;
        case WM_ACTIVATE:
            return OnActivate(LOWORD(wp) != WA_INACTIVE);
        case kDpiChangedMessage:
            return OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        case kGetDpiScaledSizeMessage:
            return OnGetDpiScaledSize(static_cast<int>(wp), *reinterpret_cast<SIZE*>(lp));
        case WM_NCDESTROY:
            lastFocus_ = nullptr;
            messages_.SetOwner(nullptr);
            DeleteFonts();  // the controls that used them are gone by now
            return 0;
    }
    // The close box and the system menu's Close destroy the window.
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT AboutWindow::OnCreate() {
    icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    messages_.SetOwner(hwnd_);
    for (const ControlLayout& c : kLayout) {
        CreateWindowExW(0, c.kind, c.text, c.style, 0, 0, 0, 0, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
    }
    SendDlgItemMessageW(hwnd_, IDC_PICICON, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
    LayOut(DpiOfWindow(hwnd_), nullptr);
    return 0;
}

void AboutWindow::LayOut(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    // The controls let go of the old fonts as they take the new ones.
    const HFONT old[] = {titleFont_, defaultFont_, buttonFont_};
    buttonFont_ = nullptr;
    titleFont_ = MakeFont(kTitleFont, dpi_);
    defaultFont_ = MakeFont(kDefaultFont, dpi_);
    for (const ControlLayout& c : kLayout) {
        HWND control = GetDlgItem(hwnd_, c.id);
        SetWindowPos(control, nullptr, Pixels(c.left), Pixels(c.top), Pixels(c.width),
                     Pixels(c.height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DesignedFont(c.id)), FALSE);
    }
    for (int id : kFittedLabels) FitLabel(id);
    // The two buttons share a smaller font where a caption would be cut.
    const HWND buttons[] = {GetDlgItem(hwnd_, IDOK), GetDlgItem(hwnd_, IDC_SYSINFO)};
    buttonFont_ = FittedFont(kDefaultFont, dpi_, [&](HFONT font) {
        return FitsOnOneLine(buttons[0], {WindowText(buttons[0])}, font, dpi_) &&
               FitsOnOneLine(buttons[1], {WindowText(buttons[1])}, font, dpi_);
    });
    for (HWND button : buttons)
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_), FALSE);
    for (HFONT font : old) {
        if (font) DeleteObject(font);
    }
    // A window with a dialog frame shows no class icon in its caption: it
    // needs a small icon of its own, of the caption's size at this DPI.
    const int small = SystemMetricForDpi(SM_CXSMICON, dpi_);
    HANDLE smallIcon =
        LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, small, small, LR_SHARED);
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(smallIcon ? smallIcon : icon_));
    SizeFrameToClient(hwnd_, ClientAt(dpi_), dpi_, suggested);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void AboutWindow::DeleteFonts() {
    for (HFONT* font : {&titleFont_, &defaultFont_, &buttonFont_}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
    for (HFONT& font : fittedFonts_) {
        if (font) DeleteObject(font);
        font = nullptr;
    }
}

SIZE AboutWindow::ClientAt(int dpi) {
    return {TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)};
}

LRESULT AboutWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    LayOut(dpi, &suggested);
    return 0;
}

// Windows chooses the monitor, and so the DPI, by the rectangle it suggests:
// it must have the size the window will take there.
LRESULT AboutWindow::OnGetDpiScaledSize(int dpi, SIZE& size) {
    size = FrameAround(hwnd_, ClientAt(dpi), dpi);
    return TRUE;
}

// The labels keep their size, and their texts do not fit every face a system
// offers for the one asked for: the description's last line falls below the
// label even in MS Sans Serif. Where nothing fits, the label keeps the window's.
void AboutWindow::FitLabel(int id) {
    std::size_t index = 0;
    while (index < std::size(kFittedLabels) && kFittedLabels[index] != id) ++index;
    if (index == std::size(kFittedLabels)) return;
    const HWND label = GetDlgItem(hwnd_, id);
    // The label lets go of the font fitted to its last text before it goes.
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(DesignedFont(id)), FALSE);
    HFONT& slot = fittedFonts_[index];
    if (slot) DeleteObject(slot);
    slot = FittedFont(id == IDC_TITLE ? kTitleFont : kTextFont, dpi_,
                      [label](HFONT font) { return TextFits(label, font); });
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(slot), FALSE);
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

LRESULT AboutWindow::OnDrawLabel(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_STATIC) return FALSE;
    HDC dc = item.hDC;
    const int saved = SaveDC(dc);
    const TextColours colours = LabelColours(static_cast<int>(item.CtlID));
    SetDCBrushColor(dc, colours.paper);
    FillRect(dc, &item.rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    if (font) SelectObject(dc, font);
    SetTextColor(dc, colours.ink);
    SetBkMode(dc, TRANSPARENT);
    DrawWrapped(dc, WindowText(item.hwndItem), item.rcItem);
    RestoreDC(dc, saved);
    return TRUE;
}

LRESULT AboutWindow::OnActivate(bool active) {
    // Like a dialog: the focus comes back to the button that had it, where
    // the system would give it to the window itself and leave no button
    // focused.
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    } else {
        SetFocus(lastFocus_ && IsChild(hwnd_, lastFocus_) ? lastFocus_ : GetDlgItem(hwnd_, IDOK));
    }
    return 0;
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
