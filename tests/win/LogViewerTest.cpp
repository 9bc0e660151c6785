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

    // Rows of the control's client area that hold ink: drawn by the control
    // itself (font null), or its text drawn in font.
    static int InkRows(HWND control, HFONT font)
    {
        RECT r;
        GetClientRect(control, &r);
        HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        char text[128] = {};
        GetWindowTextA(control, text, sizeof text);
        if (font != nullptr && SelectObject(dc, font) != nullptr)
            DrawTextA(dc, text, -1, &r, DT_CENTER);
        else
            SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        const COLORREF paper = GetPixel(dc, 0, 0);
        int rows = 0;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x)
                if (GetPixel(dc, x, y) != paper) {
                    ++rows;
                    break;
                }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return rows;
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
    // The hint draws in its larger font: taller ink than its text in the dialog's font.
    HWND hint = viewer->GetDlgItem(IDC_LOG_HINT);
    const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(viewer->hwnd, WM_GETFONT, 0, 0));
    EXPECT_GT(InkRows(hint, nullptr) * 4, InkRows(hint, dialogFont) * 5);
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
