// Loaded into ZOLVLOAD.exe by the window tests' hook, for what cannot cross
// processes: a font handle means nothing in another process, and Wine does
// not carry a structure that a message's lParam points at. Told which window
// to answer, it sends back the font that a control draws with, what a
// screen reader reads of it, or how far a combo box drops; told a DPI, it sends the window
// WM_DPICHANGED as Windows would, from inside, or asks its size there
// (WM_GETDPISCALEDSIZE) and sends back the answer.
#include <ole2.h>
#include <oleacc.h>
#include <windows.h>

#include <string>

namespace {

// What a screen reader reads of an object itself: its name, then its value,
// role, state and children, one to a line; "!" and the error where a part
// cannot be read.
std::wstring Read(IAccessible* object) {
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto text = [](HRESULT hr, BSTR value) {
        std::wstring shown = FAILED(hr) ? L"!" + std::to_wstring(hr) : value ? value : L"";
        SysFreeString(value);
        return shown;
    };
    const auto number = [](HRESULT hr, const VARIANT& value) {
        return FAILED(hr) ? L"!" + std::to_wstring(hr)
                          : std::to_wstring(value.vt) + L":" + std::to_wstring(value.lVal);
    };
    BSTR name = nullptr, value = nullptr;
    VARIANT role = {}, state = {};
    HRESULT hr = object->get_accName(self, &name);
    std::wstring read = text(hr, name) + L"\n";
    hr = object->get_accValue(self, &value);
    read += text(hr, value) + L"\n";
    read += number(object->get_accRole(self, &role), role) + L"\n";
    read += number(object->get_accState(self, &state), state) + L"\n";
    // The children as a screen reader walks them, through the object's enumeration.
    VARIANT children[16] = {};
    LONG count = 0;
    hr = AccessibleChildren(object, 0, 16, children, &count);
    read += FAILED(hr) ? L"!" + std::to_wstring(hr) : std::to_wstring(count);
    for (LONG i = 0; i < count; ++i) VariantClear(&children[i]);
    return read;
}

}  // namespace

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
    } else if (code == HC_ACTION && call->message == RegisterWindowMessageW(L"ZolvNameProbe")) {
        // The object the control hands a screen reader, then the standard one
        // Windows makes for it, apart by a form feed.
        std::wstring answer;
        IAccessible* object = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(call->hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object)))) {
            answer = Read(object);
            object->Release();
        }
        answer += L"\f";
        if (SUCCEEDED(CreateStdAccessibleObject(call->hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&object)))) {
            answer += Read(object);
            object->Release();
        }
        COPYDATASTRUCT data = {1, static_cast<DWORD>(answer.size() * sizeof(wchar_t)),
                               answer.data()};
        SendMessageW(reinterpret_cast<HWND>(call->wParam), WM_COPYDATA,
                     reinterpret_cast<WPARAM>(call->hwnd), reinterpret_cast<LPARAM>(&data));
    } else if (code == HC_ACTION && call->message == RegisterWindowMessageW(L"ZolvDropProbe")) {
        RECT dropped = {};
        SendMessageW(call->hwnd, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        COPYDATASTRUCT data = {2, sizeof(dropped), &dropped};
        SendMessageW(reinterpret_cast<HWND>(call->wParam), WM_COPYDATA,
                     reinterpret_cast<WPARAM>(call->hwnd), reinterpret_cast<LPARAM>(&data));
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
    } else if (code == HC_ACTION && call->message == RegisterWindowMessageW(L"ZolvDpiSizeProbe")) {
        // The new DPI and the window's DPI now in lParam. Asks the window its
        // size at the new one as Windows does, offering its size scaled
        // linearly, and sends back what it returned and the size it gave.
        RECT now;
        GetWindowRect(call->hwnd, &now);
        const int dpi = LOWORD(call->lParam), from = HIWORD(call->lParam);
        struct {
            LRESULT result;
            SIZE size;
        } answer = {
            0, {MulDiv(now.right - now.left, dpi, from), MulDiv(now.bottom - now.top, dpi, from)}};
        answer.result =
            SendMessageW(call->hwnd, 0x02E4 /* WM_GETDPISCALEDSIZE */, static_cast<WPARAM>(dpi),
                         reinterpret_cast<LPARAM>(&answer.size));
        COPYDATASTRUCT data = {3, sizeof(answer), &answer};
        SendMessageW(reinterpret_cast<HWND>(call->wParam), WM_COPYDATA,
                     reinterpret_cast<WPARAM>(call->hwnd), reinterpret_cast<LPARAM>(&data));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
