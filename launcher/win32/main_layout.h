// The main window's looks: its table, menu and lines, in twips.
#pragma once

#include "platform/win32/form.h"
#include "program/control_ids.h"

namespace zolv {

enum MainFont { kSystemRole, kLabelRole, kButtonRole, kDefaultRole, kChoicesRole };

extern const FormDesign kMainForm;

// What a screen reader calls each control that shows no caption of its own.
struct ScreenReaderLabel {
    int id;
    const wchar_t* name;
};
constexpr ScreenReaderLabel kScreenReaderNames[] = {{IDC_DRIVE, L"Drive"},
                                                    {IDC_DIR, L"Directory"},
                                                    {IDC_RES, L"Resolution"},
                                                    {IDC_GAMEDIR, L"Game"}};

// "&Program" with "&End Program", "&Help" with "&About"; no shortcut keys.
HMENU BuildMainMenu();
// The divider and the rules, in the system's window text colour.
void DrawMainLines(HDC dc, int dpi);
// The machine's drives as the user knows them ("c: [SYSTEM]", "a:"), the current one selected.
void FillDriveLetters(HWND combo);

}  // namespace zolv
