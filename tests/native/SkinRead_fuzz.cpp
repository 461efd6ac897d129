// Fuzzes the archive reader. Each input is tried twice: as archive bytes as they are, and as the
// decoded archive (packed first), so the table checks are reached without getting through the
// compression. Either way the reader may only load or refuse: no crash, hang or stray read.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/SkinRead.h"
#include "tools/skinpack/LZHPack.h"

namespace {

void Quiet(const std::string&) {}

void Exercise(const uint8_t* data, size_t size) {
  TMemoryStream archive;
  archive.WriteBuffer(data, int32_t(size));
  TSkinReader reader;
  if (!reader.LoadFromStream(&archive)) return;
  // Every name's lookup gives its first entry, whole.
  TMemoryStream entry;
  const std::vector<std::string>& names = reader.Names();
  for (int i = 0; i < reader.Count(); ++i) {
    reader.ExtractByName(names[size_t(i)], &entry);
    size_t first = 0;
    while (names[first] != names[size_t(i)]) ++first;
    if (entry.GetSize() != reader.Size(int(first))) std::abort();
  }
  std::string name;
  reader.ExtractByPart(".ini", &entry, name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SkinReaderMessage = Quiet;
  if (size > 1 << 20) return 0;
  Exercise(data, size);
  std::vector<uint8_t> packed = LZHPack(data, size);
  Exercise(packed.data(), packed.size());
  return 0;
}
