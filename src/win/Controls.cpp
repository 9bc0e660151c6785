#include "win/Controls.h"

#include <commctrl.h>
#include <vector>

BOOL CControl::Attach(HWND parent, int id)
{
    hwnd = parent != nullptr ? ::GetDlgItem(parent, id) : nullptr;
    return hwnd != nullptr;
}

void CControl::SetWindowText(const char* text)
{
    ::SetWindowTextA(hwnd, text != nullptr ? text : "");
}

std::string CControl::GetWindowText() const
{
    int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextA(hwnd, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void CControl::GetWindowRect(RECT* rect) const
{
    if (!::GetWindowRect(hwnd, rect))
        SetRectEmpty(rect);
}

BOOL CControl::ShowWindow(int command)
{
    return ::ShowWindow(hwnd, command);
}

BOOL CControl::EnableWindow(BOOL enable)
{
    return ::EnableWindow(hwnd, enable);
}

void CControl::SetFont(HFONT font, BOOL redraw)
{
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw ? TRUE : FALSE, 0));
}

int CButtonControl::GetCheck() const
{
    return static_cast<int>(SendMessageA(hwnd, BM_GETCHECK, 0, 0));
}

void CButtonControl::SetCheck(int state)
{
    SendMessageA(hwnd, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

DWORD CListViewControl::SetExtendedStyle(DWORD style)
{
    return static_cast<DWORD>(SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}

DWORD CListViewControl::GetExtendedStyle() const
{
    return static_cast<DWORD>(SendMessageA(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

int CListViewControl::InsertColumn(int column, const char* heading, int format, int width, int subItem)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_TEXT;
    col.fmt = format;
    col.pszText = const_cast<char*>(heading != nullptr ? heading : "");
    if (width != -1) {
        col.mask |= LVCF_WIDTH;
        col.cx = width;
    }
    if (subItem != -1) {
        col.mask |= LVCF_SUBITEM;
        col.iSubItem = subItem;
    }
    return static_cast<int>(
        SendMessageA(hwnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
}

int CListViewControl::InsertItem(int item, const char* text)
{
    LVITEMA row = {};
    row.mask = LVIF_TEXT;
    row.iItem = item;
    row.pszText = const_cast<char*>(text != nullptr ? text : "");
    return static_cast<int>(SendMessageA(hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
}

BOOL CListViewControl::SetItemText(int item, int subItem, const char* text)
{
    LVITEMA row = {};
    row.iSubItem = subItem;
    row.pszText = const_cast<char*>(text != nullptr ? text : "");
    return static_cast<BOOL>(
        SendMessageA(hwnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row)));
}

std::string CListViewControl::GetItemText(int item, int subItem) const
{
    // The control copies at most the buffer's size; grow until the text fits
    // (bounded: list texts here are addresses and titles).
    for (int size = 256; size <= 65536; size *= 4) {
        std::vector<char> buffer(static_cast<size_t>(size), '\0');
        LVITEMA row = {};
        row.iSubItem = subItem;
        row.pszText = buffer.data();
        row.cchTextMax = size;
        int length = static_cast<int>(
            SendMessageA(hwnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row)));
        if (length < size - 1 || size == 65536)
            return std::string(row.pszText != nullptr ? row.pszText : "");
    }
    return std::string();
}

int CListViewControl::GetItemCount() const
{
    return static_cast<int>(SendMessageA(hwnd, LVM_GETITEMCOUNT, 0, 0));
}

BOOL CListViewControl::DeleteAllItems()
{
    return static_cast<BOOL>(SendMessageA(hwnd, LVM_DELETEALLITEMS, 0, 0));
}

BOOL CListViewControl::GetCheck(int item) const
{
    UINT state = static_cast<UINT>(
        SendMessageA(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(item), static_cast<LPARAM>(LVIS_STATEIMAGEMASK)));
    return ((state >> 12) - 1) != 0;
}

BOOL CListViewControl::SetCheck(int item, BOOL check)
{
    LVITEMA row = {};
    row.stateMask = LVIS_STATEIMAGEMASK;
    row.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
    return static_cast<BOOL>(
        SendMessageA(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&row)));
}

int CListViewControl::GetNextSelected(int start) const
{
    return static_cast<int>(
        SendMessageA(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(LVNI_SELECTED, 0)));
}

BOOL CListViewControl::SetColumnWidth(int column, int width)
{
    return static_cast<BOOL>(SendMessageA(hwnd, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
}
