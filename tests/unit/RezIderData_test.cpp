// The skin component: its defaults, the stored "SkinStream", the INI rules turned into element
// records, failed loads, the manager requests, and the skinned text drawing.
#include "skin/RezIderData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "GraphicsHelpers.h"
#include "SkinTesting.h"
#include "tk/FormReader.h"
#include "tk/ImgList.h"

using namespace skintest;

namespace {

// A plain component to own skin components in the tests (and to be the root of descriptions).
class TSkinHost : public TComponent {
 public:
  TK_CLASS(TSkinHost, TComponent)
  using TComponent::TComponent;
};

// Each test loads skins with its own temporary folder, so it can see what a load leaves there
// while other test programs run beside it.
class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    FSavedTmp = base;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FTemp = std::string(base) + "skd_" + info->name() + "_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(FTemp.c_str(), nullptr);
    SetEnvironmentVariableA("TMP", FTemp.c_str());
    SetEnvironmentVariableA("TEMP", FTemp.c_str());
    char now[MAX_PATH];
    GetTempPathA(MAX_PATH, now);
    ASSERT_EQ(std::string(now), FTemp);
  }
  void TearDown() override {
    SetEnvironmentVariableA("TMP", FSavedTmp.c_str());
    SetEnvironmentVariableA("TEMP", FSavedTmp.c_str());
    RemoveDirectoryA(FTemp.c_str());
  }
  // Files left in this test's temporary folder.
  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const std::string& n : TempFiles())
      if (n != "." && n != "..") names.push_back(n);
    return names;
  }
  std::string FTemp, FSavedTmp;
  TReaderMessageScope FMessages;
};

// ---- Value rules ------------------------------------------------------------------------------

TEST(SkinValues, ColourTextsTakeThreeNumbersAnySeparator) {
  EXPECT_EQ(StrToSkinColor("255 128 0"), 0x000080FF);
  EXPECT_EQ(StrToSkinColor("255,128,0"), 0x000080FF);
  EXPECT_EQ(StrToSkinColor(" \t0;0;255 \r"), 0x00FF0000);
  EXPECT_EQ(StrToSkinColor("300 0 0"), 44);          // low 8 bits
  EXPECT_EQ(StrToSkinColor("1 2 3 4"), 0x00030201);  // a fourth number is ignored
  EXPECT_EQ(StrToSkinColor("10 20"), 10);            // the last number only counts as blue
  EXPECT_EQ(StrToSkinColor("no digits"), 0);
  EXPECT_EQ(StrToSkinColor("-5 -6 -7"), 0x00070605);  // a minus is a separator
  // A number too large for an int32 swallows the digits after it.
  EXPECT_EQ(StrToSkinColor("9 99999999999 1 2"), 9);
}

TEST(SkinValues, PictureKeysNameOnlyLowerCaseBmpEntries) {
  EXPECT_EQ(SkinBitmapEntryName("Title.bmp"), "Title.bmp");
  EXPECT_EQ(SkinBitmapEntryName("c:\\skins\\blue\\Title.bmp"), "Title.bmp");
  EXPECT_EQ(SkinBitmapEntryName("a:b.bmp"), "b.bmp");
  EXPECT_EQ(SkinBitmapEntryName("x.BMP"), "");
  EXPECT_EQ(SkinBitmapEntryName("x.bmp.jpg"), "");
  EXPECT_EQ(SkinBitmapEntryName("noextension"), "");
  EXPECT_EQ(SkinBitmapEntryName("dir.bmp\\file"), "");  // the dot belongs to the folder
  EXPECT_EQ(SkinBitmapEntryName("c:\\skins\\"), "");
  EXPECT_EQ(SkinBitmapEntryName(""), "");
}

TEST(SkinValues, DerivedFrameCounts) {
  EXPECT_EQ(DeriveSysButtonFrames(76, 20, 1), 3);  // ratio exactly 3.8
  EXPECT_EQ(DeriveSysButtonFrames(78, 20, 1), 6);
  EXPECT_EQ(DeriveSysButtonFrames(76, 20, -1), 6);
  EXPECT_EQ(DeriveSysButtonFrames(0, 0, 1), 6);
  EXPECT_EQ(DeriveCheckFrames(60, 13), 4);
  EXPECT_EQ(DeriveCheckFrames(128, 16), 8);
  EXPECT_EQ(DeriveCheckFrames(0, 0), 4);
  EXPECT_EQ(DeriveCheckFrames(26, 13), 4);  // 2 frames would be too few
}

// ---- Records ----------------------------------------------------------------------------------

TEST(SkinRecords, StartEmptyWithTheirName) {
  TDataSkinObject o("Toolbars");
  EXPECT_EQ(o.Name, "Toolbars");
  ASSERT_TRUE(o.Image);
  EXPECT_TRUE(o.Image->Empty());
  EXPECT_EQ(o.FrameCount, 0);
  EXPECT_EQ(o.NormalColour, 0);
  EXPECT_EQ(o.PressedColour2, 0);
  EXPECT_TRUE(o.Is<TObject>());

  TDataSkinBorder border("Tabs");
  ASSERT_TRUE(border.Image2);
  EXPECT_TRUE(border.Image2->Empty());
  EXPECT_TRUE(border.Is<TDataSkinObject>());

  TDataSkinButton button("Buttons");
  EXPECT_TRUE(button.CheckImage->Empty());
  EXPECT_TRUE(button.RadioImage->Empty());
  EXPECT_FALSE(button.HasNormalColour2);

  TDataSkinSysButton sys("BUTTON1");
  EXPECT_EQ(sys.Action, 0);
  EXPECT_EQ(sys.CombineOp, 0);
  EXPECT_EQ(TDataSkinTitle("Title").ActiveTextColour, 0);
  EXPECT_EQ(TDataSkinBoxLabel("GroupBox").BackgroundAlignment, 0);
}

// ---- The component after Create ----------------------------------------------------------------

TEST_F(SkinDataTest, CreateGivesTheDocumentedDefaults) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag, 99);
  EXPECT_EQ(data.SkinControls.Bits, 0x3FFFFu);
  EXPECT_FALSE(data.SkinControls.Contains(xcFastReport));
  EXPECT_TRUE(data.SkinControls.Contains(xcMainMenu));
  EXPECT_EQ(data.SkinFormtype, sfMainform);
  EXPECT_EQ(data.Version(), "2.65.6.22");
  EXPECT_TRUE(data.MenuUpdate);
  EXPECT_EQ(data.GetSkinStore(), "(none)");
  EXPECT_EQ(data.SkinFile(), "");
  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_TRUE(data.FPaintFrames);
  EXPECT_EQ(data.FSkinStream->GetSize(), 0);
  EXPECT_TRUE(data.FIconPicture->Empty());
  EXPECT_EQ(data.FFaceBrush, nullptr);
  EXPECT_EQ(data.ButtonFace, 0);
  EXPECT_EQ(data.Scrollbar, 0);

  // Title, Buttons and the four edges always exist, empty; nothing else does.
  std::vector<std::string> names;
  data.ForEachElement([&](TDataSkinObject& e) {
    names.push_back(e.Name);
    EXPECT_TRUE(e.Image->Empty());
    EXPECT_EQ(e.FrameCount, 0);
    EXPECT_EQ(e.LeftWidth + e.TopHeight + e.RightWidth + e.BottomHeight, 0);
  });
  EXPECT_EQ(names, (std::vector<std::string>{"Title", "Buttons", "Left", "Right", "Top", "Bottom"}));
  EXPECT_TRUE(data.SysButtons.empty());
}

TEST_F(SkinDataTest, WritingVersionOrSkinStoreChangesNothing) {
  TSkinData data(nullptr);
  data.SetVersion("1.0");
  data.SetSkinStore("(Good)");
  EXPECT_EQ(data.Version(), "2.65.6.22");
  EXPECT_EQ(data.GetSkinStore(), "(none)");
}

TEST_F(SkinDataTest, Skin3rdStartsWithTheEightyDefaultLines) {
  TSkinData data(nullptr);
  TStrings* lines = data.Skin3rd();
  ASSERT_EQ(lines->Count(), 80);
  EXPECT_EQ(lines->Strings(0), "TTBDock=Panel");
  EXPECT_EQ(lines->Strings(79), "TOVCDBNUMERICFIELD=Edit");
  EXPECT_EQ(lines->Strings(13), lines->Strings(14));  // TDBCheckboxEh twice
  EXPECT_EQ(lines->Strings(33), "TLMDFontSizeCombobox=combobox");
  EXPECT_EQ(lines->Strings(34), "TLMDFontSizeCombobox=combobox");
  EXPECT_EQ(lines->Strings(59), "TWWDBCombobox=Combobox");
  EXPECT_EQ(lines->Strings(60), "TWWDBLookupCombo=Combobox");
  EXPECT_EQ(lines->Strings(61), "TWWDBCombobox=Combobox");

  std::map<std::string, int> kinds;
  for (int i = 0; i < lines->Count(); ++i) {
    std::string kind = lines->ValueFromIndex(i);
    std::transform(kind.begin(), kind.end(), kind.begin(), [](char c) { return char(tolower(c)); });
    ++kinds[kind];
  }
  EXPECT_EQ(kinds, (std::map<std::string, int>{{"edit", 25},
                                               {"combobox", 20},
                                               {"panel", 10},
                                               {"checkbox", 8},
                                               {"radiogroup", 7},
                                               {"checkgroup", 3},
                                               {"radiobutton", 3},
                                               {"scrollbar", 2},
                                               {"button", 1},
                                               {"trackbar", 1}}));

  TStringList mine;
  mine.Add("TMyEdit=edit");
  data.SetSkin3rd(&mine);
  ASSERT_EQ(data.Skin3rd()->Count(), 1);
  EXPECT_EQ(data.Skin3rd()->Strings(0), "TMyEdit=edit");
}

TEST_F(SkinDataTest, MenuGlyphsAreFourMaskedSixteenPixelImages) {
  TSkinData data(nullptr);
  ASSERT_TRUE(data.FMenuImages);
  ASSERT_EQ(data.FMenuImages->Count(), 4);

  // Each glyph drawn on grey: its strokes are black, its white background is left out.
  TBitmap canvas(16 * 4, 16, pf24bit);
  canvas.Canvas()->Brush()->SetColor(clGray);
  canvas.Canvas()->FillRect(RECT{0, 0, 64, 16});
  for (int i = 0; i < 4; ++i) data.FMenuImages->Draw(canvas.Canvas(), i * 16, 0, i);
  EXPECT_EQ(PixelOf(&canvas, 0, 0), RGB(128, 128, 128));       // restore: corner untouched
  EXPECT_EQ(PixelOf(&canvas, 3, 12), RGB(0, 0, 0));            // restore: the front window's corner
  EXPECT_EQ(PixelOf(&canvas, 16 + 7, 7), RGB(128, 128, 128));  // maximise: inside the window
  EXPECT_EQ(PixelOf(&canvas, 16 + 3, 12), RGB(0, 0, 0));       // maximise: its bottom-left
  EXPECT_EQ(PixelOf(&canvas, 32 + 7, 11), RGB(0, 0, 0));       // minimise: the bar
  EXPECT_EQ(PixelOf(&canvas, 32 + 7, 7), RGB(128, 128, 128));
  EXPECT_EQ(PixelOf(&canvas, 48 + 7, 7), RGB(0, 0, 0));  // close: the cross's middle
  EXPECT_EQ(PixelOf(&canvas, 48 + 7, 2), RGB(128, 128, 128));
}

// ---- "SkinStream" ------------------------------------------------------------------------------

TEST_F(SkinDataTest, AnEmptySkinStreamIsWrittenAsFourZeroBytes) {
  TSkinData data(nullptr);
  TMemoryStream out;
  data.WriteSkinStream(&out);
  EXPECT_EQ(out.Bytes(), (std::vector<char>{0, 0, 0, 0}));

  TSkinData reader(nullptr);
  out.SetPosition(0);
  reader.ReadSkinStream(&out);
  EXPECT_EQ(reader.FSkinStream->GetSize(), 0);
  EXPECT_TRUE(reader.FNotLoaded);
}

TEST_F(SkinDataTest, SkinStreamRoundTripLoadsTheSkin) {
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, Archive("[TitlebarSkin]\r\nSkinName=Round\r\n")));
  TMemoryStream out;
  data.WriteSkinStream(&out);
  ASSERT_EQ(out.GetSize(), 4 + data.FSkinStream->GetSize());
  EXPECT_TRUE(std::equal(out.Bytes().begin() + 4, out.Bytes().end(), data.FSkinStream->Bytes().begin()));

  TSkinData reader(nullptr);
  out.SetPosition(0);
  reader.ReadSkinStream(&out);
  EXPECT_FALSE(reader.FNotLoaded);
  EXPECT_EQ(reader.FSkinName, "Round");
  EXPECT_EQ(out.GetPosition(), out.GetSize());
}

TEST_F(SkinDataTest, ASkinStreamLongerThanItsDataLoadsNothing) {
  TMemoryStream in;
  int32_t n = 1000;
  in.WriteBuffer(&n, 4);
  in.WriteBuffer("abc", 3);
  in.SetPosition(0);
  TSkinData data(nullptr);
  EXPECT_NO_THROW(data.ReadSkinStream(&in));
  EXPECT_EQ(data.FSkinStream->GetSize(), 0);
  EXPECT_TRUE(data.FNotLoaded);

  TMemoryStream tooShort;
  tooShort.WriteBuffer("\x05\x00", 2);
  tooShort.SetPosition(0);
  EXPECT_NO_THROW(data.ReadSkinStream(&tooShort));
  EXPECT_EQ(data.FSkinStream->GetSize(), 0);
}

// ---- The INI rules -----------------------------------------------------------------------------

TEST_F(SkinDataTest, AnEmptyDescriptionGivesEveryDefault) {
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, Archive("[Nothing]\r\n")));
  EXPECT_FALSE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "");

  for (TDataSkinBorder* e : {data.Left.get(), data.Right.get(), data.Top.get(), data.Bottom.get()}) {
    EXPECT_EQ(e->FrameCount, 1) << e->Name;
    EXPECT_EQ(e->Tile, 1);
    EXPECT_EQ(e->Trans, 1);
    EXPECT_TRUE(e->Image->Empty());
    EXPECT_EQ(e->NormalColour, 0);
  }
  EXPECT_EQ(data.WindowText, clWindowText);
  EXPECT_EQ(data.ButtonFace, clBtnFace);
  EXPECT_EQ(data.Scrollbar, clScrollBar);
  EXPECT_EQ(data.HilightText, clHighlightText);
  EXPECT_EQ(data.Hilight, clHighlight);
  EXPECT_EQ(data.Menubar, clBtnFace);
  EXPECT_EQ(data.Menu, clMenu);
  EXPECT_EQ(data.MenuText, clMenuText);
  EXPECT_EQ(data.ButtonText, clBtnText);
  EXPECT_EQ(data.ButtonHilight, clBtnHighlight);
  EXPECT_EQ(data.Buttonlight, clBtnHighlight);
  EXPECT_EQ(data.ButtonShadow, clBtnShadow);
  EXPECT_EQ(data.ButtonDkShadow, cl3DDkShadow);
  EXPECT_EQ(data.MenuBarText, clMenuText);
  EXPECT_EQ(data.TitleTextActive, clCaptionText);
  EXPECT_EQ(data.TitleTextNoActive, clInactiveCaptionText);
  EXPECT_TRUE(data.FColourList.empty());

  // Only the three MDI child buttons, with empty pictures.
  ASSERT_EQ(data.SysButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *data.SysButtons[size_t(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.CombineOp, 0);
    EXPECT_EQ(b.Xcoord, 0);
    EXPECT_TRUE(b.Image->Empty());
  }

  const TDataSkinButton& b = *data.Buttons;
  EXPECT_EQ(b.FrameCount, 5);
  EXPECT_EQ(b.NormalColour, -1);
  EXPECT_EQ(b.MouseOverColour, -1);
  EXPECT_EQ(b.PressedColour, -1);
  EXPECT_EQ(b.NormalColour2, clBtnText);
  EXPECT_FALSE(b.HasNormalColour2 || b.HasMouseOverColour2 || b.HasPressedColour2);
  EXPECT_EQ(b.RadioButtonFrame, 4);
  EXPECT_EQ(b.CheckButtonFrame, 4);

  const TDataSkinTitle& t = *data.Title;
  EXPECT_EQ(t.FontHeight, 14);
  EXPECT_EQ(t.ActiveTextColour, clNone);
  EXPECT_EQ(t.InActiveTextColour, clNone);
  EXPECT_EQ(t.FrameCount, 2);

  int elements = 0;
  data.ForEachElement([&](TDataSkinObject&) { ++elements; });
  EXPECT_EQ(elements, 3 + 6);  // the MDI buttons, Title, Buttons and the edges only
  ASSERT_NE(data.FFaceBrush, nullptr);
}

TEST_F(SkinDataTest, AFaceBrushOfASystemColourTakesTheColourItStandsFor) {
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, Archive("[Nothing]\r\n")));
  ASSERT_EQ(data.ButtonFace, clBtnFace);
  LOGBRUSH brush{};
  ASSERT_EQ(GetObjectA(data.FFaceBrush, sizeof brush, &brush), int(sizeof brush));
  EXPECT_EQ(brush.lbColor, GetSysColor(COLOR_BTNFACE));
}

// The skin of the rule tests: every section kind, with the pictures its keys name.
const char* const kFullIni =
    "[TitlebarSkin]\r\nSkinName=Rules\r\n"
    "[Personality]\r\n"
    "Left=left.bmp\r\nLeftTopHeight=5\r\nLeftBotHeight=6\r\nLeftFrame=2\r\nLeftStretch=0\r\nLeftTrans=0\r\n"
    "Top=top.bmp\r\nTopTopHeight=7\r\nTopBotHeight=8\r\n"
    "TextBack=title.bmp\r\nTextShift=3\r\nTextShiftVert=-2\r\nTextRightClip=40\r\nTextAlignment=2\r\n"
    "Textbackground=1\r\nTXTBackleft=9\r\nTXTBackRight=11\r\n"
    "ActiveTextR=255\r\nActiveTextG=0\r\nActiveTextB=16\r\n"
    "InActiveTextR=1\r\nInActiveTextG=-1\r\nInActiveTextB=1\r\n"
    "menuBar=menubar.bmp\r\nTileMenu=1\r\nTileLeftMenu=4\r\n"
    "[Fonts]\r\nFontHeight=$10\r\n"
    "[Colours]\r\nWindowText=1 2 3\r\nButtonFace=200,201,202\r\nButtonText=0 0 128\r\n"
    "[Colour1]\r\ncolor=255 0 0\r\n"
    "[COLOURX]\r\ncolor=0,255,0\r\n"
    "[ColourNone]\r\n"
    "[Button1]\r\nAction=1\r\nAlign=2\r\nXcoord=30\r\nYcoord=4\r\nButtonImage=btn76.bmp\r\n"
    "[Button2]\r\nAction=2\r\nButtonImage=btn78.bmp\r\nCombineOp=5\r\nVisibility1=7\r\n"
    "[ButtonDropped]\r\nAction=-1\r\nButtonImage=btn76.bmp\r\n"
    "[ButtonKept]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=btn76.bmp\r\n"
    "[ButtonIcon]\r\nAction=3\r\nButtonImage=btn76.bmp\r\n"
    "[ButtonIconFramed]\r\nAction=11\r\nframe=1\r\nButtonImage=btn76.bmp\r\n"
    "[Button.Radio]\r\nAction=1\r\n[BUTTON.CHECKBOX]\r\nAction=1\r\n[Button]\r\nAction=1\r\n"
    "[MDICONTROLS]\r\nImage=mdi.bmp\r\n"
    "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=3\r\nRightWidth=4\r\nTopHeight=5\r\nBottomHeight=6\r\n"
    "Trans=1\r\nTile=2\r\nStyle=7\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\nNormalColour=$FF\r\n"
    "MouseOverColour=0x100\r\nNormalColour2=10 20 30\r\nPressedColour2=\r\n"
    "[Progress]\r\nBitmap=progress.bmp\r\nChunk=chunk.bmp\r\nStyle=3\r\nTile=2\r\nNormalColour=5\r\n"
    "LeftWidth=1\r\n"
    "[GroupBoxEdge]\r\nImage=gbe.bmp\r\nTile=2\r\nStyle=4\r\nMouseOverColour2=1,2,3\r\n"
    "[GroupBox]\r\nImage=gb.bmp\r\nBackgroundAlignment=1\r\nBackgroundLeftShift=-3\r\nBackgroundRightShift="
    "5\r\n"
    "[Toolbars]\r\nLeftWidth=3\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nBorder=border.bmp\r\nStyle=9\r\nTile=1\r\n"
    "[ComboButton]\r\nImage=combo.bmp\r\n****=border.bmp\r\n"
    "[SunkEdge]\r\nImage=SUNK.BMP\r\n"
    "[ExtraImages]\r\nImage=missing.bmp\r\n"
    "[HorzScrollThumb]\r\nImage=thumb.bmp\r\nFrameCount=7\r\n"
    "[VertScrollThumb]\r\nImage=thumb.bmp\r\n"
    "[Scrollbar]\r\nImage=thumb.bmp\r\n"
    "[UpDown.Horz]\r\nImage=thumb.bmp\r\nGlyphImage=chunk.bmp\r\n"
    "[Trackbar.ThumbUp]\r\nImage=thumb.bmp\r\n";

// A picture of vertical bands: (width, colour) from the left.
std::vector<uint8_t> Bands(int h, std::vector<std::pair<int, COLORREF>> bands) {
  int w = 0;
  for (auto& b : bands) w += b.first;
  TBitmap bmp(w, h, pf24bit);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = static_cast<uint8_t*>(bmp.ScanLine(y));
    int x = 0;
    for (auto& b : bands)
      for (int i = 0; i < b.first; ++i, ++x) {
        p[x * 3] = GetBValue(b.second);
        p[x * 3 + 1] = GetGValue(b.second);
        p[x * 3 + 2] = GetRValue(b.second);
      }
  }
  TMemoryStream s;
  bmp.SaveToStream(&s);
  return std::vector<uint8_t>(s.Bytes().begin(), s.Bytes().end());
}

std::vector<TSkinEntry> FullEntries() {
  return {
      {"left.bmp", SolidBmp(4, 30, RGB(255, 0, 0))},
      {"top.bmp", SolidBmp(30, 4, RGB(0, 255, 0))},
      {"title.bmp", SolidBmp(20, 40, RGB(0, 0, 255))},
      {"menubar.bmp", SolidBmp(20, 40, RGB(9, 9, 9))},
      {"btn76.bmp", SolidBmp(76, 20, RGB(1, 1, 1))},
      {"btn78.bmp", SolidBmp(78, 20, RGB(2, 2, 2))},
      {"mdi.bmp", Bands(18, {{40, RGB(255, 0, 0)}, {40, RGB(0, 255, 0)}, {40, RGB(0, 0, 255)}})},
      {"button.bmp", SolidBmp(50, 20, RGB(3, 3, 3))},
      {"check.bmp", SolidBmp(128, 16, RGB(4, 4, 4))},
      {"radio.bmp", SolidBmp(60, 13, RGB(5, 5, 5))},
      {"progress.bmp", SolidBmp(20, 10, RGB(6, 6, 6))},
      {"chunk.bmp", SolidBmp(8, 8, RGB(7, 7, 7))},
      {"gbe.bmp", SolidBmp(20, 10, RGB(8, 8, 8))},
      {"gb.bmp", SolidBmp(20, 10, RGB(10, 10, 10))},
      {"tabs.bmp", SolidBmp(50, 10, RGB(11, 11, 11))},
      {"border.bmp", SolidBmp(12, 12, RGB(12, 12, 12))},
      {"combo.bmp", Bands(6, {{3, RGB(255, 0, 0)}, {5, RGB(0, 0, 255)}})},
      {"sunk.bmp", SolidBmp(8, 8, RGB(13, 13, 13))},
      {"thumb.bmp", SolidBmp(30, 10, RGB(14, 14, 14))},
  };
}

class SkinRulesTest : public SkinDataTest {
 protected:
  void SetUp() override {
    SkinDataTest::SetUp();
    ASSERT_TRUE(LoadArchive(data, Archive(kFullIni, FullEntries())));
  }
  TSkinData data{nullptr};
};

TEST_F(SkinRulesTest, WindowEdgesTakeTheirComposedKeys) {
  EXPECT_EQ(data.FSkinName, "Rules");
  const TDataSkinBorder& l = *data.Left;
  EXPECT_EQ(l.TopHeight, 5);
  EXPECT_EQ(l.BottomHeight, 6);
  EXPECT_EQ(l.LeftWidth, 0);
  EXPECT_EQ(l.RightWidth, 0);
  EXPECT_EQ(l.FrameCount, 2);
  EXPECT_EQ(l.Tile, 0);
  EXPECT_EQ(l.Trans, 0);
  EXPECT_EQ(l.Image->Width(), 4);
  EXPECT_EQ(PixelOf(l.Image.get(), 0, 0), RGB(255, 0, 0));
  const TDataSkinBorder& t = *data.Top;  // top and bottom edges are cut left and right
  EXPECT_EQ(t.LeftWidth, 7);
  EXPECT_EQ(t.RightWidth, 8);
  EXPECT_EQ(t.TopHeight, 0);
  EXPECT_EQ(t.BottomHeight, 0);
  EXPECT_EQ(t.FrameCount, 1);
  EXPECT_EQ(t.Image->Height(), 4);
  EXPECT_TRUE(data.Right->Image->Empty());
}

TEST_F(SkinRulesTest, ColoursAndExtraColourSections) {
  EXPECT_EQ(data.WindowText, 0x030201);
  EXPECT_EQ(data.ButtonFace, 0xCAC9C8);
  EXPECT_EQ(data.Menubar, 0xCAC9C8);  // follows ButtonFace
  EXPECT_EQ(data.ButtonText, 0x800000);
  EXPECT_EQ(data.Menu, clMenu);
  // "Colours" itself is not an extra colour; the others count in file order.
  EXPECT_EQ(data.FColourList, (std::vector<TColor>{0x0000FF, 0x00FF00, clWindowText}));
}

TEST_F(SkinRulesTest, CaptionButtonSectionsBecomeRecordsInFileOrder) {
  std::vector<std::string> names;
  for (auto& b : data.SysButtons) names.push_back(b->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"BUTTON1", "BUTTON2", "BUTTONKEPT", "BUTTONICON",
                                             "BUTTONICONFRAMED", "", "", ""}));
  const TDataSkinSysButton& one = *data.SysButtons[0];
  EXPECT_EQ(one.Action, 1);
  EXPECT_EQ(one.Align, 2);
  EXPECT_EQ(one.Xcoord, 30);
  EXPECT_EQ(one.Ycoord, 4);
  EXPECT_EQ(one.Visibility, 0);
  EXPECT_EQ(one.Visibility1, 0);
  EXPECT_EQ(one.CombineOp, -1);
  EXPECT_EQ(one.FrameCount, 3);  // 76 x 20: ratio 3.8
  EXPECT_EQ(one.Image->Width(), 76);

  const TDataSkinSysButton& two = *data.SysButtons[1];
  EXPECT_EQ(two.FrameCount, 6);  // 78 x 20
  EXPECT_EQ(two.CombineOp, 5);
  EXPECT_EQ(two.Visibility1, 7);

  const TDataSkinSysButton& kept = *data.SysButtons[2];
  EXPECT_EQ(kept.Action, -1);
  EXPECT_EQ(kept.Visibility1, -1);
  EXPECT_EQ(kept.FrameCount, 6);

  const TDataSkinSysButton& icon = *data.SysButtons[3];  // the window icon goes there
  EXPECT_EQ(icon.FrameCount, 3);
  EXPECT_TRUE(icon.Image->Empty());
  const TDataSkinSysButton& framed = *data.SysButtons[4];
  EXPECT_EQ(framed.FrameCount, 1);
  EXPECT_EQ(framed.Image->Width(), 76);
}

TEST_F(SkinRulesTest, MdiControlsStripIsCutIntoThreeButtons) {
  ASSERT_EQ(data.SysButtons.size(), 8u);
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
  const int xcoords[] = {42, 28, 14};
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *data.SysButtons[size_t(5 + i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Image->Width(), 40);
    EXPECT_EQ(b.Image->Height(), 18);
    EXPECT_EQ(b.Xcoord, xcoords[i]);
    EXPECT_EQ(PixelOf(b.Image.get(), 0, 0), colours[i]);
    EXPECT_EQ(PixelOf(b.Image.get(), 39, 17), colours[i]);
  }
}

TEST_F(SkinRulesTest, PushButtonElement) {
  const TDataSkinButton& b = *data.Buttons;
  EXPECT_EQ(b.Margins().left, 3);
  EXPECT_EQ(b.Margins().right, 4);
  EXPECT_EQ(b.Margins().top, 5);
  EXPECT_EQ(b.Margins().bottom, 6);
  EXPECT_EQ(b.Trans, 1);
  EXPECT_EQ(b.Tile, 2);   // not limited here
  EXPECT_EQ(b.Style, 0);  // not read
  EXPECT_EQ(b.Image->Width(), 50);
  EXPECT_EQ(b.CheckButtonFrame, 8);  // 128 x 16
  EXPECT_EQ(b.RadioButtonFrame, 4);  // 60 x 13
  EXPECT_EQ(b.NormalColour, 0xFF);
  EXPECT_EQ(b.MouseOverColour, 0x100);
  EXPECT_EQ(b.PressedColour, -1);
  EXPECT_TRUE(b.HasNormalColour2);
  EXPECT_EQ(b.NormalColour2, 0x1E140A);
  EXPECT_FALSE(b.HasMouseOverColour2);
  EXPECT_EQ(b.MouseOverColour2, 0x800000);  // the skin's ButtonText
  EXPECT_FALSE(b.HasPressedColour2);        // given, but empty
  EXPECT_EQ(b.PressedColour2, 0x800000);
}

TEST_F(SkinRulesTest, TitleElement) {
  const TDataSkinTitle& t = *data.Title;
  EXPECT_EQ(t.Image->Height(), 40);
  EXPECT_EQ(t.LeftWidth, 3);
  EXPECT_EQ(t.TopHeight, -2);  // a shift, not a margin: kept as given
  EXPECT_EQ(t.RightWidth, 40);
  EXPECT_EQ(t.BottomHeight, 0);
  EXPECT_EQ(t.TextAlignment, 2);
  EXPECT_EQ(t.Textbackground, 1);
  EXPECT_EQ(t.TXTBackleft, 9);
  EXPECT_EQ(t.TXTBackRight, 11);
  EXPECT_EQ(t.FontHeight, 16);
  EXPECT_EQ(t.ActiveTextColour, 0x1000FF);
  EXPECT_EQ(t.InActiveTextColour, clNone);  // one of the three is negative
}

TEST_F(SkinRulesTest, ElementSectionsAndTheirExceptions) {
  ASSERT_TRUE(data.Progress);
  EXPECT_EQ(data.Progress->Style, 3);
  EXPECT_EQ(data.Progress->Tile, 2);
  EXPECT_EQ(data.Progress->LeftWidth, 1);
  EXPECT_EQ(data.Progress->NormalColour, 0);  // no colour keys
  EXPECT_EQ(data.Progress->NormalColour2, 0);
  EXPECT_EQ(data.Progress->Image2->Width(), 8);

  ASSERT_TRUE(data.MenuBarSkin);
  EXPECT_EQ(data.MenuBarSkin->Name, "Personality");
  EXPECT_EQ(data.MenuBarSkin->Tile, 1);
  EXPECT_EQ(data.MenuBarSkin->LeftWidth, 4);
  EXPECT_EQ(data.MenuBarSkin->RightWidth, 1);
  EXPECT_EQ(data.MenuBarSkin->Trans, 0);

  ASSERT_TRUE(data.GroupBoxEdge);
  EXPECT_EQ(data.GroupBoxEdge->Tile, 0);  // 2 is not a tile value
  EXPECT_EQ(data.GroupBoxEdge->Style, 4);
  EXPECT_EQ(data.GroupBoxEdge->NormalColour, -1);
  EXPECT_EQ(data.GroupBoxEdge->MouseOverColour2, 0x030201);
  EXPECT_EQ(data.GroupBoxEdge->NormalColour2, 0x800000);

  ASSERT_TRUE(data.GroupBox);
  EXPECT_EQ(data.GroupBox->BackgroundAlignment, 1);
  EXPECT_EQ(data.GroupBox->BackgroundLeftShift, -3);
  EXPECT_EQ(data.GroupBox->BackgroundRightShift, 5);

  EXPECT_FALSE(data.Toolbars);        // no image key
  EXPECT_FALSE(data.StatusBarEdges);  // no section
  ASSERT_TRUE(data.Tabs);
  EXPECT_EQ(data.Tabs->Style, 0);  // pair sections read no style
  EXPECT_EQ(data.Tabs->Tile, 1);
  EXPECT_EQ(data.Tabs->Image2->Width(), 12);

  ASSERT_TRUE(data.SunkEdge);  // upper-case extension: present, empty
  EXPECT_TRUE(data.SunkEdge->Image->Empty());
  ASSERT_TRUE(data.ExtraImages);  // not in the archive: present, empty
  EXPECT_TRUE(data.ExtraImages->Image->Empty());

  ASSERT_TRUE(data.UpDownHorz);
  EXPECT_EQ(data.UpDownHorz->Image2->Width(), 8);
  EXPECT_FALSE(data.UpDownVert);
  ASSERT_TRUE(data.TrackbarThumbUp);
  EXPECT_FALSE(data.TrackbarThumbDown);
}

TEST_F(SkinRulesTest, ComboButtonSecondPictureIsTheFirstMirrored) {
  ASSERT_TRUE(data.ComboButton);
  TBitmap* first = data.ComboButton->Image.get();
  TBitmap* second = data.ComboButton->Image2.get();
  ASSERT_EQ(second->Width(), 8);
  EXPECT_EQ(second->PixelFormat(), pf24bit);
  EXPECT_EQ(PixelOf(first, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(second, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(second, 7, 5), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(second, 4, 0), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(second, 5, 0), RGB(255, 0, 0));
}

TEST_F(SkinRulesTest, FrameCountsPerElement) {
  EXPECT_EQ(data.Buttons->FrameCount, 5);
  EXPECT_EQ(data.Title->FrameCount, 2);
  EXPECT_EQ(data.Progress->FrameCount, 2);
  EXPECT_EQ(data.MenuBarSkin->FrameCount, 2);
  EXPECT_EQ(data.GroupBoxEdge->FrameCount, 2);
  EXPECT_EQ(data.ComboButton->FrameCount, 4);
  EXPECT_EQ(data.SunkEdge->FrameCount, 4);
  EXPECT_EQ(data.Tabs->FrameCount, 5);
  EXPECT_EQ(data.ExtraImages->FrameCount, 5);
  EXPECT_EQ(data.TrackbarThumbUp->FrameCount, 5);
  EXPECT_EQ(data.UpDownHorz->FrameCount, 8);
  EXPECT_EQ(data.GroupBox->FrameCount, 1);
  EXPECT_EQ(data.ScrollbarSkin->FrameCount, 23);
  EXPECT_EQ(data.HorzScrollThumb->FrameCount, 7);
  EXPECT_EQ(data.VertScrollThumb->FrameCount, 3);
}

TEST_F(SkinRulesTest, ReloadingReplacesTheElementsButKeepsTheAlwaysPresentRecords) {
  TDataSkinTitle* title = data.Title.get();
  TDataSkinBorder* left = data.Left.get();
  ASSERT_TRUE(LoadArchive(data, Archive("[TitlebarSkin]\r\nSkinName=Second\r\n")));
  EXPECT_EQ(data.FSkinName, "Second");
  EXPECT_EQ(data.Title.get(), title);
  EXPECT_EQ(data.Left.get(), left);
  EXPECT_TRUE(data.Title->Image->Empty());
  EXPECT_EQ(data.Left->TopHeight, 0);
  EXPECT_FALSE(data.Progress);
  EXPECT_FALSE(data.Tabs);
  EXPECT_TRUE(data.FColourList.empty());
  EXPECT_EQ(data.SysButtons.size(), 3u);
}

// ---- Bad skins ---------------------------------------------------------------------------------

TEST_F(SkinDataTest, ZeroOrNegativeFrameCountsAndMarginsAreClamped) {
  TSkinData data(nullptr);
  const char* ini =
      "[Personality]\r\nLeftFrame=0\r\nTopFrame=-3\r\nLeftTopHeight=-9\r\n"
      "[Button1]\r\nAction=1\r\nframe=-2\r\n"
      "[Buttons]\r\nRadioButtonFrame=-1\r\nCheckButtonFrame=-5\r\nLeftWidth=-4\r\n"
      "[HorzScrollThumb]\r\nImage=a.bmp\r\nFrameCount=0\r\n"
      "[VertScrollThumb]\r\nImage=a.bmp\r\nFrameCount=-8\r\n"
      "[Toolbars]\r\nImage=a.bmp\r\nLeftWidth=-1\r\nBottomHeight=-100\r\n";
  ASSERT_TRUE(LoadArchive(data, Archive(ini, {{"a.bmp", SolidBmp(10, 10, 0)}})));
  EXPECT_EQ(data.Left->FrameCount, 1);
  EXPECT_EQ(data.Top->FrameCount, 1);
  EXPECT_EQ(data.Left->TopHeight, 0);
  EXPECT_EQ(data.SysButtons[0]->FrameCount, 1);
  EXPECT_EQ(data.Buttons->RadioButtonFrame, 1);
  EXPECT_EQ(data.Buttons->CheckButtonFrame, 1);
  EXPECT_EQ(data.Buttons->LeftWidth, 0);
  EXPECT_EQ(data.HorzScrollThumb->FrameCount, 1);
  EXPECT_EQ(data.VertScrollThumb->FrameCount, 1);
  EXPECT_EQ(data.Toolbars->LeftWidth, 0);
  EXPECT_EQ(data.Toolbars->BottomHeight, 0);
  data.ForEachElement([](TDataSkinObject& e) { EXPECT_GE(e.FrameCount, 1) << e.Name; });
}

// Damaged skins: picture headers with random bytes and numbers in the description replaced by
// random ones. Each load either completes with every strip cut into at least one frame and no
// negative margin, or fails leaving the skin not loaded; none crashes.
TEST_F(SkinDataTest, DamagedSkinsLoadClampedOrNotAtAll) {
  std::mt19937 random(20000);
  int loaded = 0, refused = 0;
  for (int round = 0; round < 30; ++round) {
    std::vector<TSkinEntry> entries = FullEntries();
    for (int n = 0; n < 3; ++n) {
      std::vector<uint8_t>& bmp = entries[random() % entries.size()].Data;
      size_t at = random() % std::min<size_t>(bmp.size(), 54);
      bmp[at] = uint8_t(random());
    }
    std::string ini = kFullIni;
    for (size_t p = ini.find('='); p != std::string::npos; p = ini.find('=', p + 1))
      if (p + 1 < ini.size() && (isdigit(uint8_t(ini[p + 1])) || ini[p + 1] == '-') && random() % 3 == 0) {
        size_t end = ini.find('\r', p);
        ini.replace(p + 1, end - p - 1, std::to_string(int32_t(random())));
      }
    TSkinData data(nullptr);
    if (LoadArchive(data, Archive(ini, entries))) {
      ++loaded;
      data.ForEachElement([&](TDataSkinObject& e) {
        EXPECT_GE(e.FrameCount, 1) << e.Name;
        int least = std::min({e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight});
        EXPECT_TRUE(&e == data.Title.get() || least >= 0) << e.Name;
      });
      EXPECT_GE(data.Buttons->CheckButtonFrame, 1);
      EXPECT_GE(data.Buttons->RadioButtonFrame, 1);
    } else {
      ++refused;
      EXPECT_TRUE(data.FNotLoaded);
    }
  }
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(SkinDataTest, AFailedLoadKeepsThePreviousSkinWhole) {
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, Archive(kFullIni, FullEntries())));
  HBRUSH brush = data.FFaceBrush;

  // The same skin with a broken picture named by an element late in the parse.
  std::vector<TSkinEntry> broken = FullEntries();
  for (auto& e : broken)
    if (e.Name == "thumb.bmp") e.Data = TextBytes("BM this is no bitmap");
  std::string ini = std::string(kFullIni);
  ini.replace(ini.find("SkinName=Rules"), 14, "SkinName=Broken");
  EXPECT_FALSE(LoadArchive(data, Archive(ini, broken)));

  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "Rules");
  EXPECT_EQ(data.Left->TopHeight, 5);
  ASSERT_TRUE(data.Progress);
  ASSERT_TRUE(data.HorzScrollThumb);
  EXPECT_EQ(data.HorzScrollThumb->Image->Width(), 30);
  EXPECT_EQ(data.SysButtons.size(), 8u);
  EXPECT_EQ(data.FFaceBrush, brush);
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(SkinDataTest, BadPicturesFailTheLoadWithoutCrashing) {
  std::vector<uint8_t> truncated = SolidBmp(10, 10, 0);
  truncated.resize(20);
  std::vector<uint8_t> huge = SolidBmp(2, 2, 0);
  int32_t big = 0x7FFFFFF;  // width and height far beyond the data
  std::memcpy(&huge[18], &big, 4);
  std::memcpy(&huge[22], &big, 4);
  for (const auto& picture : {TextBytes("GIF89a"), truncated, huge, std::vector<uint8_t>{'B', 'M'}}) {
    TSkinData data(nullptr);
    EXPECT_FALSE(LoadArchive(data, Archive("[Tabs]\r\nImage=t.bmp\r\n", {{"t.bmp", picture}})));
    EXPECT_TRUE(data.FNotLoaded);
    EXPECT_FALSE(data.Tabs);
  }
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(SkinDataTest, ArchivesThatCannotBeReadLeaveTheSkinNotLoaded) {
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, Archive("[TitlebarSkin]\r\nSkinName=Kept\r\n")));

  // Too short to hold a container, bytes that decode to nothing sensible.
  EXPECT_FALSE(LoadArchive(data, {0x10, 0, 0, 0}));
  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "Kept");
  EXPECT_FALSE(LoadArchive(data, {1, 2, 3}));
  EXPECT_FALSE(LoadArchive(data, std::vector<uint8_t>(5000, 0xAB)));
  // An archive without an INI entry is refused as a whole.
  EXPECT_FALSE(LoadArchive(data, PackSkinArchive({{"a.bmp", SolidBmp(2, 2, 0)}})));
  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "Kept");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(SkinDataTest, AnOlderArchiveShowsTheReadersMessageAndLoadsNothing) {
  TSkinData data(nullptr);
  std::vector<uint8_t> decoded = BuildSkinArchive({{"skin.ini", TextBytes("[A]\r\n")}});
  decoded[0] = 0x1F;  // tag 19999
  decoded[1] = 0x4E;
  EXPECT_FALSE(LoadArchive(data, LZHPack(decoded)));
  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_EQ(TReaderMessageScope::Messages(),
            (std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"}));
}

TEST_F(SkinDataTest, TheTemporaryIniNeverLeavesTheTemporaryFolderAndIsDeleted) {
  TSkinData data(nullptr);
  const std::string escape = FTemp + "..\\escaped.ini";
  DeleteFileA(escape.c_str());
  ASSERT_TRUE(LoadArchive(data, Archive("[TitlebarSkin]\r\nSkinName=Far\r\n", {}, "..\\escaped.ini")));
  EXPECT_EQ(data.FSkinName, "Far");
  EXPECT_EQ(GetFileAttributesA(escape.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(SkinDataTest, LoadsReloadsAndFailuresLeaveNoGdiObjectBehind) {
  const std::vector<uint8_t> good = Archive(kFullIni, FullEntries());
  std::vector<TSkinEntry> broken = FullEntries();
  broken.back().Data = TextBytes("BM broken");
  const std::vector<uint8_t> bad = Archive(kFullIni, broken);
  { TSkinData warm(nullptr); }  // what GDI keeps once per process
  int before = GdiObjectCount();
  for (int i = 0; i < 3; ++i) {
    TSkinData data(nullptr);
    ASSERT_TRUE(LoadArchive(data, good));
    ASSERT_TRUE(LoadArchive(data, good));
    ASSERT_FALSE(LoadArchive(data, bad));
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

// ---- Skin files --------------------------------------------------------------------------------

TEST_F(SkinDataTest, AMissingSkinFileKeepsTheSkinButCountsItNotLoaded) {
  TManagerScope manager;
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, Archive("[TitlebarSkin]\r\nSkinName=Kept\r\n")));
  data.SetSkinFile(FTemp + "nowhere.skn");
  EXPECT_EQ(data.SkinFile(), FTemp + "nowhere.skn");
  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "Kept");
  EXPECT_GT(data.FSkinStream->GetSize(), 0);
  // A folder of that name is no skin file either.
  int64_t size = data.FSkinStream->GetSize();
  data.SetSkinFile(FTemp);
  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinStream->GetSize(), size);
  EXPECT_TRUE(manager.Manager.Calls.empty());
}

TEST_F(SkinDataTest, ASkinFileIsLoadedAndApplied) {
  TManagerScope manager;
  const std::string file = FTemp + "blue.skn";
  std::vector<uint8_t> archive = Archive("[TitlebarSkin]\r\nSkinName=Blue\r\n");
  {
    TFileStream out(file, fmCreate);
    out.WriteBuffer(archive.data(), int32_t(archive.size()));
  }
  TSkinData data(nullptr);
  data.SetSkinFile(file);
  DeleteFileA(file.c_str());
  EXPECT_FALSE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "Blue");
  EXPECT_EQ(manager.Manager.Calls,
            (std::vector<std::string>{"Pending", "ClearFormButtons", "Schedule 3 250"}));
  EXPECT_EQ(manager.Manager.Pending, &data);
}

TEST_F(SkinDataTest, ASkinFileThatDoesNotLoadLeavesTheSkinnedWindowsAsTheyAre) {
  TManagerScope manager;
  const std::string file = FTemp + "broken.skn";
  {
    const std::vector<uint8_t> junk(5000, 0xAB);
    TFileStream out(file, fmCreate);
    out.WriteBuffer(junk.data(), int32_t(junk.size()));
  }
  TSkinData data(nullptr);
  ASSERT_TRUE(LoadArchive(data, Archive("[TitlebarSkin]\r\nSkinName=Kept\r\n")));
  data.SetSkinFile(file);
  DeleteFileA(file.c_str());
  EXPECT_TRUE(data.FNotLoaded);
  EXPECT_EQ(data.FSkinName, "Kept");
  // No caption buttons dropped, no skin change scheduled.
  EXPECT_TRUE(manager.Manager.Calls.empty());
}

// ---- Switching skinning on and off -------------------------------------------------------------

TEST_F(SkinDataTest, LoadedStepOfAMainFormSkinWithItsSkinSchedulesSkinningOn) {
  TManagerScope manager(false);
  TSkinData data(nullptr);
  data.SetState(csLoading | csReading);
  data.SetActive(true);  // while reading: only stored
  ASSERT_TRUE(LoadArchive(data, Archive("[A]\r\n")));
  data.ClearState(csReading);
  EXPECT_TRUE(manager.Manager.Calls.empty());
  data.Loaded();
  EXPECT_TRUE(data.Active());
  EXPECT_EQ(manager.Manager.Calls,
            (std::vector<std::string>{"AddSkinData", "InstallHook", "Schedule 1 250"}));
}

TEST_F(SkinDataTest, LoadedStepWithoutASkinSwitchesActiveOff) {
  TManagerScope manager(false);
  TSkinData data(nullptr);
  data.SetState(csLoading | csReading);
  data.SetActive(true);
  data.ClearState(csReading);
  data.Loaded();
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"AddSkinData", "InstallHook"}));
}

TEST_F(SkinDataTest, LoadedStepWithoutAManagerStillSwitchesAnUnloadedSkinOff) {
  auto saved = SkinManagerLink;
  SkinManagerLink = [](bool) -> TSkinManagerLink* { return nullptr; };
  {
    TSkinData data(nullptr);
    data.SetState(csLoading | csReading);
    data.SetActive(true);
    data.ClearState(csReading);
    data.Loaded();
    EXPECT_FALSE(data.Active());
  }
  SkinManagerLink = saved;
}

TEST_F(SkinDataTest, OtherKindsSkinTheirOwnerFormAtOnce) {
  for (TSkinFormType kind : {sfOnlyThisForm, sfDialog}) {
    TManagerScope manager(false);
    TSkinHost host(nullptr);
    auto* data = new TSkinData(&host);
    data->SkinFormtype = kind;
    data->Loaded();
    EXPECT_EQ(manager.Manager.Calls,
              (std::vector<std::string>{"AddSkinData", "Enabled", "AddActivation", "SkinOwnerForm"}));
    EXPECT_EQ(manager.Manager.OwnerAsked, &host);
  }
}

TEST_F(SkinDataTest, SetActiveSchedulesByKindAndLoadState) {
  {
    TManagerScope manager;
    TSkinData data(nullptr);
    data.SetActive(true);  // not loaded: nothing to switch on
    EXPECT_TRUE(data.Active());
    EXPECT_TRUE(manager.Manager.Calls.empty());
    data.SetActive(true);  // unchanged
    data.SetActive(false);
    EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"Schedule 2 250", "Pending"}));
  }
  {
    TManagerScope manager;
    TSkinData data(nullptr);
    ASSERT_TRUE(LoadArchive(data, Archive("[A]\r\n")));
    data.SetActive(true);
    EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"Schedule 1 250", "Pending"}));
  }
  {
    TManagerScope manager;
    TSkinData data(nullptr);
    data.SkinFormtype = sfOnlyThisForm;
    data.SetActive(true);
    EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"Pending"}));
    data.SetActive(false);
    EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"Pending", "Pending", "Schedule 2 250"}));
  }
  {
    TManagerScope manager;
    TSkinData data(nullptr);
    data.SkinFormtype = sfDialog;
    data.SetActive(true);
    data.SetActive(false);
    EXPECT_TRUE(manager.Manager.Calls.empty());
  }
}

TEST_F(SkinDataTest, ApplySkinRunsTheLoadedStepWhenThereIsNoManagerYet) {
  TManagerScope manager(false);
  TSkinData data(nullptr);
  data.ApplySkin();
  EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"AddSkinData", "InstallHook", "Pending",
                                                             "ClearFormButtons", "Schedule 3 250"}));
}

TEST_F(SkinDataTest, DestroyUnregistersFromTheManager) {
  TManagerScope manager;
  { TSkinData data(nullptr); }
  EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"RemoveSkinData"}));
}

TEST_F(SkinDataTest, DoFormSkinRefusesMonthCalendarsAndReportWindows) {
  TSkinData data(nullptr);
  auto ask = [&](const std::string& name) {
    bool doSkin = true;
    data.DoFormSkin(name, doSkin);
    return doSkin;
  };
  EXPECT_FALSE(ask("SysMonthCal32"));
  EXPECT_TRUE(ask("sysmonthcal32"));
  EXPECT_TRUE(ask("TfrmMain"));
  EXPECT_TRUE(ask("TForm1"));
  data.SkinControls.Include(xcFastReport);
  EXPECT_FALSE(ask("TfrmMain"));
  EXPECT_TRUE(ask("TFrmMain"));

  std::vector<std::string> asked;
  data.OnFormSkin = [&](TObject* sender, const std::string& name, bool& doSkin) {
    EXPECT_EQ(sender, &data);
    asked.push_back(name);
    doSkin = true;
  };
  EXPECT_TRUE(ask("SysMonthCal32"));
  EXPECT_EQ(asked, (std::vector<std::string>{"SysMonthCal32"}));
}

TEST_F(SkinDataTest, DoSkinChangedFiresTheEventWhenAssigned) {
  TSkinData data(nullptr);
  data.DoSkinChanged();
  TObject* sender = nullptr;
  data.OnSkinChanged = [&](TObject* s) { sender = s; };
  data.DoSkinChanged();
  EXPECT_EQ(sender, &data);
}

// ---- Form descriptions --------------------------------------------------------------------------

// The description of a form holding a skin component, with the archive as "SkinStream".
std::string HostDescription(const std::vector<uint8_t>& archive, const std::string& active) {
  TMemoryStream stored;
  int32_t n = int32_t(archive.size());
  stored.WriteBuffer(&n, 4);
  stored.WriteBuffer(archive.data(), n);
  std::string hex;
  static const char digits[] = "0123456789ABCDEF";
  for (size_t i = 0; i < stored.Bytes().size(); ++i) {
    if (i % 32 == 0) hex += "\r\n      ";
    uint8_t b = uint8_t(stored.Bytes()[i]);
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return "object SkinHost: TSkinHost\r\n"
         "  object SkinData1: TSkinData\r\n"
         "    Active = " +
         active +
         "\r\n"
         "    DisableTag = 42\r\n"
         "    SkinControls = [xcMainMenu, xcPopupMenu, xcCombo, xcFastReport]\r\n"
         "    Skin3rd.Strings = (\r\n"
         "      'TMyEdit=Edit'\r\n"
         "      'TMyPanel=panel')\r\n"
         "    SkinFile = ''\r\n"
         "    SkinStore = '(Good)'\r\n"
         "    SkinFormtype = sfMainform\r\n"
         "    Version = '1.0'\r\n"
         "    MenuUpdate = False\r\n"
         "    SkinStream = {" +
         hex +
         "}\r\n"
         "  end\r\n"
         "end\r\n";
}

TEST_F(SkinDataTest, AFormDescriptionCreatesLoadsAndSwitchesOnTheComponent) {
  RegisterSkinData();
  TManagerScope manager(false);
  TSkinHost host(nullptr);
  ReadComponentText(&host, HostDescription(Archive(kFullIni, FullEntries()), "True"));
  auto* data = ObjectAs<TSkinData>(host.FindComponent("SkinData1"));
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->DisableTag, 42);
  EXPECT_EQ(data->SkinControls.Bits,
            (1u << xcMainMenu) | (1u << xcPopupMenu) | (1u << xcCombo) | (1u << xcFastReport));
  ASSERT_EQ(data->Skin3rd()->Count(), 2);
  EXPECT_EQ(data->Skin3rd()->Strings(1), "TMyPanel=panel");
  EXPECT_EQ(data->SkinFormtype, sfMainform);
  EXPECT_EQ(data->Version(), "2.65.6.22");
  EXPECT_EQ(data->GetSkinStore(), "(none)");
  EXPECT_FALSE(data->MenuUpdate);
  EXPECT_FALSE(data->FNotLoaded);
  EXPECT_EQ(data->FSkinName, "Rules");
  EXPECT_EQ(data->SysButtons.size(), 8u);
  EXPECT_EQ(manager.Manager.Calls,
            (std::vector<std::string>{"AddSkinData", "InstallHook", "Schedule 1 250"}));
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(SkinDataTest, AFormWhoseStoredSkinCannotLoadRunsUnskinned) {
  RegisterSkinData();
  TManagerScope manager(false);
  std::vector<TSkinEntry> broken = FullEntries();
  broken[0].Data = TextBytes("BM broken");
  TSkinHost host(nullptr);
  EXPECT_NO_THROW(ReadComponentText(&host, HostDescription(Archive(kFullIni, broken), "True")));
  auto* data = ObjectAs<TSkinData>(host.FindComponent("SkinData1"));
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->FNotLoaded);
  EXPECT_FALSE(data->Active());
  EXPECT_EQ(manager.Manager.Calls, (std::vector<std::string>{"AddSkinData", "InstallHook"}));
  EXPECT_TRUE(Leftovers().empty());
}

// ---- SkinDrawText ------------------------------------------------------------------------------

// A white 24-bit DIB in a memory DC, black text, transparent background.
class TextSurface {
 public:
  TextSurface() : Bitmap(120, 30, pf24bit) {
    Bitmap.Canvas()->Brush()->SetColor(clWhite);
    Bitmap.Canvas()->FillRect(RECT{0, 0, 120, 30});
    DC = Bitmap.Canvas()->Handle();
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, RGB(0, 0, 0));
    SelectObject(DC, GetStockObject(DEFAULT_GUI_FONT));
  }
  ~TextSurface() { SelectObject(DC, GetStockObject(SYSTEM_FONT)); }
  std::vector<COLORREF> Pixels() {
    GdiFlush();
    std::vector<COLORREF> all;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) all.push_back(PixelOf(&Bitmap, x, y));
    return all;
  }
  TBitmap Bitmap;
  HDC DC;
};

class IsWinNTScope {
 public:
  explicit IsWinNTScope(bool value) : FSaved(IsWinNT) { IsWinNT = value; }
  ~IsWinNTScope() { IsWinNT = FSaved; }

 private:
  bool FSaved;
};

TEST(SkinDrawText, DrawsLikeTheSystemCallOnEitherPath) {
  const std::wstring text(L"Ab\0cd", 5);
  const RECT r{2, 2, 118, 28};
  for (bool nt : {true, false}) {
    IsWinNTScope scope(nt);
    TextSurface mine, expected;
    int height = SkinDrawText(mine.DC, text, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    RECT copy = r;
    int want = nt ? DrawTextW(expected.DC, text.c_str(), 5, &copy, DT_LEFT | DT_SINGLELINE | DT_VCENTER)
                  : DrawTextA(expected.DC, "Ab", -1, &copy, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(height, want);
    EXPECT_GT(height, 0);
    std::vector<COLORREF> got = mine.Pixels();
    EXPECT_EQ(got, expected.Pixels()) << (nt ? "NT path" : "ANSI path");
    EXPECT_NE(std::count(got.begin(), got.end(), RGB(0, 0, 0)), 0);
  }
}

TEST(SkinDrawText, DrawsInTheCallersColourWhereTheFlagsPlaceIt) {
  for (UINT align : {UINT(DT_LEFT), UINT(DT_RIGHT)}) {
    TextSurface surface;
    SetTextColor(surface.DC, RGB(200, 0, 0));
    SkinDrawText(surface.DC, L"Hi", RECT{0, 0, 120, 30}, align | DT_SINGLELINE | DT_VCENTER);
    std::vector<COLORREF> pixels = surface.Pixels();
    int left = 120, right = -1;
    for (int i = 0; i < int(pixels.size()); ++i) {
      if (pixels[size_t(i)] == RGB(255, 255, 255)) continue;
      EXPECT_EQ(pixels[size_t(i)], RGB(200, 0, 0));
      left = std::min(left, i % 120);
      right = std::max(right, i % 120);
    }
    ASSERT_GE(right, 0);
    if (align == DT_LEFT) {
      EXPECT_LT(left, 4);
    } else {
      EXPECT_GT(left, 60);
      EXPECT_GT(right, 110);
    }
  }
}

// (The caller's rectangle is taken by value: measuring cannot move it.)
TEST(SkinDrawText, MeasuringAnswersTheTextsHeightAndDrawsNothing) {
  for (bool nt : {true, false}) {
    IsWinNTScope scope(nt);
    TextSurface surface;
    const std::vector<COLORREF> before = surface.Pixels();
    const int height =
        SkinDrawText(surface.DC, L"Measure me", RECT{0, 0, 100, 20}, DT_CALCRECT | DT_SINGLELINE);
    RECT expected{0, 0, 100, 20};
    EXPECT_EQ(height, DrawTextW(surface.DC, L"Measure me", -1, &expected, DT_CALCRECT | DT_SINGLELINE));
    EXPECT_GT(height, 0);
    EXPECT_EQ(surface.Pixels(), before);
  }
}

TEST(SkinDrawText, AnEmptyTextDrawsNothing) {
  for (bool nt : {true, false}) {
    IsWinNTScope scope(nt);
    TextSurface surface;
    const std::vector<COLORREF> before = surface.Pixels();
    const int result = SkinDrawText(surface.DC, L"", RECT{0, 0, 100, 20}, DT_LEFT);
    EXPECT_EQ(surface.Pixels(), before);
    // The system call's own answer for an empty text, not a made-up one.
    RECT r{0, 0, 100, 20};
    EXPECT_EQ(result,
              nt ? DrawTextW(surface.DC, L"", 0, &r, DT_LEFT) : DrawTextA(surface.DC, "", -1, &r, DT_LEFT))
        << (nt ? "NT path" : "ANSI path");
  }
}

TEST(SkinDrawText, UnrepresentableCharactersBecomeTheDefaultCharacterOnTheAnsiPath) {
  IsWinNTScope scope(false);
  TextSurface mine, expected;
  const RECT r{0, 0, 120, 30};
  SkinDrawText(mine.DC, L"x\x4E2Dy", r, DT_LEFT | DT_SINGLELINE);
  RECT copy = r;
  DrawTextA(expected.DC, "x?y", -1, &copy, DT_LEFT | DT_SINGLELINE);
  EXPECT_EQ(mine.Pixels(), expected.Pixels());
}

}  // namespace
