// Test programs run side by side on one desktop: what a test looks for there must be its own.
#pragma once

#include <windows.h>

#include <cstring>

struct TThreadWindowSearch {
  const char* Class;
  HWND Found;
  int Count;
};

inline BOOL CALLBACK NoteThreadWindow(HWND w, LPARAM search) {
  auto* s = reinterpret_cast<TThreadWindowSearch*>(search);
  char name[64] = "";
  GetClassNameA(w, name, sizeof name);
  if (std::strcmp(name, s->Class) != 0 || !IsWindowVisible(w)) return TRUE;
  if (!s->Found) s->Found = w;
  ++s->Count;
  return TRUE;
}

inline TThreadWindowSearch SearchThreadWindows(const char* Class, DWORD Thread) {
  TThreadWindowSearch search{Class, nullptr, 0};
  EnumThreadWindows(Thread, NoteThreadWindow, reinterpret_cast<LPARAM>(&search));
  return search;
}

// A visible top-level window of that class of the thread (the calling one by default), or none;
// another program's windows do not count.
inline HWND ThreadWindow(const char* Class, DWORD Thread = GetCurrentThreadId()) {
  return SearchThreadWindows(Class, Thread).Found;
}

// The calling thread's open popup menu window, or none.
inline HWND ThreadMenuWindow() { return ThreadWindow("#32768"); }
// How many popup menu windows the calling thread has open: one per level of a menu.
inline int ThreadMenuLevels() { return SearchThreadWindows("#32768", GetCurrentThreadId()).Count; }
