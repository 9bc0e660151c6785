// shellsim.dll: the stand-in shell as an in-process server, for running the
// real Gravelin.exe in a test prefix where this DLL is the InprocServer32 of
// CLSID_ShellWindows (ThreadingModel Apartment). The first request for the
// class object creates the window list and, on that same thread, the
// "TarnwickShellSim" message window through which shelldriver.exe opens and
// closes windows, so every event reaches the program on the thread that
// subscribed. The DLL stays loaded for the life of the process.
#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <olectl.h>
#include "ShellSim.h"
#include "SimCommandWindow.h"

namespace {

ShellSim* shell = nullptr;
SimCommandWindow* commandWindow = nullptr;
HINSTANCE dllModule = nullptr;

// The key of the class, below HKEY_CLASSES_ROOT.
const char kClassKey[] = "CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\InprocServer32";

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        dllModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    // Nothing is torn down at detach: the process is ending and the program
    // may still hold references.
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_ShellWindows))
        return CLASS_E_CLASSNOTAVAILABLE;
    if (shell == nullptr) {
        shell = new ShellSim();
        commandWindow = new SimCommandWindow(*shell);
    }
    return shell->GetClassObject(riid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    // The message window's procedure lives here.
    return S_FALSE;
}

// regsvr32 shellsim.dll: makes this DLL the class's in-process server (meant
// for a throwaway test prefix; it replaces the system's entry).
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(dllModule, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kClassKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    const char model[] = "Apartment";
    LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1);
    if (result == ERROR_SUCCESS)
        result = RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model), sizeof model);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}
