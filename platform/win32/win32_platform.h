// The ports over the real Win32 API.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "platform/ports.h"

namespace zolv {

// The system's own words for an error code, without the trailing line break.
std::wstring SystemReason(DWORD error);

// The process's current directory at any length; empty where it cannot be read.
std::wstring CurrentDirectoryOrEmpty();

class Win32FileSystem : public FileSystem {
public:
    ~Win32FileSystem() override { CloseScript(); }
    std::wstring CurrentDirectory() override;
    void ChangeDrive(wchar_t letter) override;
    void ChangeDirectory(const std::wstring& path) override;
    void CreateScript(const std::wstring& name) override;
    void WriteScript(const std::string& bytes) override;
    void CommitScript() override;
    void CloseScript() override;
    std::wstring ResolveDirectory(const std::wstring& path) override;
    std::vector<std::wstring> Subdirectories(const std::wstring& path) override;
    std::wstring FindFile(const std::wstring& path) override;

private:
    HANDLE script_ = INVALID_HANDLE_VALUE;
    // The final name and the file written beside it, full paths in the long form where long.
    std::wstring scriptPath_, workPath_;
};

class Win32CodePage : public CodePage {
public:
    std::optional<std::string> ToConsole(const std::wstring& text) override;
    std::optional<std::string> ToAnsi(const std::wstring& text) override;
    std::wstring FromAnsi(const std::string& bytes) override;
    bool ConsoleIsUtf8() override { return GetOEMCP() == CP_UTF8; }
};

class Win32Shell : public Shell {
public:
    void StartCommand(const std::wstring& command, int windowStyle) override;
    void StartProgram(const std::wstring& path, int windowStyle) override;
};

class Win32Sound : public Sound {
public:
    void Beep() override { MessageBeep(MB_OK); }
};

// Boxes bear the program's title, handed in by the window that makes them,
// and are owned by that window once it exists.
class Win32Messages : public Messages {
public:
    explicit Win32Messages(std::wstring title) : title_(std::move(title)) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void Show(const std::wstring& text, int style) override;

private:
    std::wstring title_;
    HWND owner_ = nullptr;
};

class Win32Registry : public Registry {
public:
    long OpenKey(std::uint32_t root, const std::wstring& keyName, std::uint32_t options,
                 std::uint32_t access, RegistryKey* key) override;
    long QueryValue(RegistryKey key, const std::wstring& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* length) override;
    void CloseKey(RegistryKey key) override;
};

}  // namespace zolv
