#include "platform/win32/newer_windows.h"

#include <atomic>

#include "platform/win32/ui.h"

namespace zolv {

namespace {

// Null where this Windows lacks the function.
template <typename Function>
Function Lookup(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HMODULE User32() { return GetModuleHandleW(L"user32.dll"); }

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
    static const auto forWindow = Lookup<UINT(WINAPI*)(HWND)>(User32(), "GetDpiForWindow");
    if (const UINT dpi = forWindow ? forWindow(window) : 0) return static_cast<int>(dpi);
    // Windows 8.1: the monitor's effective DPI (MDT_EFFECTIVE_DPI, 0).
    static const auto forMonitor = Lookup<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)>(
        LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (forMonitor &&
        SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && y)
        return static_cast<int>(y);
    return SystemDpi();
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    static const auto adjust = Lookup<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
        User32(), "AdjustWindowRectExForDpi");
    if (adjust && adjust(rect, style, menu, exStyle, static_cast<UINT>(dpi))) return;
    AdjustWindowRectEx(rect, style, menu, exStyle);
}

RECT VisibleFrame(HWND window) {
    // Missing or refused (XP, composition off): the frame is drawn whole.
    static const auto attribute = Lookup<HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD)>(
        LoadSystemLibrary(L"dwmapi.dll"), "DwmGetWindowAttribute");
    const DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
    RECT frame = {};
    if (attribute && SUCCEEDED(attribute(window, kExtendedFrameBounds, &frame, sizeof(frame))) &&
        frame.right > frame.left && frame.bottom > frame.top)
        return frame;
    GetWindowRect(window, &frame);
    return frame;
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto metric = Lookup<int(WINAPI*)(int, UINT)>(User32(), "GetSystemMetricsForDpi");
    return metric ? metric(index, static_cast<UINT>(dpi))
                  : MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

FINDEX_INFO_LEVELS FindInfoLevelForListing() {
    // Windows 8 on says 6.2 unless the manifest names a later one: 6.1 or more either way.
    const DWORD version = GetVersion();
    return MAKEWORD(HIBYTE(LOWORD(version)), LOBYTE(LOWORD(version))) >= 0x0601
               ? FindExInfoBasic
               : FindExInfoStandard;
}

std::wstring InvariantUpperCase(const std::wstring& text) {
    std::wstring upper(text);
    const int length = static_cast<int>(text.size());
    if (length)
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), length, &upper[0], length);
    return upper;
}

DWORD GetNetworkConnection(const wchar_t* localName, wchar_t* remoteName, DWORD* length) {
    static const auto get = Lookup<DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD)>(
        LoadSystemLibrary(L"mpr.dll"), "WNetGetConnectionW");
    return get ? get(localName, remoteName, length) : ERROR_NO_NETWORK;
}

HRESULT CreateStandardAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) {
    static const auto create = Lookup<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)>(
        LoadSystemLibrary(L"oleacc.dll"), "CreateStdAccessibleObject");
    return create ? create(window, objectId, iid, object) : E_NOTIMPL;
}

LRESULT ResultFromAccessibleObject(REFIID iid, WPARAM wp, IUnknown* object) {
    static const auto result = Lookup<LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*)>(
        LoadSystemLibrary(L"oleacc.dll"), "LresultFromObject");
    return result ? result(iid, wp, object) : 0;
}

BSTR AllocateBstr(const wchar_t* text) {
    static const auto allocate =
        Lookup<BSTR(WINAPI*)(const OLECHAR*)>(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocString");
    return allocate ? allocate(text) : nullptr;
}

HRESULT StartCom() {
    static const auto initialize =
        Lookup<HRESULT(WINAPI*)(void*, DWORD)>(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx");
    return initialize ? initialize(nullptr, COINIT_APARTMENTTHREADED) : E_NOTIMPL;
}

void EndCom() {
    static const auto uninitialize =
        Lookup<void(WINAPI*)()>(LoadSystemLibrary(L"ole32.dll"), "CoUninitialize");
    if (uninitialize) uninitialize();
}

HRESULT CreateComObject(REFCLSID type, REFIID iid, void** object) {
    static const auto create = Lookup<HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(
        LoadSystemLibrary(L"ole32.dll"), "CoCreateInstance");
    return create ? create(type, nullptr, CLSCTX_INPROC_SERVER, iid, object) : E_NOTIMPL;
}

}  // namespace zolv

// winpthreads imports GetTickCount64, which XP lacks and would not load the exe without: the
// import's pointer is defined here, so the linker takes it over kernel32's entry, and its
// first call puts the function found there, or on XP a count built from GetTickCount.

using TickCount64Function = ULONGLONG(WINAPI*)();

#if defined(__i386__)
#define ZOLV_TICK_COUNT_64_IMPORT "__imp__GetTickCount64@0"
#else
#define ZOLV_TICK_COUNT_64_IMPORT "__imp_GetTickCount64"
#endif
extern "C" TickCount64Function zolvTickCount64Import __asm__(ZOLV_TICK_COUNT_64_IMPORT);

namespace {

// The wraps in the high half, the count last seen in the low: one word, so that threads asking
// at once count each wrap once. A gap of over 49.7 days between two calls would count short.
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

ULONGLONG WINAPI FirstTickCount64() {
    TickCount64Function found =
        zolv::Lookup<TickCount64Function>(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64");
    if (!found) found = TickCount64FromTickCount;
    // Threads that come here at once all store the same pointer.
    __atomic_store_n(&zolvTickCount64Import, found, __ATOMIC_RELEASE);
    return found();
}

}  // namespace

TickCount64Function zolvTickCount64Import = FirstTickCount64;
