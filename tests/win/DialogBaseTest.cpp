// CDialogBase on the program's own dialog templates: modal and modeless runs
// and their results, the routing of messages to the handlers, the dialog
// colours and the placement.
#include "TestSupport.h"
#include "res/resource.h"
#include "win/DialogBase.h"
#include "win/WinApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <commctrl.h>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Call = std::vector<long long>;

// The template of WinLayerTest.rc.
const UINT kPlacedTemplate = 9001;

// A dialog that keeps the last call of its handlers (the message, then the
// handler's arguments); the bool handlers answer `handled`, and a timer ends
// the dialog with its id.
class Probe : public CDialogBase
{
public:
    explicit Probe(UINT id = IDD_ABOUTBOX, HWND parent = nullptr) : CDialogBase(id, parent) {}

    Call noted;
    bool handled = true;
    HWND owner = nullptr;
    std::function<void(Probe&)> onInit;

protected:
    bool Note(Call call)
    {
        noted = std::move(call);
        return handled;
    }
    BOOL OnInitDialog() override
    {
        owner = GetWindow(hwnd, GW_OWNER);
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    bool OnCommand(int id, int code, HWND control) override { return Note({WM_COMMAND, id, code, control != nullptr}); }
    bool OnTimer(UINT_PTR id) override
    {
        EndDialog(static_cast<INT_PTR>(id));
        return Note({WM_TIMER, static_cast<long long>(id)});
    }
    bool OnClose() override { return Note({WM_CLOSE}); }
    bool OnMouseMove(UINT flags, POINT p) override { return Note({WM_MOUSEMOVE, flags, p.x, p.y}); }
    bool OnInitMenuPopup(HMENU, UINT index, BOOL system) override { return Note({WM_INITMENUPOPUP, index, system}); }
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override
    {
        result = header->code == NM_CLICK ? 5 : result;
        return Note({WM_NOTIFY, id, header->code});
    }
};

HWND MakeWindow(int x, int y, bool visible)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, 500, 400, nullptr, nullptr,
                           nullptr, nullptr);
}

// Each case on a new modeless dialog: the call its handlers got, the
// message's result, and the result the dialog ended with (0: still open).
TEST(DialogBaseTest, MessagesReachTheirHandlersAndEndTheDialog)
{
    NMHDR click = {nullptr, IDC_LOG_LIST, static_cast<UINT>(NM_CLICK)};
    NMHDR dblClick = {nullptr, IDC_LOG_LIST, static_cast<UINT>(NM_DBLCLK)};
    const LPARAM fromButton = -1;
    struct Case { UINT message; WPARAM w; LPARAM l; bool handled; Call noted; LRESULT got; INT_PTR ended; };
    for (const Case& c : {
             Case{WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), fromButton, true, {}, 0, IDOK},
             Case{WM_COMMAND, MAKEWPARAM(IDOK, 1), 0, true, {}, 0, IDOK}, // an accelerator
             Case{WM_COMMAND, IDCANCEL, 0, true, {}, 0, IDCANCEL},
             // Other notifications of the OK button are no OK command.
             Case{WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS), fromButton, true, {WM_COMMAND, 1, BN_SETFOCUS, 1}, 0, 0},
             Case{WM_COMMAND, ID_TRAY_EXIT, 0, true, {WM_COMMAND, ID_TRAY_EXIT, 0, 0}, 0, 0},
             Case{WM_CLOSE, 0, 0, true, {WM_CLOSE}, 0, 0},
             Case{WM_CLOSE, 0, 0, false, {WM_CLOSE}, 0, IDCANCEL},
             // The base class leaves the system menu's Close to the default.
             Case{WM_SYSCOMMAND, SC_CLOSE, 0, false, {WM_CLOSE}, 0, IDCANCEL},
             Case{WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(-3, 7), true, {WM_MOUSEMOVE, MK_SHIFT, -3, 7}, 0, 0},
             Case{WM_INITMENUPOPUP, 0, MAKELPARAM(2, TRUE), true, {WM_INITMENUPOPUP, 2, TRUE}, 0, 0},
             Case{WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click), true, {WM_NOTIFY, IDC_LOG_LIST, NM_CLICK}, 5, 0},
             Case{WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&dblClick), true, {WM_NOTIFY, IDC_LOG_LIST, NM_DBLCLK}, 0, 0},
             Case{WM_TIMER, 77, 0, true, {WM_TIMER, 77}, 0, 77},
         }) {
        HWND window;
        {
            Probe dialog;
            dialog.handled = c.handled;
            ASSERT_TRUE(dialog.Create(nullptr));
            window = dialog.hwnd;
            LPARAM button = reinterpret_cast<LPARAM>(dialog.GetDlgItem(LOWORD(c.w)));
            EXPECT_EQ(SendMessageA(window, c.message, c.w, c.l == fromButton ? button : c.l), c.got) << c.message;
            PumpWaitingMessages();
            EXPECT_EQ(dialog.noted, c.noted) << c.message;
            EXPECT_EQ(dialog.Result(), c.ended) << c.message;
            EXPECT_EQ(dialog.GetSafeHwnd() != nullptr, c.ended == 0) << c.message;
        }
        EXPECT_FALSE(IsWindow(window)) << "the object takes its modeless window with it";
    }
}

// The owner is the parent, else the application's main window while it
// exists; without an application, the executable's templates.
TEST(DialogBaseTest, DoModalReturnsTheResultItEndedWith)
{
    ASSERT_EQ(CWinApplication::Current(), nullptr);
    HWND parent = MakeWindow(0, 0, false), main = MakeWindow(0, 0, false), gone = MakeWindow(0, 0, false);
    DestroyWindow(gone);
    std::unique_ptr<CWinApplication> app;
    struct Case { bool withApp; HWND parent, mainWindow; UINT message; WPARAM wParam; HWND owner; };
    for (const Case& c : {Case{false, nullptr, nullptr, WM_COMMAND, IDOK, nullptr},
                          Case{true, parent, main, WM_COMMAND, IDCANCEL, parent},
                          Case{true, nullptr, main, WM_TIMER, 3, main},
                          Case{true, nullptr, gone, WM_COMMAND, IDOK, nullptr}}) {
        if (c.withApp && !app)
            app = std::make_unique<CWinApplication>();
        if (app)
            app->mainWindow = c.mainWindow;
        Probe dialog(IDD_ABOUTBOX, c.parent);
        dialog.onInit = [&c](Probe& d) { PostMessageA(d.hwnd, c.message, c.wParam, 0); };
        // A dialog that does not end fails the case instead of hanging the run.
        ThreadTimer guard(5000, [] { PostQuitMessage(0); });
        EXPECT_EQ(dialog.DoModal(), static_cast<INT_PTR>(c.wParam));
        EXPECT_EQ(dialog.Result(), static_cast<INT_PTR>(c.wParam));
        EXPECT_EQ(dialog.owner, c.owner);
    }
    EXPECT_EQ(Probe(4711).DoModal(), -1) << "no such template";
    DestroyWindow(parent);
    DestroyWindow(main);
}

// The system's colours without an application; with one, its colours for
// dialogs, statics, buttons and message boxes. The base class leaves
// painting to the default.
TEST(DialogBaseTest, DialogColoursAreTheApplications)
{
    Probe dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_FALSE(dialog.Create(nullptr)) << "a second window for the same object";
    ShowWindow(dialog.hwnd, SW_SHOW);
    UpdateWindow(dialog.hwnd);
    EXPECT_FALSE(GetUpdateRect(dialog.hwnd, nullptr, FALSE)) << "painted";
    HDC dc = GetDC(dialog.hwnd);
    auto brush = [&](UINT message) { return SendMessageA(dialog.hwnd, message, reinterpret_cast<WPARAM>(dc), 0); };
    EXPECT_EQ(brush(WM_CTLCOLORDLG), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    CWinApplication app;
    app.SetDialogBkColor(RGB(227, 227, 227), RGB(10, 20, 30));
    LOGBRUSH solid = {};
    GetObjectA(app.DialogBrush(), sizeof(solid), &solid);
    EXPECT_EQ(solid.lbColor, RGB(227, 227, 227));
    for (UINT message = WM_CTLCOLORMSGBOX; message <= WM_CTLCOLORSTATIC; ++message) {
        bool ours = message == WM_CTLCOLORMSGBOX || message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC ||
                    message == WM_CTLCOLORBTN;
        SetBkColor(dc, 0);
        SetTextColor(dc, 0);
        EXPECT_EQ(brush(message) == reinterpret_cast<LRESULT>(app.DialogBrush()), ours) << message;
        EXPECT_EQ(GetBkColor(dc) == RGB(227, 227, 227) && GetTextColor(dc) == RGB(10, 20, 30), ours) << message;
    }
    ReleaseDC(dialog.hwnd, dc);
}

// A hidden template at 0, 0 is centred once initialised: on its visible
// owner, else on the work area, and kept inside the work area. One placed by
// its template or shown by its initialisation is left where it is, until
// asked.
TEST(DialogBaseTest, HiddenTemplatesAtTheOriginAreCentred)
{
    RECT area, got, owner;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    auto show = [](Probe& d) { ShowWindow(d.hwnd, SW_SHOW); };
    struct Case { UINT templateId; int x, y; bool visible; std::function<void(Probe&)> init; bool centred; };
    for (const Case& c : {Case{IDD_ABOUTBOX, 150, 120, true, nullptr, true},
                          Case{IDD_ABOUTBOX, 150, 120, false, nullptr, true},
                          Case{IDD_ABOUTBOX, 700, 500, true, nullptr, true},
                          Case{IDD_ABOUTBOX, 150, 120, true, show, false},
                          Case{kPlacedTemplate, 150, 120, true, nullptr, false},
                          Case{IDD_TARNWICK_DIALOG, 150, 120, true, nullptr, false}}) {
        HWND ownerWindow = MakeWindow(c.x, c.y, c.visible);
        Probe dialog(c.templateId);
        dialog.onInit = c.init;
        ASSERT_TRUE(dialog.Create(ownerWindow));
        GetWindowRect(ownerWindow, &owner);
        const RECT& around = c.visible ? owner : area;
        for (bool asked : {false, true}) {
            if (asked)
                dialog.CenterWindow();
            GetWindowRect(dialog.hwnd, &got);
            LONG width = got.right - got.left, height = got.bottom - got.top;
            LONG x = std::clamp((around.left + around.right - width) / 2, area.left, area.right - width);
            LONG y = std::clamp((around.top + around.bottom - height) / 2, area.top, area.bottom - height);
            EXPECT_EQ(std::abs(got.left - x) <= 1 && std::abs(got.top - y) <= 1, c.centred || asked)
                << c.templateId << " at " << c.x << "," << c.y << (asked ? ", asked" : "");
        }
        DestroyWindow(ownerWindow);
    }
}

} // namespace
