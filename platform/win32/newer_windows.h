// What only newer Windows has, in one place: each function is looked up once
// at run time, with the fallback that Windows XP offers written beside it.
// Callers call the plain functions here and never GetProcAddress themselves.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <optional>
#include <string>

namespace zolv {

// Windows 8.1 on: the new DPI in wParam's words, the suggested rectangle in lParam.
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED
// Before it, Windows 10 1703 on: the new DPI in wParam, in lParam the SIZE to
// set to the window's size there (returning TRUE).
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

// A file of the system's by its full path in the system directory, such as
// cmd.exe in C:\Windows\System32; empty where the directory cannot be had.
std::wstring SystemFile(const wchar_t* name);

// A system DLL by its full path in the system directory, never one found
// beside the exe or on the search path. Null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The DPI a window is shown at: its monitor's where Windows scales per
// monitor, else the system's.
int DpiOfWindow(HWND window);

// The frame around a client rectangle at a DPI. Before Windows 10 the system
// draws frames at the system DPI, and that is what this gives.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, int dpi);

// A window's frame as the eye sees it. Windows Vista and later, where the
// desktop window manager composes the screen, draw a frame's resize borders
// invisible, and GetWindowRect counts them: the visible bounds are the
// manager's (DWMWA_EXTENDED_FRAME_BOUNDS of dwmapi, loaded by its full path).
// Where it is missing or composition is off (XP, classic themes), the frame
// is drawn whole and GetWindowRect is what shows.
RECT VisibleFrame(HWND window);

// A system metric (SM_CXEDGE, SM_CXSMICON, ...) at a DPI.
int SystemMetricForDpi(int index, int dpi);

// What FindFirstFileExW fills in for a listing: FindExInfoBasic, which skips
// the short 8.3 names and is faster, from Windows 7 on; Windows before 7
// refuses it as an invalid parameter.
FINDEX_INFO_LEVELS FindInfoLevelForListing();

// A text in upper case by the invariant locale's table, one UTF-16 unit for
// one, whatever the user's language (an "i" becomes "I", never the Turkish
// dotted one): the key that orders names without regard to case. The text
// comes back unchanged where Windows cannot map it.
std::wstring InvariantUpperCase(const std::wstring& text);
// Its two ways, apart, for the tests: by the invariant locale's name, Windows
// Vista on (nothing where Windows lacks it), and by its LCID, which Windows XP
// has; InvariantUpperCase takes the first where it is there.
std::optional<std::wstring> InvariantUpperCaseByName(const std::wstring& text);
std::wstring InvariantUpperCaseById(const std::wstring& text);

// WNetGetConnectionW of mpr.dll, which is loaded by its full path the first
// time a network drive is asked about: the remote name ("\\server\share")
// that the local redirector holds for a drive ("n:"), without asking the
// server. ERROR_NO_NETWORK where mpr.dll or the function is not there.
DWORD GetNetworkConnection(const wchar_t* localName, wchar_t* remoteName, DWORD* length);

// What a control needs to hand a screen reader an object of its own: oleacc's
// standard object of a window (CreateStdAccessibleObject) and its way of
// answering WM_GETOBJECT with an object (LresultFromObject), a BSTR from
// oleaut32 and COM on the thread from ole32. Each DLL is loaded by its full
// path the first time a screen reader asks. Windows XP SP3 has them all;
// where one is missing, the answer says so: E_NOTIMPL, 0 or null.
HRESULT CreateStandardAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);
LRESULT ResultFromAccessibleObject(REFIID iid, WPARAM wp, IUnknown* object);
BSTR AllocateBstr(const wchar_t* text);
// CoInitializeEx for a single-threaded apartment, and its CoUninitialize.
HRESULT StartCom();
void EndCom();
// CoCreateInstance of an in-process server (oleacc's annotation service).
HRESULT CreateComObject(REFCLSID type, REFIID iid, void** object);

}  // namespace zolv
