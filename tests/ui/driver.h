// Drives the real ZOLVLOAD.exe from another process, the way a user would
// see it: finds its windows and controls, presses them, reads message boxes.
// Every wait polls with a time-out, so a test fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/file_bytes.h"

namespace zolv::ui {

// Paths of the programs under test, given on the command line.
struct Programs {
    std::wstring loader;       // ZOLVLOAD.exe
    std::wstring standIn;      // the stand-in emulator, copied in as zolv.exe
    std::wstring standInTool;  // the stand-in system information tool
};
const Programs& TestPrograms();
void SetTestPrograms(Programs programs);

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = 10000);
std::wstring Text(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
std::string Narrow(const std::wstring& text);  // for messages: plain ASCII texts
std::string Hex(COLORREF colour);              // "#RRGGBB"
// The lines the stand-in wrote beside itself: "<current directory>\t<arguments>".
std::vector<std::string> StandInRuns(const std::wstring& directory);
bool Exists(const std::wstring& path);
void RemoveTree(const std::wstring& path);

// A directory of its own under %TEMP%, removed again with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::wstring& path() const { return path_; }
    std::wstring Make(const std::wstring& name) const;  // a subdirectory
private:
    std::wstring path_;
};

// A message box as the user sees it.
struct Box {
    HWND hwnd = nullptr;
    std::wstring title, text;
    bool hasIcon = false;
    std::vector<std::wstring> buttons;
    HWND owner = nullptr;
};
// The program's message: under its name, with one OK button, owned by `owner` where one is given.
void ExpectMessage(const Box& box, const std::wstring& text, bool icon, HWND owner = nullptr);

class Loader {
public:
    // Starts ZOLVLOAD.exe in a working directory and waits until its main window is shown.
    explicit Loader(const std::wstring& workingDirectory, const std::wstring& arguments = L"");
    ~Loader();  // closes it, dismissing any box first; kills it only as a last resort

    DWORD pid() const { return process_.dwProcessId; }
    HANDLE process() const { return process_.hProcess; }
    HWND main() const { return main_; }
    HWND Control(int id) const { return GetDlgItem(main_, id); }

    std::vector<HWND> VisibleWindows() const;  // this process's visible top-level windows
    HWND FindWindowByCaption(const std::wstring& caption) const;
    HWND Focus() const;

    // Input as the user gives it: presses queue behind each other, and the
    // call returns once the program has handled them. Keys go to the window
    // that has the focus, once it is in front.
    void Click(HWND button);
    void PressKeys(const std::vector<WORD>& keys, bool shift = false, bool alt = false);
    void Idle() const;  // waits until the program has handled all input so far

    void SetComboText(int id, const std::wstring& text);
    void SelectComboItem(int id, const std::wstring& item);
    void SetCheck(int id, bool checked);
    void OpenDirectory(const std::wstring& name);  // highlights an entry and presses Enter
    // The worked example, as a user gives it: opens the subdirectory, picks
    // "1943", " -d320x240", "No sound" and "Rotate screen", presses "Save Settings".
    void SaveTheWorkedExample(const std::wstring& subdirectory);
    std::wstring DirectoryPath() const;

    Box WaitForBox(DWORD milliseconds = 10000) const;
    bool NoBoxFor(DWORD milliseconds) const;
    void Dismiss(const Box& box);  // presses its OK button
    bool WaitForExit(DWORD milliseconds = 10000) const;

private:
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
};

// Pixels at 96 DPI for a length in twips, rounded as the program rounds.
inline int Px(int twips) { return MulDiv(twips, 96, 1440); }

// A control's rectangle in its parent's client coordinates.
RECT ClientRectIn(HWND control);

// --- real mouse input and screen pixels -------------------------------------------------------

// A left click with the real mouse at a point on the screen.
void MouseClickAt(POINT screen);
// The middle of a window's close box, found by asking the window what lies
// under points along its caption. False when it has none.
bool FindCloseBox(HWND window, POINT* screen);
// The middle of a window, on the screen.
POINT CentreOf(HWND window);

// The colour of a pixel of a window's client area, as the screen shows it.
COLORREF ScreenPixel(HWND window, int x, int y);

// A copy of a rectangle of the screen, read once, so that many pixels can be looked at.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& screen);
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF At(int x, int y) const;                  // from the rectangle's top left
    bool SaveBitmap(const std::wstring& path) const;  // a 24-bit .bmp file

private:
    int width_ = 0, height_ = 0;
    std::vector<COLORREF> pixels_;
};

}  // namespace zolv::ui
