// The main window: it hands each handled event to frmTindrel and decides nothing itself.
#pragma once

#include <list>
#include <memory>

#include "launcher/launcher.h"
#include "launcher/win32/dir_list_box.h"
#include "launcher/win32/main_layout.h"
#include "platform/win32/form.h"

namespace zolv {

class AboutWindow;

struct Win32Combo : ComboView {
    HWND hwnd = nullptr;
    void AddItem(const std::wstring& text) override {
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void SetText(const std::wstring& text) override { SetWindowTextW(hwnd, text.c_str()); }
    std::wstring Text() override { return WindowText(hwnd); }
};

struct Win32Check : CheckView {
    HWND hwnd = nullptr;
    int Value() override { return static_cast<int>(SendMessageW(hwnd, BM_GETCHECK, 0, 0)); }
};

struct Win32DriveList : DriveListView {
    HWND hwnd = nullptr;
    // A drop-down list's text is its chosen item's, empty where none is chosen.
    std::wstring Drive() override { return WindowText(hwnd); }
};

class MainWindow : public Form, public WindowCommands {
public:
    explicit MainWindow(HINSTANCE instance);
    // A quit outside the shutdown leaves the window up: it goes while the object is whole.
    ~MainWindow() override;

    // Creates, loads and shows the window; false, with a message shown, where Windows refuses.
    bool Start(int show);
    // The dialog keys (Tab, Shift+Tab, Space, Enter, Esc, access keys) of both windows.
    bool TranslateDialogKeys(MSG* msg);

    void ShowAbout() override;
    void UnloadMain() override {
        if (!unloading_ && hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
    void UnloadAbout() override;
    void EndProgram() override {
        if (!ended_) PostQuitMessage(0);
        ended_ = true;
    }

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void ControlsMade() override;
    void LaidOut() override { dirDir_.SetDpi(dpi(), FontOf(kDefaultRole)); }
    void Paint(HDC dc) override { DrawMainLines(dc, dpi()); }
    std::vector<std::wstring> TextsOf(HWND control) const override;
    void OnCommand(int id, int code) override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override {
        dirDir_.Draw(&item);
        return true;
    }

    bool unloading_ = false, ended_ = false;

    Win32FileSystem files_;
    Win32CodePage codePage_;
    Win32Shell shell_;
    Win32Sound sound_;
    Win32Registry registry_;

    Win32Combo cboGameDir_, cboRes_;
    Win32DriveList drvDrive_;
    DirListBox dirDir_{files_, sound_, messages_};
    std::list<NamedControl> named_;  // the combo boxes and their parts
    Win32Check chkNoSound_, chkEnableV_, chkFrame_, chkScan_, chkSkip_, chkRotate_, chkFM_,
        chkJoyStick_;
    frmTindrel logic_;
    std::unique_ptr<AboutWindow> about_;  // made on first use
};

}  // namespace zolv
