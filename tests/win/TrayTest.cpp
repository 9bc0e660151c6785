// The tray icon object against the real shell of the test machine: the icon
// record, frames, animation and the icon's mouse messages.
#include "tray/MySysTray.h"
#include "res/resource.h"
#include "win/WinApp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

const UINT kCallback = WM_USER + 10;   // 1034
const char kTip[] = "Tarnwick - Don't surf without it!";

// Opens the object's fields and timer handler to the tests, and counts the
// calls that reach OnTrayMessage.
class TestTray : public MySysTray
{
public:
    using MySysTray::iconAdded;
    using MySysTray::notifyData;
    using MySysTray::frames;
    using MySysTray::timerId;
    using MySysTray::frameIndex;
    using MySysTray::animationStart;
    using MySysTray::animationSeconds;
    using MySysTray::savedIcon;

    void Tick() { OnTimer(kAnimationTimerId); }

    LRESULT OnTrayMessage(WPARAM wParam, LPARAM lParam) override
    {
        ++trayMessages;
        return MySysTray::OnTrayMessage(wParam, lParam);
    }
    int trayMessages = 0;
};

HICON LoadProgramIcon(UINT id)
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

void Pump(DWORD ms)
{
    PumpMessagesUntil([] { return false; }, ms);
}

// True while the shell still knows the icon described by data.
bool ShellHasIcon(const NOTIFYICONDATAA& data)
{
    NOTIFYICONDATAA probe = data;
    probe.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// Keeps an icon of another window in the notification area for the whole
// run: Wine's tray takes two seconds to remove its last icon, while the
// icons of the tests come and go at once beside this one.
class KeepTrayOccupied : public ::testing::Environment
{
public:
    void SetUp() override
    {
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = window;
        data.uID = 1;
        data.uFlags = NIF_ICON;
        data.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));   // IDI_APPLICATION
        Shell_NotifyIconA(NIM_ADD, &data);
    }
    void TearDown() override
    {
        Shell_NotifyIconA(NIM_DELETE, &data);
        DestroyWindow(window);
    }

private:
    HWND window = nullptr;
    NOTIFYICONDATAA data = {};
};
::testing::Environment* const keepTrayOccupied = ::testing::AddGlobalTestEnvironment(new KeepTrayOccupied);

// Stands in for the application's main window: records the commands and
// menu messages it gets, and closes a popup menu it owns as soon as it opens.
class OwnerWindow
{
public:
    OwnerWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &OwnerWindow::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TrayTestOwner";
        RegisterClassA(&wc);   // fails harmlessly once registered
        hwnd = CreateWindowExA(0, "TrayTestOwner", "owner", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }
    ~OwnerWindow() { DestroyWindow(hwnd); }

    HWND hwnd = nullptr;
    std::vector<UINT> messages;       // WM_COMMAND, WM_NULL and the menu messages, in order
    std::vector<WPARAM> commands;     // wParam of each WM_COMMAND
    std::vector<LPARAM> commandLParams;
    // The popup as WM_INITMENUPOPUP showed it.
    int itemCount = -1;
    UINT defaultById = 0, defaultByPosition = 0, firstItemState = 0;
    std::string firstItemText;

    int IndexOf(UINT message) const
    {
        for (std::size_t i = 0; i < messages.size(); ++i)
            if (messages[i] == message)
                return static_cast<int>(i);
        return -1;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self == nullptr)
            return DefWindowProcA(window, message, wParam, lParam);
        switch (message) {
        case WM_COMMAND:
            self->commands.push_back(wParam);
            self->commandLParams.push_back(lParam);
            self->messages.push_back(message);
            return 0;
        case WM_NULL:
        case WM_ENTERMENULOOP:
        case WM_EXITMENULOOP:
            self->messages.push_back(message);
            break;
        case WM_INITMENUPOPUP: {
            self->messages.push_back(message);
            HMENU popup = reinterpret_cast<HMENU>(wParam);
            self->itemCount = GetMenuItemCount(popup);
            self->defaultById = GetMenuDefaultItem(popup, FALSE, 0);
            self->defaultByPosition = GetMenuDefaultItem(popup, TRUE, 0);
            self->firstItemState = GetMenuState(popup, 0, MF_BYPOSITION);
            char text[64] = {};
            GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
            self->firstItemText = text;
            PostMessageA(window, WM_CANCELMODE, 0, 0);   // as a click elsewhere
            break;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

// While it lives, a menu still open after three seconds is closed, so that a
// menu nobody closes fails the test instead of hanging the run.
class MenuDeadline
{
public:
    MenuDeadline() { expired = false; timer = SetTimer(nullptr, 0, 3000, &MenuDeadline::Expired); }
    ~MenuDeadline() { KillTimer(nullptr, timer); }
    static bool expired;

private:
    static void CALLBACK Expired(HWND, UINT, UINT_PTR, DWORD) { expired = true; EndMenu(); }
    UINT_PTR timer = 0;
};
bool MenuDeadline::expired = false;

class TrayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        normalIcon = LoadProgramIcon(IDI_TARNWICK);
        ASSERT_NE(normalIcon, nullptr);
        for (UINT id = IDI_SQUASH_FRAME1; id <= IDI_SQUASH_FRAME4; ++id)
            frameIcons.push_back(LoadProgramIcon(id));
    }

    // The tray as the main window creates it.
    void CreateTray(TestTray& tray, UINT iconId = IDR_TRAYMENU)
    {
        ASSERT_TRUE(tray.Create(nullptr, kCallback, kTip, normalIcon, iconId));
    }

    // The tray, created, with the four frames loaded.
    void CreateAnimatedTray(TestTray& tray)
    {
        CreateTray(tray);
        ASSERT_TRUE(tray.LoadAnimationFrames(IDI_SQUASH_FRAME1, IDI_SQUASH_FRAME4));
    }

    bool IsFrame(HICON icon) const
    {
        for (HICON frame : frameIcons)
            if (frame == icon)
                return true;
        return false;
    }

    HICON normalIcon = nullptr;
    std::vector<HICON> frameIcons;
};

// ---------------------------------------------------------------------------
// Create, change, delete

TEST(TrayVersionTest, NeedsMajorVersionFourInTheLowByte)
{
    EXPECT_FALSE(TraySupportedVersion(0x04213303));   // 3.51
    EXPECT_FALSE(TraySupportedVersion(0x00000403));   // 3.4: the minor byte is not the major
    EXPECT_TRUE(TraySupportedVersion(0xC3B60004));    // 4.0 of the 95 line
    EXPECT_TRUE(TraySupportedVersion(0x1DB10106));    // 6.1
    EXPECT_TRUE(TraySupportedVersion(GetVersion()));
}

TEST_F(TrayTest, BeforeCreateThereIsNothingToChangeOrAnimate)
{
    TestTray tray;
    EXPECT_EQ(tray.GetSafeHwnd(), nullptr);
    EXPECT_EQ(tray.CurrentIcon(), nullptr);
    EXPECT_FALSE(tray.ChangeIcon(normalIcon));
    EXPECT_FALSE(tray.StartAnimation(50, 1));
    EXPECT_FALSE(tray.EndAnimation());
}

TEST_F(TrayTest, CreateAddsTheIconWithItsFirstFormRecord)
{
    TestTray tray;
    CreateTray(tray);
    EXPECT_TRUE(tray.iconAdded);

    const NOTIFYICONDATAA& nd = tray.notifyData;
    EXPECT_EQ(nd.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(nd.cbSize, 88u);
    }
    EXPECT_EQ(nd.hWnd, tray.GetSafeHwnd());
    EXPECT_EQ(nd.uID, 129u);
    EXPECT_EQ(nd.uFlags, 7u);
    EXPECT_EQ(nd.uCallbackMessage, 1034u);
    EXPECT_EQ(nd.hIcon, normalIcon);
    EXPECT_STREQ(nd.szTip, kTip);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);
    EXPECT_TRUE(ShellHasIcon(nd));

    // The hidden window: a 10 by 10 popup at 0, 0, never shown.
    HWND hidden = tray.GetSafeHwnd();
    ASSERT_TRUE(IsWindow(hidden));
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetWindowLongA(hidden, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_CHILD), static_cast<LONG>(WS_POPUP));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(hidden, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 10);
    EXPECT_EQ(rect.bottom, 10);
}

TEST_F(TrayTest, TipIsCutToSixtyThreeCharactersAndItsTerminator)
{
    const std::string longTip(100, 'x');
    TestTray tray;
    ASSERT_TRUE(tray.Create(nullptr, kCallback, longTip.c_str(), normalIcon, IDR_TRAYMENU));
    EXPECT_EQ(tray.notifyData.szTip[63], '\0');
    EXPECT_EQ(std::string(tray.notifyData.szTip), longTip.substr(0, 63));

    const std::string fits(63, 'y');
    TestTray exact;
    ASSERT_TRUE(exact.Create(nullptr, kCallback, fits.c_str(), normalIcon, 300));
    EXPECT_EQ(std::string(exact.notifyData.szTip), fits);
}

TEST_F(TrayTest, IconMessagesGoToAGivenOwnerWindowOnly)
{
    OwnerWindow owner;
    TestTray owned;
    ASSERT_TRUE(owned.Create(owner.hwnd, kCallback, kTip, normalIcon, 302));
    EXPECT_EQ(owned.notifyData.hWnd, owner.hwnd);

    // A handle that is no window any more counts as no owner.
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    TestTray orphan;
    ASSERT_TRUE(orphan.Create(gone, kCallback, kTip, normalIcon, 303));
    EXPECT_EQ(orphan.notifyData.hWnd, orphan.GetSafeHwnd());
}

TEST_F(TrayTest, ChangeIconSendsOnlyTheIcon)
{
    TestTray tray;
    CreateTray(tray);
    ASSERT_TRUE(tray.ChangeIcon(frameIcons[2]));
    EXPECT_EQ(tray.notifyData.uFlags, static_cast<UINT>(NIF_ICON));
    EXPECT_EQ(tray.CurrentIcon(), frameIcons[2]);
}

TEST_F(TrayTest, DeleteIconRemovesItAndGatesLaterCalls)
{
    TestTray tray;
    CreateTray(tray);
    const NOTIFYICONDATAA added = tray.notifyData;

    tray.DeleteIcon();
    EXPECT_FALSE(tray.iconAdded);
    EXPECT_EQ(tray.notifyData.uFlags, 0u);
    EXPECT_FALSE(ShellHasIcon(added));
    EXPECT_EQ(tray.CurrentIcon(), nullptr);
    EXPECT_FALSE(tray.ChangeIcon(frameIcons[0]));
    EXPECT_EQ(tray.notifyData.hIcon, normalIcon);
}

TEST_F(TrayTest, DestructorRemovesTheIconAndTheHiddenWindow)
{
    // The icon belongs to a window that outlives the object, so only the
    // removal itself can make the shell forget it.
    OwnerWindow owner;
    NOTIFYICONDATAA added;
    HWND hidden;
    {
        TestTray tray;
        ASSERT_TRUE(tray.Create(owner.hwnd, kCallback, kTip, normalIcon, IDR_TRAYMENU));
        tray.LoadAnimationFrames(IDI_SQUASH_FRAME1, IDI_SQUASH_FRAME4);
        ASSERT_TRUE(tray.StartAnimation(50, 0));   // still running at the end
        added = tray.notifyData;
        hidden = tray.GetSafeHwnd();
        ASSERT_TRUE(ShellHasIcon(added));
    }
    EXPECT_FALSE(ShellHasIcon(added));
    EXPECT_FALSE(IsWindow(hidden));
}

// ---------------------------------------------------------------------------
// Frames and animation

TEST_F(TrayTest, FramesLoadInOrderAndReloadEachTime)
{
    TestTray tray;
    ASSERT_TRUE(tray.LoadAnimationFrames(149, 152));
    ASSERT_EQ(tray.frames.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NE(tray.frames[i], nullptr);
        EXPECT_EQ(tray.frames[i], frameIcons[i]) << "frame " << i;
    }
    ASSERT_TRUE(tray.LoadAnimationFrames(150, 150));
    EXPECT_EQ(tray.frames, std::vector<HICON>{frameIcons[1]});
    // An id without an icon gives an empty handle.
    ASSERT_TRUE(tray.LoadAnimationFrames(900, 901));
    EXPECT_EQ(tray.frames, std::vector<HICON>(2, nullptr));
}

TEST_F(TrayTest, BadFrameRangesKeepTheOldFrames)
{
    TestTray tray;
    ASSERT_TRUE(tray.LoadAnimationFrames(149, 152));
    const std::vector<HICON> before = tray.frames;

    EXPECT_FALSE(tray.LoadAnimationFrames(152, 149));
    // No resource id is that large: refused at once, not walked through.
    ASSERT_FALSE(tray.LoadAnimationFrames(149, 0x10000));
    ASSERT_FALSE(tray.LoadAnimationFrames(0, 0xFFFFFFFFu));
    EXPECT_EQ(tray.frames, before);
}

TEST_F(TrayTest, NextFrameStartsAtTheSecondFrameAndCycles)
{
    TestTray tray;
    CreateAnimatedTray(tray);
    ASSERT_TRUE(tray.StartAnimation(50, 0));   // no messages run: the timer stays quiet

    for (int index : {1, 2, 3, 0, 1}) {
        ASSERT_TRUE(tray.NextFrame());
        EXPECT_EQ(tray.CurrentIcon(), frameIcons[static_cast<std::size_t>(index)]) << index;
    }
}

TEST_F(TrayTest, NextFrameWithoutFramesChangesNothing)
{
    TestTray tray;
    CreateTray(tray);
    EXPECT_FALSE(tray.NextFrame());
    EXPECT_EQ(tray.frameIndex, 0);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);
}

TEST_F(TrayTest, StartAnimationSetsTheTimerAndRemembersTheIcon)
{
    TestTray tray;
    CreateAnimatedTray(tray);
    tray.frameIndex = 3;

    const std::time_t before = std::time(nullptr);
    ASSERT_TRUE(tray.StartAnimation(50, 1));
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(tray.timerId, 4567u);
    EXPECT_EQ(tray.savedIcon, normalIcon);
    EXPECT_EQ(tray.frameIndex, 0);
    EXPECT_EQ(tray.animationSeconds, 1);
    EXPECT_GE(tray.animationStart, before);
    EXPECT_LE(tray.animationStart, after);

    // The timer drives the frames.
    EXPECT_TRUE(PumpMessagesUntil([&] { return IsFrame(tray.CurrentIcon()); }, 1000));
}

TEST_F(TrayTest, EndAnimationRestoresTheSavedIcon)
{
    TestTray tray;
    CreateAnimatedTray(tray);
    EXPECT_FALSE(tray.EndAnimation());   // none running
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);

    ASSERT_TRUE(tray.StartAnimation(50, 0));
    ASSERT_TRUE(tray.NextFrame());
    EXPECT_TRUE(tray.EndAnimation());
    EXPECT_EQ(tray.timerId, 0u);
    EXPECT_EQ(tray.savedIcon, nullptr);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);

    // The timer is gone: no further frame shows.
    Pump(200);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);
    EXPECT_FALSE(tray.EndAnimation());
}

TEST_F(TrayTest, SecondAnimationEndsTheFirstAndTheNormalIconReturns)
{
    TestTray tray;
    CreateAnimatedTray(tray);
    ASSERT_TRUE(tray.StartAnimation(50, 1));
    ASSERT_TRUE(tray.NextFrame());

    // A second squash while the first animation runs.
    ASSERT_TRUE(tray.LoadAnimationFrames(149, 152));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(tray.StartAnimation(50, 1));
    EXPECT_EQ(tray.savedIcon, normalIcon);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);

    // It ends by itself once the clock's second is two past the start: after
    // one to two seconds (plus the timer's period and some slack).
    ASSERT_TRUE(PumpMessagesUntil([&] { return tray.timerId == 0; }, 4000));
    const DWORD ms = GetTickCount() - start;
    EXPECT_GE(ms, 950u);
    EXPECT_LE(ms, 3500u);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);
    Pump(150);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);
}

TEST_F(TrayTest, TimerEndsTheAnimationOnlyAfterItsDuration)
{
    TestTray tray;
    CreateAnimatedTray(tray);

    // Exactly the duration elapsed: one more frame. Retried when the clock's
    // second turns between setting the start and the tick.
    bool measured = false;
    for (int attempt = 0; attempt < 3 && !measured; ++attempt) {
        ASSERT_TRUE(tray.StartAnimation(50, 5));
        const std::time_t now = std::time(nullptr);
        tray.animationStart = now - 5;
        tray.Tick();
        measured = std::time(nullptr) == now;
    }
    ASSERT_TRUE(measured);
    EXPECT_EQ(tray.timerId, 4567u);
    EXPECT_EQ(tray.CurrentIcon(), frameIcons[1]);

    // Past the duration: the animation ends, the normal icon is back.
    tray.animationStart = std::time(nullptr) - 6;
    tray.Tick();
    EXPECT_EQ(tray.timerId, 0u);
    EXPECT_EQ(tray.CurrentIcon(), normalIcon);
}

TEST_F(TrayTest, AnyTimerMessageAdvancesAnEndlessAnimation)
{
    TestTray tray;
    CreateAnimatedTray(tray);
    ASSERT_TRUE(tray.StartAnimation(50, 0));
    tray.animationStart -= 1000;
    // The timer id is not examined; a duration of 0 never runs out.
    SendMessageA(tray.GetSafeHwnd(), WM_TIMER, 1234, 0);
    EXPECT_EQ(tray.timerId, 4567u);
    EXPECT_EQ(tray.CurrentIcon(), frameIcons[1]);
}

// ---------------------------------------------------------------------------
// The icon's mouse messages

class TrayMouseTest : public TrayTest
{
protected:
    void SetUp() override
    {
        TrayTest::SetUp();
        ASSERT_NE(owner.hwnd, nullptr);
        app.mainWindow = owner.hwnd;
        CreateTray(tray);
    }

    CWinApplication app;
    OwnerWindow owner;
    TestTray tray;
};

TEST_F(TrayMouseTest, OnlyTheCallbackMessageReachesOnTrayMessage)
{
    EXPECT_EQ(SendMessageA(tray.GetSafeHwnd(), kCallback, IDR_TRAYMENU, WM_MOUSEMOVE), 1);
    SendMessageA(tray.GetSafeHwnd(), kCallback + 1, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    EXPECT_EQ(tray.trayMessages, 1);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayMouseTest, DoubleClickSendsLaunchToTheMainWindow)
{
    EXPECT_EQ(SendMessageA(tray.GetSafeHwnd(), kCallback, IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    // Only the low word of lParam names the mouse message.
    EXPECT_EQ(tray.OnTrayMessage(IDR_TRAYMENU, MAKELPARAM(WM_LBUTTONDBLCLK, 0x1234)), 1);
    ASSERT_EQ(owner.commands.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(owner.commands[i], 32781u);
        EXPECT_EQ(owner.commandLParams[i], 0);
    }
}

TEST_F(TrayMouseTest, OtherIconIdsAreIgnoredWithZero)
{
    EXPECT_EQ(tray.OnTrayMessage(130, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(tray.OnTrayMessage(130, WM_RBUTTONUP), 0);
    Pump(50);
    EXPECT_TRUE(owner.messages.empty());
}

TEST_F(TrayMouseTest, SingleClicksAndMovesDoNothing)
{
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MOUSEMOVE, WM_RBUTTONDBLCLK})
        EXPECT_EQ(tray.OnTrayMessage(IDR_TRAYMENU, mouse), 1) << mouse;
    Pump(50);
    EXPECT_TRUE(owner.messages.empty());
}

TEST_F(TrayMouseTest, RightClickTracksTheMenuWithLaunchAsDefault)
{
    {
        MenuDeadline deadline;
        EXPECT_EQ(tray.OnTrayMessage(IDR_TRAYMENU, WM_RBUTTONUP), 1);
        EXPECT_FALSE(MenuDeadline::expired);
    }
    EXPECT_EQ(owner.itemCount, 9);
    EXPECT_EQ(owner.firstItemText, "Launch Tarnwick");
    EXPECT_EQ(owner.defaultById, 32781u);
    EXPECT_EQ(owner.defaultByPosition, 0u);
    EXPECT_TRUE(owner.firstItemState & MF_DEFAULT);

    // The main window ran the menu loop, no command came, then WM_NULL.
    PumpMessagesUntil([&] { return owner.IndexOf(WM_NULL) >= 0; }, 1000);
    EXPECT_GE(owner.IndexOf(WM_ENTERMENULOOP), 0);
    EXPECT_LT(owner.IndexOf(WM_ENTERMENULOOP), owner.IndexOf(WM_INITMENUPOPUP));
    EXPECT_LT(owner.IndexOf(WM_INITMENUPOPUP), owner.IndexOf(WM_EXITMENULOOP));
    EXPECT_LT(owner.IndexOf(WM_EXITMENULOOP), owner.IndexOf(WM_NULL));
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayMouseTest, MissingMenuYieldsZeroAndNothingElse)
{
    TestTray noMenu;
    CreateTray(noMenu, 130);   // the module has no menu 130
    MenuDeadline deadline;
    EXPECT_EQ(noMenu.OnTrayMessage(130, WM_RBUTTONUP), 0);
    EXPECT_EQ(noMenu.OnTrayMessage(130, WM_LBUTTONDBLCLK), 0);
    Pump(50);
    EXPECT_EQ(owner.IndexOf(WM_INITMENUPOPUP), -1);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayMouseTest, NoMainWindowIgnoresTheMouse)
{
    app.mainWindow = nullptr;
    MenuDeadline deadline;
    EXPECT_EQ(tray.OnTrayMessage(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(tray.OnTrayMessage(IDR_TRAYMENU, WM_RBUTTONUP), 1);
    Pump(50);
    EXPECT_TRUE(owner.messages.empty());
}

} // namespace
