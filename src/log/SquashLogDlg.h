#pragma once
// The "What Did I Squash?" viewer: the squash log as a list, oldest first;
// a click on a row opens its address, "Clear Log" empties the log.
#include <windows.h>

#include "win/Controls.h"
#include "win/DialogBase.h"
#include "win/GdiObject.h"

class CSquashLogDlg : public CDialogBase
{
public:
    explicit CSquashLogDlg(HWND parent = nullptr);

    // The larger font the hint text is drawn in (null before initialisation).
    HFONT HintFont() const { return hintFont.Get(); }

    // The hint font's height for a dialog font of the given height (negative,
    // as fonts give it) at the given vertical pixels per inch: five points
    // more than the dialog font.
    static LONG HintFontHeight(LONG dialogFontHeight, int pixelsPerInch);

protected:
    BOOL OnInitDialog() override;
    // "Clear Log" (also the Enter key): asks, and on Yes empties the log and
    // the list. The viewer stays open either way.
    void OnOK() override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;

private:
    void MakeHintFont();
    void OpenSelectedRows();

    CListViewControl list;
    GdiObject<HFONT> hintFont;
};
