// How a window first comes on screen: the moment it is shown, the moment it is completely painted,
// and how often it and each window below it painted its client (WM_PAINT) and its frame
// (WM_NCPAINT) in between. Hooks on the calling thread, which must be the window's, see every paint
// it handles, sent or taken from its queue. The start-up benchmarks and the tests share it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace startup_timing {

// Milliseconds since the system created this process.
inline double Now() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  auto ticks = [](FILETIME t) { return int64_t(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime); };
  return double(ticks(now) - ticks(created)) / 10000;
}

class TPaintCount {
 public:
  static std::string ClassOf(HWND Wnd) {
    char name[128] = {};
    GetClassNameA(Wnd, name, sizeof name);
    return name;
  }
  struct TWindowPaints {
    HWND Window;
    std::string Name;
    int Paint = 0, Frame = 0;
  };
  // How a window is named in the counts; by default its class name.
  static inline std::string (*NameOf)(HWND Window) = ClassOf;

  // Watches the first top-level window of the class to be shown on this thread.
  explicit TPaintCount(std::string ClassName) : FClass(std::move(ClassName)) {
    std::lock_guard<std::mutex> lock(Lock());
    if (Counts().empty()) {
      Hooks()[0] = SetWindowsHookExA(WH_CALLWNDPROC, Sent, nullptr, GetCurrentThreadId());
      Hooks()[1] = SetWindowsHookExA(WH_GETMESSAGE, Taken, nullptr, GetCurrentThreadId());
    }
    Counts().push_back(this);
  }
  ~TPaintCount() {
    std::lock_guard<std::mutex> lock(Lock());
    std::erase(Counts(), this);
    if (Counts().empty())
      for (HHOOK& h : Hooks()) {
        UnhookWindowsHookEx(h);
        h = nullptr;
      }
  }
  TPaintCount(const TPaintCount&) = delete;
  TPaintCount& operator=(const TPaintCount&) = delete;

  // Nothing of the window or below it is left to paint, and it painted since it was shown: it is
  // on screen as it will stay. From then on no paint is counted. Any thread may ask.
  bool CompletelyPainted() {
    if (FPainted) return true;
    HWND form = FForm;
    if (!form || !FFormPainted || !IsWindowVisible(form) || LeftToPaint(form)) return false;
    FPaintedAt = Now();
    FPainted = true;
    return true;
  }

  HWND Form() const { return FForm; }
  double Shown() const { return FShownAt; }
  double Painted() const { return FPaintedAt; }
  // Each window that painted, in the order of its first paint.
  std::vector<TWindowPaints> Windows() const {
    std::lock_guard<std::mutex> lock(Lock());
    return FWindows;
  }

 private:
  static bool LeftToPaint(HWND Wnd) {
    if (GetUpdateRect(Wnd, nullptr, FALSE)) return true;
    for (HWND c = GetWindow(Wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (IsWindowVisible(c) && LeftToPaint(c)) return true;
    return false;
  }
  static std::mutex& Lock() {
    static std::mutex lock;
    return lock;
  }
  static std::vector<TPaintCount*>& Counts() {
    static std::vector<TPaintCount*> counts;
    return counts;
  }
  static HHOOK (&Hooks())[2] {
    static HHOOK hooks[2] = {};
    return hooks;
  }
  void Seen(HWND Wnd, UINT Msg, WPARAM wParam) {
    if (!FForm) {
      if (Msg == WM_SHOWWINDOW && wParam && !(GetWindowLongA(Wnd, GWL_STYLE) & WS_CHILD) &&
          ClassOf(Wnd) == FClass) {
        FShownAt = Now();
        FForm = Wnd;
      }
      return;
    }
    if ((Msg != WM_PAINT && Msg != WM_NCPAINT) || FPainted) return;
    if (Wnd != FForm && !IsChild(FForm, Wnd)) return;
    auto it = FWindows.begin();
    while (it != FWindows.end() && it->Window != Wnd) ++it;
    if (it == FWindows.end()) it = FWindows.insert(it, {Wnd, NameOf(Wnd)});
    (Msg == WM_PAINT ? it->Paint : it->Frame) += 1;
    if (Wnd == FForm) FFormPainted = true;
  }
  static void SeenByAll(HWND Wnd, UINT Msg, WPARAM wParam) {
    std::lock_guard<std::mutex> lock(Lock());
    for (TPaintCount* c : Counts()) c->Seen(Wnd, Msg, wParam);
  }
  static LRESULT CALLBACK Sent(int Code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (Code == HC_ACTION) SeenByAll(call->hwnd, call->message, call->wParam);
    return CallNextHookEx(nullptr, Code, wParam, lParam);
  }
  static LRESULT CALLBACK Taken(int Code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (Code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_PAINT)
      SeenByAll(msg->hwnd, msg->message, msg->wParam);
    return CallNextHookEx(nullptr, Code, wParam, lParam);
  }

  std::string FClass;
  std::atomic<HWND> FForm{nullptr};
  std::atomic<bool> FFormPainted{false}, FPainted{false};
  double FShownAt = 0, FPaintedAt = 0;
  std::vector<TWindowPaints> FWindows;
};

// Waits on a thread of its own until the windows of every count are completely painted, then, when
// asked to, closes the window of the last count; after Limit milliseconds it closes it all the same.
class TPaintWatch {
 public:
  TPaintWatch(std::vector<TPaintCount*> Counts, bool Close, DWORD Limit = 30000)
      : FCounts(std::move(Counts)), FClose(Close), FLimit(Limit) {
    FThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~TPaintWatch() {
    FStop = true;
    WaitForSingleObject(FThread, 5000);
    CloseHandle(FThread);
  }
  TPaintWatch(const TPaintWatch&) = delete;
  TPaintWatch& operator=(const TPaintWatch&) = delete;
  bool Done() const { return FDone; }

 private:
  static DWORD WINAPI Run(void* Self) {
    auto* self = static_cast<TPaintWatch*>(Self);
    const DWORD start = GetTickCount();
    while (!self->FStop && !self->FDone && GetTickCount() - start < self->FLimit) {
      bool all = true;
      // Each is asked every time, so each is seen complete as soon as it is.
      for (TPaintCount* c : self->FCounts) all = c->CompletelyPainted() && all;
      self->FDone = all;
      if (!all) Sleep(1);
    }
    HWND last = self->FCounts.back()->Form();
    if (self->FClose && last) PostMessageA(last, WM_CLOSE, 0, 0);
    return 0;
  }
  std::vector<TPaintCount*> FCounts;
  bool FClose;
  DWORD FLimit;
  HANDLE FThread = nullptr;
  std::atomic<bool> FStop{false}, FDone{false};
};

}  // namespace startup_timing
