// Loaded into ZOLVLOAD.exe by the DPI test's window hook, as a font handle
// means nothing in another process: told which window to answer, it sends
// back the font that a control draws with.
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
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
