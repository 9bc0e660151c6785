#pragma once
// The class object of the stand-in window list: every CreateInstance hands
// out the same window list (so all of a process's subscribers hear the same
// events), unless creation is made to fail.
#include <windows.h>
#include <ole2.h>
#include <unknwn.h>
#include <memory>

class SimState;

class SimClassFactory final : public IClassFactory
{
public:
    // One reference, the caller's; holds one on product.
    SimClassFactory(IUnknown* product, std::shared_ptr<SimState> state);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~SimClassFactory();
    LONG refs = 1;
    IUnknown* product;
    std::shared_ptr<SimState> state;
};
