#pragma once
// Which logged addresses the log viewer hands to the shell.
#include <string>

// True for a web address the shell may open in the browser: it starts with
// "http://" or "https://" (letter case ignored) and holds no blank, control
// character or double quote. The log keeps window titles and addresses as
// pages gave them, and a "$" in a title shifts the fields of its line when
// "hist.twk" is read back: a click must not start whatever program or file
// such a text names, nor let it add arguments to the browser's command line.
bool IsWebAddress(const std::string& text);
