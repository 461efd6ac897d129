#include "tools/skinart/SkinArt.h"

namespace skinart {

std::vector<SkinFile> SkinFiles() {
  std::vector<SkinFile> files;
  for (const Picture& p : DrawDefaultSkin()) files.push_back({"default/" + p.name, EncodeBmp24(p.image)});
  for (const Picture& p : DrawTestSkin()) files.push_back({"test/" + p.name, EncodeBmp24(p.image)});
  files.push_back({"menuglyphs.bmp", EncodeBmp1(DrawMenuGlyphs())});
  return files;
}

}  // namespace skinart
