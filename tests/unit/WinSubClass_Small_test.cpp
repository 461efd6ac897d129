// The small skinned controls on real system windows: check and radio frames per state and where
// the box sits, the track bar's custom-drawn thumb, the up-down buttons, and the progress bar's
// filled part, checked by pixel against the solid-colour test skin.
#include <gtest/gtest.h>

#include "GraphicsHelpers.h"
#include "WinSubClassTesting.h"
#include "skin/RezIderForm.h"

using namespace ctltest;
using namespace testskin;

namespace {

TEST(CheckFrames, FollowTheStripLengthAndTheState) {
  // Twelve-frame check strip and eight-frame radio strip.
  EXPECT_EQ(CheckFrame(false, 12, false, false, false), 1);
  EXPECT_EQ(CheckFrame(false, 12, true, false, false), 5);
  EXPECT_EQ(CheckFrame(false, 12, false, true, false), 4);
  EXPECT_EQ(CheckFrame(false, 12, true, true, false), 8);
  EXPECT_EQ(CheckFrame(false, 12, false, false, true), 9);
  EXPECT_EQ(CheckFrame(false, 12, true, true, true), 12);
  EXPECT_EQ(CheckFrame(true, 8, true, false, false), 5);
  EXPECT_EQ(CheckFrame(true, 8, false, true, false), 4);
  EXPECT_EQ(CheckFrame(true, 8, true, true, false), 8);
  // Other lengths: four states, indeterminate always the last.
  EXPECT_EQ(CheckFrame(false, 4, true, false, false), 2);
  EXPECT_EQ(CheckFrame(false, 4, false, true, false), 3);
  EXPECT_EQ(CheckFrame(false, 4, false, false, true), 4);
  EXPECT_EQ(CheckFrame(false, 4, false, true, true), 4);
  EXPECT_EQ(CheckFrame(true, 4, true, true, false), 4);
  EXPECT_EQ(CheckFrame(true, 12, true, false, false), 2);
  EXPECT_EQ(CheckFrame(true, 8, false, false, true), 1);  // a radio button has no third state
}

class CheckTest : public SkinControlTest {
 protected:
  // The middle of the 13-pixel box at (x, 3) of a 20-pixel high control.
  COLORREF Box(TSkinControl* skin, HWND wnd, int x) { return PixelAt(*Picture(skin, wnd), x + 6, 3 + 6); }
};

TEST_F(CheckTest, CheckBoxShowsTheFrameOfItsStateTwoPixelsIn) {
  HWND w = Child("BUTTON", BS_AUTO3STATE, 10, 10, 120, 20, "Check");
  auto* skin = SkinBare<TSkinCheckBox>(w);
  EXPECT_EQ(Box(skin, w, 2), Frame(tpCheck, 1));
  auto pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 1, 9), Named(kButtonFace));  // the background beside the box
  EXPECT_EQ(PixelAt(*pic, 2, 3), Frame(tpCheck, 1));
  SendMessageA(w, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(Box(skin, w, 2), Frame(tpCheck, 5));
  SendMessageA(w, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(Box(skin, w, 2), Frame(tpCheck, 9));
  EnableWindow(w, FALSE);
  EXPECT_EQ(Box(skin, w, 2), Frame(tpCheck, 12));
  SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_EQ(Box(skin, w, 2), Frame(tpCheck, 4));
  EnableWindow(w, TRUE);

  // The change is shown on the screen at once, over the control's own painting.
  SendMessageA(w, BM_SETCHECK, BST_CHECKED, 0);
  HDC dc = GetWindowDC(w);
  COLORREF shown = GetPixel(dc, 2 + 6, 3 + 6);
  ReleaseDC(w, dc);
  EXPECT_EQ(shown, Frame(tpCheck, 5));
}

TEST_F(CheckTest, TextOnTheLeftPutsTheBoxAtTheRight) {
  HWND w = Child("BUTTON", BS_AUTOCHECKBOX | BS_LEFTTEXT, 10, 10, 120, 20, "Left");
  auto* skin = SkinBare<TSkinCheckBox>(w);
  EXPECT_EQ(Box(skin, w, 120 - 13), Frame(tpCheck, 1));
  auto pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 119, 3), Frame(tpCheck, 1));
  EXPECT_EQ(PixelAt(*pic, 120 - 14, 9), Named(kButtonFace));
}

TEST_F(CheckTest, RadioButtonSitsAtTheLeftEdge) {
  HWND w = Child("BUTTON", BS_AUTORADIOBUTTON, 10, 10, 120, 20, "Radio");
  auto* skin = SkinBare<TSkinRadioButton>(w);
  EXPECT_EQ(Box(skin, w, 0), Frame(tpRadio, 1));
  // The 13-pixel circle takes columns 0 to 12 (a check box's would take 2 to 14).
  auto pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 0, 9), Frame(tpRadio, 1));
  EXPECT_EQ(PixelAt(*pic, 13, 9), Named(kButtonFace));
  SendMessageA(w, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(Box(skin, w, 0), Frame(tpRadio, 5));
  EnableWindow(w, FALSE);
  EXPECT_EQ(Box(skin, w, 0), Frame(tpRadio, 8));
  // Without a radio strip the control's own painting stays.
  Data->Buttons->RadioImage->SetSize(0, 0);
  TBitmap blank(120, 20);
  blank.Canvas()->Brush()->SetColor(clWhite);
  blank.Canvas()->FillRect(RECT{0, 0, 120, 20});
  skin->PaintFrame(blank.Canvas()->Handle());
  EXPECT_EQ(PixelAt(blank, 6, 9), RGB(255, 255, 255));
}

// ---- Track bars ----------------------------------------------------------------------------------

class TrackTest : public SkinControlTest {
 protected:
  LRESULT Notify(HWND w, DWORD stage, DWORD_PTR item, HDC dc, HWND from = nullptr) {
    NMCUSTOMDRAW nm{};
    nm.hdr.hwndFrom = from ? from : w;
    nm.hdr.code = UINT(NM_CUSTOMDRAW);
    nm.dwDrawStage = stage;
    nm.dwItemSpec = item;
    nm.hdc = dc;
    return SendMessageA(w, WM_NOTIFY, 0, LPARAM(&nm));
  }
  RECT Thumb(HWND w) {
    RECT t{};
    SendMessageA(w, TBM_GETTHUMBRECT, 0, LPARAM(&t));
    return t;
  }
};

TEST_F(TrackTest, ThumbIsDrawnFromTheSkinAndTicsAndChannelStayTheControls) {
  HWND w = Child(TRACKBAR_CLASSA, TBS_HORZ, 10, 10, 150, 30);
  SkinBare<TSkinTrackBar>(w);
  TBitmap into(150, 30);
  HDC dc = into.Canvas()->Handle();
  EXPECT_EQ(Notify(w, CDDS_PREPAINT, 0, dc), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(Notify(w, CDDS_ITEMPREPAINT, TBCD_CHANNEL, dc), CDRF_DODEFAULT);
  EXPECT_EQ(Notify(w, CDDS_ITEMPREPAINT, TBCD_TICS, dc), CDRF_DODEFAULT);
  EXPECT_EQ(Notify(w, CDDS_ITEMPREPAINT, TBCD_THUMB, dc), CDRF_SKIPDEFAULT);
  RECT t = Thumb(w);
  ASSERT_LT(t.left, t.right);
  EXPECT_EQ(PixelAt(into, (t.left + t.right) / 2, (t.top + t.bottom) / 2), Frame(tpTrackHorz, 2));
  EXPECT_EQ(SendMessageA(w, WM_ERASEBKGND, WPARAM(dc), 0), 1);
}

TEST_F(TrackTest, CustomDrawOfAnotherWindowIsLeftToTheTrackBar) {
  HWND w = Child(TRACKBAR_CLASSA, TBS_HORZ, 10, 10, 150, 30);
  HWND tip = Child("STATIC", 0, 10, 50, 40, 20);
  SkinBare<TSkinTrackBar>(w);
  TBitmap into(150, 30);
  HDC dc = into.Canvas()->Handle();
  into.Canvas()->Brush()->SetColor(clWhite);
  into.Canvas()->FillRect(RECT{0, 0, 150, 30});
  EXPECT_NE(Notify(w, CDDS_PREPAINT, 0, dc, tip), CDRF_NOTIFYITEMDRAW);
  EXPECT_NE(Notify(w, CDDS_ITEMPREPAINT, TBCD_THUMB, dc, tip), CDRF_SKIPDEFAULT);
  RECT t = Thumb(w);
  EXPECT_EQ(PixelAt(into, (t.left + t.right) / 2, (t.top + t.bottom) / 2), RGB(255, 255, 255));
}

TEST_F(TrackTest, VerticalWithoutItsOwnThumbTakesTheHorizontalOneThenAPlainRectangle) {
  HWND w = Child(TRACKBAR_CLASSA, TBS_VERT, 10, 10, 30, 150);
  SkinBare<TSkinTrackBar>(w);
  TBitmap into(30, 150);
  HDC dc = into.Canvas()->Handle();
  RECT t = Thumb(w);
  POINT mid{(t.left + t.right) / 2, (t.top + t.bottom) / 2};
  Notify(w, CDDS_ITEMPREPAINT, TBCD_THUMB, dc);
  EXPECT_EQ(PixelAt(into, mid.x, mid.y), Frame(tpTrackVert, 2));
  Data->TrackbarThumbVert.reset();
  Notify(w, CDDS_ITEMPREPAINT, TBCD_THUMB, dc);
  EXPECT_EQ(PixelAt(into, mid.x, mid.y), Frame(tpTrackHorz, 2));
  Data->TrackbarThumbHorz.reset();
  into.Canvas()->Brush()->SetColor(clWhite);
  into.Canvas()->FillRect(RECT{0, 0, 30, 150});
  Notify(w, CDDS_ITEMPREPAINT, TBCD_THUMB, dc);
  EXPECT_EQ(PixelAt(into, t.left, mid.y), Named(kButtonShadow));
  EXPECT_EQ(PixelAt(into, mid.x, t.top), Named(kButtonShadow));
  EXPECT_FALSE(FormCanvas.HandleAllocated());
}

// ---- Up-down controls ----------------------------------------------------------------------------

// Wine's up-down without a buddy keeps the system's width of 16 pixels; ours asks for it.
class UpDownTest : public SkinControlTest {
 protected:
  HWND UpDown() { return Child(UPDOWN_CLASSA, 0, 200, 10, 16, 40); }
};

TEST_F(UpDownTest, ButtonsShowTheirFramesAndGlyphs) {
  HWND w = UpDown();
  auto* skin = SkinBare<TSkinUpDown>(w);
  SetCursorPos(0, 0);
  auto pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 1, 1), Frame(tpUpDownVert, 1));
  EXPECT_EQ(PixelAt(*pic, 1, 38), Frame(tpUpDownVert, 5));
  // The glyph sits in the middle of its button, from the glyph strip's frame of the same number.
  EXPECT_EQ(PixelAt(*pic, 7, 10), Frame(tpUpDownVertGlyphs, 1));
  EXPECT_EQ(PixelAt(*pic, 7, 30), Frame(tpUpDownVertGlyphs, 5));

  // Pressed under the pointer: only the button under it shows the pressed frame.
  RECT wr;
  GetWindowRect(w, &wr);
  SetCursorPos(wr.left + 5, wr.top + 30);
  skin->FMouseState |= msPressed;
  pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 1, 1), Frame(tpUpDownVert, 1));
  EXPECT_EQ(PixelAt(*pic, 1, 38), Frame(tpUpDownVert, 6));
  // Disabled shows state 3 on both, even while pressed.
  EnableWindow(w, FALSE);
  pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 1, 1), Frame(tpUpDownVert, 3));
  EXPECT_EQ(PixelAt(*pic, 1, 38), Frame(tpUpDownVert, 7));
  SetCursorPos(0, 0);
}

TEST_F(UpDownTest, InsideAnEditItDrawsOnePixelInAndSideBySideWhenHorizontal) {
  HWND w = UpDown();
  auto* skin = SkinBare<TSkinUpDown>(w);
  SetCursorPos(0, 0);
  skin->FInEdit = true;
  TBitmap into(16, 40);
  into.Canvas()->Brush()->SetColor(clWhite);
  into.Canvas()->FillRect(RECT{0, 0, 16, 40});
  skin->PaintFrame(into.Canvas()->Handle());
  EXPECT_EQ(PixelAt(into, 0, 0), Named(kButtonFace));
  EXPECT_EQ(PixelAt(into, 1, 1), Frame(tpUpDownVert, 1));
  EXPECT_EQ(PixelAt(into, 15, 20), RGB(255, 255, 255));  // a picture one pixel smaller
  EXPECT_EQ(PixelAt(into, 14, 20), Frame(tpUpDownVert, 5));

  skin->FInEdit = false;
  skin->FHorizontal = 1;
  auto pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 1, 1), Frame(tpUpDownHorz, 1));
  EXPECT_EQ(PixelAt(*pic, 14, 1), Frame(tpUpDownHorz, 5));
}

TEST_F(UpDownTest, WithoutTheElementButtonsArePlainWithDrawnArrows) {
  HWND w = UpDown();
  auto* skin = SkinBare<TSkinUpDown>(w);
  SetCursorPos(0, 0);
  Data->UpDownVert.reset();
  auto pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 0, 0), Named(kButtonDkShadow));  // the frame line
  EXPECT_EQ(PixelAt(*pic, 2, 2), Named(kButtonFace));
  // The up arrow's tip: button 0 is (0, 0, 16, 20), point (8, 8).
  EXPECT_EQ(PixelAt(*pic, 8, 8), Named(kButtonDkShadow));
  EXPECT_EQ(PixelAt(*pic, 8, 10), Named(kButtonDkShadow));
  EXPECT_EQ(PixelAt(*pic, 8, 30 - 2 + 3), Named(kButtonDkShadow));  // the down arrow's tip
}

TEST(ArrowGlyphs, EachKindStrokesItsShape) {
  auto draw = [](int kind) {
    auto b = drawtest::Solid(20, 20, RGB(255, 255, 255));
    b->Canvas()->Pen()->SetColor(clBlack);
    DrawArrowGlyph(b->Canvas(), 10, 10, kind);
    return b;
  };
  auto up = draw(0);
  EXPECT_EQ(PixelAt(*up, 10, 10), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(*up, 13, 13), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(*up, 14, 14), RGB(255, 255, 255));  // end points are not drawn
  auto down = draw(1);
  EXPECT_EQ(PixelAt(*down, 10, 13), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(*down, 13, 10), RGB(0, 0, 0));
  auto left = draw(2);
  EXPECT_EQ(PixelAt(*left, 9, 10), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(*left, 11, 10), RGB(0, 0, 0));
  auto right = draw(3);
  EXPECT_EQ(PixelAt(*right, 11, 10), RGB(0, 0, 0));
  auto none = draw(7);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(PixelAt(*none, x, y), RGB(255, 255, 255));
}

// ---- Progress bars -------------------------------------------------------------------------------

class ProgressTest : public SkinControlTest {
 protected:
  HWND Bar(int low, int high, int pos) {
    HWND w = Child(PROGRESS_CLASSA, 0, 10, 100, 200, 20);
    SendMessageA(w, PBM_SETRANGE32, WPARAM(low), LPARAM(high));
    SendMessageA(w, PBM_SETPOS, WPARAM(pos), 0);
    return w;
  }
};

TEST_F(ProgressTest, FilledPartFollowsThePositionOfTheUpperLimit) {
  HWND half = Bar(0, 100, 50);
  auto* skin = SkinBare<TSkinProgress>(half);
  auto pic = Picture(skin, half);
  EXPECT_EQ(PixelAt(*pic, 99, 10), Frame(tpProgress, 2));
  EXPECT_EQ(PixelAt(*pic, 100, 10), Frame(tpProgress, 1));
  EXPECT_EQ(PixelAt(*pic, 199, 10), Frame(tpProgress, 1));

  HWND upper = Bar(50, 100, 75);  // 75 of 100: the lower limit is not read
  auto* upperSkin = SkinBare<TSkinProgress>(upper);
  pic = Picture(upperSkin, upper);
  EXPECT_EQ(PixelAt(*pic, 149, 10), Frame(tpProgress, 2));
  EXPECT_EQ(PixelAt(*pic, 150, 10), Frame(tpProgress, 1));

  SendMessageA(upper, PBM_SETPOS, 50, 0);
  SendMessageA(upper, PBM_SETRANGE32, 50, 0);  // an upper limit of 0 shows the empty track
  pic = Picture(upperSkin, upper);
  EXPECT_EQ(PixelAt(*pic, 5, 10), Frame(tpProgress, 1));
}

TEST_F(ProgressTest, WithoutTheSharedPictureNothingIsDrawn) {
  HWND w = Bar(0, 100, 50);
  auto* skin = SkinBare<TSkinProgress>(w);
  TBitmap* shared = SharedBitmap;
  SharedBitmap = nullptr;  // as after the engine's finalisation
  auto pic = Picture(skin, w);
  SharedBitmap = shared;
  EXPECT_EQ(PixelAt(*pic, 5, 10), RGB(255, 255, 255));
}

TEST_F(ProgressTest, ChunksRepeatFromTheLeftMarginAsWideAsThePosition) {
  Data->Progress->Style = 1;
  HWND w = Bar(0, 100, 50);
  auto* skin = SkinBare<TSkinProgress>(w);
  auto pic = Picture(skin, w);
  int top = (20 - 4) / 2;
  EXPECT_EQ(PixelAt(*pic, 1, top + 1), Frame(tpProgressChunk, 1));
  EXPECT_EQ(PixelAt(*pic, 100, top + 1), Frame(tpProgressChunk, 1));
  EXPECT_NE(PixelAt(*pic, 102, top + 1), Frame(tpProgressChunk, 1));
  EXPECT_NE(PixelAt(*pic, 50, top - 1), Frame(tpProgressChunk, 1));
  int before = GdiObjectCount();
  for (int i = 0; i < 50; ++i) skin->PaintFrame(nullptr);
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
