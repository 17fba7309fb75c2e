// The platform as the logic sees it, nothing of the Win32 API: platform/win32
// implements it, the tests fake it.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zolv {

// A platform step failed: its kind, the system's own words for why, and the
// path it is about where the caller does not know it. The logic words the message.
class PlatformError : public std::exception {
public:
    enum class Kind {
        Other,
        NoSuchDirectory,  // the directory asked for no longer exists
        FolderInTheWay,   // a folder has the name of the file to be written
        InUse,            // another program holds the file open
        ReadOnly,         // the file to be replaced is marked read-only
        AccessDenied,     // Windows does not let this user change files there
        DiskFull,         // no room left on the drive
    };
    explicit PlatformError(std::wstring reason, Kind kind = Kind::Other, std::wstring path = {})
        : reason_(std::move(reason)), path_(std::move(path)), kind_(kind) {}
    const std::wstring& reason() const noexcept { return reason_; }
    const std::wstring& path() const noexcept { return path_; }
    Kind kind() const noexcept { return kind_; }
    const char* what() const noexcept override { return "platform step failed"; }

private:
    std::wstring reason_, path_;
    Kind kind_;
};

// Message box styles, as the Win32 MB_ flags.
constexpr int kPlainBox = 0;         // OK only, no icon
constexpr int kExclamationBox = 48;  // OK only, exclamation-mark icon

constexpr int kNormalFocus = 1;  // a started program's window: normal, with the focus

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual std::wstring CurrentDirectory() = 0;
    // Makes the drive with this letter current, at that drive's own current directory.
    virtual void ChangeDrive(wchar_t letter) = 0;
    virtual void ChangeDirectory(const std::wstring& path) = 0;

    // The launch script, the window's one file handle: written beside its final
    // name and put in place by CommitScript, so a failure leaves the old one as it was.
    virtual void CreateScript(const std::wstring& name) = 0;
    virtual void WriteScript(const std::string& bytes) = 0;
    virtual void CommitScript() = 0;
    // Closes and discards a script that was not committed; nothing when none is open.
    virtual void CloseScript() = 0;

    // The full path of an existing, readable directory; "d:" is that drive's current one.
    virtual std::wstring ResolveDirectory(const std::wstring& path) = 0;
    // Names of the visible subdirectories of a readable directory, sorted without regard to case.
    virtual std::vector<std::wstring> Subdirectories(const std::wstring& path) = 0;

    // The name of the first match that is no directory, hidden or system file; else empty.
    virtual std::wstring FindFile(const std::wstring& path) = 0;
};

// The console's code page (OEM), in which the command interpreter reads a batch
// file, and the ANSI one, in which the registry's ANSI functions give their strings.
class CodePage {
public:
    virtual ~CodePage() = default;
    // Nothing when a character has no form in the code page; never a substitute.
    virtual std::optional<std::string> ToConsole(const std::wstring& text) = 0;
    virtual std::optional<std::string> ToAnsi(const std::wstring& text) = 0;
    virtual std::wstring FromAnsi(const std::string& bytes) = 0;
    // UTF-8 (65001), where the interpreter measures a line in UTF-16 units, not bytes.
    virtual bool ConsoleIsUtf8() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // A command for the command interpreter ("start zolvload.bat"); never waits.
    virtual void StartCommand(const std::wstring& command, int windowStyle) = 0;
    // Exactly the program file at this path, with no arguments; never waits.
    virtual void StartProgram(const std::wstring& path, int windowStyle) = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    virtual void Beep() = 0;  // the system's default sound
};

class Messages {
public:
    virtual ~Messages() = default;
    // A modal box with one OK button, titled with the program's title.
    virtual void Show(const std::wstring& text, int style) = 0;
};

// The registry's ANSI functions: each returns 0 on success, else a system error code.
using RegistryKey = std::uintptr_t;

class Registry {
public:
    virtual ~Registry() = default;
    virtual long OpenKey(std::uint32_t root, const std::wstring& keyName, std::uint32_t options,
                         std::uint32_t access, RegistryKey* key) = 0;
    virtual long QueryValue(RegistryKey key, const std::wstring& valueName, std::uint32_t* type,
                            unsigned char* data, std::uint32_t* length) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
};

}  // namespace zolv
