// The skinned form's frame on the screen and its window region, read back pixel by pixel against
// the solid-colour test skin.
#include "RezIderFormTesting.h"

using namespace formtest;
using namespace testskin;

namespace {

class Paint : public FormTest {
 protected:
  // A skinned, activated and painted window, active or not.
  HWND Painted(bool Active = true, const char* Title = "Skinned",
               DWORD Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
    HWND w = Window(Title, Style);
    FForm = Skin(w);
    SendMessageA(w, WM_NCACTIVATE, Active, 0);
    return w;
  }
  bool InRegion(HWND w, int x, int y) {
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    const bool set = GetWindowRgn(w, r) != ERROR;
    const bool in = set && PtInRegion(r, x, y);
    DeleteObject(r);
    return in;
  }
  // Something else than the skin on the left edge: only a paint of the frame would cover it.
  void PaintLeftEdgeGreen(HWND w) {
    HDC dc = GetWindowDC(w);
    HBRUSH b = CreateSolidBrush(RGB(0, 255, 0));
    RECT r{0, 10, kLeft, WindowSize(w).cy - 10};
    FillRect(dc, &r, b);
    DeleteObject(b);
    ReleaseDC(w, dc);
  }
  TWinSysButton* Button(int Action) {
    for (auto& b : FForm->FSysButtons)
      if (b->FVisible && b->FButtonData->Action == Action) return b.get();
    return nullptr;
  }
  TRezIderFormImpl* FForm = nullptr;
};

TEST_F(Paint, EdgesAndCaptionStripShowTheActiveFramesOfTheirPictures) {
  HWND w = Painted();
  const SIZE s = WindowSize(w);
  EXPECT_EQ(WindowPixel(w, 1, s.cy / 2), Colour(tpLeft, 1));
  EXPECT_EQ(WindowPixel(w, s.cx - 2, s.cy / 2), Colour(tpRight, 1));
  EXPECT_EQ(WindowPixel(w, s.cx / 2, s.cy - 2), Colour(tpBottom, 1));
  EXPECT_EQ(WindowPixel(w, s.cx / 2, 3), Colour(tpTop, 1));
  EXPECT_EQ(FForm->FFrameWidth, s.cx);
  EXPECT_EQ(FForm->FFrameHeight, s.cy);
}

TEST_F(Paint, AnInactiveWindowShowsTheSecondFramesAndTheInactiveButtonLook) {
  HWND w = Painted(false);
  const SIZE s = WindowSize(w);
  EXPECT_EQ(WindowPixel(w, 1, s.cy / 2), Colour(tpLeft, 2));
  EXPECT_EQ(WindowPixel(w, s.cx / 2, s.cy - 2), Colour(tpBottom, 2));
  EXPECT_EQ(WindowPixel(w, s.cx / 2, 3), Colour(tpTop, 2));
  EXPECT_EQ(WindowPixel(w, s.cx - 5, 2), Colour(tpClose, 4));
}

TEST_F(Paint, CaptionButtonsArePlacedByTheirAlignmentAndVisibility) {
  HWND w = Painted();
  const SIZE s = WindowSize(w);
  TWinSysButton* close = Button(0);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->FRect.left, s.cx - 8);
  EXPECT_EQ(close->FRect.right, s.cx - 8 + 6);
  EXPECT_EQ(WindowPixel(w, s.cx - 5, 2), Colour(tpClose, 1));
  // The maximise definition shows, the restore one (for a maximised window) does not.
  int maximise = 0;
  for (auto& b : FForm->FSysButtons)
    if (b->FButtonData->Action == 1 && b->FVisible) ++maximise;
  EXPECT_EQ(maximise, 1);
  EXPECT_EQ(WindowPixel(w, s.cx - 12, 2), Colour(tpMaximize, 1));
  EXPECT_EQ(WindowPixel(w, s.cx - 19, 2), Colour(tpMinimize, 1));
  // Help has visibility 5: never.
  for (auto& b : FForm->FSysButtons)
    if (b->FButtonData->Action == 4) {
      EXPECT_FALSE(b->FVisible);
    }
  // The rightmost left edge among the right-aligned buttons.
  EXPECT_EQ(FForm->FRightButtonLimit, s.cx - 8);
}

TEST_F(Paint, TheCaptionTextStartsAtTheTextShiftAndIsClippedBeforeTheRightMargin) {
  HWND w = Painted(true, "A caption far too long for the strip of this window, it goes on and on and on");
  const SIZE s = WindowSize(w);
  EXPECT_EQ(FForm->FCaptionTextRect.left, kLeft + FData->Title->LeftWidth);
  EXPECT_EQ(FForm->FCaptionTextRect.right, s.cx - kRight - FData->Title->RightWidth);
  // Behind the text, the caption's own background picture.
  EXPECT_EQ(WindowPixel(w, FForm->FCaptionTextRect.left + FData->Title->TXTBackleft, 4), Colour(tpTitle, 1));
}

TEST_F(Paint, CaptionTextAlignment1CentresIt2PutsItRightAndRightToLeftAlwaysDrawsItRight) {
  const TDataSkinTitle& title = *FData->Title;
  struct {
    int alignment;
    bool rightToLeft;
    int firstInk = -1;
  } cases[] = {{1, false}, {2, false}, {0, true}};
  SIZE text{}, blank{};
  for (auto& c : cases) {
    FData->Title->TextAlignment = c.alignment;
    HWND w = Window("WWW");
    if (c.rightToLeft) SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    FForm = Skin(w);
    SendMessageA(w, WM_NCACTIVATE, TRUE, 0);
    // The text is measured with three leading blanks, plus the pieces of the caption background.
    HDC dc = GetWindowDC(w);
    HGDIOBJ old = SelectObject(dc, FForm->FCaptionFont->Handle());
    GetTextExtentPoint32A(dc, "   WWW", 6, &text);
    GetTextExtentPoint32A(dc, " ", 1, &blank);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    const int tw = text.cx + title.TXTBackleft + title.TXTBackRight;
    const int rw = WindowSize(w).cx - kLeft - kRight;
    const int left = kLeft + (c.alignment == 1 ? (rw - tw) / 2 : rw - title.RightWidth - tw);
    EXPECT_EQ(FForm->FCaptionTextRect.left, left) << c.alignment << c.rightToLeft;
    for (int x = FForm->FCaptionTextRect.left; c.firstInk < 0 && x < FForm->FCaptionTextRect.right; ++x)
      for (int y = 0; y < kTop; ++y)
        if (WindowPixel(w, x, y) == NamedColour("TitleTextActive")) c.firstInk = x;
  }
  // Drawn with one blank fewer than measured: flush right, the text starts one blank further in.
  ASSERT_GE(cases[1].firstInk, 0);
  EXPECT_EQ(cases[2].firstInk - cases[1].firstInk, blank.cx);
}

TEST_F(Paint, TheCaptionTextIsDrawnInTheActiveTitleColour) {
  HWND w = Painted(true, "WWWW");
  const RECT t = FForm->FCaptionTextRect;
  int hits = 0;
  for (int y = 0; y < kTop; ++y)
    for (int x = t.left; x < t.right; ++x) hits += WindowPixel(w, x, y) == NamedColour("TitleTextActive");
  EXPECT_GT(hits, 0);
}

TEST_F(Paint, TheRegionLeavesOutTheKeyColouredCornersOfTheEdges) {
  HWND w = Painted();
  const SIZE s = WindowSize(w);
  EXPECT_TRUE(FForm->FHasRegion);
  // Left edge: key and near-key pixels at the top-left of its picture.
  EXPECT_FALSE(InRegion(w, 0, 0));
  EXPECT_FALSE(InRegion(w, 1, 0));
  EXPECT_TRUE(InRegion(w, 2, 0));
  EXPECT_TRUE(InRegion(w, 0, 1));
  // Right edge.
  EXPECT_FALSE(InRegion(w, s.cx - 3, 0));
  EXPECT_FALSE(InRegion(w, s.cx - 2, 0));
  EXPECT_TRUE(InRegion(w, s.cx - 1, 0));
  // Bottom edge, from its own left end.
  EXPECT_FALSE(InRegion(w, kLeft, s.cy - kBottom));
  EXPECT_TRUE(InRegion(w, kLeft + 2, s.cy - kBottom));
  // Top edge, cut from the caption picture.
  EXPECT_FALSE(InRegion(w, kLeft, 0));
  EXPECT_TRUE(InRegion(w, s.cx / 2, 0));
  // The client area and the middle of the frame.
  EXPECT_TRUE(InRegion(w, s.cx / 2, s.cy / 2));
  EXPECT_EQ(FForm->FRegionWidth, s.cx);
  EXPECT_EQ(FForm->FRegionHeight, s.cy);
}

TEST_F(Paint, TheRegionIsRebuiltOnlyWhenTheSizeChanges) {
  HWND w = Painted();
  HRGN first = FForm->FRegion;
  FForm->UpdateRegion();
  EXPECT_EQ(FForm->FRegion, first);
  SetWindowPos(w, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_NE(FForm->FRegion, first);
  EXPECT_EQ(FForm->FRegionWidth, 260);
  EXPECT_FALSE(InRegion(w, 259 - 1, 0));
  EXPECT_TRUE(InRegion(w, 259, 0));
}

TEST_F(Paint, AfterAWidthChangeTheRegionTopIsCutFromTheCaptionOfTheNewWidth) {
  // The minimise button over the top edge's key mark: the caption keeps that pixel.
  for (auto& d : FData->SysButtons)
    if (d->Action == 2) {
      d->Align = 0;
      d->Xcoord = kLeft;
    }
  HWND w = Painted();
  EXPECT_TRUE(InRegion(w, kLeft, 0));
  // Sized without a repaint first (the caption picture is of the old width).
  SetWindowPos(w, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
  ASSERT_EQ(FForm->FRegionWidth, 260);
  EXPECT_TRUE(InRegion(w, kLeft, 0));
}

TEST_F(Paint, ClearingTheRegionEmptiesTheCaptionPictureRedrawsNothingAndLeavesOtherRegionsAlone) {
  HWND w = Painted();
  ASSERT_TRUE(FForm->FHasRegion);
  ASSERT_FALSE(FForm->FFrameBitmap->Empty());
  Pump();
  const SIZE s = WindowSize(w);
  PaintLeftEdgeGreen(w);
  FForm->ClearRegion();
  EXPECT_FALSE(FForm->FHasRegion);
  EXPECT_TRUE(FForm->FFrameBitmap->Empty());
  EXPECT_FALSE(InRegion(w, 0, 0) || InRegion(w, 50, 50));
  EXPECT_EQ(WindowPixel(w, 1, s.cy / 2), RGB(0, 255, 0));
  // A region the skin did not set is not the skin's to take off.
  SetWindowRgn(w, CreateRectRgn(0, 0, 50, 50), FALSE);
  FForm->ClearRegion();
  EXPECT_TRUE(InRegion(w, 10, 10));
}

TEST_F(Paint, EdgesWithoutTransparencyGiveAPlainRegionAndNoCache) {
  for (auto* e : {FData->Left.get(), FData->Right.get(), FData->Top.get(), FData->Bottom.get()}) e->Trans = 0;
  HWND w = Painted();
  const SIZE s = WindowSize(w);
  EXPECT_TRUE(InRegion(w, 0, 0));
  EXPECT_TRUE(InRegion(w, s.cx - 1, s.cy - 1));
  EXPECT_FALSE(InRegion(w, s.cx, s.cy));
  EXPECT_EQ(FForm->FRegionWidth, 0);
  EXPECT_EQ(FForm->FRegionHeight, 0);
}

TEST_F(Paint, AFramelessWindowPaintsNoFrameAndItsRegionIsTheWholeWindow) {
  HWND w = Window("Popup", WS_POPUP | WS_VISIBLE, 200, 100);
  TRezIderFormImpl* f = Skin(w);
  Seen().clear();
  SendMessageA(w, WM_NCPAINT, 1, 0);
  EXPECT_TRUE(Reached(w, WM_NCPAINT));
  SetWindowPos(w, nullptr, 0, 0, 180, 90, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_TRUE(f->FHasRegion);
  RECT box{};
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(w, r);
  GetRgnBox(r, &box);
  DeleteObject(r);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 180);
  EXPECT_EQ(box.bottom, 90);
}

TEST_F(Paint, SuppressedFramesSwallowThePaintMessage) {
  HWND w = Painted();
  const SIZE s = WindowSize(w);
  FData->FPaintFrames = false;
  PaintLeftEdgeGreen(w);
  Seen().clear();
  EXPECT_EQ(SendMessageA(w, WM_NCPAINT, 1, 0), 0);
  EXPECT_FALSE(Reached(w, WM_NCPAINT));
  EXPECT_EQ(WindowPixel(w, 1, s.cy / 2), RGB(0, 255, 0));
  FData->FPaintFrames = true;
  SendMessageA(w, WM_NCPAINT, 1, 0);
  EXPECT_EQ(WindowPixel(w, 1, s.cy / 2), Colour(tpLeft, 1));
}

TEST_F(Paint, TheSystemsOwnRepaintShowsTheSkin) {
  HWND w = Painted();
  const SIZE s = WindowSize(w);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(WindowPixel(w, 1, s.cy / 2), Colour(tpLeft, 1));
  EXPECT_EQ(WindowPixel(w, s.cx / 2, 3), Colour(tpTop, 1));
}

TEST_F(Paint, AfterTheFirstActivationTheWholeClientIsRepainted) {
  HWND w = Painted();
  Pump();
  const SIZE client = ClientSize(w);
  // The client moved up inside the thinner frame; its last rows were never painted before.
  EXPECT_EQ(WindowPixel(w, kLeft + client.cx / 2, kTop + client.cy - 1), NamedColour("ButtonFace"));
  EXPECT_EQ(WindowPixel(w, kLeft, kTop), NamedColour("ButtonFace"));
}

TEST_F(Paint, ARepaintLeavesNoButtonCurrent) {
  HWND w = Painted();
  TWinSysButton* close = Button(0);
  ASSERT_NE(close, nullptr);
  close->Hover();
  EXPECT_EQ(FForm->FCurrentObject, close);
  SendMessageA(w, WM_NCPAINT, 1, 0);
  EXPECT_EQ(FForm->FCurrentObject, nullptr);
}

TEST_F(Paint, TheMdiClientOfAFrameIsFoundAndHooked) {
  HWND frame = Window("Frame");
  CLIENTCREATESTRUCT ccs{nullptr, 1000};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, frame,
                                nullptr, nullptr, &ccs);
  ASSERT_TRUE(client);
  const LONG_PTR own = Proc(client);
  TRezIderFormImpl* f = Skin(frame);
  EXPECT_EQ(f->FMdiKind, mkFrame);
  EXPECT_EQ(f->FClientHandle, client);
  EXPECT_EQ(Proc(client), reinterpret_cast<LONG_PTR>(f->FClientInstance));
  EXPECT_FALSE(f->IsMdiChildMaximized());
  Unskin(f);
  EXPECT_EQ(Proc(client), own);
}

}  // namespace
