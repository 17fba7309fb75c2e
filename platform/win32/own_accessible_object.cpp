#include "platform/win32/own_accessible_object.h"

#include <ole2.h>
#include <oleacc.h>

#include "platform/win32/newer_windows.h"

namespace zolv {

namespace {

// Every form of the object itself that Windows' standard objects take: CHILDID_SELF,
// nothing or an argument left out, each also by reference.
bool IsSelf(const VARIANT& v) {
    const VARIANT& c = v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal ? *v.pvarVal : v;
    return c.vt == VT_EMPTY || (c.vt == VT_ERROR && c.scode == DISP_E_PARAMNOTFOUND) ||
           (c.vt == VT_I4 && c.lVal == CHILDID_SELF) ||
           (c.vt == (VT_BYREF | VT_I4) && c.plVal && *c.plVal == CHILDID_SELF);
}

// A method that hands the call to the standard object through one of its interfaces.
#define FORWARD(to, method, params, args) \
    STDMETHODIMP method params override { return to->method args; }

// One COM object, so that a screen reader that asks it for the children or the window and comes
// back still finds the name.
class Object final : public IAccessible, public IEnumVARIANT, public IOleWindow {
public:
    // Takes over the reference to the standard object.
    Object(IAccessible* standard, const wchar_t* name) : standard_(standard), name_(name) {
        standard_->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&children_));
        standard_->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&window_));
    }

    // Never the standard object's interfaces: above all not its IServiceProvider, which says it is
    // oleacc's proxy, so that UI Automation would read a proxy of its own, without the name.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *object = static_cast<IAccessible*>(this);
        if (iid == __uuidof(IEnumVARIANT) && children_) *object = static_cast<IEnumVARIANT*>(this);
        if (iid == __uuidof(IOleWindow) && window_) *object = static_cast<IOleWindow*>(this);
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // The name by its number, for a client that asks so.
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override {
        VARIANT leftOut = {};  // VT_EMPTY
        if (id == DISPID_ACC_NAME && (flags & DISPATCH_PROPERTYGET) && params &&
            params->cArgs <= 1 && IsSelf(params->cArgs ? params->rgvarg[0] : leftOut)) {
            if (!result) return E_POINTER;
            const HRESULT hr = get_accName(leftOut, &result->bstrVal);
            if (SUCCEEDED(hr)) result->vt = VT_BSTR;
            return hr;
        }
        return standard_->Invoke(id, iid, locale, flags, params, result, exception, wrongArgument);
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        *name = AllocateBstr(name_);
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    // clang-format off
    FORWARD(standard_, GetTypeInfoCount, (UINT* count), (count))
    FORWARD(standard_, GetTypeInfo, (UINT index, LCID lcid, ITypeInfo** info), (index, lcid, info))
    FORWARD(standard_, GetIDsOfNames, (REFIID i, LPOLESTR* n, UINT c, LCID l, DISPID* d),
            (i, n, c, l, d))
    FORWARD(standard_, get_accParent, (IDispatch** parent), (parent))
    FORWARD(standard_, get_accChildCount, (LONG* count), (count))
    FORWARD(standard_, get_accChild, (VARIANT child, IDispatch** object), (child, object))
    FORWARD(standard_, get_accValue, (VARIANT child, BSTR* value), (child, value))
    FORWARD(standard_, get_accDescription, (VARIANT child, BSTR* text), (child, text))
    FORWARD(standard_, get_accRole, (VARIANT child, VARIANT* role), (child, role))
    FORWARD(standard_, get_accState, (VARIANT child, VARIANT* state), (child, state))
    FORWARD(standard_, get_accHelp, (VARIANT child, BSTR* help), (child, help))
    FORWARD(standard_, get_accHelpTopic, (BSTR* file, VARIANT c, LONG* topic), (file, c, topic))
    FORWARD(standard_, get_accKeyboardShortcut, (VARIANT child, BSTR* keys), (child, keys))
    FORWARD(standard_, get_accFocus, (VARIANT* child), (child))
    FORWARD(standard_, get_accSelection, (VARIANT* children), (children))
    FORWARD(standard_, get_accDefaultAction, (VARIANT child, BSTR* action), (child, action))
    FORWARD(standard_, accSelect, (LONG how, VARIANT child), (how, child))
    FORWARD(standard_, accLocation, (LONG* x, LONG* y, LONG* w, LONG* h, VARIANT c),
            (x, y, w, h, c))
    FORWARD(standard_, accNavigate, (LONG way, VARIANT start, VARIANT* end), (way, start, end))
    FORWARD(standard_, accHitTest, (LONG x, LONG y, VARIANT* child), (x, y, child))
    FORWARD(standard_, accDoDefaultAction, (VARIANT child), (child))
    FORWARD(standard_, put_accName, (VARIANT child, BSTR name), (child, name))
    FORWARD(standard_, put_accValue, (VARIANT child, BSTR value), (child, value))
    FORWARD(children_, Next, (ULONG count, VARIANT* next, ULONG* fetched), (count, next, fetched))
    FORWARD(children_, Skip, (ULONG count), (count))
    FORWARD(children_, Reset, (), ())
    FORWARD(children_, Clone, (IEnumVARIANT** copy), (copy))
    FORWARD(window_, GetWindow, (HWND* window), (window))
    FORWARD(window_, ContextSensitiveHelp, (BOOL enter), (enter))
    // clang-format on

private:
    ~Object() {
        if (children_) children_->Release();
        if (window_) window_->Release();
        standard_->Release();
    }

    IAccessible* const standard_;
    IEnumVARIANT* children_ = nullptr;
    IOleWindow* window_ = nullptr;
    const wchar_t* const name_;
    LONG references_ = 1;
};

#undef FORWARD

}  // namespace

LRESULT OwnAccessibleObject(HWND control, WPARAM wp, const wchar_t* name) {
    IAccessible* standard = nullptr;
    if (FAILED(CreateStandardAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&standard))))
        return 0;
    auto* own = new Object(standard, name);
    const LRESULT answer =
        ResultFromAccessibleObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(own));
    own->Release();  // what the screen reader holds keeps it
    return answer > 0 ? answer : 0;
}

}  // namespace zolv
