#pragma once
// The stand-in shell's window list: IShellWindows (count and item), the
// running state (IRunnableObject, for OleRun) and one connection point for
// the window events. The ShellSim adds and removes the windows.
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <memory>
#include <vector>
#include "SimConnectionPoint.h"

class SimState;
class SimBrowserWindow;

class SimShellWindows final : public IShellWindows, public IConnectionPointContainer, public IRunnableObject
{
public:
    // One reference, the caller's.
    explicit SimShellWindows(std::shared_ptr<SimState> state);

    // Appends a window; takes over the caller's reference. browser: the same
    // object when it is a web browser, else null.
    void Add(int id, IDispatch* window, SimBrowserWindow* browser);
    // Takes a window out; false if it is not in the list.
    bool Remove(int id);
    // Empties the list without events.
    void RemoveAll();
    // The browser window with that id in the list, or null.
    SimBrowserWindow* Browser(int id) const;
    int WindowCount() const { return static_cast<int>(windows.size()); }
    // Tells every subscriber.
    void Fire(DISPID dispid, long argument) { connectionPoint.Fire(dispid, argument); }
    int AdviseCount() const { return connectionPoint.Count(); }

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
    // IShellWindows
    HRESULT STDMETHODCALLTYPE get_Count(LONG *Count) override;
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch **Folder) override;
    HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown **ppunk) override;
    HRESULT STDMETHODCALLTYPE Register(IDispatch *pid, LONG hWnd, int swClass, LONG *plCookie) override;
    HRESULT STDMETHODCALLTYPE RegisterPending(LONG lThreadId, VARIANT *pvarloc, VARIANT *pvarlocRoot, int swClass, LONG *plCookie) override;
    HRESULT STDMETHODCALLTYPE Revoke(LONG lCookie) override;
    HRESULT STDMETHODCALLTYPE OnNavigate(LONG lCookie, VARIANT *pvarLoc) override;
    HRESULT STDMETHODCALLTYPE OnActivated(LONG lCookie, VARIANT_BOOL fActive) override;
    HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT *pvarLoc, VARIANT *pvarLocRoot, int swClass, LONG *phwnd, int swfwOptions, IDispatch **ppdispOut) override;
    HRESULT STDMETHODCALLTYPE OnCreated(LONG lCookie, IUnknown *punk) override;
    HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL fAttach) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;
    // IRunnableObject
    HRESULT STDMETHODCALLTYPE GetRunningClass(LPCLSID clsid) override;
    HRESULT STDMETHODCALLTYPE Run(LPBINDCTX context) override;
    BOOL STDMETHODCALLTYPE IsRunning() override;
    HRESULT STDMETHODCALLTYPE LockRunning(BOOL lock, BOOL lastUnlockCloses) override;
    HRESULT STDMETHODCALLTYPE SetContainedObject(BOOL contained) override;

private:
    ~SimShellWindows();

    struct Window
    {
        int id;
        IDispatch* window;
        SimBrowserWindow* browser;
    };
    LONG refs = 1;
    std::shared_ptr<SimState> state;
    std::vector<Window> windows;
    SimConnectionPoint connectionPoint;
};
