// The notification-area icon: its record, frames and animation against the
// shell of the test machine, and its mouse messages driving the main window.
#include "AppFixture.h"

#include <ctime>

namespace {

const UINT kCallback = WM_USER + 10;

HICON ProgramIcon(UINT id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

// True while the shell knows the icon of that record.
bool ShellHasIcon(NOTIFYICONDATAA data)
{
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

struct TestTray : MySysTray
{
    using MySysTray::animationStart;
    using MySysTray::notifyData;
    using MySysTray::timerId;
};

} // namespace

TEST(TrayTest, IconAnimatesThroughItsFramesAndGoesWithTheObject)
{
    // The notification area came with major version 4.
    EXPECT_TRUE(!TraySupportedVersion(0x04213303) && TraySupportedVersion(0xC3B60004) && TraySupportedVersion(0x0106));
    const HICON normal = ProgramIcon(IDI_TARNWICK), second = ProgramIcon(IDI_SQUASH_FRAME2);
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    NOTIFYICONDATAA added;
    {
        TestTray tray;
        EXPECT_FALSE(tray.ChangeIcon(normal) || TestTray().StartAnimation(50, 0) || tray.NextFrame() || tray.EndAnimation());
        // A short tip replaces a long one whole; a window that is gone is no owner.
        ASSERT_TRUE(tray.Create(nullptr, kCallback, std::string(99, 'x').c_str(), normal, 300));
        EXPECT_EQ(std::string(tray.notifyData.szTip), std::string(63, 'x'));
        tray.DeleteIcon();
        ASSERT_TRUE(tray.Create(gone, kCallback, "short", normal, 300));
        added = tray.notifyData;
        EXPECT_TRUE(added.hWnd == tray.GetSafeHwnd() && std::string(added.szTip) == "short");
        EXPECT_TRUE(ShellHasIcon(added) && !IsWindowVisible(tray.GetSafeHwnd()));

        // Bad ranges keep the frames. Frames show from the second on.
        ASSERT_TRUE(tray.LoadAnimationFrames(IDI_SQUASH_FRAME1, IDI_SQUASH_FRAME4));
        EXPECT_FALSE(tray.LoadAnimationFrames(IDI_SQUASH_FRAME4, IDI_SQUASH_FRAME1) ||
                     tray.LoadAnimationFrames(IDI_SQUASH_FRAME1, 0x10000));
        for (UINT next : {1, 2, 3, 0, 1}) {
            ASSERT_TRUE(tray.NextFrame());
            EXPECT_EQ(tray.CurrentIcon(), ProgramIcon(IDI_SQUASH_FRAME1 + next)) << next;
        }
        // A start ends a running animation and remembers the icon shown
        // before it, not a frame; the end shows that icon again. No messages
        // are pumped here: only NextFrame and the timer messages sent below move.
        ASSERT_TRUE(tray.ChangeIcon(normal) && tray.StartAnimation(50, 0));
        tray.NextFrame();
        ASSERT_TRUE(tray.StartAnimation(50, 0));
        EXPECT_TRUE(tray.EndAnimation());
        EXPECT_TRUE(tray.CurrentIcon() == normal && !tray.EndAnimation());
        // Any timer message shows the next frame until more than the given
        // seconds have passed since the start; 0 seconds run until ended.
        const struct { int seconds, ago; bool ends; } ticks[] = {{5, 5, false}, {5, 6, true}, {0, 1000, false}};
        for (const auto& t : ticks) {
            ASSERT_TRUE(tray.StartAnimation(50, t.seconds));
            tray.animationStart = std::time(nullptr) - t.ago;
            SendMessageA(tray.GetSafeHwnd(), WM_TIMER, 1234, 0);
            EXPECT_TRUE((tray.timerId == 0) == t.ends && tray.CurrentIcon() == (t.ends ? normal : second)) << t.ago;
        }
        gone = tray.GetSafeHwnd(); // the animation still runs when the object goes
    }
    EXPECT_FALSE(ShellHasIcon(added) || IsWindow(gone));
}

TEST_F(AppTest, TrayIconMouseDrivesTheMainWindow)
{
    TestMainWindow& w = Start();
    // A double click on the icon launches the window; other mouse actions,
    // other icons and other messages do nothing.
    const struct { UINT message; WPARAM icon; LPARAM mouse; LRESULT result; bool shows; } clicks[] = {
        {kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK, 1, true}, {kCallback, IDR_TRAYMENU, WM_LBUTTONUP, 1, false},
        {kCallback, IDR_TRAYMENU, WM_MOUSEMOVE, 1, false},   {kCallback, 130, WM_LBUTTONDBLCLK, 0, false},
        {kCallback + 1, IDR_TRAYMENU, WM_LBUTTONDBLCLK, 0, false}};
    for (const auto& c : clicks) {
        ShowWindow(w.hwnd, SW_HIDE);
        EXPECT_EQ(SendMessageA(sysTray.GetSafeHwnd(), c.message, c.icon, c.mouse), c.result) << c.mouse;
        EXPECT_EQ(IsWindowVisible(w.hwnd) != FALSE, c.shows) << c.mouse;
    }
    // A right click tracks the tray menu on the main window, "Launch
    // Tarnwick" its default item, ticked as the pop-up blocker and the Run
    // value are.
    const struct { int blocking; bool autostart, monitorTicked; } menus[] = {{0, false, false}, {2, true, true}, {1, false, true}};
    for (const auto& m : menus) {
        w.popupBlocking = m.blocking;
        if (w.IsAutostartOn() != m.autostart)
            Command(ID_TRAY_LOAD_AT_STARTUP);
        EXPECT_EQ(SendMessageA(sysTray.GetSafeHwnd(), kCallback, IDR_TRAYMENU, WM_RBUTTONUP), 1);
        EXPECT_TRUE(w.menuDefault == ID_TRAY_LAUNCH && w.monitorTicked == m.monitorTicked &&
                    w.autostartTicked == m.autostart) << m.blocking;
    }
    // The log viewer shows over the main window.
    bool viewer = false;
    ThreadTimer closer(50, [&] {
        HWND shown = FindWindowA(nullptr, "What Did I Squash?");
        viewer = viewer || (shown != nullptr && PostMessageA(shown, WM_COMMAND, IDCANCEL, 0));
    });
    Command(ID_TRAY_SQUASH_LOG);
    EXPECT_TRUE(viewer);
    // Without its menu the icon answers 0; without a main window it does nothing.
    MySysTray other;
    ASSERT_TRUE(other.Create(nullptr, kCallback, "", w.appIcon, 130));
    EXPECT_TRUE(other.OnTrayMessage(130, WM_RBUTTONUP) == 0 && other.OnTrayMessage(130, WM_LBUTTONDBLCLK) == 0);
    app.mainWindow = nullptr;
    EXPECT_EQ(SendMessageA(sysTray.GetSafeHwnd(), kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    EXPECT_FALSE(IsWindowVisible(w.hwnd));
}
