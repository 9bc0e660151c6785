#pragma once
#include <windows.h>
#include "win/WinApp.h"

// The application object: sets the dialog colours and the profile's key,
// shows the splash window, then runs the main window modally for the whole
// run.
class CTarnwickApp : public CWinApplication
{
public:
    CTarnwickApp();
    ~CTarnwickApp() override;

    // The whole run of the program; always FALSE, so nothing runs after the
    // main window's modal run.
    BOOL InitInstance() override;
};

// The process's application object.
extern CTarnwickApp theApp;
