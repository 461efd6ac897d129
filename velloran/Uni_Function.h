// Helpers both programs share: the information box and the shell start.
#pragma once

#include <windows.h>

#include <string>

// A modal box with the text, the caption "Information", the information icon and only OK; owned by
// the active form (the application's window when none is active), the other windows disabled.
void ShowInfo(const std::string& Text);

// Asks the shell to "open" FileName as given (no folder, no parameters, no working directory,
// shown normally) for the window Owner. The result is not examined.
void ShellOpen(HWND Owner, const std::string& FileName);

// The call ShellOpen makes; tests put their own in its place. Returns the one it replaced.
using TShellExecuteA = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
TShellExecuteA SetShellExecute(TShellExecuteA Call);
