#pragma once
// What the stand-in shell's objects share with the ShellSim that drives them:
// the calls made to fail, the record of Quit calls and the switches. Held by
// shared pointer so that objects the program still holds outlive the ShellSim
// safely.
#include "ShellSim.h"
#include <map>
#include <utility>
#include <vector>

class SimState
{
public:
    // The status the call is made to fail with, S_OK if none.
    HRESULT FailureOf(int id, SimCall call) const;
    void SetFailure(int id, SimCall call, HRESULT hr);
    void ClearFailures() { failures.clear(); }

    void RecordQuit(int id) { quits.push_back(id); }
    const std::vector<int>& Quits() const { return quits; }

    HRESULT creationFailure = S_OK;
    bool noConnectionPoint = false;

    // Live object count, kept by every stand-in COM object.
    static void ObjectCreated();
    static void ObjectDestroyed();
    static long LiveObjects();

private:
    std::map<std::pair<int, int>, HRESULT> failures;
    std::vector<int> quits;
};

// The id that stands for the window list itself in FailCall.
const int kSimCollectionId = -1;

// The minimal IDispatch every stand-in object offers: no type information, no
// names, no members.
namespace simdispatch {
inline HRESULT TypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}
inline HRESULT TypeInfo(ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}
inline HRESULT IdsOfNames() { return DISP_E_UNKNOWNNAME; }
inline HRESULT Invoke() { return DISP_E_MEMBERNOTFOUND; }
} // namespace simdispatch
