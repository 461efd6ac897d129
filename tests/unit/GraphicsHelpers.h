// Helpers of the drawing tests: GDI object count, pixels of a bitmap, streams over bytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "tk/Graphics.h"

// GetGuiResources when the system answers it; Wine's returns 0, so there the count is read from the
// handle table's free room: brushes are made until the table is full, and the live objects are the
// difference to the largest room ever seen. A leak of one object per use shows either way.
inline int GdiObjectCount() {
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n > 0) return int(n);
  std::vector<HBRUSH> made;
  made.reserve(70000);
  while (made.size() < 200000) {
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    if (!b) break;
    made.push_back(b);
  }
  for (HBRUSH b : made) DeleteObject(b);
  static int most = 0;
  if (int(made.size()) > most) most = int(made.size());
  return most - int(made.size());
}

// Twenty cycles leave no GDI object behind. A loss in any cycle shows in every batch of them; the
// system may keep an object or two once for good (when another program taking the desktop's
// activation makes the windows repaint meanwhile), so a batch that left some is followed by a
// second, which must leave none.
inline void ExpectCyclesLeaveNoGdiObject(const std::function<void()>& Cycle) {
  auto batch = [&] {
    const int before = GdiObjectCount();
    for (int i = 0; i < 20; ++i) Cycle();
    return GdiObjectCount() - before;
  };
  const int first = batch();
  if (first != 0) {
    EXPECT_EQ(batch(), 0) << "the first batch left " << first;
  }
}

// Pixel (x, y) of a 24- or 32-bit bitmap, read from its scan line.
inline COLORREF PixelAt(TBitmap& b, int x, int y) {
  const uint8_t* p = static_cast<uint8_t*>(b.ScanLine(y)) + x * (b.BitsPerPixel() / 8);
  return RGB(p[2], p[1], p[0]);
}

// A memory stream holding bytes, positioned at its start.
inline TMemoryStream StreamOf(const std::vector<uint8_t>& v) {
  TMemoryStream s;
  s.WriteBuffer(v.data(), int32_t(v.size()));
  s.SetPosition(0);
  return s;
}
