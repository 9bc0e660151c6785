#pragma once
#include <windows.h>
#include <string>
#include "win/GdiObject.h"

// Base of the application object. There is one per process, a global object
// of a derived class, constructed before WinMain runs; WinMain calls Run.
class CWinApplication
{
public:
    // Becomes the process's application object; reads the application name.
    CWinApplication();
    // Stops being the application object.
    virtual ~CWinApplication();
    CWinApplication(const CWinApplication&) = delete;
    CWinApplication& operator=(const CWinApplication&) = delete;

    // The application object of the process (the one constructed last), or
    // null when there is none.
    static CWinApplication* Current();

    // Entry from WinMain: keeps the instance handle, registers the common
    // controls (list views), runs InitInstance and returns 0. There is no
    // message loop of its own: the program lives in its modal dialogs.
    int Run(HINSTANCE inst);
    // The application's start-up; the default does nothing and returns FALSE.
    virtual BOOL InitInstance();

    // The executable's file name without its extension ("Gravelin").
    const std::string& AppName() const { return appName; }
    // The file name of path without folder and extension ("C:\a\Gravelin.exe"
    // gives "Gravelin").
    static std::string NameFromModulePath(const std::string& path);

    // Keeps the profile in HKEY_CURRENT_USER\Software\<key>\<AppName>. Until
    // it is called there is no profile: reads give the default, writes fail.
    void SetRegistryKey(const char* key);
    // The profile key path below HKEY_CURRENT_USER for section
    // ("Software\<key>\<AppName>\<section>"); empty without a registry key.
    std::string ProfileKeyPath(const char* section) const;
    // The REG_DWORD entry of section; defaultValue when the key or the value
    // is missing or the value is not a 4-byte REG_DWORD.
    int GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    // Writes entry of section as REG_DWORD, creating the keys as needed.
    // TRUE on success.
    BOOL WriteProfileInt(const char* section, const char* entry, int value);

    // The background and text colours of every dialog of the program; one
    // solid brush of bk serves them all.
    void SetDialogBkColor(COLORREF bk, COLORREF text);
    // The dialog background brush (the system's dialog face brush until
    // SetDialogBkColor is called). Owned by the application.
    HBRUSH DialogBrush() const;
    // The dialog background colour.
    COLORREF DialogBkColor() const { return dialogBk; }
    // The dialog text colour.
    COLORREF DialogTextColor() const { return dialogText; }

    // An application message box: MessageBoxA with the application name as
    // caption, owned by owner when given, else by mainWindow when it is
    // visible (else unowned). Returns the button pressed (IDOK, IDYES, ...).
    int MessageBox(const char* text, UINT type = MB_OK, HWND owner = nullptr);

    // The main window (the program sets it once the window exists).
    HWND mainWindow = nullptr;
    // The module of the program's resources (the executable until Run says
    // otherwise).
    HINSTANCE instance = nullptr;

private:
    std::string appName;
    std::string registryKey;
    GdiObject<HBRUSH> dialogBrush;
    COLORREF dialogBk;
    COLORREF dialogText;
};
