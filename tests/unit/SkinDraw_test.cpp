// The drawing routines, pixel by pixel: on pictures whose every slice has its own colour, and on
// the solid-colour test skin's own pictures.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "SkinDrawTesting.h"
#include "skin/RezIderData.h"
#include "skin/RezIderForm.h"

using namespace drawtest;
using testskin::TestSkinColour;
using testskin::TestSkinPixel;

namespace {

constexpr COLORREF kBackground = RGB(1, 2, 3);
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kMarker = RGB(250, 250, 5);

// Nine zones of a frame: row band * 3 + column band (0 left/top, 1 middle, 2 right/bottom).
COLORREF ZoneColour(int frame, int zone) { return RGB(10 + 20 * zone, 30 + 60 * (frame - 1), 90); }

int Band(int v, int lo, int size, int hi) { return v < lo ? 0 : v >= size - hi ? 2 : 1; }

// A horizontal (or stacked) strip of frames fw x fh whose zones under margins m are ZoneColour;
// with markCentre, the centre's first column is kMarker so that tiles show where they start.
std::unique_ptr<TBitmap> ZoneStrip(int frames, int fw, int fh, RECT m, bool vertical = false,
                                   bool markCentre = false) {
  int w = vertical ? fw : fw * frames, h = vertical ? fh * frames : fh;
  return MakePicture(w, h, [=](int x, int y) {
    int frame = 1 + (vertical ? y / fh : x / fw);
    int fx = vertical ? x : x % fw, fy = vertical ? y % fh : y;
    int zone = Band(fy, m.top, fh, m.bottom) * 3 + Band(fx, m.left, fw, m.right);
    if (markCentre && zone == 4 && fx == m.left) return kMarker;
    return ZoneColour(frame, zone);
  });
}

// Every pixel of a W x H picture lies in the zone its margins say.
void ExpectZones(TBitmap& pic, int frame, RECT m, int dx = 0, int dy = 0, int W = -1, int H = -1) {
  if (W < 0) W = pic.Width();
  if (H < 0) H = pic.Height();
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      int zone = Band(y, m.top, H, m.bottom) * 3 + Band(x, m.left, W, m.right);
      ASSERT_EQ(PixelAt(pic, x + dx, y + dy), ZoneColour(frame, zone)) << "pixel " << x << "," << y;
    }
}

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

}  // namespace

// ---- Frames of a strip -------------------------------------------------------------------------

TEST(StripFrame, HorizontalFramesDivideTheWidthAndNeverUseTheRemainder) {
  TBitmap strip100(100, 10), strip103(103, 10);
  for (TBitmap* s : {&strip100, &strip103}) {
    TStripFrame f = StripFrame(s, 3, 4, false);
    EXPECT_EQ(f.x0, 50);
    EXPECT_EQ(f.fw, 25);
    EXPECT_EQ(f.y0, 0);
    EXPECT_EQ(f.fh, 10);
  }
}

TEST(StripFrame, VerticalFramesAreStacked) {
  TBitmap strip(7, 40);
  TStripFrame f = StripFrame(&strip, 2, 2, true);
  EXPECT_EQ(f.y0, 20);
  EXPECT_EQ(f.fh, 20);
  EXPECT_EQ(f.x0, 0);
  EXPECT_EQ(f.fw, 7);
}

TEST(StripFrame, FrameNumbersAndCountsOutOfRangeStayInsideTheStrip) {
  TBitmap strip(40, 5);
  EXPECT_EQ(StripFrame(&strip, 9, 4, false).x0, 30);  // the last frame
  EXPECT_EQ(StripFrame(&strip, 0, 4, false).x0, 0);   // the first
  TStripFrame whole = StripFrame(&strip, 1, 0, false);
  EXPECT_EQ(whole.fw, 40);
}

TEST(DrawStripFrame, CopiesEachFrameOfTheTestSkinsButtonStrip) {
  auto strip = TestSkinPicture(testskin::tpButtons);
  const auto& info = testskin::kTestPictures[testskin::tpButtons];
  for (int k = 1; k <= info.frames; ++k) {
    TBitmap target(info.frameWidth + 4, info.frameHeight + 4);
    DrawStripFrame(target.Canvas()->Handle(), Rect(2, 2, 2 + info.frameWidth, 2 + info.frameHeight),
                   strip.get(), k, info.frames, 0);
    for (int y = 0; y < info.frameHeight; ++y)
      for (int x = 0; x < info.frameWidth; ++x)
        ASSERT_EQ(PixelAt(target, x + 2, y + 2),
                  TestSkinPixel(testskin::tpButtons, (k - 1) * info.frameWidth + x, y))
            << "frame " << k << " pixel " << x << "," << y;
    EXPECT_EQ(PixelAt(target, 1, 1), RGB(255, 255, 255));  // outside the target: untouched
  }
}

TEST(DrawStripFrame, StretchesOneFrameOverTheWholeTarget) {
  auto strip = TestSkinPicture(testskin::tpTabs);  // 5 solid frames of 8 x 6
  TBitmap target(30, 17);
  DrawStripFrame(target.Canvas()->Handle(), Rect(0, 0, 30, 17), strip.get(), 4, 5, 0);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(PixelAt(target, x, y), TestSkinColour(testskin::tpTabs, 4));
}

TEST(DrawStripFrame, TransparentLeavesKeyPixelsShowingTheBackground) {
  auto strip = TestSkinPicture(testskin::tpClose);  // marked: key, near key, opaque mark
  auto target = Solid(6, 5, kBackground);
  DrawStripFrame(target->Canvas()->Handle(), Rect(0, 0, 6, 5), strip.get(), 2, 4, 1);
  EXPECT_EQ(PixelAt(*target, 0, 0), kBackground);
  EXPECT_EQ(PixelAt(*target, 1, 0), testskin::kNearKeyMark);
  EXPECT_EQ(PixelAt(*target, 2, 0), testskin::kOpaqueMark);
  EXPECT_EQ(PixelAt(*target, 3, 0), TestSkinColour(testskin::tpClose, 2));
}

TEST(DrawStripFrame, AnInvertedTargetDrawsNothing) {
  auto strip = TestSkinPicture(testskin::tpTabs);
  auto target = Solid(10, 10, kBackground);
  DrawStripFrame(target->Canvas()->Handle(), Rect(8, 2, 4, 6), strip.get(), 1, 5, 0);
  DrawStripFrame(target->Canvas()->Handle(), Rect(2, 8, 6, 4), strip.get(), 1, 5, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelAt(*target, x, y), kBackground);
}

// ---- Nine slices -------------------------------------------------------------------------------

TEST(BuildNineSliceBitmap, CornersKeepTheirSizeEdgesAndCentreStretch) {
  RECT m = Rect(3, 2, 4, 5);
  auto strip = ZoneStrip(3, 12, 11, m);
  for (int k = 1; k <= 3; ++k) {
    auto pic = BuildNineSliceBitmap(Rect(100, 50, 131, 73), strip.get(), m, k, 3, 0, 0);
    ASSERT_EQ(pic->Width(), 31);
    ASSERT_EQ(pic->Height(), 23);
    ExpectZones(*pic, k, m);
  }
}

TEST(BuildNineSliceBitmap, TakesFramesOfAStackedStrip) {
  RECT m = Rect(2, 2, 2, 2);
  auto strip = ZoneStrip(2, 8, 7, m, true);
  auto pic = BuildNineSliceBitmap(Rect(0, 0, 20, 15), strip.get(), m, 2, 2, 0, 1);
  ExpectZones(*pic, 2, m);
}

TEST(BuildNineSliceBitmap, MarginsThatDoNotFitAreDroppedPerAxis) {
  RECT m = Rect(6, 2, 6, 2);
  auto strip = ZoneStrip(1, 14, 6, m);
  auto pic = BuildNineSliceBitmap(Rect(0, 0, 10, 12), strip.get(), m, 1, 1, 0, 0);
  // Left and right are gone: each band is its whole row of the frame squeezed to 10 pixels.
  for (int y = 0; y < 12; ++y) {
    int band = y < 2 ? 0 : y >= 10 ? 2 : 1;
    EXPECT_EQ(PixelAt(*pic, 0, y), ZoneColour(1, band * 3 + 0)) << y;
    EXPECT_EQ(PixelAt(*pic, 9, y), ZoneColour(1, band * 3 + 2)) << y;
    for (int x = 0; x < 10; ++x) {
      COLORREF c = PixelAt(*pic, x, y);
      EXPECT_TRUE(c == ZoneColour(1, band * 3) || c == ZoneColour(1, band * 3 + 1) ||
                  c == ZoneColour(1, band * 3 + 2))
          << x << "," << y;
    }
  }
}

TEST(BuildNineSliceBitmap, ATargetExactlyAsWideAsBothMarginsKeepsThemAndHasNoCentre) {
  RECT m = Rect(6, 2, 6, 2);
  auto strip = ZoneStrip(1, 14, 6, m);
  auto pic = BuildNineSliceBitmap(Rect(0, 0, 12, 9), strip.get(), m, 1, 1, 0, 0);
  ExpectZones(*pic, 1, m);
}

TEST(BuildNineSliceBitmap, TiledCentreRepeatsFromItsLeftAndTheRightEdgeCoversTheOverrun) {
  RECT m = Rect(3, 2, 4, 2);
  auto strip = ZoneStrip(1, 3 + 10 + 4, 8, m, false, true);  // centre piece 10 wide, 4 high
  auto pic = BuildNineSliceBitmap(Rect(0, 0, 3 + 25 + 4, 12), strip.get(), m, 1, 1, 1, 0);
  for (int y = 2; y < 10; ++y) {
    for (int x = 3; x < 28; ++x) {
      COLORREF want = (x - 3) % 10 == 0 ? kMarker : ZoneColour(1, 4);
      ASSERT_EQ(PixelAt(*pic, x, y), want) << x << "," << y;
    }
    for (int x = 28; x < 32; ++x) ASSERT_EQ(PixelAt(*pic, x, y), ZoneColour(1, 5)) << x << "," << y;
  }
}

TEST(BuildNineSliceBitmap, TilesPastTheRightSideFallOutsideWhenThereIsNoRightMargin) {
  RECT m = Rect(3, 0, 0, 0);
  auto strip = ZoneStrip(1, 13, 4, m, false, true);
  auto pic = BuildNineSliceBitmap(Rect(0, 0, 28, 4), strip.get(), m, 1, 1, 1, 0);
  for (int x = 3; x < 28; ++x)
    EXPECT_EQ(PixelAt(*pic, x, 1), (x - 3) % 10 == 0 ? kMarker : ZoneColour(1, 4)) << x;
}

TEST(BuildNineSliceBitmap, AZeroSizedTargetGivesAnEmptyPicture) {
  auto strip = ZoneStrip(1, 10, 10, Rect(2, 2, 2, 2));
  EXPECT_TRUE(BuildNineSliceBitmap(Rect(5, 5, 5, 20), strip.get(), Rect(2, 2, 2, 2), 1, 1, 0, 0)->Empty());
}

TEST(DrawNineSlice, DrawsThePictureAtTheTargetCorner) {
  RECT m = Rect(2, 3, 2, 1);
  auto strip = ZoneStrip(2, 9, 9, m);
  auto target = Solid(40, 30, kBackground);
  DrawNineSlice(target->Canvas()->Handle(), Rect(5, 4, 25, 24), strip.get(), m, 2, 2, 0, 0, 0);
  ExpectZones(*target, 2, m, 5, 4, 20, 20);
  EXPECT_EQ(PixelAt(*target, 4, 4), kBackground);
  EXPECT_EQ(PixelAt(*target, 25, 23), kBackground);
  EXPECT_EQ(PixelAt(*target, 24, 24), kBackground);
}

TEST(DrawNineSlice, TransparentShowsTheBackgroundThroughExactlyTheKeyColour) {
  // Left edge of the test skin: frames 3 x 10, marks in the top row.
  auto strip = TestSkinPicture(testskin::tpLeft);
  auto target = Solid(3, 10, kBackground);
  DrawNineSlice(target->Canvas()->Handle(), Rect(0, 0, 3, 10), strip.get(), Rect(0, 0, 0, 0), 2, 2, 1, 0, 0);
  EXPECT_EQ(PixelAt(*target, 0, 0), kBackground);
  EXPECT_EQ(PixelAt(*target, 1, 0), testskin::kNearKeyMark);
  EXPECT_EQ(PixelAt(*target, 2, 0), testskin::kOpaqueMark);
  for (int y = 1; y < 10; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(*target, x, y), TestSkinColour(testskin::tpLeft, 2));
}

TEST(DrawNineSlice, APixelOneStepFromTheKeyIsDrawn) {
  auto strip = MakePicture(3, 1, [](int x, int) {
    return x == 0 ? kKey : x == 1 ? RGB(255, 0, 254) : RGB(254, 0, 255);
  });
  auto target = Solid(3, 1, kBackground);
  DrawNineSlice(target->Canvas()->Handle(), Rect(0, 0, 3, 1), strip.get(), Rect(0, 0, 0, 0), 1, 1, 1, 0, 0);
  EXPECT_EQ(PixelAt(*target, 0, 0), kBackground);
  EXPECT_EQ(PixelAt(*target, 1, 0), RGB(255, 0, 254));
  EXPECT_EQ(PixelAt(*target, 2, 0), RGB(254, 0, 255));
}

TEST(DrawNineSlice, AnInvertedTargetDrawsNothing) {
  auto strip = ZoneStrip(1, 9, 9, Rect(2, 2, 2, 2));
  auto target = Solid(20, 20, kBackground);
  DrawNineSlice(target->Canvas()->Handle(), Rect(10, 2, 5, 12), strip.get(), Rect(2, 2, 2, 2), 1, 1, 0, 0, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(PixelAt(*target, x, y), kBackground);
}

TEST(DrawNineSlice, PaintsARealWindow) {
  HWND w = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 20, 20, 60, 40, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(w);
  UpdateWindow(w);
  RECT m = Rect(4, 4, 4, 4);
  auto strip = ZoneStrip(1, 12, 12, m);
  HDC dc = GetDC(w);
  DrawNineSlice(dc, Rect(0, 0, 60, 40), strip.get(), m, 1, 1, 0, 0, 0);
  GdiFlush();
  for (int y = 0; y < 40; y += 3)
    for (int x = 0; x < 60; x += 3) {
      int zone = Band(y, 4, 40, 4) * 3 + Band(x, 4, 60, 4);
      EXPECT_EQ(GetPixel(dc, x, y), ZoneColour(1, zone)) << x << "," << y;
    }
  ReleaseDC(w, dc);
  DestroyWindow(w);
}

TEST(StretchNineSlice, DrawsTheBorderAndLeavesTheCentreAsItWas) {
  RECT m = Rect(3, 2, 2, 3);
  auto strip = ZoneStrip(2, 10, 10, m);
  auto target = Solid(30, 30, kBackground);
  StretchNineSlice(target->Canvas()->Handle(), Rect(4, 5, 24, 22), strip.get(), m, 1, 2, 0, 0);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      COLORREF want = kBackground;
      if (x >= 4 && x < 24 && y >= 5 && y < 22) {
        int zone = Band(y - 5, 2, 17, 3) * 3 + Band(x - 4, 3, 20, 2);
        if (zone != 4) want = ZoneColour(1, zone);
      }
      ASSERT_EQ(PixelAt(*target, x, y), want) << x << "," << y;
    }
}

// ---- Three slices ------------------------------------------------------------------------------

TEST(DrawThreeSliceTiled, RepeatsTheMiddleAndTheRightPieceCoversItsOverrun) {
  // Frame 24 wide: left 10, middle 4 (first column marked), right 10; 2 high, stretched to 5.
  RECT m = Rect(10, 0, 10, 0);
  auto strip = ZoneStrip(2, 24, 2, m, false, true);
  TBitmap target(30, 5);
  DrawThreeSliceTiled(target.Canvas(), Rect(0, 0, 30, 5), strip.get(), m, 2, 2, 0, 0);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 30; ++x) {
      COLORREF want = x < 10              ? ZoneColour(2, 3)
                      : x >= 20           ? ZoneColour(2, 5)
                      : (x - 10) % 4 == 0 ? kMarker
                                          : ZoneColour(2, 4);
      ASSERT_EQ(PixelAt(target, x, y), want) << x << "," << y;
    }
}

TEST(DrawThreeSliceTiled, OverlappingPiecesLetTheRightOneWin) {
  RECT m = Rect(5, 0, 5, 0);
  auto strip = ZoneStrip(1, 14, 3, m);
  TBitmap target(8, 3);
  DrawThreeSliceTiled(target.Canvas(), Rect(0, 0, 8, 3), strip.get(), m, 1, 1, 0, 0);
  for (int x = 0; x < 8; ++x)
    EXPECT_EQ(PixelAt(target, x, 1), x < 3 ? ZoneColour(1, 3) : ZoneColour(1, 5)) << x;
}

TEST(DrawThreeSliceTiled, TransparentLeavesTheKeyOut) {
  auto strip = TestSkinPicture(testskin::tpTitle);  // stacked 8 x 5 frames, marks in the top row
  auto target = Solid(8, 5, kBackground);
  DrawThreeSliceTiled(target->Canvas(), Rect(0, 0, 8, 5), strip.get(), Rect(2, 0, 2, 0), 2, 2, 1, 1);
  EXPECT_EQ(PixelAt(*target, 0, 0), kBackground);
  EXPECT_EQ(PixelAt(*target, 1, 0), testskin::kNearKeyMark);
  EXPECT_EQ(PixelAt(*target, 2, 0), testskin::kOpaqueMark);
  EXPECT_EQ(PixelAt(*target, 5, 3), TestSkinColour(testskin::tpTitle, 2));
}

TEST(DrawThreeSliceTiled, AFrameWithNoMiddleRepeatsNothing) {
  RECT m = Rect(6, 0, 6, 0);
  auto strip = ZoneStrip(1, 12, 2, m);
  auto target = Solid(20, 2, kBackground);
  DrawThreeSliceTiled(target->Canvas(), Rect(0, 0, 20, 2), strip.get(), m, 1, 1, 0, 0);
  EXPECT_EQ(PixelAt(*target, 0, 0), ZoneColour(1, 3));
  EXPECT_EQ(PixelAt(*target, 19, 0), ZoneColour(1, 5));
}

// ---- Colour-key copy and tiles -----------------------------------------------------------------

class TransparentPaths : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    FSaved = IsWinNT;
    IsWinNT = GetParam();
  }
  void TearDown() override { IsWinNT = FSaved; }
  bool FSaved = true;
};

TEST_P(TransparentPaths, OnlyTheKeyColourKeepsTheTarget) {
  auto source = MakePicture(4, 3, [](int x, int y) {
    if (y == 0) return x == 0 ? kKey : x == 1 ? RGB(255, 1, 255) : x == 2 ? RGB(255, 0, 254) : RGB(9, 8, 7);
    return (x + y) % 2 ? kKey : RGB(40 * x, 50 * y, 60);
  });
  auto target = Solid(8, 8, kBackground);
  HDC dc = target->Canvas()->Handle();
  SetBkColor(dc, RGB(7, 7, 7));
  SetTextColor(dc, RGB(8, 8, 8));
  DrawTransparentBitmap(dc, Rect(2, 3, 6, 6), source.get(), kKey);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 3 && y < 6;
      COLORREF s = inside ? PixelAt(*source, x - 2, y - 3) : kKey;
      ASSERT_EQ(PixelAt(*target, x, y), s == kKey ? kBackground : s) << x << "," << y;
    }
  EXPECT_EQ(GetBkColor(dc), RGB(7, 7, 7));
  EXPECT_EQ(GetTextColor(dc), RGB(8, 8, 8));
}

INSTANTIATE_TEST_SUITE_P(NtAndOther, TransparentPaths, testing::Values(true, false));

TEST(DrawTiledPiece, RepeatsThePieceWithoutClippingTheLastTiles) {
  auto source =
      MakePicture(10, 10, [](int x, int y) { return x == 2 && y == 3 ? kMarker : RGB(x * 20, y * 20, 7); });
  auto target = Solid(40, 30, kBackground);
  DrawTiledPiece(target->Canvas(), Rect(1, 1, 15, 9), source.get(), Rect(2, 3, 8, 7));  // 6 x 4 piece
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      // Tiles at x = 1, 7, 13 (the last runs to 19) and y = 1, 5 (the last runs to 9).
      bool inside = x >= 1 && x < 19 && y >= 1 && y < 9;
      COLORREF want = inside ? PixelAt(*source, 2 + (x - 1) % 6, 3 + (y - 1) % 4) : kBackground;
      ASSERT_EQ(PixelAt(*target, x, y), want) << x << "," << y;
    }
}

TEST(DrawTiledPiece, AnEmptyOrInvertedPieceDrawsNothing) {
  auto source = Solid(10, 10, kMarker);
  auto target = Solid(10, 10, kBackground);
  DrawTiledPiece(target->Canvas(), Rect(0, 0, 10, 10), source.get(), Rect(2, 2, 2, 8));
  DrawTiledPiece(target->Canvas(), Rect(0, 0, 10, 10), source.get(), Rect(5, 2, 3, 8));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelAt(*target, x, y), kBackground);
}

// ---- Regions -----------------------------------------------------------------------------------

namespace {

std::vector<RECT> RegionRects(HRGN rgn) {
  DWORD size = GetRegionData(rgn, 0, nullptr);
  std::vector<char> buf(size);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  EXPECT_EQ(GetRegionData(rgn, size, data), size);
  const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(r, r + data->rdh.nCount);
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(CreateRegionFromBitmap, LeavesOutTheKeyColumnAndTheCallersPictureAsItWas) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    auto bmp = MakePicture(3, 2, [](int x, int) { return x == 1 ? kKey : RGB(255, 255, 255); });
    bmp->SetPixelFormat(format);
    HRGN rgn = CreateRegionFromBitmap(bmp.get(), 0, 0, kKey, 1, 1, 1);
    ASSERT_TRUE(rgn);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(PtInRegion(rgn, x, y) != 0, x != 1) << x << "," << y;
    // The four one-pixel runs as the system keeps them: rows of equal runs merged into bands.
    std::vector<RECT> rects = RegionRects(rgn);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_TRUE(SameRect(rects[0], RECT{0, 0, 1, 2}));
    EXPECT_TRUE(SameRect(rects[1], RECT{2, 0, 3, 2}));
    DeleteObject(rgn);
    EXPECT_EQ(bmp->PixelFormat(), format);
  }
}

TEST(CreateRegionFromBitmap, GreenOneIsTransparentGreenTwoIsNotAndOffsetsMoveTheRuns) {
  auto bmp = MakePicture(3, 1, [](int x, int) {
    return x == 0 ? RGB(255, 1, 255) : x == 1 ? RGB(255, 2, 255) : kKey;
  });
  HRGN rgn = CreateRegionFromBitmap(bmp.get(), 10, 20, kKey, 1, 1, 1);
  std::vector<RECT> rects = RegionRects(rgn);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_TRUE(SameRect(rects[0], RECT{11, 20, 12, 21}));
  DeleteObject(rgn);
}

TEST(CreateRegionFromBitmap, TheTestSkinTopEdgeMarksAreCutOut) {
  auto top = TestSkinPicture(testskin::tpTop);  // stacked frames 10 x 5, marks at each frame's top row
  HRGN rgn = CreateRegionFromBitmap(top.get(), 0, 0, kKey, 1, 1, 1);
  for (int y = 0; y < top->Height(); ++y)
    for (int x = 0; x < top->Width(); ++x) {
      COLORREF c = TestSkinPixel(testskin::tpTop, x, y);
      bool transparent = c == testskin::kKeyMark || c == testskin::kNearKeyMark;
      ASSERT_EQ(PtInRegion(rgn, x, y) != 0, !transparent) << x << "," << y;
    }
  DeleteObject(rgn);
}

TEST(CreateRegionFromBitmap, MoreRunsThanOneBatchGiveTheirUnion) {
  // 2500 runs: every other pixel of a 100 x 50 picture is the key.
  auto bmp = MakePicture(100, 50, [](int x, int y) { return (x + y) % 2 ? kKey : RGB(x, y, 9); });
  HRGN rgn = CreateRegionFromBitmap(bmp.get(), 0, 0, kKey, 1, 1, 1);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(PtInRegion(rgn, x, y) != 0, (x + y) % 2 == 0) << x << "," << y;
  EXPECT_EQ(RegionRects(rgn).size(), 2500u);
  DeleteObject(rgn);
}

// The system may read the bound of a batch; only this Wine ignores it.
TEST(RegionBuilder, ABatchBoundTakesInEveryRectangleOnceTheRoomHasGrown) {
  TRegionBuilder builder;
  for (int y = 0; y < TRegionBuilder::kGrowth + 100; ++y) builder.Add(y % 7, y, 10 + y % 7, y + 1);
  const RGNDATAHEADER& header = builder.BatchHeader();
  EXPECT_EQ(header.nCount, DWORD(TRegionBuilder::kGrowth + 100));
  EXPECT_TRUE(SameRect(header.rcBound, RECT{0, 0, 16, TRegionBuilder::kGrowth + 100}));
}

TEST(CreateRegionFromBitmap, AnAllTransparentPictureGivesAnEmptyRegion) {
  auto bmp = Solid(5, 5, kKey);
  HRGN rgn = CreateRegionFromBitmap(bmp.get(), 0, 0, kKey, 1, 1, 1);
  ASSERT_TRUE(rgn);
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), NULLREGION);
  DeleteObject(rgn);
}

// ---- Text and utilities ------------------------------------------------------------------------

TEST(IntMaxMin, GiveTheLargerAndTheSmaller) {
  EXPECT_EQ(IntMax(-3, 2), 2);
  EXPECT_EQ(IntMin(-3, 2), -3);
  EXPECT_EQ(IntMax(5, 5), 5);
}

namespace {
// The box of the pixels that are not the background, or an empty one.
RECT InkBox(TBitmap& bmp, COLORREF background, std::set<COLORREF>* colours = nullptr) {
  RECT box{bmp.Width(), bmp.Height(), -1, -1};
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      COLORREF c = PixelAt(bmp, x, y);
      if (c == background) continue;
      if (colours) colours->insert(c);
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  return box;
}
}  // namespace

TEST(DrawCenteredText, CentresTheTextWhateverTheAlignment) {
  std::vector<RECT> boxes;
  for (int alignment : {0, 1, 2}) {
    auto bmp = Solid(200, 40, RGB(255, 255, 255));
    TCanvas* c = bmp->Canvas();
    c->Font()->SetColor(clBlack);
    DrawCenteredText(c, Rect(0, 0, 200, 40), "Centred", true, alignment);
    boxes.push_back(InkBox(*bmp, RGB(255, 255, 255)));
    ASSERT_LT(boxes.back().left, boxes.back().right) << "nothing drawn";
  }
  for (const RECT& b : boxes) {
    EXPECT_TRUE(SameRect(b, boxes[0]));
    EXPECT_LE(std::abs((b.left - 0) - (200 - b.right)), 4) << b.left << " " << b.right;
    EXPECT_LE(std::abs((b.top - 0) - (40 - b.bottom)), 8) << b.top << " " << b.bottom;
  }
}

TEST(DrawCenteredText, ADisabledTextIsDrawnInTheButtonShadowColourWhichStays) {
  auto bmp = Solid(120, 30, RGB(255, 255, 255));
  TCanvas* c = bmp->Canvas();
  c->Font()->SetColor(clBlack);
  c->Brush()->SetColor(clRed);  // a clear brush fills nothing
  std::set<COLORREF> colours;
  DrawCenteredText(c, Rect(0, 0, 120, 30), "Grey", false, 0);
  InkBox(*bmp, RGB(255, 255, 255), &colours);
  EXPECT_TRUE(colours.count(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_FALSE(colours.count(RGB(0, 0, 0)));
  EXPECT_FALSE(colours.count(RGB(255, 0, 0)));
  EXPECT_EQ(c->Font()->Color(), clBtnShadow);
  EXPECT_EQ(c->Brush()->Style(), bsClear);
}

// ---- Resources ---------------------------------------------------------------------------------

// The count comes from GdiObjectCount (GraphicsHelpers.h): GetGuiResources where the system answers it;
// under Wine, which answers 0, the free room of the GDI handle table.
TEST(SkinDrawResources, AThousandDrawsOfEveryRoutineLeaveNoGdiObjectBehind) {
  RECT m = Rect(3, 3, 3, 3);
  auto strip = ZoneStrip(2, 12, 12, m, false, true);
  auto keyed = TestSkinPicture(testskin::tpLeft);
  auto target = Solid(64, 48, kBackground);
  TCanvas* c = target->Canvas();
  auto drawAll = [&] {
    HDC dc = c->Handle();
    BuildNineSliceBitmap(Rect(0, 0, 40, 30), strip.get(), m, 1, 2, 1, 0).reset();
    DrawNineSlice(dc, Rect(0, 0, 40, 30), strip.get(), m, 2, 2, 1, 0, 0);
    StretchNineSlice(dc, Rect(0, 0, 40, 30), strip.get(), m, 1, 2, 0, 0);
    DrawThreeSliceTiled(c, Rect(0, 0, 40, 10), strip.get(), m, 1, 2, 1, 0);
    DrawStripFrame(c->Handle(), Rect(0, 0, 20, 20), strip.get(), 1, 2, 1);
    DrawTransparentBitmap(c->Handle(), Rect(0, 0, 3, 10), keyed.get(), kKey);
    DrawTiledPiece(c, Rect(0, 0, 30, 30), strip.get(), Rect(3, 3, 9, 9));
    DeleteObject(CreateRegionFromBitmap(keyed.get(), 0, 0, kKey, 1, 1, 1));
    DrawCenteredText(c, Rect(0, 0, 64, 48), "x", false, 2);
  };
  drawAll();  // the canvas makes its font, brush and pen once
  int before = GdiObjectCount();
  for (int i = 0; i < 1000; ++i) drawAll();
  int after = GdiObjectCount();
  // One object lost per call would show as a thousand.
  EXPECT_LE(after - before, 2) << before << " -> " << after;
}
