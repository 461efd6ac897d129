// JPEG pictures: made here with libjpeg's encoder, read back through TJPEGImage.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "tk/Graphics.h"
#include "tk/Jpeg.h"
#include "tests/unit/GraphicsHelpers.h"

namespace {

// A baseline JFIF picture: the left half red, the right half blue, a white square at the top left.
std::vector<uint8_t> MakeJpeg(int width, int height, bool grey = false) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = grey ? 1 : 3;
  c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(size_t(width) * 3);
  while (c.next_scanline < c.image_height) {
    int y = int(c.next_scanline);
    for (int x = 0; x < width; ++x) {
      bool white = x < 8 && y < 8;
      uint8_t* p = row.data() + x * c.input_components;
      if (grey) {
        p[0] = white ? 255 : x < width / 2 ? 60 : 180;
        continue;
      }
      p[0] = white || x < width / 2 ? 255 : 0;
      p[1] = white ? 255 : 0;
      p[2] = white || x >= width / 2 ? 255 : 0;
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> data(out, out + size);
  std::free(out);
  jpeg_destroy_compress(&c);
  return data;
}

// Pixel (x, y) of b within tolerance of colour c, channel by channel.
::testing::AssertionResult Near(TBitmap* b, int x, int y, COLORREF c, int tolerance = 12) {
  const uint8_t* p = static_cast<uint8_t*>(b->ScanLine(y)) + x * 3;
  int dr = std::abs(p[2] - GetRValue(c)), dg = std::abs(p[1] - GetGValue(c)),
      db = std::abs(p[0] - GetBValue(c));
  if (dr <= tolerance && dg <= tolerance && db <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "pixel " << x << "," << y << " is " << int(p[2]) << "," << int(p[1]) << "," << int(p[0]);
}

}  // namespace

TEST(Jpeg, SizeKnownAfterLoadingAndPixelsAfterDecoding) {
  TMemoryStream s = StreamOf(MakeJpeg(64, 40));
  TJPEGImage j;
  j.LoadFromStream(&s);
  EXPECT_FALSE(j.Empty());
  EXPECT_EQ(j.Width(), 64);
  EXPECT_EQ(j.Height(), 40);
  TBitmap* b = j.Bitmap();
  ASSERT_EQ(b->Width(), 64);
  ASSERT_EQ(b->Height(), 40);
  EXPECT_EQ(b->PixelFormat(), pf24bit);
  EXPECT_TRUE(Near(b, 2, 2, RGB(255, 255, 255)));
  EXPECT_TRUE(Near(b, 20, 30, RGB(255, 0, 0)));
  EXPECT_TRUE(Near(b, 50, 10, RGB(0, 0, 255)));
  EXPECT_TRUE(Near(b, 63, 39, RGB(0, 0, 255)));  // bottom rows stay at the bottom
}

TEST(Jpeg, DrawDecodesOnTheCanvas) {
  TMemoryStream s = StreamOf(MakeJpeg(32, 16));
  TJPEGImage j;
  j.LoadFromStream(&s);
  TBitmap target(40, 20);
  target.Canvas()->Draw(4, 2, &j);
  EXPECT_TRUE(Near(&target, 4 + 10, 2 + 12, RGB(255, 0, 0)));
  EXPECT_TRUE(Near(&target, 4 + 28, 2 + 8, RGB(0, 0, 255)));
  EXPECT_TRUE(Near(&target, 38, 19, RGB(255, 255, 255)));  // outside the picture: untouched white
}

TEST(Jpeg, GreyPictureComesOutAsThreeEqualChannels) {
  TMemoryStream s = StreamOf(MakeJpeg(32, 16, true));
  TJPEGImage j;
  j.LoadFromStream(&s);
  EXPECT_TRUE(Near(j.Bitmap(), 4, 12, RGB(60, 60, 60), 6));
  EXPECT_TRUE(Near(j.Bitmap(), 28, 12, RGB(180, 180, 180), 6));
}

TEST(Jpeg, CorruptDataRaisesInsteadOfEndingTheProcess) {
  std::vector<uint8_t> good = MakeJpeg(16, 16);
  TJPEGImage j;
  std::vector<uint8_t> notJpeg = {'B', 'M', 1, 2, 3, 4, 5, 6};
  TMemoryStream a = StreamOf(notJpeg);
  EXPECT_THROW(j.LoadFromStream(&a), EInvalidGraphic);
  EXPECT_TRUE(j.Empty());

  std::vector<uint8_t> headerCut(good.begin(), good.begin() + 30);
  TMemoryStream b = StreamOf(headerCut);
  EXPECT_THROW(j.LoadFromStream(&b), EInvalidGraphic);

  // A frame header claiming 0 x 0 pixels: found when reading the header.
  std::vector<uint8_t> zero = good;
  for (size_t i = 0; i + 8 < zero.size(); ++i)
    if (zero[i] == 0xFF && zero[i + 1] == 0xC0) {
      zero[i + 5] = zero[i + 6] = zero[i + 7] = zero[i + 8] = 0;
      break;
    }
  TMemoryStream c = StreamOf(zero);
  EXPECT_THROW(j.LoadFromStream(&c), EInvalidGraphic);

  // Damage past the header: found when decoding, raised from Bitmap().
  std::vector<uint8_t> badTables = good;
  for (size_t i = 0; i + 4 < badTables.size(); ++i)
    if (badTables[i] == 0xFF && badTables[i + 1] == 0xDA) {  // start of scan: name a table that is not there
      badTables[i + 6] = 0x77;
      break;
    }
  TMemoryStream d = StreamOf(badTables);
  j.LoadFromStream(&d);
  EXPECT_EQ(j.Width(), 16);
  EXPECT_THROW(j.Bitmap(), EInvalidGraphic);
}

TEST(Jpeg, CutPictureStillDecodes) {
  std::vector<uint8_t> data = MakeJpeg(64, 64);
  size_t scan = 0;
  for (size_t i = 0; i + 1 < data.size() && !scan; ++i)
    if (data[i] == 0xFF && data[i + 1] == 0xDA) scan = i;
  ASSERT_GT(scan, 0u);
  data.resize(scan + (data.size() - scan) / 2);  // half the coded pixels are gone
  TMemoryStream s = StreamOf(data);
  TJPEGImage j;
  j.LoadFromStream(&s);
  EXPECT_TRUE(Near(j.Bitmap(), 2, 2, RGB(255, 255, 255)));
}

TEST(Jpeg, SaveAssignAndPictureData) {
  std::vector<uint8_t> data = MakeJpeg(24, 8);
  TMemoryStream s = StreamOf(data);
  TJPEGImage j;
  j.LoadFromStream(&s);
  TMemoryStream out;
  j.SaveToStream(&out);
  EXPECT_EQ(out.GetSize(), int64_t(data.size()));
  EXPECT_THROW(j.SetWidth(3), EInvalidGraphicOperation);

  TJPEGImage k;
  k.Assign(&j);
  EXPECT_EQ(k.Width(), 24);
  TBitmap b;
  b.Assign(&j);  // a bitmap copy of the decoded picture
  EXPECT_EQ(b.Width(), 24);
  EXPECT_TRUE(Near(&b, 10, 4, RGB(255, 0, 0)));

  TPicture p;
  p.SetGraphic(&j);
  TMemoryStream form;
  p.WriteData(&form);
  form.SetPosition(0);
  TPicture q;
  q.ReadData(&form);
  ASSERT_TRUE(q.Graphic() && q.Graphic()->Is<TJPEGImage>());
  EXPECT_EQ(q.Width(), 24);
  EXPECT_EQ(q.Height(), 8);
}
