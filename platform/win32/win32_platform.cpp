#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "platform/paths.h"
#include "platform/win32/newer_windows.h"

namespace zolv {

namespace {

using Kind = PlatformError::Kind;

Kind KindOf(DWORD error) {
    switch (error) {
        case ERROR_PATH_NOT_FOUND:  // Wine lets the current directory be removed
            return Kind::NoSuchDirectory;
        case ERROR_ACCESS_DENIED:  // in Program Files: asInvoker turns the redirection off
            return Kind::AccessDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return Kind::DiskFull;
    }
    return Kind::Other;
}

[[noreturn]] void Fail(DWORD error, Kind kind, const std::wstring& path = {}) {
    throw PlatformError(SystemReason(error), kind, path);
}

[[noreturn]] void Fail(DWORD error = GetLastError()) { Fail(error, KindOf(error)); }

// A file another program has open cannot be opened for itself alone. Windows
// refuses to replace it as a sharing violation or "access denied", Wine as the latter.
bool HeldByAnotherProgram(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

// A virus scanner, the indexer or a sync tool opens a file the moment it is closed,
// and the replace is refused while it reads: tried again for about 1.5 s in all.
bool ReplaceRetrying(const std::wstring& from, const std::wstring& to) {
    for (const DWORD wait : {50, 100, 200, 400, 800, 0}) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();  // left for the caller
        if (wait == 0 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) break;
        Sleep(wait);
    }
    return false;
}

// A text a function gives at any length: asked for its size first; empty where it fails.
template <typename Get>
std::wstring AnyLength(Get get) {
    std::wstring text(get(0, nullptr), L'\0');
    if (text.empty()) return text;
    const DWORD length = get(static_cast<DWORD>(text.size()), text.data());
    text.resize(length < text.size() ? length : 0);
    return text;
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full = AnyLength([&](DWORD size, wchar_t* text) {
        return GetFullPathNameW(path.c_str(), size, text, nullptr);
    });
    if (full.empty()) Fail();
    return full;
}

// Beyond MAX_PATH, the long-path form, which Windows passes through untouched:
// only for a full path with no "." or ".." in it.
std::wstring AtAnyLength(const std::wstring& full) {
    if (full.size() < MAX_PATH || full.compare(0, 4, L"\\\\?\\") == 0) return full;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

constexpr DWORD kDirectoryHiddenSystem =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct FindHandle {
    HANDLE handle;
    ~FindHandle() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};

// Empty bytes decode to an empty text: the count of none fails.
std::wstring Decoded(UINT codePage, const std::string& bytes) {
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(size > 0 ? size : 0, L'\0');
    if (size > 0) MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), size);
    return text;
}

// Never a best-fit look-alike or the default character: both are turned off or
// reported, and what slips past them does not survive the way back.
std::optional<std::string> Encoded(UINT codePage, const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    // UTF-8 has a form for every character and takes neither the flag nor the report.
    const bool utf8 = codePage == CP_UTF8;
    BOOL usedDefault = FALSE;
    // Room for the most a console or ANSI code page takes for a unit; more would refuse.
    std::string bytes(text.size() * 4, '\0');
    const int size = WideCharToMultiByte(codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text.data(),
                                         length, bytes.data(), static_cast<int>(bytes.size()),
                                         nullptr, utf8 ? nullptr : &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    bytes.resize(size);
    if (Decoded(codePage, bytes) != text) return std::nullopt;
    return bytes;
}

void Run(const wchar_t* program, std::wstring commandLine, DWORD flags, int windowStyle,
         const std::wstring& path) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process = {};
    // The system's default error mode, as from Explorer, not the loader's without disk prompts.
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE,
                        flags | CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process))
        Fail(GetLastError(), Kind::Other, path);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// A message box breaks lines only at blanks, and a long path would run off the
// screen: 64 characters at most a line, broken after a separator where there is one.
std::wstring WithLongWordsBroken(const std::wstring& text) {
    constexpr std::size_t kLongestRun = 64;
    std::wstring broken;
    std::size_t runStart = 0;  // where the current line's run of non-blanks begins
    for (wchar_t c : text) {
        if (!std::iswspace(c) && broken.size() - runStart == kLongestRun) {
            const std::size_t afterSeparator = broken.find_last_of(L"\\/") + 1;  // 0 for none
            const std::size_t at = afterSeparator > runStart ? afterSeparator : broken.size();
            broken.insert(at, 1, L'\n');
            runStart = at + 1;
        }
        broken += c;
        if (std::iswspace(c)) runStart = broken.size();
    }
    return broken;
}

}  // namespace

std::wstring SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : std::wstring();
    if (text) LocalFree(text);
    while (!reason.empty() && std::iswspace(reason.back())) reason.pop_back();
    if (reason.empty()) reason = L"system error " + std::to_wstring(error);
    return reason;
}

// Wine lets a directory of any length be current.
std::wstring CurrentDirectoryOrEmpty() { return AnyLength(GetCurrentDirectoryW); }

std::wstring Win32FileSystem::CurrentDirectory() {
    std::wstring directory = CurrentDirectoryOrEmpty();
    if (directory.empty()) Fail();
    return directory;
}

void Win32FileSystem::ChangeDrive(wchar_t letter) {
    if (!SetCurrentDirectoryW(std::wstring{letter, L':'}.c_str())) Fail();
}

void Win32FileSystem::ChangeDirectory(const std::wstring& path) {
    if (!SetCurrentDirectoryW(path.c_str())) {
        const DWORD error = GetLastError();
        Fail(error, error == ERROR_FILE_NOT_FOUND ? Kind::NoSuchDirectory : KindOf(error));
    }
}

void Win32FileSystem::CreateScript(const std::wstring& name) {
    CloseScript();
    const std::wstring full = FullPath(name);
    scriptPath_ = AtAnyLength(full);
    workPath_ = AtAnyLength(full + L".saving");
    // A folder in the way would fail only the rename, as "access denied"; a
    // read-only script Wine's rename would replace anyway. So both are looked for first.
    const DWORD attributes = GetFileAttributesW(scriptPath_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        Fail(ERROR_ACCESS_DENIED,
             attributes & FILE_ATTRIBUTE_DIRECTORY ? Kind::FolderInTheWay : Kind::ReadOnly);
    script_ = CreateFileW(workPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (script_ == INVALID_HANDLE_VALUE) Fail();
}

void Win32FileSystem::WriteScript(const std::string& bytes) {
    DWORD written = 0;
    if (!WriteFile(script_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        Fail();
    if (written != bytes.size()) Fail(ERROR_DISK_FULL);
}

void Win32FileSystem::CommitScript() {
    DWORD error = FlushFileBuffers(script_) ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(script_) && error == ERROR_SUCCESS) error = GetLastError();
    script_ = INVALID_HANDLE_VALUE;
    if (error != ERROR_SUCCESS) {
        DeleteFileW(workPath_.c_str());
        Fail(error);
    }
    if (!ReplaceRetrying(workPath_, scriptPath_)) {
        error = GetLastError();
        // Either file may be the one held: the new one is looked at before it goes.
        const bool inUse = error == ERROR_SHARING_VIOLATION ||
                           (error == ERROR_ACCESS_DENIED &&
                            (HeldByAnotherProgram(scriptPath_) || HeldByAnotherProgram(workPath_)));
        DeleteFileW(workPath_.c_str());
        Fail(error, inUse ? Kind::InUse : KindOf(error));
    }
}

void Win32FileSystem::CloseScript() {
    if (script_ == INVALID_HANDLE_VALUE) return;
    CloseHandle(script_);
    script_ = INVALID_HANDLE_VALUE;
    DeleteFileW(workPath_.c_str());
}

std::wstring Win32FileSystem::ResolveDirectory(const std::wstring& path) {
    std::wstring full = FullPath(path);
    // "d:" resolves with a trailing separator; only a root keeps one.
    while (full.size() > 3 && IsSeparator(full.back())) full.pop_back();
    const DWORD attributes = GetFileAttributesW(AtAnyLength(full).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) Fail();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) Fail(ERROR_DIRECTORY);
    return full;
}

std::vector<std::wstring> Win32FileSystem::Subdirectories(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    FindHandle find{FindFirstFileExW(AtAnyLength(InDirectory(path, L"*")).c_str(),
                                     FindInfoLevelForListing(), &found,
                                     FindExSearchLimitToDirectories, nullptr, 0)};
    if (find.handle == INVALID_HANDLE_VALUE) {
        // An empty root (a new USB stick) has no "." and ".." to match, unlike Wine's.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return {};
        Fail(error);
    }
    // Ordered by the file system's upper case, as CompareStringOrdinal ignores
    // case, made once a name rather than twice a comparison.
    std::vector<std::pair<std::wstring, std::wstring>> keyed;
    do {
        const std::wstring name = found.cFileName;
        const DWORD kind = found.dwFileAttributes & kDirectoryHiddenSystem;
        if (kind == FILE_ATTRIBUTE_DIRECTORY && name != L"." && name != L"..")
            keyed.emplace_back(InvariantUpperCase(name), name);
    } while (FindNextFileW(find.handle, &found));
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::wstring> names;
    names.reserve(keyed.size());
    for (auto& entry : keyed) names.push_back(std::move(entry.second));
    return names;
}

std::wstring Win32FileSystem::FindFile(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    FindHandle find{FindFirstFileW(path.c_str(), &found)};
    if (find.handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_NO_MORE_FILES)
            return std::wstring();
        Fail(error);
    }
    do {
        if (!(found.dwFileAttributes & kDirectoryHiddenSystem)) return found.cFileName;
    } while (FindNextFileW(find.handle, &found));
    return std::wstring();
}

// On most systems not the ANSI one: the same bytes are other letters.
std::optional<std::string> Win32CodePage::ToConsole(const std::wstring& text) {
    return Encoded(GetOEMCP(), text);
}

std::optional<std::string> Win32CodePage::ToAnsi(const std::wstring& text) {
    return Encoded(GetACP(), text);
}

std::wstring Win32CodePage::FromAnsi(const std::string& bytes) { return Decoded(GetACP(), bytes); }

void Win32Shell::StartCommand(const std::wstring& command, int windowStyle) {
    // Without ComSpec, the system's own by its full path: a bare "cmd.exe"
    // would be looked for first in the current directory, the game's.
    std::wstring interpreter = AnyLength(
        [](DWORD size, wchar_t* text) { return GetEnvironmentVariableW(L"ComSpec", text, size); });
    if (interpreter.empty()) interpreter = SystemFile(L"cmd.exe");
    // "start" is the interpreter's own; the user sees only the window it opens.
    Run(nullptr, Quoted(interpreter) + L" /c " + command, CREATE_NO_WINDOW, windowStyle,
        interpreter);
}

void Win32Shell::StartProgram(const std::wstring& path, int windowStyle) {
    // Named apart from its command line, a path with blanks is neither split nor searched for.
    if (path.empty()) Fail(ERROR_PATH_NOT_FOUND, Kind::Other, path);
    Run(path.c_str(), Quoted(path), 0, windowStyle, path);
}

void Win32Messages::Show(const std::wstring& text, int style) {
    MessageBoxW(owner_, WithLongWordsBroken(text).c_str(), title_.c_str(),
                static_cast<UINT>(style));
}

long Win32Registry::OpenKey(std::uint32_t root, const std::wstring& keyName, std::uint32_t options,
                            std::uint32_t access, RegistryKey* key) {
    *key = 0;
    const std::optional<std::string> name = Win32CodePage().ToAnsi(keyName);
    if (!name) return ERROR_INVALID_PARAMETER;
    // The predefined roots are sign-extended 32-bit values on 64-bit Windows.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootKey, name->c_str(), options, access, &opened);
    *key = result == ERROR_SUCCESS ? reinterpret_cast<RegistryKey>(opened) : 0;
    return result;
}

long Win32Registry::QueryValue(RegistryKey key, const std::wstring& valueName, std::uint32_t* type,
                               unsigned char* data, std::uint32_t* length) {
    const std::optional<std::string> name = Win32CodePage().ToAnsi(valueName);
    if (!name) return ERROR_INVALID_PARAMETER;
    DWORD valueType = 0, size = *length;
    const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name->c_str(), nullptr,
                                         &valueType, data, &size);
    *type = valueType;
    *length = size;
    return result;
}

void Win32Registry::CloseKey(RegistryKey key) {
    if (key != 0) RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace zolv
