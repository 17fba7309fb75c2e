#include "platform/win32/screen_reader_name.h"

#include <ole2.h>
#include <oleacc.h>

#include "platform/win32/newer_windows.h"
#include "platform/win32/own_accessible_object.h"

namespace zolv {

namespace {

// CLSID_AccPropServices, IID_IAccPropServices and PROPID_ACC_NAME, spelled out so that no
// import library of oleacc is linked: the library is loaded by its path when a screen reader asks.
constexpr GUID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

}  // namespace

void NamedControl::Install(HWND control, const wchar_t* name) {
    name_ = name;
    Subclass::Install(control);
}

LRESULT NamedControl::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) Release();
    if (msg != WM_GETOBJECT || !name_) return CallOriginal(msg, wp, lp);
    if (!asked_) {
        asked_ = true;
        comStarted_ = SUCCEEDED(StartCom());
        if (SUCCEEDED(CreateComObject(kAccPropServicesClass, kAccPropServicesInterface,
                                      reinterpret_cast<void**>(&annotations_))) &&
            FAILED(annotations_->SetHwndPropStr(hwnd_, static_cast<DWORD>(OBJID_CLIENT),
                                                CHILDID_SELF, kNameProperty, name_))) {
            // Wine 8 has the service but not the annotation (E_NOTIMPL).
            annotations_->Release();
            annotations_ = nullptr;
        }
        // Clients that keep what they read of the control read it again.
        if (annotations_)
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    }
    if (!annotations_ && static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT)) {
        const LRESULT own = AnswerWithOwnObject(hwnd_, wp, name_);
        if (own > 0) return own;
    }
    return CallOriginal(msg, wp, lp);
}

void NamedControl::Release() {
    if (annotations_) {
        // Windows keeps an annotation as long as the window's handle, which
        // may be given to another window later.
        const MSAAPROPID name[] = {kNameProperty};
        annotations_->ClearHwndProps(hwnd_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, name,
                                     1);
        annotations_->Release();
        annotations_ = nullptr;
    }
    if (comStarted_) EndCom();
    comStarted_ = asked_ = false;
}

}  // namespace zolv
