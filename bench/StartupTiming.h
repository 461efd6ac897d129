// Where a program's start goes: the start-up benchmarks make a program's main form the way its
// start does, with stand-ins for a few of its classes that time their own work, and print the
// phases in milliseconds since the process was created.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "skin/RezIderData.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"

namespace startup_timing {

// Milliseconds since the system created this process.
inline double Now() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  auto ticks = [](FILETIME t) { return int64_t(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime); };
  return double(ticks(now) - ticks(created)) / 10000;
}

// Time spent inside calls, however they nest: only the outermost call counts.
struct TSpan {
  double Total = 0;
  int Depth = 0;
  double Since = 0;
  void Enter() {
    if (Depth++ == 0) Since = Now();
  }
  void Leave() {
    if (--Depth == 0) Total += Now() - Since;
  }
};

template <class Fn>
void Timed(TSpan& span, Fn fn) {
  span.Enter();
  try {
    fn();
  } catch (...) {
    span.Leave();
    throw;
  }
  span.Leave();
}

inline TSpan SkinLoad, Windows, ActiveX;

// The skin component, timing the load of its stored skin.
class TTimedSkinData : public TSkinData {
 public:
  using TSkinData::TSkinData;
  void DefineProperties(TFiler* Filer) override {
    Timed(SkinLoad, [&] { TSkinData::DefineProperties(Filer); });
  }
};

// An ActiveX control, timing the making of its window and the control in it.
template <class T>
class TTimedActiveX : public T {
 public:
  using T::T;

 protected:
  void CreateWnd() override {
    Timed(ActiveX, [&] { T::CreateWnd(); });
  }
};

// A main form that times the making of its windows (its controls' with them).
template <class T>
class TTimedForm : public T {
 public:
  using T::T;

 protected:
  void CreateWnd() override {
    Timed(Windows, [&] { T::CreateWnd(); });
  }
};

// Puts the timing stand-ins in place of the classes the form descriptions name.
template <class... Controls>
void UseTimedClasses() {
  RegisterComponentClass("TSkinData",
                         [](TComponent* Owner) -> TComponent* { return new TTimedSkinData(Owner); });
  (RegisterComponentClass(
       Controls::StaticClass()->Name,
       [](TComponent* Owner) -> TComponent* { return new TTimedActiveX<Controls>(Owner); }),
   ...);
}

// Watches from a thread of its own for a window of a class to be shown and then painted (shown
// with nothing of it or its children left to paint), notes both times, and closes it.
class TPaintWatch {
 public:
  explicit TPaintWatch(std::string ClassName) : FClass(std::move(ClassName)) {
    FThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~TPaintWatch() {
    FStop = true;
    WaitForSingleObject(FThread, 5000);
    CloseHandle(FThread);
  }
  TPaintWatch(const TPaintWatch&) = delete;
  TPaintWatch& operator=(const TPaintWatch&) = delete;
  double Shown = 0, Painted = 0;

 private:
  static bool LeftToPaint(HWND Wnd) {
    if (GetUpdateRect(Wnd, nullptr, FALSE)) return true;
    for (HWND c = GetWindow(Wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (IsWindowVisible(c) && LeftToPaint(c)) return true;
    return false;
  }
  static DWORD WINAPI Run(void* Self) {
    auto* self = static_cast<TPaintWatch*>(Self);
    HWND wnd = nullptr;
    while (!self->FStop && !self->Painted) {
      if (!wnd) wnd = FindWindowA(self->FClass.c_str(), nullptr);
      if (wnd && IsWindowVisible(wnd)) {
        if (!self->Shown) self->Shown = Now();
        if (!LeftToPaint(wnd)) {
          self->Painted = Now();
          PostMessageA(wnd, WM_CLOSE, 0, 0);
        }
      }
      Sleep(1);
    }
    return 0;
  }
  std::string FClass;
  HANDLE FThread = nullptr;
  volatile bool FStop = false;
};

// The start as a row of moments, each with the time spent in skin loads and in window making so
// far, so that every stretch between two moments can be told apart from those two kinds of work.
class TTimeline {
 public:
  void Mark(const std::string& Name) { FMarks.push_back({Name, Now(), SkinLoad.Total, Windows.Total}); }
  void MarkAt(const std::string& Name, double At) {
    FMarks.push_back({Name, At, SkinLoad.Total, Windows.Total});
  }
  // Prints each stretch (named by the moment it ends at) without the skin loads and window making
  // in it, then those two, then the total: every millisecond counted once.
  void Print(const char* Program, const char* SkinPhase, const char* WindowPhase) const {
    std::printf("%s: where the start goes (ms)\n", Program);
    double last = 0;
    for (const TMoment& m : FMarks) {
      double own = (m.At - last) - (m.Skin - Before(m).Skin) - (m.Windows - Before(m).Windows);
      std::printf("  %-46s %7.1f\n", m.Name.c_str(), own);
      last = m.At;
    }
    std::printf("  %-46s %7.1f\n", SkinPhase, SkinLoad.Total);
    std::printf("  %-46s %7.1f  (ActiveX controls %.1f)\n", WindowPhase, Windows.Total, ActiveX.Total);
    std::printf("  %-46s %7.1f\n", "total", FMarks.empty() ? 0.0 : FMarks.back().At);
  }

 private:
  struct TMoment {
    std::string Name;
    double At, Skin, Windows;
  };
  const TMoment& Before(const TMoment& m) const {
    static const TMoment start{"", 0, 0, 0};
    return &m == &FMarks.front() ? start : (&m)[-1];
  }
  std::vector<TMoment> FMarks;
};

}  // namespace startup_timing
