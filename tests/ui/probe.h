// Reaches into the running ZOLVLOAD.exe through tests/ui/font_probe.cpp, which
// a window hook puts into it.
#pragma once

#include <windows.h>

namespace zolv::ui {

// The font a control of the loader draws with; all zero when none could be read.
LOGFONTW FontOfControl(HWND control);

// Tells a window of the loader that it moved to a monitor of another DPI, as
// Windows does: WM_DPICHANGED with a suggested rectangle of this size at the
// window's top left, sent from inside the program. Returns once it is handled.
void TellDpiChanged(HWND window, int dpi, SIZE suggested);

}  // namespace zolv::ui
