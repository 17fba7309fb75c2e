#include "launcher/launcher.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

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

bool IsSeparator(wchar_t ch) { return ch == L'\\' || ch == L'/'; }

// "\\server\share\zolv": a network folder reached by no drive letter.
bool IsNetworkPath(const std::wstring& path) {
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

bool ScriptPathFits(const std::wstring& directory) {
    const bool separated = !directory.empty() && IsSeparator(directory.back());
    return directory.size() - (separated ? 1 : 0) <= kLongestDirectory;
}

// The command interpreter runs at most 8,191 characters of a batch file's line
// and cuts the rest without a word. It reads the file as bytes of the console's
// code page; counting those, of which a double-byte character takes two, keeps
// a line whole whether it counts bytes or characters. Where that code page is
// UTF-8, a character takes up to four bytes, and the interpreter counts the
// line after decoding it, in UTF-16 units: those are counted there instead.
constexpr std::size_t kLongestLine = 8191;

std::size_t Utf16Units(const std::wstring& text) {
    std::size_t units = 0;
    // Windows' wchar_t already holds such a character as two; a 32-bit one, as one.
    for (wchar_t ch : text) units += static_cast<std::uint32_t>(ch) >> 16 ? 2 : 1;
    return units;
}

// Said at the end of every refusal that comes before anything is touched.
constexpr const wchar_t* kNothingChanged = L" Nothing was changed.";

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// "8,191": the program's texts are English.
std::wstring WithThousands(std::size_t number) {
    std::wstring digits = std::to_wstring(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L',');
    return digits;
}

// --- the words of the save's refusals and failures ----------------------------------------------
//
// Each says what is wrong, naming the text, the characters, the script and its
// directory as the user knows them (never the file the new script is written
// in before it takes the old one's place), that the last script is kept, and
// what to do next.

std::wstring Refused(const std::wstring& why) { return L"The settings were not saved: " + why; }

// Each character, a surrogate pair as one.
std::vector<std::wstring> Characters(const std::wstring& text) {
    std::vector<std::wstring> characters;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        characters.push_back(text.substr(i, pair ? 2 : 1));
        if (pair) ++i;
    }
    return characters;
}

// A character as a message can show it: in quotes, or by its number where it
// would show as a blank or as nothing at all.
std::wstring Shown(const std::wstring& character) {
    const unsigned long code = static_cast<unsigned long>(character[0]);
    const std::pair<unsigned long, unsigned long> unseen[] = {
        {0x80, 0xA0},     {0xAD, 0xAD},     {0x1680, 0x1680}, {0x180E, 0x180E},
        {0x2000, 0x200F}, {0x2028, 0x202F}, {0x205F, 0x206F}, {0x3000, 0x3000},
        {0xD800, 0xDFFF}, {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF},
    };
    for (const auto& [first, last] : unseen) {
        if (character.size() == 1 && code >= first && code <= last) {
            wchar_t number[8];
            std::swprintf(number, 8, L"U+%04lX", code);
            return std::wstring(number) + L" (a blank or invisible character)";
        }
    }
    return Quoted(character);
}

// The characters of a text that do not fit, each once, in the order the text
// has them.
struct Misfits {
    std::wstring list;  // "\"€\"", "\"×\" and U+2009 (...)"
    bool many = false;
};

template <typename Fits>
Misfits CharactersThatDoNotFit(const std::wstring& text, Fits fits) {
    std::vector<std::wstring> misfits;
    for (const std::wstring& character : Characters(text)) {
        if (std::find(misfits.begin(), misfits.end(), character) == misfits.end() &&
            !fits(character)) {
            misfits.push_back(character);
        }
    }
    // Each fits alone, only not together (no code page is known to do that):
    // then the text itself is what cannot be written.
    if (misfits.empty()) return {Quoted(text), true};
    Misfits found{std::wstring(), misfits.size() > 1};
    for (std::size_t i = 0; i < misfits.size(); ++i) {
        if (i > 0) found.list += i + 1 == misfits.size() ? L" and " : L", ";
        found.list += Shown(misfits[i]);
    }
    return found;
}

std::wstring ControlCharacterRefusal(const std::wstring& text) {
    return Refused(Quoted(text) +
                   L" has a line break, a tab or another control character, which cannot stand "
                   L"in the one line of zolvload.bat. Take it out of the text and save again." +
                   kNothingChanged);
}

// A text with characters that a character set lacks: what they would fail
// at, each of them, and whose character set it is.
std::wstring CharacterRefusal(const std::wstring& text, const Misfits& misfits,
                              const wchar_t* failure, const wchar_t* reader) {
    return Refused(Quoted(text) + L" has " + (misfits.many ? L"characters" : L"a character") +
                   L" that " + failure + L": " + misfits.list + L". " + reader +
                   L", which on this Windows lacks " +
                   (misfits.many ? L"them. Take them" : L"it. Take it") +
                   L" out of the text and save again." + kNothingChanged);
}

// The command prompt reads the script in the console's code page, which
// users know by nothing but its effects.
std::wstring ConsoleRefusal(const std::wstring& text, const Misfits& misfits) {
    return CharacterRefusal(
        text, misfits, L"zolvload.bat cannot hold",
        L"The command prompt that starts the game reads the script in a character set of its own");
}

// The emulator reads its command line in the ANSI code page, which Windows'
// settings call the language for non-Unicode programs.
std::wstring AnsiRefusal(const std::wstring& text, const Misfits& misfits) {
    return CharacterRefusal(text, misfits, L"the emulator would not receive as typed",
                            L"The emulator reads its command line in the character set of "
                            L"Windows' \"Language for non-Unicode programs\"");
}

std::wstring LineTooLongRefusal(std::size_t length, bool doubleBytes) {
    return Refused(
        L"the line for zolvload.bat would be " + WithThousands(length) + L" characters long" +
        (doubleBytes ? L" (a double-byte character counts as two)" : L"") +
        L", and the command prompt runs no line longer than " + WithThousands(kLongestLine) +
        L" characters. Shorten the game or resolution text and save again." + kNothingChanged);
}

std::wstring NetworkFolderRefusal(const std::wstring& directory) {
    return Refused(Quoted(directory) +
                   L" is a network folder with no drive letter, and the command prompt that "
                   L"starts the game cannot run zolvload.bat from such a folder. Map the network "
                   L"folder to a drive letter (in Explorer, \"Map network drive\"), choose that "
                   L"drive in the drive list and the emulator's directory in the directory list, "
                   L"then save again." +
                   kNothingChanged);
}

std::wstring NoDriveRefusal() {
    return Refused(
        L"no drive or directory is chosen. Choose the emulator's drive in the drive "
        L"list and its directory in the directory list, then save again." +
        std::wstring(kNothingChanged));
}

std::wstring TooDeepRefusal(const std::wstring& directory) {
    return Refused(L"the path of the directory\n\n" + directory +
                   L"\n\nis too long for the command prompt, which cannot run zolvload.bat "
                   L"there. Choose a directory whose path has at most " +
                   std::to_wstring(kLongestDirectory) + L" characters, then save again." +
                   kNothingChanged);
}

// Why a save failed after it began, in the user's terms where the program
// knows them better than the system's words.
std::wstring FailureCause(const PlatformError& error, const std::wstring& directory) {
    const std::wstring where = Quoted(directory);
    const std::wstring script = std::wstring(kScriptName) + L" in " + where;
    switch (error.kind()) {
        case PlatformError::Kind::NoSuchDirectory:
            return L"The directory " + where +
                   L" no longer exists. Choose the emulator's directory again in the directory "
                   L"list, then save again.";
        case PlatformError::Kind::FolderInTheWay:
            return L"A folder named " + script +
                   L" stands where the script must go. Rename or remove that folder and save "
                   L"again.";
        case PlatformError::Kind::InUse:
            // Wine's command interpreter holds the script while the game
            // runs; Windows' reads it a line at a time and lets it go.
            return script +
                   L" is open in another program, such as an editor or a virus scanner. Close "
                   L"that program, and the game if it is still running, then save again.";
        case PlatformError::Kind::ReadOnly:
            return script +
                   L" is read-only. Clear \"Read-only\" in its Properties (right-click the file "
                   L"in Explorer), then save again.";
        case PlatformError::Kind::AccessDenied:
            return L"Windows does not let this user change files in " + where +
                   L" (folders such as Program Files only an administrator may change). Put "
                   L"the emulator in a folder of your own, such as one in Documents or "
                   L"C:\\Games, choose that folder in the directory list, then save again.";
        case PlatformError::Kind::DiskFull:
            return L"There is not enough free space on the drive for " + script +
                   L". Free some space on that drive, or choose a directory on another drive, "
                   L"then save again.";
        case PlatformError::Kind::Other:
            break;
    }
    return error.reason() + L"\n\nSave again, or choose a directory on another drive.";
}

std::wstring UnreadableDriveCause(wchar_t letter) {
    return L"The drive " + std::wstring{letter, L':'} +
           L" cannot be read. Choose a drive that can be read in the drive list, and the "
           L"emulator's directory in the directory list, then save again.";
}

std::wstring Failed(const std::wstring& cause, const std::wstring& kept) {
    return L"The settings were not saved.\n\n" + cause + L"\n\n" + kept;
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
    auto console = [this](const std::wstring& text) {
        return p_.codePage.ToConsole(text).has_value();
    };
    // The interpreter hands the line on to the emulator, which reads its
    // command line in the ANSI code page: a character only the console's
    // code page holds would reach the game as another.
    auto ansi = [this](const std::wstring& text) { return p_.codePage.ToAnsi(text).has_value(); };
    for (const std::wstring* text : {&choices.game, &choices.resolution}) {
        if (HasControlCharacter(*text)) {
            Warn(ControlCharacterRefusal(*text));
            return;
        }
        if (!console(*text)) {
            Warn(ConsoleRefusal(*text, CharactersThatDoNotFit(*text, console)));
            return;
        }
        if (!ansi(*text)) {
            Warn(AnsiRefusal(*text, CharactersThatDoNotFit(*text, ansi)));
            return;
        }
    }
    const std::wstring line = ComposeCommandLine(choices);
    const std::optional<std::string> bytes = p_.codePage.ToConsole(line);
    if (!bytes) {  // only the user's texts can fail, and they passed; kept for safety
        Warn(ConsoleRefusal(line, CharactersThatDoNotFit(line, console)));
        return;
    }
    const bool utf8 = p_.codePage.ConsoleIsUtf8();
    const std::size_t length = utf8 ? Utf16Units(line) : bytes->size();
    if (length > kLongestLine) {
        // The interpreter would run the line cut short, without a word.
        Warn(LineTooLongRefusal(length, !utf8 && bytes->size() != line.size()));
        return;
    }

    if (IsNetworkPath(ChosenDir)) {
        // As when the program is started from a network folder in Explorer:
        // no drive is chosen, and the command prompt cannot run there.
        Warn(NetworkFolderRefusal(ChosenDir));
    } else if (ChosenDrive.empty() || ChosenDir.empty()) {
        Warn(NoDriveRefusal());
    } else if (!ScriptPathFits(ChosenDir)) {
        // Windows would refuse the directory; Wine would go on, and starting
        // the game from there can bring the program down.
        Warn(TooDeepRefusal(ChosenDir));
    } else {
        WriteScript(*bytes);
    }
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
        if (!before.empty()) {
            try {
                p_.files.ChangeDirectory(before);
            } catch (const PlatformError&) {
                // The directory the program stood in is gone too; the error
                // below is the one the user can act on.
            }
        }
        Warn(Failed(
            changingDrive ? UnreadableDriveCause(ChosenDrive[0]) : FailureCause(error, ChosenDir),
            WhatWasKept()));
        return;
    }
    SettingsSaved = true;
}

// A failed save leaves the script that was there as it was: the new one is
// written beside it and only then put in its place.
std::wstring frmTindrel::WhatWasKept() {
    const bool separated = !ChosenDir.empty() && IsSeparator(ChosenDir.back());
    const std::wstring script = ChosenDir + (separated ? L"" : L"\\") + kScriptName;
    bool there = false;
    try {
        there = !p_.files.FindFile(script).empty();
    } catch (const PlatformError&) {
        // A directory that cannot be searched: nothing is promised of it.
    }
    return there ? L"The last " + std::wstring(kScriptName) + L" in " + Quoted(ChosenDir) +
                       L" is kept as it was."
                 : L"Nothing was written.";
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
