// The stand-in shell, driven exactly as the program drives the real one:
// created by class id, put in the running state, subscribed to, counted,
// walked by index, asked for browsers, documents and toolbars, told to quit;
// every call made to fail; no reference left behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>
#include <olectl.h>
#include <functional>
#include <string>
#include <vector>
#include "ShellSim.h"

namespace {

// Releases whatever it holds when it goes.
template <class T>
struct Ref
{
    T* p = nullptr;
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { Reset(); }
    void Reset()
    {
        if (p != nullptr)
            p->Release();
        p = nullptr;
    }
    void** Out()
    {
        Reset();
        return reinterpret_cast<void**>(&p);
    }
    T** Put()
    {
        Reset();
        return &p;
    }
    T* operator->() const { return p; }
};

// An event sink that lives on the stack, counts its references and records
// every Invoke. It answers IDispatch and/or the event interface as chosen.
class TestSink : public IDispatch
{
public:
    struct Call
    {
        DISPID dispid;
        WORD flags;
        UINT argCount;
        VARTYPE argType;
        LONG arg;
        DWORD thread;
    };
    bool answersDispatch = true;
    bool answersEvents = true;
    LONG refs = 0;
    std::vector<Call> calls;
    // Run inside Invoke, after recording.
    std::function<void()> onInvoke;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        *out = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || (answersDispatch && IsEqualIID(riid, IID_IDispatch)) ||
            (answersEvents && IsEqualIID(riid, DIID_DShellWindowsEvents))) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override
    {
        Call call{dispid, flags, params->cArgs, VT_EMPTY, 0, GetCurrentThreadId()};
        if (params->cArgs == 1) {
            call.argType = params->rgvarg[0].vt;
            call.arg = params->rgvarg[0].lVal;
        }
        calls.push_back(call);
        if (onInvoke)
            onInvoke();
        return S_OK;
    }
};

SimWindowDetails Browser(const wchar_t* title, const wchar_t* url, long toolBar,
                      SimDocument document = SimDocument::Html)
{
    SimWindowDetails details;
    details.title = title;
    details.url = url;
    details.toolBar = toolBar;
    details.document = document;
    return details;
}

SimWindowDetails NotABrowser()
{
    SimWindowDetails details;
    details.isWebBrowser = false;
    return details;
}

VARIANT Index(LONG i)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = i;
    return v;
}

std::wstring Take(BSTR text)
{
    std::wstring result = text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

class ShellSimTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_EQ(0, ShellSim::LiveObjects());
        sim = new ShellSim();
        ASSERT_EQ(S_OK, sim->RegisterInProcess());
    }
    void TearDown() override
    {
        delete sim;
        // Everything the tests got has been released, so nothing is left.
        EXPECT_EQ(0, ShellSim::LiveObjects());
        CoUninitialize();
    }

    // What the program does to start: create, run, ask for the list.
    void Create(Ref<IShellWindows>& windows)
    {
        Ref<IUnknown> unknown;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellWindows, nullptr, 7, IID_IUnknown, unknown.Out()));
        ASSERT_EQ(S_OK, OleRun(unknown.p));
        ASSERT_EQ(S_OK, unknown->QueryInterface(IID_IShellWindows, windows.Out()));
    }

    // What the program does to subscribe.
    HRESULT Subscribe(IShellWindows* windows, IUnknown* sink, DWORD* cookie)
    {
        Ref<IConnectionPointContainer> container;
        HRESULT hr = windows->QueryInterface(IID_IConnectionPointContainer, container.Out());
        if (FAILED(hr))
            return hr;
        Ref<IConnectionPoint> point;
        hr = container->FindConnectionPoint(DIID_DShellWindowsEvents, point.Put());
        if (FAILED(hr))
            return hr;
        return point->Advise(sink, cookie);
    }

    HRESULT Unsubscribe(IShellWindows* windows, DWORD cookie)
    {
        Ref<IConnectionPointContainer> container;
        windows->QueryInterface(IID_IConnectionPointContainer, container.Out());
        Ref<IConnectionPoint> point;
        container->FindConnectionPoint(DIID_DShellWindowsEvents, point.Put());
        return point->Unadvise(cookie);
    }

    // The window at index i as a web browser.
    void BrowserAt(IShellWindows* windows, LONG i, Ref<IWebBrowser2>& browser)
    {
        Ref<IDispatch> window;
        ASSERT_EQ(S_OK, windows->Item(Index(i), window.Put()));
        ASSERT_NE(nullptr, window.p);
        ASSERT_EQ(S_OK, window->QueryInterface(IID_IWebBrowser2, browser.Out()));
    }

    ShellSim* sim = nullptr;
};

TEST_F(ShellSimTest, CreationByClassIdGivesTheStandInAndCanBeMadeToFail)
{
    Ref<IShellWindows> windows;
    Create(windows);
    // It is ours: it counts (the system's stand-in cannot) and is the list the
    // test drives.
    LONG count = -1;
    EXPECT_EQ(S_OK, windows->get_Count(&count));
    EXPECT_EQ(0, count);
    Ref<IUnknown> identity;
    ASSERT_EQ(S_OK, windows->QueryInterface(IID_IUnknown, identity.Out()));
    EXPECT_EQ(sim->Collection(), identity.p);
    sim->OpenWindow(Browser(L"a", L"http://a/", 1));
    sim->OpenWindow(NotABrowser());
    EXPECT_EQ(S_OK, windows->get_Count(&count));
    EXPECT_EQ(2, count);

    // A second creation gets the same list.
    Ref<IUnknown> again;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellWindows, nullptr, 7, IID_IUnknown, again.Out()));
    EXPECT_EQ(identity.p, again.p);
    again.Reset();

    sim->FailCreation(E_OUTOFMEMORY);
    Ref<IUnknown> failed;
    EXPECT_EQ(E_OUTOFMEMORY, CoCreateInstance(CLSID_ShellWindows, nullptr, 7, IID_IUnknown, failed.Out()));
    EXPECT_EQ(nullptr, failed.p);
    sim->FailCreation(S_OK);
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_ShellWindows, nullptr, 7, IID_IUnknown, failed.Out()));
    failed.Reset();

    // Once revoked, creation no longer reaches the stand-in.
    sim->Revoke();
    HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, 7, IID_IUnknown, failed.Out());
    if (SUCCEEDED(hr)) {
        EXPECT_NE(identity.p, failed.p);
    }
}

TEST_F(ShellSimTest, RunningStateAndListQueryCanBeMadeToFail)
{
    Ref<IUnknown> unknown;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellWindows, nullptr, 7, IID_IUnknown, unknown.Out()));
    sim->FailCall(-1, SimCall::Run, E_ACCESSDENIED);
    EXPECT_EQ(E_ACCESSDENIED, OleRun(unknown.p));
    sim->FailCall(-1, SimCall::Run, S_OK);
    EXPECT_EQ(S_OK, OleRun(unknown.p));

    sim->FailCall(-1, SimCall::QueryShellWindows, E_NOINTERFACE);
    Ref<IShellWindows> windows;
    EXPECT_EQ(E_NOINTERFACE, unknown->QueryInterface(IID_IShellWindows, windows.Out()));
    EXPECT_EQ(nullptr, windows.p);
    sim->ClearFailures();
    EXPECT_EQ(S_OK, unknown->QueryInterface(IID_IShellWindows, windows.Out()));
}

TEST_F(ShellSimTest, OpenAndCloseFireEventsOnTheCallingThread)
{
    Ref<IShellWindows> windows;
    Create(windows);
    TestSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, Subscribe(windows.p, &sink, &cookie));
    EXPECT_NE(0u, cookie);
    EXPECT_EQ(1, sim->AdviseCount());
    EXPECT_EQ(1, sink.refs); // the connection point keeps one

    int first = sim->OpenWindow(Browser(L"t", L"http://x/", 0));
    int second = sim->OpenWindow(NotABrowser());
    EXPECT_NE(first, second);
    sim->CloseWindow(first);
    sim->CloseWindow(first); // already closed: no event
    sim->CloseWindow(999);   // unknown: no event

    ASSERT_EQ(3u, sink.calls.size());
    const DISPID expected[] = {200, 200, 201};
    const int ids[] = {first, second, first};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i], sink.calls[i].dispid);
        EXPECT_EQ(DISPATCH_METHOD, sink.calls[i].flags);
        EXPECT_EQ(1u, sink.calls[i].argCount);
        EXPECT_EQ(VT_I4, sink.calls[i].argType);
        EXPECT_EQ(ids[i], sink.calls[i].arg);
        EXPECT_EQ(GetCurrentThreadId(), sink.calls[i].thread);
    }
    LONG count = -1;
    windows->get_Count(&count);
    EXPECT_EQ(1, count);

    EXPECT_EQ(CONNECT_E_NOCONNECTION, Unsubscribe(windows.p, cookie + 100));
    EXPECT_EQ(S_OK, Unsubscribe(windows.p, cookie));
    EXPECT_EQ(0, sim->AdviseCount());
    EXPECT_EQ(0, sink.refs);
    sim->OpenWindow(NotABrowser());
    EXPECT_EQ(3u, sink.calls.size());
}

TEST_F(ShellSimTest, SinksAreAcceptedByEitherInterfaceAndRefusedWithNeither)
{
    Ref<IShellWindows> windows;
    Create(windows);
    TestSink eventsOnly;
    eventsOnly.answersDispatch = false;
    TestSink dispatchOnly;
    dispatchOnly.answersEvents = false;
    TestSink neither;
    neither.answersDispatch = false;
    neither.answersEvents = false;
    DWORD a = 0, b = 0, c = 0;
    EXPECT_EQ(S_OK, Subscribe(windows.p, &eventsOnly, &a));
    EXPECT_EQ(S_OK, Subscribe(windows.p, &dispatchOnly, &b));
    EXPECT_NE(a, b);
    EXPECT_EQ(CONNECT_E_CANNOTCONNECT, Subscribe(windows.p, &neither, &c));
    EXPECT_EQ(0, neither.refs);
    EXPECT_EQ(2, sim->AdviseCount());

    sim->FireEvent(201, 42);
    ASSERT_EQ(1u, eventsOnly.calls.size());
    ASSERT_EQ(1u, dispatchOnly.calls.size());
    EXPECT_EQ(201, eventsOnly.calls[0].dispid);
    EXPECT_EQ(42, dispatchOnly.calls[0].arg);

    // Sinks still advised when the list goes are let go.
    windows.Reset();
    delete sim;
    sim = nullptr;
    EXPECT_EQ(0, eventsOnly.refs);
    EXPECT_EQ(0, dispatchOnly.refs);
}

TEST_F(ShellSimTest, ASinkMayUnadviseWhileCalled)
{
    Ref<IShellWindows> windows;
    Create(windows);
    TestSink leaving, staying;
    DWORD leavingCookie = 0, stayingCookie = 0;
    ASSERT_EQ(S_OK, Subscribe(windows.p, &leaving, &leavingCookie));
    ASSERT_EQ(S_OK, Subscribe(windows.p, &staying, &stayingCookie));
    leaving.onInvoke = [&] { EXPECT_EQ(S_OK, Unsubscribe(windows.p, leavingCookie)); };
    sim->OpenWindow(NotABrowser());
    sim->OpenWindow(NotABrowser());
    EXPECT_EQ(1u, leaving.calls.size());
    EXPECT_EQ(2u, staying.calls.size());
    EXPECT_EQ(0, leaving.refs);
    EXPECT_EQ(S_OK, Unsubscribe(windows.p, stayingCookie));
}

TEST_F(ShellSimTest, ConnectionPointDetailsAndItsAbsence)
{
    Ref<IShellWindows> windows;
    Create(windows);
    Ref<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, windows->QueryInterface(IID_IConnectionPointContainer, container.Out()));
    Ref<IConnectionPoint> point;
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, point.Put()));
    EXPECT_EQ(nullptr, point.p);
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID_DShellWindowsEvents, point.Put()));
    IID iid = IID_NULL;
    EXPECT_EQ(S_OK, point->GetConnectionInterface(&iid));
    EXPECT_TRUE(IsEqualIID(DIID_DShellWindowsEvents, iid));
    Ref<IConnectionPointContainer> back;
    EXPECT_EQ(S_OK, point->GetConnectionPointContainer(back.Put()));
    EXPECT_EQ(container.p, back.p);

    sim->FailCall(-1, SimCall::FindConnectionPoint, E_UNEXPECTED);
    Ref<IConnectionPoint> failedPoint;
    EXPECT_EQ(E_UNEXPECTED, container->FindConnectionPoint(DIID_DShellWindowsEvents, failedPoint.Put()));
    EXPECT_EQ(nullptr, failedPoint.p);

    sim->FailCall(-1, SimCall::Advise, CONNECT_E_ADVISELIMIT);
    TestSink sink;
    DWORD cookie = 7;
    EXPECT_EQ(CONNECT_E_ADVISELIMIT, point->Advise(&sink, &cookie));
    EXPECT_EQ(0u, cookie);
    EXPECT_EQ(0, sink.refs);
    EXPECT_EQ(0, sim->AdviseCount());

    sim->NoConnectionPoint(true);
    Ref<IConnectionPointContainer> none;
    EXPECT_EQ(E_NOINTERFACE, windows->QueryInterface(IID_IConnectionPointContainer, none.Out()));
    EXPECT_EQ(nullptr, none.p);
}

TEST_F(ShellSimTest, WindowsOfEachKind)
{
    Ref<IShellWindows> windows;
    Create(windows);
    sim->OpenWindow(Browser(L"Page \x00e9t\x00e9", L"http://pop.example/up", 0, SimDocument::Html));
    sim->OpenWindow(Browser(L"C:\\", L"file:///C:/", 2, SimDocument::NotHtml));
    sim->OpenWindow(Browser(L"", L"", 1, SimDocument::None));
    sim->OpenWindow(NotABrowser());

    Ref<IWebBrowser2> html;
    BrowserAt(windows.p, 0, html);
    BSTR text = nullptr;
    ASSERT_EQ(S_OK, html->get_LocationName(&text));
    EXPECT_EQ(L"Page \x00e9t\x00e9", Take(text));
    ASSERT_EQ(S_OK, html->get_LocationURL(&text));
    EXPECT_EQ(L"http://pop.example/up", Take(text));
    int toolBar = -1;
    EXPECT_EQ(S_OK, html->get_ToolBar(&toolBar));
    EXPECT_EQ(0, toolBar);
    Ref<IDispatch> document;
    ASSERT_EQ(S_OK, html->get_Document(document.Put()));
    ASSERT_NE(nullptr, document.p);
    Ref<IHTMLDocument2> page;
    EXPECT_EQ(S_OK, document->QueryInterface(IID_IHTMLDocument2, page.Out()));
    ASSERT_NE(nullptr, page.p);
    BSTR title = nullptr;
    EXPECT_EQ(E_NOTIMPL, page->get_title(&title));

    Ref<IWebBrowser2> folder;
    BrowserAt(windows.p, 1, folder);
    EXPECT_EQ(S_OK, folder->get_ToolBar(&toolBar));
    EXPECT_EQ(2, toolBar);
    ASSERT_EQ(S_OK, folder->get_Document(document.Put()));
    ASSERT_NE(nullptr, document.p);
    EXPECT_EQ(E_NOINTERFACE, document->QueryInterface(IID_IHTMLDocument2, page.Out()));
    EXPECT_EQ(nullptr, page.p);

    Ref<IWebBrowser2> empty;
    BrowserAt(windows.p, 2, empty);
    EXPECT_EQ(S_OK, empty->get_Document(document.Put()));
    EXPECT_EQ(nullptr, document.p);
    // Empty strings come as null strings.
    text = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(S_OK, empty->get_LocationName(&text));
    EXPECT_EQ(nullptr, text);

    Ref<IDispatch> plain;
    ASSERT_EQ(S_OK, windows->Item(Index(3), plain.Put()));
    ASSERT_NE(nullptr, plain.p);
    Ref<IWebBrowser2> notBrowser;
    EXPECT_EQ(E_NOINTERFACE, plain->QueryInterface(IID_IWebBrowser2, notBrowser.Out()));
    EXPECT_EQ(nullptr, notBrowser.p);

    // Past either end: S_FALSE and nothing.
    Ref<IDispatch> none;
    EXPECT_EQ(S_FALSE, windows->Item(Index(4), none.Put()));
    EXPECT_EQ(nullptr, none.p);
    EXPECT_EQ(S_FALSE, windows->Item(Index(-1), none.Put()));
    EXPECT_EQ(nullptr, none.p);
    // Other index types are coerced.
    VARIANT shortIndex;
    VariantInit(&shortIndex);
    shortIndex.vt = VT_I2;
    shortIndex.iVal = 3;
    EXPECT_EQ(S_OK, windows->Item(shortIndex, none.Put()));
    EXPECT_EQ(plain.p, none.p);
    VARIANT wordIndex;
    VariantInit(&wordIndex);
    wordIndex.vt = VT_BSTR;
    wordIndex.bstrVal = SysAllocString(L"first");
    EXPECT_EQ(E_INVALIDARG, windows->Item(wordIndex, none.Put()));
    VariantClear(&wordIndex);
}

TEST_F(ShellSimTest, UnusedMembersAnswerNotImplementedThroughEveryInterface)
{
    Ref<IShellWindows> windows;
    Create(windows);
    sim->OpenWindow(Browser(L"t", L"u", 1));
    Ref<IWebBrowser2> browser;
    BrowserAt(windows.p, 0, browser);
    // Seen through each base, the same members are reached (the tables line up).
    Ref<IWebBrowser> base;
    ASSERT_EQ(S_OK, browser->QueryInterface(IID_IWebBrowser, base.Out()));
    BSTR url = nullptr;
    EXPECT_EQ(S_OK, base->get_LocationURL(&url));
    EXPECT_EQ(L"u", Take(url));
    EXPECT_EQ(E_NOTIMPL, base->GoBack());
    Ref<IWebBrowserApp> app;
    ASSERT_EQ(S_OK, browser->QueryInterface(IID_IWebBrowserApp, app.Out()));
    int toolBar = -1;
    EXPECT_EQ(S_OK, app->get_ToolBar(&toolBar));
    EXPECT_EQ(1, toolBar);
    VARIANT_BOOL visible = 0;
    EXPECT_EQ(E_NOTIMPL, app->get_Visible(&visible));
    VARIANT_BOOL theater = 0;
    EXPECT_EQ(E_NOTIMPL, browser->get_TheaterMode(&theater));
    EXPECT_EQ(E_NOTIMPL, browser->put_Resizable(VARIANT_TRUE));
    LONG cookie = 0;
    EXPECT_EQ(E_NOTIMPL, windows->Register(nullptr, 0, 0, &cookie));
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Quit");
    EXPECT_EQ(DISP_E_UNKNOWNNAME, browser->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
    EXPECT_TRUE(sim->QuitCalls().empty());
}

TEST_F(ShellSimTest, QuitIsRecordedInOrderAndTheWindowStays)
{
    Ref<IShellWindows> windows;
    Create(windows);
    int first = sim->OpenWindow(Browser(L"a", L"http://a/", 0));
    int second = sim->OpenWindow(Browser(L"b", L"http://b/", 0));
    Ref<IWebBrowser2> a, b;
    BrowserAt(windows.p, 0, a);
    BrowserAt(windows.p, 1, b);
    EXPECT_EQ(S_OK, b->Quit());
    EXPECT_EQ(S_OK, a->Quit());
    sim->FailCall(second, SimCall::Quit, E_FAIL);
    EXPECT_EQ(E_FAIL, b->Quit());
    EXPECT_EQ(S_OK, a->Quit()); // the failure is the other window's
    EXPECT_EQ((std::vector<int>{second, first, second, first}), sim->QuitCalls());
    EXPECT_EQ(2, sim->WindowCount());
}

TEST_F(ShellSimTest, EachBrowserCallFailsWithItsStatusOnItsWindowOnly)
{
    Ref<IShellWindows> windows;
    Create(windows);
    int target = sim->OpenWindow(Browser(L"t", L"http://t/", 1));
    sim->OpenWindow(Browser(L"o", L"http://o/", 1));
    Ref<IWebBrowser2> failing, other;
    BrowserAt(windows.p, 0, failing);
    BrowserAt(windows.p, 1, other);

    sim->FailCall(target, SimCall::LocationName, E_OUTOFMEMORY);
    sim->FailCall(target, SimCall::LocationURL, E_ACCESSDENIED);
    sim->FailCall(target, SimCall::Document, E_HANDLE);
    sim->FailCall(target, SimCall::ToolBar, RPC_E_DISCONNECTED);
    BSTR text = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(E_OUTOFMEMORY, failing->get_LocationName(&text));
    EXPECT_EQ(nullptr, text);
    EXPECT_EQ(E_ACCESSDENIED, failing->get_LocationURL(&text));
    Ref<IDispatch> document;
    EXPECT_EQ(E_HANDLE, failing->get_Document(document.Put()));
    EXPECT_EQ(nullptr, document.p);
    int toolBar = 0;
    EXPECT_EQ(RPC_E_DISCONNECTED, failing->get_ToolBar(&toolBar));

    EXPECT_EQ(S_OK, other->get_LocationName(&text));
    EXPECT_EQ(L"o", Take(text));
    EXPECT_EQ(S_OK, other->get_Document(document.Put()));
    EXPECT_EQ(S_OK, other->get_ToolBar(&toolBar));

    // Clearing one failure leaves the others.
    sim->FailCall(target, SimCall::LocationName, S_OK);
    EXPECT_EQ(S_OK, failing->get_LocationName(&text));
    EXPECT_EQ(L"t", Take(text));
    EXPECT_EQ(E_ACCESSDENIED, failing->get_LocationURL(&text));

    // The query for the browser interface, from the list's window.
    sim->FailCall(target, SimCall::QueryWebBrowser, E_UNEXPECTED);
    Ref<IDispatch> window;
    ASSERT_EQ(S_OK, windows->Item(Index(0), window.Put()));
    Ref<IWebBrowser2> browser;
    EXPECT_EQ(E_UNEXPECTED, window->QueryInterface(IID_IWebBrowser2, browser.Out()));
    EXPECT_EQ(nullptr, browser.p);
    Ref<IDispatch> stillDispatch;
    EXPECT_EQ(S_OK, window->QueryInterface(IID_IDispatch, stillDispatch.Out()));
}

TEST_F(ShellSimTest, ListCallsFailWithTheirStatus)
{
    Ref<IShellWindows> windows;
    Create(windows);
    sim->OpenWindow(NotABrowser());
    sim->FailCall(-1, SimCall::Count, E_NOTIMPL);
    sim->FailCall(-1, SimCall::Item, E_INVALIDARG);
    LONG count = -1;
    EXPECT_EQ(E_NOTIMPL, windows->get_Count(&count));
    Ref<IDispatch> window;
    EXPECT_EQ(E_INVALIDARG, windows->Item(Index(0), window.Put()));
    EXPECT_EQ(nullptr, window.p);
    // A window's failure is not the list's.
    sim->ClearFailures();
    sim->FailCall(1, SimCall::Count, E_FAIL);
    EXPECT_EQ(S_OK, windows->get_Count(&count));
    EXPECT_EQ(1, count);
}

TEST_F(ShellSimTest, UpdateChangesAWindowWithoutEvents)
{
    Ref<IShellWindows> windows;
    Create(windows);
    TestSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, Subscribe(windows.p, &sink, &cookie));
    int id = sim->OpenWindow(Browser(L"old", L"http://old/", 1, SimDocument::None));
    sim->UpdateWindow(id, Browser(L"new", L"http://new/", 0, SimDocument::Html));
    EXPECT_EQ(1u, sink.calls.size());
    Ref<IWebBrowser2> browser;
    BrowserAt(windows.p, 0, browser);
    BSTR text = nullptr;
    ASSERT_EQ(S_OK, browser->get_LocationURL(&text));
    EXPECT_EQ(L"http://new/", Take(text));
    int toolBar = -1;
    browser->get_ToolBar(&toolBar);
    EXPECT_EQ(0, toolBar);
    Ref<IDispatch> document;
    ASSERT_EQ(S_OK, browser->get_Document(document.Put()));
    Ref<IHTMLDocument2> page;
    EXPECT_EQ(S_OK, document->QueryInterface(IID_IHTMLDocument2, page.Out()));
    EXPECT_EQ(S_OK, Unsubscribe(windows.p, cookie));
}

TEST_F(ShellSimTest, ReferencesComeBackAndHeldObjectsOutliveTheStandIn)
{
    long start = ShellSim::LiveObjects();
    EXPECT_EQ(2, start); // the list and its class object
    {
        Ref<IShellWindows> windows;
        Create(windows);
        int id = sim->OpenWindow(Browser(L"t", L"u", 0));
        // window + its document
        EXPECT_EQ(start + 2, ShellSim::LiveObjects());
        for (int round = 0; round < 3; ++round) {
            Ref<IWebBrowser2> browser;
            BrowserAt(windows.p, 0, browser);
            Ref<IDispatch> document;
            browser->get_Document(document.Put());
            Ref<IHTMLDocument2> page;
            document->QueryInterface(IID_IHTMLDocument2, page.Out());
        }
        sim->CloseWindow(id);
        EXPECT_EQ(start, ShellSim::LiveObjects());

        // A window and a document the program holds stay usable after the
        // window is closed and the stand-in is gone.
        sim->OpenWindow(Browser(L"kept", L"u", 0));
        Ref<IWebBrowser2> browser;
        BrowserAt(windows.p, 0, browser);
        Ref<IDispatch> document;
        browser->get_Document(document.Put());
        delete sim;
        sim = nullptr;
        LONG count = -1;
        EXPECT_EQ(S_OK, windows->get_Count(&count));
        EXPECT_EQ(0, count);
        BSTR text = nullptr;
        EXPECT_EQ(S_OK, browser->get_LocationName(&text));
        EXPECT_EQ(L"kept", Take(text));
        EXPECT_EQ(S_OK, browser->Quit());
        EXPECT_EQ(3, ShellSim::LiveObjects()); // list, window, document
    }
    EXPECT_EQ(0, ShellSim::LiveObjects());
}

} // namespace
