// The main window: creates its controls from the layout table and hands each
// handled event to frmTindrel. It makes no decision of its own.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "launcher/launcher.h"
#include "launcher/win32/dir_list_box.h"
#include "launcher/win32/main_layout.h"
#include "platform/win32/screen_reader_name.h"
#include "platform/win32/ui.h"
#include "platform/win32/win32_platform.h"
#include "program/identity.h"

namespace zolv {

class AboutWindow;

class Win32Combo : public ComboView {
public:
    HWND hwnd = nullptr;
    void AddItem(const std::wstring& text) override;
    void SetText(const std::wstring& text) override;
    std::wstring Text() override;
};

class Win32Check : public CheckView {
public:
    HWND hwnd = nullptr;
    int Value() override;
};

class Win32DriveList : public DriveListView {
public:
    HWND hwnd = nullptr;
    void Fill();  // the machine's drives, the current one selected
    std::wstring Drive() override;
};

class MainWindow : public BoundWindow, public WindowCommands {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;

    // Creates the window and its controls, runs the load step and shows the
    // window with the focus on "Run the Game!". False, with a message already
    // shown, when Windows refuses.
    bool Start(int show);
    // The dialog keys (Tab, Shift+Tab, Space, Enter, Esc, access keys) of both windows.
    bool TranslateDialogKeys(MSG* msg);

    void ShowAbout() override;
    void UnloadMain() override;
    void UnloadAbout() override;
    void EndProgram() override;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT OnCreate();
    LRESULT OnCommand(int id, int code);
    LRESULT OnLabelColour(HDC dc, HWND control);
    LRESULT OnPaint();
    LRESULT OnClose();
    LRESULT OnActivate(bool active);
    LRESULT OnDpiChanged(int dpi, const RECT& suggested);
    LRESULT OnGetDpiScaledSize(int dpi, SIZE& size);

    void CreateControls();
    // Lays the window out from its twips table at a DPI: fonts, controls,
    // the list's items, the lines and the client area; at creation, and
    // again whenever the window moves to a monitor of another DPI. With a
    // suggested rectangle the window moves to its top left.
    void LayOut(int dpi, const RECT* suggested);
    // The client area at a DPI, as LayOut sizes it: also the size the window
    // answers with when Windows asks before a move to that DPI.
    static SIZE ClientAt(int dpi) {
        return {TwipsToPixels(kMainClientWidth, dpi), TwipsToPixels(kMainClientHeight, dpi)};
    }
    void FitCaptions();
    void PlaceChoices();
    static bool IsChoiceList(int id) { return id == IDC_RES || id == IDC_GAMEDIR; }
    HFONT& FontSlot(Font font);
    // Kept from creation: under Wine GetDlgItem asks the server every time
    // (some 0.1 ms), and laying the window out asks for each control often.
    HWND Control(int id) const;
    int Pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }  // layout is in twips

    HINSTANCE instance_;
    int dpi_ = 96;
    HFONT fonts_[4] = {};  // by Font: made for dpi_, or a smaller one of the same where it fits
    std::array<HWND, kMainLayout.size()> controls_ = {};  // by place in kMainLayout
    HFONT choiceFont_ = nullptr;  // the lists of choices', where their texts need a smaller one
    HWND lastFocus_ = nullptr;
    bool unloading_ = false;
    bool ended_ = false;

    Win32FileSystem files_;
    Win32CodePage codePage_;
    Win32Shell shell_;
    Win32Sound sound_;
    Win32Messages messages_{kTitle};
    Win32Registry registry_;

    Win32Combo cboGameDir_, cboRes_;
    Win32DriveList drvDrive_;
    DirListBox dirDir_{files_, sound_, messages_};
    // The combo boxes and their parts, each named as its combo box.
    std::vector<std::unique_ptr<NamedControl>> named_;
    Win32Check chkNoSound_, chkEnableV_, chkFrame_, chkScan_, chkSkip_, chkRotate_, chkFM_,
        chkJoyStick_;
    frmTindrel logic_;
    std::unique_ptr<AboutWindow> about_;  // made on first use
};

}  // namespace zolv
