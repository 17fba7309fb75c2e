// A name for a screen reader to call a control that shows no caption. Windows
// names such a control only by a label just before it in the tab order, or
// else by the text it shows, so a screen reader would say "combo box, 1943"
// and never what the control chooses. The control answers a screen reader's
// request for its object (WM_GETOBJECT) with Windows' standard object for it
// under this name: role, value, state, children, place, actions and
// navigation stay Windows' own.
#pragma once

#include <windows.h>

namespace zolv {

class ScreenReaderName {
public:
    ScreenReaderName() = default;
    ~ScreenReaderName() { Release(); }
    ScreenReaderName(const ScreenReaderName&) = delete;
    ScreenReaderName& operator=(const ScreenReaderName&) = delete;

    void SetName(const wchar_t* name) { name_ = name; }  // kept, not copied

    // For the control's procedure: answers WM_GETOBJECT for the control's own
    // object. False for any other request, or where this Windows has no
    // accessibility library; the message then goes on to the control, which
    // keeps Windows' standard answer.
    bool Answer(HWND control, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // On the control's WM_NCDESTROY: no object is handed out after it.
    void Release();

private:
    const wchar_t* name_ = nullptr;
    bool comStarted_ = false;  // the thread's COM, which handing an object out needs
};

// A standard control given a name by putting a procedure in front of its own.
// The control finds it through GWLP_USERDATA, which a standard control leaves
// to its owner; undone on the control's WM_NCDESTROY.
class NamedControl {
public:
    void Attach(HWND control, const wchar_t* name);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);

    ScreenReaderName name_;
    WNDPROC controlProc_ = nullptr;
};

}  // namespace zolv
