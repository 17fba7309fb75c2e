// A procedure in front of a standard control's own, by hand: SetWindowSubclass's comctl32 is no
// KnownDLL and would be loaded for this alone. The object is found through GWLP_USERDATA, which
// Windows documents as the application's own on a window: a standard control leaves it unused.
#pragma once

#include <windows.h>

namespace zolv {

class Subclass {
public:
    virtual ~Subclass() = default;

    void Install(HWND control) {  // undone on the control's WM_NCDESTROY
        hwnd_ = control;
        SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }

protected:
    // Every message of the control, WM_NCDESTROY after the undoing.
    virtual LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) { return CallOriginal(msg, wp, lp); }
    LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
        return CallWindowProcW(original_, hwnd_, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<Subclass*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg != WM_NCDESTROY) return self->Handle(msg, wp, lp);
        // Undone only while this is still the outermost procedure: one put in
        // front of it later would otherwise be cut out of the chain.
        if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(Proc))
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->original_));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = self->Handle(msg, wp, lp);
        self->hwnd_ = nullptr;  // the handle may be given to another window
        return result;
    }

    WNDPROC original_ = nullptr;
};

}  // namespace zolv
