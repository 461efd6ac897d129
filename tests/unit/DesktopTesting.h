// Test programs run side by side on one desktop: what a test looks for there must be its own.
#pragma once

#include <windows.h>

#include <cstring>

inline BOOL CALLBACK NoteMenuWindow(HWND w, LPARAM found) {
  char name[16] = "";
  GetClassNameA(w, name, sizeof name);
  if (std::strcmp(name, "#32768") != 0 || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(found) = w;
  return FALSE;
}

// The visible popup menu window of the calling thread, or none; another program's menus do not count.
inline HWND ThreadMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), NoteMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}
