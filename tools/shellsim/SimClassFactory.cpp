#include "SimClassFactory.h"
#include "SimState.h"
#include <utility>

SimClassFactory::SimClassFactory(IUnknown* product, std::shared_ptr<SimState> state)
    : product(product), state(std::move(state))
{
    product->AddRef();
    SimState::ObjectCreated();
}

SimClassFactory::~SimClassFactory()
{
    product->Release();
    SimState::ObjectDestroyed();
}

HRESULT STDMETHODCALLTYPE SimClassFactory::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SimClassFactory::AddRef() { return InterlockedIncrement(&refs); }

ULONG STDMETHODCALLTYPE SimClassFactory::Release()
{
    LONG left = InterlockedDecrement(&refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE SimClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    if (state->creationFailure != S_OK)
        return state->creationFailure;
    return product->QueryInterface(riid, out);
}

HRESULT STDMETHODCALLTYPE SimClassFactory::LockServer(BOOL) { return S_OK; }
