#include "about/about.h"

#include "program/identity.h"

namespace zolv {

const wchar_t* const kAboutDescription =
    L"ZOLV Loader is a front end for Z.O.L.V (Zestful Olden Lightshow Viewer) version 0.9. "
    L"Updates appear often at http://www.example.org/zolv/ and questions are welcome by "
    L"e-mail to           zolvloader@example.org";

const wchar_t* const kAboutDisclaimer =
    L"ZOLV Loader is copyright the ZOLV Loader developers."
    L"                                                                             "
    L"Warning: Z.O.L.V itself is copyright the Z.O.L.V team.";

namespace {

constexpr const wchar_t* kSysInfoUnavailable = L"System Information Is Unavailable At This Time";
constexpr const wchar_t* kSysInfoKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const wchar_t* kSysInfoLocationKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const wchar_t* kSysInfoProgram = L"\\MSINFO32.EXE";

constexpr std::uint32_t kLocalMachine = 0x80000002;
// KEY_READ | KEY_WOW64_64KEY: only the 64-bit view of the redirected HKLM\SOFTWARE shows a
// 32-bit program the value 64-bit Windows writes. 32-bit Windows ignores the flag.
constexpr std::uint32_t kKeyRead = 0x20019 | 0x0100;
constexpr std::uint32_t kRegSz = 1, kRegDword = 4;

constexpr std::uint32_t kValueCapacity = 1024;

// Closes an opened key on every way out, exceptions included.
struct KeyCloser {
    Registry& registry;
    RegistryKey key;
    ~KeyCloser() { registry.CloseKey(key); }
};

// The version record holds unsigned 16-bit words: a negative one is shown as its word.
std::wstring Word(std::int16_t number) {
    return std::to_wstring(static_cast<std::uint16_t>(number));
}

}  // namespace

std::wstring VersionText(std::int16_t major, std::int16_t minor, std::int16_t revision) {
    return L"Version " + Word(major) + L"." + Word(minor) + L"." + Word(revision);
}

frmAbout::frmAbout(AboutView& view, AboutPlatform platform) : view_(view), p_(platform) {}

void frmAbout::Form_Load() {
    view_.SetCaption(std::wstring(L"About ") + kTitle);
    view_.SetVersion(VersionText(kVersionMajor, kVersionMinor, kVersionRevision));
    view_.SetTitle(kTitle);
}

void frmAbout::cmdOK_Click() { view_.Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
    std::wstring SysInfoPath;
    try {
        // The first key names the program itself and is trusted as it is.
        if (GetKeyValue(kLocalMachine, kSysInfoKey, L"PATH", SysInfoPath)) {
            p_.shell.StartProgram(SysInfoPath, kNormalFocus);
            return;
        }
        // The second names its directory; an empty one would mean the current drive's root.
        if (GetKeyValue(kLocalMachine, kSysInfoLocationKey, L"MSINFO", SysInfoPath) &&
            !SysInfoPath.empty() && !p_.files.FindFile(SysInfoPath + kSysInfoProgram).empty()) {
            p_.shell.StartProgram(SysInfoPath + kSysInfoProgram, kNormalFocus);
            return;
        }
    } catch (const PlatformError&) {
        // A search or start refused is told as a tool not installed.
    }
    p_.messages.Show(kSysInfoUnavailable, kPlainBox);
}

bool frmAbout::GetKeyValue(std::uint32_t KeyRoot, const std::wstring& KeyName,
                           const std::wstring& SubKeyRef, std::wstring& KeyVal) {
    // Written only on the way out: the caller may pass one text as a name and the result.
    const auto fail = [&KeyVal] {
        KeyVal.clear();
        return false;
    };

    // Read access only, so that users who may not write the key can read it.
    RegistryKey hKey = 0;
    if (p_.registry.OpenKey(KeyRoot, KeyName, 0, kKeyRead, &hKey) != 0) return fail();
    const KeyCloser closer{p_.registry, hKey};

    unsigned char data[kValueCapacity] = {};
    std::uint32_t length = kValueCapacity;
    std::uint32_t type = 0;
    if (p_.registry.QueryValue(hKey, SubKeyRef, &type, data, &length) != 0) return fail();
    // A length beyond the buffer cannot be true of bytes the buffer holds.
    if (length == 0 || length > kValueCapacity) return fail();

    // Values are stored with or without their terminating zero; one is dropped.
    if (data[length - 1] == 0) --length;

    if (type == kRegSz) {
        KeyVal = p_.codePage.FromAnsi(std::string(reinterpret_cast<const char*>(data), length));
    } else if (type == kRegDword) {
        // From the buffer: the step above may have dropped the number's last zero byte.
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = number << 8 | data[i];
        KeyVal = std::to_wstring(number);
    } else {  // expandable, multiple and binary values are no text to vouch for
        return fail();
    }
    return true;
}

}  // namespace zolv
