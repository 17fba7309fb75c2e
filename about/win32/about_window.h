// The About window: modeless and owned by the main window, so that it stays above it, goes
// with it when minimised and has no taskbar button. Destroyed by "OK", Esc or its close box.
#pragma once

#include "about/about.h"
#include "platform/win32/form.h"
#include "program/control_ids.h"

namespace zolv {

class AboutWindow : public Form, public AboutView {
public:
    AboutWindow(HINSTANCE instance, HWND owner, FileSystem& files, Registry& registry,
                CodePage& codePage, Shell& shell);
    ~AboutWindow() override { Destroy(); }

    // Loads the window where it is not open, and shows it.
    void Show();

    void SetCaption(const std::wstring& text) override { SetWindowTextW(hwnd_, text.c_str()); }
    void SetTitle(const std::wstring& text) override { SetControlText(IDC_TITLE, text); }
    void SetVersion(const std::wstring& text) override { SetControlText(IDC_VERSION, text); }
    void Unload() override { Destroy(); }

private:
    void ControlsMade() override;
    void LaidOut() override;
    void OnCommand(int id, int code) override;
    void Paint(HDC dc) override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    void PlaceBesideOwner();

    HWND owner_;
    HICON icon_ = nullptr;
    frmAbout logic_;
};

}  // namespace zolv
