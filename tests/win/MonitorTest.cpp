// The real-time monitor against the stand-in shell: the connection, the
// events, the pop-up sweep with the squash's effects, and the page
// inspection against a loopback server.
#include <olectl.h>

#include "AppFixture.h"
#include "LoopbackServer.h"
#include "monitor/ComError.h"
#include "monitor/SquashDate.h"

namespace {

const std::string kKnownA = "AAAAAAAA-1111-2222-3333-444444444444", kKnownB = "BBBBBBBB-1111-2222-3333-444444444444";
const std::string kHtml = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

std::string Object(const std::string& classId) { return "<object classid=\"" + classId + "\"></object>\r\n"; }

// Holds or releases Ctrl in this thread's keyboard state.
void SetControlKey(bool down)
{
    BYTE keys[256] = {};
    keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

class MonitorTest : public AppTest
{
protected:
    // The main window after its start-up, with the monitor's switches set.
    TestMainWindow& StartMonitor(int popups)
    {
        TestMainWindow& w = Start();
        w.popupBlocking = popups;
        w.squashLogging = 1;
        BlockList = {"*ads*", "*popup*"};
        return w;
    }

    int Open(const wchar_t* url, long toolBar, SimDocument document = SimDocument::Html, bool browser = true)
    {
        return sim->OpenWindow({L"Title", url, toolBar, document, browser});
    }
};

} // namespace

TEST_F(MonitorTest, ShellWithoutAUsableWindowListIsReportedOnceOrUsedAsItIs)
{
    // Without a window list the user is told once and nothing is swept; a
    // list without events serves the start-up sweep (whatever the settings
    // and keys) and later explicit passes; a failing start-up sweep ends
    // only itself.
    const struct { std::function<void(ShellSim&)> fail; bool connects; size_t startQuits, laterQuits; } cases[] = {
        {[](ShellSim& s) { s.FailCreation(E_OUTOFMEMORY); }, false, 0, 0},
        {[](ShellSim& s) { s.FailCall(-1, SimCall::Run, E_FAIL); }, false, 0, 0},
        {[](ShellSim& s) { s.NoConnectionPoint(true); }, true, 1, 3},
        {[](ShellSim& s) { s.FailCall(-1, SimCall::Advise, CONNECT_E_ADVISELIMIT); }, true, 1, 3},
        {[](ShellSim& s) { s.FailCall(-1, SimCall::Count, E_NOTIMPL); }, true, 0, 0}};
    for (const auto& c : cases) {
        c.fail(*sim);
        Open(L"http://example.com/", 0);
        MessageBoxWatcher boxes;
        SetControlKey(true);
        TestMainWindow& w = Start();
        SetControlKey(false);
        EXPECT_EQ(static_cast<bool>(shellWindows), c.connects);
        EXPECT_TRUE(IsWindowVisible(w.hwnd) && !w.settingsShown);
        EXPECT_EQ(sim->QuitCalls().size(), c.startQuits);
        w.popupBlocking = 1;
        Open(L"http://example.com/later", 0);
        w.OnShellWindowEvent(0);
        EXPECT_EQ(sim->QuitCalls().size(), c.laterQuits);
        ASSERT_EQ(boxes.Boxes().size(), c.connects ? 0u : 1u);
        for (const MessageBoxWatcher::Box& box : boxes.Boxes())
            EXPECT_EQ(box.text, "Shell Windows interface is not avilable");
        Stop();
    }
}

// The window list keeps no sink of a main window that is gone.
TEST_F(MonitorTest, TheSubscriptionEndsWithTheMainWindow)
{
    StartMonitor(1);
    EXPECT_EQ(sim->AdviseCount(), 1);
    window.reset();
    EXPECT_EQ(sim->AdviseCount(), 0);
}

TEST_F(MonitorTest, SweepSquashesHtmlWindowsWithoutToolbarOrWithABlockedAddress)
{
    TestMainWindow& w = StartMonitor(0);
    // The sound follows the box on the screen, not the setting read at start-up.
    w.playSound = 0;
    w.soundCheck.SetCheck(BST_CHECKED);
    w.animateIcon = 1;
    const int noBar = Open(L"http://harmless.example.com/", 0), negativeBar = Open(L"http://harmless.example.com/", -1);
    Open(L"http://www.kazaa.com/ads", 0);
    Open(L"http://outlook.example.com/popup", 0);
    const int capitalKazaa = Open(L"http://www.Kazaa.com/", 0);
    Open(L"file:///C:/popup/", 0, SimDocument::NotHtml);
    Open(L"http://ads.example.com/", 0, SimDocument::None);
    Open(L"http://ads.example.com/", 0, SimDocument::Html, false);
    Open(L"http://news.example.com/", 1);
    const int oneHit = Open(L"http://example.com/ads/banner", 1), twoHits = Open(L"http://ads.example.com/popup.html", 1);

    w.SweepPopups();
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{noBar, negativeBar, capitalKazaa, oneHit, twoHits, twoHits}));
    ASSERT_EQ(squashLog.GetCount(), 6);
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string title, url, date, type;
    squashLog.GetEntry(5, title, url, date, type);
    EXPECT_EQ(title + url + date + type, "Titlehttp://ads.example.com/popup.html" + FormatSquashDate(now.wYear, now.wMonth, now.wDay) + "Popup");
    EXPECT_EQ(w.sounds, std::vector<int>(6, IDR_SQUASH_WAVE));
    // The tray icon runs through the four squash frames.
    for (int frame = 0; frame < 4; ++frame)
        sysTray.NextFrame();
    EXPECT_EQ(sysTray.CurrentIcon(), LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SQUASH_FRAME1)));
}

TEST_F(MonitorTest, EventsSweepWhilePopupBlockingIsOneAndCtrlIsUp)
{
    TestMainWindow& w = StartMonitor(1);
    const int a = Open(L"http://example.com/a", 0);
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{a});
    for (int blocking : {2, 0, 1}) {
        w.popupBlocking = blocking;
        SetControlKey(blocking == 1);
        Open(L"http://example.com/b", 0);
    }
    SetControlKey(false);
    EXPECT_EQ(sim->QuitCalls(), std::vector<int>{a});
    sim->CloseWindow(a); // its removal sweeps the three others
    EXPECT_EQ(sim->QuitCalls().size(), 4u);
}

TEST_F(MonitorTest, InspectionSquashesWindowsWhosePageNamesAKnownClass)
{
    // Each class-id value that fits 255 characters is compared; the first
    // that does not ends the reading of the page.
    LoopbackServer server;
    server.Send(kHtml + Object("clsid:" + kKnownA) +
                "<OBJECT CLASSID=\"clsid:" + kKnownA + "\"></OBJECT>\r\n" + Object("CLSID:" + kKnownA) +
                Object("clsid:" + kKnownB.substr(0, 35)) + Object("clsid:" + std::string(249, 'F')) +
                Object("clsid:" + kKnownA) + Object("clsid:" + std::string(250, 'F')) + Object("clsid:" + kKnownA));
    server.Start(2);
    TestMainWindow& w = StartMonitor(1);
    w.inspectionPort = server.Port();
    SpywareDefinitions::tokens = {"{" + kKnownA + "}", "Alpha", "{" + kKnownB + "}", "Beta", "last"};
    // Every web browser window is fetched, whatever its document and
    // toolbar; an event inspects only while real-time monitoring is 1, and
    // also when the sweep fails.
    const int page = Open(L"http:\\\\127.0.0.1\\bad\\page.html", 1, SimDocument::NotHtml);
    const int ftp = Open(L"ftp://127.0.0.1/", 1);
    Open(L"http://127.0.0.1/", 1, SimDocument::Html, false);
    const int loading = Open(L"http://127.0.0.1/kazaa", 1, SimDocument::None);
    w.realTimeMonitoring = 1;
    sim->FailCall(ftp, SimCall::ToolBar, E_FAIL);
    w.OnShellWindowEvent(0);
    server.Finish();
    EXPECT_EQ(server.Accepted(), 2);
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{page, page, page, loading, loading, loading}));
    ASSERT_EQ(squashLog.GetCount(), 6);
    std::string title, url, date, type;
    squashLog.GetEntry(0, title, url, date, type);
    EXPECT_EQ(url + " " + type, "http://127.0.0.1/bad/page.html Spyware"); // the address as the client rewrote it
    // A server that is not there squashes nothing.
    w.inspectionPort = LoopbackServer().Port();
    EXPECT_NO_THROW(w.InspectPages());
    EXPECT_EQ(sim->QuitCalls().size(), 6u);
}

TEST_F(MonitorTest, InspectionFetchesThePagesOfAPassTogetherAndExaminesThemInWindowOrder)
{
    // The first window's page comes last. A failed call of a window, or a
    // failed Quit, ends the pass with the squashes that fetching one page
    // after the other would have made, and with the error.
    LoopbackServer fast, late("127.0.0.2", fast.Port());
    fast.Send(kHtml + Object("clsid:" + kKnownA)).Start(2);
    late.Pause(500).Send(kHtml + Object("clsid:" + kKnownB) + Object("clsid:" + kKnownB)).Start(3);
    TestMainWindow& w = StartMonitor(0);
    w.inspectionPort = fast.Port();
    SpywareDefinitions::tokens = {"{" + kKnownA + "}", "Alpha", "{" + kKnownB + "}", "Beta", "last"};
    const int a = Open(L"http://127.0.0.2/a", 1), b = Open(L"http://127.0.0.1/b", 1), c = Open(L"http://127.0.0.1/c", 1);
    w.realTimeMonitoring = 1;
    w.OnShellWindowEvent(0);
    sim->FailCall(b, SimCall::LocationURL, E_FAIL);
    EXPECT_THROW(w.InspectPages(), CComCallError);
    sim->FailCall(a, SimCall::Quit, E_FAIL);
    EXPECT_THROW(w.InspectPages(), CComCallError);
    EXPECT_EQ(sim->QuitCalls(), (std::vector<int>{a, a, b, c, a, a, a}));
    std::string log, title, url, date, type;
    for (int i = 0; squashLog.GetEntry(i, title, url, date, type); ++i)
        log += url + " " + type + "|";
    EXPECT_EQ(log, "http://127.0.0.2/a Spyware|http://127.0.0.2/a Spyware|http://127.0.0.1/b Spyware|"
                   "http://127.0.0.1/c Spyware|http://127.0.0.2/a Spyware|http://127.0.0.2/a Spyware|"
                   "http://127.0.0.2/a Spyware|");
}

TEST_F(MonitorTest, TenSilentPagesKeepTheInspectionWaitingOnce)
{
    LoopbackServer silent; // takes connections and never answers
    TestMainWindow& w = StartMonitor(0);
    w.inspectionPort = silent.Port();
    for (int i = 0; i < 10; ++i)
        Open(L"http://127.0.0.1/", 1);
    const DWORD start = GetTickCount();
    w.InspectPages();
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 4500u);
    EXPECT_LT(elapsed, 9000u);
}
