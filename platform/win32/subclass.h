// A procedure in front of a standard control's own, by hand: SetWindowSubclass's comctl32 is no
// KnownDLL and would be loaded for this alone. Found through GWLP_USERDATA, which a standard
// control leaves to its owner: a window property costs a trip to the window server a message.
#pragma once

#include <windows.h>

namespace zolv {

class Subclass {
public:
    virtual ~Subclass() = default;
    void Install(HWND control);  // undone on the control's WM_NCDESTROY

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
