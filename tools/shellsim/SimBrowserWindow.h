#pragma once
// A browser window of the stand-in shell: IWebBrowser2 with its bases
// IWebBrowserApp and IWebBrowser. Title, address, toolbar and document come
// from its SimWindowDetails; Quit is recorded in the shared state. Every call the
// program makes can be made to fail through the shared state.
#include <windows.h>
#include <exdisp.h>
#include <memory>
#include "ShellSim.h"

class SimState;

class SimBrowserWindow final : public IWebBrowser2
{
public:
    // One reference, the caller's. details.isWebBrowser is not looked at.
    SimBrowserWindow(int id, const SimWindowDetails& details, std::shared_ptr<SimState> state);
    // Takes a new title, address, toolbar value and document.
    void SetDetails(const SimWindowDetails& details);
    int Id() const { return id; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;
    // IWebBrowser: what the program reads
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR *LocationName) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR *LocationURL) override;
    // IWebBrowserApp: what the program reads and calls
    HRESULT STDMETHODCALLTYPE get_ToolBar(int *Value) override;
    HRESULT STDMETHODCALLTYPE Quit() override;
    // IWebBrowser: the rest
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE GoHome() override;
    HRESULT STDMETHODCALLTYPE GoSearch() override;
    HRESULT STDMETHODCALLTYPE Navigate(BSTR URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT *Level) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_Container(IDispatch **ppDisp) override;
    HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL *pBool) override;
    HRESULT STDMETHODCALLTYPE get_Type(BSTR *Type) override;
    HRESULT STDMETHODCALLTYPE get_Left(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Left(LONG Left) override;
    HRESULT STDMETHODCALLTYPE get_Top(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Top(LONG Top) override;
    HRESULT STDMETHODCALLTYPE get_Width(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Width(LONG Width) override;
    HRESULT STDMETHODCALLTYPE get_Height(LONG *pl) override;
    HRESULT STDMETHODCALLTYPE put_Height(LONG Height) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL *pBool) override;
    // IWebBrowserApp: the rest
    HRESULT STDMETHODCALLTYPE ClientToWindow(int *pcx, int *pcy) override;
    HRESULT STDMETHODCALLTYPE PutProperty(BSTR Property, VARIANT vtValue) override;
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR Property, VARIANT *pvtValue) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR *Name) override;
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR *pHWND) override;
    HRESULT STDMETHODCALLTYPE get_FullName(BSTR *FullName) override;
    HRESULT STDMETHODCALLTYPE get_Path(BSTR *Path) override;
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL *pBool) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL *pBool) override;
    HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_StatusText(BSTR *StatusText) override;
    HRESULT STDMETHODCALLTYPE put_StatusText(BSTR StatusText) override;
    HRESULT STDMETHODCALLTYPE put_ToolBar(int Value) override;
    HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL *Value) override;
    HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL *pbFullScreen) override;
    HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL bFullScreen) override;
    // IWebBrowser2
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT *URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override;
    HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID cmdID, OLECMDF *pcmdf) override;
    HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT *pvaIn, VARIANT *pvaOut) override;
    HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT *pvaClsid, VARIANT *pvarShow, VARIANT *pvarSize) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE *plReadyState) override;
    HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL *pbOffline) override;
    HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL bOffline) override;
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL *pbSilent) override;
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL bSilent) override;
    HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL *pbRegister) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL bRegister) override;
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL *pbRegister) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override;
    HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL *pbRegister) override;
    HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL bRegister) override;
    HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL *Value) override;
    HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL Value) override;
    HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL *Value) override;
    HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL Value) override;

private:
    ~SimBrowserWindow();
    HRESULT CopyString(SimCall call, const std::wstring& text, BSTR* out) const;

    LONG refs = 1;
    int id;
    SimWindowDetails details;
    std::shared_ptr<SimState> state;
    IDispatch* document = nullptr;
};
