#include "app/SplashDlg.h"

#include "res/resource.h"

CSplashDlg::CSplashDlg() : CDialogBase(IDD_SPLASH, nullptr) {}

CSplashDlg::~CSplashDlg() = default;

BOOL CSplashDlg::OnInitDialog()
{
    SetTimer(hwnd, kTimerId, kPeriodMs, nullptr);
    background.Reset(CreateSolidBrush(RGB(255, 255, 255)));
    return TRUE;
}

bool CSplashDlg::OnTimer(UINT_PTR)
{
    // The timer goes with the window.
    EndDialog(kTimerResult);
    return false;
}

HBRUSH CSplashDlg::OnCtlColor(HDC, HWND, UINT)
{
    // White for the window and its picture, not the program's grey.
    return background.Get();
}
