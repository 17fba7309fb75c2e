// What only newer Windows has, each function looked up once at run time with
// XP's fallback beside it, and the DLLs XP lacks or loads late, by full path.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <string>

namespace zolv {

constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, Windows 8.1 on
// Windows 10 1703 on, before WM_DPICHANGED: lParam's SIZE is set to the size at wParam's DPI.
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

// A file in the system directory by its full path; empty where that cannot be had.
std::wstring SystemFile(const wchar_t* name);
// A system DLL by its full path, never one beside the exe or on the path; null where missing.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The window's monitor's DPI where Windows scales per monitor, else the system's.
int DpiOfWindow(HWND window);
// Before Windows 10 frames are drawn at the system DPI, and this gives that frame.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, int dpi);
// The frame as seen: from Vista the DWM draws invisible resize borders that GetWindowRect counts.
RECT VisibleFrame(HWND window);
int SystemMetricForDpi(int index, int dpi);

// FindExInfoBasic, which skips the 8.3 names, from Windows 7 on; earlier ones refuse it.
FINDEX_INFO_LEVELS FindInfoLevelForListing();

// Upper case by the invariant locale's table, one unit for one, whatever the
// user's language (never the Turkish dotted I): the key that orders names.
std::wstring InvariantUpperCase(const std::wstring& text);

// WNetGetConnectionW: the remote name the local redirector holds for a drive
// ("n:"), without asking the server. ERROR_NO_NETWORK where mpr.dll is missing.
DWORD GetNetworkConnection(const wchar_t* localName, wchar_t* remoteName, DWORD* length);

// oleacc, oleaut32 and ole32, loaded the first time a screen reader asks; where
// one is missing the answer says so: E_NOTIMPL, 0 or null.
HRESULT CreateStandardAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);
LRESULT ResultFromAccessibleObject(REFIID iid, WPARAM wp, IUnknown* object);
BSTR AllocateBstr(const wchar_t* text);
HRESULT StartCom();  // a single-threaded apartment
void EndCom();
HRESULT CreateComObject(REFCLSID type, REFIID iid, void** object);  // in-process

}  // namespace zolv
