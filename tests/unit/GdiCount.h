// Counting the process's GDI objects in tests.
#pragma once

#include <windows.h>

#include <vector>

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
