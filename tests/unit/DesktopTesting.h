// Test programs run side by side on one desktop: what a test looks for there must be its own.
#pragma once

#include <windows.h>

#include <cstring>

struct TThreadWindowSearch {
  const char* Class;
  HWND Found;
};

inline BOOL CALLBACK NoteThreadWindow(HWND w, LPARAM search) {
  auto* s = reinterpret_cast<TThreadWindowSearch*>(search);
  char name[64] = "";
  GetClassNameA(w, name, sizeof name);
  if (std::strcmp(name, s->Class) != 0 || !IsWindowVisible(w)) return TRUE;
  s->Found = w;
  return FALSE;
}

// A visible top-level window of that class of the thread (the calling one by default), or none;
// another program's windows do not count.
inline HWND ThreadWindow(const char* Class, DWORD Thread = GetCurrentThreadId()) {
  TThreadWindowSearch search{Class, nullptr};
  EnumThreadWindows(Thread, NoteThreadWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// The calling thread's open popup menu window, or none.
inline HWND ThreadMenuWindow() { return ThreadWindow("#32768"); }
