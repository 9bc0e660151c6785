// The control wrappers on the controls of a real dialog.
#include "WinLayerTestRes.h"
#include "win/Controls.h"
#include "win/DialogBase.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <string>

namespace {

class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(dialog.Create(nullptr));
        ASSERT_TRUE(list.Attach(dialog.hwnd, IDC_TEST_LIST));
    }

    // A list of three columns and the given number of rows ("r<i>c<j>").
    void Fill(int rows)
    {
        ASSERT_EQ(list.InsertColumn(0, "Name", LVCFMT_LEFT, 120, 0), 0);
        ASSERT_EQ(list.InsertColumn(1, "Id", LVCFMT_LEFT, 80, 1), 1);
        ASSERT_EQ(list.InsertColumn(2, "Date"), 2);
        for (int i = 0; i < rows; ++i) {
            std::string row = "r" + std::to_string(i);
            ASSERT_EQ(list.InsertItem(i, (row + "c0").c_str()), i);
            ASSERT_TRUE(list.SetItemText(i, 1, (row + "c1").c_str()));
            ASSERT_TRUE(list.SetItemText(i, 2, (row + "c2").c_str()));
        }
    }

    void Select(int item)
    {
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageA(list.hwnd, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    }

    CDialogBase dialog{IDD_TEST_CENTRED};
    CListViewControl list;
};

TEST_F(ControlsTest, BoundByIdWithTextAndFont)
{
    CControl missing;
    EXPECT_FALSE(missing.Attach(dialog.hwnd, 4242));
    CControl text;
    ASSERT_TRUE(text.Attach(dialog.hwnd, IDC_TEST_TEXT));
    EXPECT_EQ(text.GetSafeHwnd(), GetDlgItem(dialog.hwnd, IDC_TEST_TEXT));
    EXPECT_EQ(text.GetWindowText(), "Hello");
    text.SetWindowText("Protecting you against 25 spyware programs");
    EXPECT_EQ(text.GetWindowText(), "Protecting you against 25 spyware programs");
    text.SetWindowText("");
    EXPECT_EQ(text.GetWindowText(), "");

    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    ASSERT_NE(font, nullptr);
    text.SetFont(font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(text.hwnd, WM_GETFONT, 0, 0)), font);
    text.SetFont(nullptr);
    DeleteObject(font);
}

TEST_F(ControlsTest, CheckBoxState)
{
    CButtonControl check;
    ASSERT_TRUE(check.Attach(dialog.hwnd, IDC_TEST_CHECK));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    check.SetCheck(1);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(SendMessageA(check.hwnd, BM_GETCHECK, 0, 0), BST_CHECKED);
    check.SetCheck(0);
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
}

TEST_F(ControlsTest, ListColumnsRowsAndTexts)
{
    Fill(3);
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "r0c0");
    EXPECT_EQ(list.GetItemText(2, 1), "r2c1");
    EXPECT_EQ(list.GetItemText(1, 2), "r1c2");
    EXPECT_EQ(list.GetItemText(7, 0), "") << "no such row";

    // A row inserted at 0 moves the others down.
    EXPECT_EQ(list.InsertItem(0, "first"), 0);
    EXPECT_EQ(list.GetItemText(0, 0), "first");
    EXPECT_EQ(list.GetItemText(1, 0), "r0c0");

    // Texts longer than the first buffer come back whole.
    std::string url = "http://example.invalid/" + std::string(1500, 'x');
    ASSERT_TRUE(list.SetItemText(1, 1, url.c_str()));
    EXPECT_EQ(list.GetItemText(1, 1), url);

    EXPECT_EQ(SendMessageA(list.hwnd, LVM_GETCOLUMNWIDTH, 0, 0), 120);
    EXPECT_TRUE(list.SetColumnWidth(1, 200));
    EXPECT_EQ(SendMessageA(list.hwnd, LVM_GETCOLUMNWIDTH, 1, 0), 200);

    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ControlsTest, ListCheckBoxes)
{
    DWORD before = list.GetExtendedStyle();
    EXPECT_EQ(before & LVS_EX_CHECKBOXES, 0u);
    list.SetExtendedStyle(before | LVS_EX_CHECKBOXES);
    EXPECT_NE(list.GetExtendedStyle() & LVS_EX_CHECKBOXES, 0u);
    Fill(3);

    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(list.GetCheck(i)) << i;
    EXPECT_TRUE(list.SetCheck(1, TRUE));
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(2));
    UINT state = static_cast<UINT>(SendMessageA(list.hwnd, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK));
    EXPECT_EQ(state, static_cast<UINT>(INDEXTOSTATEIMAGEMASK(2)));
    EXPECT_TRUE(list.SetCheck(1, FALSE));
    EXPECT_FALSE(list.GetCheck(1));
}

TEST_F(ControlsTest, SelectedRowsInIndexOrder)
{
    Fill(5);
    EXPECT_EQ(list.GetNextSelected(), -1);
    Select(3);
    Select(1);
    int first = list.GetNextSelected();
    EXPECT_EQ(first, 1);
    int second = list.GetNextSelected(first);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(list.GetNextSelected(second), -1);
}

} // namespace
