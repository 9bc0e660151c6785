#pragma once
#include <windows.h>

// A dialog box bound to a dialog template of the application's module.
//
// A derived class overrides the handlers of the messages it cares about.
// Handlers that return bool return true when they have handled the message
// and false to leave it to the dialog manager's default processing (a
// handler may also act and still return false, e.g. change a WINDOWPOS and
// let the default go on). OnQueryDragIcon and OnCtlColor return a handle
// instead, null meaning "not handled".
//
// The object's this-pointer travels in the creation parameter and is kept in
// DWLP_USER; the object must outlive its window.
class CDialogBase
{
public:
    // templateId: the dialog resource; parent: the owner window (may be null).
    explicit CDialogBase(UINT templateId, HWND parent = nullptr);
    // Destroys a modeless window that is still open.
    virtual ~CDialogBase();
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // Runs the dialog modally and returns the result given to EndDialog, or
    // -1 when it could not be created. The owner is the parent given to the
    // constructor or, without one, the application's main window when it
    // exists.
    INT_PTR DoModal();
    // Creates the dialog modelessly, owned by parent; TRUE on success.
    BOOL Create(HWND parent);
    // Ends the dialog with result: ends the modal run, or destroys the
    // modeless window.
    void EndDialog(INT_PTR result);
    // The result the dialog ended with (0 until it ends).
    INT_PTR Result() const { return result; }
    // The dialog's window, null before creation and after destruction.
    HWND GetSafeHwnd() const { return hwnd; }
    // The child control with the given id, or null.
    HWND GetDlgItem(int id) const;
    // Moves the window to the centre of its owner when the owner is visible
    // and not minimised, otherwise to the centre of the screen's work area;
    // the window is kept inside the work area.
    void CenterWindow();
    // The dialog template's resource id.
    UINT TemplateId() const { return templateId; }

    // The dialog's window (as GetSafeHwnd).
    HWND hwnd = nullptr;

protected:
    // WM_INITDIALOG. Return TRUE to let the system give the focus to the
    // first control. The default returns TRUE.
    virtual BOOL OnInitDialog();
    // The OK command (id 1: the default button or Enter). Default:
    // EndDialog(IDOK).
    virtual void OnOK();
    // The cancel command (id 2: Escape, the close box). Default:
    // EndDialog(IDCANCEL).
    virtual void OnCancel();
    // Every other WM_COMMAND (menu commands, control notifications).
    virtual bool OnCommand(int id, int code, HWND control);
    // WM_SYSCOMMAND; command is the wParam (mask it with 0xFFF0 for the
    // system's own commands).
    virtual bool OnSysCommand(UINT command, LPARAM lParam);
    // WM_TIMER.
    virtual bool OnTimer(UINT_PTR id);
    // WM_PAINT.
    virtual bool OnPaint();
    // WM_QUERYDRAGICON: the icon or cursor to drag, or null for the default.
    virtual HICON OnQueryDragIcon();
    // WM_WINDOWPOSCHANGING; pos may be changed before the default goes on.
    virtual bool OnWindowPosChanging(WINDOWPOS* pos);
    // WM_CLOSE. Unhandled, the dialog manager turns it into the cancel
    // command.
    virtual bool OnClose();
    // WM_MOUSEMOVE; point in client coordinates.
    virtual bool OnMouseMove(UINT flags, POINT point);
    // WM_LBUTTONDOWN; point in client coordinates.
    virtual bool OnLButtonDown(UINT flags, POINT point);
    // WM_INITMENUPOPUP for a popup menu about to open.
    virtual bool OnInitMenuPopup(HMENU popup, UINT index, BOOL systemMenu);
    // WM_NOTIFY from control id; set result (the notification's result,
    // returned through DWLP_MSGRESULT) when handling it.
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
    // WM_CTLCOLOR* (type is CTLCOLOR_DLG, CTLCOLOR_STATIC, CTLCOLOR_BTN, ...):
    // the background brush, or null for the default. The default gives the
    // dialog, static and button messages the application's dialog colours.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL InitDialog();
    bool WantsCentring() const;

    UINT templateId;
    HWND parent;
    bool modal = false;
    INT_PTR result = 0;
};
