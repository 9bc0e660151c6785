#pragma once
// The stand-in shell's mailbox for a driver process: a hidden message-only
// window of class "TarnwickShellSim", made on the calling thread, that carries
// out the WM_COPYDATA commands of SimCommands.h. Because the commands run on
// this thread, the window events they fire reach the subscribers on the
// thread that owns the window (the program's own).
#include <windows.h>

class ShellSim;

class SimCommandWindow
{
public:
    // Creates the window; Handle() is null if that failed.
    explicit SimCommandWindow(ShellSim& shell);
    // Destroys the window.
    ~SimCommandWindow();
    SimCommandWindow(const SimCommandWindow&) = delete;
    SimCommandWindow& operator=(const SimCommandWindow&) = delete;

    HWND Handle() const { return hwnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    ShellSim& shell;
    HWND hwnd = nullptr;
};
