#include "platform/win32/newer_windows.h"

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

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t directory[MAX_PATH];
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(directory, length) + L"\\" + name;
    return LoadLibraryW(path.c_str());
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

int SystemMetricForDpi(int index, int dpi) {
    using MetricFunction = int(WINAPI*)(int, UINT);
    static const auto metric = Lookup<MetricFunction>(User32(), "GetSystemMetricsForDpi");
    if (metric) return metric(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

}  // namespace zolv

namespace zolv {

DWORD GetNetworkConnection(const wchar_t* localName, wchar_t* remoteName, DWORD* length) {
    using GetConnectionFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    static const auto getConnection =
        Lookup<GetConnectionFunction>(LoadSystemLibrary(L"mpr.dll"), "WNetGetConnectionW");
    if (!getConnection) return ERROR_NO_NETWORK;
    return getConnection(localName, remoteName, length);
}

}  // namespace zolv
