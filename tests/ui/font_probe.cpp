// Loaded into ZOLVLOAD.exe by the window tests' hook, for what cannot cross
// processes (a font handle, a structure a message's lParam points at). Each
// answer goes back to the test's window as WM_COPYDATA of a kind: 0 a
// control's font, 1 a screen reader's reading, 2 a combo box's dropped
// rectangle, 3 the answer to WM_GETDPISCALEDSIZE, 4 the input the thread has
// still to take, 5 whether high contrast is now reported, 6 a combo box's list.
#include <ole2.h>
#include <oleacc.h>
#include <servprov.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// oleacc.h's IIS_IsOleaccProxy: the service through which an object says it
// is oleacc's own proxy, and gives it.
constexpr GUID kIsOleaccProxy = {
    0x902697fa, 0x80e4, 0x4560, {0x80, 0x2a, 0xa1, 0x3f, 0x22, 0xa6, 0x47, 0x09}};

std::wstring Shown(HRESULT hr, BSTR value) {
    std::wstring shown = FAILED(hr) ? L"!" + std::to_wstring(hr) : value ? value : L"";
    SysFreeString(value);
    return shown;
}

// The object's name in every form that means the object itself, through
// get_accName and IDispatch: one name where all agree, else each apart by "|".
std::wstring NameInEveryForm(IAccessible* object) {
    LONG self = CHILDID_SELF;
    VARIANT forms[6] = {};
    forms[0].vt = VT_I4;  // forms[0].lVal is CHILDID_SELF
    forms[1].vt = VT_EMPTY;
    forms[2].vt = VT_ERROR;
    forms[2].scode = DISP_E_PARAMNOTFOUND;
    forms[3].vt = VT_BYREF | VT_I4;
    forms[3].plVal = &self;
    forms[4].vt = VT_BYREF | VT_VARIANT;
    forms[4].pvarVal = &forms[0];
    forms[5].vt = VT_BYREF | VT_VARIANT;
    forms[5].pvarVal = &forms[1];
    std::wstring names[2 * 6 + 1];
    int count = 0;
    for (VARIANT& form : forms) {
        BSTR name = nullptr;
        const HRESULT named = object->get_accName(form, &name);
        names[count++] = Shown(named, name);
        DISPPARAMS params = {&form, nullptr, 1, 0};
        VARIANT result = {};
        const HRESULT hr = object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                          &params, &result, nullptr, nullptr);
        names[count++] = Shown(hr, result.vt == VT_BSTR ? result.bstrVal : nullptr);
    }
    DISPPARAMS none = {};
    VARIANT result = {};
    const HRESULT hr = object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                      &result, nullptr, nullptr);
    names[count++] = Shown(hr, result.vt == VT_BSTR ? result.bstrVal : nullptr);
    std::wstring all;
    bool agree = true;
    for (const std::wstring& name : names) {
        agree = agree && name == names[0];
        all += (all.empty() ? L"" : L"|") + name;
    }
    return agree ? names[0] : all;
}

// A line for each break of COM's rules: another IUnknown through one of its
// interfaces, or a claim to be oleacc's proxy with a proxy of another name.
std::wstring ComFaults(IAccessible* object, const std::wstring& name) {
    IUnknown* identity = nullptr;
    object->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity));
    std::wstring faults;
    const IID interfaces[] = {__uuidof(IAccessible), __uuidof(IDispatch), __uuidof(IEnumVARIANT),
                              __uuidof(IOleWindow), __uuidof(IServiceProvider)};
    const wchar_t* names[] = {L"IAccessible", L"IDispatch", L"IEnumVARIANT", L"IOleWindow",
                              L"IServiceProvider"};
    for (int i = 0; i < 5; ++i) {
        IUnknown* through = nullptr;
        if (FAILED(object->QueryInterface(interfaces[i], reinterpret_cast<void**>(&through))))
            continue;
        IUnknown* again = nullptr;
        through->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&again));
        if (again != identity)
            faults += std::wstring(L"another IUnknown through ") + names[i] + L"\n";
        if (again) again->Release();
        through->Release();
    }
    if (identity) identity->Release();
    IServiceProvider* services = nullptr;
    if (SUCCEEDED(object->QueryInterface(__uuidof(IServiceProvider),
                                         reinterpret_cast<void**>(&services)))) {
        IAccessible* proxy = nullptr;
        if (SUCCEEDED(services->QueryService(kIsOleaccProxy, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&proxy)))) {
            VARIANT self = {};
            self.vt = VT_I4;
            BSTR proxyName = nullptr;
            const HRESULT named = proxy->get_accName(self, &proxyName);
            const std::wstring given = Shown(named, proxyName);
            if (given != name) faults += L"says it is oleacc's proxy, named \"" + given + L"\"\n";
            proxy->Release();
        }
        services->Release();
    }
    return faults;
}

// Name, value, role, state and children, a line each ("!" and the error where unread).
std::wstring Read(IAccessible* object, const std::wstring& name) {
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto number = [](HRESULT hr, const VARIANT& value) {
        return FAILED(hr) ? L"!" + std::to_wstring(hr)
                          : std::to_wstring(value.vt) + L":" + std::to_wstring(value.lVal);
    };
    BSTR value = nullptr;
    VARIANT role = {}, state = {};
    std::wstring read = name + L"\n";
    HRESULT hr = object->get_accValue(self, &value);
    read += Shown(hr, value) + L"\n";
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

// --- high contrast, as Windows reports it once the user turns it on ----------------------------

using SystemParametersInfoFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SystemParametersInfoFunction systemParametersInfo;

BOOL WINAPI SystemParametersInfoInHighContrast(UINT action, UINT param, PVOID data, UINT winIni) {
    auto* contrast = static_cast<HIGHCONTRASTW*>(data);
    if (action != SPI_GETHIGHCONTRAST || !contrast || contrast->cbSize != sizeof(HIGHCONTRASTW))
        return systemParametersInfo(action, param, data, winIni);
    contrast->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
    contrast->lpszDefaultScheme = nullptr;
    return TRUE;
}

// Points the exe's import of SystemParametersInfoW, which it takes from
// user32 statically, at the stand-in above. True where it points there.
bool ReportHighContrast() {
    // The exe calls into this DLL from now on: it stays loaded as long as the program runs.
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&SystemParametersInfoInHighContrast), &self))
        return false;
    const auto real = reinterpret_cast<SystemParametersInfoFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoW")));
    if (!real) return false;
    systemParametersInfo = real;
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return false;
    const auto standIn = reinterpret_cast<ULONG_PTR>(&SystemParametersInfoInHighContrast);
    bool pointed = false;
    for (auto* module =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name; ++module) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
             slot->u1.Function; ++slot) {
            if (slot->u1.Function == standIn) pointed = true;
            if (slot->u1.Function != reinterpret_cast<ULONG_PTR>(real)) continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE,
                                &protection))
                continue;
            slot->u1.Function = standIn;
            VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), protection, &protection);
            pointed = true;
        }
    }
    return pointed;
}

// The events by which the test and the probe hand over while the thread is held.
std::wstring HoldEventName(const wchar_t* what, WPARAM test, LPARAM serial) {
    wchar_t name[64];
    swprintf(name, 64, L"ZolvHold-%lu-%ld-%ls", static_cast<unsigned long>(test),
             static_cast<long>(serial), what);
    return name;
}

// Sends an answer back to the test's window, whose handle came in wParam.
void SendBack(const CWPSTRUCT* call, ULONG_PTR kind, const void* bytes, std::size_t size) {
    COPYDATASTRUCT data = {kind, static_cast<DWORD>(size), const_cast<void*>(bytes)};
    SendMessageW(reinterpret_cast<HWND>(call->wParam), WM_COPYDATA,
                 reinterpret_cast<WPARAM>(call->hwnd), reinterpret_cast<LPARAM>(&data));
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK FontProbe(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    const auto is = [&](const wchar_t* probe) {
        return code == HC_ACTION && call->message == RegisterWindowMessageW(probe);
    };
    if (is(L"ZolvFontProbe")) {
        LOGFONTW font = {};
        const auto handle = reinterpret_cast<HFONT>(SendMessageW(call->hwnd, WM_GETFONT, 0, 0));
        if (handle && GetObjectW(handle, sizeof(font), &font)) {
            SendBack(call, 0, &font, sizeof(font));
        }
    } else if (is(L"ZolvNameProbe")) {
        // The object the control hands a screen reader, the standard one
        // Windows makes for it, and where the first breaks COM's rules, apart
        // by form feeds.
        std::wstring answer, faults;
        IAccessible* object = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(call->hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&object)))) {
            const std::wstring name = NameInEveryForm(object);
            answer = Read(object, name);
            faults = ComFaults(object, name.substr(0, name.find(L'|')));
            object->Release();
        }
        answer += L"\f";
        if (SUCCEEDED(CreateStdAccessibleObject(call->hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&object)))) {
            VARIANT self = {};
            self.vt = VT_I4;
            BSTR name = nullptr;
            const HRESULT named = object->get_accName(self, &name);
            answer += Read(object, Shown(named, name));
            object->Release();
        }
        answer += L"\f" + faults;
        SendBack(call, 1, answer.data(), answer.size() * sizeof(wchar_t));
    } else if (is(L"ZolvDropProbe")) {
        RECT dropped = {};
        SendMessageW(call->hwnd, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        SendBack(call, 2, &dropped, sizeof(dropped));
    } else if (is(L"ZolvListProbe")) {
        COMBOBOXINFO parts = {};
        parts.cbSize = sizeof(parts);
        const HWND list = GetComboBoxInfo(call->hwnd, &parts) ? parts.hwndList : nullptr;
        SendBack(call, 6, &list, sizeof(list));
    } else if (is(L"ZolvDpiProbe")) {
        // The new DPI in wParam, the suggested window size in lParam; the
        // suggested rectangle keeps the window's top left.
        RECT suggested;
        GetWindowRect(call->hwnd, &suggested);
        suggested.right = suggested.left + LOWORD(call->lParam);
        suggested.bottom = suggested.top + HIWORD(call->lParam);
        const WORD dpi = static_cast<WORD>(call->wParam);
        SendMessageW(call->hwnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    } else if (is(L"ZolvDpiSizeProbe")) {
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
        SendBack(call, 3, &answer, sizeof(answer));
    } else if (is(L"ZolvHoldProbe")) {
        // The test's process in wParam, the hold's number in lParam. Says it
        // is held, then takes in nothing until the test lets it go on, and
        // never for long, so that a test that fails leaves the program running.
        HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE,
                                 HoldEventName(L"held", call->wParam, call->lParam).c_str());
        HANDLE goOn = OpenEventW(SYNCHRONIZE, FALSE,
                                 HoldEventName(L"go-on", call->wParam, call->lParam).c_str());
        if (held && goOn && SetEvent(held)) WaitForSingleObject(goOn, 10000);
        if (held) CloseHandle(held);
        if (goOn) CloseHandle(goOn);
    } else if (is(L"ZolvInputProbe")) {
        // What the thread has still to take: keys, and messages posted to it,
        // such as the command a menu posts.
        DWORD waiting = HIWORD(GetQueueStatus(QS_KEY | QS_POSTMESSAGE));
        SendBack(call, 4, &waiting, sizeof(waiting));
    } else if (is(L"ZolvHighContrastProbe")) {
        BOOL reported = ReportHighContrast();
        SendBack(call, 5, &reported, sizeof(reported));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
