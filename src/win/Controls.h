#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

// A child control of a dialog, bound by its id. The object does not own the
// window: the dialog destroys its controls.
class CControl
{
public:
    // Binds to the child of parent with id; TRUE when it exists.
    BOOL Attach(HWND parent, int id);
    // The control's window, null when not bound.
    HWND GetSafeHwnd() const { return hwnd; }
    // Sets the control's text.
    void SetWindowText(const char* text);
    // The control's text.
    std::string GetWindowText() const;
    // The control's window rectangle in screen coordinates.
    void GetWindowRect(RECT* rect) const;
    // ShowWindow with the given show command; TRUE if it was visible before.
    BOOL ShowWindow(int command);
    // Enables or disables the control; TRUE if it was disabled before.
    BOOL EnableWindow(BOOL enable);
    // Sets the control's font (WM_SETFONT), redrawing it when asked.
    void SetFont(HFONT font, BOOL redraw = TRUE);

    // The control's window.
    HWND hwnd = nullptr;
};

// A button, check box or radio button.
class CButtonControl : public CControl
{
public:
    // BST_UNCHECKED (0), BST_CHECKED (1) or BST_INDETERMINATE (2).
    int GetCheck() const;
    // Sets the check state (0 clear, 1 ticked, 2 indeterminate).
    void SetCheck(int state);
};

// A list view in report view (ANSI texts).
class CListViewControl : public CControl
{
public:
    // Sets the extended list view style; returns the previous one.
    DWORD SetExtendedStyle(DWORD style);
    // The extended list view style.
    DWORD GetExtendedStyle() const;
    // Inserts a column (width in pixels, format LVCFMT_*, subItem the subitem
    // it shows or -1 for none); returns its index or -1.
    int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    // Inserts a row with the text of its first column; returns its index or -1.
    int InsertItem(int item, const char* text);
    // Sets the text of subItem (0 = the first column) of row item.
    BOOL SetItemText(int item, int subItem, const char* text);
    // The text of subItem of row item (empty when there is none).
    std::string GetItemText(int item, int subItem) const;
    // The number of rows.
    int GetItemCount() const;
    // Removes every row.
    BOOL DeleteAllItems();
    // Whether the check box of row item is ticked (LVS_EX_CHECKBOXES state
    // image 2; a row without a state image also counts as ticked).
    BOOL GetCheck(int item) const;
    // Ticks or clears the check box of row item.
    BOOL SetCheck(int item, BOOL check);
    // The next selected row after start (-1: from the first row), or -1.
    int GetNextSelected(int start = -1) const;
    // Sets a column's width in pixels (or LVSCW_AUTOSIZE...).
    BOOL SetColumnWidth(int column, int width);
};
