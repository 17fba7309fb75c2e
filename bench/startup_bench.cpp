// Start-up time of a Windows program: from CreateProcessW until the program
// is idle (WaitForInputIdle) and its visible top-level window with the given
// caption exists, measured with QueryPerformanceCounter. With --memory, the
// program's working set and private bytes are read a moment after that, once
// the window has settled. Each run then closes the window (WM_CLOSE), waits
// for the process to end, and terminates it only as a last resort.
//
//     startup_bench --runs N --target LABEL EXE CAPTION
//                   [--baseline LABEL EXE CAPTION]... [--warmup N]
//                   [--cwd DIR] [--memory] [--open NAME] [--size LABEL FILE]...
//
// The programs start in turn, run after run, so that whatever else the
// machine does falls on all alike. Each starts in DIR (default: its own
// directory). Prints every run, each median in ms, the ratio of the target
// to each baseline, the memory medians and the sizes of the programs (and of
// each --size FILE). Exits 1 when a run fails.
//
// With --open NAME the time measured is instead that of opening the
// subdirectory NAME in the window's directory list once the program is up:
// from Enter on its highlighted entry until the list has been filled and
// painted.
// psapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <psapi.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "program/control_ids.h"

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kSettleMs = 300;  // before memory is read: the first paint and its aftermath

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

struct Program {
    std::wstring label;
    std::wstring path;
    std::wstring caption;
    std::vector<double> times;         // ms
    std::vector<double> workingSet;    // KiB
    std::vector<double> privateBytes;  // KiB
};

struct Run {
    double ms;
    double workingSetKiB = 0, privateKiB = 0;
};

struct Search {
    DWORD processId;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
    wchar_t text[256];
    int length = GetWindowTextW(window, text, 256);
    if (std::wstring(text, static_cast<size_t>(length)) != *search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindProgramWindow(DWORD processId, const std::wstring& caption) {
    Search search{processId, &caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

double Elapsed(LARGE_INTEGER start, LARGE_INTEGER frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

std::wstring DirectoryOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// One start: the time in ms, or nothing (with the reason printed) when the
// program did not come up.
// The time to open a subdirectory in the window's directory list, in ms, or
// nothing when the list has no such entry or stays as it was.
std::optional<double> OpenOnce(HWND window, const std::wstring& name, LARGE_INTEGER frequency) {
    HWND list = GetDlgItem(window, IDC_DIR);
    const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name.c_str()));
    if (index == LB_ERR) return std::nullopt;
    SendMessageW(list, LB_SETCURSEL, index, 0);
    const LRESULT before = SendMessageW(list, LB_GETCOUNT, 0, 0);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kStartTimeoutMs, &ignored);
    const double ms = Elapsed(start, frequency);
    if (SendMessageW(list, LB_GETCOUNT, 0, 0) == before) return std::nullopt;
    return ms;
}

std::optional<Run> StartOnce(const Program& program, const std::wstring& cwd, bool memory,
                             const std::wstring& open, LARGE_INTEGER frequency) {
    std::wstring commandLine = L"\"" + program.path + L"\"";
    std::wstring directory = cwd.empty() ? DirectoryOf(program.path) : cwd;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, directory.c_str(), &startup, &process)) {
        std::printf("  %s: CreateProcessW failed, error %lu\n", Utf8(program.label).c_str(),
                    GetLastError());
        return std::nullopt;
    }

    std::optional<Run> time;
    DWORD idle = WaitForInputIdle(process.hProcess, kStartTimeoutMs);
    HWND window = nullptr;
    if (idle == 0) {
        while (!(window = FindProgramWindow(process.dwProcessId, program.caption))) {
            if (Elapsed(start, frequency) > kStartTimeoutMs ||
                WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
                break;
            Sleep(1);
        }
        if (window) time = Run{Elapsed(start, frequency)};
    }
    const bool started = time.has_value();
    if (started && !open.empty()) {
        const std::optional<double> opened = OpenOnce(window, open, frequency);
        if (opened) {
            time->ms = *opened;
        } else {
            std::printf("  %s: \"%s\" did not open in the directory list\n",
                        Utf8(program.label).c_str(), Utf8(open).c_str());
            time.reset();
        }
    }
    if (time && memory) {
        Sleep(kSettleMs);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process.hProcess,
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof counters)) {
            time->workingSetKiB = static_cast<double>(counters.WorkingSetSize) / 1024.0;
            // Wine leaves PrivateUsage at 0 for other processes; the commit
            // charge (PagefileUsage) is the same figure on Windows.
            const SIZE_T privateBytes =
                counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
            time->privateKiB = static_cast<double>(privateBytes) / 1024.0;
        }
    }
    if (!started) {
        std::printf(
            "  %s: %s\n", Utf8(program.label).c_str(),
            idle != 0 ? "never became idle (WaitForInputIdle)"
                      : ("no visible window captioned \"" + Utf8(program.caption) + "\"").c_str());
    }

    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, window ? kExitTimeoutMs : 0) != WAIT_OBJECT_0) {
        if (window)
            std::printf("  %s: did not end after WM_CLOSE; terminated\n",
                        Utf8(program.label).c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kExitTimeoutMs);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return time;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void PrintSize(const std::wstring& label, const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        unsigned long long size =
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        std::printf("size %-28s %10llu bytes (%.1f KiB)  %s\n", Utf8(label).c_str(), size,
                    size / 1024.0, Utf8(path).c_str());
    } else {
        std::printf("size %-28s unknown: cannot read %s\n", Utf8(label).c_str(),
                    Utf8(path).c_str());
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: startup_bench --runs N --target LABEL EXE CAPTION\n"
                 "                     [--baseline LABEL EXE CAPTION]... [--warmup N]\n"
                 "                     [--cwd DIR] [--memory] [--open NAME] [--size LABEL "
                 "FILE]...\n");
    return 2;
}

std::wstring FileName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 0;
    int warmup = 1;
    std::wstring cwd, open;
    bool memory = false;
    std::vector<Program> programs;  // the target, then the baselines
    std::vector<std::pair<std::wstring, std::wstring>> sizes;
    for (int i = 1; i < argc; ++i) {
        std::wstring option = argv[i];
        if (option == L"--runs" && i + 1 < argc) {
            runs = _wtoi(argv[++i]);
        } else if (option == L"--warmup" && i + 1 < argc) {
            warmup = _wtoi(argv[++i]);
        } else if (option == L"--cwd" && i + 1 < argc) {
            cwd = argv[++i];
        } else if (option == L"--open" && i + 1 < argc) {
            open = argv[++i];
        } else if (option == L"--memory") {
            memory = true;
        } else if ((option == L"--target" || option == L"--baseline") && i + 3 < argc) {
            if ((option == L"--target") != programs.empty()) return Usage();
            programs.push_back({argv[i + 1], argv[i + 2], argv[i + 3], {}, {}, {}});
            i += 3;
        } else if (option == L"--size" && i + 2 < argc) {
            sizes.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else {
            return Usage();
        }
    }
    if (runs < 1 || warmup < 0 || programs.empty()) return Usage();

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (const Program& program : programs) {
        std::printf("%-12s %s, window \"%s\"\n", Utf8(program.label).c_str(),
                    Utf8(program.path).c_str(), Utf8(program.caption).c_str());
    }
    if (!cwd.empty()) std::printf("started in %s\n", Utf8(cwd).c_str());
    if (!open.empty()) std::printf("timed: opening %s in the directory list\n", Utf8(open).c_str());
    std::printf("%d runs each, in turn, after %d warm-up run%s each\n", runs, warmup,
                warmup == 1 ? "" : "s");

    for (int i = -warmup; i < runs; ++i) {
        std::string name = i < 0 ? "warm-up" : "run " + std::to_string(i + 1);
        char cell[96];
        std::snprintf(cell, sizeof cell, "%-8s", name.c_str());
        std::string line = cell;
        for (Program& program : programs) {
            std::optional<Run> run = StartOnce(program, cwd, memory, open, frequency);
            if (!run) {
                std::printf("FAIL: %s did not start as expected\n", Utf8(program.label).c_str());
                return 1;
            }
            if (i >= 0) {
                program.times.push_back(run->ms);
                program.workingSet.push_back(run->workingSetKiB);
                program.privateBytes.push_back(run->privateKiB);
            }
            std::snprintf(cell, sizeof cell, "  %s %7.1f ms", Utf8(program.label).c_str(), run->ms);
            line += cell;
        }
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

    std::printf("\n");
    for (const Program& program : programs) {
        std::printf("median %-12s %8.1f ms  (%s)\n", Utf8(program.label).c_str(),
                    Median(program.times), Utf8(FileName(program.path)).c_str());
    }
    const Program& target = programs[0];
    for (std::size_t b = 1; b < programs.size(); ++b) {
        std::printf("ratio %s / %s: %.2f\n", Utf8(target.label).c_str(),
                    Utf8(programs[b].label).c_str(),
                    Median(target.times) / Median(programs[b].times));
    }
    if (memory) {
        for (const Program& program : programs) {
            std::printf("memory %-12s working set %8.0f KiB, private bytes %8.0f KiB (medians)\n",
                        Utf8(program.label).c_str(), Median(program.workingSet),
                        Median(program.privateBytes));
        }
        for (std::size_t b = 1; b < programs.size(); ++b) {
            std::printf("memory ratio %s / %s: working set %.2f, private bytes %.2f\n",
                        Utf8(target.label).c_str(), Utf8(programs[b].label).c_str(),
                        Median(target.workingSet) / Median(programs[b].workingSet),
                        Median(target.privateBytes) / Median(programs[b].privateBytes));
        }
    }
    for (const Program& program : programs)
        PrintSize(program.label + L" " + FileName(program.path), program.path);
    for (const auto& [label, path] : sizes) PrintSize(label, path);
    return 0;
}
