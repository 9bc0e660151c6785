// The control wrappers on the controls of the program's main window template.
#include "res/resource.h"
#include "win/Controls.h"
#include "win/DialogBase.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <string>

namespace {

TEST(ControlsTest, TextCheckBoxAndListWrappers)
{
    CDialogBase dialog(IDD_TARNWICK_DIALOG);
    ASSERT_TRUE(dialog.Create(nullptr));
    CControl text;
    ASSERT_TRUE(text.Attach(dialog.hwnd, IDC_STATUS_LINE));
    text.SetWindowText(nullptr);
    EXPECT_EQ(text.GetWindowText(), "");
    text.SetWindowText("Protecting you against 25 spyware programs");
    EXPECT_EQ(text.GetWindowText(), "Protecting you against 25 spyware programs");
    HFONT font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    text.SetFont(font);
    EXPECT_EQ(SendMessageA(text.hwnd, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    CButtonControl check;
    ASSERT_TRUE(check.Attach(dialog.hwnd, IDC_POPUP_CHECK));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);

    CListViewControl list;
    ASSERT_TRUE(list.Attach(dialog.hwnd, IDC_RESULT_LIST));
    EXPECT_EQ(list.InsertColumn(0, "SpyWare", LVCFMT_LEFT, 120, 0), 0);
    EXPECT_EQ(list.InsertColumn(1, "SpyWare ID"), 1);
    EXPECT_TRUE(list.SetColumnWidth(1, 200));
    EXPECT_EQ(ListView_GetColumnWidth(list.hwnd, 0) + ListView_GetColumnWidth(list.hwnd, 1), 320);
    // Texts longer than the first buffer come back whole.
    const std::string address = "http://example.invalid/" + std::string(1500, 'x');
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list.InsertItem(row, std::to_string(row).c_str()), row);
        EXPECT_TRUE(list.SetItemText(row, 1, (address + std::to_string(row)).c_str()));
    }
    EXPECT_EQ(list.InsertItem(1, "new"), 1) << "rows below move down";
    EXPECT_EQ(list.GetItemCount(), 4);
    // Row 1's first column, row 3's second, and nothing of a row 9.
    EXPECT_EQ(list.GetItemText(1, 0) + list.GetItemText(3, 1) + list.GetItemText(9, 0), "new" + address + "2");
    EXPECT_TRUE(list.GetCheck(1)) << "a row without a check box counts as ticked";
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    for (int row : {2, 3})
        EXPECT_TRUE(list.SetCheck(row, TRUE));
    EXPECT_TRUE(list.SetCheck(3, FALSE));
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(list.GetCheck(row), row == 2) << row;
    EXPECT_EQ(ListView_GetCheckState(list.hwnd, 2), 1u) << "the list view's own tick";
    ListView_SetItemState(list.hwnd, 2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextSelected(), 2);
    EXPECT_EQ(list.GetNextSelected(2), -1);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

} // namespace
