// Our own small BMP writer and reader: uncompressed, bottom-up Windows bitmap files, 24 bits per
// pixel for skin pictures and 1 bit per pixel for monochrome glyph resources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skinart {

// Colours are 0x00BBGGRR, red in the low byte, as the engine reads them.
constexpr uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
         (static_cast<uint32_t>(b & 0xFF) << 16);
}
constexpr int RedOf(uint32_t c) { return c & 0xFF; }
constexpr int GreenOf(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(uint32_t c) { return (c >> 16) & 0xFF; }

constexpr uint32_t kKey = Rgb(255, 0, 255);  // transparent pixels of skin pictures

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // row by row from the top

  Image() = default;
  Image(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  bool operator==(const Image&) const = default;
};

// File layout constants of the format.
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

// Bytes of one stored row: whole 32-bit words.
constexpr int RowStride(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

std::vector<uint8_t> EncodeBmp24(const Image& image);

// Monochrome: palette entry 0 black, 1 white; a pixel is white only when it is exactly white.
std::vector<uint8_t> EncodeBmp1(const Image& image);

// Reads what EncodeBmp24 writes (24 bits, uncompressed, either row order); nothing otherwise.
std::optional<Image> DecodeBmp24(const std::vector<uint8_t>& bytes);

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace skinart
