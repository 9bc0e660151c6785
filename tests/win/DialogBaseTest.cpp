// CDialogBase: creation, the message routing to the handlers, how results
// come back, ending modal and modeless dialogs, colours and placement.
#include "TestSupport.h"
#include "WinLayerTestRes.h"
#include "win/DialogBase.h"
#include "win/WinApp.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// A dialog that records what reaches its handlers; each handler reports
// "handled" as its test sets it up.
class ProbeDialog : public CDialogBase
{
public:
    explicit ProbeDialog(UINT id = IDD_TEST_CENTRED, HWND parent = nullptr) : CDialogBase(id, parent) {}

    BOOL OnInitDialog() override
    {
        ++initCalls;
        ownerAtInit = GetWindow(hwnd, GW_OWNER);
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    void OnOK() override
    {
        ++okCalls;
        CDialogBase::OnOK();
    }
    void OnCancel() override
    {
        ++cancelCalls;
        CDialogBase::OnCancel();
    }
    bool OnCommand(int id, int code, HWND control) override
    {
        commands.push_back({id, code, control});
        return true;
    }
    bool OnSysCommand(UINT command, LPARAM) override
    {
        sysCommands.push_back(command);
        return command == 0x0010;
    }
    bool OnTimer(UINT_PTR id) override
    {
        timers.push_back(id);
        if (endOnTimer)
            EndDialog(3);
        return true;
    }
    bool OnPaint() override
    {
        ++paints;
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return true;
    }
    HICON OnQueryDragIcon() override { return dragIcon; }
    bool OnWindowPosChanging(WINDOWPOS* pos) override
    {
        if (!showAllowed)
            pos->flags &= ~SWP_SHOWWINDOW;
        return false;
    }
    bool OnClose() override
    {
        ++closeCalls;
        return keepOpenOnClose;
    }
    bool OnMouseMove(UINT flags, POINT point) override
    {
        mouse.push_back({WM_MOUSEMOVE, flags, point});
        return true;
    }
    bool OnLButtonDown(UINT flags, POINT point) override
    {
        mouse.push_back({WM_LBUTTONDOWN, flags, point});
        return false;
    }
    bool OnInitMenuPopup(HMENU popup, UINT index, BOOL systemMenu) override
    {
        menus.push_back({popup, index, systemMenu});
        return true;
    }
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override
    {
        if (id != IDC_TEST_LIST || header->code != NM_CLICK)
            return false;
        ++clicks;
        result = 5;
        return true;
    }

    struct Command
    {
        int id, code;
        HWND control;
    };
    struct Mouse
    {
        UINT message, flags;
        POINT point;
    };
    struct Menu
    {
        HMENU popup;
        UINT index;
        BOOL systemMenu;
    };

    std::function<void(ProbeDialog&)> onInit;
    int initCalls = 0, okCalls = 0, cancelCalls = 0, closeCalls = 0, paints = 0, clicks = 0;
    HWND ownerAtInit = nullptr;
    std::vector<Command> commands;
    std::vector<UINT> sysCommands;
    std::vector<UINT_PTR> timers;
    std::vector<Mouse> mouse;
    std::vector<Menu> menus;
    HICON dragIcon = nullptr;
    bool showAllowed = true;
    bool keepOpenOnClose = false;
    bool endOnTimer = false;
};

HWND MakeOwner(bool visible, int x = 100, int y = 100)
{
    return CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_CAPTION | (visible ? WS_VISIBLE : 0), x, y, 500, 400,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

RECT WorkArea()
{
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

POINT Centre(const RECT& r)
{
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return p;
}

TEST(DialogBaseTest, ModelessCreateRunsInitDialogAndBindsTheWindow)
{
    ProbeDialog dialog;
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.initCalls, 1);
    ASSERT_NE(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.hwnd, dialog.GetSafeHwnd());
    EXPECT_NE(dialog.GetDlgItem(IDC_TEST_TEXT), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(4242), nullptr);
    EXPECT_FALSE(dialog.Create(nullptr)) << "a second window for the same object";
}

TEST(DialogBaseTest, OkAndCancelEndAModelessDialogWithTheirResults)
{
    for (int id : {IDOK, IDCANCEL}) {
        ProbeDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        HWND window = dialog.hwnd;
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_EQ(dialog.Result(), id);
        EXPECT_EQ(dialog.okCalls, id == IDOK ? 1 : 0);
        EXPECT_EQ(dialog.cancelCalls, id == IDCANCEL ? 1 : 0);
        EXPECT_TRUE(dialog.commands.empty());
    }
}

TEST(DialogBaseTest, EscapeAndCloseBoxBecomeTheCancelCommand)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND window = dialog.hwnd;
    dialog.keepOpenOnClose = true;
    SendMessageA(window, WM_CLOSE, 0, 0);
    PumpWaitingMessages();
    EXPECT_EQ(dialog.closeCalls, 1);
    EXPECT_TRUE(IsWindow(window)) << "a handled WM_CLOSE keeps the dialog";

    dialog.keepOpenOnClose = false;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !IsWindow(window); }, 5000));
    EXPECT_EQ(dialog.closeCalls, 2);
    EXPECT_EQ(dialog.cancelCalls, 1);
    EXPECT_EQ(dialog.Result(), IDCANCEL);
}

TEST(DialogBaseTest, OtherCommandsReachOnCommand)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND other = dialog.GetDlgItem(IDC_TEST_OTHER);
    SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_OTHER, BN_CLICKED), reinterpret_cast<LPARAM>(other));
    SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(32781, 0), 0);
    // A notification other than a click from the OK button is no OK command.
    SendMessageA(dialog.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS),
                 reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDOK)));

    ASSERT_EQ(dialog.commands.size(), 3u);
    EXPECT_EQ(dialog.commands[0].id, IDC_TEST_OTHER);
    EXPECT_EQ(dialog.commands[0].code, BN_CLICKED);
    EXPECT_EQ(dialog.commands[0].control, other);
    EXPECT_EQ(dialog.commands[1].id, 32781);
    EXPECT_EQ(dialog.commands[1].control, nullptr);
    EXPECT_EQ(dialog.commands[2].id, IDOK);
    EXPECT_EQ(dialog.okCalls, 0);
    EXPECT_TRUE(IsWindow(dialog.hwnd));
}

TEST(DialogBaseTest, MessagesReachTheirHandlers)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HWND window = dialog.hwnd;

    SendMessageA(window, WM_SYSCOMMAND, 0x0010, 0);
    ASSERT_EQ(dialog.sysCommands.size(), 1u);
    EXPECT_EQ(dialog.sysCommands[0], 0x0010u);

    SendMessageA(window, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(-3, 7));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34));
    ASSERT_EQ(dialog.mouse.size(), 2u);
    EXPECT_EQ(dialog.mouse[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(dialog.mouse[0].flags, static_cast<UINT>(MK_SHIFT));
    EXPECT_EQ(dialog.mouse[0].point.x, -3) << "client coordinates are signed";
    EXPECT_EQ(dialog.mouse[0].point.y, 7);
    EXPECT_EQ(dialog.mouse[1].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(dialog.mouse[1].point.x, 12);
    EXPECT_EQ(dialog.mouse[1].point.y, 34);

    HMENU popup = CreatePopupMenu();
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(2, FALSE));
    ASSERT_EQ(dialog.menus.size(), 1u);
    EXPECT_EQ(dialog.menus[0].popup, popup);
    EXPECT_EQ(dialog.menus[0].index, 2u);
    EXPECT_FALSE(dialog.menus[0].systemMenu);
    DestroyMenu(popup);

    ASSERT_NE(SetTimer(window, 77, 20, nullptr), 0u);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !dialog.timers.empty(); }, 5000));
    KillTimer(window, 77);
    EXPECT_EQ(dialog.timers.at(0), 77u);

    dialog.paints = 0;
    SendMessageA(window, WM_PAINT, 0, 0);
    EXPECT_EQ(dialog.paints, 1);
}

TEST(DialogBaseTest, NotificationResultsAndDragIconComeBackToTheSender)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    NMHDR click = {dialog.GetDlgItem(IDC_TEST_LIST), IDC_TEST_LIST, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(SendMessageA(dialog.hwnd, WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&click)), 5);
    EXPECT_EQ(dialog.clicks, 1);
    NMHDR other = {dialog.GetDlgItem(IDC_TEST_LIST), IDC_TEST_LIST, static_cast<UINT>(NM_DBLCLK)};
    EXPECT_EQ(SendMessageA(dialog.hwnd, WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&other)), 0);

    dialog.dragIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
    ASSERT_NE(dialog.dragIcon, nullptr);
    EXPECT_EQ(SendMessageA(dialog.hwnd, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(dialog.dragIcon));
}

TEST(DialogBaseTest, WindowPosHandlerCanChangeTheRequestAndLetItGoOn)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.showAllowed = false;
    ShowWindow(dialog.hwnd, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd));
    RECT before;
    GetWindowRect(dialog.hwnd, &before);
    SetWindowPos(dialog.hwnd, nullptr, before.left + 10, before.top + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT after;
    GetWindowRect(dialog.hwnd, &after);
    EXPECT_EQ(after.left, before.left + 10) << "the rest of the request goes through";
    EXPECT_EQ(after.top, before.top + 5);

    dialog.showAllowed = true;
    ShowWindow(dialog.hwnd, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd));
}

TEST(DialogBaseTest, DefaultColoursAreTheApplicationsDialogColours)
{
    CWinApplication* app = CWinApplication::Current();
    ASSERT_NE(app, nullptr);
    app->SetDialogBkColor(RGB(227, 227, 227), RGB(10, 20, 30));
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));

    HDC dc = GetDC(dialog.hwnd);
    struct Case
    {
        UINT message;
        HWND control;
    };
    const Case cases[] = {{WM_CTLCOLORDLG, dialog.hwnd},
                          {WM_CTLCOLORSTATIC, dialog.GetDlgItem(IDC_TEST_TEXT)},
                          {WM_CTLCOLORSTATIC, dialog.GetDlgItem(IDC_TEST_CHECK)},
                          {WM_CTLCOLORBTN, dialog.GetDlgItem(IDOK)}};
    for (const Case& c : cases) {
        SetBkColor(dc, RGB(1, 2, 3));
        SetTextColor(dc, RGB(4, 5, 6));
        LRESULT brush = SendMessageA(dialog.hwnd, c.message, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(c.control));
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(app->DialogBrush())) << c.message;
        EXPECT_EQ(GetBkColor(dc), RGB(227, 227, 227)) << c.message;
        EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30)) << c.message;
    }
    LOGBRUSH brush = {};
    ASSERT_EQ(GetObjectA(app->DialogBrush(), sizeof(brush), &brush), static_cast<int>(sizeof(brush)));
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, RGB(227, 227, 227));
    LRESULT edit = SendMessageA(dialog.hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_NE(edit, reinterpret_cast<LRESULT>(app->DialogBrush())) << "edit colours stay the system's";
    ReleaseDC(dialog.hwnd, dc);
}

TEST(DialogBaseTest, DoModalReturnsTheResultOfTheCommandThatEndedIt)
{
    for (int id : {IDOK, IDCANCEL}) {
        ProbeDialog dialog;
        dialog.onInit = [id](ProbeDialog& d) { PostMessageA(d.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
        EXPECT_EQ(dialog.DoModal(), id);
        EXPECT_EQ(dialog.initCalls, 1);
        EXPECT_EQ(dialog.Result(), id);
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    }
}

TEST(DialogBaseTest, DoModalEndsFromAHandler)
{
    ProbeDialog dialog;
    dialog.endOnTimer = true;
    dialog.onInit = [](ProbeDialog& d) { SetTimer(d.hwnd, 1, 30, nullptr); };
    EXPECT_EQ(dialog.DoModal(), 3);
    EXPECT_EQ(dialog.timers.size(), 1u);
}

TEST(DialogBaseTest, DoModalOfAMissingTemplateFails)
{
    ProbeDialog dialog(4711);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.initCalls, 0);
}

TEST(DialogBaseTest, ModalOwnerIsTheParentElseTheMainWindow)
{
    CWinApplication* app = CWinApplication::Current();
    HWND parent = MakeOwner(false);
    HWND main = MakeOwner(false);
    auto endAtOnce = [](ProbeDialog& d) { PostMessageA(d.hwnd, WM_COMMAND, IDOK, 0); };

    ProbeDialog withParent(IDD_TEST_CENTRED, parent);
    withParent.onInit = endAtOnce;
    withParent.DoModal();
    EXPECT_EQ(withParent.ownerAtInit, parent);

    app->mainWindow = main;
    ProbeDialog withoutParent;
    withoutParent.onInit = endAtOnce;
    withoutParent.DoModal();
    EXPECT_EQ(withoutParent.ownerAtInit, main);

    app->mainWindow = nullptr;
    ProbeDialog unowned;
    unowned.onInit = endAtOnce;
    unowned.DoModal();
    EXPECT_EQ(unowned.ownerAtInit, nullptr);

    EXPECT_TRUE(IsWindowEnabled(parent)) << "the owner is enabled again after the modal run";
    DestroyWindow(parent);
    DestroyWindow(main);
}

TEST(DialogBaseTest, HiddenUnplacedTemplateIsCentredAfterInit)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    RECT rect;
    GetWindowRect(dialog.hwnd, &rect);
    POINT got = Centre(rect), want = Centre(WorkArea());
    EXPECT_LE(std::abs(got.x - want.x), 1);
    EXPECT_LE(std::abs(got.y - want.y), 1);
}

TEST(DialogBaseTest, PlacedTemplateOrMovedDialogIsNotCentred)
{
    ProbeDialog placed(IDD_TEST_PLACED);
    ASSERT_TRUE(placed.Create(nullptr));
    RECT rect;
    GetWindowRect(placed.hwnd, &rect);
    EXPECT_LT(rect.left, 100);
    EXPECT_LT(rect.top, 100);

    ProbeDialog moved;
    moved.onInit = [](ProbeDialog& d) { SetWindowPos(d.hwnd, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
    ASSERT_TRUE(moved.Create(nullptr));
    GetWindowRect(moved.hwnd, &rect);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 40);
}

TEST(DialogBaseTest, CenterWindowCentresOverAVisibleOwner)
{
    HWND owner = MakeOwner(true, 150, 120);
    ProbeDialog dialog(IDD_TEST_PLACED);
    ASSERT_TRUE(dialog.Create(owner));
    dialog.CenterWindow();
    RECT mine, theirs;
    GetWindowRect(dialog.hwnd, &mine);
    GetWindowRect(owner, &theirs);
    POINT got = Centre(mine), want = Centre(theirs);
    EXPECT_LE(std::abs(got.x - want.x), 1);
    EXPECT_LE(std::abs(got.y - want.y), 1);

    ShowWindow(owner, SW_HIDE);
    dialog.CenterWindow();
    GetWindowRect(dialog.hwnd, &mine);
    got = Centre(mine);
    want = Centre(WorkArea());
    EXPECT_LE(std::abs(got.x - want.x), 1) << "a hidden owner: centred on the screen";
    EXPECT_LE(std::abs(got.y - want.y), 1);
    DestroyWindow(owner);
}

TEST(DialogBaseTest, DestroyingTheObjectDestroysAModelessWindow)
{
    HWND window;
    {
        ProbeDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        window = dialog.hwnd;
    }
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
