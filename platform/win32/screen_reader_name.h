// A name for a screen reader to call a control that shows no caption. Windows
// names such a control only by a label just before it in the tab order, or
// else by the text it shows, so a screen reader would say "combo box, 1943"
// and never what the control chooses.
//
// The name is given the way Windows documents for a standard control: as a
// Dynamic Annotation of the control's client object (IAccPropServices,
// Windows XP on). oleacc's proxy and UI Automation's then keep all they give
// for the control and take the name from the annotation, in and out of the
// program's process alike. The annotation is made the first time a screen
// reader asks for the control, so that no accessibility library is loaded
// before one is used.
//
// Where annotation is missing (Wine 8 answers E_NOTIMPL), the control answers
// a screen reader's request for its object (WM_GETOBJECT) itself, with one
// object of its own that carries the name and hands every other question to
// Windows' standard object: role, value, state, children, place, actions and
// navigation stay Windows' own.
#pragma once

#include <windows.h>

struct IAccPropServices;

namespace zolv {

class ScreenReaderName {
public:
    ScreenReaderName() = default;
    ~ScreenReaderName() { Release(); }
    ScreenReaderName(const ScreenReaderName&) = delete;
    ScreenReaderName& operator=(const ScreenReaderName&) = delete;

    void SetName(const wchar_t* name) { name_ = name; }  // kept, not copied

    // For the control's procedure, on every message. Names the control on the
    // first WM_GETOBJECT; where it could not be annotated, answers
    // WM_GETOBJECT for the control's client object. False for every message
    // it does not answer, which then goes on to the control as before.
    bool Answer(HWND control, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // On the control's WM_NCDESTROY: the annotation is taken off the control
    // and no object is handed out after it.
    void Release();

private:
    enum class Route { NotAsked, Annotated, OwnObject };
    bool Annotate(HWND control);

    const wchar_t* name_ = nullptr;
    Route route_ = Route::NotAsked;
    HWND annotated_ = nullptr;
    IAccPropServices* annotations_ = nullptr;
    bool comStarted_ = false;  // the thread's COM, which the annotation and an object need
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
