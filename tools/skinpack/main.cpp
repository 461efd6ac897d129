// skinpack: packs a skin folder into the skin archive the engine reads.
//
// Entry order: the folder's one .ini description first, then its .bmp files ordered by their
// lower-case names in byte order; other files are left out. The reader finds the description as
// the first name containing ".ini", so putting it first keeps a bitmap from ever shadowing it.
// The output depends on nothing but the files' names and bytes.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>

#include "tools/skinpack/SkinPack.h"

namespace {

const char* const Usage =
    "usage: skinpack [--stream] FOLDER OUTPUT\n"
    "\n"
    "Packs the skin in FOLDER (one .ini description and .bmp bitmaps) into the skin archive OUTPUT.\n"
    "\n"
    "Entries: the .ini first, then the .bmp files ordered by their lower-case names (byte order).\n"
    "Other files are left out. Entry names are the file names; the reader matches them lower-cased,\n"
    "so two files whose names differ only in case are refused, as is a folder without exactly one\n"
    ".ini. The same files always give the same bytes.\n"
    "\n"
    "  --stream   write the form property's form: the archive's length (int32, little-endian)\n"
    "             followed by the archive\n"
    "  --help     show this text\n";

}  // namespace

int main(int argc, char** argv) {
  bool stream = false;
  std::string args[2];
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--stream") == 0) {
      stream = true;
    } else if (argv[i][0] == '-' || count == 2) {
      std::fputs(Usage, stderr);
      return 2;
    } else {
      args[count++] = argv[i];
    }
  }
  if (count != 2) {
    std::fputs(Usage, stderr);
    return 2;
  }
  try {
    std::vector<uint8_t> bytes = PackSkinArchive(ReadSkinFolder(args[0]));
    if (stream) bytes = SkinStreamForm(bytes);
    std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "skinpack: cannot write %s\n", args[1].c_str());
      std::remove(args[1].c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
  return 0;
}
