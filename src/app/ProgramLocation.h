#pragma once
#include <string>

// Where the running program lives, and what follows from that: the folder of
// its data files when it is started from elsewhere, and the command line of
// its log-on entry.

// The folder of a full path, in the form the system gives a working
// directory: no trailing backslash, except at the root of a drive
// ("C:\Tarnwick\Gravelin.exe" gives "C:\Tarnwick", "C:\Gravelin.exe" gives
// "C:\"). Empty when the path names no folder.
std::string FolderOfPath(const std::string& path);

// The command line that starts the program at programPath: the path, in
// quotes when it holds a space, so that the system cannot take a shorter
// path ("C:\Users\Ann.exe" for "C:\Users\Ann Lee\...") for the program.
std::string CommandLineFor(const std::string& programPath);

// The full path of the running executable, not limited to MAX_PATH; empty
// when the system cannot tell it.
std::string RunningProgramPath();

// The folder of the data files when it is not the working directory: the
// running program's own folder when the working directory holds no
// "deda.twk" (the system starts the programs of the Run key at log-on in a
// folder of its own), else empty.
std::string DataFolderOverride();
