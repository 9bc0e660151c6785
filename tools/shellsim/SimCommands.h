#pragma once
// The commands a driver process sends to the stand-in shell loaded into
// another process (shellsim.dll inside Gravelin.exe): WM_COPYDATA messages to
// a message-only window of class "TarnwickShellSim". COPYDATASTRUCT.dwData is
// the command, lpData its arguments; the answer is SendMessage's result.
//
//   Open         SimWindowDetails (EncodeOpen)     -> the new window's id, 0 if malformed
//   Close        int32 id                       -> 1
//   QuitCount    nothing                        -> number of Quit calls so far
//   QuitAt       int32 index                    -> window id of that Quit call, -1 past the end
//   AdviseCount  nothing                        -> sinks currently advised
//   WindowCount  nothing                        -> windows in the list
//   Fail         int32 id, int32 SimCall, int32 HRESULT -> 1, 0 if malformed
// Anything else, or arguments of the wrong size, answers 0.
#include <windows.h>
#include <string>
#include <vector>
#include "ShellSim.h"

namespace simcommand {

const char* const kWindowClass = "TarnwickShellSim";

enum Command : ULONG_PTR
{
    Open = 0x54570001,
    Close,
    QuitCount,
    QuitAt,
    AdviseCount,
    WindowCount,
    Fail,
};

// Open's arguments: toolbar, document kind, web browser flag (three int32),
// the lengths of title and address in UTF-16 units (two uint32), then both
// texts without terminators.
std::vector<BYTE> EncodeOpen(const SimWindowDetails& details);
// False if the bytes are not exactly one encoded window.
bool DecodeOpen(const void* data, size_t size, SimWindowDetails& details);

// Arguments made of 32-bit integers (Close, QuitAt, Fail).
std::vector<BYTE> EncodeInts(const std::vector<long>& values);
// False unless the bytes are exactly count integers.
bool DecodeInts(const void* data, size_t size, size_t count, std::vector<long>& values);

// A SimCall by its enumerator's name ("ToolBar", "QueryWebBrowser", ...),
// case-insensitive; false if there is none.
bool CallFromName(const std::string& name, SimCall& call);

// Carries out one command against the shell (what the window does on
// WM_COPYDATA).
LRESULT Execute(ShellSim& shell, ULONG_PTR command, const void* data, size_t size);

} // namespace simcommand
