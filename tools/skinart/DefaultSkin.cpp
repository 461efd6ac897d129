// Our default skin: a dark-blue caption with rounded top corners over a light blue-grey frame, and
// light, flat controls with blue accents. Sizes and margins here must agree with
// skins/default/skin.ini.
#include <functional>

#include "tools/skinart/Paint.h"
#include "tools/skinart/SkinArt.h"

namespace skinart {

namespace {

// Window frame geometry: the edge widths, the caption height and the corner radius.
constexpr int kBorder = 4;
constexpr int kCaption = 26;
constexpr int kCornerRadius = 8;
constexpr int kMockWidth = 48;  // a small window whose frame is cut into the four edge pictures
constexpr int kMockHeight = kCaption + 4 + kBorder;

constexpr uint32_t kFace = Rgb(0xEC, 0xEE, 0xF2);  // ButtonFace of the skin
constexpr uint32_t kWhite = Rgb(0xFF, 0xFF, 0xFF);

// The four looks most controls have, in the frame order the engine uses for them.
enum Look { kNormal, kPressed, kDisabled, kHot };
constexpr Look kLooks[] = {kNormal, kPressed, kDisabled, kHot};

struct Shade {
  uint32_t border, top, bottom;
};

// Per look, indexed by Look. Light raised faces: buttons, arrows, combo buttons.
constexpr Shade kFaceShades[] = {{Rgb(0x7A, 0x8A, 0xA6), Rgb(0xFF, 0xFF, 0xFF), Rgb(0xDF, 0xE5, 0xEE)},
                                 {Rgb(0x3A, 0x5A, 0x94), Rgb(0xC6, 0xD2, 0xE4), Rgb(0xDA, 0xE2, 0xEE)},
                                 {Rgb(0xB8, 0xBE, 0xC8), Rgb(0xEE, 0xF0, 0xF3), Rgb(0xEE, 0xF0, 0xF3)},
                                 {Rgb(0x3A, 0x6B, 0xC5), Rgb(0xF5, 0xF9, 0xFF), Rgb(0xD3, 0xE1, 0xF5)}};
// Arrows and marks drawn on those faces.
constexpr uint32_t kGlyphColours[] = {Rgb(0x2A, 0x3A, 0x58), Rgb(0x2A, 0x3A, 0x58), Rgb(0xA0, 0xA8, 0xB4),
                                      Rgb(0x1E, 0x4F, 0xA8)};
// Borders of sunken fields (combo box, edit-like frames).
constexpr uint32_t kFieldBorders[] = {Rgb(0x8A, 0x9A, 0xB5), Rgb(0x2E, 0x5D, 0xB5), Rgb(0xC0, 0xC6, 0xCF),
                                      Rgb(0x3A, 0x6B, 0xC5)};

Shade FaceShade(Look look) { return kFaceShades[look]; }
uint32_t GlyphColour(Look look) { return kGlyphColours[look]; }
uint32_t FieldBorder(Look look) { return kFieldBorders[look]; }

// A w x h frame filled by one rounded box.
Image Box(int w, int h, double radius, const Shade& s) {
  Image f(w, h);
  RoundedBox(f, 0, 0, w, h, radius, kAllCorners, s.border, s.top, s.bottom);
  return f;
}

Image RaisedFace(int w, int h, Look look, double radius = 2) { return Box(w, h, radius, FaceShade(look)); }

Image KeyFrame(int w, int h) { return Image(w, h, kKey); }

// A strip with one frame per look, in the order normal, pressed, disabled, hot.
Image LookStrip(const std::function<Image(Look)>& draw) {
  std::vector<Image> frames;
  for (Look look : kLooks) frames.push_back(draw(look));
  return Strip(frames);
}

// ---- Arrow glyphs -------------------------------------------------------------------------------

const std::vector<const char*> kArrowDown = {"#######", ".#####.", "..###..", "...#..."};
const std::vector<const char*> kArrowUp = {"...#...", "..###..", ".#####.", "#######"};
const std::vector<const char*> kArrowLeft = {"...#", "..##", ".###", "####", ".###", "..##", "...#"};
const std::vector<const char*> kArrowRight = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};

// The arrow centred in a w x h frame, one pixel down and right when pressed.
void CentredArrow(Image& f, const std::vector<const char*>& arrow, Look look) {
  const int aw = static_cast<int>(std::char_traits<char>::length(arrow[0]));
  const int ah = static_cast<int>(arrow.size());
  const int shift = look == kPressed ? 1 : 0;
  Pattern(f, (f.width - aw) / 2 + shift, (f.height - ah) / 2 + shift, arrow, GlyphColour(look));
}

Image ArrowOnKey(int w, int h, const std::vector<const char*>& arrow, Look look) {
  Image f = KeyFrame(w, h);
  CentredArrow(f, arrow, look);
  return f;
}

// ---- Window frame -------------------------------------------------------------------------------

struct FramePalette {
  uint32_t outline, captionTop, captionBottom, captionHighlight, captionLine, light, inner;
};

FramePalette FrameColours(bool active) {
  if (active)
    return {Rgb(0x14, 0x25, 0x4A), Rgb(0x2B, 0x4C, 0x8C), Rgb(0x16, 0x30, 0x5F), Rgb(0x48, 0x67, 0xA6),
            Rgb(0x0F, 0x1E, 0x3D), Rgb(0xDC, 0xE3, 0xEE), Rgb(0xB4, 0xC2, 0xD8)};
  return {Rgb(0x5E, 0x68, 0x78), Rgb(0x87, 0x94, 0xA8), Rgb(0x6C, 0x78, 0x8B), Rgb(0x9A, 0xA6, 0xB8),
          Rgb(0x5A, 0x64, 0x74), Rgb(0xE6, 0xE8, 0xEC), Rgb(0xC8, 0xCC, 0xD3)};
}

// A whole small window frame; the edge pictures are cut from it, so that their pieces always meet.
// Outside the rounded top corners it is the key colour, which the window region leaves out.
Image FrameMock(bool active) {
  const FramePalette c = FrameColours(active);
  const int w = kMockWidth, h = kMockHeight;
  Image m(w, h, c.light);
  VGradient(m, 0, 0, w, kCaption, c.captionTop, c.captionBottom);
  Fill(m, 1, 1, w - 1, 2, c.captionHighlight);
  Fill(m, 0, kCaption - 1, w, kCaption, c.captionLine);
  Fill(m, kBorder - 1, kCaption, kBorder, h - kBorder + 1, c.inner);
  Fill(m, w - kBorder, kCaption, w - kBorder + 1, h - kBorder + 1, c.inner);
  Fill(m, kBorder - 1, h - kBorder, w - kBorder + 1, h - kBorder + 1, c.inner);
  ShapeOutline(m, 0, 0, w, h, kCornerRadius, kTopCorners, c.outline);
  return m;
}

void AddFramePictures(std::vector<Picture>& out) {
  const Image active = FrameMock(true), inactive = FrameMock(false);
  auto cut = [&](int left, int top, int width, int height, bool stacked) {
    return Strip({Crop(active, left, top, width, height), Crop(inactive, left, top, width, height)}, stacked);
  };
  const int inner = kMockWidth - 2 * kBorder;
  out.push_back({"left.bmp", cut(0, 0, kBorder, kMockHeight, false)});
  out.push_back({"right.bmp", cut(kMockWidth - kBorder, 0, kBorder, kMockHeight, false)});
  out.push_back({"top.bmp", cut(kBorder, 0, inner, kCaption, true)});
  out.push_back({"bottom.bmp", cut(kBorder, kMockHeight - kBorder, inner, kBorder, true)});
}

// The rounded band behind the caption text: active above, inactive below.
Image TitleBack() {
  auto band = [](bool active) {
    Image f = KeyFrame(24, kCaption);
    const uint32_t fill = active ? Rgb(0x35, 0x58, 0x9A) : Rgb(0x95, 0xA1, 0xB4);
    const uint32_t edge = active ? Rgb(0x4A, 0x6C, 0xAD) : Rgb(0xA5, 0xB0, 0xC1);
    RoundedBox(f, 0, 5, 24, kCaption - 5, 5, kAllCorners, edge, fill, fill);
    return f;
  };
  return Strip({band(true), band(false)}, true);
}

// The menu bar: active above, inactive below; stretched to the bar's height.
Image MenuBar() {
  auto bar = [](bool active) {
    Image f(16, 20);
    VGradient(f, 0, 0, 16, 19, active ? Rgb(0xF6, 0xF8, 0xFB) : Rgb(0xF2, 0xF3, 0xF5),
              active ? Rgb(0xE4, 0xE9, 0xF1) : Rgb(0xE8, 0xEA, 0xED));
    Fill(f, 0, 19, 16, 20, active ? Rgb(0xB4, 0xC2, 0xD8) : Rgb(0xC8, 0xCC, 0xD3));
    return f;
  };
  return Strip({bar(true), bar(false)}, true);
}

// ---- Caption buttons ----------------------------------------------------------------------------

const std::vector<const char*> kCloseGlyph = {"##.....##", ".##...##.", "..##.##..", "...###...",
                                              "...###...", "..##.##..", ".##...##.", "##.....##"};
const std::vector<const char*> kMaximizeGlyph = {"#########", "#########", "#.......#", "#.......#",
                                                 "#.......#", "#.......#", "#.......#", "#########"};
const std::vector<const char*> kRestoreGlyph = {"..#######", "..#######", "..#.....#", "#######.#",
                                                "#######.#", "#.....###", "#.....#..", "#######.."};
const std::vector<const char*> kMinimizeGlyph = {"", "", "", "", "", "", "#########", "#########"};
const std::vector<const char*> kHelpGlyph = {"..#####..", ".##...##.", ".......##", ".....##..",
                                             "....##...", "....##...", ".........", "....##..."};

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive window. The close button turns red when hot.
Image CaptionButton(const std::vector<const char*>& glyph, bool danger) {
  constexpr int w = 20, h = 18;
  auto frame = [&](int k) {
    Image f(w, h);
    Shade s{Rgb(0x4A, 0x6C, 0xAD), Rgb(0x33, 0x56, 0x98), Rgb(0x22, 0x40, 0x7A)};
    uint32_t ink = kWhite;
    if (k == 2) s = {Rgb(0x0E, 0x1E, 0x3E), Rgb(0x14, 0x2A, 0x55), Rgb(0x1C, 0x36, 0x6A)};
    if (k == 3)
      s = danger ? Shade{Rgb(0xF0, 0x8A, 0x88), Rgb(0xD9, 0x4A, 0x48), Rgb(0xB3, 0x2B, 0x2A)}
                 : Shade{Rgb(0x7F, 0xA3, 0xDD), Rgb(0x4A, 0x74, 0xC0), Rgb(0x35, 0x5C, 0xA6)};
    if (k == 4) {
      s = {Rgb(0xA5, 0xB0, 0xC1), Rgb(0x8E, 0x9A, 0xAD), Rgb(0x7A, 0x86, 0x99)};
      ink = Rgb(0xE8, 0xEC, 0xF2);
    }
    RoundedBox(f, 0, 0, w, h, 3, kAllCorners, s.border, s.top, s.bottom);
    const int shift = k == 2 ? 1 : 0;
    Pattern(f, 6 + shift, 5 + shift, glyph, ink);
    return f;
  };
  return Strip({frame(1), frame(2), frame(3), frame(4)});
}

// The three buttons of a maximised MDI child, shown on the light menu bar: minimise, restore and
// close, four frames each (normal, pressed, unused, hot: the engine shows frame 4 when hot).
Image MdiControls() {
  const std::vector<const char*> glyphs[] = {
      {"", "", "", "", "#######", "#######"},
      {".######", ".#....#", "#####.#", "#...###", "#...#..", "#####.."},
      {"##...##", ".##.##.", "..###..", ".##.##.", "##...##"}};
  std::vector<Image> frames;
  for (const auto& glyph : glyphs) {
    for (Look look : {kNormal, kPressed, kHot, kHot}) {
      Image f = RaisedFace(16, 14, look);
      const int shift = look == kPressed ? 1 : 0;
      Pattern(f, 5 + shift, 4 + shift, glyph, Rgb(0x1E, 0x2E, 0x4A));
      frames.push_back(f);
    }
  }
  return Strip(frames);
}

// ---- Buttons, check boxes, radio buttons ---------------------------------------------------------

// Push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
Image PushButtons() {
  std::vector<Image> frames;
  for (Look look : kLooks) frames.push_back(RaisedFace(24, 22, look, 3));
  Image def = Box(24, 22, 3, {Rgb(0x1E, 0x3A, 0x6E), FaceShade(kNormal).top, FaceShade(kNormal).bottom});
  FrameBox(def, 1, 1, 23, 21, Rgb(0x6E, 0x8C, 0xC8));
  def.At(1, 1) = def.At(22, 1) = def.At(1, 20) = def.At(22, 20) = Rgb(0x1E, 0x3A, 0x6E);
  frames.push_back(def);
  return Strip(frames);
}

// A 13 x 13 box or circle in one of the four looks; `mark` is drawn in the look's ink.
Image MarkBox(Look look, bool round, const std::function<void(Image&, uint32_t)>& mark) {
  static const uint32_t borders[] = {Rgb(0x5A, 0x6B, 0x88), Rgb(0x2A, 0x4A, 0x8A), Rgb(0xB8, 0xBE, 0xC8),
                                     Rgb(0x3A, 0x6B, 0xC5)};
  static const uint32_t faces[] = {kWhite, Rgb(0xD5, 0xE0, 0xF0), Rgb(0xF2, 0xF3, 0xF5),
                                   Rgb(0xEE, 0xF4, 0xFF)};
  Image f(13, 13);
  RoundedBox(f, 0, 0, 13, 13, round ? 6.5 : 1, kAllCorners, borders[look], faces[look], faces[look]);
  if (mark) mark(f, look == kDisabled ? Rgb(0xA0, 0xA8, 0xB4) : Rgb(0x1E, 0x3A, 0x6E));
  return f;
}

// Check boxes, 12 frames: unchecked, checked, indeterminate, each normal, hot, pressed, disabled.
Image CheckBoxes() {
  const std::function<void(Image&, uint32_t)> marks[] = {
      nullptr,
      [](Image& f, uint32_t ink) {
        Pattern(f, 3, 3, {"......#", ".....##", "#...##.", "##.##..", ".###...", "..#...."}, ink);
      },
      [](Image& f, uint32_t ink) { Fill(f, 4, 4, 9, 9, ink); }};
  std::vector<Image> frames;
  for (const auto& mark : marks)
    for (Look look : {kNormal, kHot, kPressed, kDisabled}) frames.push_back(MarkBox(look, false, mark));
  return Strip(frames);
}

// Radio buttons, 8 frames: unchecked, checked, each normal, hot, pressed, disabled.
Image RadioButtons() {
  const std::function<void(Image&, uint32_t)> marks[] = {
      nullptr, [](Image& f, uint32_t ink) {
        for (int y = 4; y < 9; ++y)
          for (int x = 4; x < 9; ++x)
            if (InsideRounded(x, y, 4, 4, 9, 9, 2.5, kAllCorners)) f.At(x, y) = ink;
      }};
  std::vector<Image> frames;
  for (const auto& mark : marks)
    for (Look look : {kNormal, kHot, kPressed, kDisabled}) frames.push_back(MarkBox(look, true, mark));
  return Strip(frames);
}

// ---- Progress, group box, tool bar, tabs, status bar ----------------------------------------------

// 1 the empty track, 2 the filled bar.
Image Progress() {
  return Strip({Box(24, 14, 3, {Rgb(0xA8, 0xB4, 0xC8), Rgb(0xE4, 0xE9, 0xF1), Rgb(0xF7, 0xF9, 0xFC)}),
                Box(24, 14, 3, {Rgb(0x2A, 0x4F, 0x95), Rgb(0x6E, 0x9B, 0xE0), Rgb(0x2F, 0x5F, 0xB8)})});
}

// One block of the chunked bar, with a gap on its right.
Image ProgressChunk() {
  Image f = KeyFrame(8, 10);
  VGradient(f, 0, 0, 7, 10, Rgb(0x6E, 0x9B, 0xE0), Rgb(0x2F, 0x5F, 0xB8));
  return f;
}

// The rounded line around a group: enabled, disabled; the inside shows through.
Image GroupBoxEdge() {
  auto edge = [](uint32_t line) {
    Image f(16, 16);
    RoundedBox(f, 0, 0, 16, 16, 4, kAllCorners, line, kKey, kKey);
    return f;
  };
  return Strip({edge(Rgb(0xA8, 0xB4, 0xC8)), edge(Rgb(0xCC, 0xD3, 0xDE))});
}

// The band behind a group box caption.
Image GroupBoxLabel() {
  return Box(24, 18, 5, {Rgb(0xB4, 0xC4, 0xDC), Rgb(0xDC, 0xE5, 0xF2), Rgb(0xDC, 0xE5, 0xF2)});
}

// Flat tool bar buttons: 1 normal and 3 disabled show the bar, 2 pressed, 4 hot, 5 checked.
Image Toolbars() {
  auto box = [](uint32_t border, uint32_t top, uint32_t bottom) {
    return Box(22, 22, 3, {border, top, bottom});
  };
  return Strip({KeyFrame(22, 22), box(Rgb(0x7A, 0x8A, 0xA6), Rgb(0xC6, 0xD2, 0xE4), Rgb(0xDA, 0xE2, 0xEE)),
                KeyFrame(22, 22), box(Rgb(0x7F, 0xA3, 0xDD), Rgb(0xF2, 0xF7, 0xFF), Rgb(0xE3, 0xEC, 0xFA)),
                box(Rgb(0x5A, 0x7A, 0xB5), Rgb(0xD5, 0xE0, 0xF0), Rgb(0xD5, 0xE0, 0xF0))});
}

// Tabs: 1 ordinary, 2 current (open towards its page, blue accent), 3 hot, 4 disabled, 5 pressed.
Image Tabs() {
  constexpr int w = 20, h = 22;
  const uint32_t line = Rgb(0x8A, 0x9A, 0xB5);
  auto tab = [&](uint32_t border, uint32_t top, uint32_t bottom, bool open, bool accent) {
    Image f(w, h);
    RoundedBox(f, 0, 0, w, h + 1, 3, kTopCorners, border, top, bottom);
    if (!open) Fill(f, 0, h - 1, w, h, line);
    if (accent) Fill(f, 2, 1, w - 2, 3, Rgb(0x3A, 0x6B, 0xC5));
    return f;
  };
  return Strip({tab(line, Rgb(0xF0, 0xF3, 0xF8), Rgb(0xDA, 0xE1, 0xEC), false, false),
                tab(line, kWhite, kFace, true, true),
                tab(line, Rgb(0xF7, 0xFA, 0xFF), Rgb(0xE0, 0xEA, 0xF8), false, false),
                tab(Rgb(0xC0, 0xC6, 0xCF), Rgb(0xEE, 0xF0, 0xF3), Rgb(0xEE, 0xF0, 0xF3), false, false),
                tab(line, kWhite, kFace, true, false)});
}

// The border around a tab page; the engine cuts it with margins 4, 5, 4, 4 and never draws the centre.
Image TabBorder() {
  Image f(16, 16, kFace);
  FrameBox(f, 0, 0, 16, 16, Rgb(0x8A, 0x9A, 0xB5));
  Fill(f, 1, 1, 15, 2, kWhite);
  Fill(f, 1, 1, 2, 15, kWhite);
  return f;
}

// Status bar panels: 1 lowered, 2 raised, 3 flat with a separator.
Image StatusBar() {
  const uint32_t dark = Rgb(0xA8, 0xB4, 0xC8);
  auto bevel = [&](uint32_t topLeft, uint32_t bottomRight) {
    Image f(12, 12, kFace);
    Fill(f, 0, 11, 12, 12, bottomRight);
    Fill(f, 11, 0, 12, 12, bottomRight);
    Fill(f, 0, 0, 12, 1, topLeft);
    Fill(f, 0, 0, 1, 12, topLeft);
    return f;
  };
  Image flat(12, 12, kFace);
  Fill(flat, 11, 2, 12, 10, Rgb(0xC8, 0xD0, 0xDC));
  return Strip({bevel(dark, kWhite), bevel(kWhite, dark), flat});
}

// ---- Combo box, header, menus -----------------------------------------------------------------------

// Combo box border, 4 frames by look; the text area inside is never drawn.
Image SunkEdge() {
  return LookStrip([](Look look) {
    Image f(12, 12, kWhite);
    FrameBox(f, 0, 0, 12, 12, FieldBorder(look));
    return f;
  });
}

// Combo drop-down button at the field's right end: it carries the field border on top, right and
// bottom, and a separator on its left. The engine makes the mirrored picture itself.
Image ComboButton() {
  return LookStrip([](Look look) {
    Image f(18, 20);
    const Shade s = FaceShade(look);
    VGradient(f, 0, 0, 18, 20, s.top, s.bottom);
    FrameBox(f, 0, 0, 18, 20, FieldBorder(look));
    Fill(f, 0, 1, 1, 19, Rgb(0xC8, 0xD0, 0xDC));
    return f;
  });
}

// Frames 1 to 4: the combo box drop arrow by look; frame 5: the size grip.
Image ExtraImages() {
  std::vector<Image> frames;
  for (Look look : kLooks) frames.push_back(ArrowOnKey(12, 12, kArrowDown, look));
  Image grip = KeyFrame(12, 12);
  for (int row = 0; row < 3; ++row) {
    for (int col = 2 - row; col < 3; ++col) {
      const int x = 2 + 3 * col, y = 2 + 3 * row;
      Fill(grip, x + 1, y + 1, x + 3, y + 3, kWhite);
      Fill(grip, x, y, x + 2, y + 2, Rgb(0x8A, 0x9A, 0xB5));
    }
  }
  frames.push_back(grip);
  return Strip(frames);
}

// List view column headers: 1 normal, 2 pressed, 3 hot, 4 disabled, 5 sorted.
Image Headerbar() {
  auto section = [](uint32_t top, uint32_t bottom, uint32_t underline) {
    Image f(16, 20);
    VGradient(f, 0, 0, 16, 19, top, bottom);
    Fill(f, 0, 19, 16, 20, underline);
    Fill(f, 15, 3, 16, 16, Rgb(0xC8, 0xD0, 0xDC));
    return f;
  };
  const uint32_t line = Rgb(0xA8, 0xB4, 0xC8);
  return Strip({section(kWhite, Rgb(0xE4, 0xE9, 0xF1), line),
                section(Rgb(0xD5, 0xDF, 0xEE), Rgb(0xE4, 0xE9, 0xF1), line),
                section(Rgb(0xF5, 0xF9, 0xFF), Rgb(0xDC, 0xE7, 0xF7), Rgb(0x3A, 0x6B, 0xC5)),
                section(Rgb(0xF2, 0xF3, 0xF5), Rgb(0xF2, 0xF3, 0xF5), Rgb(0xC8, 0xCC, 0xD3)),
                section(Rgb(0xEE, 0xF2, 0xF8), Rgb(0xD8, 0xE0, 0xEC), line)});
}

// Menu items over the popup background: 1 normal and 3 show the background, 2 holds the separator in
// its bottom rows, 4 selected (strong blue: selected text is HilightText, white), 5 a quieter selection.
Image MenuItem() {
  constexpr int w = 24, h = 20;
  Image separator = KeyFrame(w, h);
  Fill(separator, 2, h - 5, w - 2, h - 4, Rgb(0xC3, 0xCC, 0xDA));
  Fill(separator, 2, h - 4, w - 2, h - 3, kWhite);
  auto selected = [&](uint32_t border, uint32_t top, uint32_t bottom) {
    return Box(w, h, 3, {border, top, bottom});
  };
  return Strip({KeyFrame(w, h), separator, KeyFrame(w, h),
                selected(Rgb(0x2A, 0x55, 0xA8), Rgb(0x4F, 0x80, 0xD6), Rgb(0x3A, 0x6B, 0xC5)),
                selected(Rgb(0xC0, 0xC8, 0xD4), Rgb(0xEE, 0xF0, 0xF4), Rgb(0xEE, 0xF0, 0xF4))});
}

// The popup menu window: a 3-pixel frame around the Menu colour.
Image MenuBackground() {
  Image f(16, 16, Rgb(0xFB, 0xFC, 0xFE));
  FrameBox(f, 0, 0, 16, 16, Rgb(0x7A, 0x8A, 0xA6));
  FrameBox(f, 1, 1, 15, 15, kWhite);
  return f;
}

// ---- Scroll bars, track bars, up-down -----------------------------------------------------------------

// 23 frames of 16 x 16: four arrow buttons (left, right, up, down) in the looks normal, pressed,
// disabled, hot (frames 1-16); blank buttons in the same looks (17-20); track pieces normal, pressed,
// disabled (21-23).
Image ScrollArrows() {
  std::vector<Image> frames;
  for (const auto* arrow : {&kArrowLeft, &kArrowRight, &kArrowUp, &kArrowDown}) {
    for (Look look : kLooks) {
      Image f = RaisedFace(16, 16, look);
      CentredArrow(f, *arrow, look);
      frames.push_back(f);
    }
  }
  for (Look look : kLooks) frames.push_back(RaisedFace(16, 16, look));
  for (Look look : {kNormal, kPressed, kDisabled}) {
    Image f(16, 16, look == kPressed ? Rgb(0xDA, 0xE1, 0xEB) : Rgb(0xEE, 0xF1, 0xF5));
    FrameBox(f, 0, 0, 16, 16, Rgb(0xD5, 0xDB, 0xE4));
    frames.push_back(f);
  }
  return Strip(frames);
}

// The groove between the arrows, the same both ways: normal, pressed, disabled, hot.
Image ScrollTrack() {
  return LookStrip([](Look look) {
    static const uint32_t fills[] = {Rgb(0xEE, 0xF1, 0xF5), Rgb(0xDA, 0xE1, 0xEB), Rgb(0xF4, 0xF5, 0xF7),
                                     Rgb(0xE6, 0xEC, 0xF4)};
    Image f(16, 16, fills[look]);
    FrameBox(f, 0, 0, 16, 16, Rgb(0xD5, 0xDB, 0xE4));
    return f;
  });
}

// The scroll thumb, the same both ways: normal, pressed, hot.
Image ScrollThumb() {
  auto thumb = [](uint32_t border, uint32_t top, uint32_t bottom) {
    return Box(16, 16, 3, {border, top, bottom});
  };
  return Strip({thumb(Rgb(0x8A, 0x9A, 0xB5), Rgb(0xD5, 0xDD, 0xEA), Rgb(0xC2, 0xCD, 0xDE)),
                thumb(Rgb(0x3A, 0x5A, 0x94), Rgb(0xA9, 0xBE, 0xDE), Rgb(0x95, 0xAE, 0xD6)),
                thumb(Rgb(0x5A, 0x7A, 0xB5), Rgb(0xC8, 0xD8, 0xF0), Rgb(0xB6, 0xC9, 0xE8))});
}

// Track bar thumbs, w x h: 1 disabled, 2 normal (the one the engine draws), 3 hot, 4 pressed,
// 5 focused.
Image TrackThumb(int w, int h) {
  auto thumb = [&](uint32_t border, uint32_t top, uint32_t bottom) {
    return Box(w, h, 2, {border, top, bottom});
  };
  return Strip({thumb(Rgb(0xB8, 0xBE, 0xC8), Rgb(0xEE, 0xF0, 0xF3), Rgb(0xEE, 0xF0, 0xF3)),
                thumb(Rgb(0x3A, 0x5A, 0x94), Rgb(0xF7, 0xF9, 0xFC), Rgb(0xC6, 0xD2, 0xE4)),
                thumb(Rgb(0x3A, 0x6B, 0xC5), Rgb(0xF5, 0xF9, 0xFF), Rgb(0xD3, 0xE1, 0xF5)),
                thumb(Rgb(0x1E, 0x3A, 0x6E), Rgb(0xC6, 0xD2, 0xE4), Rgb(0xA9, 0xBE, 0xDE)),
                thumb(Rgb(0x1E, 0x4F, 0xA8), Rgb(0xF7, 0xF9, 0xFC), Rgb(0xC6, 0xD2, 0xE4))});
}

// Up-down button faces, both buttons alike: frames 1-4 first button, 5-8 second, each normal,
// pressed, disabled, hot.
Image UpDownFaces() {
  std::vector<Image> frames;
  for (int button = 0; button < 2; ++button)
    for (Look look : kLooks) frames.push_back(RaisedFace(16, 11, look));
  return Strip(frames);
}

// Up-down arrows drawn 1:1 on the faces: frames 1-4 the first arrow, 5-8 the second, by look.
Image UpDownGlyphs(const std::vector<const char*>& first, const std::vector<const char*>& second) {
  const int w = static_cast<int>(std::char_traits<char>::length(first[0]));
  const int h = static_cast<int>(first.size());
  std::vector<Image> frames;
  for (const auto* arrow : {&first, &second}) {
    for (Look look : kLooks) {
      Image f = KeyFrame(w, h);
      Pattern(f, 0, 0, *arrow, GlyphColour(look));
      frames.push_back(f);
    }
  }
  return Strip(frames);
}

}  // namespace

std::vector<Picture> DrawDefaultSkin() {
  std::vector<Picture> out;
  AddFramePictures(out);
  out.push_back({"titleback.bmp", TitleBack()});
  out.push_back({"menubar.bmp", MenuBar()});
  out.push_back({"close.bmp", CaptionButton(kCloseGlyph, true)});
  out.push_back({"maximize.bmp", CaptionButton(kMaximizeGlyph, false)});
  out.push_back({"restore.bmp", CaptionButton(kRestoreGlyph, false)});
  out.push_back({"minimize.bmp", CaptionButton(kMinimizeGlyph, false)});
  out.push_back({"help.bmp", CaptionButton(kHelpGlyph, false)});
  out.push_back({"mdicontrols.bmp", MdiControls()});
  out.push_back({"buttons.bmp", PushButtons()});
  out.push_back({"check.bmp", CheckBoxes()});
  out.push_back({"radio.bmp", RadioButtons()});
  out.push_back({"progress.bmp", Progress()});
  out.push_back({"chunk.bmp", ProgressChunk()});
  out.push_back({"groupboxedge.bmp", GroupBoxEdge()});
  out.push_back({"groupbox.bmp", GroupBoxLabel()});
  out.push_back({"toolbars.bmp", Toolbars()});
  out.push_back({"tabs.bmp", Tabs()});
  out.push_back({"tabborder.bmp", TabBorder()});
  out.push_back({"statusbar.bmp", StatusBar()});
  out.push_back({"sunkedge.bmp", SunkEdge()});
  out.push_back({"combobutton.bmp", ComboButton()});
  out.push_back({"extra.bmp", ExtraImages()});
  out.push_back({"header.bmp", Headerbar()});
  out.push_back({"menuitem.bmp", MenuItem()});
  out.push_back({"menuback.bmp", MenuBackground()});
  out.push_back({"scrollbar.bmp", ScrollArrows()});
  out.push_back({"scrolltrack.bmp", ScrollTrack()});
  out.push_back({"scrollthumb.bmp", ScrollThumb()});
  out.push_back({"trackthumbh.bmp", TrackThumb(11, 20)});
  out.push_back({"trackthumbv.bmp", TrackThumb(20, 11)});
  out.push_back({"updown.bmp", UpDownFaces()});
  out.push_back({"updownv.bmp", UpDownGlyphs(kArrowUp, kArrowDown)});
  out.push_back({"updownh.bmp", UpDownGlyphs(kArrowLeft, kArrowRight)});
  return out;
}

Image DrawMenuGlyphs() {
  Image strip(64, 16, kWhite);
  const uint32_t ink = Rgb(0, 0, 0);
  // Restore: two overlapping windows.
  Pattern(strip, 3, 3,
          {"...#######", "...#######", "...#.....#", "#######..#", "#######..#", "#.....#..#", "#.....####",
           "#.....#...", "#.....#...", "#######..."},
          ink);
  // Maximise: one window.
  Pattern(strip, 19, 3,
          {"##########", "##########", "#........#", "#........#", "#........#", "#........#", "#........#",
           "#........#", "#........#", "##########"},
          ink);
  // Minimise: a bar.
  Pattern(strip, 35, 10, {"########", "########"}, ink);
  // Close: a cross.
  Pattern(strip, 52, 4,
          {"##....##", "###..###", ".######.", "..####..", "..####..", ".######.", "###..###", "##....##"},
          ink);
  return strip;
}

}  // namespace skinart
