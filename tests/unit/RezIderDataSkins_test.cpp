// Our two skins loaded by the skin component from their folders, packed as the build packs them:
// the default skin with the figures its description gives, and the solid-colour test skin with
// every picture checked pixel by pixel where it belongs.
#include <gtest/gtest.h>

#include "SkinTesting.h"
#include "skin/RezIderData.h"
#include "skins/test/TestSkinColours.h"

using namespace skintest;
using namespace testskin;

namespace {

std::vector<uint8_t> PackedSkin(const std::string& name) {
  return PackSkinArchive(ReadSkinFolder(std::string(VELLORAN_SKINS_DIR) + "/" + name));
}

TDataSkinSysButton* SysButton(TSkinData& data, const std::string& name) {
  for (auto& b : data.SysButtons)
    if (b->Name == name) return b.get();
  return nullptr;
}

TEST(SkinDataDefaultSkin, LoadsEveryElementWithTheFiguresOfItsDescription) {
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, PackedSkin("default")));
  EXPECT_FALSE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "Harbour Blue");

  // Every element slot is filled and every picture but the icon button's is there.
  int records = 0;
  data.ForEachElement([&](TDataSkinObject& e) {
    ++records;
    if (e.Name != "BUTTONSYSMENU") {
      EXPECT_FALSE(e.Image->Empty()) << e.Name;
    }
  });
  EXPECT_EQ(records, 32 + 6 + 3);
  ASSERT_EQ(data.SysButtons.size(), 9u);

  EXPECT_EQ(data.ButtonFace, 0xF2EEEC);
  EXPECT_EQ(data.Hilight, 0xC56B3A);
  EXPECT_EQ(data.FColourList, (std::vector<TColor>{0xC56B3A, 0x6E3A1E}));
  LOGBRUSH brush{};
  ASSERT_EQ(GetObjectA(data.FFaceBrush, sizeof brush, &brush), int(sizeof brush));
  EXPECT_EQ(brush.lbColor, COLORREF(0xF2EEEC));

  EXPECT_EQ(data.Left->TopHeight, 26);
  EXPECT_EQ(data.Left->BottomHeight, 4);
  EXPECT_EQ(data.Left->FrameCount, 2);
  EXPECT_EQ(data.Top->LeftWidth, 10);
  EXPECT_EQ(data.Title->LeftWidth, 26);
  EXPECT_EQ(data.Title->RightWidth, 76);
  EXPECT_EQ(data.Title->ActiveTextColour, 0xFFFFFF);
  EXPECT_EQ(data.Title->InActiveTextColour, 0xF2ECE8);
  EXPECT_EQ(data.Buttons->CheckButtonFrame, 12);
  EXPECT_EQ(data.Buttons->RadioButtonFrame, 8);
  EXPECT_TRUE(data.Buttons->HasMouseOverColour2);
  EXPECT_EQ(data.Buttons->MouseOverColour2, 0xA84F1E);

  TDataSkinSysButton* icon = SysButton(data, "BUTTONSYSMENU");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Action, 3);
  EXPECT_EQ(icon->FrameCount, 6);
  TDataSkinSysButton* close = SysButton(data, "BUTTONCLOSE");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->FrameCount, 4);
  EXPECT_EQ(close->Align, 1);
  EXPECT_EQ(close->Xcoord, 26);
  EXPECT_EQ(data.SysButtons[8]->Action, 9);
  EXPECT_FALSE(data.SysButtons[8]->Image->Empty());

  TBitmap* combo = data.ComboButton->Image.get();
  TBitmap* mirrored = data.ComboButton->Image2.get();
  ASSERT_EQ(mirrored->Width(), combo->Width());
  for (int x = 0; x < combo->Width(); ++x)
    EXPECT_EQ(PixelOf(mirrored, x, 3), PixelOf(combo, combo->Width() - 1 - x, 3));
}

TEST(SkinDataTestSkin, PutsEveryPictureInItsElementPixelForPixel) {
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, PackedSkin("test")));
  ASSERT_FALSE(data.FNotLoaded);

  struct Use {
    const char* what;
    TBitmap* image;
    int picture;
    int frameCount;  // the record's frame count, or 0 when the picture is a second one
  };
  auto sys = [&](const char* name) { return SysButton(data, name); };
  ASSERT_TRUE(sys("BUTTONCLOSE") && sys("BUTTONMAXIMIZE") && sys("BUTTONRESTORE") && sys("BUTTONMINIMIZE") &&
              sys("BUTTONHELP"));
  const std::vector<Use> uses = {
      {"Left", data.Left->Image.get(), tpLeft, data.Left->FrameCount},
      {"Right", data.Right->Image.get(), tpRight, data.Right->FrameCount},
      {"Top", data.Top->Image.get(), tpTop, data.Top->FrameCount},
      {"Bottom", data.Bottom->Image.get(), tpBottom, data.Bottom->FrameCount},
      {"Title", data.Title->Image.get(), tpTitle, data.Title->FrameCount},
      {"menu bar", data.MenuBarSkin->Image.get(), tpMenuBar, data.MenuBarSkin->FrameCount},
      {"close", sys("BUTTONCLOSE")->Image.get(), tpClose, sys("BUTTONCLOSE")->FrameCount},
      {"maximize", sys("BUTTONMAXIMIZE")->Image.get(), tpMaximize, sys("BUTTONMAXIMIZE")->FrameCount},
      {"restore", sys("BUTTONRESTORE")->Image.get(), tpRestore, sys("BUTTONRESTORE")->FrameCount},
      {"minimize", sys("BUTTONMINIMIZE")->Image.get(), tpMinimize, sys("BUTTONMINIMIZE")->FrameCount},
      {"help", sys("BUTTONHELP")->Image.get(), tpHelp, sys("BUTTONHELP")->FrameCount},
      {"Buttons", data.Buttons->Image.get(), tpButtons, data.Buttons->FrameCount},
      {"check", data.Buttons->CheckImage.get(), tpCheck, data.Buttons->CheckButtonFrame},
      {"radio", data.Buttons->RadioImage.get(), tpRadio, data.Buttons->RadioButtonFrame},
      {"Progress", data.Progress->Image.get(), tpProgress, data.Progress->FrameCount},
      {"chunk", data.Progress->Image2.get(), tpProgressChunk, 0},
      {"GroupBoxEdge", data.GroupBoxEdge->Image.get(), tpGroupBoxEdge, data.GroupBoxEdge->FrameCount},
      {"GroupBox", data.GroupBox->Image.get(), tpGroupBox, data.GroupBox->FrameCount},
      {"Toolbars", data.Toolbars->Image.get(), tpToolbars, data.Toolbars->FrameCount},
      {"Tabs", data.Tabs->Image.get(), tpTabs, data.Tabs->FrameCount},
      {"tab border", data.Tabs->Image2.get(), tpTabBorder, 0},
      {"StatusBarEdges", data.StatusBarEdges->Image.get(), tpStatusBar, data.StatusBarEdges->FrameCount},
      {"ComboButton", data.ComboButton->Image.get(), tpComboButton, data.ComboButton->FrameCount},
      {"SunkEdge", data.SunkEdge->Image.get(), tpSunkEdge, data.SunkEdge->FrameCount},
      {"ExtraImages", data.ExtraImages->Image.get(), tpExtraImages, data.ExtraImages->FrameCount},
      {"Headerbar", data.Headerbar->Image.get(), tpHeaderbar, data.Headerbar->FrameCount},
      {"MenuItem", data.MenuItem->Image.get(), tpMenuItem, data.MenuItem->FrameCount},
      {"MenuBackground", data.MenuBackground->Image.get(), tpMenuBackground, data.MenuBackground->FrameCount},
      {"Scrollbar", data.ScrollbarSkin->Image.get(), tpScrollbar, data.ScrollbarSkin->FrameCount},
      {"HorzScroll", data.HorzScroll->Image.get(), tpHorzScroll, data.HorzScroll->FrameCount},
      {"VertScroll", data.VertScroll->Image.get(), tpVertScroll, data.VertScroll->FrameCount},
      {"HorzScrollThumb", data.HorzScrollThumb->Image.get(), tpHorzThumb, data.HorzScrollThumb->FrameCount},
      {"VertScrollThumb", data.VertScrollThumb->Image.get(), tpVertThumb, data.VertScrollThumb->FrameCount},
      {"ThumbHorz", data.TrackbarThumbHorz->Image.get(), tpTrackHorz, data.TrackbarThumbHorz->FrameCount},
      {"ThumbVert", data.TrackbarThumbVert->Image.get(), tpTrackVert, data.TrackbarThumbVert->FrameCount},
      {"ThumbLeft", data.TrackbarThumbLeft->Image.get(), tpTrackLeft, data.TrackbarThumbLeft->FrameCount},
      {"ThumbRight", data.TrackbarThumbRight->Image.get(), tpTrackRight, data.TrackbarThumbRight->FrameCount},
      {"ThumbUp", data.TrackbarThumbUp->Image.get(), tpTrackUp, data.TrackbarThumbUp->FrameCount},
      {"ThumbDown", data.TrackbarThumbDown->Image.get(), tpTrackDown, data.TrackbarThumbDown->FrameCount},
      {"UpDown.Horz", data.UpDownHorz->Image.get(), tpUpDownHorz, data.UpDownHorz->FrameCount},
      {"UpDown.Horz glyphs", data.UpDownHorz->Image2.get(), tpUpDownHorzGlyphs, 0},
      {"UpDown.Vert", data.UpDownVert->Image.get(), tpUpDownVert, data.UpDownVert->FrameCount},
      {"UpDown.Vert glyphs", data.UpDownVert->Image2.get(), tpUpDownVertGlyphs, 0},
  };
  for (const Use& use : uses) {
    const TestPictureInfo& info = kTestPictures[use.picture];
    if (use.frameCount) {
      EXPECT_EQ(use.frameCount, info.frames) << use.what;
    }
    ASSERT_EQ(use.image->Width(), StripWidth(info)) << use.what;
    ASSERT_EQ(use.image->Height(), StripHeight(info)) << use.what;
    int wrong = 0;
    for (int y = 0; y < use.image->Height(); ++y)
      for (int x = 0; x < use.image->Width(); ++x)
        if (PixelOf(use.image, x, y) != TestSkinPixel(use.picture, x, y)) ++wrong;
    EXPECT_EQ(wrong, 0) << use.what;
  }

  // The icon button's picture is dropped; the MDI strip is cut into three buttons of 4 frames.
  EXPECT_TRUE(sys("BUTTONSYSMENU")->Image->Empty());
  const int a = StripWidth(kTestPictures[tpMdiControls]) / 12;
  for (int i = 0; i < 3; ++i) {
    TBitmap* image = data.SysButtons[data.SysButtons.size() - 3 + size_t(i)]->Image.get();
    ASSERT_EQ(image->Width(), 4 * a);
    for (int x = 0; x < image->Width(); ++x)
      EXPECT_EQ(PixelOf(image, x, 0), TestSkinPixel(tpMdiControls, i * 4 * a + x, 0));
  }

  TColor* colours[] = {&data.WindowText,
                       &data.ButtonFace,
                       &data.Scrollbar,
                       &data.HilightText,
                       &data.Hilight,
                       &data.Menubar,
                       &data.Menu,
                       &data.MenuText,
                       &data.ButtonText,
                       &data.ButtonHilight,
                       &data.Buttonlight,
                       &data.ButtonShadow,
                       &data.ButtonDkShadow,
                       &data.MenuBarText,
                       &data.TitleTextActive,
                       &data.TitleTextNoActive};
  for (int k = 0; k < kTestColourCount; ++k)
    EXPECT_EQ(uint32_t(*colours[k]), TestSkinNamedColour(k)) << kTestColourKeys[k];
}

}  // namespace
