// A procedure put in front of a standard control's own, by hand: comctl32's
// SetWindowSubclass would load comctl32 for this alone. The control finds it
// through GWLP_USERDATA, which a standard control leaves to its owner; a window
// property would cost a trip to the window server on every message.
#pragma once

#include <windows.h>

namespace zolv {

class Subclass {
public:
    Subclass() = default;
    virtual ~Subclass() = default;
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;

    void Install(HWND control);  // undone on the control's WM_NCDESTROY
    HWND hwnd() const { return hwnd_; }

protected:
    // Every message of the control, WM_NCDESTROY after the undoing.
    virtual LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) { return CallOriginal(msg, wp, lp); }
    LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
        return CallWindowProcW(original_, hwnd_, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

    WNDPROC original_ = nullptr;
};

}  // namespace zolv
