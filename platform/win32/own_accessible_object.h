// The object a named control answers WM_GETOBJECT with where Dynamic Annotation is missing (Wine 8
// answers E_NOTIMPL): Windows' standard object of the control, but for the name.
#pragma once

#include <windows.h>

namespace zolv {

// WM_GETOBJECT's answer for the control's client object; 0 where none could be made.
LRESULT OwnAccessibleObject(HWND control, WPARAM wp, const wchar_t* name);

}  // namespace zolv
