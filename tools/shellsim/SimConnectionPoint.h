#pragma once
// The window list's one connection point, for DIID_DShellWindowsEvents. It
// lives inside the window list and shares its reference count. Sinks are kept
// as IDispatch and called through Invoke.
#include <windows.h>
#include <ocidl.h>
#include <memory>
#include <vector>

class SimState;

class SimConnectionPoint final : public IConnectionPoint
{
public:
    // owner: the container; its IUnknown counts the references of both.
    SimConnectionPoint(IConnectionPointContainer* owner, std::shared_ptr<SimState> state);
    // Lets every sink go.
    ~SimConnectionPoint();
    SimConnectionPoint(const SimConnectionPoint&) = delete;
    SimConnectionPoint& operator=(const SimConnectionPoint&) = delete;

    // Calls every sink's Invoke with DISPATCH_METHOD, the given DISPID and one
    // VT_I4 argument, in the order they were advised. A sink may unadvise
    // during the call.
    void Fire(DISPID dispid, long argument);
    int Count() const { return static_cast<int>(sinks.size()); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    struct Sink
    {
        DWORD cookie;
        IDispatch* dispatch;
    };
    IConnectionPointContainer* owner;
    std::shared_ptr<SimState> state;
    std::vector<Sink> sinks;
    DWORD nextCookie = 1;
};
