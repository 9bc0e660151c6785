// The main window's visibility, settings panel, ways out, commands and
// picture links.
#include "AppFixture.h"

TEST_F(AppTest, WindowShowsOnlyOnceTheTrayIconExists)
{
    // A refused tray icon ends the start-up with the window hidden for good,
    // until "Launch Tarnwick".
    TestMainWindow& hidden = Start([](TestMainWindow& w) { w.trayFails = true; });
    ShowWindow(hidden.hwnd, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(hidden.hwnd));
    Command(ID_TRAY_LAUNCH);
    EXPECT_TRUE(IsWindowVisible(hidden.hwnd));
    Stop();
    EXPECT_TRUE(IsWindowVisible(Start().hwnd));
    EXPECT_EQ(BlockList.Count(), 37u);
}

TEST_F(AppTest, SettingsPanelFoldsToTheSeparatorAndBack)
{
    TestMainWindow& w = Start();
    RECT start, separator, now;
    GetWindowRect(w.hwnd, &start);
    w.separatorLine.GetWindowRect(&separator);
    EXPECT_TRUE(w.collapsedHeight == separator.top - start.top && w.fullHeight > w.collapsedHeight);
    // Folded at start-up; a click of the button toggles, its focus does not.
    for (const auto& step : {std::make_pair(-1, false), std::make_pair(int(BN_CLICKED), true),
                             std::make_pair(int(BN_SETFOCUS), true), std::make_pair(int(BN_CLICKED), false)}) {
        if (step.first >= 0)
            Click(IDC_SHOW_SETTINGS, step.first);
        GetWindowRect(w.hwnd, &now);
        EXPECT_TRUE(now.left == start.left && now.top == start.top && now.right == start.right);
        EXPECT_EQ(now.bottom - now.top, step.second ? w.fullHeight : w.collapsedHeight);
        EXPECT_EQ(w.settingsButton.GetWindowText(), step.second ? "<< Hide Settings" : "Show Settings >>");
        for (int id : {IDC_SEPARATOR, IDC_POPUP_CHECK, IDC_SQUASH_LOG_CHECK, IDC_SOUND_CHECK, IDC_ANIMATE_CHECK, IDOK})
            EXPECT_EQ(IsWindowEnabled(w.GetDlgItem(id)) != FALSE, step.second) << id;
        EXPECT_TRUE(IsWindowEnabled(w.realTimeCheck.hwnd) && IsWindowEnabled(w.resultList.hwnd));
    }
}

TEST_F(AppTest, CloseAndTheExitPictureHideExitSavesTheLogEscapeSavesNothing)
{
    const std::string kept = "Old$http://old.example/$8/20/2004$Popup\r\n", added = "New$u$8/21/2004$Spyware";
    const struct { std::function<void()> leave; bool stays; INT_PTR result; size_t notices; bool saves; } ways[] = {
        {[this] { SendMessageA(window->hwnd, WM_CLOSE, 0, 0); }, true, 0, 1, false},
        {[this] { MouseAt(WM_LBUTTONDOWN, window->exitPicture.hwnd); }, true, 0, 0, false},
        {[this] { Click(IDCANCEL); }, false, IDCANCEL, 0, false},
        {[this] { Command(ID_TRAY_EXIT); }, false, IDOK, 0, true}};
    for (const auto& way : ways) {
        std::ofstream(folder.Path("hist.twk"), std::ios::binary) << kept;
        squashLog.Clear();
        TestMainWindow& w = Start();
        w.AddSquashLogLine(added);
        MessageBoxWatcher boxes;
        way.leave();
        EXPECT_TRUE((IsWindow(w.hwnd) != FALSE) == way.stays && !IsWindowVisible(w.hwnd) && w.showAllowed != way.saves);
        EXPECT_EQ(w.Result(), way.result);
        ASSERT_EQ(boxes.Boxes().size(), way.notices);
        for (const MessageBoxWatcher::Box& box : boxes.Boxes())
            EXPECT_NE(box.text.find("will continue to run in the taskbar"), std::string::npos);
        EXPECT_EQ(ReadFileBytes(folder.Path("hist.twk")), way.saves ? kept + added + "\r\n" : kept);
        Stop();
    }
}

TEST_F(AppTest, CommandsAndPictureLinksReachTheirActions)
{
    TestMainWindow& w = Start();
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (HWND control : {w.resultList.hwnd, w.scanPicture.hwnd, w.cleanPicture.hwnd, w.exitPicture.hwnd, w.updatePicture.hwnd}) {
        SetCursor(arrow);
        MouseAt(WM_MOUSEMOVE, control);
        EXPECT_EQ(GetCursor(), control == w.resultList.hwnd ? arrow : w.handCursor) << GetDlgCtrlID(control);
    }
    EXPECT_EQ(w.handCursor, LoadCursorA(nullptr, IDC_HAND)); // Wine's help program has no cursor 106

    MessageBoxWatcher boxes;
    Command(ID_TRAY_SUPPORT);
    MouseAt(WM_LBUTTONDOWN, w.updatePicture.hwnd);
    MouseAt(WM_LBUTTONDOWN, w.resultList.hwnd);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://www.ostrand.example/index.php?pd=&md=application&inst=&mode=CUS",
                                                "http://www.ostrand.example/index.php?md=application&mode=NEWSONE&id=20&wd=VIEW&page=1"}));
    MouseAt(WM_LBUTTONDOWN, w.scanPicture.hwnd);
    EXPECT_EQ(w.scanStatus.GetWindowText(), "Tarnwick Scan Complete!");
    w.resultList.InsertItem(0, "unticked");
    MouseAt(WM_LBUTTONDOWN, w.cleanPicture.hwnd);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Tarnwick Protection applied successfully!");
    for (const auto& flip : {std::make_pair(1, 0), std::make_pair(0, 1), std::make_pair(2, 2)}) {
        w.popupBlocking = flip.first;
        Command(ID_TRAY_REALTIME);
        EXPECT_EQ(w.popupBlocking, flip.second) << flip.first;
    }
    char about[64] = {};
    GetMenuStringA(GetSystemMenu(w.hwnd, FALSE), IDM_ABOUTBOX, about, sizeof about, MF_BYCOMMAND);
    EXPECT_STREQ(about, "&About Gravelin...");
}
