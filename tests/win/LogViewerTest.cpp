// The squash log viewer, created modelessly over the program-wide log: its
// rows and columns, Clear Log, clicks on the list, Exit and the hint font.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "log/SquashLog.h"
#include "log/SquashLogDlg.h"
#include "res/resource.h"
#include "win/ShellOpen.h"
#include "win/WinApp.h"
#include "AppFixture.h"
#include "TestSupport.h"

namespace {

class LogViewerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        app = std::make_unique<CWinApplication>();
        app->SetDialogBkColor(RGB(227, 227, 227), RGB(0, 0, 0));
        squashLog.Clear();
        opened.clear();
        SetShellOpenObserver([this](const std::string& address) { opened.push_back(address); });
    }

    void TearDown() override
    {
        viewer.reset();
        SetShellOpenObserver({});
        squashLog.Clear();
        app.reset();
    }

    CSquashLogDlg& Open()
    {
        viewer = std::make_unique<CSquashLogDlg>();
        EXPECT_TRUE(viewer->Create(nullptr));
        PumpWaitingMessages();
        return *viewer;
    }

    HWND List() const { return viewer->GetDlgItem(IDC_LOG_LIST); }

    int RowCount() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }

    std::string Cell(int row, int column) const
    {
        char text[512] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    std::vector<std::string> Row(int row) const
    {
        return {Cell(row, 0), Cell(row, 1), Cell(row, 2), Cell(row, 3)};
    }

    int ColumnWidth(int column) const
    {
        return static_cast<int>(SendMessageA(List(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    }

    void Select(int row, bool selected)
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = selected ? LVIS_SELECTED : 0;
        SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }

    // A click notification from the list, as the list sends it.
    LRESULT Click()
    {
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = List();
        click.hdr.idFrom = IDC_LOG_LIST;
        click.hdr.code = NM_CLICK;
        click.iItem = -1;
        SendMessageA(viewer->hwnd, WM_NOTIFY, IDC_LOG_LIST, reinterpret_cast<LPARAM>(&click));
        return GetWindowLongPtrA(viewer->hwnd, DWLP_MSGRESULT);
    }

    void PressClearLog()
    {
        SendMessageA(viewer->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(viewer->GetDlgItem(IDOK)));
    }

    std::unique_ptr<CWinApplication> app;
    std::unique_ptr<CSquashLogDlg> viewer;
    std::vector<std::string> opened;
};

TEST_F(LogViewerTest, WindowAndColumns)
{
    Open();
    char caption[64] = {};
    GetWindowTextA(viewer->hwnd, caption, sizeof caption);
    EXPECT_STREQ("What Did I Squash?", caption);
    EXPECT_NE(0, GetWindowLongPtrA(List(), GWL_STYLE) & LVS_REPORT);
    EXPECT_EQ(0, GetWindowLongPtrA(List(), GWL_STYLE) & LVS_SINGLESEL);

    const char* headers[] = {"Window Title", "URL", "Date Squashed", "Type"};
    const int widths[] = {100, 200, 200, 200};
    for (int column = 0; column < 4; ++column) {
        char text[64] = {};
        LVCOLUMNA info = {};
        info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(List(), LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
        EXPECT_STREQ(headers[column], text);
        EXPECT_EQ(LVCFMT_LEFT, info.fmt & LVCFMT_JUSTIFYMASK);
        // An empty log leaves every column at its first width.
        EXPECT_EQ(widths[column], info.cx) << column;
    }
    EXPECT_EQ(0, RowCount());
}

TEST_F(LogViewerTest, RowsOldestFirstWithShiftedFields)
{
    squashLog.Add("First", "http://a.example/", "1/2/2004 10:00:00 AM", "Pop-Up");
    squashLog.Add("Second", "http://b.example/", "1/3/2004 11:30:00 PM", "Spyware");
    // A line of "hist.twk" with an empty title: every field moves one left.
    const SquashLogEntry shifted = ParseSquashLogLine("$http://c.example/$1/4/2004$Pop-Up");
    squashLog.Add(shifted.title.c_str(), shifted.url.c_str(), shifted.date.c_str(), shifted.type.c_str());
    Open();

    ASSERT_EQ(3, RowCount());
    EXPECT_EQ((std::vector<std::string>{"First", "http://a.example/", "1/2/2004 10:00:00 AM", "Pop-Up"}), Row(0));
    EXPECT_EQ((std::vector<std::string>{"Second", "http://b.example/", "1/3/2004 11:30:00 PM", "Spyware"}), Row(1));
    EXPECT_EQ((std::vector<std::string>{"http://c.example/", "1/4/2004", "Pop-Up", ""}), Row(2));

    // The shifted row's address column holds a date: a click opens nothing.
    Select(2, true);
    Click();
    EXPECT_TRUE(opened.empty());
}

TEST_F(LogViewerTest, ClickOpensOnlyWebAddresses)
{
    // A page titled with a "$" shifts a program's path into the address
    // column when "hist.twk" is read back.
    const SquashLogEntry hostile =
        ParseSquashLogLine("Win a prize $\\\\server\\share\\run.exe$http://x.example/$1/4/2004$Pop-Up");
    squashLog.Add(hostile.title.c_str(), hostile.url.c_str(), hostile.date.c_str(), hostile.type.c_str());
    squashLog.Add("Local", "file:///C:/windows/system32/calc.exe", "d", "Pop-Up");
    squashLog.Add("Web", "HTTPS://b.example/page", "d", "Pop-Up");
    Open();
    ASSERT_EQ(3, RowCount());
    EXPECT_EQ("\\\\server\\share\\run.exe", Row(0)[1]);

    Select(0, true);
    Select(1, true);
    Select(2, true);
    EXPECT_EQ(0, Click());
    EXPECT_EQ((std::vector<std::string>{"HTTPS://b.example/page"}), opened);
}

TEST_F(LogViewerTest, DateColumnFitsItsContents)
{
    squashLog.Add("t", "u", "d", "x");
    Open();
    const int narrow = ColumnWidth(2);
    EXPECT_LT(narrow, 200);
    viewer.reset();

    squashLog.Add("t", "u", std::string(120, 'W').c_str(), "x");
    Open();
    EXPECT_GT(ColumnWidth(2), 200);
    // Only the date column follows its contents.
    EXPECT_EQ(100, ColumnWidth(0));
    EXPECT_EQ(200, ColumnWidth(1));
    EXPECT_EQ(200, ColumnWidth(3));
}

TEST_F(LogViewerTest, ClearLogAsksAndKeepsEverythingOnNo)
{
    squashLog.Add("A", "http://a/", "d1", "Pop-Up");
    squashLog.Add("B", "http://b/", "d2", "Pop-Up");
    Open();
    MessageBoxWatcher boxes(IDNO);
    PressClearLog();

    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Are you sure you want to delete the log?", boxes.Boxes()[0].text);
    EXPECT_EQ(app->AppName(), boxes.Boxes()[0].caption);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes.Boxes()[0].buttons);
    EXPECT_EQ(2, squashLog.GetCount());
    EXPECT_EQ(2, RowCount());
    EXPECT_TRUE(IsWindow(viewer->hwnd));
}

TEST_F(LogViewerTest, ClearLogOnYesEmptiesLogAndListAndStaysOpen)
{
    squashLog.Add("A", "http://a/", "d1", "Pop-Up");
    squashLog.Add("B", "http://b/", "d2", "Spyware");
    Open();
    {
        MessageBoxWatcher boxes(IDYES);
        PressClearLog();
        ASSERT_EQ(1u, boxes.Boxes().size());
    }
    EXPECT_EQ(0, squashLog.GetCount());
    EXPECT_EQ(0, RowCount());
    EXPECT_TRUE(IsWindow(viewer->hwnd));
    EXPECT_TRUE(IsWindowEnabled(viewer->hwnd));

    // Opened again, the viewer shows the emptied log.
    viewer.reset();
    Open();
    EXPECT_EQ(0, RowCount());

    // On an empty log the question is still asked.
    MessageBoxWatcher boxes(IDYES);
    PressClearLog();
    EXPECT_EQ(1u, boxes.Boxes().size());
    EXPECT_TRUE(IsWindow(viewer->hwnd));
}

TEST_F(LogViewerTest, ClickOpensEverySelectedRowInOrder)
{
    squashLog.Add("A", "http://a.example/", "d", "Pop-Up");
    squashLog.Add("B", "http://b.example/x$y", "d", "Pop-Up");
    squashLog.Add("C", "http://c.example/", "d", "Pop-Up");
    squashLog.Add("D", "http://d.example/", "d", "Pop-Up");
    Open();

    // No row selected: nothing opens.
    EXPECT_EQ(0, Click());
    EXPECT_TRUE(opened.empty());

    Select(1, true);
    EXPECT_EQ(0, Click());
    EXPECT_EQ((std::vector<std::string>{"http://b.example/x$y"}), opened);

    // Selected in reverse order, opened in row order.
    opened.clear();
    Select(1, false);
    Select(3, true);
    Select(2, true);
    Select(0, true);
    EXPECT_EQ(0, Click());
    EXPECT_EQ((std::vector<std::string>{"http://a.example/", "http://c.example/", "http://d.example/"}), opened);

    // A notification other than a click opens nothing.
    opened.clear();
    NMHDR other = {List(), IDC_LOG_LIST, static_cast<UINT>(NM_RCLICK)};
    SendMessageA(viewer->hwnd, WM_NOTIFY, IDC_LOG_LIST, reinterpret_cast<LPARAM>(&other));
    EXPECT_TRUE(opened.empty());
}

TEST_F(LogViewerTest, ExitEndsTheViewerAndKeepsTheLog)
{
    squashLog.Add("A", "http://a/", "d", "Pop-Up");
    Open();
    const HWND window = viewer->hwnd;
    MessageBoxWatcher boxes(IDYES);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(viewer->GetDlgItem(IDCANCEL)));
    PumpWaitingMessages();
    EXPECT_EQ(IDCANCEL, viewer->Result());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(1, squashLog.GetCount());
}

TEST_F(LogViewerTest, HintUsesALargerTahomaFont)
{
    EXPECT_EQ(-17, CSquashLogDlg::HintFontHeight(-11, 96));
    EXPECT_EQ(-19, CSquashLogDlg::HintFontHeight(-12, 96));
    EXPECT_EQ(-20, CSquashLogDlg::HintFontHeight(-13, 96));
    EXPECT_EQ(-20, CSquashLogDlg::HintFontHeight(-11, 120));

    Open();
    ASSERT_NE(nullptr, viewer->HintFont());
    LOGFONTA hint = {};
    ASSERT_NE(0, GetObjectA(viewer->HintFont(), sizeof hint, &hint));
    LOGFONTA dialog = {};
    ASSERT_NE(0, GetObjectA(reinterpret_cast<HFONT>(SendMessageA(viewer->hwnd, WM_GETFONT, 0, 0)), sizeof dialog, &dialog));
    EXPECT_STREQ("Tahoma", hint.lfFaceName);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(CSquashLogDlg::HintFontHeight(dialog.lfHeight, dpi), hint.lfHeight);
    EXPECT_LT(hint.lfHeight, dialog.lfHeight);

    // The colour message for the hint selects the font into its drawing context.
    HWND text = viewer->GetDlgItem(IDC_LOG_HINT);
    HDC dc = GetDC(text);
    HGDIOBJ before = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SendMessageA(viewer->hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(viewer->HintFont(), GetCurrentObject(dc, OBJ_FONT));
    SelectObject(dc, before);
    ReleaseDC(text, dc);
}

class LogViewerFromMainWindowTest : public AppTest
{
protected:
    // Runs the main window command and returns the row count of the viewer
    // it showed (-1 when none showed), closing the viewer with Exit.
    int ViewerRowsAfter(const std::function<void()>& command)
    {
        int rows = -1;
        ThreadTimer probe(50, [&rows] {
            HWND viewer = FindWindowA(nullptr, "What Did I Squash?");
            if (viewer == nullptr || !IsWindowVisible(viewer))
                return;
            rows = static_cast<int>(SendMessageA(GetDlgItem(viewer, IDC_LOG_LIST), LVM_GETITEMCOUNT, 0, 0));
            PostMessageA(viewer, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        command();
        return rows;
    }
};

TEST_F(LogViewerFromMainWindowTest, ShowLogButtonAndTrayCommandOpenTheViewer)
{
    MessageBoxWatcher boxes(IDOK);
    Start();
    squashLog.Clear();
    squashLog.Add("A", "http://a/", "d", "Pop-Up");
    EXPECT_EQ(1, ViewerRowsAfter([this] { Click(IDC_SHOW_LOG); }));
    // Each opening reads the log afresh.
    squashLog.Add("B", "http://b/", "d", "Pop-Up");
    EXPECT_EQ(2, ViewerRowsAfter([this] { Command(ID_TRAY_SQUASH_LOG); }));
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "What Did I Squash?"));
}

} // namespace
