#include "tools/skinart/Bmp.h"

#include <fstream>
#include <iterator>

namespace skinart {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

uint32_t Get16(const std::vector<uint8_t>& in, size_t at) { return in[at] | (in[at + 1] << 8); }

uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
  return Get16(in, at) | (Get16(in, at + 2) << 16);
}

// Both headers; the pixel data follows the palette of `paletteEntries` colours.
std::vector<uint8_t> Headers(const Image& image, int bitsPerPixel, int paletteEntries) {
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + 4 * paletteEntries;
  const uint32_t dataSize = RowStride(image.width, bitsPerPixel) * image.height;
  std::vector<uint8_t> out;
  out.reserve(offset + dataSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + dataSize);
  Put32(out, 0);  // reserved
  Put32(out, offset);
  Put32(out, kInfoHeaderSize);
  Put32(out, image.width);
  Put32(out, image.height);  // positive: bottom row first
  Put16(out, 1);             // planes
  Put16(out, bitsPerPixel);
  Put32(out, 0);  // BI_RGB
  Put32(out, dataSize);
  Put32(out, 2835);  // 72 dots per inch, both ways
  Put32(out, 2835);
  Put32(out, paletteEntries);
  Put32(out, 0);  // all palette entries matter
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Image& image) {
  std::vector<uint8_t> out = Headers(image, 24, 0);
  const int pad = RowStride(image.width, 24) - image.width * 3;
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t c = image.At(x, y);
      out.push_back(BlueOf(c));
      out.push_back(GreenOf(c));
      out.push_back(RedOf(c));
    }
    out.insert(out.end(), pad, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeBmp1(const Image& image) {
  std::vector<uint8_t> out = Headers(image, 1, 2);
  Put32(out, 0x00000000);  // entry 0: black
  Put32(out, 0x00FFFFFF);  // entry 1: white
  const int stride = RowStride(image.width, 1);
  for (int y = image.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(stride, 0);
    for (int x = 0; x < image.width; ++x) {
      if (image.At(x, y) == Rgb(255, 255, 255)) row[x / 8] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::optional<Image> DecodeBmp24(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
    return std::nullopt;
  const uint32_t offset = Get32(bytes, 10);
  const int32_t width = static_cast<int32_t>(Get32(bytes, 18));
  const int32_t rawHeight = static_cast<int32_t>(Get32(bytes, 22));
  if (Get32(bytes, 14) < kInfoHeaderSize || Get16(bytes, 26) != 1 || Get16(bytes, 28) != 24 ||
      Get32(bytes, 30) != 0 || width <= 0 || width > 65536 || rawHeight == 0 || rawHeight < -65536 ||
      rawHeight > 65536)
    return std::nullopt;
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;
  const size_t stride = RowStride(width, 24);
  if (offset > bytes.size() || (bytes.size() - offset) / stride < static_cast<size_t>(height))
    return std::nullopt;
  Image image(width, height);
  for (int row = 0; row < height; ++row) {
    const int y = rawHeight > 0 ? height - 1 - row : row;
    const size_t at = offset + row * stride;
    for (int x = 0; x < width; ++x)
      image.At(x, y) = Rgb(bytes[at + 3 * x + 2], bytes[at + 3 * x + 1], bytes[at + 3 * x]);
  }
  return image;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace skinart
