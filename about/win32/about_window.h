// The About window: modeless, owned by the main window, so that it stays
// above it, is minimised and restored with it and has no taskbar button of
// its own; an owned window is not disabled by its owner, so both take input.
// Made when "&About" first asks for it, beside the main window where the
// screen has room, else over it, and destroyed by "OK", Esc or its close
// box. It hands the three handled events to frmAbout.
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

    // Makes the window visible, loading it first when it is not open.
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
    LRESULT OnPaint();
    LRESULT OnDrawLabel(const DRAWITEMSTRUCT& item);
    // Beside the main window by both visible frames (BesideOrOver).
    void PlaceBesideOwner();

    HWND owner_;
    HICON icon_ = nullptr;
    frmAbout logic_;
};

}  // namespace zolv
