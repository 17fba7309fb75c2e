#include "launcher/win32/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <vector>

#include "about/win32/about_window.h"
#include "launcher/win32/main_layout.h"
#include "platform/win32/ui.h"
#include "program/control_ids.h"
#include "program/identity.h"
#include "program/resource.h"

namespace zolv {

namespace {

constexpr const wchar_t* kClassName = L"ZOLVLoaderMain";

void ShowStartFailure(const wchar_t* what) {
    MessageBoxW(nullptr, (std::wstring(what) + L": " + SystemReason(GetLastError())).c_str(),
                kTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

// --- views ---------------------------------------------------------------------------------------

void Win32Combo::AddItem(const std::wstring& text) {
    SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32Combo::SetText(const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }

std::wstring Win32Combo::Text() { return WindowText(hwnd); }

int Win32Check::Value() { return static_cast<int>(SendMessageW(hwnd, BM_GETCHECK, 0, 0)); }

void Win32DriveList::Fill() { FillDriveLetters(hwnd); }

std::wstring Win32DriveList::Drive() {
    const LRESULT index = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) throw PlatformError(L"No drive is chosen in the drive list");
    const LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, index, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// --- window --------------------------------------------------------------------------------------

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      logic_({cboGameDir_, cboRes_, drvDrive_, dirDir_, chkNoSound_, chkEnableV_, chkFrame_,
              chkScan_, chkSkip_, chkRotate_, chkFM_, chkJoyStick_},
             {files_, codePage_, shell_, sound_, messages_, *this}) {}

MainWindow::~MainWindow() {
    // A quit that did not come through the shutdown leaves the window up:
    // it goes first, while the object its procedure points at is whole.
    if (hwnd_) DestroyWindow(hwnd_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(systemFont_), static_cast<HGDIOBJ>(labelFont_),
                           static_cast<HGDIOBJ>(buttonFont_), static_cast<HGDIOBJ>(defaultFont_),
                           static_cast<HGDIOBJ>(labelBrush_)}) {
        if (object) DeleteObject(object);
    }
}

bool MainWindow::Start(int show) {
    if (!RegisterClassOnce(instance_, kClassName,
                           LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP)))) {
        ShowStartFailure(L"The main window's class could not be registered");
        return false;
    }

    dpi_ = SystemDpi();

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HMENU menu = BuildMainMenu();
    RECT frame = {0, 0, Pixels(kMainClientWidth), Pixels(kMainClientHeight)};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    if (!Create(0, kClassName, kTitle, style, frame.right - frame.left, frame.bottom - frame.top,
                menu, instance_)) {
        DestroyMenu(menu);
        ShowStartFailure(L"The main window could not be created");
        return false;
    }
    // A menu bar that wraps, or a frame of another size, would shrink the client area.
    RECT client;
    GetClientRect(hwnd_, &client);
    const int dw = Pixels(kMainClientWidth) - client.right,
              dh = Pixels(kMainClientHeight) - client.bottom;
    if (dw || dh) {
        GetWindowRect(hwnd_, &frame);
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + dw,
                     frame.bottom - frame.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    logic_.Form_Load();
    ShowWindow(hwnd_, show);
    SetFocus(Control(IDC_EXECUTE));
    return true;
}

bool MainWindow::TranslateDialogKeys(MSG* msg) {
    if (about_ && about_->hwnd() && IsDialogMessageW(about_->hwnd(), msg)) return true;
    return hwnd_ && IsDialogMessageW(hwnd_, msg);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate();
        case WM_COMMAND:
            return OnCommand(LOWORD(wp), HIWORD(wp));
        case WM_CTLCOLORSTATIC:
            return OnLabelColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_MEASUREITEM:
            dirDir_.Measure(reinterpret_cast<MEASUREITEMSTRUCT*>(lp), defaultFont_);
            return TRUE;
        case WM_DRAWITEM:
            dirDir_.Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_PAINT:
            return OnPaint();  // the lines beneath the controls
        case WM_ACTIVATE:
            return OnActivate(LOWORD(wp) != WA_INACTIVE);
        case WM_CLOSE:
            return OnClose();  // every route out runs the one shutdown sequence
        case WM_NCDESTROY:
            lastFocus_ = nullptr;
            messages_.SetOwner(nullptr);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT MainWindow::OnCreate() {
    systemFont_ = MakeFont(kSystemFont, dpi_);
    labelFont_ = MakeFont(kLabelFont, dpi_);
    buttonFont_ = MakeFont(kButtonFont, dpi_);
    defaultFont_ = MakeFont(kDefaultFont, dpi_);
    labelBrush_ = CreateSolidBrush(RGB(0, 0, 0));
    messages_.SetOwner(hwnd_);
    CreateControls();
    return 0;
}

void MainWindow::CreateControls() {
    for (const ControlLayout& c : kMainLayout) {
        const HFONT font = c.font == Font::System   ? systemFont_
                           : c.font == Font::Label  ? labelFont_
                           : c.font == Font::Button ? buttonFont_
                                                    : defaultFont_;
        CreateLayoutControl(c, c.style, hwnd_, instance_, dpi_, font);
    }
    FitCaptions();

    cboGameDir_.hwnd = Control(IDC_GAMEDIR);
    cboRes_.hwnd = Control(IDC_RES);
    drvDrive_.hwnd = Control(IDC_DRIVE);
    chkNoSound_.hwnd = Control(IDC_NOSOUND);
    chkEnableV_.hwnd = Control(IDC_ENABLEV);
    chkFrame_.hwnd = Control(IDC_FRAME);
    chkScan_.hwnd = Control(IDC_SCAN);
    chkSkip_.hwnd = Control(IDC_SKIP);
    chkRotate_.hwnd = Control(IDC_ROTATE);
    chkFM_.hwnd = Control(IDC_FM);
    chkJoyStick_.hwnd = Control(IDC_JOYSTICK);

    // Both lists start where the program was started; neither changes the
    // process's current directory.
    drvDrive_.Fill();
    dirDir_.Attach(Control(IDC_DIR));
    try {
        dirDir_.SetPath(files_.CurrentDirectory());
    } catch (const PlatformError&) {
        // Started in a place that cannot be listed: the list stays empty
        // until the user picks a drive.
    }
}

// The captions keep the places the layout gives them. Where a font grows
// faster than the layout with the DPI, the check boxes, the buttons or the
// label share a smaller one instead of showing a cut caption.
void MainWindow::FitCaptions() {
    const struct {
        Font font;
        const FontRequest& request;
        HFONT& slot;
    } groups[] = {{Font::System, kSystemFont, systemFont_},
                  {Font::Label, kLabelFont, labelFont_},
                  {Font::Button, kButtonFont, buttonFont_}};
    for (const auto& group : groups) {
        std::vector<HWND> controls;
        for (const ControlLayout& c : kMainLayout) {
            if (c.font == group.font) controls.push_back(Control(c.id));
        }
        const FontRequest& request = group.request;
        HFONT smaller = SmallerFontToFit(controls, request.face, request.hundredthsOfPoint,
                                         request.bold, request.charset, dpi_);
        if (!smaller) continue;
        for (HWND control : controls)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(smaller), FALSE);
        DeleteObject(group.slot);
        group.slot = smaller;
    }
}

LRESULT MainWindow::OnCommand(int id, int code) {
    if (id == IDC_SAVE && code == BN_CLICKED)
        logic_.cmdSave_Click();
    else if (id == IDC_EXECUTE && code == BN_CLICKED)
        logic_.cmdExecute_Click();
    else if (id == IDC_DRIVE && code == CBN_SELCHANGE)
        logic_.drvDrive_Change();
    else if (id == IDM_END && code == 0)
        logic_.mnuEnd_Click();
    else if (id == IDM_ABOUT && code == 0)
        logic_.mnuAbout_Click();
    else if (id == IDOK) {
        // Enter presses the focused button, as in any dialog; there is no default button.
        HWND focus = GetFocus();
        if (focus && GetParent(focus) == hwnd_ &&
            (GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON &&
            (GetDlgCtrlID(focus) == IDC_SAVE || GetDlgCtrlID(focus) == IDC_EXECUTE)) {
            SendMessageW(focus, BM_CLICK, 0, 0);
        }
    }
    return 0;
}

LRESULT MainWindow::OnLabelColour(HDC dc, HWND control) {
    if (control != Control(IDC_TINDRELDIR))
        return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    SetTextColor(dc, RGB(255, 255, 0));
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, OPAQUE);
    return reinterpret_cast<LRESULT>(labelBrush_);
}

LRESULT MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    DrawMainLines(dc, dpi_);
    SelectObject(dc, old);
    DeleteObject(pen);
    EndPaint(hwnd_, &paint);
    return 0;
}

LRESULT MainWindow::OnActivate(bool active) {
    // Like a dialog: the focus comes back to the control that had it.
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    } else if (lastFocus_ && IsChild(hwnd_, lastFocus_)) {  // a handle may have been reused
        SetFocus(lastFocus_);
    }
    return 0;
}

LRESULT MainWindow::OnClose() {
    if (unloading_) return 0;
    unloading_ = true;
    bool cancel = false;
    logic_.Form_Unload(cancel);
    DestroyWindow(hwnd_);
    return 0;
}

// --- window commands -----------------------------------------------------------------------------

void MainWindow::ShowAbout() {
    if (!about_)
        about_ = std::make_unique<AboutWindow>(instance_, files_, registry_, codePage_, shell_);
    about_->Show();
}

void MainWindow::UnloadMain() {
    // Inside the shutdown the main window is already closing: nothing more to do.
    if (!unloading_ && hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void MainWindow::UnloadAbout() {
    if (about_) about_->Unload();
}

void MainWindow::EndProgram() {
    if (ended_) return;
    ended_ = true;
    PostQuitMessage(0);
}

}  // namespace zolv
