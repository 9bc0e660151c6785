#include "app/TarnwickApp.h"

#include "app/ProgramLocation.h"
#include "app/SplashDlg.h"
#include "app/TarnwickDlg.h"

CTarnwickApp theApp;

CTarnwickApp::CTarnwickApp() = default;

CTarnwickApp::~CTarnwickApp() = default;

BOOL CTarnwickApp::InitInstance()
{
    // Light grey dialogs with black text, the splash window excepted.
    SetDialogBkColor(RGB(227, 227, 227), RGB(0, 0, 0));
    // The profile lives under the maker's key.
    SetRegistryKey("Ostrand");

    {
        CSplashDlg splash;
        splash.DoModal();
    }

    {
        // The main window makes itself the application's main window as its
        // window is initialised.
        CTarnwickDlg dialog;
        // Started from a folder without the definitions (at log-on, the
        // system's own), the program keeps its data files beside itself.
        dialog.startFolder = DataFolderOverride();
        dialog.DoModal();
    }
    mainWindow = nullptr;
    return FALSE;
}
