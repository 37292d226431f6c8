#include "monitor/windows/win32/AccessibleControl.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <utility>

#include "platform/win32/Win32Text.h"

namespace tidemark::monitor {
namespace {

// MinGW's IID_IAccessible symbol links to nothing usable.
constexpr IID kAccessibleIid = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr UINT_PTR kSubclass = 0x41cc;
constexpr const wchar_t* kDescriptionProperty = L"TidemarkAccessibleDescription";

// What is not given (empty, role 0) comes from the system's proxy.
struct Description {
    std::wstring name;
    std::wstring value;
    std::wstring description;
    long role = 0;
};
using SharedDescription = std::shared_ptr<Description>;

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT copyOut(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// The system's object for the control, with the name, value and role
// answered from the description.
class DescribedAccessible final : public IAccessible {
public:
    DescribedAccessible(IAccessible* standard, SharedDescription description)
        : standard_(standard), description_(std::move(description)) {}
    ~DescribedAccessible() { standard_->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kAccessibleIid)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return isSelf(child) && !description_->name.empty() ? copyOut(description_->name, name)
                                                            : standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return isSelf(child) && !description_->value.empty() ? copyOut(description_->value, value)
                                                             : standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return isSelf(child) && !description_->description.empty() ? copyOut(description_->description, text)
                                                                   : standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child) || description_->role == 0) return standard_->get_accRole(child, role);
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = description_->role;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return standard_->get_accHelp(child, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return standard_->get_accKeyboardShortcut(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return standard_->get_accSelection(children); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return standard_->get_accDefaultAction(child, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    LONG references_ = 1;
    IAccessible* standard_;
    SharedDescription description_;
};

LRESULT CALLBACK describedProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
    auto* description = reinterpret_cast<SharedDescription*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, describedProcedure, kSubclass);
        ::RemovePropW(control, kDescriptionProperty);
        delete description;
    } else if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(::CreateStdAccessibleObject(control, OBJID_CLIENT, kAccessibleIid, reinterpret_cast<void**>(&standard))) &&
            standard) {
            auto* described = new DescribedAccessible(standard, *description);
            const LRESULT result = ::LresultFromObject(kAccessibleIid, wParam, described);
            described->Release();
            return result;
        }
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

SharedDescription* descriptionOf(HWND control) {
    return control ? static_cast<SharedDescription*>(::GetPropW(control, kDescriptionProperty)) : nullptr;
}

// The control's description, made and hooked up the first time it is asked for.
Description* describedAs(HWND control) {
    if (!control) return nullptr;
    if (SharedDescription* held = descriptionOf(control)) return held->get();
    auto* description = new SharedDescription(std::make_shared<Description>());
    if (!::SetWindowSubclass(control, describedProcedure, kSubclass, reinterpret_cast<DWORD_PTR>(description))) {
        delete description;
        return nullptr;
    }
    ::SetPropW(control, kDescriptionProperty, description);
    return description->get();
}

} // namespace

void describeControl(HWND control, const std::string& name, long role) {
    if (Description* d = describedAs(control)) {
        d->name = win32::toWide(name);
        d->role = role;
    }
}

void setControlDescription(HWND control, const std::string& description) {
    if (Description* d = describedAs(control)) d->description = win32::toWide(description);
}

void setControlValue(HWND control, const std::string& value) {
    SharedDescription* held = descriptionOf(control);
    if (!held) return;
    const std::wstring wide = win32::toWide(value);
    if ((*held)->value == wide) return;
    (*held)->value = wide;
    ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace tidemark::monitor
