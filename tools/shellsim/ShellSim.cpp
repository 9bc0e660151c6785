#include "ShellSim.h"
#include "SimBrowserWindow.h"
#include "SimClassFactory.h"
#include "SimPlainObject.h"
#include "SimShellWindows.h"
#include "SimState.h"
#include <exdisp.h>

namespace {
const DISPID kWindowRegistered = 200;
const DISPID kWindowRemoved = 201;
}

ShellSim::ShellSim() : state(std::make_shared<SimState>())
{
    windows = new SimShellWindows(state);
}

ShellSim::~ShellSim()
{
    Revoke();
    if (factory != nullptr)
        factory->Release();
    windows->RemoveAll();
    windows->Release();
}

HRESULT ShellSim::GetClassObject(REFIID riid, void** out)
{
    if (factory == nullptr)
        factory = new SimClassFactory(static_cast<IShellWindows*>(windows), state);
    return factory->QueryInterface(riid, out);
}

HRESULT ShellSim::RegisterInProcess()
{
    if (registration != 0)
        return S_OK;
    if (factory == nullptr)
        factory = new SimClassFactory(static_cast<IShellWindows*>(windows), state);
    return CoRegisterClassObject(CLSID_ShellWindows, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration);
}

void ShellSim::Revoke()
{
    if (registration != 0) {
        CoRevokeClassObject(registration);
        registration = 0;
    }
}

int ShellSim::OpenWindow(const SimWindowDetails& details)
{
    int id = nextId++;
    if (details.isWebBrowser) {
        SimBrowserWindow* browser = new SimBrowserWindow(id, details, state);
        windows->Add(id, browser, browser);
    } else {
        windows->Add(id, new SimPlainObject(), nullptr);
    }
    windows->Fire(kWindowRegistered, id);
    return id;
}

void ShellSim::CloseWindow(int id)
{
    if (windows->Remove(id))
        windows->Fire(kWindowRemoved, id);
}

void ShellSim::UpdateWindow(int id, const SimWindowDetails& details)
{
    SimBrowserWindow* browser = windows->Browser(id);
    if (browser != nullptr)
        browser->SetDetails(details);
}

void ShellSim::FireEvent(DISPID dispid, long argument) { windows->Fire(dispid, argument); }

void ShellSim::FailCall(int id, SimCall call, HRESULT hr) { state->SetFailure(id, call, hr); }
void ShellSim::ClearFailures() { state->ClearFailures(); }
void ShellSim::FailCreation(HRESULT hr) { state->creationFailure = hr; }
void ShellSim::NoConnectionPoint(bool on) { state->noConnectionPoint = on; }

std::vector<int> ShellSim::QuitCalls() const { return state->Quits(); }
int ShellSim::AdviseCount() const { return windows->AdviseCount(); }
int ShellSim::WindowCount() const { return windows->WindowCount(); }
IUnknown* ShellSim::Collection() const { return static_cast<IShellWindows*>(windows); }
long ShellSim::LiveObjects() { return SimState::LiveObjects(); }
