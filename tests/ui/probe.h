// Reaches into the running ZOLVLOAD.exe through tests/ui/font_probe.cpp, which
// a window hook puts into it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zolv::ui {

// The font a control of the loader draws with; all zero when none could be read.
LOGFONTW FontOfControl(HWND control);

// What a screen reader reads of an object: its name, and its value, role,
// state and number of children, one to a line, "!" and the error where a part
// could not be read. Empty where no object was had.
struct AccessibleObjectReading {
    std::wstring name, rest;
};
// A control of the loader read as a screen reader's hook reads it, inside the
// program on its UI thread: the object the control hands out for its client
// area (AccessibleObjectFromWindow), and the standard one Windows makes for it.
// The handed-out object's name is asked for in every form that means the
// object itself, through get_accName and IDispatch alike: where they differ,
// it is every answer, apart by "|". comFaults says, a line each, where that
// object breaks COM's rules: another IUnknown through one of its interfaces,
// or a claim to be oleacc's proxy with a proxy of another name.
struct ScreenReading {
    AccessibleObjectReading handedOut, standard;
    std::wstring comFaults;
};
ScreenReading ReadLikeAScreenReader(HWND control);

// How tall a combo box of the loader is dropped down, as it tells
// (CB_GETDROPPEDCONTROLRECT); 0 where that could not be read.
int DroppedHeight(HWND combo);

// The list that drops down from a combo box of the loader
// (GetComboBoxInfo's hwndList); null where that could not be read.
HWND ListOfCombo(HWND combo);

// Tells a window of the loader that it moved to a monitor of another DPI, as
// Windows does: WM_DPICHANGED with a suggested rectangle of this size at the
// window's top left, sent from inside the program. Returns once it is handled.
void TellDpiChanged(HWND window, int dpi, SIZE suggested);

// Asks a window of the loader its size at another DPI, as Windows 10 does
// before WM_DPICHANGED: WM_GETDPISCALEDSIZE, sent from inside the program
// with the window's size scaled from the DPI it has. The size it answered
// with; nothing where it returned FALSE, as a window that leaves the size to
// Windows does.
std::optional<SIZE> AskDpiScaledSize(HWND window, int dpi, int from);

// Runs `queue` while the loader's UI thread is held still inside the probe, as
// a busy program is while the user types ahead: meanwhile the program takes in
// nothing, so what `queue` reads of its windows and focus stays true, and the
// input it queues comes to the program whole. Returns what `queue` returned;
// false where the program was not held within the time.
bool WhileHeldStill(HWND window, const std::function<bool()>& queue, DWORD milliseconds = 10000);

// Whether the loader's UI thread still has keys or posted messages to take,
// asked inside it; false where it could not be asked, as when it has ended.
bool InputWaiting(HWND window);

// Tells the loader, from inside, that the user turned high contrast on, as
// Windows does: from now on its SystemParametersInfo says so
// (SPI_GETHIGHCONTRAST), and each window is sent WM_SETTINGCHANGE. Wine
// cannot turn high contrast on. False where the program could not be told.
bool TurnHighContrastOn(const std::vector<HWND>& windows);

}  // namespace zolv::ui
