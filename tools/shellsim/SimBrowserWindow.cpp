#include "SimBrowserWindow.h"
#include "SimHtmlDocument.h"
#include "SimPlainObject.h"
#include "SimState.h"
#include <utility>

SimBrowserWindow::SimBrowserWindow(int id, const SimWindowDetails& details, std::shared_ptr<SimState> state)
    : id(id), state(std::move(state))
{
    SimState::ObjectCreated();
    SetDetails(details);
}

SimBrowserWindow::~SimBrowserWindow()
{
    if (document != nullptr)
        document->Release();
    SimState::ObjectDestroyed();
}

void SimBrowserWindow::SetDetails(const SimWindowDetails& newDetails)
{
    details = newDetails;
    if (document != nullptr) {
        document->Release();
        document = nullptr;
    }
    if (details.document == SimDocument::Html)
        document = new SimHtmlDocument();
    else if (details.document == SimDocument::NotHtml)
        document = new SimPlainObject();
}

HRESULT STDMETHODCALLTYPE SimBrowserWindow::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IWebBrowser2) || IsEqualIID(riid, IID_IWebBrowserApp) ||
        IsEqualIID(riid, IID_IWebBrowser)) {
        HRESULT hr = state->FailureOf(id, SimCall::QueryWebBrowser);
        if (hr != S_OK)
            return hr;
    } else if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) {
        return E_NOINTERFACE;
    }
    *out = static_cast<IWebBrowser2*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE SimBrowserWindow::AddRef() { return InterlockedIncrement(&refs); }

ULONG STDMETHODCALLTYPE SimBrowserWindow::Release()
{
    LONG left = InterlockedDecrement(&refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE SimBrowserWindow::GetTypeInfoCount(UINT* count) { return simdispatch::TypeInfoCount(count); }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return simdispatch::TypeInfo(info); }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return simdispatch::IdsOfNames(); }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return simdispatch::Invoke();
}

HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Document(IDispatch** ppDisp)
{
    if (ppDisp == nullptr)
        return E_POINTER;
    *ppDisp = nullptr;
    HRESULT hr = state->FailureOf(id, SimCall::Document);
    if (hr != S_OK)
        return hr;
    if (document != nullptr) {
        document->AddRef();
        *ppDisp = document;
    }
    return S_OK;
}

HRESULT SimBrowserWindow::CopyString(SimCall call, const std::wstring& text, BSTR* out) const
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    HRESULT hr = state->FailureOf(id, call);
    if (hr != S_OK)
        return hr;
    if (text.empty())
        return S_OK;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_LocationName(BSTR* LocationName)
{
    return CopyString(SimCall::LocationName, details.title, LocationName);
}

HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_LocationURL(BSTR* LocationURL)
{
    return CopyString(SimCall::LocationURL, details.url, LocationURL);
}

HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_ToolBar(int* Value)
{
    if (Value == nullptr)
        return E_POINTER;
    HRESULT hr = state->FailureOf(id, SimCall::ToolBar);
    if (hr != S_OK)
        return hr;
    *Value = static_cast<int>(details.toolBar);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE SimBrowserWindow::Quit()
{
    // The real shell closes the window later; the test closes it with
    // CloseWindow when it wants to.
    state->RecordQuit(id);
    return state->FailureOf(id, SimCall::Quit);
}

// Navigation, placement and the rest are never used.
HRESULT STDMETHODCALLTYPE SimBrowserWindow::GoBack() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::GoForward() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::GoHome() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::GoSearch() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::Navigate(BSTR, VARIANT *, VARIANT *, VARIANT *, VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::Refresh() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::Refresh2(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::Stop() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Application(IDispatch **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Parent(IDispatch **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Container(IDispatch **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_TopLevelContainer(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Type(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Left(LONG *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Left(LONG) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Top(LONG *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Top(LONG) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Width(LONG *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Width(LONG) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Height(LONG *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Height(LONG) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Busy(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::ClientToWindow(int *, int *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::PutProperty(BSTR, VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::GetProperty(BSTR, VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Name(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_HWND(SHANDLE_PTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_FullName(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Path(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Visible(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Visible(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_StatusBar(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_StatusBar(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_StatusText(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_StatusText(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_ToolBar(int) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_MenuBar(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_MenuBar(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_FullScreen(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_FullScreen(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::Navigate2(VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::QueryStatusWB(OLECMDID, OLECMDF *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT *, VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::ShowBrowserBar(VARIANT *, VARIANT *, VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_ReadyState(READYSTATE *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Offline(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Offline(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Silent(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Silent(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_RegisterAsBrowser(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_RegisterAsBrowser(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_RegisterAsDropTarget(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_RegisterAsDropTarget(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_TheaterMode(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_TheaterMode(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_AddressBar(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_AddressBar(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::get_Resizable(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimBrowserWindow::put_Resizable(VARIANT_BOOL) { return E_NOTIMPL; }
