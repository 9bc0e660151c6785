#include "SimShellWindows.h"
#include "SimBrowserWindow.h"
#include "SimState.h"
#include <olectl.h>
#include <utility>

SimShellWindows::SimShellWindows(std::shared_ptr<SimState> state)
    : state(state), connectionPoint(static_cast<IConnectionPointContainer*>(this), state)
{
    SimState::ObjectCreated();
}

SimShellWindows::~SimShellWindows()
{
    RemoveAll();
    SimState::ObjectDestroyed();
}

void SimShellWindows::Add(int id, IDispatch* window, SimBrowserWindow* browser)
{
    windows.push_back(Window{id, window, browser});
}

bool SimShellWindows::Remove(int id)
{
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if (it->id == id) {
            IDispatch* window = it->window;
            windows.erase(it);
            window->Release();
            return true;
        }
    }
    return false;
}

void SimShellWindows::RemoveAll()
{
    std::vector<Window> old;
    old.swap(windows);
    for (Window& window : old)
        window.window->Release();
}

SimBrowserWindow* SimShellWindows::Browser(int id) const
{
    for (const Window& window : windows)
        if (window.id == id)
            return window.browser;
    return nullptr;
}

HRESULT STDMETHODCALLTYPE SimShellWindows::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *out = static_cast<IShellWindows*>(this);
    } else if (IsEqualIID(riid, IID_IShellWindows)) {
        HRESULT hr = state->FailureOf(kSimCollectionId, SimCall::QueryShellWindows);
        if (hr != S_OK)
            return hr;
        *out = static_cast<IShellWindows*>(this);
    } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
        if (state->noConnectionPoint)
            return E_NOINTERFACE;
        *out = static_cast<IConnectionPointContainer*>(this);
    } else if (IsEqualIID(riid, IID_IRunnableObject)) {
        *out = static_cast<IRunnableObject*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE SimShellWindows::AddRef() { return InterlockedIncrement(&refs); }

ULONG STDMETHODCALLTYPE SimShellWindows::Release()
{
    LONG left = InterlockedDecrement(&refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE SimShellWindows::GetTypeInfoCount(UINT* count) { return simdispatch::TypeInfoCount(count); }
HRESULT STDMETHODCALLTYPE SimShellWindows::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return simdispatch::TypeInfo(info); }
HRESULT STDMETHODCALLTYPE SimShellWindows::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return simdispatch::IdsOfNames(); }
HRESULT STDMETHODCALLTYPE SimShellWindows::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return simdispatch::Invoke();
}

HRESULT STDMETHODCALLTYPE SimShellWindows::get_Count(LONG* Count)
{
    if (Count == nullptr)
        return E_POINTER;
    HRESULT hr = state->FailureOf(kSimCollectionId, SimCall::Count);
    if (hr != S_OK)
        return hr;
    *Count = static_cast<LONG>(windows.size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimShellWindows::Item(VARIANT index, IDispatch** Folder)
{
    if (Folder == nullptr)
        return E_POINTER;
    *Folder = nullptr;
    HRESULT hr = state->FailureOf(kSimCollectionId, SimCall::Item);
    if (hr != S_OK)
        return hr;
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, &index, 0, VT_I4)))
        return E_INVALIDARG;
    LONG at = number.lVal;
    if (at < 0 || at >= static_cast<LONG>(windows.size()))
        return S_FALSE;
    IDispatch* window = windows[static_cast<size_t>(at)].window;
    window->AddRef();
    *Folder = window;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimShellWindows::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points != nullptr)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SimShellWindows::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (point == nullptr)
        return E_POINTER;
    *point = nullptr;
    HRESULT hr = state->FailureOf(kSimCollectionId, SimCall::FindConnectionPoint);
    if (hr != S_OK)
        return hr;
    if (!IsEqualIID(riid, DIID_DShellWindowsEvents))
        return CONNECT_E_NOCONNECTION;
    connectionPoint.AddRef();
    *point = &connectionPoint;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimShellWindows::GetRunningClass(LPCLSID clsid)
{
    if (clsid == nullptr)
        return E_POINTER;
    *clsid = CLSID_ShellWindows;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimShellWindows::Run(LPBINDCTX) { return state->FailureOf(kSimCollectionId, SimCall::Run); }
BOOL STDMETHODCALLTYPE SimShellWindows::IsRunning() { return TRUE; }
HRESULT STDMETHODCALLTYPE SimShellWindows::LockRunning(BOOL, BOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE SimShellWindows::SetContainedObject(BOOL) { return S_OK; }

// Registration and navigation belong to the real shell's browsers.
HRESULT STDMETHODCALLTYPE SimShellWindows::_NewEnum(IUnknown **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::Register(IDispatch *, LONG, int, LONG *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::RegisterPending(LONG, VARIANT *, VARIANT *, int, LONG *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::Revoke(LONG) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::OnNavigate(LONG, VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::OnActivated(LONG, VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::FindWindowSW(VARIANT *, VARIANT *, int, LONG *, int, IDispatch **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::OnCreated(LONG, IUnknown *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimShellWindows::ProcessAttachDetach(VARIANT_BOOL) { return E_NOTIMPL; }
