#pragma once
#include <functional>
#include <string>

// Asks the shell to open address (ShellExecuteA, verb "open", no parameters,
// no folder, no owner, SW_HIDE); the result is not examined. With an
// observer set, the observer gets the address instead and nothing is opened.
// Every shell open of the program goes through here.
void ShellOpen(const char* address);

// Installs the observer that takes the place of the shell (for tests); an
// empty function restores the shell.
void SetShellOpenObserver(std::function<void(const std::string&)> observer);
