#pragma once
// The stand-in shell for the Windows tests: an in-process COM object that
// plays the shell's window list (CLSID_ShellWindows) and its browser windows,
// so that a test can open and close windows of every kind, watch which ones
// the program closes, and make any call fail.
//
// Use (on one thread, inside CoInitialize):
//     ShellSim shell;                       // creates the window list
//     shell.RegisterInProcess();            // CoCreateInstance(CLSID_ShellWindows) now gets it
//     int id = shell.OpenWindow(details);   // "WindowRegistered" (200) to every subscriber
//     shell.FailCall(id, SimCall::ToolBar, E_FAIL);
//     ... run the program's code ...
//     shell.QuitCalls();                    // ids in the order Quit was called
//     shell.CloseWindow(id);                // "WindowRemoved" (201)
//     shell.Revoke();                       // also done by the destructor
//
// The window list:
//   - get_Count: the number of open windows; Item(VARIANT index): a new
//     reference to the window's IDispatch, or S_FALSE and null past the end
//     (the index is coerced to VT_I4; E_INVALIDARG if it cannot be); the other
//     IShellWindows members answer E_NOTIMPL.
//   - IRunnableObject, so OleRun reaches Run (S_OK unless made to fail).
//   - IConnectionPointContainer with one connection point, for
//     DIID_DShellWindowsEvents. Advise asks the sink for IDispatch (else for
//     DIID_DShellWindowsEvents) and keeps it until Unadvise or until the list
//     goes; cookies start at 1. Events are IDispatch::Invoke calls with
//     DISPATCH_METHOD, DISPID 200 (registered) or 201 (removed) and one VT_I4
//     argument, the window id, made at once on the thread that opens or closes
//     the window.
// Browser windows (IWebBrowser2 and its bases): get_LocationName and
// get_LocationURL give copies of the title and address (an empty one gives a
// null BSTR), get_Document a new reference to the document (null for none),
// get_ToolBar the toolbar value, Quit records the call. Everything else
// answers E_NOTIMPL. HTML documents answer IHTMLDocument2 (all members
// E_NOTIMPL); other documents are IDispatch only. A window that is no web
// browser is IDispatch only and refuses IWebBrowser2, IWebBrowserApp and
// IWebBrowser with E_NOINTERFACE.
// Every object's IDispatch is minimal: no type information, no names,
// Invoke answers DISP_E_MEMBERNOTFOUND.
//
// Driven from another process: shellsim.dll (shellsim_dll.cpp) serves the
// class as an in-process server, with a message window that takes the
// commands of SimCommands.h; shelldriver.exe sends them.
#include <windows.h>
#include <ole2.h>
#include <memory>
#include <string>
#include <vector>

class SimState;
class SimShellWindows;
class SimBrowserWindow;

// The calls that FailCall can make fail. The first six below belong to the
// window list (id -1), the rest to a window.
enum class SimCall
{
    Count,               // IShellWindows::get_Count
    Item,                // IShellWindows::Item (the output is set to null)
    QueryShellWindows,   // QueryInterface of the list for IID_IShellWindows
    Run,                 // IRunnableObject::Run, so OleRun fails with it
    FindConnectionPoint, // IConnectionPointContainer::FindConnectionPoint
    Advise,              // IConnectionPoint::Advise (no sink is kept)
    LocationName,        // IWebBrowser::get_LocationName
    LocationURL,         // IWebBrowser::get_LocationURL
    Document,            // IWebBrowser::get_Document
    ToolBar,             // IWebBrowserApp::get_ToolBar
    Quit,                // IWebBrowserApp::Quit (the call is still recorded)
    QueryWebBrowser,     // QueryInterface of the window for IWebBrowser2,
                         // IWebBrowserApp or IWebBrowser
};

// What a window shows.
enum class SimDocument
{
    Html,    // an HTML page: the document answers IHTMLDocument2
    NotHtml, // something else (a folder view): IDispatch only
    None,    // no document yet: get_Document gives null
};

// A window to open.
struct SimWindowDetails
{
    std::wstring title;              // get_LocationName
    std::wstring url;                // get_LocationURL
    long toolBar = 1;                // get_ToolBar (0: no toolbar)
    SimDocument document = SimDocument::Html;
    bool isWebBrowser = true;        // false: IDispatch only
};

class ShellSim
{
public:
    // Creates the window list (empty) with no failures.
    ShellSim();
    // Revokes the registration and empties the list without events; objects
    // the program still holds stay valid until it releases them.
    ~ShellSim();
    ShellSim(const ShellSim&) = delete;
    ShellSim& operator=(const ShellSim&) = delete;

    // Registers the class object of CLSID_ShellWindows for this process
    // (CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE): every CoCreateInstance of
    // that class in this process then gets this window list. Once only.
    HRESULT RegisterInProcess();
    // Undoes RegisterInProcess (nothing if not registered).
    void Revoke();
    // The class object itself (what a DLL's DllGetClassObject hands out).
    HRESULT GetClassObject(REFIID riid, void** out);

    // Adds a window at the end of the list and fires "WindowRegistered" with
    // its id. Ids start at 1 and are never reused.
    int OpenWindow(const SimWindowDetails& details);
    // Takes the window out of the list and fires "WindowRemoved" with its id.
    // Unknown or already closed ids are ignored.
    void CloseWindow(int id);
    // Changes an open browser window's title, address, toolbar and document
    // without any event (isWebBrowser is ignored).
    void UpdateWindow(int id, const SimWindowDetails& details);
    // Fires an event with any DISPID and argument, for odd cases.
    void FireEvent(DISPID dispid, long argument);

    // From now on the given call fails with hr (until changed; S_OK clears
    // it). id: a window id, or -1 for the window list.
    void FailCall(int id, SimCall call, HRESULT hr);
    void ClearFailures();
    // The class object's CreateInstance fails with hr (S_OK: it works again).
    void FailCreation(HRESULT hr);
    // The window list refuses IConnectionPointContainer (E_NOINTERFACE).
    void NoConnectionPoint(bool on);

    // Window ids in the order Quit was called on them, repeats and failed
    // calls included.
    std::vector<int> QuitCalls() const;
    // The number of sinks currently advised.
    int AdviseCount() const;
    // The number of windows in the list.
    int WindowCount() const;

    // The window list's IUnknown (no reference added), for tests of the
    // stand-in itself.
    IUnknown* Collection() const;

    // The number of stand-in COM objects alive in the process (window list,
    // windows, documents, class object), to find leaked references.
    static long LiveObjects();

private:
    std::shared_ptr<SimState> state;
    SimShellWindows* windows = nullptr;
    IClassFactory* factory = nullptr;
    DWORD registration = 0;
    int nextId = 1;
};
