// A screen reader's name for a control without a caption, which Windows calls by the text it shows
// ("combo box, 1943"). By Dynamic Annotation, as documented for standard controls, so that oleacc
// and UI Automation keep all else; on the first WM_GETOBJECT, loading nothing before one asks.
#pragma once

#include "platform/win32/subclass.h"

struct IAccPropServices;

namespace zolv {

class NamedControl : public Subclass {
public:
    void Install(HWND control, const wchar_t* name) {  // the name is kept, not copied
        name_ = name;
        Subclass::Install(control);
    }

protected:
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    const wchar_t* name_ = nullptr;
    bool asked_ = false;
    IAccPropServices* annotations_ = nullptr;  // while the control is annotated
    bool comStarted_ = false;  // the thread's COM, which the annotation and an object need
};

}  // namespace zolv
