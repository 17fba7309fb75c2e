// Both windows' controls as the user should find them: kind, caption and
// place in twips. The window tests check them at 96 DPI and after a move to
// a monitor of another DPI.
#pragma once

#include <windows.h>

#include "program/control_ids.h"
#include "tests/ui/driver.h"

namespace zolv::ui {

struct PlacedControl {
    int id;
    const wchar_t* kind;
    const wchar_t* text;           // nullptr: not checked
    int left, top, width, height;  // twips; a combo box's closed height
};

constexpr PlacedControl kMainControls[] = {
    {IDC_SCAN, L"Button", L"No scanlines", 120, 120, 2175, 360},
    {IDC_ENABLEV, L"Button", L"Enable vsync", 120, 600, 2175, 360},
    {IDC_FRAME, L"Button", L"Frameskip", 120, 1080, 2175, 360},
    {IDC_NOSOUND, L"Button", L"No sound", 120, 1560, 2175, 360},
    {IDC_SKIP, L"Button", L"Skip code analys", 120, 2040, 2175, 360},
    {IDC_JOYSTICK, L"Button", L"JoyStick Support", 120, 2520, 2175, 360},
    {IDC_FM, L"Button", L"FM address 388H", 120, 3000, 2175, 360},
    {IDC_ROTATE, L"Button", L"Rotate screen", 120, 3480, 2175, 360},
    {IDC_TINDRELDIR, L"Static", L"Select Tindrel Dir", 2520, 120, 1935, 255},
    {IDC_DRIVE, L"ComboBox", nullptr, 2520, 480, 2055, 315},
    {IDC_DIR, L"ListBox", nullptr, 2520, 840, 2055, 990},
    {IDC_RES, L"ComboBox", L"Select Resolution", 2520, 1920, 2055, 315},
    {IDC_GAMEDIR, L"ComboBox", L"Select Game Directory", 2520, 2280, 2055, 315},
    {IDC_SAVE, L"Button", L"Save Settings", 2520, 2880, 2055, 400},
    {IDC_EXECUTE, L"Button", L"Run the Game!", 2520, 3360, 2055, 400},
};
constexpr SIZE kMainClient = {4710, 3825};

constexpr PlacedControl kAboutControls[] = {
    {IDC_PICICON, L"Static", nullptr, 0, 0, 540, 540},
    {IDOK, L"Button", L"OK", 120, 3000, 1260, 345},
    {IDC_SYSINFO, L"Button", L"&System Info...", 2160, 3000, 1245, 345},
    {IDC_DESCRIPTION, L"Static", nullptr, 360, 840, 3045, 1050},
    {IDC_TITLE, L"Static", L"ZOLV Loader", 600, 120, 1965, 480},
    {IDC_VERSION, L"Static", L"Version 0.5.0", 600, 600, 1365, 225},
    {IDC_DISCLAIMER, L"Static", nullptr, 120, 2040, 3255, 825},
};
constexpr SIZE kAboutClient = {3495, 3375};

// A window laid out for a DPI: its client area, and each control's kind,
// text and place, in twips rounded as the program rounds.
template <std::size_t N>
void ExpectLaidOut(HWND window, const PlacedControl (&table)[N], SIZE client, int dpi = 96) {
    const auto at = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    RECT area;
    GetClientRect(window, &area);
    EXPECT_EQ(area.right, at(client.cx)) << "client width at " << dpi;
    EXPECT_EQ(area.bottom, at(client.cy)) << "client height at " << dpi;
    for (const PlacedControl& c : table) {
        HWND control = GetDlgItem(window, c.id);
        ASSERT_NE(control, nullptr) << "no control " << c.id;
        EXPECT_EQ(ClassOf(control), c.kind) << "control " << c.id;
        if (c.text) {
            EXPECT_EQ(Text(control), c.text) << "text of control " << c.id;
        }
        const RECT r = ClientRectIn(control);
        EXPECT_EQ(r.left, at(c.left)) << "left of " << c.id << " at " << dpi;
        EXPECT_EQ(r.top, at(c.top)) << "top of " << c.id << " at " << dpi;
        EXPECT_EQ(r.right - r.left, at(c.width)) << "width of " << c.id << " at " << dpi;
        EXPECT_EQ(r.bottom - r.top, at(c.height)) << "height of " << c.id << " at " << dpi;
    }
}

}  // namespace zolv::ui
