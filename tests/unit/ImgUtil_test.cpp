// The skin bitmap transforms, checked pixel by pixel on small pictures.
#include "skin/ImgUtil.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Bgr {
  uint8_t b, g, r;
  bool operator==(const Bgr&) const = default;
};

// A distinct colour for every pixel, so any misplaced pixel shows.
Bgr Distinct(int x, int y) { return Bgr{uint8_t(10 + x), uint8_t(100 + y), uint8_t(200 + x + y)}; }

Bgr PixelAt(TBitmap& bmp, int x, int y) {
  const uint8_t* p = static_cast<const uint8_t*>(bmp.ScanLine(y));
  int step = bmp.PixelFormat() == pf32bit ? 4 : 3;
  return Bgr{p[x * step], p[x * step + 1], p[x * step + 2]};
}

void SetPixelAt(TBitmap& bmp, int x, int y, Bgr c) {
  uint8_t* p = static_cast<uint8_t*>(bmp.ScanLine(y));
  int step = bmp.PixelFormat() == pf32bit ? 4 : 3;
  p[x * step] = c.b;
  p[x * step + 1] = c.g;
  p[x * step + 2] = c.r;
}

std::unique_ptr<TBitmap> Picture(int w, int h, TPixelFormat format = pf24bit) {
  auto bmp = std::make_unique<TBitmap>(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelAt(*bmp, x, y, Distinct(x, y));
  return bmp;
}

// Every pixel (x, y) of the original must sit at where(x, y) in the result.
template <class Where>
void ExpectMoved(TBitmap& result, int w, int h, Where where) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      POINT to = where(x, y);
      EXPECT_EQ(PixelAt(result, to.x, to.y), Distinct(x, y)) << "pixel " << x << "," << y;
    }
}

TEST(GrayBitmap, AveragesTheThreeChannelsDroppingTheRemainder) {
  TBitmap bmp(2, 1, pf24bit);
  SetPixelAt(bmp, 0, 0, Bgr{10, 20, 31});
  SetPixelAt(bmp, 1, 0, Bgr{255, 255, 255});
  GrayBitmap(&bmp);
  EXPECT_EQ(PixelAt(bmp, 0, 0), (Bgr{20, 20, 20}));
  EXPECT_EQ(PixelAt(bmp, 1, 0), (Bgr{255, 255, 255}));
}

TEST(GrayBitmap, ConvertsOtherFormatsTo24BitsFirst) {
  auto bmp = Picture(5, 3, pf32bit);
  GrayBitmap(bmp.get());
  EXPECT_EQ(bmp->PixelFormat(), pf24bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      Bgr c = Distinct(x, y);
      uint8_t g = uint8_t((c.b + c.g + c.r) / 3);
      EXPECT_EQ(PixelAt(*bmp, x, y), (Bgr{g, g, g}));
    }
}

TEST(MirrorBitmap, MovesEachPixelToTheOtherSide) {
  auto bmp = Picture(5, 3);  // an odd width: the middle column stays
  MirrorBitmap(bmp.get());
  ExpectMoved(*bmp, 5, 3, [](int x, int y) { return POINT{4 - x, y}; });
}

TEST(FlipBitmap, MovesEachRowToTheOtherEnd) {
  auto bmp = Picture(4, 3);
  FlipBitmap(bmp.get());
  ASSERT_EQ(bmp->Width(), 4);
  ASSERT_EQ(bmp->Height(), 3);
  ExpectMoved(*bmp, 4, 3, [](int x, int y) { return POINT{x, 2 - y}; });
}

TEST(RotateBitmap90, TurnsClockwise) {
  auto bmp = Picture(3, 2);
  RotateBitmap90(bmp.get());
  ASSERT_EQ(bmp->Width(), 2);
  ASSERT_EQ(bmp->Height(), 3);
  EXPECT_EQ(PixelAt(*bmp, 1, 0), Distinct(0, 0));  // the former top-left is now top-right
  ExpectMoved(*bmp, 3, 2, [](int x, int y) { return POINT{2 - 1 - y, x}; });
}

TEST(RotateBitmap270, TurnsCounterClockwise) {
  auto bmp = Picture(3, 2);
  RotateBitmap270(bmp.get());
  ASSERT_EQ(bmp->Width(), 2);
  ASSERT_EQ(bmp->Height(), 3);
  EXPECT_EQ(PixelAt(*bmp, 0, 2), Distinct(0, 0));  // the former top-left is now bottom-left
  ExpectMoved(*bmp, 3, 2, [](int x, int y) { return POINT{y, 3 - 1 - x}; });
}

TEST(Transforms, UndoThemselvesOrTheirOpposite) {
  const int w = 7, h = 4;
  auto identity = [](int x, int y) { return POINT{x, y}; };
  auto bmp = Picture(w, h);
  RotateBitmap270(bmp.get());
  RotateBitmap90(bmp.get());
  ExpectMoved(*bmp, w, h, identity);
  FlipBitmap(bmp.get());
  FlipBitmap(bmp.get());
  ExpectMoved(*bmp, w, h, identity);
  MirrorBitmap(bmp.get());
  MirrorBitmap(bmp.get());
  ExpectMoved(*bmp, w, h, identity);
}

TEST(Transforms, LeaveA32BitPictureAs24BitsWithEveryPixelInPlace) {
  // A 32-bit row walked as 24-bit pixels would be mangled and overrun: it is converted first.
  auto mirrored = Picture(6, 3, pf32bit);
  MirrorBitmap(mirrored.get());
  EXPECT_EQ(mirrored->PixelFormat(), pf24bit);
  ExpectMoved(*mirrored, 6, 3, [](int x, int y) { return POINT{5 - x, y}; });

  auto flipped = Picture(6, 3, pf32bit);
  FlipBitmap(flipped.get());
  ExpectMoved(*flipped, 6, 3, [](int x, int y) { return POINT{x, 2 - y}; });

  auto turned = Picture(6, 3, pf32bit);
  RotateBitmap90(turned.get());
  ExpectMoved(*turned, 6, 3, [](int x, int y) { return POINT{2 - y, x}; });
}

TEST(Transforms, KeepAnEmptyBitmapEmpty) {
  TBitmap none;
  GrayBitmap(&none);
  MirrorBitmap(&none);
  FlipBitmap(&none);
  EXPECT_TRUE(none.Empty());
  // A strip narrower than its frame count makes frames of no width but some height.
  TBitmap narrow(0, 4, pf24bit);
  GrayBitmap(&narrow);
  MirrorBitmap(&narrow);
  FlipBitmap(&narrow);
  EXPECT_EQ(narrow.Width(), 0);
  EXPECT_EQ(narrow.Height(), 4);

  TBitmap flat(5, 0, pf24bit);
  RotateBitmap90(&flat);
  EXPECT_EQ(flat.Width(), 0);
  EXPECT_EQ(flat.Height(), 5);
  RotateBitmap270(&flat);
  EXPECT_EQ(flat.Width(), 5);
  EXPECT_EQ(flat.Height(), 0);
}

}  // namespace
