// The rule of one paint: as a window first comes on screen, it and every window below it paint
// their client and their frame at most once.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "bench/PaintCount.h"

namespace paint_testing {

using startup_timing::TPaintCount;
using startup_timing::TPaintWatch;

inline int VisibleWindows(HWND Window) {
  int n = IsWindowVisible(Window) ? 1 : 0;
  for (HWND c = GetWindow(Window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) n += VisibleWindows(c);
  return n;
}

// Each of the windows painted its frame once and its client at most once (a window that its children
// cover has none to paint).
inline void ExpectPaintedOnce(const TPaintCount& Count, int Windows) {
  ASSERT_NE(Count.Form(), nullptr);
  auto windows = Count.Windows();
  EXPECT_EQ(int(windows.size()), Windows);
  for (const TPaintCount::TWindowPaints& w : windows) {
    EXPECT_LE(w.Paint, 1) << w.Name;
    EXPECT_EQ(w.Frame, 1) << w.Name;
  }
}

}  // namespace paint_testing
