// Skinned containers with real windows: the status bar painted whole from the skin (skin panels,
// plain bevels, texts, grip), the group box frame and caption, and panels that only take the skin
// colour; checked by pixel against the solid-colour test skin.
#include <gtest/gtest.h>

#include "GraphicsHelpers.h"
#include "WinSubClassTesting.h"
#include "skin/RezIderForm.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/StdCtrls.h"

using namespace ctltest;
using testskin::tpExtraImages;
using testskin::tpStatusBar;

namespace {

// Columns of row y whose pixel is none of the given colours: where text was drawn.
std::pair<int, int> InkColumns(TBitmap& b, int y0, int y1, int x0, int x1,
                               std::initializer_list<COLORREF> plain) {
  int first = -1, last = -1;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      COLORREF c = PixelAt(b, x, y);
      if (std::find(plain.begin(), plain.end(), c) != plain.end()) continue;
      if (first < 0 || x < first) first = x;
      last = std::max(last, x);
    }
  return {first, last};
}

class StatusBarTest : public SkinControlTest {
 protected:
  TSkinStatusBar* Bar(TStatusBar*& bar, bool grip = false) {
    bar = new TStatusBar(Form);
    bar->SetParent(Form);
    bar->SetSizeGrip(grip);
    bar->SetHeight(24);
    auto* skin = new TSkinStatusBar(bar);
    skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
    return skin;
  }
};

TEST_F(StatusBarTest, WithoutPanelsTheSimpleTextFillsOneLoweredPanel) {
  TStatusBar* bar;
  TSkinStatusBar* skin = Bar(bar, true);
  bar->SetSimpleText("Ready");
  auto pic = Picture(skin, bar->Handle());
  int w = pic->Width(), h = pic->Height();
  EXPECT_EQ(PixelAt(*pic, 0, 0), Frame(tpStatusBar, 1));
  EXPECT_EQ(PixelAt(*pic, w / 2, 0), Frame(tpStatusBar, 1));
  EXPECT_EQ(PixelAt(*pic, w - 1, 0), Frame(tpStatusBar, 1));
  // The grip: frame 5 of the extra images, one pixel in from the bottom-right corner.
  EXPECT_EQ(PixelAt(*pic, w - 3, h - 3), Frame(tpExtraImages, 5));
  EXPECT_EQ(PixelAt(*pic, w - 1, h - 1), Frame(tpStatusBar, 1));
  // The text takes the element's text colour.
  auto ink = InkColumns(*pic, 2, h - 2, 2, w / 2, {Frame(tpStatusBar, 1)});
  ASSERT_GE(ink.first, 0);
  bool coloured = false;
  for (int y = 0; y < h; ++y)
    for (int x = ink.first; x <= ink.second; ++x) coloured |= PixelAt(*pic, x, y) == RGB(171, 172, 173);
  EXPECT_TRUE(coloured);
  EXPECT_LT(ink.first, 8);  // left aligned
}

TEST_F(StatusBarTest, WithoutTheSharedPictureNothingIsDrawn) {
  TStatusBar* bar;
  TSkinStatusBar* skin = Bar(bar);
  TBitmap* shared = SharedBitmap;
  SharedBitmap = nullptr;  // as after the engine's finalisation
  auto pic = Picture(skin, bar->Handle());
  SharedBitmap = shared;
  EXPECT_EQ(PixelAt(*pic, 3, 3), RGB(255, 255, 255));
}

TEST_F(StatusBarTest, PanelsTakeTheirBevelFrameAndTheLastReachesTheRightEdge) {
  TStatusBar* bar;
  TSkinStatusBar* skin = Bar(bar);
  TStatusPanel* lowered = bar->Panels().Add();
  lowered->SetWidth(60);
  TStatusPanel* none = bar->Panels().Add();
  none->SetWidth(60);
  none->SetBevel(pbNone);
  TStatusPanel* raised = bar->Panels().Add();
  raised->SetWidth(40);  // much narrower than what is left
  raised->SetBevel(pbRaised);
  auto pic = Picture(skin, bar->Handle());
  int w = pic->Width();
  RECT p1;
  SendMessageA(bar->Handle(), SB_GETRECT, 1, LPARAM(&p1));
  EXPECT_EQ(PixelAt(*pic, 3, 3), Frame(tpStatusBar, 1));
  EXPECT_EQ(PixelAt(*pic, p1.left + 3, 3), Frame(tpStatusBar, 3));
  EXPECT_EQ(PixelAt(*pic, w - 1, 3), Frame(tpStatusBar, 2));
  EXPECT_EQ(PixelAt(*pic, w - 30, 3), Frame(tpStatusBar, 2));
}

TEST_F(StatusBarTest, WithoutTheSkinImagePanelsGetPlainBevelLines) {
  TStatusBar* bar;
  TSkinStatusBar* skin = Bar(bar);
  Data->StatusBarEdges.reset();
  TStatusPanel* lowered = bar->Panels().Add();
  lowered->SetWidth(60);
  TStatusPanel* raised = bar->Panels().Add();
  raised->SetWidth(60);
  raised->SetBevel(pbRaised);
  TStatusPanel* none = bar->Panels().Add();
  none->SetBevel(pbNone);
  auto pic = Picture(skin, bar->Handle());
  RECT p0, p1, p2;
  SendMessageA(bar->Handle(), SB_GETRECT, 0, LPARAM(&p0));
  SendMessageA(bar->Handle(), SB_GETRECT, 1, LPARAM(&p1));
  SendMessageA(bar->Handle(), SB_GETRECT, 2, LPARAM(&p2));
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(PixelAt(*pic, p0.left + 3, p0.top), shadow);
  EXPECT_EQ(PixelAt(*pic, p0.left, p0.top + 3), shadow);
  EXPECT_EQ(PixelAt(*pic, p0.left + 3, p0.bottom - 1), light);
  EXPECT_EQ(PixelAt(*pic, p0.right - 1, p0.top + 3), light);
  EXPECT_EQ(PixelAt(*pic, p1.left + 3, p1.top), light);
  EXPECT_EQ(PixelAt(*pic, p1.right - 1, p1.top + 3), shadow);
  EXPECT_EQ(PixelAt(*pic, p2.left + 3, p2.top), Named(kButtonFace));
  EXPECT_EQ(PixelAt(*pic, p1.left + 3, p1.top + 1), Named(kButtonFace));
}

TEST_F(StatusBarTest, RightToLeftPanelsMirrorLeftAndRightAlignment) {
  EXPECT_EQ(StatusPanelAlignment(taLeftJustify, false), UINT(DT_LEFT));
  EXPECT_EQ(StatusPanelAlignment(taRightJustify, false), UINT(DT_RIGHT));
  EXPECT_EQ(StatusPanelAlignment(taCenter, false), UINT(DT_CENTER));
  EXPECT_EQ(StatusPanelAlignment(taLeftJustify, true), UINT(DT_RIGHT));
  EXPECT_EQ(StatusPanelAlignment(taRightJustify, true), UINT(DT_LEFT));
  EXPECT_EQ(StatusPanelAlignment(taCenter, true), UINT(DT_CENTER));

  TStatusBar* bar;
  TSkinStatusBar* skin = Bar(bar);
  TStatusPanel* panel = bar->Panels().Add();
  panel->SetWidth(150);
  panel->SetText("ii");
  panel->BiDiMode = bdRightToLeft;
  bar->Panels().Add()->SetText("");
  auto pic = Picture(skin, bar->Handle());
  RECT p0;
  SendMessageA(bar->Handle(), SB_GETRECT, 0, LPARAM(&p0));
  auto ink = InkColumns(*pic, 2, pic->Height() - 2, p0.left + 2, p0.right - 2, {Frame(tpStatusBar, 1)});
  ASSERT_GE(ink.first, 0);
  EXPECT_GT(ink.first, (p0.left + p0.right) / 2);
}

// What reaches a control's own handling of paint and erase, below the skin.
struct TPaintCounter {
  TWndMethod Next;
  int Count = 0;
  void Handle(TMessage& m) {
    if (m.Msg == WM_PAINT || m.Msg == WM_ERASEBKGND) ++Count;
    Next(m);
  }
};

TEST_F(StatusBarTest, OwnPaintAndEraseNeverRunAndNothingLeaks) {
  auto* bar = new TStatusBar(Form);
  bar->SetParent(Form);
  bar->SetHeight(24);
  bar->Panels().Add()->SetText("one");
  bar->Panels().Add()->SetText("two");
  TPaintCounter own{bar->WindowProc};
  bar->WindowProc = MakeWndMethod<&TPaintCounter::Handle>(&own);
  auto* skin = new TSkinStatusBar(bar);
  skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
  TBitmap into(400, 40);
  SendMessageA(bar->Handle(), WM_ERASEBKGND, WPARAM(into.Canvas()->Handle()), 0);
  SendMessageA(bar->Handle(), WM_PAINT, WPARAM(into.Canvas()->Handle()), 0);
  EXPECT_EQ(PixelAt(into, 3, 3), Frame(tpStatusBar, 1));
  int before = GdiObjectCount();
  for (int i = 0; i < 100; ++i) {
    InvalidateRect(bar->Handle(), nullptr, TRUE);
    UpdateWindow(bar->Handle());
  }
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_EQ(own.Count, 0);
  delete skin;
  bar->WindowProc = own.Next;
}

// ---- Group box -----------------------------------------------------------------------------------

class GroupBoxTest : public SkinControlTest {};

TEST_F(GroupBoxTest, RoundedFrameInTheShadowColourWithTheCaptionOnTheFace) {
  auto* box = Make<TGroupBox>(nullptr, 10, 10, 150, 100);
  box->SetCaption("Ab");
  auto* skin = new TSkinGroupBox(box);
  skin->SkinControl(&Host, Data.get(), &FormCanvas, true);
  EXPECT_EQ(box->Color(), Data->ButtonFace);
  auto pic = Picture(skin, box->Handle());
  HDC dc = pic->Canvas()->Handle();
  HGDIOBJ old = SelectObject(dc, box->FontHandle());
  SIZE zero;
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  SelectObject(dc, old);
  int t = zero.cy / 2 - 1;
  COLORREF shadow = Named(kButtonShadow), face = Named(kButtonFace);
  EXPECT_EQ(PixelAt(*pic, 100, t), shadow);
  EXPECT_EQ(PixelAt(*pic, 100, t - 1), RGB(255, 255, 255));  // nothing above the line
  EXPECT_EQ(PixelAt(*pic, 1, 50), shadow);
  EXPECT_EQ(PixelAt(*pic, 148, 50), shadow);
  EXPECT_EQ(PixelAt(*pic, 100, 98), shadow);
  EXPECT_EQ(PixelAt(*pic, 0, 50), face);  // the control's own frame line is painted over
  EXPECT_EQ(PixelAt(*pic, 149, 50), face);
  EXPECT_EQ(PixelAt(*pic, 9, 0), face);  // the caption's background cell
  auto ink = InkColumns(*pic, 0, zero.cy, 9, 60, {face, shadow});
  EXPECT_GE(ink.first, 9);

  // An empty caption still gets the whole frame.
  box->SetCaption("");
  pic = Picture(skin, box->Handle());
  EXPECT_EQ(PixelAt(*pic, 20, t), shadow);
  EXPECT_EQ(PixelAt(*pic, 9, t), shadow);
}

TEST_F(GroupBoxTest, PaintedOverTheControlsOwnPaintingAndGivenBack) {
  auto* box = Make<TGroupBox>(nullptr, 10, 10, 150, 100);
  box->SetColor(clYellow);
  TWndMethod own = box->WindowProc;
  auto* skin = new TSkinGroupBox(box);
  skin->SkinControl(&Host, Data.get(), &FormCanvas, true);
  TBitmap into(150, 100);
  SendMessageA(box->Handle(), WM_PAINT, WPARAM(into.Canvas()->Handle()), 0);
  EXPECT_EQ(PixelAt(into, 1, 50), Named(kButtonShadow));
  int before = GdiObjectCount();
  for (int i = 0; i < 100; ++i) skin->PaintFrame(nullptr);
  EXPECT_EQ(GdiObjectCount(), before);
  Host.FreeControls();
  EXPECT_EQ(box->Color(), clYellow);
  EXPECT_TRUE(box->WindowProc == own);
}

// ---- Panels --------------------------------------------------------------------------------------

class BoxTest : public SkinControlTest {};

TEST_F(BoxTest, TakesTheFaceColourOnlyWithTheFlagAndGivesItBack) {
  auto* taking = Make<TPanel>(nullptr, 0, 0, 50, 50);
  taking->SetColor(clAqua);
  TWndMethod own = taking->WindowProc;
  auto* box = new TSkinBox(taking);
  box->SkinControl(&Host, Data.get(), &FormCanvas, true);
  EXPECT_EQ(taking->Color(), Data->ButtonFace);
  EXPECT_TRUE(taking->WindowProc == own);  // the message method is not taken
  EXPECT_EQ(box->FSkinState, scsCreated);
  EXPECT_TRUE(Host.Lists(box));
  // Run again, the first saved colour stays the one to give back.
  box->SkinControl(&Host, Data.get(), &FormCanvas, true);
  Data->ButtonFace = RGB(1, 2, 3);
  box->Refresh();
  EXPECT_EQ(taking->Color(), RGB(1, 2, 3));
  box->Unskin();
  EXPECT_EQ(taking->Color(), clAqua);
  EXPECT_EQ(box->FSkinState, scsGivenBack);

  auto* keeping = Make<TPanel>(nullptr, 60, 0, 50, 50);
  keeping->SetColor(clAqua);
  auto* plain = new TSkinBox(keeping);
  plain->SkinControl(&Host, Data.get(), &FormCanvas, false);
  plain->Refresh();
  EXPECT_EQ(keeping->Color(), clAqua);
  plain->Unskin();
  EXPECT_EQ(keeping->Color(), clAqua);
  EXPECT_EQ(plain->FSkinState, scsGivenBack);

  // Freed with its panel, it leaves the form's list and restores no colour.
  int listed = Host.FControls.Count();
  delete keeping;
  EXPECT_EQ(Host.FControls.Count(), listed - 1);
}

}  // namespace
