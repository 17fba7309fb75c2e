// The main window's state and handlers: the window (win32/) hands each event
// here, and every decision is made here, through the small views of the controls.
#pragma once

#include <array>
#include <string>

#include "platform/ports.h"

namespace zolv {

// What the handlers read and write of the window's controls.
class ComboView {
public:
    virtual ~ComboView() = default;
    virtual void AddItem(const std::wstring& text) = 0;
    virtual void SetText(const std::wstring& text) = 0;
    virtual std::wstring Text() = 0;
};

class CheckView {
public:
    virtual ~CheckView() = default;
    virtual int Value() = 0;  // 0 unchecked, 1 checked, 2 greyed
};

class DriveListView {
public:
    virtual ~DriveListView() = default;
    virtual std::wstring Drive() = 0;  // "c:" and perhaps a label after it; empty for none
};

class DirListView {
public:
    virtual ~DirListView() = default;
    virtual std::wstring Path() = 0;  // the open directory, not a highlighted one
    virtual void SetPath(const std::wstring& path) = 0;  // throws PlatformError
};

// The window operations the menu commands and the shutdown need.
class WindowCommands {
public:
    virtual ~WindowCommands() = default;
    virtual void ShowAbout() = 0;    // loads the About window first if it isn't open
    virtual void UnloadMain() = 0;   // closes the main window, which unloads it
    virtual void UnloadAbout() = 0;  // closes the About window if it is open
    virtual void EndProgram() = 0;
};

struct MainControls {
    ComboView &cboGameDir, &cboRes;
    DriveListView& drvDrive;
    DirListView& dirDir;
    CheckView &chkNoSound, &chkEnableV, &chkFrame, &chkScan, &chkSkip, &chkRotate, &chkFM,
        &chkJoyStick;
};

struct LauncherPlatform {
    FileSystem& files;
    CodePage& codePage;
    Shell& shell;
    Sound& sound;
    Messages& messages;
    WindowCommands& window;
};

constexpr const wchar_t* kScriptName = L"zolvload.bat";
constexpr const wchar_t* kLaunchCommand = L"start zolvload.bat";

// What the load step puts in the two lists of choices: a placeholder, then
// the choices. The window fits the lists' font to them before they are in.
// clang-format off
inline constexpr std::array<const wchar_t*, 22> kGameDirs = {
    L"Select Game Directory", L"1943", L"k1943", L"bmaster", L"dbreed", L"gunforce", L"gunjp",
    L"gunsmoke", L"hharry", L"ikarijp", L"ikarius", L"imgfight", L"inthunt", L"loth", L"nspirit",
    L"rtypejp", L"rtypeus", L"rtype2", L"sonson", L"tnk3", L"uccops", L"victroad"};
// clang-format on

// Each entry after the placeholder is a whole switch with its leading blank.
inline constexpr std::array<const wchar_t*, 7> kResolutions = {
    L"Select Resolution", L" -d384x256", L" -d360x256", L" -d320x400",
    L" -d320x240",        L" -d256x256", L" -d224x288"};

class frmTindrel {
public:
    frmTindrel(MainControls controls, LauncherPlatform platform) : c_(controls), p_(platform) {}

    void Form_Load();
    void cmdSave_Click();
    void cmdExecute_Click();
    void drvDrive_Change();
    void mnuAbout_Click();
    void mnuEnd_Click();
    void Form_Unload(bool& cancel);

    std::wstring ChosenDrive;
    std::wstring ChosenDir;
    bool SettingsSaved = false;
    std::array<std::wstring, 51> GameDirTable;
    std::array<std::wstring, 11> ResTable;

private:
    void WriteScript(const std::string& bytes);
    void Warn(const std::wstring& text);

    MainControls c_;
    LauncherPlatform p_;
};

}  // namespace zolv
