// skinart write SKINS: draws every skin picture into the skins folder.
// skinart check SKINS: fails, naming the files, when the folder differs from what we draw.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/skinart/SkinArt.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "write") != 0 && std::strcmp(argv[1], "check") != 0)) {
    std::fprintf(stderr, "usage: skinart write|check SKINS_FOLDER\n");
    return 2;
  }
  const bool write = std::strcmp(argv[1], "write") == 0;
  const std::string folder = argv[2];
  int failures = 0;
  for (const skinart::SkinFile& file : skinart::SkinFiles()) {
    const std::string path = folder + "/" + file.path;
    if (write) {
      if (!skinart::WriteFileBytes(path, file.bytes)) {
        std::fprintf(stderr, "skinart: cannot write %s\n", path.c_str());
        ++failures;
      }
    } else if (skinart::ReadFileBytes(path) != file.bytes) {
      std::fprintf(stderr, "skinart: %s differs from the drawing; run skinart write\n", path.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
