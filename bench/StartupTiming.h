// Where a program's start goes: the start-up benchmarks make a program's main form the way its
// start does, with stand-ins for a few of its classes that time their own work, and print the
// phases in milliseconds since the process was created.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/PaintCount.h"
#include "skin/RezIderData.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"

namespace startup_timing {

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

// The skin component left out, for a skinned window's plain peer: its description is read, but its
// stored skin is dropped unread and it never reaches the skin manager, so every window comes up
// as the toolkit alone draws it.
class TLeftOutSkinData : public TSkinData {
 public:
  using TSkinData::TSkinData;
  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    Filer->DefineBinaryProperty("SkinStream", nullptr, nullptr, false);
  }
  void Loaded() override { TComponent::Loaded(); }
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

// A window in the paint counts: its class, and its name when it is a toolkit control.
inline std::string ControlNameOf(HWND Window) {
  TWinControl* control = TWinControl::FindControl(Window);
  std::string cls = TPaintCount::ClassOf(Window);
  return control && !control->Name().empty() ? cls + " " + control->Name() : cls;
}

// Prints a watch's times and, for each window that painted, its paints: a figure above 1 is a
// window painted more than once as it came on screen.
inline void PrintPaints(const TPaintCount& Watch, const char* Title) {
  std::printf("%s: shown at %.1f ms, completely painted at %.1f ms\n", Title, Watch.Shown(), Watch.Painted());
  for (const TPaintCount::TWindowPaints& w : Watch.Windows())
    std::printf("    %-44s paint %d frame %d\n", w.Name.c_str(), w.Paint, w.Frame);
}

// Puts the timing stand-ins in place of the classes the form descriptions name; with Plain the
// skin component is left out instead of timed.
template <class... Controls>
void UseTimedClasses(bool Plain) {
  TPaintCount::NameOf = ControlNameOf;
  RegisterComponentClass("TSkinData", [Plain](TComponent* Owner) -> TComponent* {
    if (Plain) return new TLeftOutSkinData(Owner);
    return new TTimedSkinData(Owner);
  });
  (RegisterComponentClass(
       Controls::StaticClass()->Name,
       [](TComponent* Owner) -> TComponent* { return new TTimedActiveX<Controls>(Owner); }),
   ...);
}

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
