#include "tools/skinpack/SkinPack.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "skin/SkinRead.h"
#include "tools/skinpack/LZHPack.h"

namespace fs = std::filesystem;

namespace {

void PutInt32(std::vector<uint8_t>& out, int64_t value) {
  const uint32_t v = uint32_t(value);
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HasExtension(const std::string& lowerName, const char* ext) {
  const std::string e(ext);
  return lowerName.size() > e.size() && lowerName.compare(lowerName.size() - e.size(), e.size(), e) == 0;
}

}  // namespace

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinEntry>& Entries) {
  if (Entries.size() > size_t(SkinArchiveMaxEntries))
    throw std::invalid_argument("a skin archive holds at most " + std::to_string(SkinArchiveMaxEntries) +
                                " entries");
  std::string names;
  for (const TSkinEntry& e : Entries) {
    if (e.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
      throw std::invalid_argument("an entry name cannot hold CR, LF or a zero byte: " + e.Name);
    names += e.Name + "\r\n";
  }
  std::vector<uint8_t> out;
  PutInt32(out, SkinArchiveTag);
  PutInt32(out, int64_t(names.size()));
  PutInt32(out, 0);
  PutInt32(out, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const TSkinEntry& e : Entries) PutInt32(out, int64_t(e.Data.size()));
  for (const TSkinEntry& e : Entries) out.insert(out.end(), e.Data.begin(), e.Data.end());
  return out;
}

std::vector<uint8_t> PackSkinArchive(const std::vector<TSkinEntry>& Entries) {
  return LZHPack(BuildSkinArchive(Entries));
}

std::vector<uint8_t> SkinStreamForm(const std::vector<uint8_t>& Archive) {
  std::vector<uint8_t> out;
  out.reserve(4 + Archive.size());
  PutInt32(out, int64_t(Archive.size()));
  std::copy(Archive.begin(), Archive.end(), std::back_inserter(out));
  return out;
}

std::vector<TSkinEntry> ReadSkinFolder(const std::string& Folder) {
  std::vector<fs::path> inis, bitmaps;
  std::vector<std::string> lowerNames;
  for (const fs::directory_entry& f : fs::directory_iterator(Folder)) {
    if (!f.is_regular_file()) continue;
    const std::string lower = LowerSkinName(f.path().filename().string());
    if (HasExtension(lower, ".ini"))
      inis.push_back(f.path());
    else if (HasExtension(lower, ".bmp"))
      bitmaps.push_back(f.path());
    else
      continue;
    lowerNames.push_back(lower);
  }
  if (inis.size() != 1)
    throw std::runtime_error(Folder + ": a skin folder needs exactly one .ini description, found " +
                             std::to_string(inis.size()));
  std::sort(lowerNames.begin(), lowerNames.end());
  auto same = std::adjacent_find(lowerNames.begin(), lowerNames.end());
  if (same != lowerNames.end())
    throw std::runtime_error(Folder + ": two files are named " + *same + " apart from case");

  std::sort(bitmaps.begin(), bitmaps.end(), [](const fs::path& a, const fs::path& b) {
    return LowerSkinName(a.filename().string()) < LowerSkinName(b.filename().string());
  });
  std::vector<TSkinEntry> entries;
  entries.push_back({inis[0].filename().string(), ReadFileBytes(inis[0])});
  for (const fs::path& p : bitmaps) entries.push_back({p.filename().string(), ReadFileBytes(p)});
  return entries;
}
