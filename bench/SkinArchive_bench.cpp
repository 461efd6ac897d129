// Skin archive figures: LZHUF decoding speed of a skin-sized archive and of a 16 MB input, beside
// a plain memory copy of the same output, and the time to open an archive and extract every entry.
#include <cstdio>
#include <cstring>

#include "bench/BenchTiming.h"
#include "skin/SkinRead.h"
#include "tests/native/SkinArchiveTesting.h"
#include "tools/skinpack/LZHPack.h"
#include "tools/skinpack/SkinPack.h"

namespace {

// A skin's worth, about the size of the stored one (48 KB packed): one description and 32 bitmaps
// of flat areas, gradients and noise.
std::vector<TSkinEntry> SkinLikeEntries() {
  std::vector<TSkinEntry> entries = {{"skin.ini", WordText(6000, 1)}};
  for (int i = 0; i < 32; ++i) {
    Bytes bmp(size_t(1500 + 400 * (i % 12)));
    for (size_t p = 0; p < bmp.size(); ++p) bmp[p] = uint8_t(i % 3 == 0 ? (p / 64) * 7 : (p % 48) * 5);
    Bytes noise = RandomBytes(bmp.size() / 3, uint32_t(i));
    std::copy(noise.begin(), noise.end(), bmp.begin() + ptrdiff_t(bmp.size() / 2));
    entries.push_back({"part" + std::to_string(i) + ".bmp", bmp});
  }
  return entries;
}

void DecodeFigures(const char* what, const Bytes& container, size_t decodedSize) {
  double decode = SecondsPerRun([&] { DecompressBytes(container); });
  Bytes src(decodedSize, 1), dst(decodedSize);
  double copy = SecondsPerRun([&] {
    std::memcpy(dst.data(), src.data(), src.size());
    src[0] = dst[decodedSize / 2];  // keeps the copy from being dropped
  });
  const double mb = double(decodedSize) / 1e6;
  std::printf("%-28s %9zu -> %9zu bytes  decode %8.2f MB/s  memcpy %9.1f MB/s\n", what, container.size(),
              decodedSize, mb / decode, mb / copy);
}

}  // namespace

int main() {
  PrintBenchTarget();
  std::vector<TSkinEntry> entries = SkinLikeEntries();
  Bytes skinDecoded = BuildSkinArchive(entries);
  Bytes skin = LZHPack(skinDecoded);
  DecodeFigures("skin-sized archive", skin, skinDecoded.size());

  Bytes big = WordText(8u << 20, 2);
  Bytes noise = RandomBytes(8u << 20, 3);
  big.insert(big.end(), noise.begin(), noise.end());
  Bytes bigPacked = LZHPack(big);
  DecodeFigures("16 MB (text, then noise)", bigPacked, big.size());

  double open = SecondsPerRun([&] {
    TMemoryStream archive, entry;
    FillStream(archive, skin);
    TSkinReader reader;
    reader.LoadFromStream(&archive);
    for (const TSkinEntry& e : entries) reader.ExtractByName(e.Name, &entry);
  });
  std::printf("open the skin-sized archive and extract its %zu entries: %.3f ms\n", entries.size(),
              open * 1e3);
  return 0;
}
