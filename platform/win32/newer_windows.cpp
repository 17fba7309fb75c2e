#include "platform/win32/newer_windows.h"

#include <atomic>
#include <string>

#include "platform/win32/ui.h"

namespace zolv {

namespace {

// A function of a DLL that the program has loaded anyway (kernel32, user32)
// or loads from the system directory; null where this Windows lacks it.
template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HMODULE User32() { return GetModuleHandleW(L"user32.dll"); }
HMODULE Kernel32() { return GetModuleHandleW(L"kernel32.dll"); }

}  // namespace

std::wstring SystemFile(const wchar_t* name) {
    wchar_t directory[MAX_PATH];
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    return std::wstring(directory, length) + L"\\" + name;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    const std::wstring path = SystemFile(name);
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

int DpiOfWindow(HWND window) {
    // Windows 10 1607 on.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        Lookup<GetDpiForWindowFunction>(User32(), "GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    // Windows 8.1: the monitor's effective DPI, from shcore.
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor =
        Lookup<GetDpiForMonitorFunction>(LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    if (getDpiForMonitor) {
        UINT x = 0, y = 0;
        const int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
        if (SUCCEEDED(getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                       kEffectiveDpi, &x, &y)) &&
            y) {
            return static_cast<int>(y);
        }
    }
    return SystemDpi();
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = Lookup<AdjustFunction>(User32(), "AdjustWindowRectExForDpi");
    if (adjust && adjust(rect, style, menu, exStyle, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(rect, style, menu, exStyle);
}

RECT VisibleFrame(HWND window) {
    using AttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    static const auto attribute =
        Lookup<AttributeFunction>(LoadSystemLibrary(L"dwmapi.dll"), "DwmGetWindowAttribute");
    const DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
    RECT frame = {};
    if (attribute && SUCCEEDED(attribute(window, kExtendedFrameBounds, &frame, sizeof(frame))) &&
        frame.right > frame.left && frame.bottom > frame.top)
        return frame;
    GetWindowRect(window, &frame);
    return frame;
}

int SystemMetricForDpi(int index, int dpi) {
    using MetricFunction = int(WINAPI*)(int, UINT);
    static const auto metric = Lookup<MetricFunction>(User32(), "GetSystemMetricsForDpi");
    if (metric) return metric(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

FINDEX_INFO_LEVELS FindInfoLevelForListing() {
    static const FINDEX_INFO_LEVELS level = [] {
        OSVERSIONINFOEXW version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        version.dwMajorVersion = 6;
        version.dwMinorVersion = 1;
        DWORDLONG condition = 0;
        condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
        condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
        const bool seven =
            VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
        return seven ? FindExInfoBasic : FindExInfoStandard;
    }();
    return level;
}

std::optional<std::wstring> InvariantUpperCaseByName(const std::wstring& text) {
    // Windows Vista on. The version record and the sort handle stay null.
    using MapFunction = int(WINAPI*)(const wchar_t* locale, DWORD flags, const wchar_t* source,
                                     int sourceLength, wchar_t* mapped, int mappedLength,
                                     void* version, void* reserved, LPARAM sortHandle);
    static const auto map = Lookup<MapFunction>(Kernel32(), "LCMapStringEx");
    if (!map) return std::nullopt;
    std::wstring upper(text);
    if (upper.empty()) return upper;
    const int length = static_cast<int>(upper.size());
    map(L"" /* LOCALE_NAME_INVARIANT */, LCMAP_UPPERCASE, text.data(), length, upper.data(), length,
        nullptr, nullptr, 0);
    return upper;
}

std::wstring InvariantUpperCaseById(const std::wstring& text) {
    std::wstring upper(text);
    if (upper.empty()) return upper;
    const int length = static_cast<int>(upper.size());
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), length, upper.data(), length);
    return upper;
}

std::wstring InvariantUpperCase(const std::wstring& text) {
    if (std::optional<std::wstring> upper = InvariantUpperCaseByName(text))
        return *std::move(upper);
    return InvariantUpperCaseById(text);
}

DWORD GetNetworkConnection(const wchar_t* localName, wchar_t* remoteName, DWORD* length) {
    using GetConnectionFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    static const auto getConnection =
        Lookup<GetConnectionFunction>(LoadSystemLibrary(L"mpr.dll"), "WNetGetConnectionW");
    if (!getConnection) return ERROR_NO_NETWORK;
    return getConnection(localName, remoteName, length);
}

namespace {

HMODULE Oleacc() {
    static const HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    return oleacc;
}

HMODULE Ole32() {
    static const HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    return ole32;
}

}  // namespace

HRESULT CreateStandardAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) {
    using CreateFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    static const auto create = Lookup<CreateFunction>(Oleacc(), "CreateStdAccessibleObject");
    if (!create) return E_NOTIMPL;
    return create(window, objectId, iid, object);
}

LRESULT ResultFromAccessibleObject(REFIID iid, WPARAM wp, IUnknown* object) {
    using ResultFunction = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);
    static const auto result = Lookup<ResultFunction>(Oleacc(), "LresultFromObject");
    if (!result) return 0;
    return result(iid, wp, object);
}

BSTR AllocateBstr(const wchar_t* text) {
    using AllocateFunction = BSTR(WINAPI*)(const OLECHAR*);
    static const auto allocate =
        Lookup<AllocateFunction>(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocString");
    if (!allocate) return nullptr;
    return allocate(text);
}

HRESULT StartCom() {
    using InitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
    static const auto initialize = Lookup<InitializeFunction>(Ole32(), "CoInitializeEx");
    if (!initialize) return E_NOTIMPL;
    return initialize(nullptr, COINIT_APARTMENTTHREADED);
}

void EndCom() {
    using UninitializeFunction = void(WINAPI*)();
    static const auto uninitialize = Lookup<UninitializeFunction>(Ole32(), "CoUninitialize");
    if (uninitialize) uninitialize();
}

HRESULT CreateComObject(REFCLSID type, REFIID iid, void** object) {
    using CreateFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    static const auto create = Lookup<CreateFunction>(Ole32(), "CoCreateInstance");
    if (!create) return E_NOTIMPL;
    return create(type, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

}  // namespace zolv

// --- GetTickCount64 for the threading runtime ----------------------------------------------------
//
// The C++ runtime's threads (winpthreads, linked in statically) time their
// waits with GetTickCount64, which Windows XP lacks: imported from kernel32,
// it would keep the exe from loading there at all. The import's pointer is
// defined here instead, so the linker takes it rather than kernel32's entry
// (zolv_win32 makes every program that links it pull this in). Its first call
// looks the function up and puts what it found in its place, or, on XP, a
// 64-bit count built from GetTickCount.

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// The wraps of the 32-bit count in the high half, the count last seen in the
// low half: one word, so that threads asking at once count each wrap once.
// The count never goes back; only a gap of more than 49.7 days between two
// calls, a wrap and more, would make it count short.
std::atomic<ULONGLONG> tickCountState{0};

ULONGLONG WINAPI TickCount64FromTickCount() {
    ULONGLONG seen = tickCountState.load();
    for (;;) {
        const DWORD now = GetTickCount();
        ULONGLONG next = (seen & ~0xFFFFFFFFull) | now;
        if (now < static_cast<DWORD>(seen)) next += 1ull << 32;
        if (next == seen || tickCountState.compare_exchange_weak(seen, next)) return next;
    }
}

ULONGLONG WINAPI FirstTickCount64();

}  // namespace

#if defined(__i386__)
#define ZOLV_TICK_COUNT_64_IMPORT "__imp__GetTickCount64@0"
#else
#define ZOLV_TICK_COUNT_64_IMPORT "__imp_GetTickCount64"
#endif
extern "C" TickCount64Function zolvTickCount64Import __asm__(ZOLV_TICK_COUNT_64_IMPORT);
TickCount64Function zolvTickCount64Import = FirstTickCount64;

namespace {

ULONGLONG WINAPI FirstTickCount64() {
    TickCount64Function found =
        zolv::Lookup<TickCount64Function>(zolv::Kernel32(), "GetTickCount64");
    if (!found) found = TickCount64FromTickCount;
    // Threads that come here at once all store the same pointer.
    __atomic_store_n(&zolvTickCount64Import, found, __ATOMIC_RELEASE);
    return found();
}

}  // namespace
