#include "launcher/messages.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/paths.h"

namespace zolv {

namespace {

std::wstring Refused(const std::wstring& why) {
    return L"The settings were not saved: " + why + L" Nothing was changed.";
}

// "8,191": the program's texts are English.
std::wstring WithThousands(std::size_t number) {
    std::wstring digits = std::to_wstring(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L',');
    return digits;
}

// In quotes, or by its number where it would show as a blank or as nothing.
std::wstring Shown(const std::wstring& character) {
    const unsigned long code = static_cast<unsigned long>(character[0]);
    const std::pair<unsigned long, unsigned long> unseen[] = {
        {0x80, 0xA0},     {0xAD, 0xAD},     {0x1680, 0x1680}, {0x180E, 0x180E},
        {0x2000, 0x200F}, {0x2028, 0x202F}, {0x205F, 0x206F}, {0x3000, 0x3000},
        {0xD800, 0xDFFF}, {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}};
    for (const auto& [first, last] : unseen) {
        if (character.size() == 1 && code >= first && code <= last) {
            wchar_t number[8];
            std::swprintf(number, 8, L"U+%04lX", code);
            return std::wstring(number) + L" (a blank or invisible character)";
        }
    }
    return Quoted(character);
}

}  // namespace

std::wstring ControlCharacterRefusal(const std::wstring& text) {
    return Refused(Quoted(text) +
                   L" has a line break, a tab or another control character, which cannot stand "
                   L"in the one line of zolvload.bat. Take it out of the text and save again.");
}

std::wstring CharacterRefusal(CharacterSet set, const std::wstring& text,
                              const std::function<bool(const std::wstring&)>& fits) {
    std::vector<std::wstring> misfits;  // each once, in the text's order, a surrogate pair as one
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const std::wstring character = text.substr(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        if (std::find(misfits.begin(), misfits.end(), character) == misfits.end() &&
            !fits(character))
            misfits.push_back(character);
    }
    // Each fits alone, only not together (a code page that composes a letter
    // and its accent may do that): then the text itself is what cannot be written.
    std::wstring list = misfits.empty() ? Quoted(text) : std::wstring();
    for (std::size_t i = 0; i < misfits.size(); ++i) {
        if (i > 0) list += i + 1 == misfits.size() ? L" and " : L", ";
        list += Shown(misfits[i]);
    }
    const bool many = misfits.size() != 1;
    const bool console = set == CharacterSet::Console;
    return Refused(
        Quoted(text) + L" has " + (many ? L"characters" : L"a character") + L" that " +
        (console ? L"zolvload.bat cannot hold" : L"the emulator would not receive as typed") +
        L": " + list + L". " +
        (console ? L"The command prompt that starts the game reads the script in a character "
                   L"set of its own"
                 : L"The emulator reads its command line in the character set of Windows' "
                   L"\"Language for non-Unicode programs\"") +
        L", which on this Windows lacks " + (many ? L"them. Take them" : L"it. Take it") +
        L" out of the text and save again.");
}

std::wstring LineTooLongRefusal(std::size_t length, std::size_t longest, bool doubleBytes) {
    return Refused(L"the line for zolvload.bat would be " + WithThousands(length) +
                   L" characters long" +
                   (doubleBytes ? L" (a double-byte character counts as two)" : L"") +
                   L", and the command prompt runs no line longer than " + WithThousands(longest) +
                   L" characters. Shorten the game or resolution text and save again.");
}

std::wstring NetworkFolderRefusal(const std::wstring& directory) {
    return Refused(Quoted(directory) +
                   L" is a network folder with no drive letter, and the command prompt that "
                   L"starts the game cannot run zolvload.bat from such a folder. Map the network "
                   L"folder to a drive letter (in Explorer, \"Map network drive\"), choose that "
                   L"drive in the drive list and the emulator's directory in the directory list, "
                   L"then save again.");
}

std::wstring NoDriveRefusal() {
    return Refused(
        L"no drive or directory is chosen. Choose the emulator's drive in the drive "
        L"list and its directory in the directory list, then save again.");
}

std::wstring TooDeepRefusal(const std::wstring& directory, std::size_t longest) {
    return Refused(L"the path of the directory\n\n" + directory +
                   L"\n\nis too long for the command prompt, which cannot run zolvload.bat "
                   L"there. Choose a directory whose path has at most " +
                   std::to_wstring(longest) + L" characters, then save again.");
}

std::wstring UnreadableDriveCause(wchar_t letter) {
    return L"The drive " + std::wstring{letter, L':'} +
           L" cannot be read. Choose a drive that can be read in the drive list, and the "
           L"emulator's directory in the directory list, then save again.";
}

std::wstring FailureCause(const PlatformError& error, const std::wstring& directory) {
    const std::wstring where = Quoted(directory);
    const std::wstring script = L"zolvload.bat in " + where;
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
    return L"zolvload.bat could not be written in " + where + L": " + error.reason() +
           L"\n\nSave again, or choose a directory on another drive.";
}

std::wstring SaveFailure(const std::wstring& cause, const std::wstring& directory, bool kept) {
    return L"The settings were not saved.\n\n" + cause + L"\n\n" +
           (kept ? L"The last zolvload.bat in " + Quoted(directory) + L" is kept as it was."
                 : L"Nothing was written.");
}

std::wstring LaunchFailure(const PlatformError& error, const std::wstring& command) {
    return L"The game could not be started.\n\nThe command interpreter " + Quoted(error.path()) +
           L" could not run " + Quoted(command) + L": " + error.reason();
}

std::wstring DirectoryUnreadable(const std::wstring& path) {
    return L"The directory " + Quoted(path) + L" no longer exists or cannot be read.";
}

}  // namespace zolv
