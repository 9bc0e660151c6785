#include "ProgramWindow.h"

#include <commctrl.h>
#include <cstring>

namespace {

const DWORD kAnswerWaitMs = 10000;
const int kTextLimit = 512;

// Memory inside another process, released with the object.
class RemoteBuffer
{
public:
    RemoteBuffer(HWND window, SIZE_T size, std::string& error)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                              FALSE, pid);
        if (process == nullptr) {
            error = "cannot open the program's process";
            return;
        }
        BOOL ourWow = FALSE;
        BOOL theirWow = FALSE;
        IsWow64Process(GetCurrentProcess(), &ourWow);
        IsWow64Process(process, &theirWow);
        if (ourWow != theirWow) {
            error = "the driver and the program are built for different machines";
            return;
        }
        base = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (base == nullptr)
            error = "cannot allocate memory in the program";
    }
    ~RemoteBuffer()
    {
        if (base != nullptr)
            VirtualFreeEx(process, base, 0, MEM_RELEASE);
        if (process != nullptr)
            CloseHandle(process);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ready() const { return base != nullptr; }
    char* At(SIZE_T offset) const { return static_cast<char*>(base) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const
    {
        SIZE_T done = 0;
        return WriteProcessMemory(process, At(offset), data, size, &done) && done == size;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const
    {
        SIZE_T done = 0;
        return ReadProcessMemory(process, At(offset), data, size, &done) && done == size;
    }

private:
    HANDLE process = nullptr;
    void* base = nullptr;
};

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerWaitMs, &answer) == 0)
        return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

// The row's text in one column, through the buffer inside the program.
bool ReadCell(HWND list, const RemoteBuffer& buffer, int row, int column, std::string& text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.cchTextMax = kTextLimit;
    item.pszText = buffer.At(sizeof(LVITEMA));
    char empty[kTextLimit] = {};
    LRESULT length = 0;
    if (!buffer.Write(0, &item, sizeof(item)) || !buffer.Write(sizeof(LVITEMA), empty, sizeof(empty)) ||
        !Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.At(0)), length))
        return false;
    char value[kTextLimit] = {};
    if (!buffer.Read(sizeof(LVITEMA), value, sizeof(value)))
        return false;
    value[kTextLimit - 1] = '\0';
    text = value;
    return true;
}

struct BoxSearch
{
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedBox(HWND window, LPARAM lParam)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(lParam);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, "#32770") == 0 && GetWindow(window, GW_OWNER) == search->owner &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A message box's text is its one static control with text (the icon is a
// static control too, without text).
BOOL CALLBACK FindBoxText(HWND child, LPARAM lParam)
{
    std::string* text = reinterpret_cast<std::string*>(lParam);
    char className[16] = {};
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") != 0)
        return TRUE;
    char value[kTextLimit] = {};
    GetWindowTextA(child, value, kTextLimit);
    if (value[0] == '\0')
        return TRUE;
    *text = value;
    return FALSE;
}

} // namespace

bool ProgramWindow::Find(DWORD waitMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        hwnd = FindWindowA("#32770", "Tarnwick");
        if (hwnd != nullptr || GetTickCount() - start >= waitMs)
            return hwnd != nullptr;
        Sleep(50);
    }
}

std::string ProgramWindow::ControlText(int id) const
{
    char text[kTextLimit] = {};
    HWND control = GetDlgItem(hwnd, id);
    DWORD_PTR copied = 0;
    if (control == nullptr || SendMessageTimeoutA(control, WM_GETTEXT, kTextLimit, reinterpret_cast<LPARAM>(text),
                                                  SMTO_NORMAL, kAnswerWaitMs, &copied) == 0)
        return std::string();
    text[kTextLimit - 1] = '\0';
    return text;
}

bool ProgramWindow::SetControlText(int id, const char* text) const
{
    HWND control = GetDlgItem(hwnd, id);
    LRESULT result = 0;
    return control != nullptr && Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), result) && result;
}

bool ProgramWindow::ClickControl(int id) const
{
    HWND control = GetDlgItem(hwnd, id);
    RECT rect;
    if (control == nullptr || !GetWindowRect(control, &rect))
        return false;
    POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (!ScreenToClient(hwnd, &middle))
        return false;
    return PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y)) &&
           PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
}

bool ProgramWindow::ReadRows(int listId, std::vector<Row>& rows, std::string& error) const
{
    rows.clear();
    HWND list = GetDlgItem(hwnd, listId);
    LRESULT count = 0;
    if (list == nullptr || !Send(list, LVM_GETITEMCOUNT, 0, 0, count)) {
        error = "the result list does not answer";
        return false;
    }
    RemoteBuffer buffer(list, sizeof(LVITEMA) + kTextLimit, error);
    if (!buffer.Ready())
        return false;
    for (int index = 0; index < static_cast<int>(count); ++index) {
        Row row;
        LRESULT state = 0;
        if (!Send(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK, state) ||
            !ReadCell(list, buffer, index, 0, row.name) || !ReadCell(list, buffer, index, 1, row.detail)) {
            error = "row " + std::to_string(index) + " could not be read";
            return false;
        }
        // State image 2 is the ticked box, 1 the empty one.
        row.checked = ((static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) >> 12) == 2;
        rows.push_back(row);
    }
    return true;
}

bool ProgramWindow::SetRowCheck(int listId, int row, bool checked, std::string& error) const
{
    HWND list = GetDlgItem(hwnd, listId);
    if (list == nullptr) {
        error = "the result list was not found";
        return false;
    }
    RemoteBuffer buffer(list, sizeof(LVITEMA), error);
    if (!buffer.Ready())
        return false;
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    LRESULT result = 0;
    if (!buffer.Write(0, &item, sizeof(item)) ||
        !Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.At(0)), result) ||
        !result) {
        error = "row " + std::to_string(row) + " could not be ticked";
        return false;
    }
    return true;
}

bool ProgramWindow::AnswerMessageBox(DWORD waitMs, int button, std::string& text) const
{
    BoxSearch search = {hwnd, nullptr};
    DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            break;
        if (GetTickCount() - start >= waitMs)
            return false;
        Sleep(50);
    }
    text.clear();
    EnumChildWindows(search.found, FindBoxText, reinterpret_cast<LPARAM>(&text));
    return PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0) != FALSE;
}
