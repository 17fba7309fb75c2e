// Where Dynamic Annotation is missing (Wine 8 answers E_NOTIMPL), a control answers
// WM_GETOBJECT with an object of its own: Windows' standard object with the name.
#pragma once

#include <windows.h>

namespace zolv {

// WM_GETOBJECT's answer, 0 or less where there is none. The name is kept, not copied.
LRESULT AnswerWithOwnObject(HWND control, WPARAM wp, const wchar_t* name);

}  // namespace zolv
