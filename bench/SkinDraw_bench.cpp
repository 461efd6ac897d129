// Skin drawing figures: composing a 688 x 449 window frame from the default skin (nine-slice edges
// and the caption strip) per call, building its window region, beside a plain BitBlt of the same
// area. Run under Wine: wine SkinDraw_bench.exe
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchTiming.h"
#include "skin/RezIderFormDraw.h"
#include "tk/Classes.h"
#include "tk/Graphics.h"

namespace {

std::unique_ptr<TBitmap> Picture(const char* name) {
  TMemoryStream s;
  s.LoadFromFile(std::string("Z:") + DEFAULT_SKIN_DIR + "/" + name);
  s.SetPosition(0);
  auto bmp = std::make_unique<TBitmap>();
  bmp->LoadFromStream(&s);
  return bmp;
}

constexpr int W = 688, H = 449;

}  // namespace

int main() {
  PrintBenchTarget();
  auto top = Picture("top.bmp");        // stacked: active and inactive
  auto bottom = Picture("bottom.bmp");  // stacked
  auto left = Picture("left.bmp");      // side by side
  auto right = Picture("right.bmp");
  auto caption = Picture("titleback.bmp");  // stacked
  const int topH = top->Height() / 2, bottomH = bottom->Height() / 2;
  const int leftW = left->Width() / 2, rightW = right->Width() / 2;

  TBitmap frame(W, H);
  auto drawFrame = [&] {
    HDC dc = frame.Canvas()->Handle();
    DrawNineSlice(dc, RECT{0, 0, W, topH}, top.get(), RECT{10, 0, 10, 0}, 1, 2, 1, 0, 1);
    DrawNineSlice(dc, RECT{0, topH, leftW, H - bottomH}, left.get(), RECT{0, 26 - topH, 0, 4}, 1, 2, 0, 0, 0);
    DrawNineSlice(dc, RECT{W - rightW, topH, W, H - bottomH}, right.get(), RECT{0, 26 - topH, 0, 4}, 1, 2, 0,
                  0, 0);
    DrawNineSlice(dc, RECT{0, H - bottomH, W, H}, bottom.get(), RECT{0, 0, 0, 0}, 1, 2, 1, 0, 1);
    DrawThreeSliceTiled(frame.Canvas(), RECT{60, 0, 400, topH}, caption.get(), RECT{8, 0, 8, 0}, 1, 2, 1, 1);
  };
  drawFrame();

  double compose = 1e6 * SecondsPerRun(drawFrame);
  TBitmap regionSource;
  regionSource.Assign(&frame);
  double region = 1e6 * SecondsPerRun([&] {
                    DeleteObject(CreateRegionFromBitmap(&regionSource, 0, 0, SkinKeyColour, 1, 1, 1));
                  });
  TBitmap target(W, H);
  double blit = 1e6 * SecondsPerRun([&] {
                  BitBlt(target.Canvas()->Handle(), 0, 0, W, H, frame.Canvas()->Handle(), 0, 0, SRCCOPY);
                  GdiFlush();
                });

  HRGN rgn = CreateRegionFromBitmap(&regionSource, 0, 0, SkinKeyColour, 1, 1, 1);
  DWORD rects = 0;
  if (DWORD size = GetRegionData(rgn, 0, nullptr)) {
    std::string buf(size, '\0');
    if (GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(buf.data())))
      rects = reinterpret_cast<RGNDATA*>(buf.data())->rdh.nCount;
  }
  DeleteObject(rgn);

  std::printf("%dx%d frame from the default skin (edges %d/%d/%d/%d px)\n", W, H, leftW, topH, rightW,
              bottomH);
  std::printf("  compose frame (4 nine-slices, caption strip): %9.1f us per call\n", compose);
  std::printf("  build its window region (%lu rectangles):    %9.1f us per call\n",
              static_cast<unsigned long>(rects), region);
  std::printf("  plain BitBlt of the same area:                %9.1f us per call\n", blit);
  return 0;
}
