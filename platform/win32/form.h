// The one form under both windows: a window is its table of controls, their
// font roles, its handlers and painting; the form lays it out for each DPI.
#pragma once

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
    std::vector<FormControl> controls;  // in tab order
    std::vector<FontRole> fonts;
    int firstFocus;
};

class Form {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    Form(HINSTANCE instance, const FormDesign& design) : instance_(instance), design_(design) {}
    ~Form() { DeleteFonts(); }  // the derived window destroys its window first, while it is whole
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window at the system DPI; false, with the reason shown, where Windows refuses.
    bool Open(const wchar_t* caption, HMENU menu, HWND owner, POINT at, const wchar_t* classFailure,
              const wchar_t* windowFailure);
    SIZE OpeningSize(bool menu) const;
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
    virtual void ControlsMade() {}  // before the first layout
    virtual void LaidOut() {}       // after each layout, at dpi()
    virtual void Paint(HDC) {}      // what is drawn beneath the controls
    // The texts a control must show whole in its role's font: its caption.
    virtual std::vector<std::wstring> TextsOf(HWND control) const;

    void Destroy() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    HFONT FontOf(int role) const { return fonts_.empty() ? nullptr : fonts_[role]; }
    // Sets a control's text and fits its role's font to it again.
    void SetControlText(int id, const std::wstring& text) {
        SetWindowTextW(Control(id), text.c_str());
        for (const FormControl& c : design_.controls)
            if (c.id == id && !fonts_.empty()) Fit(c.font);
    }
    int dpi() const { return dpi_; }
    int Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

    HWND hwnd_ = nullptr;
    HINSTANCE instance_;
    Win32Messages messages_{kTitle};

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void LayOut(int dpi, const RECT* suggested);
    void Fit(int role);
    SIZE ClientAt(int dpi) const {
        return {TwipsToPixels(design_.client.cx, dpi), TwipsToPixels(design_.client.cy, dpi)};
    }
    void DeleteFonts() {
        for (HFONT font : fonts_)
            if (font) DeleteObject(font);
        fonts_.clear();
    }

    const FormDesign& design_;
    int dpi_ = 96;
    std::vector<HFONT> fonts_;  // by role, at dpi_
    HWND lastFocus_ = nullptr;
};

}  // namespace zolv
