// The squash log viewer.
#include "log/SquashLogDlg.h"

#include <cmath>
#include <string>

#include "log/SquashLog.h"
#include "log/WebAddress.h"
#include "res/resource.h"
#include "win/ShellOpen.h"
#include "win/WinApp.h"

CSquashLogDlg::CSquashLogDlg(HWND parent) : CDialogBase(IDD_SQUASH_LOG, parent) {}

LONG CSquashLogDlg::HintFontHeight(LONG dialogFontHeight, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        pixelsPerInch = 96;
    // The dialog font's size in points, rounded, then five points more back
    // in pixels, rounded again.
    const long points = std::lround(static_cast<double>(dialogFontHeight) * 72.0 / pixelsPerInch);
    return -std::lround(static_cast<double>(5 - points) * pixelsPerInch / 72.0);
}

BOOL CSquashLogDlg::OnInitDialog()
{
    CDialogBase::OnInitDialog();
    list.Attach(hwnd, IDC_LOG_LIST);

    list.InsertColumn(0, "Window Title", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "URL", LVCFMT_LEFT, 200);
    list.InsertColumn(2, "Date Squashed", LVCFMT_LEFT, 200);
    list.InsertColumn(3, "Type", LVCFMT_LEFT, 200);

    MakeHintFont();

    // Oldest first; the date column follows its longest text.
    const int count = squashLog.GetCount();
    for (int i = 0; i < count; ++i) {
        std::string title, url, date, type;
        squashLog.GetEntry(i, title, url, date, type);
        const int row = list.InsertItem(i, title.c_str());
        list.SetItemText(row, 1, url.c_str());
        list.SetItemText(row, 2, date.c_str());
        list.SetItemText(row, 3, type.c_str());
        list.SetColumnWidth(2, LVSCW_AUTOSIZE);
    }
    return TRUE;
}

void CSquashLogDlg::MakeHintFont()
{
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr)
        dialogFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA font = {};
    if (GetObjectA(dialogFont, sizeof font, &font) == 0)
        return;

    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    font.lfHeight = HintFontHeight(font.lfHeight, pixelsPerInch);
    font.lfWidth = 0;
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    hintFont.Reset(CreateFontIndirectA(&font));
    // The static control draws with the font it is given, whatever font the
    // colour message leaves in its device context.
    if (hintFont)
        SendDlgItemMessageA(hwnd, IDC_LOG_HINT, WM_SETFONT, reinterpret_cast<WPARAM>(hintFont.Get()), TRUE);
}

void CSquashLogDlg::OnOK()
{
    // The question is modal to the viewer: a second click cannot ask again.
    CWinApplication* app = CWinApplication::Current();
    const int answer = app != nullptr ? app->MessageBox("Are you sure you want to delete the log?", MB_YESNO, hwnd)
                                      : MessageBoxA(hwnd, "Are you sure you want to delete the log?", "", MB_YESNO);
    if (answer != IDYES)
        return;
    squashLog.Clear();
    list.DeleteAllItems();
}

bool CSquashLogDlg::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (id != IDC_LOG_LIST || header == nullptr || header->code != NM_CLICK)
        return false;
    OpenSelectedRows();
    result = 0;
    return true;
}

// Every selected row's address, in row order. A click that leaves no row
// selected opens nothing. Only web addresses go to the shell: a row whose
// address column holds anything else (a date or a title shifted there when
// the log was read, a path or a program) is left alone.
void CSquashLogDlg::OpenSelectedRows()
{
    for (int row = list.GetNextSelected(-1); row >= 0; row = list.GetNextSelected(row)) {
        const std::string address = list.GetItemText(row, 1);
        if (IsWebAddress(address))
            ShellOpen(address.c_str());
    }
}
