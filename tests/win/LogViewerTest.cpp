// The squash log viewer over the program-wide log: its rows, clicks on its
// rows, and Clear Log.
#include "AppFixture.h"
#include "log/SquashLogDlg.h"

namespace {

class LogViewerTest : public AppTest
{
protected:
    // A notification from one of the viewer's controls; the viewer's answer.
    LRESULT Notify(int id, int code)
    {
        NMHDR header = {viewer->GetDlgItem(id), static_cast<UINT_PTR>(id), static_cast<UINT>(code)};
        SendMessageA(viewer->hwnd, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
        return GetWindowLongPtrA(viewer->hwnd, DWLP_MSGRESULT);
    }

    std::unique_ptr<CSquashLogDlg> viewer;
    CListViewControl list;
};

} // namespace

TEST_F(LogViewerTest, ShowsTheLogOpensOnlyWebAddressesOfTheSelectedRowsAndClearsOnlyOnYes)
{
    // A "$" in a page title shifts a path or a date into the address column.
    for (const char* line : {"Win a prize $\\\\server\\share\\run.exe$http://x.example/$1/4/2004$Popup",
                             "$http://c.example/$1/4/2004$Popup"}) {
        const SquashLogEntry e = ParseSquashLogLine(line);
        squashLog.Add(e.title.c_str(), e.url.c_str(), e.date.c_str(), e.type.c_str());
    }
    squashLog.Add("Local", "file:///C:/windows/system32/calc.exe", std::string(120, 'W').c_str(), "Popup");
    squashLog.Add("A", "http://a.example/x$y", "d", "Popup");
    squashLog.Add("B", "HTTPS://b.example/page", "d", "Spyware");
    viewer = std::make_unique<CSquashLogDlg>();
    ASSERT_TRUE(viewer->Create(nullptr));
    list.Attach(viewer->hwnd, IDC_LOG_LIST);
    // The hint control itself holds the larger font: a static control draws with
    // its own font, whatever a colour message leaves in its device context.
    EXPECT_EQ(SendDlgItemMessageA(viewer->hwnd, IDC_LOG_HINT, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(viewer->HintFont()));
    ASSERT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(list.GetItemText(1, 0) + list.GetItemText(1, 1) + list.GetItemText(1, 2), "http://c.example/1/4/2004Popup");
    EXPECT_EQ(list.GetItemText(4, 0) + list.GetItemText(4, 3), "BSpyware");
    EXPECT_GT(ListView_GetColumnWidth(list.hwnd, 2), 200); // the date column follows its longest text

    EXPECT_EQ(Notify(IDC_LOG_LIST, NM_CLICK), 0);
    for (int row : {4, 0, 3, 1, 2})
        ListView_SetItemState(list.hwnd, row, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(Notify(IDC_LOG_LIST, NM_CLICK), 0);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://a.example/x$y", "HTTPS://b.example/page"}));
    // Other notifications, and clicks elsewhere, open nothing.
    Notify(IDC_LOG_LIST, NM_RCLICK);
    Notify(IDC_LOG_HINT, NM_CLICK);
    EXPECT_EQ(opened.size(), 2u);

    // "Clear Log" asks, and empties the log and the list only on Yes.
    for (int answer : {IDNO, IDYES}) {
        MessageBoxWatcher boxes(answer);
        SendMessageA(viewer->hwnd, WM_COMMAND, IDOK, 0);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, "Are you sure you want to delete the log?");
        EXPECT_EQ(boxes.Boxes()[0].buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(boxes.Boxes()[0].owner, viewer->hwnd) << "modal to the viewer";
        EXPECT_EQ(squashLog.GetCount(), answer == IDYES ? 0 : 5);
        EXPECT_TRUE(list.GetItemCount() == squashLog.GetCount() && IsWindow(viewer->hwnd));
    }
}
