// The keeper's file and folder helpers. Its information box is the previewer's (velloran/Uni_Function).
#pragma once

#include <string>

#include "tk/Classes.h"

// Adds the bare names matching folder + mask (files and folders, neither hidden nor system, never
// "." or "..") to List, in the order the system returns them.
void FindFiles(const std::string& Folder, const std::string& Mask, TStrings* List);
// The short (8.3) form of Path, or Path itself when the system has none that fits 255 characters.
std::string ShortPath(const std::string& Path);
// Path as one argument of a command line: as it is without a blank, else in quotes (with the
// backslashes before the closing quote doubled, so they stay backslashes).
std::string CommandLinePath(const std::string& Path);
// The system's temporary folder with its trailing backslash, or empty.
std::string TempFolder();
// The user's application-data folder, made if missing, without a trailing backslash; or empty.
std::string AppDataFolder();
