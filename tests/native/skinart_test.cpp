// The skin pictures tool and the skins it draws: the BMP writer's bytes, the committed skins against a
// fresh drawing, the skin descriptions against the pictures they name, and the test skin's colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "skins/test/TestSkinColours.h"
#include "tools/skinart/Bmp.h"
#include "tools/skinart/Paint.h"
#include "tools/skinart/SkinArt.h"

using namespace skinart;

namespace {

const std::string kSkins = SKINS_DIR;

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

// ---- A small reader of skin descriptions: sections and keys without regard to case, file order kept.

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

struct Section {
  std::string name;
  std::map<std::string, std::string> values;  // keys in capitals
};

struct Ini {
  std::vector<Section> sections;

  const Section* Find(const std::string& name) const {
    for (const Section& s : sections)
      if (Upper(s.name) == Upper(name)) return &s;
    return nullptr;
  }
  bool Has(const std::string& section, const std::string& key) const {
    const Section* s = Find(section);
    return s && s->values.count(Upper(key));
  }
  std::string Text(const std::string& section, const std::string& key) const {
    const Section* s = Find(section);
    if (!s) return "";
    auto it = s->values.find(Upper(key));
    return it == s->values.end() ? "" : it->second;
  }
  int Int(const std::string& section, const std::string& key, int fallback) const {
    const std::string t = Text(section, key);
    if (t.empty()) return fallback;
    try {
      size_t used = 0;
      const int v = std::stoi(t, &used);
      return used == t.size() ? v : fallback;
    } catch (const std::exception&) {
      return fallback;
    }
  }
};

Ini ReadIni(const std::string& path) {
  Ini ini;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      ini.sections.push_back({line.substr(1, line.size() - 2), {}});
    } else if (!ini.sections.empty() && line.find('=') != std::string::npos) {
      const auto eq = line.find('=');
      ini.sections.back().values[Upper(Trim(line.substr(0, eq)))] = Trim(line.substr(eq + 1));
    }
  }
  return ini;
}

// ---- What the engine reads from a description, and how it counts the frames of each picture.

const char* const kGenericKeys[] = {"LeftWidth",     "RightWidth",    "TopHeight",        "BottomHeight",
                                    "Trans",         "Tile",          "NormalColour",     "MouseOverColour",
                                    "PressedColour", "NormalColour2", "MouseOverColour2", "PressedColour2"};

struct ElementRule {
  const char* section;
  int frames;          // 0: from the section's FrameCount key, default 3
  bool style;          // reads Style (pair sections do not)
  const char* second;  // second picture key, or null
  int secondFrames;    // frames of the second picture
};

const ElementRule kElements[] = {
    {"GroupBoxEdge", 2, true, nullptr, 0},       {"GroupBox", 1, true, nullptr, 0},
    {"Toolbars", 5, true, nullptr, 0},           {"Tabs", 5, false, "Border", 1},
    {"StatusBarEdges", 3, true, nullptr, 0},     {"ComboButton", 4, false, "****", 4},
    {"SunkEdge", 4, true, nullptr, 0},           {"ExtraImages", 5, true, nullptr, 0},
    {"Headerbar", 5, true, nullptr, 0},          {"MenuItem", 5, true, nullptr, 0},
    {"MenuBackground", 1, true, nullptr, 0},     {"Scrollbar", 23, true, nullptr, 0},
    {"HorzScroll", 4, true, nullptr, 0},         {"VertScroll", 4, true, nullptr, 0},
    {"HorzScrollThumb", 0, true, nullptr, 0},    {"VertScrollThumb", 0, true, nullptr, 0},
    {"Trackbar.ThumbHorz", 5, true, nullptr, 0}, {"Trackbar.ThumbVert", 5, true, nullptr, 0},
    {"Trackbar.ThumbLeft", 5, true, nullptr, 0}, {"Trackbar.ThumbRight", 5, true, nullptr, 0},
    {"Trackbar.ThumbUp", 5, true, nullptr, 0},   {"Trackbar.ThumbDown", 5, true, nullptr, 0},
    {"UpDown.Horz", 8, false, "GlyphImage", 8},  {"UpDown.Vert", 8, false, "GlyphImage", 8},
};

const char* const kEdges[] = {"Left", "Right", "Top", "Bottom"};

const char* const kColourKeys[] = {
    "WindowText",     "ButtonFace",  "Scrollbar",       "HilightText",      "Hilight",     "Menubar",
    "Menu",           "MenuText",    "ButtonText",      "ButtonHilight",    "Buttonlight", "ButtonShadow",
    "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"};

const char* const kCaptionButtonKeys[] = {"Action",      "Align",     "Xcoord", "Ycoord",     "Visibility",
                                          "Visibility1", "CombineOp", "frame",  "ButtonImage"};

bool IsCaptionButtonSection(const std::string& name) {
  const std::string u = Upper(name);
  return u.rfind("BUTTON", 0) == 0 && u != "BUTTONS" && u != "BUTTON.RADIO" && u != "BUTTON.CHECKBOX" &&
         u != "BUTTON";
}

bool IsExtraColourSection(const std::string& name) {
  const std::string u = Upper(name);
  return u.rfind("COLOUR", 0) == 0 && u != "COLOURS";
}

// One picture named by a description, with the frame count the engine gives it.
struct PictureUse {
  std::string where;  // section/key, for messages
  std::string file;
  int frames = 1;  // 0: the engine empties the picture, its geometry does not matter
  bool stacked = false;
  bool transparent = false;  // drawn with the key colour left out
};

int CheckOrRadioFrames(const Image* image, int given) {
  if (given != 0) return given;
  if (!image || image->width == 0) return 4;
  return std::max(4, image->height < 16 ? image->width / 13 : image->width / 16);
}

std::vector<PictureUse> PictureUses(const Ini& ini, const std::string& folder) {
  std::vector<PictureUse> uses;
  auto load = [&](const std::string& file) {
    return DecodeBmp24(ReadFileBytes(folder + "/" + file).value_or(std::vector<uint8_t>{}));
  };
  for (const char* side : kEdges) {
    const bool stacked = std::string(side) == "Top" || std::string(side) == "Bottom";
    uses.push_back({std::string("Personality/") + side, ini.Text("Personality", side),
                    ini.Int("Personality", std::string(side) + "Frame", 1), stacked,
                    ini.Int("Personality", std::string(side) + "Trans", 1) != 0});
  }
  uses.push_back({"Personality/TextBack", ini.Text("Personality", "TextBack"), 2, true, true});
  uses.push_back({"Personality/menuBar", ini.Text("Personality", "menuBar"), 2, true, false});
  for (const Section& s : ini.sections) {
    if (!IsCaptionButtonSection(s.name)) continue;
    const int action = ini.Int(s.name, "Action", 0);
    if (action == -1 && ini.Int(s.name, "Visibility", -1) != 0) continue;
    const std::string file = ini.Text(s.name, "ButtonImage");
    int frames = ini.Int(s.name, "frame", 0);
    if (frames == 0) {
      frames = 6;
      if (auto image = file.empty() ? std::nullopt : load(file))
        frames = static_cast<double>(image->width) / image->height <= 3.8 ? 3 : 6;
      if (action < 0) frames = 6;
      if (action == 3 || action == 11) frames = 0;
    }
    uses.push_back({s.name + "/ButtonImage", file, frames, false, true});
  }
  uses.push_back({"MDICONTROLS/Image", ini.Text("MDICONTROLS", "Image"), 12, false, true});
  uses.push_back(
      {"Buttons/Bitmap", ini.Text("Buttons", "Bitmap"), 5, false, ini.Int("Buttons", "Trans", 0) != 0});
  for (const char* kind : {"Check", "Radio"}) {
    const std::string file = ini.Text("Buttons", std::string(kind) + "Button");
    auto image = load(file);
    uses.push_back({std::string("Buttons/") + kind + "Button", file,
                    CheckOrRadioFrames(image ? &*image : nullptr,
                                       ini.Int("Buttons", std::string(kind) + "ButtonFrame", 0)),
                    false, true});
  }
  uses.push_back({"Progress/Bitmap", ini.Text("Progress", "Bitmap"), 2, false, true});
  uses.push_back({"Progress/Chunk", ini.Text("Progress", "Chunk"), 1, false, true});
  for (const ElementRule& e : kElements) {
    const int frames = e.frames ? e.frames : ini.Int(e.section, "FrameCount", 3);
    const bool trans = ini.Int(e.section, "Trans", 0) != 0;
    uses.push_back({std::string(e.section) + "/Image", ini.Text(e.section, "Image"), frames, false, trans});
    if (e.second)
      uses.push_back({std::string(e.section) + "/" + e.second, ini.Text(e.section, e.second), e.secondFrames,
                      false, true});
  }
  return uses;
}

// Every section and key the engine's description parser asks for.
std::vector<std::pair<std::string, std::string>> RequiredKeys(const Ini& ini) {
  std::vector<std::pair<std::string, std::string>> keys = {
      {"TitlebarSkin", "SkinName"}, {"Fonts", "FontHeight"}, {"MDICONTROLS", "Image"}};
  for (const char* side : kEdges)
    for (const char* suffix : {"", "TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
      keys.push_back({"Personality", std::string(side) + suffix});
  for (const char* key :
       {"TextBack", "TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground",
        "TXTBackleft", "TXTBackRight", "ActiveTextR", "ActiveTextG", "ActiveTextB", "InActiveTextR",
        "InActiveTextG", "InActiveTextB", "menuBar", "TileMenu", "TileLeftMenu", "TileRightMenu"})
    keys.push_back({"Personality", key});
  for (const char* key : kColourKeys) keys.push_back({"Colours", key});
  for (const char* key :
       {"Bitmap", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile", "CheckButton",
        "RadioButton", "NormalColour", "MouseOverColour", "PressedColour", "RadioButtonFrame",
        "CheckButtonFrame", "NormalColour2", "MouseOverColour2", "PressedColour2"})
    keys.push_back({"Buttons", key});
  for (const char* key :
       {"Bitmap", "Chunk", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"})
    keys.push_back({"Progress", key});
  for (const ElementRule& e : kElements) {
    keys.push_back({e.section, "Image"});
    for (const char* key : kGenericKeys) keys.push_back({e.section, key});
    if (e.style) keys.push_back({e.section, "Style"});
    if (e.second) keys.push_back({e.section, e.second});
    if (e.frames == 0) keys.push_back({e.section, "FrameCount"});
  }
  for (const char* key : {"BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"})
    keys.push_back({"GroupBox", key});
  for (const Section& s : ini.sections) {
    if (IsCaptionButtonSection(s.name))
      for (const char* key : kCaptionButtonKeys) keys.push_back({s.name, key});
    if (IsExtraColourSection(s.name)) keys.push_back({s.name, "color"});
  }
  return keys;
}

std::set<std::string> BmpFilesIn(const std::string& folder) {
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".bmp") files.insert(entry.path().filename().string());
  return files;
}

class SkinDescription : public ::testing::TestWithParam<std::string> {
 protected:
  std::string Folder() const { return kSkins + "/" + GetParam(); }
  Ini ReadOwnIni() const { return ReadIni(Folder() + "/skin.ini"); }
};

}  // namespace

// ---- BMP writer ---------------------------------------------------------------------------------

TEST(BmpWriter, HeadersOf24BitFileDescribeSizeAndLayout) {
  const std::vector<uint8_t> b = EncodeBmp24(Image(3, 2));
  ASSERT_EQ(b.size(), 54u + 2 * 12);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(Le32(b, 2), b.size());
  EXPECT_EQ(Le32(b, 6), 0u);
  EXPECT_EQ(Le32(b, 10), 54u);
  EXPECT_EQ(Le32(b, 14), 40u);
  EXPECT_EQ(Le32(b, 18), 3u);
  EXPECT_EQ(Le32(b, 22), 2u);  // positive height: bottom-up rows
  EXPECT_EQ(Le16(b, 26), 1u);
  EXPECT_EQ(Le16(b, 28), 24u);
  EXPECT_EQ(Le32(b, 30), 0u);  // uncompressed
  EXPECT_EQ(Le32(b, 34), 24u);
  EXPECT_EQ(Le32(b, 46), 0u);
}

TEST(BmpWriter, PixelsAreBlueGreenRedBottomRowFirstWithRowsPaddedToFourBytes) {
  Image image(3, 2);
  image.At(0, 0) = Rgb(0x11, 0x22, 0x33);
  image.At(2, 0) = Rgb(0x44, 0x55, 0x66);
  image.At(0, 1) = Rgb(0x77, 0x88, 0x99);
  const std::vector<uint8_t> b = EncodeBmp24(image);
  const std::vector<uint8_t> bottomRow(b.begin() + 54, b.begin() + 66);
  const std::vector<uint8_t> topRow(b.begin() + 66, b.end());
  EXPECT_EQ(bottomRow, (std::vector<uint8_t>{0x99, 0x88, 0x77, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(topRow, (std::vector<uint8_t>{0x33, 0x22, 0x11, 0, 0, 0, 0x66, 0x55, 0x44, 0, 0, 0}));
  EXPECT_EQ(EncodeBmp24(Image(4, 1)).size(), 54u + 12);  // 12 bytes: no padding needed
}

TEST(BmpWriter, MonochromeFileHasBlackWhitePaletteAndMostSignificantBitFirst) {
  Image image(10, 2, Rgb(0, 0, 0));
  image.At(0, 1) = image.At(9, 1) = Rgb(255, 255, 255);
  image.At(1, 0) = Rgb(254, 255, 255);  // not exactly white: black
  const std::vector<uint8_t> b = EncodeBmp1(image);
  ASSERT_EQ(b.size(), 62u + 2 * 4);
  EXPECT_EQ(Le32(b, 10), 62u);
  EXPECT_EQ(Le16(b, 28), 1u);
  EXPECT_EQ(Le32(b, 46), 2u);
  EXPECT_EQ(Le32(b, 54), 0x000000u);
  EXPECT_EQ(Le32(b, 58), 0xFFFFFFu);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 62, b.end()),
            (std::vector<uint8_t>{0x80, 0x40, 0, 0, 0, 0, 0, 0}));
}

TEST(BmpWriter, DecodeReadsBackWhatWasWrittenAndRefusesOtherFiles) {
  Image image(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) image.At(x, y) = Rgb(x * 40, y * 70, 200 - x);
  EXPECT_EQ(DecodeBmp24(EncodeBmp24(image)), image);

  std::vector<uint8_t> topDown = EncodeBmp24(image);
  const int32_t negative = -3;
  std::memcpy(&topDown[22], &negative, 4);
  const auto flipped = DecodeBmp24(topDown);
  ASSERT_TRUE(flipped);
  EXPECT_EQ(flipped->At(0, 0), image.At(0, 2));

  std::vector<uint8_t> truncated = EncodeBmp24(image);
  truncated.resize(truncated.size() - 1);
  EXPECT_FALSE(DecodeBmp24(truncated));
  EXPECT_FALSE(DecodeBmp24(EncodeBmp1(image)));
  EXPECT_FALSE(DecodeBmp24(std::vector<uint8_t>(60, 0)));
}

// ---- Drawing helpers ----------------------------------------------------------------------------

TEST(Paint, RoundedBoxKeysOnlyTheCornersItRounds) {
  Image image(12, 10, Rgb(1, 2, 3));
  RoundedBox(image, 0, 0, 12, 10, 4, kTopCorners, Rgb(9, 9, 9), Rgb(200, 200, 200), Rgb(100, 100, 100));
  EXPECT_EQ(image.At(0, 0), kKey);
  EXPECT_EQ(image.At(11, 0), kKey);
  EXPECT_EQ(image.At(0, 9), Rgb(9, 9, 9));  // square bottom corners keep the border
  EXPECT_EQ(image.At(11, 9), Rgb(9, 9, 9));
  EXPECT_EQ(image.At(5, 0), Rgb(9, 9, 9));
  EXPECT_EQ(image.At(5, 1), Mix(Rgb(200, 200, 200), Rgb(100, 100, 100), 1, 9));
}

TEST(Paint, StripPlacesFramesSideBySideOrStacked) {
  const Image a(2, 3, Rgb(1, 0, 0)), b(2, 3, Rgb(2, 0, 0));
  const Image side = Strip({a, b}), stacked = Strip({a, b}, true);
  EXPECT_EQ(side.width, 4);
  EXPECT_EQ(side.At(2, 0), Rgb(2, 0, 0));
  EXPECT_EQ(stacked.height, 6);
  EXPECT_EQ(stacked.At(0, 3), Rgb(2, 0, 0));
}

// ---- The committed skins against the drawing ---------------------------------------------------

TEST(SkinFolder, CommittedPicturesAreExactlyWhatTheToolDraws) {
  const std::vector<SkinFile> files = SkinFiles();
  ASSERT_FALSE(files.empty());
  for (const SkinFile& f : files) {
    const auto onDisk = ReadFileBytes(kSkins + "/" + f.path);
    ASSERT_TRUE(onDisk) << f.path << " is missing; run skinart write";
    EXPECT_TRUE(*onDisk == f.bytes) << f.path << " differs from the drawing; run skinart write";
  }
}

TEST(SkinFolder, DrawingIsDeterministic) {
  const std::vector<SkinFile> first = SkinFiles(), second = SkinFiles();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].path, second[i].path);
    EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].path;
  }
}

TEST(SkinFolder, MenuGlyphsAreFourBlackOnWhiteGlyphsOf16Pixels) {
  const Image glyphs = DrawMenuGlyphs();
  ASSERT_EQ(glyphs.width, 64);
  ASSERT_EQ(glyphs.height, 16);
  for (int cell = 0; cell < 4; ++cell) {
    int ink = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = cell * 16; x < cell * 16 + 16; ++x) {
        const uint32_t c = glyphs.At(x, y);
        ASSERT_TRUE(c == Rgb(0, 0, 0) || c == Rgb(255, 255, 255));
        ink += c == Rgb(0, 0, 0);
      }
    EXPECT_GT(ink, 10) << "glyph " << cell;
  }
}

// ---- Descriptions against their pictures ---------------------------------------------------------

TEST_P(SkinDescription, NamesEverySectionAndKeyTheParserReads) {
  const Ini ini = ReadOwnIni();
  for (const auto& [section, key] : RequiredKeys(ini))
    EXPECT_TRUE(ini.Has(section, key)) << section << "/" << key;
  int extraColours = 0, captionButtons = 0;
  for (const Section& s : ini.sections) {
    extraColours += IsExtraColourSection(s.name);
    captionButtons += IsCaptionButtonSection(s.name);
  }
  EXPECT_GE(extraColours, 1);
  EXPECT_GE(captionButtons, 6);
}

TEST_P(SkinDescription, EveryNamedPictureExistsAndHoldsWholeFrames) {
  const Ini ini = ReadOwnIni();
  std::set<std::string> named;
  for (const PictureUse& use : PictureUses(ini, Folder())) {
    if (use.file.empty()) {
      EXPECT_EQ(use.frames, 0) << use.where << " names no picture";
      continue;
    }
    EXPECT_EQ(use.file.substr(use.file.size() - 4), ".bmp") << use.where;
    named.insert(use.file);
    const auto image = DecodeBmp24(ReadFileBytes(Folder() + "/" + use.file).value_or(std::vector<uint8_t>{}));
    ASSERT_TRUE(image) << use.where << ": " << use.file << " is missing or not a 24-bit BMP";
    if (use.frames == 0) continue;
    const int length = use.stacked ? image->height : image->width;
    EXPECT_EQ(length % use.frames, 0)
        << use.where << ": " << length << " pixels for " << use.frames << " frames";
    EXPECT_GT(length / use.frames, 0) << use.where;
  }
  EXPECT_EQ(named, BmpFilesIn(Folder())) << "every picture of the folder is named, and only those";
}

TEST_P(SkinDescription, OpaquePicturesShowNoKeyColour) {
  const Ini ini = ReadOwnIni();
  std::set<std::string> transparent;
  for (const PictureUse& use : PictureUses(ini, Folder()))
    if (use.transparent) transparent.insert(use.file);
  for (const PictureUse& use : PictureUses(ini, Folder())) {
    if (use.file.empty() || transparent.count(use.file)) continue;
    const auto image = DecodeBmp24(*ReadFileBytes(Folder() + "/" + use.file));
    ASSERT_TRUE(image);
    EXPECT_EQ(std::count(image->pixels.begin(), image->pixels.end(), kKey), 0) << use.where;
  }
}

TEST_P(SkinDescription, CaptionButtonsFitTheCaption) {
  const Ini ini = ReadOwnIni();
  const auto top = DecodeBmp24(*ReadFileBytes(Folder() + "/" + ini.Text("Personality", "Top")));
  ASSERT_TRUE(top);
  const int caption = top->height / ini.Int("Personality", "TopFrame", 1);
  for (const Section& s : ini.sections) {
    if (!IsCaptionButtonSection(s.name) || ini.Text(s.name, "ButtonImage").empty()) continue;
    const auto image = DecodeBmp24(*ReadFileBytes(Folder() + "/" + ini.Text(s.name, "ButtonImage")));
    ASSERT_TRUE(image);
    EXPECT_LE(ini.Int(s.name, "Ycoord", 0) + image->height, caption) << s.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinDescription, ::testing::Values("default", "test"));

// ---- The default skin's shape ------------------------------------------------------------------

TEST(DefaultSkin, FrameCornersAreCutOnlyAtTheTopOfTheWindow) {
  const std::string folder = kSkins + "/default";
  const Ini ini = ReadIni(folder + "/skin.ini");
  const auto left = DecodeBmp24(*ReadFileBytes(folder + "/left.bmp"));
  const auto right = DecodeBmp24(*ReadFileBytes(folder + "/right.bmp"));
  const auto top = DecodeBmp24(*ReadFileBytes(folder + "/top.bmp"));
  ASSERT_TRUE(left && right && top);
  const int caption = top->height / 2, edge = left->width / 2;
  // The side edges keep the whole caption band unscaled, so the corner is never stretched.
  EXPECT_EQ(ini.Int("Personality", "LeftTopHeight", 0), caption);
  EXPECT_EQ(ini.Int("Personality", "RightTopHeight", 0), caption);
  for (int frame = 0; frame < 2; ++frame) {
    EXPECT_EQ(left->At(frame * edge, 0), kKey);
    EXPECT_EQ(right->At(frame * edge + edge - 1, 0), kKey);
    EXPECT_EQ(top->At(0, frame * caption), kKey);
    EXPECT_NE(top->At(top->width / 2, frame * caption), kKey);
    for (int y = caption; y < left->height; ++y)
      for (int x = frame * edge; x < frame * edge + edge; ++x) {
        EXPECT_NE(left->At(x, y), kKey);
        EXPECT_NE(right->At(x, y), kKey);
      }
  }
  // The key stays inside the top edge's unscaled left and right margins.
  const int keptLeft = ini.Int("Personality", "TopTopHeight", 0),
            keptRight = ini.Int("Personality", "TopBotHeight", 0);
  for (int y = 0; y < top->height; ++y)
    for (int x = keptLeft; x < top->width - keptRight; ++x) EXPECT_NE(top->At(x, y), kKey);
}

TEST(DefaultSkin, NoPictureHoldsColoursOnlyTheRegionBuilderTakesForTheKey) {
  // Red 255, green 1, blue 255 would be drawn by the transparent copy but cut out of window regions.
  for (const std::string& file : BmpFilesIn(kSkins + "/default")) {
    const auto image = DecodeBmp24(*ReadFileBytes(kSkins + "/default/" + file));
    ASSERT_TRUE(image) << file;
    EXPECT_EQ(std::count(image->pixels.begin(), image->pixels.end(), Rgb(255, 1, 255)), 0) << file;
  }
}

// ---- The test skin's colours ---------------------------------------------------------------------

TEST(TestSkin, FrameColoursAreDistinctAndNeverNearTheKey) {
  std::set<uint32_t> seen;
  for (int p = 0; p < testskin::tpCount; ++p)
    for (int f = 1; f <= testskin::kTestPictures[p].frames; ++f) {
      const uint32_t c = testskin::TestSkinColour(p, f);
      EXPECT_TRUE(seen.insert(c).second) << "picture " << p << " frame " << f;
      EXPECT_NE(RedOf(c), 255);
    }
  EXPECT_EQ(testskin::TestSkinColour(testskin::tpLeft, 2), Rgb(3, 15, 250));
  EXPECT_EQ(testskin::TestSkinColour(testskin::tpTop, 1), Rgb(13, 5, 240));
}

TEST(TestSkin, EveryPixelOfEveryPictureIsAsDocumented) {
  const std::string folder = kSkins + "/test";
  for (int p = 0; p < testskin::tpCount; ++p) {
    const testskin::TestPictureInfo& info = testskin::kTestPictures[p];
    const auto image = DecodeBmp24(ReadFileBytes(folder + "/" + info.file).value_or(std::vector<uint8_t>{}));
    ASSERT_TRUE(image) << info.file;
    ASSERT_EQ(image->width, testskin::StripWidth(info)) << info.file;
    ASSERT_EQ(image->height, testskin::StripHeight(info)) << info.file;
    int mismatches = 0;
    for (int y = 0; y < image->height; ++y)
      for (int x = 0; x < image->width; ++x)
        mismatches += image->At(x, y) != testskin::TestSkinPixel(p, x, y);
    EXPECT_EQ(mismatches, 0) << info.file;
  }
  // Spot checks with the numbers written out: frame 2 of the stacked top edge and its marks.
  const auto top = DecodeBmp24(*ReadFileBytes(folder + "/top.bmp"));
  ASSERT_TRUE(top);
  EXPECT_EQ(top->At(0, 5), Rgb(255, 0, 255));
  EXPECT_EQ(top->At(1, 5), Rgb(255, 1, 255));
  EXPECT_EQ(top->At(2, 5), Rgb(255, 2, 255));
  EXPECT_EQ(top->At(3, 5), Rgb(13, 15, 240));
  EXPECT_EQ(top->At(9, 9), Rgb(13, 15, 240));
}

TEST(TestSkin, DescriptionHoldsTheNamedColoursTheHeaderDocuments) {
  const Ini ini = ReadIni(kSkins + "/test/skin.ini");
  ASSERT_NE(ini.Find("Colours"), nullptr);
  for (int k = 0; k < testskin::kTestColourCount; ++k) {
    const uint32_t c = testskin::TestSkinNamedColour(k);
    std::ostringstream text;
    text << RedOf(c) << ' ' << GreenOf(c) << ' ' << BlueOf(c);
    EXPECT_EQ(ini.Text("Colours", testskin::kTestColourKeys[k]), text.str()) << testskin::kTestColourKeys[k];
  }
  EXPECT_EQ(ini.Find("Colours")->values.size(), static_cast<size_t>(testskin::kTestColourCount));
  EXPECT_EQ(testskin::TestSkinNamedColour(1), Rgb(21, 22, 23));  // ButtonFace
}

TEST(TestSkin, DescriptionCountsTheFramesTheHeaderDocuments) {
  const std::string folder = kSkins + "/test";
  std::map<std::string, const testskin::TestPictureInfo*> byFile;
  for (const auto& info : testskin::kTestPictures) byFile[info.file] = &info;
  for (const PictureUse& use : PictureUses(ReadIni(folder + "/skin.ini"), folder)) {
    ASSERT_TRUE(byFile.count(use.file)) << use.where << " names " << use.file;
    if (use.frames == 0) continue;  // the icon button's picture, which the engine drops
    EXPECT_EQ(byFile[use.file]->frames, use.frames) << use.where;
    EXPECT_EQ(byFile[use.file]->stacked, use.stacked) << use.where;
  }
}
