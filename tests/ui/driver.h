// Drives the real ZOLVLOAD.exe from another process, the way a user would
// see it: finds its windows and controls, presses them, reads message boxes.
// Every wait polls with a time-out, so a test fails instead of hanging.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/file_bytes.h"

namespace zolv::ui {

struct Programs {              // given on the command line
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
// Waits for the stand-in in a directory to have been started that many times,
// and a little longer to see that it goes no further.
::testing::AssertionResult StandInStarted(const std::wstring& directory, std::size_t times,
                                          DWORD milliseconds = 20000);
// A combo box's item; its selected one by default.
std::wstring ComboItem(HWND combo, LRESULT index = -1);
std::wstring ListItem(HWND list, LRESULT index);
bool PutStandIn(const std::wstring& path);  // a copy of the stand-in emulator
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

struct Box {  // a message box as the user sees it
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

    // Input as the user gives it, returning once the program has handled it.
    // Keys go to the window that has the focus, once it is in front.
    void Click(HWND button);
    void PressKeys(const std::vector<WORD>& keys, bool shift = false, bool alt = false);
    void Idle() const;  // waits until the program has handled all input so far
    void MakeForeground(HWND window) const;

    // "&About" chosen by posting its command, as the menu does; the About window once shown.
    HWND OpenAbout() const;
    // Moves a window to the right of the main window, so that neither hides the other.
    void PutBeside(HWND window, int gap = 8) const;

    void SetComboText(int id, const std::wstring& text);
    void SelectComboItem(int id, const std::wstring& item);
    void SetCheck(int id, bool checked);
    void OpenDirectory(const std::wstring& name);  // highlights an entry and presses Enter
    // Opens the subdirectory, picks "1943", " -d320x240", "No sound" and
    // "Rotate screen", and presses "Save Settings".
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

// Names a parameterised test's cases by their `name`.
struct ByName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

// A control's rectangle in its parent's client coordinates.
RECT ClientRectIn(HWND control);

// --- real mouse input and screen pixels -------------------------------------------------------

void MouseClickAt(POINT screen);  // a left click with the real mouse
// The middle of a window's close box, found by hit-testing its caption. False when it has none.
bool FindCloseBox(HWND window, POINT* screen);
POINT CentreOf(HWND window);  // on the screen

COLORREF ScreenPixel(HWND window, int x, int y);  // of its client area, as the screen shows it

// A copy of a rectangle of the screen, read once.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& screen);
    explicit ScreenShot(HWND window);                             // the whole window
    ScreenShot(int width, int height, const DWORD* topDownBgrx);  // a 32-bit DIB's pixels
    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<COLORREF>& pixels() const { return pixels_; }
    COLORREF At(int x, int y) const;  // from the rectangle's top left
    // Pixels that differ from another shot's, or from a colour.
    int Differing(const ScreenShot& other) const;
    int Differing(COLORREF colour) const;
    // A 24-bit .bmp file under the directory ZOLV_UI_SCREENSHOTS names; true where none is named.
    bool Save(const wchar_t* name) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<COLORREF> pixels_;
};

}  // namespace zolv::ui
