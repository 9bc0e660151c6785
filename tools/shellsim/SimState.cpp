#include "SimState.h"

namespace {
volatile LONG liveObjects = 0;
}

HRESULT SimState::FailureOf(int id, SimCall call) const
{
    auto it = failures.find(std::make_pair(id, static_cast<int>(call)));
    return it == failures.end() ? S_OK : it->second;
}

void SimState::SetFailure(int id, SimCall call, HRESULT hr)
{
    auto key = std::make_pair(id, static_cast<int>(call));
    if (hr == S_OK)
        failures.erase(key);
    else
        failures[key] = hr;
}

void SimState::ObjectCreated() { InterlockedIncrement(&liveObjects); }
void SimState::ObjectDestroyed() { InterlockedDecrement(&liveObjects); }
long SimState::LiveObjects() { return InterlockedCompareExchange(&liveObjects, 0, 0); }
