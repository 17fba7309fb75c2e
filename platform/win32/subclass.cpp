#include "platform/win32/subclass.h"

namespace zolv {

void Subclass::Install(HWND control) {
    hwnd_ = control;
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

LRESULT CALLBACK Subclass::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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

}  // namespace zolv
