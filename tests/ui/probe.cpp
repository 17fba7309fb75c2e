#include "tests/ui/probe.h"

#include <string>

namespace zolv::ui {

namespace {

// What the probe in the loader last sent back.
LOGFONTW probeAnswer;
bool probeAnswered;

LRESULT CALLBACK ProbeSink(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_COPYDATA) return DefWindowProcW(hwnd, msg, wp, lp);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    probeAnswered = data->cbData == sizeof(probeAnswer);
    if (probeAnswered) probeAnswer = *static_cast<const LOGFONTW*>(data->lpData);
    return TRUE;
}

HWND Sink() {
    static HWND sink = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ProbeSink;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZolvFontSink";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    }();
    return sink;
}

// Sends a message to a window of the loader with the probe hooked into its
// thread, so that the probe handles it there first.
void SendThroughProbe(HWND window, const wchar_t* message, WPARAM wp, LPARAM lp) {
    static HMODULE probe = [] {
        wchar_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring dll(path, length);
        dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"font_probe.dll";
        return LoadLibraryW(dll.c_str());
    }();
    const auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, "FontProbe")));
    HHOOK hook = proc ? SetWindowsHookExW(WH_CALLWNDPROC, proc, probe,
                                          GetWindowThreadProcessId(window, nullptr))
                      : nullptr;
    if (!hook) return;
    SendMessageW(window, RegisterWindowMessageW(message), wp, lp);
    UnhookWindowsHookEx(hook);
}

}  // namespace

LOGFONTW FontOfControl(HWND control) {
    probeAnswered = false;
    SendThroughProbe(control, L"ZolvFontProbe", reinterpret_cast<WPARAM>(Sink()), 0);
    LOGFONTW none = {};
    return probeAnswered ? probeAnswer : none;
}

void TellDpiChanged(HWND window, int dpi, SIZE suggested) {
    SendThroughProbe(window, L"ZolvDpiProbe", static_cast<WPARAM>(dpi),
                     MAKELPARAM(suggested.cx, suggested.cy));
}

}  // namespace zolv::ui
