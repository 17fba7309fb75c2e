#include "platform/win32/screen_reader_name.h"

#include <ole2.h>
#include <oleacc.h>

#include "platform/win32/newer_windows.h"

namespace zolv {

namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

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
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IEnumVARIANT) || iid == __uuidof(IOleWindow)) {
            // Only where the standard object has it.
            IUnknown* standard = nullptr;
            const HRESULT hr = standard_->QueryInterface(iid, reinterpret_cast<void**>(&standard));
            if (FAILED(hr)) return hr;
            standard->Release();  // this object holds the standard one
            if (iid == __uuidof(IEnumVARIANT))
                *object = static_cast<IEnumVARIANT*>(this);
            else
                *object = static_cast<IOleWindow*>(this);
        } else {
            return standard_->QueryInterface(iid, object);  // what else Windows offers
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
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override {
        if (id == DISPID_ACC_NAME && (flags & DISPATCH_PROPERTYGET) && params && result &&
            (params->cArgs == 0 || (params->cArgs == 1 && (IsSelf(params->rgvarg[0]) ||
                                                           params->rgvarg[0].vt == VT_ERROR)))) {
            VARIANT self = {};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR name = nullptr;
            const HRESULT hr = get_accName(self, &name);
            if (FAILED(hr)) return hr;
            result->vt = VT_BSTR;
            result->bstrVal = name;
            return S_OK;
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
    if (!name_ || msg != WM_GETOBJECT || static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT))
        return false;
    // The object reaches the screen reader through COM, which the thread
    // needs; started once for the control, ended when it goes.
    if (!comStarted_) comStarted_ = SUCCEEDED(StartCom());
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

void ScreenReaderName::Release() {
    if (comStarted_) EndCom();
    comStarted_ = false;
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
