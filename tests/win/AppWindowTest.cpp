// The main window's visibility, settings panel, commands and picture links.
#include "AppFixture.h"

namespace {

const char kCloseNotice[] =
    "Although the program window has been closed, Tarnwick will continue to run in the taskbar (near the "
    "clock) so that you will be protected from pop-ups and spyware as you surf the web.";

// The centre of a control, in its dialog's client coordinates.
POINT CentreOf(HWND dialog, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ScreenToClient(dialog, &point);
    return point;
}

LPARAM Point(POINT p)
{
    return MAKELPARAM(p.x, p.y);
}

bool Checked(HMENU menu, UINT command)
{
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

} // namespace

TEST_F(AppTest, WindowStaysHiddenUntilTheTrayIconExists)
{
    TestMainWindow& w = Start();
    ASSERT_TRUE(w.trayStepRan);
    EXPECT_FALSE(w.visibleAtTrayStep);
    EXPECT_TRUE(IsWindowVisible(w.hwnd));
    EXPECT_TRUE(w.showAllowed);
}

TEST_F(AppTest, WindowOfAFailedTrayStartNeverShows)
{
    TestMainWindow& w = Start([](TestMainWindow&) { return FALSE; });
    ASSERT_NE(w.hwnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(w.hwnd));
    EXPECT_FALSE(w.showAllowed);

    ShowWindow(w.hwnd, SW_SHOW);
    SetWindowPos(w.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    PumpWaitingMessages();
    EXPECT_FALSE(IsWindowVisible(w.hwnd));

    // The rest of the start-up did not happen.
    EXPECT_TRUE(BlockList.empty());
    EXPECT_TRUE(w.settingsShown);
    EXPECT_EQ(w.collapsedHeight, 0);
    EXPECT_EQ(Height(w.hwnd), w.heightAtTrayStep);

    // Other changes of position still go through.
    RECT before;
    GetWindowRect(w.hwnd, &before);
    SetWindowPos(w.hwnd, nullptr, before.left + 13, before.top + 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT after;
    GetWindowRect(w.hwnd, &after);
    EXPECT_EQ(after.left, before.left + 13);
    EXPECT_EQ(after.top, before.top + 7);
}

TEST_F(AppTest, SettingsPanelFoldsToTheSeparatorAndBack)
{
    TestMainWindow& w = Start();
    RECT window, separator;
    GetWindowRect(w.hwnd, &window);
    w.separatorLine.GetWindowRect(&separator);

    // Start-up folded the panel away below the window's bottom edge.
    EXPECT_EQ(w.fullHeight, w.heightAtTrayStep);
    EXPECT_EQ(w.collapsedHeight, separator.top - window.top);
    EXPECT_EQ(Height(w.hwnd), w.collapsedHeight);
    EXPECT_LT(w.collapsedHeight, w.fullHeight);
    EXPECT_FALSE(w.settingsShown);
    EXPECT_EQ(w.settingsButton.GetWindowText(), "Show Settings >>");

    const int panel[] = {IDC_SEPARATOR, IDC_SETTINGS_GROUP, IDC_POPUP_CHECK, IDC_SQUASH_LOG_CHECK,
                         IDC_SOUND_CHECK, IDC_ANIMATE_CHECK, IDOK, IDC_SHOW_LOG};
    const int above[] = {IDC_RESULT_LIST, IDC_CHECK_ALL, IDC_SHOW_SETTINGS, IDC_SCAN_PICTURE, IDCANCEL};
    for (int id : panel)
        EXPECT_FALSE(IsWindowEnabled(w.GetDlgItem(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(w.realTimeCheck.hwnd));
    for (int id : above)
        EXPECT_TRUE(IsWindowEnabled(w.GetDlgItem(id))) << id;

    Click(IDC_SHOW_SETTINGS);
    EXPECT_EQ(Height(w.hwnd), w.fullHeight);
    EXPECT_TRUE(w.settingsShown);
    EXPECT_EQ(w.settingsButton.GetWindowText(), "<< Hide Settings");
    for (int id : panel)
        EXPECT_TRUE(IsWindowEnabled(w.GetDlgItem(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(w.realTimeCheck.hwnd));

    // Moved in between: the collapsed height measured at start-up comes back
    // and the top-left corner stays where the window now is.
    RECT moved;
    GetWindowRect(w.hwnd, &moved);
    MoveWindow(w.hwnd, moved.left - 40, moved.top + 25, moved.right - moved.left, moved.bottom - moved.top, TRUE);
    GetWindowRect(w.hwnd, &moved);
    Click(IDC_SHOW_SETTINGS);
    RECT now;
    GetWindowRect(w.hwnd, &now);
    EXPECT_EQ(now.bottom - now.top, w.collapsedHeight);
    EXPECT_EQ(now.left, moved.left);
    EXPECT_EQ(now.top, moved.top);
    EXPECT_EQ(now.right - now.left, moved.right - moved.left);
    EXPECT_FALSE(w.settingsShown);
    EXPECT_EQ(w.settingsButton.GetWindowText(), "Show Settings >>");
    for (int id : panel)
        EXPECT_FALSE(IsWindowEnabled(w.GetDlgItem(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(w.realTimeCheck.hwnd));
}

TEST_F(AppTest, CloseHidesWithTheNoticeEveryTimeAndLaunchShows)
{
    TestMainWindow& w = Start();
    MessageBoxWatcher boxes;

    SendMessageA(w.hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(w.hwnd));
    EXPECT_TRUE(IsWindow(w.hwnd));
    Command(ID_TRAY_LAUNCH);
    EXPECT_TRUE(IsWindowVisible(w.hwnd));
    SendMessageA(w.hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(w.hwnd));

    ASSERT_EQ(boxes.Boxes().size(), 2u);
    for (const MessageBoxWatcher::Box& box : boxes.Boxes()) {
        EXPECT_EQ(box.text, kCloseNotice);
        EXPECT_EQ(box.caption, "Tarnwick");
        EXPECT_EQ(box.owner, w.hwnd);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    }
    EXPECT_TRUE(w.showAllowed);
    EXPECT_EQ(w.Result(), 0);

    // Hidden, the window comes back at the same place with the panel as it was.
    RECT before;
    GetWindowRect(w.hwnd, &before);
    Command(ID_TRAY_LAUNCH);
    RECT after;
    GetWindowRect(w.hwnd, &after);
    EXPECT_TRUE(IsWindowVisible(w.hwnd));
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(AppTest, ExitPictureHidesWithoutAMessage)
{
    TestMainWindow& w = Start();
    MessageBoxWatcher boxes;
    SendMessageA(w.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(CentreOf(w.hwnd, w.exitPicture.hwnd)));
    EXPECT_FALSE(IsWindowVisible(w.hwnd));
    EXPECT_TRUE(IsWindow(w.hwnd));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(AppTest, ExitCommandSavesTheLogAndEndsWithOk)
{
    TestMainWindow& w = Start();
    w.LogSquash("Ad page", "http://ads.x.test/", "8/20/2004", "Popup");
    w.LogSquash("Bad page", "http://b.test/", "8/21/2004", "Spyware");
    MessageBoxWatcher boxes;
    Command(ID_TRAY_EXIT);

    EXPECT_EQ(w.Result(), IDOK);
    EXPECT_EQ(w.hwnd, nullptr);
    EXPECT_FALSE(w.showAllowed);
    std::string text;
    ASSERT_TRUE(ReadFileText(folder->File("hist.twk"), text));
    EXPECT_EQ(text, "Ad page$http://ads.x.test/$8/20/2004$Popup\r\nBad page$http://b.test/$8/21/2004$Spyware\r\n");
    // Not "Save Settings": no message, nothing in the profile.
    EXPECT_TRUE(boxes.Boxes().empty());
    DWORD type = 0, value = 0;
    EXPECT_FALSE(ReadSetting("Pop", type, value));
}

TEST_F(AppTest, ExitWithAnEmptyLogLeavesAnEmptyFile)
{
    ASSERT_TRUE(WriteFileText(folder->File("hist.twk"), "old$entry$1/1/2004$Popup\r\n"));
    TestMainWindow& w = Start();
    ASSERT_EQ(squashLog.GetCount(), 1);
    squashLog.Clear();
    Command(ID_TRAY_EXIT);
    EXPECT_EQ(w.Result(), IDOK);
    std::string text = "unread";
    ASSERT_TRUE(ReadFileText(folder->File("hist.twk"), text));
    EXPECT_EQ(text, "");
}

TEST_F(AppTest, CancelEndsWithoutSavingTheLog)
{
    TestMainWindow& w = Start();
    w.LogSquash("t", "u", "d", "Popup");
    MessageBoxWatcher boxes;
    Click(IDCANCEL);
    EXPECT_EQ(w.Result(), IDCANCEL);
    EXPECT_FALSE(FileExists(folder->File("hist.twk")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(AppTest, RealtimeMonitorCommandFlipsOnlyZeroAndOne)
{
    SeedSetting("Pop", 1);
    TestMainWindow& w = Start();
    ASSERT_EQ(w.popupBlocking, 1);
    Command(ID_TRAY_REALTIME);
    EXPECT_EQ(w.popupBlocking, 0);
    Command(ID_TRAY_REALTIME);
    EXPECT_EQ(w.popupBlocking, 1);
    EXPECT_EQ(w.popupCheck.GetCheck(), BST_CHECKED);
    w.popupBlocking = 2;
    Command(ID_TRAY_REALTIME);
    EXPECT_EQ(w.popupBlocking, 2);
    // The profile is not touched.
    DWORD type = 0, value = 0;
    ASSERT_TRUE(ReadSetting("Pop", type, value));
    EXPECT_EQ(value, 1u);
}

TEST_F(AppTest, TrayMenuCheckMarksFollowTheMonitorAndAutostart)
{
    RunValueGuard guard;
    const bool autostartWas = false;

    TestMainWindow& w = Start();
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    // Both items are ticked in the resource.
    ASSERT_TRUE(Checked(popup, ID_TRAY_REALTIME));
    ASSERT_TRUE(Checked(popup, ID_TRAY_LOAD_AT_STARTUP));

    SendMessageA(w.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    EXPECT_FALSE(Checked(popup, ID_TRAY_REALTIME));
    EXPECT_EQ(Checked(popup, ID_TRAY_LOAD_AT_STARTUP), autostartWas);

    Command(ID_TRAY_REALTIME);
    Command(ID_TRAY_LOAD_AT_STARTUP);
    SendMessageA(w.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    EXPECT_TRUE(Checked(popup, ID_TRAY_REALTIME));
    EXPECT_EQ(Checked(popup, ID_TRAY_LOAD_AT_STARTUP), !autostartWas);

    // Any value other than 0 ticks the monitor item.
    w.popupBlocking = 2;
    SendMessageA(w.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    EXPECT_TRUE(Checked(popup, ID_TRAY_REALTIME));
    w.popupBlocking = 0;
    SendMessageA(w.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    EXPECT_FALSE(Checked(popup, ID_TRAY_REALTIME));

    // A window menu gets no check marks.
    CheckMenuItem(popup, ID_TRAY_REALTIME, MF_BYCOMMAND | MF_CHECKED);
    SendMessageA(w.hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(Checked(popup, ID_TRAY_REALTIME));
    DestroyMenu(menu);
}

TEST_F(AppTest, HandCursorOverTheLinksOnly)
{
    TestMainWindow& w = Start();
    EXPECT_EQ(w.handCursor, nullptr);
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW

    // Off the links the cursor is loaded but not shown.
    SetCursor(arrow);
    SendMessageA(w.hwnd, WM_MOUSEMOVE, 0, Point(CentreOf(w.hwnd, w.resultList.hwnd)));
    ASSERT_NE(w.handCursor, nullptr);
    EXPECT_EQ(GetCursor(), arrow);

    for (CControl* link : {&w.scanPicture, &w.cleanPicture, &w.exitPicture, &w.updatePicture}) {
        SetCursor(arrow);
        SendMessageA(w.hwnd, WM_MOUSEMOVE, 0, Point(CentreOf(w.hwnd, link->hwnd)));
        EXPECT_EQ(GetCursor(), w.handCursor) << GetDlgCtrlID(link->hwnd);
    }

    // The rectangle's left and top edges are on the link, its right and
    // bottom edges off it.
    RECT rect;
    w.scanPicture.GetWindowRect(&rect);
    const struct {
        LONG x, y;
        bool on;
    } edges[] = {{rect.left, rect.top, true},
                 {rect.right - 1, rect.bottom - 1, true},
                 {rect.right, (rect.top + rect.bottom) / 2, false},
                 {(rect.left + rect.right) / 2, rect.bottom, false}};
    for (const auto& edge : edges) {
        POINT p = {edge.x, edge.y};
        ScreenToClient(w.hwnd, &p);
        SetCursor(arrow);
        SendMessageA(w.hwnd, WM_MOUSEMOVE, 0, Point(p));
        EXPECT_EQ(GetCursor() == w.handCursor, edge.on) << edge.x << "," << edge.y;
    }
}

TEST_F(AppTest, SupportAndUpdateOpenTheMakersPages)
{
    TestMainWindow& w = Start();
    Command(ID_TRAY_SUPPORT);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "http://www.ostrand.example/index.php?pd=&md=application&inst=&mode=CUS");

    SendMessageA(w.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(CentreOf(w.hwnd, w.updatePicture.hwnd)));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], "http://www.ostrand.example/index.php?md=application&mode=NEWSONE&id=20&wd=VIEW&page=1");
    EXPECT_TRUE(IsWindowVisible(w.hwnd));

    // A click beside the links does nothing.
    SendMessageA(w.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(CentreOf(w.hwnd, w.resultList.hwnd)));
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(IsWindowVisible(w.hwnd));
}
