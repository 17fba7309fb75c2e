// A stand-in for the emulator and the system information tool: each run appends
// "<current directory>\t<arguments>" to runs.txt beside it, and while a file
// named hold lies there it keeps running (up to a minute), as a game would.
#include <windows.h>

#include <string>

int wmain() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log = self;
    log = log.substr(0, log.find_last_of(L'\\') + 1) + L"runs.txt";

    // The arguments: the command line after the program's own name.
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') {
        line = wcschr(line + 1, L'"');
        line = line ? line + 1 : L"";
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;

    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring record = std::wstring(current) + L"\t" + line + L"\r\n";
    char bytes[4 * MAX_PATH * 2];
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, record.c_str(), -1, bytes, sizeof(bytes), nullptr, nullptr);

    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, bytes, size > 0 ? size - 1 : 0, &written, nullptr);
    CloseHandle(file);

    const std::wstring hold = log.substr(0, log.size() - 8) + L"hold";
    for (int i = 0; i < 600 && GetFileAttributesW(hold.c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    return 0;
}
