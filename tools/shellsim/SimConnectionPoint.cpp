#include "SimConnectionPoint.h"
#include "SimState.h"
#include <exdisp.h>
#include <olectl.h>
#include <utility>

SimConnectionPoint::SimConnectionPoint(IConnectionPointContainer* owner, std::shared_ptr<SimState> state)
    : owner(owner), state(std::move(state))
{
}

SimConnectionPoint::~SimConnectionPoint()
{
    for (Sink& sink : sinks)
        sink.dispatch->Release();
}

void SimConnectionPoint::Fire(DISPID dispid, long argument)
{
    // A copy, held: a sink may unadvise (itself or another) while called.
    std::vector<IDispatch*> targets;
    for (Sink& sink : sinks) {
        sink.dispatch->AddRef();
        targets.push_back(sink.dispatch);
    }
    for (IDispatch* target : targets) {
        VARIANT arg;
        VariantInit(&arg);
        arg.vt = VT_I4;
        arg.lVal = argument;
        DISPPARAMS params = {&arg, nullptr, 1, 0};
        target->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        target->Release();
    }
}

HRESULT STDMETHODCALLTYPE SimConnectionPoint::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SimConnectionPoint::AddRef() { return owner->AddRef(); }
ULONG STDMETHODCALLTYPE SimConnectionPoint::Release() { return owner->Release(); }

HRESULT STDMETHODCALLTYPE SimConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (iid == nullptr)
        return E_POINTER;
    *iid = DIID_DShellWindowsEvents;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (container == nullptr)
        return E_POINTER;
    owner->AddRef();
    *container = owner;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (cookie == nullptr)
        return E_POINTER;
    *cookie = 0;
    if (sink == nullptr)
        return E_POINTER;
    HRESULT hr = state->FailureOf(kSimCollectionId, SimCall::Advise);
    if (hr != S_OK)
        return hr;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || dispatch == nullptr) {
        dispatch = nullptr;
        if (FAILED(sink->QueryInterface(DIID_DShellWindowsEvents, reinterpret_cast<void**>(&dispatch))) ||
            dispatch == nullptr)
            return CONNECT_E_CANNOTCONNECT;
    }
    sinks.push_back(Sink{nextCookie, dispatch});
    *cookie = nextCookie++;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimConnectionPoint::Unadvise(DWORD cookie)
{
    for (auto it = sinks.begin(); it != sinks.end(); ++it) {
        if (it->cookie == cookie) {
            IDispatch* dispatch = it->dispatch;
            sinks.erase(it);
            dispatch->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE SimConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections != nullptr)
        *connections = nullptr;
    return E_NOTIMPL;
}
