#include "about/win32/about_window.h"

#include "platform/win32/newer_windows.h"
#include "program/resource.h"

namespace zolv {

namespace {

enum AboutFont { kTitleRole, kVersionRole, kDescriptionRole, kDisclaimerRole, kButtonRole };

constexpr FontRole kTitleFont = {L"Terminal", 1350, true, OEM_CHARSET};
// MS Sans Serif comes in no bitmap size below 8 point.
constexpr FontRole kTextFont = {L"MS Sans Serif", 800, false, DEFAULT_CHARSET,
                                L"Microsoft Sans Serif"};
constexpr FontRole kButtonFont = {L"MS Sans Serif", 800, false, DEFAULT_CHARSET};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
// Drawn with DrawWrapped: a static control's own wrapping starts the next line
// with the blanks that overflow one, where the texts' runs of blanks end it.
constexpr DWORD kLabel = kChild | SS_OWNERDRAW;

// The caption, title and version are set again by the load step.
const FormDesign kAboutForm = {
    L"ZOLVLoaderAbout",
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
    WS_EX_DLGMODALFRAME,
    {3495, 3375},
    {
        {IDOK, L"BUTTON", L"OK", kPush | BS_DEFPUSHBUTTON, 120, 3000, 1260, 345, kButtonRole},
        {IDC_PICICON, L"STATIC", L"", kChild | SS_ICON | SS_CENTERIMAGE, 0, 0, 540, 540,
         kButtonRole},
        {IDC_SYSINFO, L"BUTTON", L"&System Info...", kPush, 2160, 3000, 1245, 345, kButtonRole},
        {IDC_DESCRIPTION, L"STATIC", kAboutDescription, kLabel, 360, 840, 3045, 1050,
         kDescriptionRole},
        {IDC_DISCLAIMER, L"STATIC", kAboutDisclaimer, kLabel, 120, 2040, 3255, 825,
         kDisclaimerRole},
        {IDC_TITLE, L"STATIC", L"ZOLV Loader", kLabel, 600, 120, 1965, 480, kTitleRole},
        {IDC_VERSION, L"STATIC", L"Version BETA 0.5", kLabel, 600, 600, 1365, 225, kVersionRole},
    },
    {kTitleFont, kTextFont, kTextFont, kTextFont, kButtonFont},
    IDOK,
};

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner, FileSystem& files, Registry& registry,
                         CodePage& codePage, Shell& shell)
    : Form(instance, kAboutForm),
      owner_(owner),
      logic_(*this, {files, registry, codePage, shell, messages_}) {}

void AboutWindow::Show() {
    if (hwnd_) {  // the one About window comes to the front, unchanged
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        return;
    }
    // Made beside the main window, so that it is laid out for that monitor's DPI.
    const wchar_t* failure = L"The About window could not be shown";
    if (!Open(L"About ZOLV Loader", nullptr, owner_, BesideOrOver(owner_, OpeningSize(false)),
              failure, failure))
        return;
    PlaceBesideOwner();
    logic_.Form_Load();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    // The desktop window manager gives the visible frame only once it is shown.
    PlaceBesideOwner();
    SetFocus(GetDlgItem(hwnd_, IDOK));
}

void AboutWindow::PlaceBesideOwner() {
    RECT made;
    GetWindowRect(hwnd_, &made);
    const POINT at = BesideOrOver(owner_, {made.right - made.left, made.bottom - made.top}, hwnd_);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutWindow::ControlsMade() {
    icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendDlgItemMessageW(hwnd_, IDC_PICICON, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
}

// A dialog frame shows no class icon in its caption: a small one of its own, for this DPI.
void AboutWindow::LaidOut() {
    const int small = SystemMetricForDpi(SM_CXSMICON, dpi());
    HANDLE smallIcon =
        LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, small, small, LR_SHARED);
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(smallIcon ? smallIcon : icon_));
}

void AboutWindow::OnCommand(int id, int code) {
    // Enter and Esc reach "OK", but Enter on "System Info..." presses that.
    if ((id == IDC_SYSINFO && code == BN_CLICKED) ||
        (id == IDOK && GetFocus() == Control(IDC_SYSINFO))) {
        logic_.cmdSysInfo_Click();
    } else if (id == IDOK || id == IDCANCEL) {
        logic_.cmdOK_Click();
    }
}

bool AboutWindow::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_STATIC) return false;
    HDC dc = item.hDC;
    const int saved = SaveDC(dc);
    const COLORREF ink = item.CtlID == IDC_VERSION ? GetSysColor(COLOR_WINDOWTEXT) : RGB(0, 0, 0);
    const TextColours colours = ReadableColours({ink, GetSysColor(COLOR_BTNFACE)});
    SetDCBrushColor(dc, colours.paper);
    FillRect(dc, &item.rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    if (font) SelectObject(dc, font);
    SetTextColor(dc, colours.ink);
    SetBkMode(dc, TRANSPARENT);
    DrawWrapped(dc, WindowText(item.hwndItem), item.rcItem);
    RestoreDC(dc, saved);
    return true;
}

// The engraved rule: white, two pixels, under grey, one pixel.
void AboutWindow::Paint(HDC dc) {
    const struct {
        COLORREF colour;
        int left, down;
    } rows[] = {
        {RGB(255, 255, 255), 105, 0}, {RGB(255, 255, 255), 105, 1}, {RGB(128, 128, 128), 120, 0}};
    HGDIOBJ old = SelectObject(dc, GetStockObject(DC_PEN));
    for (const auto& row : rows) {
        SetDCPenColor(dc, row.colour);
        MoveToEx(dc, Pixels(row.left), Pixels(1920) + row.down, nullptr);
        LineTo(dc, Pixels(3480) + 1, Pixels(1920) + row.down);
    }
    SelectObject(dc, old);
}

}  // namespace zolv
