#pragma once
// An IDispatch-only object of the stand-in shell: a document that is not an
// HTML page (a folder view), or a window that is not a web browser. Asked for
// anything but IUnknown and IDispatch (IHTMLDocument2, IWebBrowser2, ...) it
// answers E_NOINTERFACE.
#include <windows.h>
#include <ole2.h>
#include <oaidl.h>

class SimPlainObject final : public IDispatch
{
public:
    // One reference, the caller's.
    SimPlainObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    ~SimPlainObject();
    LONG refs = 1;
};
