#include "launcher/win32/main_window.h"

#include "about/win32/about_window.h"

namespace zolv {

MainWindow::MainWindow(HINSTANCE instance)
    : Form(instance, kMainForm),
      logic_({cboGameDir_, cboRes_, drvDrive_, dirDir_, chkNoSound_, chkEnableV_, chkFrame_,
              chkScan_, chkSkip_, chkRotate_, chkFM_, chkJoyStick_},
             {files_, codePage_, shell_, sound_, messages_, *this}) {}

MainWindow::~MainWindow() { Destroy(); }

bool MainWindow::Start(int show) {
    if (!Open(kTitle, BuildMainMenu(), nullptr, {CW_USEDEFAULT, CW_USEDEFAULT},
              L"The main window's class could not be registered",
              L"The main window could not be created"))
        return false;
    for (int id : {IDC_RES, IDC_GAMEDIR}) SendMessageW(Control(id), WM_SETREDRAW, FALSE, 0);
    logic_.Form_Load();
    for (int id : {IDC_RES, IDC_GAMEDIR}) SendMessageW(Control(id), WM_SETREDRAW, TRUE, 0);
    ShowWindow(hwnd_, show);
    SetFocus(Control(IDC_EXECUTE));
    return true;
}

bool MainWindow::TranslateDialogKeys(MSG* msg) {
    if (about_ && about_->hwnd() && IsDialogMessageW(about_->hwnd(), msg)) return true;
    return hwnd_ && IsDialogMessageW(hwnd_, msg);
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            FillDriveLetters(drvDrive_.hwnd);
            try {
                dirDir_.SetPath(files_.CurrentDirectory());
            } catch (const PlatformError&) {
                // A start directory that cannot be listed leaves the list empty.
            }
            return 0;
        case WM_CTLCOLORSTATIC: {
            if (reinterpret_cast<HWND>(lp) != Control(IDC_TINDRELDIR)) break;
            const auto dc = reinterpret_cast<HDC>(wp);
            const TextColours colours = ReadableColours({RGB(255, 255, 0), RGB(0, 0, 0)});
            SetTextColor(dc, colours.ink);
            SetBkColor(dc, colours.paper);
            SetBkMode(dc, OPAQUE);
            SetDCBrushColor(dc, colours.paper);
            return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
        }
        case WM_MEASUREITEM:
            dirDir_.Measure(reinterpret_cast<MEASUREITEMSTRUCT*>(lp), FontOf(kDefaultRole));
            return TRUE;
        case WM_CLOSE:  // every route out runs the one shutdown sequence
            if (unloading_) return 0;
            unloading_ = true;
            bool cancel = false;
            logic_.Form_Unload(cancel);
            DestroyWindow(hwnd_);
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void MainWindow::ControlsMade() {
    // A combo box's edit field, where Tab puts the focus, and its dropped list
    // are named as the combo box: Windows names all three from one label.
    for (const ScreenReaderLabel& label : kScreenReaderNames) {
        HWND control = Control(label.id);
        if (label.id == IDC_DIR) {
            dirDir_.Install(control, label.name);
            continue;
        }
        COMBOBOXINFO parts = {};
        parts.cbSize = sizeof(parts);
        if (!GetComboBoxInfo(control, &parts)) parts = {};
        // A drop-down list has no edit field: its item is the combo box.
        const HWND field = parts.hwndItem != control ? parts.hwndItem : nullptr;
        for (HWND part : {control, field, parts.hwndList})
            if (part) named_.emplace_back().Install(part, label.name);
    }
    const std::pair<HWND*, int> views[] = {
        {&cboGameDir_.hwnd, IDC_GAMEDIR},  {&cboRes_.hwnd, IDC_RES},
        {&drvDrive_.hwnd, IDC_DRIVE},      {&chkNoSound_.hwnd, IDC_NOSOUND},
        {&chkEnableV_.hwnd, IDC_ENABLEV},  {&chkFrame_.hwnd, IDC_FRAME},
        {&chkScan_.hwnd, IDC_SCAN},        {&chkSkip_.hwnd, IDC_SKIP},
        {&chkRotate_.hwnd, IDC_ROTATE},    {&chkFM_.hwnd, IDC_FM},
        {&chkJoyStick_.hwnd, IDC_JOYSTICK}};
    for (const auto& [view, id] : views) *view = Control(id);
}

// The lists of choices fit the program's own texts, before the load step fills them.
std::vector<std::wstring> MainWindow::TextsOf(HWND control) const {
    if (control == cboRes_.hwnd) return {kResolutions.begin(), kResolutions.end()};
    if (control == cboGameDir_.hwnd) return {kGameDirs.begin(), kGameDirs.end()};
    return Form::TextsOf(control);
}

void MainWindow::OnCommand(int id, int code) {
    if (id == IDC_SAVE && code == BN_CLICKED) {
        const WaitCursor busy;
        logic_.cmdSave_Click();
    } else if (id == IDC_EXECUTE && code == BN_CLICKED) {
        logic_.cmdExecute_Click();
    } else if (id == IDC_DRIVE && code == CBN_SELCHANGE) {
        const WaitCursor busy;
        logic_.drvDrive_Change();
    } else if (id == IDM_END && code == 0) {
        logic_.mnuEnd_Click();
    } else if (id == IDM_ABOUT && code == 0) {
        logic_.mnuAbout_Click();
    } else if (id == IDOK) {
        // Enter presses the focused button, as in any dialog; there is no default button.
        HWND focus = GetFocus();
        if (focus && (focus == Control(IDC_SAVE) || focus == Control(IDC_EXECUTE)))
            SendMessageW(focus, BM_CLICK, 0, 0);
    }
}

void MainWindow::ShowAbout() {
    if (!about_)
        about_ =
            std::make_unique<AboutWindow>(instance_, hwnd_, files_, registry_, codePage_, shell_);
    about_->Show();
}

void MainWindow::UnloadAbout() {
    if (about_) about_->Unload();
}

}  // namespace zolv
