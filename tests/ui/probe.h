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
// state and number of children a line each ("!" and the error where a part
// could not be read). Empty where no object was had.
struct AccessibleObjectReading {
    std::wstring name, rest;
};
// A control read as a screen reader's hook reads it, on the loader's UI
// thread: the object it hands out (AccessibleObjectFromWindow), its name asked
// in every form, every answer apart by "|" where they differ; the standard
// object Windows makes for it; and, a line each, where the first breaks COM's
// rules for a screen reader.
struct ScreenReading {
    AccessibleObjectReading handedOut, standard;
    std::wstring comFaults;
};
ScreenReading ReadLikeAScreenReader(HWND control);

// A combo box's dropped height (CB_GETDROPPEDCONTROLRECT), 0 where unread;
// the list that drops from it (GetComboBoxInfo), null where unread.
int DroppedHeight(HWND combo);
HWND ListOfCombo(HWND combo);

// A move to a monitor of another DPI, told from inside as Windows tells it:
// WM_DPICHANGED suggesting this size at the window's top left.
void TellDpiChanged(HWND window, int dpi, SIZE suggested);
// WM_GETDPISCALEDSIZE, offering the size scaled from `from`: the size the
// window answered, nothing where it left the size to Windows.
std::optional<SIZE> AskDpiScaledSize(HWND window, int dpi, int from);

// Runs `queue` while the loader's UI thread is held still, as a busy program
// is while the user types ahead: what it reads stays true and the input it
// queues comes in whole. False where the program was not held in time.
bool WhileHeldStill(HWND window, const std::function<bool()>& queue, DWORD milliseconds = 10000);

// Whether the UI thread still has keys or posted messages to take; false
// where it could not be asked.
bool InputWaiting(HWND window);

// Makes the loader's SystemParametersInfo report high contrast on, which Wine
// cannot turn on, and sends each window WM_SETTINGCHANGE. False where it failed.
bool TurnHighContrastOn(const std::vector<HWND>& windows);

}  // namespace zolv::ui
