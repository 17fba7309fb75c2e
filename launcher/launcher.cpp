#include "launcher/launcher.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "launcher/messages.h"
#include "platform/paths.h"

namespace zolv {

namespace {

// The command interpreter takes no long-path prefix: the script's path must fit
// in MAX_PATH less its null, which keeps its directory within a current one's 258.
constexpr std::size_t kLongestPath = 259;
constexpr std::size_t kLongestDirectory = kLongestPath - 1 - std::wstring_view(kScriptName).size();

// The command interpreter runs at most 8,191 units of a line and cuts the rest
// unsaid: bytes of the console's code page, or UTF-16 units where that is UTF-8.
constexpr std::size_t kLongestLine = 8191;

// Windows' wchar_t already holds a character beyond U+FFFF as two; a 32-bit one, as one.
std::size_t Utf16Units(const std::wstring& text) {
    return text.size() + std::count_if(text.begin(), text.end(), [](wchar_t ch) {
               return static_cast<std::uint32_t>(ch) >> 16 != 0;
           });
}

// The launch script's one line. Only a check box value of 1 adds its switch.
std::wstring ComposeCommandLine(const MainControls& c, const std::wstring& game,
                                const std::wstring& resolution) {
    // The emulator's own switch order, which is not the order of the boxes on screen.
    const std::pair<CheckView&, const wchar_t*> switches[] = {
        {c.chkNoSound, L" -s"}, {c.chkEnableV, L" -v"},     {c.chkFrame, L" -f"},
        {c.chkScan, L" -n"},    {c.chkSkip, L" -noanalys"}, {c.chkRotate, L" -r"},
        {c.chkFM, L" -a"},      {c.chkJoyStick, L" -j"}};
    std::wstring line = L"zolv.exe " + game;
    for (const auto& [box, text] : switches) line += box.Value() == 1 ? text : L"";
    return line + resolution;
}

}  // namespace

void frmTindrel::Form_Load() {
    std::copy(kResolutions.begin(), kResolutions.end(), ResTable.begin());
    std::copy(kGameDirs.begin(), kGameDirs.end(), GameDirTable.begin());
    for (const wchar_t* text : kResolutions) c_.cboRes.AddItem(text);
    c_.cboRes.SetText(ResTable[0]);
    for (const wchar_t* text : kGameDirs) c_.cboGameDir.AddItem(text);
    c_.cboGameDir.SetText(GameDirTable[0]);
}

void frmTindrel::cmdSave_Click() {
    ChosenDir = c_.dirDir.Path();
    ChosenDrive = c_.drvDrive.Drive();  // empty where none is chosen: refused below

    // Every refusal comes before anything is touched, so the last good
    // script, the current directory and the saved flag survive it.
    const std::wstring shownRes = c_.cboRes.Text(), game = c_.cboGameDir.Text();
    const std::wstring resolution = shownRes != ResTable[0] ? shownRes : L"";
    if (game == GameDirTable[0]) return Warn(kNoGameMessage);
    auto console = [this](const auto& text) { return p_.codePage.ToConsole(text).has_value(); };
    // The emulator reads its command line in the ANSI code page: a character
    // only the console's holds would reach the game as another.
    auto ansi = [this](const auto& text) { return p_.codePage.ToAnsi(text).has_value(); };
    for (const std::wstring* text : {&game, &resolution}) {
        if (std::any_of(text->begin(), text->end(),
                        [](wchar_t ch) { return ch < 0x20 || ch == 0x7F; }))
            return Warn(ControlCharacterRefusal(*text));
        if (!console(*text)) return Warn(CharacterRefusal(CharacterSet::Console, *text, console));
        if (!ansi(*text)) return Warn(CharacterRefusal(CharacterSet::Ansi, *text, ansi));
    }
    const std::wstring line = ComposeCommandLine(c_, game, resolution);
    const std::optional<std::string> bytes = p_.codePage.ToConsole(line);
    // Texts that fit apart may not together: decoding composes by default (MB_PRECOMPOSED).
    if (!bytes) return Warn(CharacterRefusal(CharacterSet::Console, line, console));
    const bool utf8 = p_.codePage.ConsoleIsUtf8();
    const std::size_t length = utf8 ? Utf16Units(line) : bytes->size();
    if (length > kLongestLine)
        return Warn(
            LineTooLongRefusal(length, kLongestLine, !utf8 && bytes->size() != line.size()));

    // "\\server\share\zolv", as when started from a network folder in Explorer:
    // no drive is chosen, and the command prompt cannot run there.
    if (ChosenDir.size() >= 2 && IsSeparator(ChosenDir[0]) && IsSeparator(ChosenDir[1]))
        return Warn(NetworkFolderRefusal(ChosenDir));
    if (ChosenDrive.empty() || ChosenDir.empty()) return Warn(NoDriveRefusal());
    // Windows would refuse the directory; Wine would go on, and starting the
    // game from there can bring the program down.
    if (InDirectory(ChosenDir, kScriptName).size() > kLongestPath)
        return Warn(TooDeepRefusal(ChosenDir, kLongestDirectory));
    WriteScript(*bytes);
}

void frmTindrel::WriteScript(const std::string& bytes) {
    std::wstring before;
    bool changingDrive = false;
    try {
        before = p_.files.CurrentDirectory();
        changingDrive = true;
        p_.files.ChangeDrive(ChosenDrive[0]);
        changingDrive = false;
        p_.files.ChangeDirectory(ChosenDir);
        p_.files.CreateScript(kScriptName);
        p_.files.WriteScript(bytes);
        p_.files.CommitScript();
    } catch (const PlatformError& error) {
        p_.files.CloseScript();
        try {
            if (!before.empty()) p_.files.ChangeDirectory(before);
        } catch (const PlatformError&) {
            // Gone too: the error below is the one the user can act on.
        }
        // The new script is written beside the last one and only then put in its place.
        bool kept = false;
        try {
            kept = !p_.files.FindFile(InDirectory(ChosenDir, kScriptName)).empty();
        } catch (const PlatformError&) {
            // A directory that cannot be searched: nothing is promised of it.
        }
        return Warn(SaveFailure(
            changingDrive ? UnreadableDriveCause(ChosenDrive[0]) : FailureCause(error, ChosenDir),
            ChosenDir, kept));
    }
    SettingsSaved = true;
}

void frmTindrel::cmdExecute_Click() {
    if (!SettingsSaved) return Warn(kSaveFirstMessage);
    try {
        p_.shell.StartCommand(kLaunchCommand, kNormalFocus);  // never waits for the game
    } catch (const PlatformError& error) {
        Warn(LaunchFailure(error, kLaunchCommand));
    }
}

void frmTindrel::drvDrive_Change() {
    try {
        const std::wstring drive = c_.drvDrive.Drive();
        if (!drive.empty()) return c_.dirDir.SetPath(drive);
    } catch (const PlatformError&) {
    }
    Warn(kNoDiskMessage);
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
