#include "tools/skinart/Paint.h"

#include <algorithm>
#include <cstring>

namespace skinart {

void Fill(Image& image, int left, int top, int right, int bottom, uint32_t colour) {
  for (int y = std::max(top, 0); y < std::min(bottom, image.height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, image.width); ++x) image.At(x, y) = colour;
}

void FrameBox(Image& image, int left, int top, int right, int bottom, uint32_t colour) {
  Fill(image, left, top, right, top + 1, colour);
  Fill(image, left, bottom - 1, right, bottom, colour);
  Fill(image, left, top, left + 1, bottom, colour);
  Fill(image, right - 1, top, right, bottom, colour);
}

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
  auto part = [&](int ca, int cb) { return ca + (cb - ca) * num / den; };
  return Rgb(part(RedOf(a), RedOf(b)), part(GreenOf(a), GreenOf(b)), part(BlueOf(a), BlueOf(b)));
}

void VGradient(Image& image, int left, int top, int right, int bottom, uint32_t topColour,
               uint32_t bottomColour) {
  const int span = std::max(bottom - top - 1, 1);
  for (int y = top; y < bottom; ++y)
    Fill(image, left, y, right, y + 1, Mix(topColour, bottomColour, y - top, span));
}

bool InsideRounded(int x, int y, int left, int top, int right, int bottom, double radius, unsigned corners) {
  if (x < left || y < top || x >= right || y >= bottom) return false;
  const double px = x + 0.5, py = y + 0.5;
  const bool nearLeft = px<left + radius, nearRight = px> right - radius;
  const bool nearTop = py<top + radius, nearBottom = py> bottom - radius;
  double cx = 0, cy = 0;
  if (nearLeft && nearTop && (corners & kTopLeft)) {
    cx = left + radius, cy = top + radius;
  } else if (nearRight && nearTop && (corners & kTopRight)) {
    cx = right - radius, cy = top + radius;
  } else if (nearLeft && nearBottom && (corners & kBottomLeft)) {
    cx = left + radius, cy = bottom - radius;
  } else if (nearRight && nearBottom && (corners & kBottomRight)) {
    cx = right - radius, cy = bottom - radius;
  } else {
    return true;
  }
  return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius;
}

void ShapeOutline(Image& image, int left, int top, int right, int bottom, double radius, unsigned corners,
                  uint32_t border) {
  auto inside = [&](int x, int y) { return InsideRounded(x, y, left, top, right, bottom, radius, corners); };
  for (int y = std::max(top, 0); y < std::min(bottom, image.height); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, image.width); ++x) {
      if (!inside(x, y))
        image.At(x, y) = kKey;
      else if (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1))
        image.At(x, y) = border;
    }
  }
}

void RoundedBox(Image& image, int left, int top, int right, int bottom, double radius, unsigned corners,
                uint32_t border, uint32_t fillTop, uint32_t fillBottom) {
  VGradient(image, left, top, right, bottom, fillTop, fillBottom);
  ShapeOutline(image, left, top, right, bottom, radius, corners, border);
}

void Pattern(Image& image, int x, int y, const std::vector<const char*>& rows, uint32_t colour) {
  for (size_t r = 0; r < rows.size(); ++r) {
    const size_t n = std::strlen(rows[r]);
    for (size_t c = 0; c < n; ++c) {
      const int px = x + static_cast<int>(c), py = y + static_cast<int>(r);
      if (rows[r][c] == '#' && image.Contains(px, py)) image.At(px, py) = colour;
    }
  }
}

void Pattern(Image& image, int x, int y, std::initializer_list<const char*> rows, uint32_t colour) {
  Pattern(image, x, y, std::vector<const char*>(rows), colour);
}

Image Crop(const Image& source, int left, int top, int width, int height) {
  Image out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out.At(x, y) = source.At(left + x, top + y);
  return out;
}

void Blit(Image& target, int x, int y, const Image& source) {
  for (int sy = 0; sy < source.height; ++sy)
    for (int sx = 0; sx < source.width; ++sx)
      if (target.Contains(x + sx, y + sy)) target.At(x + sx, y + sy) = source.At(sx, sy);
}

Image Strip(const std::vector<Image>& frames, bool stacked) {
  if (frames.empty()) return Image();
  const int fw = frames.front().width, fh = frames.front().height;
  const int n = static_cast<int>(frames.size());
  Image out(stacked ? fw : fw * n, stacked ? fh * n : fh);
  for (int i = 0; i < n; ++i) Blit(out, stacked ? 0 : i * fw, stacked ? i * fh : 0, frames[i]);
  return out;
}

}  // namespace skinart
