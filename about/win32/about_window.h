// The About window: modeless, owned by the main window, so that it stays
// above it, is minimised and restored with it and has no taskbar button of
// its own; an owned window is not disabled by its owner, so both take input.
// Made when "&About" first asks for it, beside the main window where the
// screen has room, else over it, and destroyed by "OK", Esc or its close
// box. It creates its controls and hands the three handled events to frmAbout.
#pragma once

#include <windows.h>

#include "about/about.h"
#include "platform/win32/ui.h"
#include "platform/win32/win32_platform.h"
#include "program/control_ids.h"
#include "program/identity.h"

namespace zolv {

class AboutWindow : public BoundWindow, public AboutView {
public:
    AboutWindow(HINSTANCE instance, HWND owner, FileSystem& files, Registry& registry,
                CodePage& codePage, Shell& shell);
    ~AboutWindow() override;

    // Makes the window visible, loading it first when it is not open.
    void Show();

    void SetCaption(const std::wstring& text) override;
    void SetTitle(const std::wstring& text) override;
    void SetVersion(const std::wstring& text) override;
    void Unload() override;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT OnCreate();
    LRESULT OnCommand(int id, int code);
    LRESULT OnPaint();
    LRESULT OnDrawLabel(const DRAWITEMSTRUCT& item);
    LRESULT OnActivate(bool active);
    LRESULT OnDpiChanged(int dpi, const RECT& suggested);
    LRESULT OnGetDpiScaledSize(int dpi, SIZE& size);
    // Lays the window out from its twips table at a DPI, at creation and
    // whenever it moves to a monitor of another DPI.
    void LayOut(int dpi, const RECT* suggested);
    // The client area at a DPI, as LayOut sizes it: also the size the window
    // answers with when Windows asks before a move to that DPI.
    static SIZE ClientAt(int dpi);
    void DeleteFonts();
    // Fits a label's font to the text it shows, at creation, on a change of
    // DPI and whenever the text is set.
    void FitLabel(int id);
    // The font the window's design gives a control, at the window's DPI.
    HFONT DesignedFont(int id) const { return id == IDC_TITLE ? titleFont_ : defaultFont_; }
    bool Load();
    // Beside the main window by both visible frames (BesideOrOver).
    void PlaceBesideOwner();
    int Pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }  // layout is in twips

    HINSTANCE instance_;
    HWND owner_;
    int dpi_ = 96;
    HFONT titleFont_ = nullptr, defaultFont_ = nullptr;
    HICON icon_ = nullptr;
    HFONT fittedFonts_[4] = {};   // by fitted label: a smaller font where its text needed one
    HFONT buttonFont_ = nullptr;  // the buttons', where their captions needed a smaller one
    HWND lastFocus_ = nullptr;
    Win32Messages messages_{kTitle};
    frmAbout logic_;
};

}  // namespace zolv
