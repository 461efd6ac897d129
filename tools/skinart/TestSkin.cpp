#include "skins/test/TestSkinColours.h"
#include "tools/skinart/SkinArt.h"

namespace skinart {

std::vector<Picture> DrawTestSkin() {
  std::vector<Picture> pictures;
  for (int p = 0; p < testskin::tpCount; ++p) {
    const testskin::TestPictureInfo& info = testskin::kTestPictures[p];
    Image image(testskin::StripWidth(info), testskin::StripHeight(info));
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) image.At(x, y) = testskin::TestSkinPixel(p, x, y);
    pictures.push_back({info.file, std::move(image)});
  }
  return pictures;
}

}  // namespace skinart
