#include "platform/win32/screen_reader_name.h"

#include <ole2.h>
// oleacc's identifiers are defined here, where they are used, so that no import
// library of oleacc is linked: it is loaded by its path when a screen reader asks.
#include <initguid.h>
#include <oleacc.h>

#include "platform/win32/newer_windows.h"
#include "platform/win32/own_accessible_object.h"

namespace zolv {

LRESULT NamedControl::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) {
        if (annotations_) {
            // Windows keeps an annotation as long as the handle, which another window may get.
            annotations_->ClearHwndProps(hwnd_, OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_NAME, 1);
            annotations_->Release();
            annotations_ = nullptr;
        }
        if (comStarted_) EndCom();
        comStarted_ = asked_ = false;
    }
    if (msg != WM_GETOBJECT || !name_) return CallOriginal(msg, wp, lp);
    if (!asked_) {
        asked_ = true;
        comStarted_ = SUCCEEDED(StartCom());
        if (SUCCEEDED(CreateComObject(CLSID_AccPropServices, IID_IAccPropServices,
                                      reinterpret_cast<void**>(&annotations_))) &&
            FAILED(annotations_->SetHwndPropStr(hwnd_, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                                name_))) {
            // Wine 8 has the service but not the annotation (E_NOTIMPL).
            annotations_->Release();
            annotations_ = nullptr;
        }
        // Clients that keep what they read of the control read it again.
        if (annotations_)
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    }
    if (annotations_ || static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT))
        return CallOriginal(msg, wp, lp);
    const LRESULT answer = OwnAccessibleObject(hwnd_, wp, name_);
    return answer ? answer : CallOriginal(msg, wp, lp);
}

}  // namespace zolv
