// The control wrappers on the controls of the program's main window template:
// what the program's own windows do not show (their texts, rows and ticks are
// checked through the main window and the log viewer).
#include "res/resource.h"
#include "win/Controls.h"
#include "win/DialogBase.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

TEST(ControlsTest, AttachFontColumnWidthAndTheListViewsOwnTick)
{
    CDialogBase dialog(IDD_TARNWICK_DIALOG);
    ASSERT_TRUE(dialog.Create(nullptr));
    CControl text;
    ASSERT_TRUE(text.Attach(dialog.hwnd, IDC_STATUS_LINE));
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    text.SetFont(font);
    EXPECT_EQ(SendMessageA(text.hwnd, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));

    CListViewControl list;
    ASSERT_TRUE(list.Attach(dialog.hwnd, IDC_RESULT_LIST));
    EXPECT_EQ(list.InsertColumn(0, "SpyWare", LVCFMT_LEFT, 120, 0), 0);
    EXPECT_EQ(ListView_GetColumnWidth(list.hwnd, 0), 120);
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    EXPECT_EQ(list.InsertItem(0, "row"), 0);
    EXPECT_TRUE(list.SetCheck(0, TRUE) && list.GetCheck(0));
    EXPECT_EQ(ListView_GetCheckState(list.hwnd, 0), 1u) << "the list view's own tick";
}

} // namespace
