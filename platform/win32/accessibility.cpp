// Screen readers on Windows: the canvas answers WM_GETOBJECT with an
// IAccessible that asks the bar's source at every call, and bars raise
// WinEvents when their value or name changes. Releasing a bar cuts its
// objects loose: a client that still holds one gets CO_E_OBJNOTCONNECTED.
#include "platform/win32/win32.h"
// The header below needs <windows.h> first.
#include <oleacc.h>

#include <new>
#include <set>
#include <string>

namespace vb::platform {

namespace {

using win32::hwnd;

class BarAccessible;

// Objects alive (some client holds a reference), so a released bar can
// cut them loose. Never destroyed: clients may release objects during exit.
std::set<BarAccessible*>& liveObjects() {
    static auto* objects = new std::set<BarAccessible*>;
    return *objects;
}

// __uuidof, not IID_IAccessible: mingw's import library gives that name as
// a data import, which without dllimport is a jump thunk, not the GUID.
bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

BSTR toBstr(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (out && length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, length);
    return out;
}

class BarAccessible final : public IAccessible {
public:
    BarAccessible(HWND canvas, AccessibleSource source) : canvas_(canvas), source_(source) {
        liveObjects().insert(this);
    }

    HWND canvas() const { return canvas_; }
    void disconnect() { source_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0) {
            liveObjects().erase(this);
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: what the bar is.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!source_) return CO_E_OBJNOTCONNECTED;
        return CreateStdAccessibleObject(canvas_, OBJID_WINDOW, IID_IDispatch,
                                         reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return source_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (!child) return E_POINTER;
        *child = nullptr;
        return source_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        AccessibleDescription d;
        if (HRESULT status = describe(child, &d); status != S_OK) return status;
        if (d.name.empty()) return S_FALSE;
        *name = toBstr(d.name);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        AccessibleDescription d;
        if (HRESULT status = describe(child, &d); status != S_OK) return status;
        *value = toBstr(d.value);
        return *value ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        if (!source_) return CO_E_OBJNOTCONNECTED;
        if (!isSelf(child)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PROGRESSBAR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        AccessibleDescription d;
        if (HRESULT status = describe(child, &d); status != S_OK) return status;
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_READONLY | (d.unavailable ? STATE_SYSTEM_UNAVAILABLE : 0) |
                      (d.invisible ? STATE_SYSTEM_INVISIBLE : 0) | (d.busy ? STATE_SYSTEM_BUSY : 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        AccessibleDescription d;
        if (HRESULT status = describe(child, &d); status != S_OK) return status;
        *left = d.location.left;
        *top = d.location.top;
        *width = d.location.width();
        *height = d.location.height();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (!child) return E_POINTER;
        VariantInit(child);
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        AccessibleDescription d;
        if (HRESULT status = describe(self, &d); status != S_OK) return status;
        const Rect& r = d.location;
        if (x < r.left || y < r.top || x >= r.right || y >= r.bottom) return S_FALSE;
        *child = self;
        return S_OK;
    }

    // Not supported: the documented answer for members an object lacks.
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override { return lacks(out); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return lacks(out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (topic) *topic = 0;
        return lacks(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override { return lacks(out); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* out) override { return lacks(out); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return lacksVariant(out); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return lacksVariant(out); }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return notSupported(); }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* out) override { return lacksVariant(out); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return notSupported(); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
        return source_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
        return source_ ? E_NOTIMPL : CO_E_OBJNOTCONNECTED;
    }

private:
    ~BarAccessible() = default;

    HRESULT describe(const VARIANT& child, AccessibleDescription* out) const {
        if (!source_) return CO_E_OBJNOTCONNECTED;
        if (!isSelf(child)) return E_INVALIDARG;
        // A COM method is a boundary: nothing thrown may leave it.
        try {
            return source_(reinterpret_cast<Window>(canvas_), out) ? S_OK : CO_E_OBJNOTCONNECTED;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT notSupported() const { return source_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED; }
    HRESULT lacks(BSTR* out) const {
        if (out) *out = nullptr;
        return notSupported();
    }
    HRESULT lacksVariant(VARIANT* out) const {
        if (out) VariantInit(out);
        return notSupported();
    }

    LONG refs_ = 1;
    HWND canvas_;
    AccessibleSource source_;
};

}  // namespace

bool isWindowVisible(Window window) { return IsWindowVisible(hwnd(window)) != FALSE; }

bool isWindowEnabled(Window window) { return IsWindow(hwnd(window)) && IsWindowEnabled(hwnd(window)); }

LResult answerAccessibleQuery(Window window, Window canvas, WParam wParam, LParam lParam,
                              AccessibleSource source, bool* handled) {
    *handled = false;
    // The object id travels as a DWORD in lParam.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || !source || !IsWindow(hwnd(canvas)))
        return 0;
    // The object records itself as live, which can run out of memory too.
    BarAccessible* object = nullptr;
    try {
        object = new BarAccessible(hwnd(canvas), source);
    } catch (...) {
        return 0;
    }
    // The answer holds its own reference when it succeeded.
    win32::ComPtr<BarAccessible> ours(object);
    LRESULT answer = LresultFromObject(__uuidof(IAccessible), static_cast<WPARAM>(wParam), ours.get());
    if (FAILED(static_cast<HRESULT>(answer))) return 0;
    *handled = true;
    (void)window;
    return static_cast<LResult>(answer);
}

void disconnectAccessible(Window canvas) {
    for (BarAccessible* object : liveObjects())
        if (object->canvas() == hwnd(canvas)) object->disconnect();
}

void raiseAccessEvent(Window canvas, AccessEvent event) {
    DWORD id = event == AccessEvent::ValueChange ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE;
    NotifyWinEvent(id, hwnd(canvas), OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace vb::platform
