// Loaded into ZOLVLOAD.exe by the window tests' hook, for what cannot cross
// processes: a font handle means nothing in another process, and Wine does
// not carry a structure that a message's lParam points at. Told which window
// to answer, it sends back the font that a control draws with; told a DPI,
// it sends the window WM_DPICHANGED as Windows would, from inside.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK FontProbe(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && call->message == RegisterWindowMessageW(L"ZolvFontProbe")) {
        LOGFONTW font = {};
        const auto handle = reinterpret_cast<HFONT>(SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
        if (handle && GetObjectW(handle, sizeof(font), &font)) {
            COPYDATASTRUCT data = {0, sizeof(font), &font};
            SendMessageW(reinterpret_cast<HWND>(call->wParam), WM_COPYDATA,
                         reinterpret_cast<WPARAM>(call->hwnd), reinterpret_cast<LPARAM>(&data));
        }
    } else if (code == HC_ACTION && call->message == RegisterWindowMessageW(L"ZolvDpiProbe")) {
        // The new DPI in wParam, the suggested window size in lParam; the
        // suggested rectangle keeps the window's top left.
        RECT suggested;
        GetWindowRect(call->hwnd, &suggested);
        suggested.right = suggested.left + LOWORD(call->lParam);
        suggested.bottom = suggested.top + HIWORD(call->lParam);
        const WORD dpi = static_cast<WORD>(call->wParam);
        SendMessageW(call->hwnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
