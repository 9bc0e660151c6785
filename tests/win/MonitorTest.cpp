// The real-time monitor against the stand-in shell: connection, event
// handler, pop-up sweep, squash effects and page inspection.
#include <windows.h>
#include <exdisp.h>
#include <olectl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "LoopbackServer.h"
#include "ShellSim.h"
#include "monitor/ComError.h"
#include "monitor/ShellWindows.h"
#include "monitor/SquashDate.h"

namespace {

const char kNoShellWindowsText[] = "Shell Windows interface is not avilable";
const char kKnownA[] = "{AAAAAAAA-1111-2222-3333-444444444444}";
const char kKnownB[] = "{BBBBBBBB-1111-2222-3333-444444444444}";

SimWindowDetails Window(const wchar_t* url, long toolBar, SimDocument document = SimDocument::Html,
                     const wchar_t* title = L"Page")
{
    SimWindowDetails shape;
    shape.title = title;
    shape.url = url;
    shape.toolBar = toolBar;
    shape.document = document;
    return shape;
}

// Holds or releases Ctrl in this thread's keyboard state.
void SetControlKey(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::string Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatSquashDate(now.wYear, now.wMonth, now.wDay);
}

std::string HtmlPage(const std::string& body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body;
}

} // namespace

class MonitorTest : public AppTest
{
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        AppTest::SetUp();
        shellWindows.Reset();
        SetControlKey(false);
        sim = std::make_unique<ShellSim>();
        ASSERT_HRESULT_SUCCEEDED(sim->RegisterInProcess());
    }

    void TearDown() override
    {
        SetControlKey(false);
        sysTray.EndAnimation();
        // The collection lets the main window's sink go while the window
        // still exists.
        shellWindows.Reset();
        sim.reset();
        AppTest::TearDown();
        CoUninitialize();
    }

    // Starts the main window (start-up sweeps included) and then sets the
    // monitor's switches and the block list for the test.
    TestMainWindow& StartMonitor(int popups = 1, int realTime = 0)
    {
        TestMainWindow& w = Start();
        w.popupBlocking = popups;
        w.realTimeMonitoring = realTime;
        w.squashLogging = 1;
        w.animateIcon = 0;
        BlockList = {"*ads*", "*popup*"};
        squashLog.Clear();
        return w;
    }

    // The error a pass raised; status S_OK when it raised none.
    template <class Pass>
    static CComCallError Raised(Pass pass)
    {
        try {
            pass();
        } catch (const CComCallError& error) {
            return error;
        }
        return CComCallError(S_OK, GUID_NULL);
    }

    std::vector<SquashLogEntry> LogEntries() const
    {
        std::vector<SquashLogEntry> entries;
        for (int i = 0; i < squashLog.GetCount(); ++i) {
            SquashLogEntry e;
            squashLog.GetEntry(i, e.title, e.url, e.date, e.type);
            entries.push_back(e);
        }
        return entries;
    }

    // The main window with its sounds recorded.
    class ListeningWindow : public TestMainWindow
    {
    public:
        std::vector<int> sounds;
        int PlayWaveResource(int id) override
        {
            sounds.push_back(id);
            return CTarnwickDlg::PlayWaveResource(id);
        }
    };

    ListeningWindow& StartListening()
    {
        auto listening = std::make_unique<ListeningWindow>();
        ListeningWindow& w = *listening;
        window = std::move(listening);
        EXPECT_TRUE(w.Create(nullptr));
        PumpWaitingMessages();
        BlockList = {"*ads*", "*popup*"};
        squashLog.Clear();
        w.sounds.clear();
        return w;
    }

    std::unique_ptr<ShellSim> sim;
};

// ---- Connection -----------------------------------------------------------

TEST_F(MonitorTest, CollectionThatCannotBeMadeShowsTheMessageOnce)
{
    struct Case
    {
        const char* what;
        std::function<void(ShellSim&)> fail;
    };
    const std::vector<Case> cases = {
        {"creation", [](ShellSim& s) { s.FailCreation(E_OUTOFMEMORY); }},
        {"running", [](ShellSim& s) { s.FailCall(-1, SimCall::Run, E_FAIL); }},
        {"collection interface", [](ShellSim& s) { s.FailCall(-1, SimCall::QueryShellWindows, E_NOINTERFACE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shellWindows.Reset();
        sim = std::make_unique<ShellSim>();
        ASSERT_HRESULT_SUCCEEDED(sim->RegisterInProcess());
        c.fail(*sim);
        int id = sim->OpenWindow(Window(L"https://example.com/", 0));
        MessageBoxWatcher boxes;
        TestMainWindow& w = Start();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, kNoShellWindowsText);
        EXPECT_EQ(boxes.Boxes()[0].caption, app->AppName());
        EXPECT_FALSE(shellWindows);
        EXPECT_EQ(sim->AdviseCount(), 0);
        // The program runs on without the monitor: the start-up sweep found
        // nothing to sweep and later passes end at once.
        EXPECT_TRUE(IsWindowVisible(w.hwnd));
        EXPECT_TRUE(sim->QuitCalls().empty());
        w.popupBlocking = 1;
        w.OnShellWindowEvent(id);
        EXPECT_EQ(Raised([&] { w.SweepPopups(); }).status, E_POINTER);
        EXPECT_EQ(Raised([&] { w.InspectPages(); }).status, E_POINTER);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        window.reset();
        sysTray.DeleteIcon();
    }
}

TEST_F(MonitorTest, ConnectionSubscribesOnceAndKeepsItsReference)
{
    MessageBoxWatcher boxes;
    TestMainWindow& w = StartMonitor();
    ASSERT_TRUE(shellWindows);
    EXPECT_EQ(sim->AdviseCount(), 1);
    IShellWindows* first = shellWindows.Get();
    w.ConnectShellWindows();
    EXPECT_EQ(shellWindows.Get(), first);
    EXPECT_EQ(sim->AdviseCount(), 1);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MonitorTest, SubscriptionFailuresAreSilent)
{
    struct Case
    {
        const char* what;
        std::function<void(ShellSim&)> fail;
    };
    const std::vector<Case> cases = {
        {"no container", [](ShellSim& s) { s.NoConnectionPoint(true); }},
        {"no connection point", [](ShellSim& s) { s.FailCall(-1, SimCall::FindConnectionPoint, E_FAIL); }},
        {"advise", [](ShellSim& s) { s.FailCall(-1, SimCall::Advise, CONNECT_E_ADVISELIMIT); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shellWindows.Reset();
        sim = std::make_unique<ShellSim>();
        ASSERT_HRESULT_SUCCEEDED(sim->RegisterInProcess());
        c.fail(*sim);
        int popup = sim->OpenWindow(Window(L"https://example.com/", 0));
        MessageBoxWatcher boxes;
        TestMainWindow& w = StartMonitor();
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_TRUE(shellWindows);
        EXPECT_EQ(sim->AdviseCount(), 0);
        // The start-up sweep still used the collection.
        EXPECT_EQ(sim->QuitCalls(), std::vector<int>{popup});
        // No events arrive: a new pop-up stays until the next sweep.
        int later = sim->OpenWindow(Window(L"http://example.com/2", 0));
        EXPECT_EQ(sim->QuitCalls().size(), 1u);
        w.SweepPopups();
        EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{popup, popup, later}));
        window.reset();
        sysTray.DeleteIcon();
    }
}

// ---- Start-up -----------------------------------------------------------

TEST_F(MonitorTest, StartUpSweepsWhatIsOpenWhateverTheSettingsAndKeys)
{
    SeedSetting("Pop", 0);
    SeedSetting("Real", 0);
    // Pages of windows open at start-up are fetched too: an address of
    // another scheme keeps the start-up inspection off the network.
    int popup = sim->OpenWindow(Window(L"https://example.com/", 0));
    int normal = sim->OpenWindow(Window(L"https://example.com/", 1));
    SetControlKey(true);
    TestMainWindow& w = Start();
    SetControlKey(false);
    EXPECT_EQ(w.popupBlocking, 0);
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{popup});
    EXPECT_NE(w.sweepTime, 0.0);
    (void)normal;
}

TEST_F(MonitorTest, FailingStartUpSweepDoesNotStopTheStartUp)
{
    sim->FailCall(-1, SimCall::Count, E_NOTIMPL);
    TestMainWindow& w = Start();
    EXPECT_TRUE(IsWindowVisible(w.hwnd));
    EXPECT_EQ(sim->AdviseCount(), 1);
    // The last start-up step after the sweeps ran: the panel is folded.
    EXPECT_FALSE(w.settingsShown);
}

// ---- The sweep's rules ----------------------------------------------------

TEST_F(MonitorTest, SweepDecidesEachWindowByDocumentExclusionToolbarAndPatterns)
{
    TestMainWindow& w = StartMonitor(0);
    const int noToolbar = sim->OpenWindow(Window(L"http://harmless.example.com/", 0, SimDocument::Html, L"Hidden bar"));
    const int negativeBar = sim->OpenWindow(Window(L"http://harmless.example.com/", -1));
    const int kazaa = sim->OpenWindow(Window(L"http://www.kazaa.com/ads", 0));
    const int outlook = sim->OpenWindow(Window(L"http://outlook.example.com/popup", 0));
    const int capitalKazaa = sim->OpenWindow(Window(L"http://www.Kazaa.com/", 0));
    const int folder = sim->OpenWindow(Window(L"file:///C:/popup/", 0, SimDocument::NotHtml));
    const int loading = sim->OpenWindow(Window(L"http://ads.example.com/", 0, SimDocument::None));
    SimWindowDetails plain = Window(L"http://ads.example.com/", 0);
    plain.isWebBrowser = false;
    sim->OpenWindow(plain);
    const int clean = sim->OpenWindow(Window(L"http://news.example.com/", 1));
    const int oneHit = sim->OpenWindow(Window(L"http://example.com/ads/banner", 1));
    const int twoHits = sim->OpenWindow(Window(L"http://ads.example.com/popup.html", 1, SimDocument::Html, L"Two"));
    (void)kazaa, (void)outlook, (void)folder, (void)loading, (void)clean;
    ASSERT_TRUE(sim->QuitCalls().empty()); // popupBlocking 0: the events swept nothing

    w.SweepPopups();
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{noToolbar, negativeBar, capitalKazaa, oneHit, twoHits, twoHits}));
    const std::vector<SquashLogEntry> log = LogEntries();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].title, "Hidden bar");
    EXPECT_EQ(log[0].url, "http://harmless.example.com/");
    EXPECT_EQ(log[5].title, "Two");
    EXPECT_EQ(log[5].url, "http://ads.example.com/popup.html");
    for (const SquashLogEntry& e : log) {
        EXPECT_EQ(e.type, "Popup");
        EXPECT_EQ(e.date, log[0].date);
    }
}

TEST_F(MonitorTest, SweepDateTextComesFromSweepTime)
{
    TestMainWindow& w = StartMonitor(0);
    sim->OpenWindow(Window(L"http://example.com/", 0));
    w.sweepTime = 0;
    const std::string before = Today();
    w.SweepPopups();
    const std::string after = Today();
    ASSERT_EQ(squashLog.GetCount(), 1);
    SYSTEMTIME stamp;
    ASSERT_TRUE(VariantTimeToSystemTime(w.sweepTime, &stamp));
    const std::string fromStamp = FormatSquashDate(stamp.wYear, stamp.wMonth, stamp.wDay);
    EXPECT_EQ(LogEntries()[0].date, fromStamp);
    EXPECT_TRUE(fromStamp == before || fromStamp == after);
}

TEST_F(MonitorTest, TitleAndUrlArriveInTheAnsiCodePage)
{
    TestMainWindow& w = StartMonitor(0);
    sim->OpenWindow(Window(L"", 0, SimDocument::Html, L""));
    const wchar_t wideTitle[] = L"Caf\u00e9 \u00fcber";
    sim->OpenWindow(Window(L"http://example.com/x", 0, SimDocument::Html, wideTitle));
    w.SweepPopups();
    ASSERT_EQ(squashLog.GetCount(), 2);
    // A missing string is an empty one.
    EXPECT_EQ(LogEntries()[0].title, "");
    EXPECT_EQ(LogEntries()[0].url, "");
    char expected[64] = {};
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, wideTitle, -1, expected, sizeof expected, nullptr, nullptr), 0);
    EXPECT_EQ(LogEntries()[1].title, expected);
    EXPECT_EQ(LogEntries()[1].url, "http://example.com/x");
}

TEST_F(MonitorTest, FailedCallEndsTheSweepWithItsStatusAndInterface)
{
    struct Case
    {
        SimCall call;
        HRESULT status;
        IID iid;
        bool middleQuit; // the failing window's Quit was still called
    };
    const std::vector<Case> cases = {
        {SimCall::LocationName, E_FAIL, IID_IWebBrowser, false},
        {SimCall::LocationURL, RPC_E_DISCONNECTED, IID_IWebBrowser, false},
        {SimCall::Document, E_ACCESSDENIED, IID_IWebBrowser, false},
        {SimCall::ToolBar, E_UNEXPECTED, IID_IWebBrowserApp, false},
        {SimCall::Quit, RPC_E_DISCONNECTED, IID_IWebBrowserApp, true},
    };
    TestMainWindow& w = StartMonitor(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.call));
        sim = std::make_unique<ShellSim>();
        shellWindows.Reset();
        ASSERT_HRESULT_SUCCEEDED(sim->Collection()->QueryInterface(IID_IShellWindows, shellWindows.ReceiveVoid()));
        squashLog.Clear();
        const int first = sim->OpenWindow(Window(L"http://example.com/1", 0));
        const int failing = sim->OpenWindow(Window(L"http://ads.example.com/popup", 1));
        sim->OpenWindow(Window(L"http://example.com/3", 0));
        sim->FailCall(failing, c.call, c.status);
        const CComCallError error = Raised([&] { w.SweepPopups(); });
        EXPECT_EQ(error.status, c.status);
        EXPECT_TRUE(IsEqualIID(error.iid, c.iid));
        // The squash before the failure stays; nothing after it is looked at.
        std::vector<int> expected = {first};
        if (c.middleQuit)
            expected.push_back(failing); // its first squash; the second never comes
        EXPECT_EQ(sim->QuitCalls(), expected);
        EXPECT_EQ(squashLog.GetCount(), static_cast<int>(expected.size()));
    }
}

TEST_F(MonitorTest, CollectionFailuresEndTheSweep)
{
    TestMainWindow& w = StartMonitor(0);
    const int first = sim->OpenWindow(Window(L"http://example.com/", 0));
    sim->FailCall(-1, SimCall::Count, E_NOTIMPL);
    CComCallError error = Raised([&] { w.SweepPopups(); });
    EXPECT_EQ(error.status, E_NOTIMPL);
    EXPECT_TRUE(IsEqualIID(error.iid, IID_IShellWindows));
    EXPECT_TRUE(sim->QuitCalls().empty());

    sim->ClearFailures();
    sim->FailCall(-1, SimCall::Item, E_INVALIDARG);
    error = Raised([&] { w.SweepPopups(); });
    EXPECT_EQ(error.status, E_INVALIDARG);
    EXPECT_TRUE(IsEqualIID(error.iid, IID_IShellWindows));
    EXPECT_TRUE(sim->QuitCalls().empty());

    sim->ClearFailures();
    EXPECT_EQ(Raised([&] { w.SweepPopups(); }).status, S_OK);
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{first});
}

TEST_F(MonitorTest, WindowsThatAreNoBrowserAreSkipped)
{
    TestMainWindow& w = StartMonitor(0);
    const int refusing = sim->OpenWindow(Window(L"http://example.com/a", 0));
    const int odd = sim->OpenWindow(Window(L"http://example.com/b", 0));
    const int last = sim->OpenWindow(Window(L"http://example.com/c", 0));
    sim->FailCall(refusing, SimCall::QueryWebBrowser, E_NOINTERFACE);
    sim->FailCall(odd, SimCall::QueryWebBrowser, E_FAIL);
    EXPECT_EQ(Raised([&] { w.SweepPopups(); }).status, S_OK);
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{last});
}

// ---- The event handler ------------------------------------------------------

TEST_F(MonitorTest, EventsSweepOnlyWhenPopupBlockingIsOne)
{
    TestMainWindow& w = StartMonitor(1);
    const int a = sim->OpenWindow(Window(L"http://example.com/a", 0));
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{a});

    w.popupBlocking = 2;
    sim->OpenWindow(Window(L"http://example.com/b", 0));
    w.popupBlocking = 0;
    sim->OpenWindow(Window(L"http://example.com/c", 0));
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{a});

    // The removal event sweeps too, and looks at every window again.
    w.popupBlocking = 1;
    sim->CloseWindow(a);
    EXPECT_EQ(sim->QuitCalls().size(), 3u);
}

TEST_F(MonitorTest, ControlKeyHoldsTheSweepBackForThatEvent)
{
    StartMonitor(1);
    SetControlKey(true);
    ASSERT_NE(GetKeyState(VK_CONTROL) & 0x8000, 0);
    const int held = sim->OpenWindow(Window(L"http://example.com/", 0));
    EXPECT_TRUE(sim->QuitCalls().empty());
    SetControlKey(false);
    const int next = sim->OpenWindow(Window(L"http://example.com/next", 1));
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{held});
    (void)next;
}

TEST_F(MonitorTest, RaisedErrorNeverReachesTheShell)
{
    TestMainWindow& w = StartMonitor(1);
    const int failing = sim->OpenWindow(Window(L"http://example.com/", 1));
    sim->FailCall(failing, SimCall::ToolBar, E_FAIL);
    // The event is delivered through Invoke; the failure stays inside.
    EXPECT_NO_THROW(sim->OpenWindow(Window(L"http://example.com/x", 0)));
    EXPECT_NO_THROW(w.OnShellWindowEvent(0));
    EXPECT_TRUE(sim->QuitCalls().empty());
    sim->ClearFailures();
    sim->FireEvent(200, 7);
    EXPECT_EQ(sim->QuitCalls().size(), 1u);
}

// ---- The squash's effects -------------------------------------------------

TEST_F(MonitorTest, SquashEffectsFollowTheirSwitches)
{
    TestMainWindow& w = StartMonitor(0);
    ASSERT_NE(sysTray.GetSafeHwnd(), nullptr);
    const int a = sim->OpenWindow(Window(L"http://example.com/", 0, SimDocument::Html, L"Ad"));

    w.squashLogging = 0;
    w.animateIcon = 0;
    w.SweepPopups();
    EXPECT_EQ(squashLog.GetCount(), 0);
    EXPECT_FALSE(sysTray.EndAnimation());
    EXPECT_EQ(sim->QuitCalls().size(), 1u);

    w.squashLogging = 2;
    w.animateIcon = 2;
    w.SweepPopups();
    EXPECT_EQ(squashLog.GetCount(), 0);
    EXPECT_FALSE(sysTray.EndAnimation());

    w.squashLogging = 1;
    w.animateIcon = 1;
    w.SweepPopups();
    ASSERT_EQ(squashLog.GetCount(), 1);
    EXPECT_EQ(LogEntries()[0].title, "Ad");
    EXPECT_EQ(LogEntries()[0].type, "Popup");
    EXPECT_TRUE(sysTray.EndAnimation()); // the animation was running
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{a, a, a}));
}

TEST_F(MonitorTest, SoundFollowsTheLiveCheckBox)
{
    ListeningWindow& w = StartListening();
    w.popupBlocking = 0;
    w.playSound = 1; // the stored setting does not count
    w.soundCheck.SetCheck(BST_UNCHECKED);
    sim->OpenWindow(Window(L"http://ads.example.com/popup", 1));
    w.SweepPopups();
    EXPECT_TRUE(w.sounds.empty());
    EXPECT_EQ(sim->QuitCalls().size(), 2u);

    // Ticking the box takes effect at the next squash, without saving.
    w.playSound = 0;
    w.soundCheck.SetCheck(BST_CHECKED);
    w.SweepPopups();
    EXPECT_EQ(w.sounds, (std::vector<int>{139, 139}));
    EXPECT_EQ(sim->QuitCalls().size(), 4u);
}

TEST_F(MonitorTest, WaveResourcePlaysFromTheModule)
{
    TestMainWindow& w = StartMonitor(0);
    // The squash sound is in the module; a missing one only means no sound.
    EXPECT_NE(FindResourceA(GetModuleHandleA(nullptr), "#139", "WAVE"), nullptr);
    EXPECT_EQ(w.PlayWaveResource(4321), 0);
    EXPECT_EQ(w.PlayWaveResource(IDI_TARNWICK), 0); // an icon, not a WAVE
    w.PlayWaveResource(139);                        // no audio device here: it only must not fail
}

TEST_F(MonitorTest, SweepOverFiftyWindowsQuitsEveryPopup)
{
    TestMainWindow& w = StartMonitor(0);
    w.squashLogging = 0;
    for (int i = 0; i < 49; ++i)
        sim->OpenWindow(Window(L"http://example.com/", 0));
    w.popupBlocking = 1;
    const auto start = std::chrono::steady_clock::now();
    sim->OpenWindow(Window(L"http://example.com/", 0));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(sim->QuitCalls().size(), 50u);
    std::printf("[ measured ] event to 50 Quit calls: %lld us\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
}

// ---- Page inspection --------------------------------------------------------

class InspectionTest : public MonitorTest
{
protected:
    TestMainWindow& StartInspecting(LoopbackServer& server)
    {
        TestMainWindow& w = StartMonitor(0, 1);
        w.inspectionPort = server.Port();
        SpywareDefinitions::tokens = {kKnownA, "Alpha", kKnownB, "Beta", "trailing"};
        return w;
    }

    // Opens a window without letting its event sweep or inspect.
    int OpenQuietly(const SimWindowDetails& shape)
    {
        const int popups = window->popupBlocking;
        const int realTime = window->realTimeMonitoring;
        window->popupBlocking = 0;
        window->realTimeMonitoring = 0;
        const int id = sim->OpenWindow(shape);
        window->popupBlocking = popups;
        window->realTimeMonitoring = realTime;
        return id;
    }
};

TEST_F(InspectionTest, KnownClassesAreSquashedOncePerAttribute)
{
    LoopbackServer server;
    ASSERT_TRUE(server.IsListening());
    const std::string known = std::string(kKnownA).substr(1, 36);
    const std::string other = std::string(kKnownB).substr(1, 36);
    server.Send(HtmlPage("<html><object classid=\"clsid:" + known + "\"></object>\r\n"
                         "<OBJECT CLASSID=\"clsid:" + known + "\"></OBJECT>\r\n"
                         "<object classid=\"CLSID:" + other + "\"></object>\r\n"
                         "<object classid=\"clsid:" + other.substr(0, 30) + "aaaaaa\"></object>\r\n"
                         "<object classid=\"clsid:" + std::string(kKnownB).substr(1, 35) + "\"></object></html>\r\n"));
    server.Start(1);
    TestMainWindow& w = StartInspecting(server);
    const int page = OpenQuietly(Window(L"http:\\\\127.0.0.1\\bad\\page.html", 1, SimDocument::Html, L"Bad"));
    w.InspectPages();
    server.Finish();
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{page, page}));
    const std::vector<SquashLogEntry> log = LogEntries();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].type, "Spyware");
    EXPECT_EQ(log[0].title, "Bad");
    // The address as the client left it.
    EXPECT_EQ(log[0].url, "http://127.0.0.1/bad/page.html");
    EXPECT_EQ(log[1].date, log[0].date);
}

TEST_F(InspectionTest, OverLongValueEndsTheReadingOfThatPage)
{
    LoopbackServer server;
    ASSERT_TRUE(server.IsListening());
    const std::string known = std::string(kKnownA).substr(1, 36);
    server.Send(HtmlPage("<object classid=\"clsid:" + std::string(300, 'F') + "\"></object>\r\n"
                         "<object classid=\"clsid:" + known + "\"></object>\r\n"));
    server.Start(1);
    TestMainWindow& w = StartInspecting(server);
    OpenQuietly(Window(L"http://127.0.0.1/long", 1));
    w.InspectPages();
    server.Finish();
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_TRUE(sim->QuitCalls().empty());
}

TEST_F(InspectionTest, EveryWindowIsFetchedAndUnusableAddressesAreSkipped)
{
    LoopbackServer server;
    ASSERT_TRUE(server.IsListening());
    const std::string known = std::string(kKnownB).substr(1, 36);
    server.Send(HtmlPage("<object classid=\"clsid:" + known + "\"></object>\r\n"));
    server.Start(2);
    TestMainWindow& w = StartInspecting(server);
    OpenQuietly(Window(L"ftp://127.0.0.1/", 1));
    SimWindowDetails plain = Window(L"http://127.0.0.1/", 1);
    plain.isWebBrowser = false;
    OpenQuietly(plain);
    // No document test, no exclusion by address, no toolbar test.
    const int folder = OpenQuietly(Window(L"http://127.0.0.1/kazaa", 1, SimDocument::NotHtml));
    const int last = OpenQuietly(Window(L"http://127.0.0.1/outlook", 1, SimDocument::None));
    w.InspectPages();
    server.Finish();
    EXPECT_EQ(server.Accepted(), 2);
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{folder, last}));
}

TEST_F(InspectionTest, UnreachableServerSquashesNothing)
{
    int closedPort = 0;
    {
        LoopbackServer gone;
        closedPort = gone.Port();
    }
    TestMainWindow& w = StartMonitor(0, 1);
    SpywareDefinitions::tokens = {kKnownA, "Alpha", "trailing"};
    w.inspectionPort = closedPort;
    sim->OpenWindow(Window(L"http://127.0.0.1/", 1));
    EXPECT_EQ(Raised([&] { w.InspectPages(); }).status, S_OK);
    EXPECT_TRUE(sim->QuitCalls().empty());
}

TEST_F(InspectionTest, RealTimeMonitoringOffFetchesButComparesNothing)
{
    LoopbackServer server;
    ASSERT_TRUE(server.IsListening());
    server.Send(HtmlPage("<object classid=\"clsid:" + std::string(kKnownA).substr(1, 36) + "\"></object>\r\n"));
    server.Start(1);
    TestMainWindow& w = StartInspecting(server);
    w.realTimeMonitoring = 0;
    OpenQuietly(Window(L"http://127.0.0.1/", 1));
    w.InspectPages();
    server.Finish();
    EXPECT_EQ(server.Accepted(), 1);
    EXPECT_TRUE(sim->QuitCalls().empty());
}

TEST_F(InspectionTest, EventRunsTheInspectionEvenWhenTheSweepFails)
{
    LoopbackServer server;
    ASSERT_TRUE(server.IsListening());
    server.Send(HtmlPage("<object classid=\"clsid:" + std::string(kKnownA).substr(1, 36) + "\"></object>\r\n"));
    server.Start(2);
    TestMainWindow& w = StartInspecting(server);
    const int page = OpenQuietly(Window(L"http://127.0.0.1/", 1));
    sim->FailCall(page, SimCall::ToolBar, E_FAIL);
    w.popupBlocking = 1;
    w.OnShellWindowEvent(0); // the sweep ends at the toolbar; the inspection runs
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{page});
    SetControlKey(true); // Ctrl holds back only the pop-up sweep
    w.OnShellWindowEvent(0);
    SetControlKey(false);
    server.Finish();
    EXPECT_EQ(server.Accepted(), 2);
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{page, page}));
}

TEST_F(InspectionTest, FailedQuitEndsThePass)
{
    LoopbackServer server;
    ASSERT_TRUE(server.IsListening());
    const std::string known = std::string(kKnownA).substr(1, 36);
    server.Send(HtmlPage("<object classid=\"clsid:" + known + "\"></object>\r\n"
                         "<object classid=\"clsid:" + known + "\"></object>\r\n"));
    server.Start(1);
    TestMainWindow& w = StartInspecting(server);
    const int page = OpenQuietly(Window(L"http://127.0.0.1/a", 1));
    OpenQuietly(Window(L"http://127.0.0.1/b", 1));
    sim->FailCall(page, SimCall::Quit, RPC_E_DISCONNECTED);
    const CComCallError error = Raised([&] { w.InspectPages(); });
    server.Finish();
    EXPECT_EQ(error.status, RPC_E_DISCONNECTED);
    EXPECT_TRUE(IsEqualIID(error.iid, IID_IWebBrowserApp));
    // The first attribute's squash was the last thing done: the second
    // attribute and the next window are not looked at.
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{page});
    EXPECT_EQ(squashLog.GetCount(), 1);
    EXPECT_EQ(server.Accepted(), 1);
}

TEST_F(InspectionTest, FailedTitleEndsThePassBeforeAnyFetch)
{
    LoopbackServer server;
    ASSERT_TRUE(server.IsListening());
    TestMainWindow& w = StartInspecting(server);
    const int page = OpenQuietly(Window(L"http://127.0.0.1/", 1));
    sim->FailCall(page, SimCall::LocationName, E_FAIL);
    const CComCallError error = Raised([&] { w.InspectPages(); });
    EXPECT_EQ(error.status, E_FAIL);
    EXPECT_TRUE(IsEqualIID(error.iid, IID_IWebBrowser));
    EXPECT_EQ(server.Accepted(), 0);
}
