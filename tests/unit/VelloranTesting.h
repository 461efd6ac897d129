// What the program's tests share: finding the message boxes a process shows, reading them back from
// the live window and closing them.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "tk/ComCtrls.h"
#include "tk/Forms.h"
#include "velloran/Uni_Function.h"

namespace velloran_testing {

// One call the shell start made.
struct TShellCall {
  HWND Owner;
  std::string Verb, File, Parameters, Directory;
  INT Show;
};

// Records the shell starts made while it exists, in place of the shell.
class TShellRecorder {
 public:
  TShellRecorder() : FPrevious(SetShellExecute(Record)) { Calls().clear(); }
  ~TShellRecorder() { SetShellExecute(FPrevious); }
  TShellRecorder(const TShellRecorder&) = delete;
  TShellRecorder& operator=(const TShellRecorder&) = delete;
  static std::vector<TShellCall>& Calls() {
    static std::vector<TShellCall> calls;
    return calls;
  }

 private:
  static HINSTANCE WINAPI Record(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show) {
    auto text = [](LPCSTR s) { return std::string(s ? s : "(null)"); };
    Calls().push_back({owner, text(verb), text(file), text(params), text(dir), show});
    return reinterpret_cast<HINSTANCE>(2);  // "file not found": the program shows nothing either way
  }
  TShellExecuteA FPrevious;
};

// A message box as it stands on the screen.
struct TBoxSeen {
  bool Found = false;
  std::string Caption;
  std::string Text;
  bool InformationIcon = false;
  std::vector<std::string> Buttons;
};

struct TFindBox {
  DWORD Pid;
  std::string Caption;
  HWND Box = nullptr;
};

inline std::string WindowText(HWND wnd) {
  char buf[1024] = "";
  GetWindowTextA(wnd, buf, sizeof buf);
  return buf;
}

inline std::string ClassOf(HWND wnd) {
  char buf[256] = "";
  GetClassNameA(wnd, buf, sizeof buf);
  return buf;
}

inline BOOL CALLBACK FindBoxProc(HWND wnd, LPARAM lp) {
  auto* f = reinterpret_cast<TFindBox*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid == f->Pid && IsWindowVisible(wnd) && ClassOf(wnd) == "#32770" && WindowText(wnd) == f->Caption) {
    f->Box = wnd;
    return FALSE;
  }
  return TRUE;
}

// The visible dialog of process pid with that caption, waited for up to timeoutMs.
inline HWND WaitForBox(DWORD pid, const std::string& caption, int timeoutMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    TFindBox f{pid, caption};
    EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&f));
    if (f.Box) return f.Box;
    Sleep(20);
  } while (std::chrono::steady_clock::now() < until);
  return nullptr;
}

// Reads the box's caption, text, icon and buttons.
inline TBoxSeen ReadBox(HWND box) {
  TBoxSeen seen;
  seen.Found = box != nullptr;
  if (!box) return seen;
  seen.Caption = WindowText(box);
  HICON information = LoadIconA(nullptr, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    std::string cls = ClassOf(child);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if (cls == "Button") {
      seen.Buttons.push_back(WindowText(child));
    } else if (cls == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
      HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
      seen.InformationIcon = icon && icon == information;
    } else if (cls == "Static" && !WindowText(child).empty()) {
      seen.Text = WindowText(child);
    }
  }
  return seen;
}

// Presses the box's OK button.
inline void PressOk(HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

// Reads this process's box of that caption from another thread while the calling thread sits in
// show (which shows the box modally), then presses OK so show returns.
template <class F>
TBoxSeen ReadOwnBoxWhile(const std::string& caption, F show) {
  DWORD pid = GetCurrentProcessId();
  auto watcher = std::async(std::launch::async, [pid, caption] {
    HWND box = WaitForBox(pid, caption, 10000);
    TBoxSeen seen = ReadBox(box);
    if (box) PressOk(box);
    return seen;
  });
  show();
  return watcher.get();
}

// Whether the application was asked to end (a quit request waits in the queue).
inline bool QuitRequested() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// Ends, once timeoutMs have passed, any modal form of this thread still up, with mrAbort: a modal
// loop that does not end by itself fails its test instead of hanging it. Fired tells whether it had
// to.
class TModalTimeout {
 public:
  explicit TModalTimeout(UINT timeoutMs) : FTimer(SetTimer(nullptr, 0, timeoutMs, Fire)) { Fired() = false; }
  ~TModalTimeout() { KillTimer(nullptr, FTimer); }
  TModalTimeout(const TModalTimeout&) = delete;
  TModalTimeout& operator=(const TModalTimeout&) = delete;
  static bool& Fired() {
    static bool fired = false;
    return fired;
  }

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->Modal()) {
        Screen->Forms(i)->ModalResult = mrAbort;
        Fired() = true;
      }
  }
  UINT_PTR FTimer;
};

// Counts the frame paints (WM_NCPAINT, WM_NCACTIVATE) sent to a window while it is visible, from
// Start on, through a hook on this thread's window procedure calls.
class TFrameWatch {
 public:
  explicit TFrameWatch(HWND window)
      : FWindow(window), FHook(SetWindowsHookExA(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId())) {
    Current() = this;
  }
  ~TFrameWatch() {
    UnhookWindowsHookEx(FHook);
    Current() = nullptr;
  }
  TFrameWatch(const TFrameWatch&) = delete;
  TFrameWatch& operator=(const TFrameWatch&) = delete;
  void Start() { FWatching = true; }
  int Painted = 0;

 private:
  static TFrameWatch*& Current() {
    static TFrameWatch* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    TFrameWatch* self = Current();
    if (code == HC_ACTION && self && self->FWatching && call->hwnd == self->FWindow &&
        (call->message == WM_NCPAINT || call->message == WM_NCACTIVATE) && IsWindowVisible(call->hwnd))
      ++self->Painted;
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  HWND FWindow;
  HHOOK FHook;
  bool FWatching = false;
};

// The first node of the tree, depth first, whose caption is text; nullptr when there is none.
inline TTreeNode* FindNode(TTreeView* tree, const std::string& text) {
  std::function<TTreeNode*(TTreeNode*)> walk = [&](TTreeNode* n) -> TTreeNode* {
    for (; n; n = n->getNextSibling()) {
      if (n->Text() == text) return n;
      if (TTreeNode* found = walk(n->getFirstChild())) return found;
    }
    return nullptr;
  };
  return walk(tree->Items().GetFirstNode());
}

}  // namespace velloran_testing
