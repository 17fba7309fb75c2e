// Fakes of the ports and views. Each records what was asked of it into one
// shared Recorder, so a test can assert the order of effects: one beep, then
// the box.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "launcher/launcher.h"
#include "platform/ports.h"

namespace zolv::testing {

using Events = std::vector<std::wstring>;

struct Recorder {
    Events events;
    void Add(std::wstring event) { events.push_back(std::move(event)); }
};

// Event texts, so that tests and fakes spell them alike.
inline std::wstring Beep() { return L"beep"; }
inline std::wstring Box(int style, const std::wstring& text) {
    return L"box " + std::to_wstring(style) + L": " + text;
}
inline std::wstring Start(int style, const std::wstring& command) {
    return L"start " + std::to_wstring(style) + L": " + command;
}
inline std::wstring Program(int style, const std::wstring& path) {
    return L"program " + std::to_wstring(style) + L": " + path;
}

class FakeSound : public Sound {
public:
    explicit FakeSound(Recorder& log) : log_(log) {}
    void Beep() override { log_.Add(testing::Beep()); }

private:
    Recorder& log_;
};

class FakeMessages : public Messages {
public:
    explicit FakeMessages(Recorder& log) : log_(log) {}
    void Show(const std::wstring& text, int style) override { log_.Add(Box(style, text)); }

private:
    Recorder& log_;
};

class FakeShell : public Shell {
public:
    explicit FakeShell(Recorder& log) : log_(log) {}
    void StartCommand(const std::wstring& command, int style) override {
        if (refuse)
            throw PlatformError(L"Access is denied.", PlatformError::Kind::Other,
                                L"C:\\windows\\cmd.exe");
        log_.Add(Start(style, command));
    }
    void StartProgram(const std::wstring& path, int style) override {
        if (refuse || path.empty() || missingPrograms.count(path)) {
            throw PlatformError(L"The system cannot find the file specified.",
                                PlatformError::Kind::Other, path);
        }
        log_.Add(Program(style, path));
    }
    bool refuse = false;
    std::set<std::wstring> missingPrograms;

private:
    Recorder& log_;
};

// Latin-1 stands in for the ANSI code page. The console's is ASCII, a few
// letters of code page 437 at other bytes than Latin-1's, and one ideograph
// in two bytes, as a double-byte code page writes it; nothing else has a form.
// Or, with utf8 set, both are UTF-8, as Windows' option of UTF-8 for every
// language makes them, which has a form for every character.
class FakeCodePage : public CodePage {
public:
    std::optional<std::string> ToConsole(const std::wstring& text) override;
    std::optional<std::string> ToAnsi(const std::wstring& text) override;
    std::wstring FromAnsi(const std::string& bytes) override;
    bool ConsoleIsUtf8() override { return utf8; }
    bool utf8 = false;
};

// An in-memory file system with Windows-style paths ("c:\games\zolv").
class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(Recorder& log) : log_(log) {}

    // Setting up the world.
    void AddDirectory(const std::wstring& path);  // and its parents
    void AddFile(const std::wstring& path, const std::string& bytes, bool hidden = false);
    std::set<wchar_t> unreadableDrives;
    std::set<std::wstring> readOnly;
    std::set<std::wstring> inUse;       // held open by another program
    std::set<std::wstring> notAllowed;  // directories this user may not change files in
    bool diskFull = false;              // a write stores half of its bytes, then fails
    std::wstring writeFailure;          // a write fails for this other reason
    void RemoveDirectory(const std::wstring& path);

    // Looking at it.
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> directories;
    std::wstring current = L"c:\\";
    std::map<wchar_t, std::wstring> driveCurrent{{L'c', L"c:\\"}};
    bool scriptOpen() const { return open_; }

    std::wstring CurrentDirectory() override { return current; }
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
    Recorder& log_;
    std::set<std::wstring> hidden_;
    bool open_ = false;
    std::wstring target_, work_;
};

class FakeCombo : public ComboView {
public:
    void AddItem(const std::wstring& text) override { items.push_back(text); }
    void SetText(const std::wstring& value) override { text = value; }
    std::wstring Text() override { return text; }
    std::vector<std::wstring> items;
    std::wstring text;
};

class FakeCheck : public CheckView {
public:
    int Value() override { return value; }
    int value = 0;
};

class FakeDrive : public DriveListView {
public:
    std::wstring Drive() override { return drive; }
    std::wstring drive = L"c: [SYSTEM]";  // empty: none chosen
};

class FakeDirList : public DirListView {
public:
    explicit FakeDirList(FileSystem& files) : files_(files) {}
    std::wstring Path() override { return path; }
    void SetPath(const std::wstring& text) override;
    std::wstring path = L"c:\\";

private:
    FileSystem& files_;
};

class FakeWindow : public WindowCommands {
public:
    explicit FakeWindow(Recorder& log) : log_(log) {}
    void ShowAbout() override { log_.Add(L"show about"); }
    void UnloadMain() override { log_.Add(L"unload main"); }
    void UnloadAbout() override { log_.Add(L"unload about"); }
    void EndProgram() override { log_.Add(L"end"); }

private:
    Recorder& log_;
};

}  // namespace zolv::testing
