// The one form under both windows: a window is its table of controls, the
// fonts of its roles, its handlers and its painting. The form registers and
// creates it, lays it out for a DPI at creation and on WM_DPICHANGED, answers
// WM_GETDPISCALEDSIZE, restores the focus on activation, repaints on a change
// of colours and owns the fonts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/ui.h"
#include "platform/win32/win32_platform.h"
#include "program/identity.h"

namespace zolv {

struct FormControl {
    int id;
    const wchar_t* kind;
    const wchar_t* text;
    DWORD style;
    int left, top, width, height;  // twips, outer size; a combo box's closed height
    int font;                      // its role, by place in FormDesign::fonts
};

struct FormDesign {
    const wchar_t* className;
    DWORD style, exStyle;
    SIZE client;                        // twips
    std::vector<FormControl> controls;  // in tab order, the order they are made in
    std::vector<FontRole> fonts;        // each shared by the controls of its role
    int firstFocus;                     // the control the focus starts on
};

class Form : public BoundWindow {
protected:
    Form(HINSTANCE instance, const FormDesign& design) : instance_(instance), design_(design) {}
    ~Form();  // the window derived from it destroys its window first, while it is whole

    // Registers the class and creates the window at the system DPI; false,
    // with the reason shown, when Windows refuses.
    bool Open(const wchar_t* caption, HMENU menu, HWND owner, POINT at, const wchar_t* classFailure,
              const wchar_t* windowFailure);
    // The window's size as Open makes it, at the system DPI.
    SIZE OpeningSize(bool menu) const;
    // What is the window's own: every message but those the form answers.
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
    virtual void ControlsMade() {}  // before the first layout
    virtual void LaidOut() {}       // after each layout, at dpi()
    // The texts a control must show whole in its role's font: its caption.
    virtual std::vector<std::wstring> TextsOf(HWND control) const;

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    HFONT FontOf(int role) const { return fonts_.empty() ? nullptr : fonts_[role]; }
    // Sets a control's text and fits its role's font to it again.
    void SetControlText(int id, const std::wstring& text);
    int dpi() const { return dpi_; }
    int Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

    HINSTANCE instance_;
    Win32Messages messages_{kTitle};

private:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) final;
    void LayOut(int dpi, const RECT* suggested);
    void Fit(int role);
    SIZE ClientAt(int dpi) const {
        return {TwipsToPixels(design_.client.cx, dpi), TwipsToPixels(design_.client.cy, dpi)};
    }
    void DeleteFonts();

    const FormDesign& design_;
    int dpi_ = 96;
    std::vector<HFONT> fonts_;  // by role, at dpi_
    HWND lastFocus_ = nullptr;
};

}  // namespace zolv
