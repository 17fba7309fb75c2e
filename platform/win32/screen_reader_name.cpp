#include "platform/win32/screen_reader_name.h"

#include <ole2.h>
#include <oleacc.h>

#include "platform/win32/newer_windows.h"

namespace zolv {

namespace {

// oleacc.h's identifiers, spelled out here so that no import library of oleacc
// is linked: the library is loaded by its path only when a screen reader asks.
constexpr GUID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {  // PROPID_ACC_NAME
    0x608d3df8,
    0x8128,
    0x4aa7,
    {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// Every form in which a client means the object itself rather than a child,
// as Windows' standard objects take them: CHILDID_SELF, nothing, an argument
// left out, and each of those by reference.
bool IsSelf(const VARIANT& child) {
    const VARIANT& c =
        child.vt == (VT_BYREF | VT_VARIANT) && child.pvarVal ? *child.pvarVal : child;
    switch (c.vt) {
        case VT_EMPTY:
            return true;
        case VT_ERROR:
            return c.scode == DISP_E_PARAMNOTFOUND;
        case VT_I4:
            return c.lVal == CHILDID_SELF;
        case VT_BYREF | VT_I4:
            return c.plVal && *c.plVal == CHILDID_SELF;
    }
    return false;
}

// Windows' standard object of a control with another name for the control
// itself. Everything else is the standard object's: each call goes to it, and
// so do the enumeration of the children and the window behind the object,
// through this object, so that a screen reader that asks for them and comes
// back still finds the name.
class NamedAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow {
public:
    // Takes over the reference to the standard object.
    NamedAccessible(IAccessible* standard, const wchar_t* name)
        : standard_(standard), name_(name) {}

    // --- IUnknown
    // One COM object: the same IUnknown through every interface it gives, and
    // none of the standard object's handed out as its own. Above all not its
    // IServiceProvider, through which it says it is oleacc's proxy: UI
    // Automation would then read a proxy of its own instead, without the name.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if ((iid == __uuidof(IEnumVARIANT) || iid == __uuidof(IOleWindow)) &&
                   StandardHas(iid)) {
            if (iid == __uuidof(IEnumVARIANT))
                *object = static_cast<IEnumVARIANT*>(this);
            else
                *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // --- IDispatch, for a client that asks for the name by its number
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    // The name by its number gives what get_accName gives, for every form of
    // the object itself.
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override {
        if (id == DISPID_ACC_NAME && (flags & DISPATCH_PROPERTYGET) && params &&
            params->cArgs <= 1) {
            VARIANT leftOut = {};  // VT_EMPTY
            if (IsSelf(params->cArgs ? params->rgvarg[0] : leftOut)) {
                if (!result) return E_POINTER;
                BSTR name = nullptr;
                const HRESULT hr = get_accName(leftOut, &name);
                if (FAILED(hr)) return hr;
                result->vt = VT_BSTR;
                result->bstrVal = name;
                return S_OK;
            }
        }
        return standard_->Invoke(id, iid, locale, flags, params, result, exception, wrongArgument);
    }

    // --- IAccessible: the name of the control itself is ours
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = AllocateBstr(name_);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    STDMETHODIMP get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    STDMETHODIMP get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    STDMETHODIMP get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    STDMETHODIMP accSelect(LONG how, VARIANT child) override {
        return standard_->accSelect(how, child);
    }
    STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                             VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

    // --- IEnumVARIANT: the standard object's children
    STDMETHODIMP Next(ULONG count, VARIANT* children, ULONG* fetched) override {
        return WithStandard<IEnumVARIANT>(
            [&](IEnumVARIANT* e) { return e->Next(count, children, fetched); });
    }
    STDMETHODIMP Skip(ULONG count) override {
        return WithStandard<IEnumVARIANT>([&](IEnumVARIANT* e) { return e->Skip(count); });
    }
    STDMETHODIMP Reset() override {
        return WithStandard<IEnumVARIANT>([](IEnumVARIANT* e) { return e->Reset(); });
    }
    STDMETHODIMP Clone(IEnumVARIANT** copy) override {
        return WithStandard<IEnumVARIANT>([&](IEnumVARIANT* e) { return e->Clone(copy); });
    }

    // --- IOleWindow: the control
    STDMETHODIMP GetWindow(HWND* window) override {
        return WithStandard<IOleWindow>([&](IOleWindow* w) { return w->GetWindow(window); });
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override {
        return WithStandard<IOleWindow>(
            [&](IOleWindow* w) { return w->ContextSensitiveHelp(enter); });
    }

private:
    ~NamedAccessible() { standard_->Release(); }

    bool StandardHas(REFIID iid) {
        IUnknown* other = nullptr;
        if (FAILED(standard_->QueryInterface(iid, reinterpret_cast<void**>(&other)))) return false;
        other->Release();
        return true;
    }

    // Calls the standard object through another of its interfaces.
    template <typename Interface, typename Call>
    HRESULT WithStandard(Call call) {
        Interface* other = nullptr;
        HRESULT hr =
            standard_->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(&other));
        if (FAILED(hr)) return hr;
        hr = call(other);
        other->Release();
        return hr;
    }

    IAccessible* const standard_;
    const wchar_t* const name_;
    LONG references_ = 1;
};

}  // namespace

bool ScreenReaderName::Answer(HWND control, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (!name_ || msg != WM_GETOBJECT) return false;
    if (route_ == Route::NotAsked) {
        // Asked for the first time, by oleacc or by UI Automation: both read
        // the annotation in whatever they make of the control from here on.
        if (!comStarted_) comStarted_ = SUCCEEDED(StartCom());
        route_ = Annotate(control) ? Route::Annotated : Route::OwnObject;
    }
    if (route_ != Route::OwnObject || static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT))
        return false;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStandardAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&standard))))
        return false;
    auto* named = new NamedAccessible(standard, name_);
    *result =
        ResultFromAccessibleObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(named));
    named->Release();  // what the screen reader holds keeps it
    return *result > 0;
}

bool ScreenReaderName::Annotate(HWND control) {
    if (FAILED(CreateComObject(kAccPropServicesClass, kAccPropServicesInterface,
                               reinterpret_cast<void**>(&annotations_))))
        return false;
    if (SUCCEEDED(annotations_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                               CHILDID_SELF, kNameProperty, name_))) {
        annotated_ = control;
        // As asked of a name given by annotation: clients that keep what they
        // read of the control read it again.
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
        return true;
    }
    // Wine 8 has the service but not the annotation (E_NOTIMPL): the control
    // answers with an object of its own instead.
    annotations_->Release();
    annotations_ = nullptr;
    return false;
}

void ScreenReaderName::Release() {
    if (annotations_) {
        // Windows keeps an annotation as long as the window's handle; one
        // given to another window later must not inherit the name.
        const MSAAPROPID name[] = {kNameProperty};
        annotations_->ClearHwndProps(annotated_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     name, 1);
        annotations_->Release();
        annotations_ = nullptr;
        annotated_ = nullptr;
    }
    if (comStarted_) EndCom();
    comStarted_ = false;
    route_ = Route::NotAsked;
}

void NamedControl::Attach(HWND control, const wchar_t* name) {
    name_.SetName(name);
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    controlProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
}

LRESULT CALLBACK NamedControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<NamedControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT answer = 0;
    if (self->name_.Answer(hwnd, msg, wp, lp, &answer)) return answer;
    const WNDPROC original = self->controlProc_;
    if (msg == WM_NCDESTROY) {
        // Undone only while this is still the outermost procedure: one put in
        // front of it later would otherwise be cut out of the chain.
        if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SubclassProc))
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->name_.Release();
        self->controlProc_ = nullptr;
    }
    return CallWindowProcW(original, hwnd, msg, wp, lp);
}

}  // namespace zolv
