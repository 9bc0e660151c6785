// The splash and About windows and the application object's run.
#include "AppFixture.h"
#include "app/AboutDlg.h"
#include "app/SplashDlg.h"
#include "app/TarnwickApp.h"

namespace {

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// The visible dialog boxes of this thread.
std::vector<HWND> ThreadDialogs()
{
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string TitleOf(HWND window)
{
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH info = {};
    if (brush == nullptr || GetObjectA(brush, sizeof info, &info) != sizeof info)
        return CLR_INVALID;
    return info.lbColor;
}

} // namespace

// The splash with the moments of its initialisation and of its timer.
class TimedSplash : public CSplashDlg
{
public:
    DWORD initialised = 0;
    DWORD fired = 0;
    UINT_PTR timerId = 0;

protected:
    BOOL OnInitDialog() override
    {
        initialised = GetTickCount();
        return CSplashDlg::OnInitDialog();
    }
    bool OnTimer(UINT_PTR id) override
    {
        if (fired == 0) {
            fired = GetTickCount();
            timerId = id;
        }
        return CSplashDlg::OnTimer(id);
    }
};

TEST(SplashTest, EndsOnItsTimerWithResultThree)
{
    TimedSplash splash;
    bool seen = false, visible = false;
    COLORREF dialogColour = CLR_INVALID, pictureColour = CLR_INVALID;
    ThreadTimer probe(300, [&] {
        if (seen || splash.hwnd == nullptr)
            return;
        seen = true;
        visible = IsWindowVisible(splash.hwnd) != FALSE;
        HDC dc = GetDC(splash.hwnd);
        HWND picture = GetWindow(splash.hwnd, GW_CHILD);
        dialogColour = BrushColour(reinterpret_cast<HBRUSH>(
            SendMessageA(splash.hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(splash.hwnd))));
        pictureColour = BrushColour(reinterpret_cast<HBRUSH>(
            SendMessageA(splash.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(picture))));
        ReleaseDC(splash.hwnd, dc);
    });

    EXPECT_EQ(splash.DoModal(), 3);
    EXPECT_EQ(splash.timerId, 1u);
    EXPECT_GE(splash.fired - splash.initialised, 2900u);
    EXPECT_LT(splash.fired - splash.initialised, 4000u);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(visible);
    EXPECT_EQ(dialogColour, RGB(255, 255, 255));
    EXPECT_EQ(pictureColour, RGB(255, 255, 255));
}

TEST(SplashTest, EnterAndEscapeEndItAtOnce)
{
    const struct {
        UINT key;
        INT_PTR result;
    } cases[] = {{VK_RETURN, IDOK}, {VK_ESCAPE, IDCANCEL}};
    for (const auto& c : cases) {
        TimedSplash splash;
        bool posted = false;
        ThreadTimer press(50, [&] {
            if (posted || splash.hwnd == nullptr || !IsWindowVisible(splash.hwnd))
                return;
            posted = true;
            PostMessageA(splash.hwnd, WM_KEYDOWN, c.key, 0);
        });
        EXPECT_EQ(splash.DoModal(), c.result) << c.key;
        EXPECT_EQ(splash.fired, 0u) << c.key;
    }
}

TEST_F(AppTest, AboutOpensFromTheSystemMenuAndClosesWithOk)
{
    TestMainWindow& w = Start();
    std::string title;
    HWND owner = nullptr;
    bool mainEnabled = true;
    ThreadTimer answer(50, [&] {
        for (HWND dialog : ThreadDialogs()) {
            if (dialog == w.hwnd)
                continue;
            title = TitleOf(dialog);
            owner = GetWindow(dialog, GW_OWNER);
            mainEnabled = IsWindowEnabled(w.hwnd) != FALSE;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        }
    });
    SendMessageA(w.hwnd, WM_SYSCOMMAND, 16, 0);
    EXPECT_EQ(title, "About Gravelin");
    EXPECT_EQ(owner, w.hwnd);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(w.hwnd));
    EXPECT_TRUE(ThreadDialogs().size() == 1u && ThreadDialogs()[0] == w.hwnd);

    // Other system commands keep their usual meaning.
    SendMessageA(w.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(w.hwnd));
    SendMessageA(w.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(w.hwnd));
}

TEST(ApplicationTest, InitInstanceRunsTheSplashThenTheMainWindow)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ScopedTempFolder folder("twkrun");
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    squashLog.Clear();
    BlockList.clear();

    CTarnwickApp application;
    MessageBoxWatcher boxes;
    std::vector<std::string> seen;
    bool mainWindowSet = false;
    bool mainWindowDuringSplash = false;
    bool mainWindowVisible = false;
    DWORD start = GetTickCount();
    ThreadTimer drive(30, [&] {
        for (HWND dialog : ThreadDialogs()) {
            bool isMain = GetDlgItem(dialog, IDC_RESULT_LIST) != nullptr;
            const char* name = isMain ? "main" : "splash";
            if (!seen.empty() && seen.back() == name)
                continue;
            seen.push_back(name);
            if (isMain) {
                mainWindowSet = application.mainWindow == dialog;
                mainWindowVisible = IsWindowVisible(dialog) != FALSE;
            } else {
                // The splash comes before any main window.
                mainWindowDuringSplash = application.mainWindow != nullptr;
            }
            PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        // Never left hanging.
        if (GetTickCount() - start > 8000) {
            for (HWND dialog : ThreadDialogs())
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });

    EXPECT_FALSE(application.InitInstance());
    EXPECT_EQ(seen, (std::vector<std::string>{"splash", "main"}));
    EXPECT_FALSE(mainWindowDuringSplash);
    EXPECT_TRUE(mainWindowSet);
    EXPECT_TRUE(mainWindowVisible);
    EXPECT_EQ(application.mainWindow, nullptr);
    EXPECT_EQ(application.DialogBkColor(), RGB(227, 227, 227));
    EXPECT_EQ(application.DialogTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(application.ProfileKeyPath("CurrentBuild"),
              "Software\\Ostrand\\" + application.AppName() + "\\CurrentBuild");
    // Escape ends the program without the close notice and without the log.
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(FileExists(folder.File("hist.twk")));
    EXPECT_EQ(BlockList.size(), 37u);

    sysTray.DeleteIcon();
    SetCurrentDirectoryA(previous);
    squashLog.Clear();
    BlockList.clear();
    SpywareDefinitions::records.clear();
    SpywareDefinitions::tokens.clear();
}
