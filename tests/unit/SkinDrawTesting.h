// Pictures for the drawing tests: made pixel by pixel, or read from the solid-colour test skin.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "GraphicsHelpers.h"
#include "skins/test/TestSkinColours.h"
#include "tk/Classes.h"
#include "tk/Graphics.h"

namespace drawtest {

inline void SetPixelAt(TBitmap& bmp, int x, int y, COLORREF c) {
  uint8_t* p = static_cast<uint8_t*>(bmp.ScanLine(y));
  int step = bmp.PixelFormat() == pf32bit ? 4 : 3;
  p[x * step] = GetBValue(c);
  p[x * step + 1] = GetGValue(c);
  p[x * step + 2] = GetRValue(c);
}

// A w x h picture whose pixel (x, y) is colour(x, y).
inline std::unique_ptr<TBitmap> MakePicture(int w, int h, const std::function<COLORREF(int, int)>& colour) {
  auto bmp = std::make_unique<TBitmap>(w, h, pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelAt(*bmp, x, y, colour(x, y));
  return bmp;
}

inline std::unique_ptr<TBitmap> Solid(int w, int h, COLORREF c) {
  return MakePicture(w, h, [c](int, int) { return c; });
}

// The test skin's folder as the programs under Wine see it.
inline std::string TestSkinFolder() { return std::string("Z:") + TEST_SKIN_DIR + "/"; }

// A picture of the solid-colour test skin, read from its file.
inline std::unique_ptr<TBitmap> TestSkinPicture(int picture) {
  TMemoryStream s;
  s.LoadFromFile(TestSkinFolder() + testskin::kTestPictures[picture].file);
  s.SetPosition(0);
  auto bmp = std::make_unique<TBitmap>();
  bmp->LoadFromStream(&s);
  return bmp;
}

}  // namespace drawtest
