#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <cwctype>
#include <utility>
#include <vector>

#include "platform/win32/newer_windows.h"

namespace zolv {

namespace {

using Kind = PlatformError::Kind;

[[noreturn]] void Fail(const std::wstring& what, DWORD error = GetLastError(),
                       Kind kind = Kind::Other) {
    throw PlatformError(what + L": " + SystemReason(error), kind);
}

bool IsNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// What the logic can say of a failed write in the user's terms.
Kind WriteFailureKind(DWORD error) {
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return Kind::DiskFull;
    // As a standard user in Program Files: the manifest's asInvoker turns
    // off the file virtualisation that would otherwise redirect the write.
    if (error == ERROR_ACCESS_DENIED) return Kind::AccessDenied;
    return Kind::Other;
}

// Whether another program has a file open: then it cannot be opened for
// itself alone. Windows refuses to replace such a file with a sharing
// violation or with "access denied", Wine always with the latter, so the
// code alone does not tell it from a file that may not be written.
bool HeldByAnotherProgram(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// Puts one file in the place of another. A virus scanner, the search indexer
// or a backup or sync tool opens a file the moment it is closed, often
// without leave to delete it, and while it reads either file the replace is
// refused: "access denied" where the file replaced is held, a sharing
// violation where the new one is. So those two are tried again, for about a
// second and a half in all, before the replace counts as failed; the last
// error is left for the caller.
bool ReplaceRetrying(const std::wstring& from, const std::wstring& to) {
    DWORD error = ERROR_SUCCESS;
    for (const DWORD wait : {50, 100, 200, 400, 800, 0}) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        error = GetLastError();
        if (wait == 0 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) break;
        Sleep(wait);
    }
    SetLastError(error);
    return false;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring FullPath(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) Fail(L"The path " + Quoted(path) + L" is not valid");
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) Fail(L"The path " + Quoted(path) + L" is not valid");
    full.resize(length);
    return full;
}

// A full path as the file functions take it at any length: beyond MAX_PATH,
// in the long-path form, which Windows takes from XP on but passes through
// untouched, so only a full path with no "." or ".." in it.
std::wstring AtAnyLength(const std::wstring& full) {
    if (full.size() < MAX_PATH || full.compare(0, 4, L"\\\\?\\") == 0) return full;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::wstring InDirectory(const std::wstring& directory, const std::wstring& name) {
    const bool separated =
        !directory.empty() && (directory.back() == L'\\' || directory.back() == L'/');
    return separated ? directory + name : directory + L"\\" + name;
}

struct FindHandle {
    HANDLE handle;
    ~FindHandle() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};

STARTUPINFOW StartupWithShow(int windowStyle) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    return startup;
}

// An environment variable at any length; empty where it is not set.
std::wstring Environment(const wchar_t* name) {
    std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    if (value.empty()) return value;
    const DWORD length =
        GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

HKEY RootHandle(std::uint32_t root) {
    // The predefined roots are sign-extended 32-bit values on 64-bit Windows.
    return reinterpret_cast<HKEY>(
        static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
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

// --- files ---------------------------------------------------------------------------------------

std::wstring CurrentDirectoryOrEmpty() {
    // Asked for its length first: Wine lets a directory of any length be current.
    std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
    if (directory.empty()) return directory;
    const DWORD length =
        GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
    directory.resize(length < directory.size() ? length : 0);
    return directory;
}

Win32FileSystem::~Win32FileSystem() { CloseScript(); }

std::wstring Win32FileSystem::CurrentDirectory() {
    std::wstring directory = CurrentDirectoryOrEmpty();
    if (directory.empty()) Fail(L"The current directory could not be read");
    return directory;
}

void Win32FileSystem::ChangeDrive(wchar_t letter) {
    // "d:" alone names the drive at its own current directory.
    const std::wstring drive{letter, L':'};
    if (!SetCurrentDirectoryW(drive.c_str()))
        Fail(L"The drive " + drive + L" could not be made current");
}

void Win32FileSystem::ChangeDirectory(const std::wstring& path) {
    if (!SetCurrentDirectoryW(path.c_str())) {
        const DWORD error = GetLastError();
        Fail(L"The directory " + Quoted(path) + L" could not be made current", error,
             IsNotFound(error)              ? Kind::NoSuchDirectory
             : error == ERROR_ACCESS_DENIED ? Kind::AccessDenied
                                            : Kind::Other);
    }
}

void Win32FileSystem::CreateScript(const std::wstring& name) {
    CloseScript();
    scriptPath_ = FullPath(name);
    workPath_ = scriptPath_ + L".saving";
    // Reasons name the script and its directory, never the file beside it,
    // which the user never sees.
    name_ = name;
    where_ = Quoted(CurrentDirectoryOrEmpty());
    const std::wstring& where = where_;
    // A folder of the script's name would only fail the rename at the end,
    // as "access denied". A read-only script is the user's way of keeping
    // it; Wine would let the rename below replace it anyway, so look first.
    const DWORD attributes = GetFileAttributesW(AtAnyLength(scriptPath_).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(name + L" in " + where + L" is a folder", ERROR_ACCESS_DENIED, Kind::FolderInTheWay);
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        Fail(name + L" in " + where + L" is read-only and could not be replaced",
             ERROR_ACCESS_DENIED, Kind::ReadOnly);
    }
    script_ = CreateFileW(AtAnyLength(workPath_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (script_ == INVALID_HANDLE_VALUE) {
        // Wine lets the current directory be removed.
        const DWORD error = GetLastError();
        Fail(name + L" could not be created in " + where, error,
             error == ERROR_PATH_NOT_FOUND ? Kind::NoSuchDirectory : WriteFailureKind(error));
    }
}

void Win32FileSystem::WriteScript(const std::string& bytes) {
    DWORD written = 0;
    const std::wstring failed = name_ + L" could not be written in " + where_;
    if (!WriteFile(script_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        const DWORD error = GetLastError();
        Fail(failed, error, WriteFailureKind(error));
    }
    if (written != bytes.size()) Fail(failed, ERROR_DISK_FULL, Kind::DiskFull);
}

void Win32FileSystem::CommitScript() {
    const bool flushed = FlushFileBuffers(script_);
    const DWORD flushError = GetLastError();
    const bool closed = CloseHandle(script_);
    script_ = INVALID_HANDLE_VALUE;
    if (!flushed || !closed) {
        const DWORD error = flushed ? GetLastError() : flushError;
        DeleteFileW(AtAnyLength(workPath_).c_str());
        Fail(name_ + L" could not be written in " + where_, error, WriteFailureKind(error));
    }
    const std::wstring work = AtAnyLength(workPath_), script = AtAnyLength(scriptPath_);
    if (!ReplaceRetrying(work, script)) {
        const DWORD error = GetLastError();
        // Either file may be the one held: the new one is looked at before it goes.
        const bool inUse = error == ERROR_SHARING_VIOLATION ||
                           (error == ERROR_ACCESS_DENIED &&
                            (HeldByAnotherProgram(script) || HeldByAnotherProgram(work)));
        DeleteFileW(work.c_str());
        Fail(Quoted(scriptPath_) + L" could not be replaced", error,
             inUse ? Kind::InUse : WriteFailureKind(error));
    }
}

void Win32FileSystem::CloseScript() {
    if (script_ == INVALID_HANDLE_VALUE) return;
    CloseHandle(script_);
    script_ = INVALID_HANDLE_VALUE;
    DeleteFileW(AtAnyLength(workPath_).c_str());
}

std::wstring Win32FileSystem::ResolveDirectory(const std::wstring& path) {
    std::wstring full = FullPath(path);
    // "d:" resolves with a trailing separator; only a root keeps one.
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    const DWORD attributes = GetFileAttributesW(AtAnyLength(full).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) Fail(Quoted(full) + L" cannot be read");
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(Quoted(full) + L" is not a directory", ERROR_DIRECTORY);
    }
    return full;
}

std::vector<std::wstring> Win32FileSystem::Subdirectories(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    FindHandle find{FindFirstFileExW(AtAnyLength(InDirectory(path, L"*")).c_str(),
                                     FindInfoLevelForListing(), &found,
                                     FindExSearchLimitToDirectories, nullptr, 0)};
    if (find.handle == INVALID_HANDLE_VALUE) {
        // A volume's root has no "." and "..": on an empty one (a new USB
        // stick or SD card) nothing matches at all, which is an empty list,
        // not a drive that cannot be read. (Wine lists both in every
        // directory, so there it never comes to this.)
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return {};
        Fail(Quoted(path) + L" cannot be read", error);
    }
    // Each name with its key for the order without regard to case: upper
    // case by the file system's rules, as CompareStringOrdinal ignores case,
    // made once a name rather than twice a comparison.
    std::vector<std::pair<std::wstring, std::wstring>> keyed;
    do {
        const wchar_t* name = found.cFileName;
        const bool dots = name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2]));
        const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & hidden) && !dots) {
            keyed.emplace_back(InvariantUpperCase(name), name);
        }
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
            error == ERROR_NO_MORE_FILES) {
            return std::wstring();
        }
        Fail(Quoted(path) + L" cannot be searched", error);
    }
    const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (!(found.dwFileAttributes & excluded)) return found.cFileName;
    } while (FindNextFileW(find.handle, &found));
    return std::wstring();
}

// --- code page -----------------------------------------------------------------------------------

namespace {

std::wstring Decoded(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(size > 0 ? size : 0, L'\0');
    if (size > 0) MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), size);
    return text;
}

// A character without a form in the code page would otherwise come out as a
// best-fit look-alike or as the default character, and the text would change
// unseen: best fit is turned off, the default character reported, and what a
// code page lets slip past both does not survive the way back.
std::optional<std::string> Encoded(UINT codePage, const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    // UTF-8 (Windows' optional code page for every locale) has a form for every
    // character and takes neither the flag nor the report.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const report = utf8 ? nullptr : &usedDefault;
    const int size =
        WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, report);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string bytes(size, '\0');
    if (WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), size, nullptr,
                            report) != size ||
        usedDefault || Decoded(codePage, bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

// The command interpreter reads a batch file in the console's code page,
// which on most systems is not the ANSI one: the same bytes are other letters.
std::optional<std::string> Win32CodePage::ToConsole(const std::wstring& text) {
    return Encoded(GetOEMCP(), text);
}

std::optional<std::string> Win32CodePage::ToAnsi(const std::wstring& text) {
    return Encoded(GetACP(), text);
}

std::wstring Win32CodePage::FromAnsi(const std::string& bytes) { return Decoded(GetACP(), bytes); }

bool Win32CodePage::ConsoleIsUtf8() { return GetOEMCP() == CP_UTF8; }

// --- shell ---------------------------------------------------------------------------------------

namespace {

// The loader turns off the system's critical-error boxes for itself (a drive
// without a medium gets its own message), and a process started without this
// flag inherits that mode: the game would never ask for a disk either. With
// it, each program starts in the system's default mode, as from Explorer.
constexpr DWORD kOwnErrorMode = CREATE_DEFAULT_ERROR_MODE;

}  // namespace

void Win32Shell::StartCommand(const std::wstring& command, int windowStyle) {
    // "start" is the command interpreter's own command, not a program. The
    // interpreter runs without a console of its own, so the user sees only
    // the window that "start" opens.
    // Where ComSpec is not set, the interpreter is the system's own, by its
    // full path: a bare "cmd.exe" would be searched for first beside the
    // loader and in the current directory, the game's, where one from a game
    // pack or a download would run in its place.
    std::wstring interpreter = Environment(L"ComSpec");
    if (interpreter.empty()) interpreter = SystemFile(L"cmd.exe");
    std::wstring commandLine = Quoted(interpreter) + L" /c " + command;
    STARTUPINFOW startup = StartupWithShow(windowStyle);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | kOwnErrorMode, nullptr, nullptr, &startup, &process)) {
        Fail(L"The command interpreter " + Quoted(interpreter) + L" could not run \"" + command +
             L"\"");
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Win32Shell::StartProgram(const std::wstring& path, int windowStyle) {
    // The program is named apart from the command line, so a path with
    // blanks can be neither split nor searched for.
    std::wstring commandLine = Quoted(path);
    STARTUPINFOW startup = StartupWithShow(windowStyle);
    PROCESS_INFORMATION process = {};
    if (path.empty() || !CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                        kOwnErrorMode, nullptr, nullptr, &startup, &process)) {
        Fail(Quoted(path) + L" could not be started",
             path.empty() ? ERROR_PATH_NOT_FOUND : GetLastError());
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// --- sound and messages --------------------------------------------------------------------------

void Win32Sound::Beep() { MessageBeep(MB_OK); }

namespace {

// A message box breaks lines only at blanks, and a path is one word: a long
// one would make the box wider than the screen and run off both sides. A run
// without a blank is broken onto lines of 64 characters at most, after its
// last separator within them where it has one.
std::wstring WithLongWordsBroken(const std::wstring& text) {
    constexpr std::size_t kLongestRun = 64;
    std::wstring broken;
    std::size_t runStart = 0;  // where the current line's run of non-blanks begins
    for (wchar_t c : text) {
        if (std::iswspace(c)) {
            broken += c;
            runStart = broken.size();
            continue;
        }
        if (broken.size() - runStart == kLongestRun) {
            const std::size_t separator = broken.find_last_of(L"\\/");
            const bool atSeparator = separator != std::wstring::npos && separator >= runStart;
            const std::size_t at = atSeparator ? separator + 1 : broken.size();
            broken.insert(at, 1, L'\n');
            runStart = at + 1;
        }
        broken += c;
    }
    return broken;
}

}  // namespace

void Win32Messages::Show(const std::wstring& text, int style) {
    MessageBoxW(owner_, WithLongWordsBroken(text).c_str(), title_.c_str(),
                static_cast<UINT>(style));
}

// --- registry ------------------------------------------------------------------------------------

long Win32Registry::OpenKey(std::uint32_t root, const std::wstring& keyName, std::uint32_t options,
                            std::uint32_t access, RegistryKey* key) {
    *key = 0;
    const std::optional<std::string> name = Win32CodePage().ToAnsi(keyName);
    if (!name) return ERROR_INVALID_PARAMETER;
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(RootHandle(root), name->c_str(), options, access, &opened);
    *key = result == ERROR_SUCCESS ? reinterpret_cast<RegistryKey>(opened) : 0;
    return result;
}

long Win32Registry::QueryValue(RegistryKey key, const std::wstring& valueName, std::uint32_t* type,
                               unsigned char* data, std::uint32_t* length) {
    const std::optional<std::string> name = Win32CodePage().ToAnsi(valueName);
    if (!name) return ERROR_INVALID_PARAMETER;
    DWORD valueType = 0;
    DWORD size = *length;
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
