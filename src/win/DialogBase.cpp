#include "win/DialogBase.h"

#include <cstring>
#include "win/WinApp.h"

namespace {

HINSTANCE ResourceModule()
{
    CWinApplication* app = CWinApplication::Current();
    return app != nullptr && app->instance != nullptr ? app->instance : GetModuleHandleA(nullptr);
}

template <class T>
T ReadAt(const BYTE* data, size_t offset)
{
    T value;
    std::memcpy(&value, data + offset, sizeof(value));
    return value;
}

} // namespace

CDialogBase::CDialogBase(UINT templateId, HWND parent) : templateId(templateId), parent(parent) {}

CDialogBase::~CDialogBase()
{
    if (hwnd != nullptr) {
        // The window must not call back into a dead object.
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        if (!modal)
            DestroyWindow(hwnd);
        hwnd = nullptr;
    }
}

INT_PTR CDialogBase::DoModal()
{
    HWND owner = parent;
    if (owner == nullptr) {
        CWinApplication* app = CWinApplication::Current();
        if (app != nullptr && app->mainWindow != nullptr && IsWindow(app->mainWindow))
            owner = app->mainWindow;
    }
    modal = true;
    result = 0;
    INT_PTR r = DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
    result = r;
    return r;
}

BOOL CDialogBase::Create(HWND owner)
{
    if (hwnd != nullptr)
        return FALSE;
    modal = false;
    result = 0;
    HWND created = CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId), owner, DialogProc,
                                      reinterpret_cast<LPARAM>(this));
    return created != nullptr && hwnd == created;
}

void CDialogBase::EndDialog(INT_PTR r)
{
    result = r;
    if (hwnd == nullptr)
        return;
    if (modal)
        ::EndDialog(hwnd, r);
    else
        DestroyWindow(hwnd);
}

HWND CDialogBase::GetDlgItem(int id) const
{
    return hwnd != nullptr ? ::GetDlgItem(hwnd, id) : nullptr;
}

void CDialogBase::CenterWindow()
{
    if (hwnd == nullptr)
        return;
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    RECT around = area;
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = (around.left + around.right) / 2 - width / 2;
    int y = (around.top + around.bottom) / 2 - height / 2;
    if (x + width > area.right)
        x = area.right - width;
    if (x < area.left)
        x = area.left;
    if (y + height > area.bottom)
        y = area.bottom - height;
    if (y < area.top)
        y = area.top;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CDialogBase::OnInitDialog()
{
    return TRUE;
}

void CDialogBase::OnOK()
{
    EndDialog(IDOK);
}

void CDialogBase::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialogBase::OnCommand(int, int, HWND)
{
    return false;
}

bool CDialogBase::OnSysCommand(UINT, LPARAM)
{
    return false;
}

bool CDialogBase::OnTimer(UINT_PTR)
{
    return false;
}

bool CDialogBase::OnPaint()
{
    return false;
}

HICON CDialogBase::OnQueryDragIcon()
{
    return nullptr;
}

bool CDialogBase::OnWindowPosChanging(WINDOWPOS*)
{
    return false;
}

bool CDialogBase::OnClose()
{
    return false;
}

bool CDialogBase::OnMouseMove(UINT, POINT)
{
    return false;
}

bool CDialogBase::OnLButtonDown(UINT, POINT)
{
    return false;
}

bool CDialogBase::OnInitMenuPopup(HMENU, UINT, BOOL)
{
    return false;
}

bool CDialogBase::OnNotify(int, NMHDR*, LRESULT&)
{
    return false;
}

HBRUSH CDialogBase::OnCtlColor(HDC dc, HWND, UINT type)
{
    if (type != CTLCOLOR_DLG && type != CTLCOLOR_STATIC && type != CTLCOLOR_BTN && type != CTLCOLOR_MSGBOX)
        return nullptr;
    CWinApplication* app = CWinApplication::Current();
    if (app == nullptr)
        return nullptr;
    SetTextColor(dc, app->DialogTextColor());
    SetBkColor(dc, app->DialogBkColor());
    return app->DialogBrush();
}

// A dialog template placed at 0, 0 that asks for no placement of its own
// and is hidden at creation is centred once it has initialised, unless its
// initialisation moved or showed it.
bool CDialogBase::WantsCentring() const
{
    HMODULE module = ResourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const BYTE* data = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD size = SizeofResource(module, found);
    if (data == nullptr || size < 14)
        return false;
    DWORD style;
    short x, y;
    if (ReadAt<WORD>(data, 0) == 1 && ReadAt<WORD>(data, 2) == 0xFFFF) {
        // DLGTEMPLATEEX: version, signature, help id, extended style, style,
        // item count, x, y.
        if (size < 22)
            return false;
        style = ReadAt<DWORD>(data, 12);
        x = ReadAt<short>(data, 18);
        y = ReadAt<short>(data, 20);
    } else {
        // DLGTEMPLATE: style, extended style, item count, x, y.
        style = ReadAt<DWORD>(data, 0);
        x = ReadAt<short>(data, 10);
        y = ReadAt<short>(data, 12);
    }
    const DWORD placed = WS_CHILD | WS_VISIBLE | DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN;
    return x == 0 && y == 0 && (style & placed) == 0;
}

BOOL CDialogBase::InitDialog()
{
    bool centre = WantsCentring();
    RECT before;
    GetWindowRect(hwnd, &before);
    BOOL focus = OnInitDialog();
    HWND window = hwnd;
    if (centre && window != nullptr && (GetWindowLongA(window, GWL_STYLE) & (WS_VISIBLE | WS_CHILD)) == 0) {
        RECT after;
        GetWindowRect(window, &after);
        if (after.left == before.left && after.top == before.top)
            CenterWindow();
    }
    return focus;
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialogBase* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialogBase*>(lParam);
        if (self == nullptr)
            return TRUE;
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->hwnd = window;
    } else {
        self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
        if (self == nullptr)
            return FALSE;
    }
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialogBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitDialog();
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        int code = HIWORD(wParam);
        HWND control = reinterpret_cast<HWND>(lParam);
        // Clicks, menu items and accelerators; other notifications of a
        // control with id 1 or 2 are ordinary commands.
        bool command = code == BN_CLICKED || control == nullptr;
        if (id == IDOK && command) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL && command) {
            OnCancel();
            return TRUE;
        }
        return OnCommand(id, code, control) ? TRUE : FALSE;
    }
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam), lParam) ? TRUE : FALSE;
    case WM_TIMER:
        return OnTimer(wParam) ? TRUE : FALSE;
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        // Returned directly, not through DWLP_MSGRESULT; null means default.
        return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_WINDOWPOSCHANGING:
        return OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)) ? TRUE : FALSE;
    case WM_CLOSE:
        return OnClose() ? TRUE : FALSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        UINT flags = static_cast<UINT>(wParam);
        bool handled = message == WM_MOUSEMOVE ? OnMouseMove(flags, point) : OnLButtonDown(flags, point);
        return handled ? TRUE : FALSE;
    }
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (header == nullptr)
            return FALSE;
        HWND window = hwnd;
        LRESULT r = 0;
        if (!OnNotify(static_cast<int>(header->idFrom), header, r))
            return FALSE;
        // A notification's result goes back through DWLP_MSGRESULT.
        if (window != nullptr && IsWindow(window))
            SetWindowLongPtrA(window, DWLP_MSGRESULT, r);
        return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // The brush is returned directly; null means default.
        return reinterpret_cast<INT_PTR>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                                    message - WM_CTLCOLORMSGBOX));
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        hwnd = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
