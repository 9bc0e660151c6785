#pragma once
#include <windows.h>
#include "win/DialogBase.h"
#include "win/GdiObject.h"

// The splash window (dialog 163): a picture on white for three seconds
// before the main window. Enter or Escape end it earlier.
class CSplashDlg : public CDialogBase
{
public:
    // Id and period of the timer that ends the window.
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kPeriodMs = 3000;
    // The result the timer ends the window with.
    static constexpr INT_PTR kTimerResult = 3;

    // No parent: the main window does not exist yet.
    CSplashDlg();
    // Deletes the brush.
    ~CSplashDlg() override;

    // The white brush of every colour request, empty until the window
    // initialises.
    GdiObject<HBRUSH> background;

protected:
    BOOL OnInitDialog() override;
    bool OnTimer(UINT_PTR id) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;
};
