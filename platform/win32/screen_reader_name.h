// A name for a screen reader to call a control that shows no caption, which
// Windows would call by the text it shows ("combo box, 1943"). Given by Dynamic
// Annotation, as Windows documents for a standard control, so that oleacc and
// UI Automation keep all else they read of it; on the first WM_GETOBJECT, so
// that no accessibility library is loaded before a screen reader asks.
#pragma once

#include <windows.h>

#include "platform/win32/subclass.h"

struct IAccPropServices;

namespace zolv {

class NamedControl : public Subclass {
public:
    ~NamedControl() override { Release(); }
    void Install(HWND control, const wchar_t* name);  // the name is kept, not copied

protected:
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Release();

    const wchar_t* name_ = nullptr;
    bool asked_ = false;
    IAccPropServices* annotations_ = nullptr;  // while the control is annotated
    bool comStarted_ = false;  // the thread's COM, which the annotation and an object need
};

}  // namespace zolv
