// Dialogs: the modal message box the programs' own messages go through.
#pragma once

#include <string>

#include <windows.h>

// A modal MessageBoxA owned by the active form (or the application's window when no form is
// active), with the program's other windows disabled while it is up. Answers the box's result.
int TaskMessageBox(const std::string& Text, const std::string& Caption, UINT Flags);
