// The About window: modeless and owned by the main window, so that it stays
// above it, goes with it when minimised and has no taskbar button; both take
// input. Destroyed by "OK", Esc or its close box.
#pragma once

#include <windows.h>

#include "about/about.h"
#include "platform/win32/form.h"
#include "platform/win32/win32_platform.h"

namespace zolv {

class AboutWindow : public Form, public AboutView {
public:
    AboutWindow(HINSTANCE instance, HWND owner, FileSystem& files, Registry& registry,
                CodePage& codePage, Shell& shell);
    ~AboutWindow() override { Unload(); }

    // Loads the window where it is not open, and shows it.
    void Show();

    void SetCaption(const std::wstring& text) override;
    void SetTitle(const std::wstring& text) override;
    void SetVersion(const std::wstring& text) override;
    void Unload() override;

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void ControlsMade() override;
    void LaidOut() override;
    LRESULT OnCommand(int id, int code);
    void Paint(HDC dc) override;
    LRESULT OnDrawLabel(const DRAWITEMSTRUCT& item);
    void PlaceBesideOwner();

    HWND owner_;
    HICON icon_ = nullptr;
    frmAbout logic_;
};

}  // namespace zolv
