// The solid-colour test skin: which pictures it has, their strip geometry, and the exact colour of
// every frame, so that pixel tests of the drawing code can predict each pixel.
//
// Every frame of every picture is one solid colour, TestSkinColour(picture, frame), except the
// marked pictures (TestPictureInfo::marks): in each of their frames the first three pixels of the
// top row are, from the left, kKeyMark (the transparent key), kNearKeyMark (transparent for the
// region builder only) and kOpaqueMark (drawn everywhere). Pixel positions are relative to the
// frame's own top-left corner. No frame colour is ever near the key.
//
// Header-only and platform-free: the Windows tests include it as well as the host tool that draws
// the skin.
#pragma once

#include <cstdint>

namespace testskin {

// Colours as 0x00BBGGRR, red in the low byte.
constexpr uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

constexpr uint32_t kKeyMark = Rgb(255, 0, 255);
constexpr uint32_t kNearKeyMark = Rgb(255, 1, 255);
constexpr uint32_t kOpaqueMark = Rgb(255, 2, 255);

enum TestPicture : int {
  tpLeft,
  tpRight,
  tpTop,
  tpBottom,
  tpTitle,    // Personality TextBack: the band behind the caption text
  tpMenuBar,  // Personality menuBar
  tpClose,
  tpMaximize,
  tpRestore,
  tpMinimize,
  tpHelp,
  tpSysMenu,  // named by the icon button; the engine drops it and shows the window's icon
  tpMdiControls,
  tpButtons,
  tpCheck,
  tpRadio,
  tpProgress,
  tpProgressChunk,  // Progress Chunk
  tpGroupBoxEdge,
  tpGroupBox,
  tpToolbars,
  tpTabs,
  tpTabBorder,  // Tabs Border
  tpStatusBar,
  tpComboButton,
  tpSunkEdge,
  tpExtraImages,
  tpHeaderbar,
  tpMenuItem,
  tpMenuBackground,
  tpScrollbar,
  tpHorzScroll,
  tpVertScroll,
  tpHorzThumb,  // HorzScrollThumb
  tpVertThumb,  // VertScrollThumb
  tpTrackHorz,  // Trackbar.ThumbHorz, and so on
  tpTrackVert,
  tpTrackLeft,
  tpTrackRight,
  tpTrackUp,
  tpTrackDown,
  tpUpDownHorz,
  tpUpDownHorzGlyphs,  // UpDown.Horz GlyphImage
  tpUpDownVert,
  tpUpDownVertGlyphs,
  tpCount
};

struct TestPictureInfo {
  const char* file;  // entry name in the skin folder and archive
  int frames;        // frames in the strip (as the skin description makes the engine count them)
  bool stacked;      // frames one above the other instead of side by side
  int frameWidth;
  int frameHeight;
  bool marks;  // the three key marks in the top row of every frame
};

// Indexed by TestPicture.
constexpr TestPictureInfo kTestPictures[tpCount] = {
    {"left.bmp", 2, false, 3, 10, true},
    {"right.bmp", 2, false, 3, 10, true},
    {"top.bmp", 2, true, 10, 5, true},
    {"bottom.bmp", 2, true, 10, 3, true},
    {"title.bmp", 2, true, 8, 5, true},
    {"menubar.bmp", 2, true, 8, 6, false},
    {"close.bmp", 4, false, 6, 5, true},
    {"maximize.bmp", 4, false, 6, 5, false},
    {"restore.bmp", 4, false, 6, 5, false},
    {"minimize.bmp", 4, false, 6, 5, false},
    {"help.bmp", 4, false, 6, 5, false},
    {"sysmenu.bmp", 1, false, 5, 5, false},
    {"mdicontrols.bmp", 12, false, 4, 4, false},
    {"buttons.bmp", 5, false, 8, 6, true},
    {"check.bmp", 12, false, 13, 13, false},
    {"radio.bmp", 8, false, 13, 13, false},
    {"progress.bmp", 2, false, 6, 4, false},
    {"chunk.bmp", 1, false, 3, 4, false},
    {"groupboxedge.bmp", 2, false, 6, 6, false},
    {"groupbox.bmp", 1, false, 6, 4, false},
    {"toolbars.bmp", 5, false, 6, 6, false},
    {"tabs.bmp", 5, false, 8, 6, false},
    {"tabborder.bmp", 1, false, 10, 10, false},
    {"statusbar.bmp", 3, false, 6, 6, false},
    {"combobutton.bmp", 4, false, 6, 8, false},
    {"sunkedge.bmp", 4, false, 6, 6, false},
    {"extra.bmp", 5, false, 4, 4, false},
    {"header.bmp", 5, false, 6, 6, false},
    {"menuitem.bmp", 5, false, 8, 8, false},
    {"menuback.bmp", 1, false, 9, 9, false},
    {"scrollbar.bmp", 23, false, 4, 4, false},
    {"horzscroll.bmp", 4, false, 6, 4, false},
    {"vertscroll.bmp", 4, false, 4, 6, false},
    {"horzthumb.bmp", 3, false, 6, 4, false},
    {"vertthumb.bmp", 3, false, 4, 6, false},
    {"trackhorz.bmp", 5, false, 4, 6, false},
    {"trackvert.bmp", 5, false, 6, 4, false},
    {"trackleft.bmp", 5, false, 6, 4, false},
    {"trackright.bmp", 5, false, 6, 4, false},
    {"trackup.bmp", 5, false, 4, 6, false},
    {"trackdown.bmp", 5, false, 4, 6, false},
    {"updownh.bmp", 8, false, 4, 6, false},
    {"updownhglyphs.bmp", 8, false, 2, 3, false},
    {"updownv.bmp", 8, false, 6, 4, false},
    {"updownvglyphs.bmp", 8, false, 3, 2, false},
};

// The colour of frame `frame` (from 1) of picture `picture`: red and blue follow the picture, green
// the frame, so no two frames of the skin share a colour and red never reaches 255.
constexpr uint32_t TestSkinColour(int picture, int frame) {
  return Rgb(3 + 5 * picture, 5 + 10 * (frame - 1), 250 - 5 * picture);
}

// Width and height of the whole strip.
constexpr int StripWidth(const TestPictureInfo& p) {
  return p.stacked ? p.frameWidth : p.frameWidth * p.frames;
}
constexpr int StripHeight(const TestPictureInfo& p) {
  return p.stacked ? p.frameHeight * p.frames : p.frameHeight;
}

// The colour at (x, y) of picture `picture`, marks included.
constexpr uint32_t TestSkinPixel(int picture, int x, int y) {
  const TestPictureInfo& p = kTestPictures[picture];
  const int frame = 1 + (p.stacked ? y / p.frameHeight : x / p.frameWidth);
  const int fx = p.stacked ? x : x % p.frameWidth;
  const int fy = p.stacked ? y % p.frameHeight : y;
  if (p.marks && fy == 0 && fx < 3) return fx == 0 ? kKeyMark : fx == 1 ? kNearKeyMark : kOpaqueMark;
  return TestSkinColour(picture, frame);
}

// The "Colours" section of the test skin's description, in file order: key k (from 0) holds red
// 10k + 11, green 10k + 12, blue 10k + 13, none of them a frame colour (red of frames is 3 mod 5).
constexpr const char* kTestColourKeys[] = {
    "WindowText",     "ButtonFace",  "Scrollbar",       "HilightText",      "Hilight",     "Menubar",
    "Menu",           "MenuText",    "ButtonText",      "ButtonHilight",    "Buttonlight", "ButtonShadow",
    "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"};
constexpr int kTestColourCount = sizeof(kTestColourKeys) / sizeof(kTestColourKeys[0]);

constexpr uint32_t TestSkinNamedColour(int k) { return Rgb(10 * k + 11, 10 * k + 12, 10 * k + 13); }

}  // namespace testskin
