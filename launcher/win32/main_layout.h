// The main window's layout: its client size, menu, controls and the lines
// beneath them, in twips. Only places and looks; the window's behaviour lives
// in main_window.cpp. The start-up benchmark builds the same window from it.
#pragma once

#include <windows.h>

#include <array>

#include "platform/win32/ui.h"
#include "program/control_ids.h"

namespace zolv {

constexpr int kMainClientWidth = 4710;  // twips
constexpr int kMainClientHeight = 3825;

enum class Font { Default, System, Label, Button };

// The four fonts the controls are drawn in; at a higher DPI a group of
// controls may get a smaller one where a caption would not fit.
constexpr FontRole kSystemFont = {L"System", 975, true, DEFAULT_CHARSET};
constexpr FontRole kLabelFont = {L"MS Sans Serif", 975, false, DEFAULT_CHARSET};
constexpr FontRole kButtonFont = {L"Terminal", 900, true, OEM_CHARSET};
constexpr FontRole kDefaultFont = {L"MS Sans Serif", 800, false, DEFAULT_CHARSET};

struct ControlLayout {
    int id;
    const wchar_t* kind;
    const wchar_t* caption;
    DWORD style;
    int left, top, width, height;  // twips, outer size; a combo's height is its closed height
    Font font;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
// What makes the directory list draw its own folders.
constexpr DWORD kOwnerDrawnList = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;

// In tab order, which is also the order the controls are made in.
constexpr std::array<ControlLayout, 15> kMainLayout = {{
    {IDC_EXECUTE, L"BUTTON", L"Run the Game!", kButton, 2520, 3360, 2055, 400, Font::Button},
    {IDC_SAVE, L"BUTTON", L"Save Settings", kButton, 2520, 2880, 2055, 400, Font::Button},
    {IDC_DRIVE, L"COMBOBOX", L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 2520, 480,
     2055, 315, Font::Default},
    {IDC_DIR, L"LISTBOX", L"",
     kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | kOwnerDrawnList | LBS_NOINTEGRALHEIGHT, 2520,
     840, 2055, 990, Font::Default},
    {IDC_SKIP, L"BUTTON", L"Skip code analys", kCheck, 120, 2040, 2175, 360, Font::System},
    {IDC_NOSOUND, L"BUTTON", L"No sound", kCheck, 120, 1560, 2175, 360, Font::System},
    {IDC_FRAME, L"BUTTON", L"Frameskip", kCheck, 120, 1080, 2175, 360, Font::System},
    {IDC_ENABLEV, L"BUTTON", L"Enable vsync", kCheck, 120, 600, 2175, 360, Font::System},
    {IDC_SCAN, L"BUTTON", L"No scanlines", kCheck, 120, 120, 2175, 360, Font::System},
    {IDC_JOYSTICK, L"BUTTON", L"JoyStick Support", kCheck, 120, 2520, 2175, 360, Font::System},
    {IDC_FM, L"BUTTON", L"FM address 388H", kCheck, 120, 3000, 2175, 360, Font::System},
    {IDC_ROTATE, L"BUTTON", L"Rotate screen", kCheck, 120, 3480, 2175, 360, Font::System},
    {IDC_RES, L"COMBOBOX", L"", kCombo, 2520, 1920, 2055, 315, Font::Default},
    {IDC_GAMEDIR, L"COMBOBOX", L"", kCombo, 2520, 2280, 2055, 315, Font::Default},
    {IDC_TINDRELDIR, L"STATIC", L"Select Tindrel Dir", kChild | SS_LEFT | SS_NOPREFIX, 2520, 120,
     1935, 255, Font::Label},
}};

// What a screen reader calls each control that shows no caption of its own;
// the others are called by their captions.
struct ScreenReaderLabel {
    int id;
    const wchar_t* name;
};
constexpr std::array<ScreenReaderLabel, 4> kScreenReaderNames = {{
    {IDC_DRIVE, L"Drive"},
    {IDC_DIR, L"Directory"},
    {IDC_RES, L"Resolution"},
    {IDC_GAMEDIR, L"Game"},
}};

// "&Program" with "&End Program", "&Help" with "&About"; no shortcut keys.
HMENU BuildMainMenu();

// One control of the table, made with the given style (the table's, or
// another for the benchmark's plain list) at its place for a DPI, without its
// font: PlaceLayoutControl gives it that, and places it again for another DPI.
HWND CreateLayoutControl(const ControlLayout& layout, DWORD style, HWND parent, HINSTANCE instance,
                         int dpi);

// Gives a control of the table its font and its place at a DPI: after it is
// made, and again when the window moves to a monitor of another DPI. A combo
// box's selection field is sized so that the closed box is as tall as the
// table says. Each change to a combo box resizes its dropped list too, which
// under Wine costs milliseconds: so each is made once where it can be.
void PlaceLayoutControl(HWND control, const ControlLayout& layout, int dpi, HFONT font);

// Moves a combo box of the table to its place and width at a DPI, as tall as
// it is: so that its selection field can be measured before it is placed.
void MoveLayoutCombo(HWND combo, const ControlLayout& layout, int dpi);

// The divider, the rules between the check boxes, and the rule above the two
// buttons, in the DC's current pen.
void DrawMainLines(HDC dc, int dpi);

// The machine's drives as the user knows them ("c: [SYSTEM]", "a:"), the
// current directory's drive selected.
void FillDriveLetters(HWND combo);

}  // namespace zolv
