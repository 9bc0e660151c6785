#pragma once
#include "win/DialogBase.h"

// The About window (dialog 100): the program's icon, name and version. Its
// OK button, Enter and Escape close it.
class CAboutDlg : public CDialogBase
{
public:
    // No parent: the modal run is owned by the application's main window.
    CAboutDlg();
    ~CAboutDlg() override;
};
