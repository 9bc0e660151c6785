#pragma once
#include <windows.h>
#include <exdisp.h>

#include "win/ComRef.h"

// The process-wide reference to the shell's window collection: empty at
// process start, set once by CTarnwickDlg::ConnectShellWindows and released
// at process exit.
extern ComRef<IShellWindows> shellWindows;
