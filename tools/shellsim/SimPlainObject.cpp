#include "SimPlainObject.h"
#include "SimState.h"

SimPlainObject::SimPlainObject() { SimState::ObjectCreated(); }
SimPlainObject::~SimPlainObject() { SimState::ObjectDestroyed(); }

HRESULT STDMETHODCALLTYPE SimPlainObject::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SimPlainObject::AddRef() { return InterlockedIncrement(&refs); }

ULONG STDMETHODCALLTYPE SimPlainObject::Release()
{
    LONG left = InterlockedDecrement(&refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE SimPlainObject::GetTypeInfoCount(UINT* count) { return simdispatch::TypeInfoCount(count); }
HRESULT STDMETHODCALLTYPE SimPlainObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return simdispatch::TypeInfo(info); }
HRESULT STDMETHODCALLTYPE SimPlainObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return simdispatch::IdsOfNames(); }
HRESULT STDMETHODCALLTYPE SimPlainObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return simdispatch::Invoke();
}
