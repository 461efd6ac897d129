// The windows of a process that would get a taskbar entry: visible, and unowned and not a tool
// window, or marked WS_EX_APPWINDOW.
#pragma once

#include <windows.h>

#include <vector>

namespace taskbar_testing {

struct TSearch {
  DWORD Pid;
  std::vector<HWND> Found;
};

inline BOOL CALLBACK CollectEntry(HWND wnd, LPARAM lp) {
  auto* search = reinterpret_cast<TSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  LONG ex = GetWindowLongA(wnd, GWL_EXSTYLE);
  bool entry = (!GetWindow(wnd, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW)) || (ex & WS_EX_APPWINDOW);
  if (pid == search->Pid && IsWindowVisible(wnd) && entry) search->Found.push_back(wnd);
  return TRUE;
}

inline std::vector<HWND> TaskbarWindows(DWORD pid) {
  TSearch search{pid, {}};
  EnumWindows(CollectEntry, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

}  // namespace taskbar_testing
