// Test helper: answers the next message box of the calling thread from another thread, after
// noting its caption, text, icon and whether a given window was disabled while it was up.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class MessageBoxWatch {
 public:
  // then runs on the watching thread right after the box was answered.
  explicit MessageBoxWatch(HWND watchDisabled = nullptr, std::function<void()> then = nullptr)
      : FThreadId(GetCurrentThreadId()),
        FWatchDisabled(watchDisabled),
        FThen(std::move(then)),
        FThread([this] { Run(); }) {}
  ~MessageBoxWatch() {
    FStop = true;
    FThread.join();
  }
  // Waits for the box to have been answered (or the watch to give up after five seconds).
  bool Answered() {
    FThread.join();
    FThread = std::thread([] {});
    return FAnswered;
  }
  // Stops watching at once; true when a box came up meanwhile (it was answered, so a box the
  // calling thread did not expect ends instead of hanging it).
  bool Seen() {
    FStop = true;
    return Answered();
  }
  std::string Caption, Text;
  HICON Icon = nullptr;
  bool OwnerWasDisabled = false;
  HWND Owner = nullptr;

 private:
  static BOOL CALLBACK Find(HWND wnd, LPARAM lp) {
    char cls[32] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(wnd)) {
      *reinterpret_cast<HWND*>(lp) = wnd;
      return FALSE;
    }
    return TRUE;
  }
  void Run() {
    for (int i = 0; i < 500 && !FStop; ++i) {
      HWND box = nullptr;
      EnumThreadWindows(FThreadId, Find, LPARAM(&box));
      if (box) {
        Sleep(50);  // let it finish showing
        char buf[512] = "";
        GetWindowTextA(box, buf, sizeof buf);
        Caption = buf;
        GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
        Text = buf;
        Icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x440, STM_GETICON, 0, 0));
        Owner = GetWindow(box, GW_OWNER);
        if (FWatchDisabled) OwnerWasDisabled = !IsWindowEnabled(FWatchDisabled);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        FAnswered = true;
        if (FThen) FThen();
        return;
      }
      Sleep(10);
    }
  }
  DWORD FThreadId;
  HWND FWatchDisabled;
  std::function<void()> FThen;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FAnswered{false};
  std::thread FThread;
};
