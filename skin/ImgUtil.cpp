#include "skin/ImgUtil.h"

#include <cstring>
#include <vector>

namespace {

// Rows are walked as three-byte pixels, so anything else is converted first: a 32-bit row read
// as 24-bit pixels would be mangled, and its stride differs.
void Ensure24Bit(TBitmap* bitmap) {
  if (bitmap->PixelFormat() != pf24bit) bitmap->SetPixelFormat(pf24bit);
}

uint8_t* Row(TBitmap* bitmap, int y) { return static_cast<uint8_t*>(bitmap->ScanLine(y)); }

// The picture as 32-bit pixels, bottom row first, read in one block.
std::vector<uint32_t> ReadBottomUp32(TBitmap* bitmap) {
  const int w = bitmap->Width(), h = bitmap->Height();
  std::vector<uint32_t> pixels(size_t(w) * size_t(h));
  if (pixels.empty()) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = DWORD(w) * DWORD(h) * 4;
  info.bmiHeader.biXPelsPerMeter = 1;
  info.bmiHeader.biYPelsPerMeter = 1;
  HDC screen = GetDC(nullptr);
  int got = GetDIBits(screen, bitmap->Handle(), 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (got != h) throw EInvalidGraphicOperation("Cannot read the bitmap's pixels");
  return pixels;
}

void PutPixel(uint8_t* row, int x, uint32_t pixel) {
  row[x * 3] = uint8_t(pixel);
  row[x * 3 + 1] = uint8_t(pixel >> 8);
  row[x * 3 + 2] = uint8_t(pixel >> 16);
}

// Turns the picture a quarter: result row r, pixel i takes the source pixel source(r, i), where
// the source is addressed from the top-left corner in the original W x H picture.
template <class Source>
void Rotate(TBitmap* bitmap, Source source) {
  Ensure24Bit(bitmap);
  const int w = bitmap->Width(), h = bitmap->Height();
  std::vector<uint32_t> pixels = ReadBottomUp32(bitmap);
  bitmap->SetSize(h, w);
  if (pixels.empty()) return;
  auto at = [&](int x, int y) { return pixels[size_t(h - 1 - y) * size_t(w) + size_t(x)]; };
  for (int r = 0; r < w; ++r) {
    uint8_t* row = Row(bitmap, r);
    for (int i = 0; i < h; ++i) {
      POINT p = source(r, i, w, h);
      PutPixel(row, i, at(p.x, p.y));
    }
  }
}

}  // namespace

void GrayBitmap(TBitmap* Bitmap) {
  Ensure24Bit(Bitmap);
  if (Bitmap->Empty()) return;
  for (int y = 0; y < Bitmap->Height(); ++y) {
    uint8_t* p = Row(Bitmap, y);
    for (int x = 0; x < Bitmap->Width(); ++x, p += 3) {
      uint8_t g = uint8_t((unsigned(p[0]) + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = g;
    }
  }
}

void MirrorBitmap(TBitmap* Bitmap) {
  Ensure24Bit(Bitmap);
  if (Bitmap->Empty()) return;
  const int w = Bitmap->Width();
  std::vector<uint8_t> buffer(size_t(w) * 3);
  for (int y = 0; y < Bitmap->Height(); ++y) {
    uint8_t* row = Row(Bitmap, y);
    std::memcpy(buffer.data(), row, buffer.size());
    for (int x = 0; x < w; ++x) std::memcpy(row + x * 3, buffer.data() + (w - 1 - x) * 3, 3);
  }
}

void FlipBitmap(TBitmap* Bitmap) {
  Ensure24Bit(Bitmap);
  if (Bitmap->Empty()) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  TBitmap flipped(w, h, pf24bit);
  for (int y = 0; y < h; ++y) std::memcpy(Row(&flipped, h - 1 - y), Row(Bitmap, y), size_t(w) * 3);
  Bitmap->Assign(&flipped);
}

void RotateBitmap270(TBitmap* Bitmap) {
  // Result row W - 1 - a is column a: row r holds column W - 1 - r, top first.
  Rotate(Bitmap, [](int r, int i, int w, int) { return POINT{w - 1 - r, i}; });
}

void RotateBitmap90(TBitmap* Bitmap) {
  // Result row a is column a, bottom first.
  Rotate(Bitmap, [](int r, int i, int, int h) { return POINT{r, h - 1 - i}; });
}
