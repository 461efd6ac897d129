// Prints how long the skin component takes from the stored archive bytes to a ready skin
// (decode, INI parse, bitmaps), for our default skin and for one with ten times its bitmaps, each
// beside its goal: the default skin in at most 25 ms, and the load growing no faster than the skin.
// Run under Wine: SkinLoad_bench.exe [skin folder] (default: the source tree's skins/default).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "skin/RezIderData.h"
#include "tools/skinpack/SkinPack.h"

namespace {

// The same skin with (copies - 1) more sets of its bitmaps, each named by caption-button
// sections of its own, so the parser loads every copy.
std::vector<TSkinEntry> Multiplied(const std::vector<TSkinEntry>& skin, int copies) {
  std::vector<TSkinEntry> out = skin;
  std::string ini(skin[0].Data.begin(), skin[0].Data.end());
  for (int c = 1; c < copies; ++c)
    for (size_t i = 1; i < skin.size(); ++i) {
      std::string name = "copy";
      name.append(std::to_string(c)).append("_").append(skin[i].Name);
      out.push_back({name, skin[i].Data});
      ini.append("\r\n[ButtonCopy").append(std::to_string(c)).append("_").append(std::to_string(i));
      ini.append("]\r\nAction=5\r\nframe=1\r\nButtonImage=").append(name).append("\r\n");
    }
  out[0].Data.assign(ini.begin(), ini.end());
  return out;
}

// Milliseconds a load, or -1 when the skin does not load.
double Measure(const char* label, const std::vector<uint8_t>& archive, int bitmaps) {
  TSkinData data(nullptr);
  bool ok = true;
  double seconds = SecondsPerRun([&] {
    data.FSkinStream->Clear();
    data.FSkinStream->WriteBuffer(archive.data(), int32_t(archive.size()));
    ok = data.LoadFromArchive() && ok;
  });
  if (!ok) {
    std::printf("%s: the skin did not load\n", label);
    return -1;
  }
  std::printf("%-22s %3d bitmaps, archive %7zu bytes: %8.2f ms a load", label, bitmaps, archive.size(),
              seconds * 1000);
  return seconds * 1000;
}

}  // namespace

int main(int argc, char** argv) {
  PrintBenchTarget();
  std::string folder = argc > 1 ? argv[1] : VELLORAN_SKIN_DIR;
  std::vector<TSkinEntry> skin;
  try {
    skin = ReadSkinFolder(folder);
  } catch (const std::exception& e) {
    std::printf("cannot read the skin folder %s: %s\n", folder.c_str(), e.what());
    return 1;
  }
  int bitmaps = int(skin.size()) - 1;
  double one = Measure("default skin", PackSkinArchive(skin), bitmaps);
  if (one < 0) return 1;
  std::printf("   goal: at most 25 ms\n");
  double ten = Measure("ten times the bitmaps", PackSkinArchive(Multiplied(skin, 10)), bitmaps * 10);
  if (ten < 0) return 1;
  std::printf("   linear: at most %.2f ms (10 x the default)\n", 10 * one);
  return 0;
}
