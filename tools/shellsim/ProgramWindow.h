#pragma once
// The running program's main window seen from another process, for driving
// Gravelin.exe end to end: clicking its picture links, reading its status
// lines, reading and ticking the rows of its result list, and answering the
// message box it shows. List rows live in the program's memory, so they are
// read and written through a buffer allocated inside the program; the driver
// and the program must therefore be built for the same machine (checked).
#include <windows.h>
#include <string>
#include <vector>

class ProgramWindow
{
public:
    struct Row
    {
        bool checked = false;
        std::string name;   // first column
        std::string detail; // second column
    };

    // Finds the dialog titled "Tarnwick", waiting up to waitMs; false when it
    // never appears.
    bool Find(DWORD waitMs);
    HWND Handle() const { return hwnd; }

    // The text of one of the main window's controls.
    std::string ControlText(int id) const;
    bool SetControlText(int id, const char* text) const;
    // Posts a left click at the middle of a child control, as the mouse would
    // (the program hit-tests its picture links on the dialog itself).
    bool ClickControl(int id) const;

    // The rows of the list control with this id; false if they could not be read.
    bool ReadRows(int listId, std::vector<Row>& rows, std::string& error) const;
    // Ticks (or clears) the check box of one row.
    bool SetRowCheck(int listId, int row, bool checked, std::string& error) const;

    // Waits up to waitMs for a message box owned by the main window, returns
    // its text and presses its button with the id given (IDOK, IDYES...).
    bool AnswerMessageBox(DWORD waitMs, int button, std::string& text) const;

private:
    HWND hwnd = nullptr;
};
