#include "launcher/launcher.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace zolv {

namespace {

constexpr const wchar_t* kEmulator = L"zolv.exe ";

// The longest path Windows takes without the long-path prefix is MAX_PATH
// less the terminating null, 259 characters. The command interpreter, which
// runs the script from its directory, takes no such prefix, so the script's
// path must be within it: the directory's, without a final separator, within
// 246. That keeps the directory within the limit of a current directory too,
// 258 characters, which leaves room for the separator.
constexpr std::size_t kLongestDirectory = 259 - 1 - std::wstring_view(kScriptName).size();

bool ScriptPathFits(const std::wstring& directory) {
    const bool separated =
        !directory.empty() && (directory.back() == L'\\' || directory.back() == L'/');
    return directory.size() - (separated ? 1 : 0) <= kLongestDirectory;
}

// The command interpreter runs at most 8,191 characters of a batch file's line
// and cuts the rest without a word. It reads the file as bytes of the console's
// code page; counting those, of which a double-byte character takes two, keeps
// a line whole whether it counts bytes or characters.
constexpr std::size_t kLongestLine = 8191;

// "8,191": the program's texts are English.
std::wstring WithThousands(std::size_t number) {
    std::wstring digits = std::to_wstring(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L',');
    return digits;
}

// A failed save in the user's terms where the program knows them better than
// the system's words: each names the directory it is about.
std::wstring NotSavedMessage(const PlatformError& error, const std::wstring& directory) {
    const std::wstring notSaved = L"The settings were not saved.\n\n";
    const std::wstring where = L"\"" + directory + L"\"";
    switch (error.kind()) {
        case PlatformError::Kind::NoSuchDirectory:
            return notSaved + L"The directory " + where +
                   L" no longer exists. Choose the emulator's directory again in the list.";
        case PlatformError::Kind::FolderInTheWay:
            return notSaved + L"A folder named " + kScriptName + L" in " + where +
                   L" stands where the script must go. Rename or remove that folder and save "
                   L"again.";
        case PlatformError::Kind::InUse:
            return notSaved + kScriptName + L" in " + where +
                   L" is in use by another program, perhaps the game, still running. Close it "
                   L"and save again.";
        case PlatformError::Kind::Other:
            break;
    }
    return notSaved + error.reason();
}

bool HasControlCharacter(const std::wstring& text) {
    return std::any_of(text.begin(), text.end(),
                       [](wchar_t ch) { return ch < 0x20 || ch == 0x7F; });
}

}  // namespace

std::wstring ComposeCommandLine(const ScriptChoices& c) {
    // The emulator's own switch order, which is not the order of the boxes on screen.
    const std::pair<int, const wchar_t*> switches[] = {
        {c.noSound, L" -s"},     {c.enableV, L" -v"}, {c.frame, L" -f"}, {c.scan, L" -n"},
        {c.skip, L" -noanalys"}, {c.rotate, L" -r"},  {c.fm, L" -a"},    {c.joyStick, L" -j"},
    };
    std::wstring line = kEmulator + c.game;
    for (const auto& [value, text] : switches) {
        if (value == 1) line += text;
    }
    return line + c.resolution;
}

frmTindrel::frmTindrel(MainControls controls, LauncherPlatform platform)
    : c_(controls), p_(platform) {}

void frmTindrel::Form_Load() {
    std::copy(kResolutions.begin(), kResolutions.end(), ResTable.begin());
    std::copy(kGameDirs.begin(), kGameDirs.end(), GameDirTable.begin());
    for (std::size_t i = 0; i < kResolutions.size(); ++i) c_.cboRes.AddItem(ResTable[i]);
    c_.cboRes.SetText(ResTable[0]);
    for (std::size_t i = 0; i < kGameDirs.size(); ++i) c_.cboGameDir.AddItem(GameDirTable[i]);
    c_.cboGameDir.SetText(GameDirTable[0]);
}

ScriptChoices frmTindrel::ReadChoices() {
    ScriptChoices choices;
    choices.game = c_.cboGameDir.Text();
    const std::wstring resolution = c_.cboRes.Text();
    if (resolution != ResTable[0]) choices.resolution = resolution;
    choices.noSound = c_.chkNoSound.Value();
    choices.enableV = c_.chkEnableV.Value();
    choices.frame = c_.chkFrame.Value();
    choices.scan = c_.chkScan.Value();
    choices.skip = c_.chkSkip.Value();
    choices.rotate = c_.chkRotate.Value();
    choices.fm = c_.chkFM.Value();
    choices.joyStick = c_.chkJoyStick.Value();
    return choices;
}

void frmTindrel::cmdSave_Click() {
    ChosenDir = c_.dirDir.Path();
    try {
        ChosenDrive = c_.drvDrive.Drive();
    } catch (const PlatformError&) {
        ChosenDrive.clear();  // none chosen: refused below
    }

    // Every refusal comes before anything is touched, so the last good
    // script, the current directory and the saved flag survive it.
    const ScriptChoices choices = ReadChoices();
    if (choices.game == GameDirTable[0]) {
        Warn(kNoGameMessage);
        return;
    }
    for (const std::wstring* text : {&choices.game, &choices.resolution}) {
        if (HasControlCharacter(*text)) {
            Warn(L"The settings were not saved: \"" + *text +
                 L"\" contains a line break, a tab or another control character, "
                 L"which cannot stand in the one line of zolvload.bat.");
            return;
        }
        if (!p_.codePage.ToConsole(*text)) {
            Warn(L"The settings were not saved: \"" + *text +
                 L"\" contains a character that the command interpreter's code page cannot "
                 L"hold, so it cannot be written to zolvload.bat.");
            return;
        }
        // The interpreter hands the line on to the emulator, which reads its
        // command line in the ANSI code page: a character only the console's
        // code page holds would reach the game as another.
        if (!p_.codePage.ToAnsi(*text)) {
            Warn(L"The settings were not saved: \"" + *text +
                 L"\" contains a character that the system's code page cannot hold, so the "
                 L"emulator would not receive it as typed.");
            return;
        }
    }
    const std::wstring line = ComposeCommandLine(choices);
    const std::optional<std::string> bytes = p_.codePage.ToConsole(line);
    if (!bytes) {  // only the user's texts can fail, and they passed; kept for safety
        Warn(L"The settings were not saved: \"" + line +
             L"\" cannot be written in the command interpreter's code page.");
        return;
    }
    if (bytes->size() > kLongestLine) {
        // The interpreter would run the line cut short, without a word.
        Warn(L"The settings were not saved: the line for zolvload.bat would be " +
             WithThousands(bytes->size()) + L" characters long" +
             (bytes->size() != line.size() ? L" (a double-byte character counts as two)" : L"") +
             L", and the command interpreter runs no line longer than " +
             WithThousands(kLongestLine) + L" characters.");
        return;
    }

    if (ChosenDrive.empty() || ChosenDir.empty()) {
        Warn(L"The settings were not saved: no drive or directory is chosen.");
    } else if (!ScriptPathFits(ChosenDir)) {
        // Windows would refuse the directory; Wine would go on, and starting
        // the game from there can bring the program down.
        Warn(L"The settings were not saved: the path of the directory\n\n" + ChosenDir +
             L"\n\nis too long for the command interpreter, which cannot run zolvload.bat "
             L"there. Choose a directory whose path has at most " +
             std::to_wstring(kLongestDirectory) + L" characters.");
    } else {
        WriteScript(*bytes);
    }
}

void frmTindrel::WriteScript(const std::string& bytes) {
    std::wstring before;
    try {
        before = p_.files.CurrentDirectory();
        p_.files.ChangeDrive(ChosenDrive[0]);
        p_.files.ChangeDirectory(ChosenDir);
        p_.files.CreateScript(kScriptName);
        p_.files.WriteScript(bytes);
        p_.files.CommitScript();
    } catch (const PlatformError& error) {
        p_.files.CloseScript();
        if (!before.empty()) {
            try {
                p_.files.ChangeDirectory(before);
            } catch (const PlatformError&) {
                // The directory the program stood in is gone too; the error
                // below is the one the user can act on.
            }
        }
        Warn(NotSavedMessage(error, ChosenDir));
        return;
    }
    SettingsSaved = true;
}

void frmTindrel::cmdExecute_Click() {
    if (!SettingsSaved) {
        Warn(kSaveFirstMessage);
        return;
    }
    try {
        p_.shell.StartCommand(kLaunchCommand, kNormalFocus);  // never waits for the game
    } catch (const PlatformError& error) {
        Warn(L"The game could not be started.\n\n" + error.reason());
    }
}

void frmTindrel::drvDrive_Change() {
    try {
        c_.dirDir.SetPath(c_.drvDrive.Drive());
    } catch (const PlatformError&) {
        Warn(kNoDiskMessage);
    }
}

void frmTindrel::mnuAbout_Click() { p_.window.ShowAbout(); }

void frmTindrel::mnuEnd_Click() {
    p_.window.UnloadMain();  // runs Form_Unload, which ends the program
    p_.window.EndProgram();
}

void frmTindrel::Form_Unload(bool& /*cancel: the close always goes ahead*/) {
    p_.files.CloseScript();
    p_.window.UnloadMain();
    p_.window.UnloadAbout();
    p_.window.EndProgram();
}

void frmTindrel::Warn(const std::wstring& text) {
    p_.sound.Beep();
    p_.messages.Show(text, kExclamationBox);
}

}  // namespace zolv
