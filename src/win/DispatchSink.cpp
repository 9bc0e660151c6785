#include "win/DispatchSink.h"

#include <oleauto.h>
#include <utility>

// {FE4106E0-399A-11D0-A48C-00A0C90A8F39}
const IID kShellWindowsEventsIid = {0xFE4106E0, 0x399A, 0x11D0, {0xA4, 0x8C, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};

namespace {

struct MethodName
{
    const wchar_t* name;
    DISPID id;
};

const MethodName methods[] = {
    {L"WindowRegistered", CDispatchSink::windowRegistered},
    {L"WindowRemoved", CDispatchSink::windowRemoved},
};

// Case-insensitive comparison of ASCII names.
bool SameName(const wchar_t* a, const wchar_t* b)
{
    for (;; ++a, ++b) {
        wchar_t ca = (*a >= L'A' && *a <= L'Z') ? static_cast<wchar_t>(*a - L'A' + L'a') : *a;
        wchar_t cb = (*b >= L'A' && *b <= L'Z') ? static_cast<wchar_t>(*b - L'A' + L'a') : *b;
        if (ca != cb)
            return false;
        if (ca == 0)
            return true;
    }
}

} // namespace

CDispatchSink::CDispatchSink(Callback callback) : callback(std::move(callback)) {}

void CDispatchSink::SetCallback(Callback cb)
{
    callback = std::move(cb);
}

STDMETHODIMP CDispatchSink::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kShellWindowsEventsIid)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CDispatchSink::AddRef()
{
    return ++refs;
}

STDMETHODIMP_(ULONG) CDispatchSink::Release()
{
    if (refs > 0)
        --refs;
    return refs;
}

STDMETHODIMP CDispatchSink::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CDispatchSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDispatchSink::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (names == nullptr || ids == nullptr)
        return E_POINTER;
    if (count == 0)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    ids[0] = DISPID_UNKNOWN;
    for (const MethodName& method : methods) {
        if (names[0] != nullptr && SameName(names[0], method.name))
            ids[0] = method.id;
    }
    if (ids[0] == DISPID_UNKNOWN)
        hr = DISP_E_UNKNOWNNAME;
    // The methods' parameters have no names to look up.
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

STDMETHODIMP CDispatchSink::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argError)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if ((id != windowRegistered && id != windowRemoved) || (flags & DISPATCH_METHOD) == 0)
        return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr)
        return E_INVALIDARG;
    if (params->cArgs != 1 || params->rgvarg == nullptr)
        return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;

    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantChangeType(&value, &params->rgvarg[0], 0, VT_I4))) {
        if (argError != nullptr)
            *argError = 0;
        return DISP_E_TYPEMISMATCH;
    }
    long cookie = value.lVal;
    VariantClear(&value);
    if (result != nullptr)
        VariantInit(result);

    // A C++ exception must never unwind into the caller's COM machinery.
    try {
        if (callback)
            callback(id, cookie);
    } catch (...) {
        if (exception != nullptr) {
            *exception = EXCEPINFO();
            exception->scode = E_UNEXPECTED;
        }
        return DISP_E_EXCEPTION;
    }
    return S_OK;
}
