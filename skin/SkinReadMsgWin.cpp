// The reader's message in the Windows build: a plain message box with the application's title,
// the text and an OK button.
#include <windows.h>

#include <string>

#include "skin/SkinRead.h"

namespace {
// The application title the toolkit starts with: the program file's name without its extension.
std::string ApplicationTitle() {
  char path[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, n < MAX_PATH ? n : 0);
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}
}  // namespace

void DefaultSkinReaderMessage(const std::string& Text) {
  MessageBoxA(GetActiveWindow(), Text.c_str(), ApplicationTitle().c_str(), MB_OK);
}
