#pragma once
#include <windows.h>
#include <oaidl.h>
#include <functional>

// The shell window collection's event interface (DShellWindowsEvents).
extern const IID kShellWindowsEventsIid;

// An automation object embedded in a window object: it answers the shell
// window collection's two events, "WindowRegistered" (200) and
// "WindowRemoved" (201), each with one 32-bit integer (the shell's cookie),
// by handing the dispatch id and the integer to a callback. Its references
// are counted but it is never deleted through them: its owner owns it.
class CDispatchSink : public IDispatch
{
public:
    // The callback gets the dispatch id (200 or 201) and the argument.
    using Callback = std::function<void(DISPID, long)>;

    // Dispatch id of "WindowRegistered".
    static constexpr DISPID windowRegistered = 200;
    // Dispatch id of "WindowRemoved".
    static constexpr DISPID windowRemoved = 201;

    // callback may be empty; the events are then accepted and ignored.
    explicit CDispatchSink(Callback callback = Callback());
    CDispatchSink(const CDispatchSink&) = delete;
    CDispatchSink& operator=(const CDispatchSink&) = delete;

    // Replaces the callback.
    void SetCallback(Callback callback);
    // The IDispatch interface, without adding a reference.
    IDispatch* GetIDispatch() { return this; }
    // The number of references handed out and not yet released.
    ULONG RefCount() const { return refs; }

    // IUnknown, IDispatch and the shell windows event interface.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    // Counts a reference.
    STDMETHODIMP_(ULONG) AddRef() override;
    // Drops a reference (never deletes the object).
    STDMETHODIMP_(ULONG) Release() override;
    // No type information: sets 0.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    // No type information: E_NOTIMPL.
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    // Maps the two method names (any case) to 200 and 201; other names, and
    // parameter names, give DISPID_UNKNOWN and DISP_E_UNKNOWNNAME.
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    // Calls the callback for method 200 or 201 with its one argument coerced
    // to VT_I4. Errors: DISP_E_MEMBERNOTFOUND (other id or not a method
    // call), DISP_E_BADPARAMCOUNT, DISP_E_NONAMEDARGS, DISP_E_TYPEMISMATCH
    // (argument not convertible), DISP_E_EXCEPTION (the callback threw).
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

private:
    Callback callback;
    ULONG refs = 0;
};
