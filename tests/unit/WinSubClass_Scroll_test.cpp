// Skinned scroll bars on real windows: where the bars lie, which frames they show for each pressed
// part, the thumb's size and place, the own thumb drag read back from the window's scroll position,
// list view headers, size grips and the toolkit's scroll-bar control, all against the solid-colour
// test skin; and everything given back.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "GraphicsHelpers.h"
#include "WinSubClassTesting.h"
#include "skin/WinSubClassScroll.h"
#include "tk/ComCtrls.h"
#include "tk/StdCtrls.h"

using namespace ctltest;
using namespace testskin;

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

int B() { return GetSystemMetrics(SM_CXHSCROLL); }

// ---- Geometry ------------------------------------------------------------------------------------

TEST(ScrollGeometry, BarsSitInsideTheBorderAtTheSideTheStyleSays) {
  // A 100 x 80 window with a 2-pixel border and 16-pixel bars.
  TScrollBarRects r{};
  LayoutScrollBars(100, 80, RECT{0, 0, 80, 60}, 16, WS_VSCROLL | WS_HSCROLL, 0, r);
  EXPECT_EQ(r.Horz, (RECT{2, 62, 82, 78}));
  EXPECT_EQ(r.Vert, (RECT{82, 2, 98, 62}));
  EXPECT_EQ(r.SizeBox, (RECT{82, 62, 98, 78}));
  LayoutScrollBars(100, 80, RECT{0, 0, 80, 60}, 16, WS_VSCROLL | WS_HSCROLL, WS_EX_LEFTSCROLLBAR, r);
  EXPECT_EQ(r.Horz, (RECT{18, 62, 98, 78}));
  EXPECT_EQ(r.Vert, (RECT{2, 2, 18, 62}));
  EXPECT_EQ(r.SizeBox, (RECT{2, 62, 18, 78}));

  // One bar writes only its own rectangle.
  TScrollBarRects one{RECT{1, 1, 1, 1}, RECT{}, RECT{5, 5, 5, 5}};
  LayoutScrollBars(100, 80, RECT{0, 0, 80, 76}, 16, WS_VSCROLL, 0, one);
  EXPECT_EQ(one.Vert, (RECT{82, 2, 98, 78}));
  EXPECT_EQ(one.Horz, (RECT{1, 1, 1, 1}));
  EXPECT_EQ(one.SizeBox, (RECT{5, 5, 5, 5}));
  LayoutScrollBars(100, 80, RECT{0, 0, 80, 76}, 16, WS_VSCROLL, WS_EX_LEFTSCROLLBAR, one);
  EXPECT_EQ(one.Vert, (RECT{2, 2, 18, 78}));
  LayoutScrollBars(100, 80, RECT{0, 0, 96, 60}, 16, WS_HSCROLL, WS_EX_LEFTSCROLLBAR, one);
  EXPECT_EQ(one.Horz, (RECT{2, 62, 98, 78}));
}

TEST(ScrollGeometry, ThumbFollowsPageAndPosition) {
  TScrollGeometry g;
  // Page 10 of 0..99 on a 100-pixel track (arrows of 17 on a 134-pixel bar).
  ASSERT_TRUE(ComputeThumb(134, 17, 8, 17, 0, 10, 45, 99, g));
  EXPECT_EQ(g.TrackLength, 100);
  EXPECT_EQ(g.ThumbSize, 10);
  EXPECT_EQ(g.ThumbOffset, MulDiv(45, 90, 89));
  EXPECT_EQ(g.ThumbOffset, 46);
  ASSERT_TRUE(ComputeThumb(134, 17, 8, 17, 0, 10, 99, 99, g));
  EXPECT_EQ(g.ThumbOffset, 90);  // never past the track
  // A small page keeps the least thumb.
  ASSERT_TRUE(ComputeThumb(134, 17, 8, 17, 0, 1, 0, 99, g));
  EXPECT_EQ(g.ThumbSize, 8);
  // A page as large as the range: the whole track less one pixel, at the start.
  ASSERT_TRUE(ComputeThumb(134, 17, 8, 17, 0, 99, 0, 99, g));
  EXPECT_EQ(g.ThumbSize, 99);
  EXPECT_EQ(g.ThumbOffset, 0);
  // Without a page the thumb has the system's size; a thumb never outgrows its track.
  ASSERT_TRUE(ComputeThumb(234, 17, 8, 17, 0, 0, 50, 101, g));
  EXPECT_EQ(g.ThumbSize, 17);
  EXPECT_EQ(g.ThumbOffset, MulDiv(50, 200 - 17, 101));
  ASSERT_TRUE(ComputeThumb(40, 17, 8, 17, 0, 0, 0, 10, g));
  EXPECT_EQ(g.ThumbSize, 6);
  // An empty range keeps what was there.
  TScrollGeometry kept{17, 1, 2, 3, WS_VSCROLL};
  EXPECT_FALSE(ComputeThumb(134, 17, 8, 17, 5, 0, 5, 0, kept));
  EXPECT_EQ(kept.TrackLength, 1);
  EXPECT_EQ(kept.ThumbSize, 2);
  EXPECT_EQ(kept.ThumbOffset, 3);
}

TEST(ScrollGeometry, PartsAlongTheBar) {
  TScrollGeometry g{17, 100, 10, 46, WS_VSCROLL};
  EXPECT_EQ(ScrollHitPart(0, g), SB_LINEUP);
  EXPECT_EQ(ScrollHitPart(16, g), SB_LINEUP);
  EXPECT_EQ(ScrollHitPart(17, g), SB_PAGEUP);
  EXPECT_EQ(ScrollHitPart(62, g), SB_PAGEUP);
  EXPECT_EQ(ScrollHitPart(63, g), SB_THUMBTRACK);
  EXPECT_EQ(ScrollHitPart(72, g), SB_THUMBTRACK);
  EXPECT_EQ(ScrollHitPart(73, g), SB_PAGEDOWN);
  EXPECT_EQ(ScrollHitPart(117, g), SB_LINEDOWN);
  EXPECT_EQ(ScrollHitPart(133, g), SB_LINEDOWN);
  EXPECT_EQ(ScrollHitPart(134, g), -1);
  // A bar never measured has no parts.
  EXPECT_EQ(ScrollHitPart(0, TScrollGeometry{}), -1);
}

TEST(ScrollGeometry, DraggedThumbMeansAPositionTheWindowCanShow) {
  TScrollGeometry g{17, 100, 10, 0, WS_VSCROLL};
  SCROLLINFO page{sizeof(SCROLLINFO), 0, 0, 99, 10, 0, 0};
  int off = 50;
  EXPECT_EQ(DragPosition(off, g, page), MulDiv(50, 99, 100));
  off = 89;
  EXPECT_EQ(DragPosition(off, g, page), 88);
  // Once the computed position reaches max - page the last page shows whole.
  off = 90;
  EXPECT_EQ(DragPosition(off, g, page), 90);
  off = 400;
  EXPECT_EQ(DragPosition(off, g, page), 90);
  EXPECT_EQ(off, 100);  // the whole track, not track less thumb
  off = -30;
  EXPECT_EQ(DragPosition(off, g, page), 0);
  EXPECT_EQ(off, 0);

  SCROLLINFO none{sizeof(SCROLLINFO), 0, 10, 100, 0, 0, 0};
  off = 45;
  EXPECT_EQ(DragPosition(off, g, none), MulDiv(45, 90, 90) + 10);
  off = 400;
  EXPECT_EQ(DragPosition(off, g, none), 100);
  EXPECT_EQ(off, 90);
  // A thumb filling its track stays at the first position.
  TScrollGeometry full{17, 50, 50, 0, WS_VSCROLL};
  off = 20;
  EXPECT_EQ(DragPosition(off, full, none), 10);
}

// ---- Scroll bars of scrolling windows ------------------------------------------------------------

// Records what reaches a toolkit control's own handling after the skin's step, and the part the
// skin shows pressed at that moment.
struct TRecorder {
  TWinControl* Control = nullptr;
  TWndMethod Own;
  TSkinScrollbar* Skin = nullptr;
  struct TSeen {
    UINT Msg;
    WPARAM WParam;
    int Pressed;
  };
  std::vector<TSeen> Seen;
  void Attach(TWinControl* c) {
    Control = c;
    Own = c->WindowProc;
    c->WindowProc = MakeWndMethod<&TRecorder::Handle>(this);
  }
  void Handle(TMessage& m) {
    if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL || m.Msg == WM_NCLBUTTONDOWN)
      Seen.push_back({m.Msg, m.WParam, Skin ? Skin->FPressedPart : -1});
    Own(m);
  }
  std::vector<TSeen> Scrolls(UINT msg) const {
    std::vector<TSeen> out;
    for (const TSeen& s : Seen)
      if (s.Msg == msg) out.push_back(s);
    return out;
  }
};

class ScrollTest : public SkinControlTest {
 protected:
  // Outlives the controls it records, which are freed after the test body.
  TRecorder Rec;
  void TearDown() override {
    Rec.Skin = nullptr;
    SkinControlTest::TearDown();
  }
  TListBox* List(int rows) {
    auto* list = Make<TListBox>(nullptr, 10, 10, 120, 150);
    for (int i = 0; i < rows; ++i) list->Items().Add("Row " + std::to_string(i));
    list->HandleNeeded();
    return list;
  }
  template <class T = TSkinScrollbar>
  T* SkinScrolling(TWinControl* c, bool drag) {
    auto* skin = new T(c);
    skin->SkinScrollingControl(c, Data.get(), &FormCanvas, &Host, drag);
    return skin;
  }
  // The vertical bar's rectangle in window coordinates, from the window's own sizes.
  RECT VertBar(HWND w) {
    RECT wr, cr;
    GetWindowRect(w, &wr);
    GetClientRect(w, &cr);
    int width = wr.right - wr.left, height = wr.bottom - wr.top;
    int e = (width - cr.right - B()) / 2;
    return RECT{width - e - B(), e, width - e, height - e};
  }
  static COLORREF At(TBitmap& pic, const RECT& bar, int along) {
    return PixelAt(pic, (bar.left + bar.right) / 2, bar.top + along);
  }
};

TEST_F(ScrollTest, ListBoxBarShowsArrowsTrackAndThumbOfTheSkin) {
  TListBox* list = List(100);
  auto* skin = SkinScrolling(list, true);
  HWND w = list->Handle();
  EXPECT_TRUE(Host.Lists(skin));
  EXPECT_EQ(skin->FHorzInfo.cbSize, 28u);
  EXPECT_EQ(skin->FVertInfo.cbSize, 28u);
  EXPECT_EQ(skin->FSkinState, scsCreated);
  auto pic = Picture(skin, w);
  RECT bar = VertBar(w);
  EXPECT_EQ(skin->FVertRect, bar);
  const int n = bar.bottom - bar.top;
  EXPECT_EQ(At(*pic, bar, 1), Frame(tpScrollbar, 9));
  EXPECT_EQ(At(*pic, bar, n - 2), Frame(tpScrollbar, 13));
  // The track frame 1 below the thumb, the thumb frame 1 at its start.
  const TScrollGeometry& g = skin->FVertGeometry;
  EXPECT_EQ(g.ArrowSize, B());
  EXPECT_EQ(g.TrackLength, n - 2 * B());
  EXPECT_EQ(g.ThumbOffset, 0);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  EXPECT_EQ(g.ThumbSize, std::max(MulDiv(int(si.nPage), n - 2 * B(), si.nMax - si.nMin), MinimumThumb(B())));
  EXPECT_EQ(At(*pic, bar, B() + g.ThumbSize / 2), Frame(tpVertThumb, 1));
  EXPECT_EQ(At(*pic, bar, B() + g.ThumbSize + 3), Frame(tpVertScroll, 1));
  // Left of the bar is the window's own.
  EXPECT_NE(PixelAt(*pic, bar.left - 3, bar.top + 2), Frame(tpScrollbar, 9));

  // The window's own paint ends with the skin on the screen.
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  HDC dc = GetWindowDC(w);
  COLORREF shown = GetPixel(dc, (bar.left + bar.right) / 2, bar.top + 1);
  ReleaseDC(w, dc);
  EXPECT_EQ(shown, Frame(tpScrollbar, 9));
}

TEST_F(ScrollTest, ArrowShowsPressedWhileItsLineMessagesArrive) {
  TListBox* list = List(100);
  auto* skin = SkinScrolling(list, true);
  HWND w = list->Handle();
  RECT bar = VertBar(w);
  const int n = bar.bottom - bar.top;
  SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(skin->FPressedPart, ppDownArrow);
  EXPECT_EQ(SendMessageA(w, LB_GETTOPINDEX, 0, 0), 1);  // the window scrolled itself
  EXPECT_EQ(At(*Picture(skin, w), bar, n - 2), Frame(tpScrollbar, 14));
  SendMessageA(w, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(skin->FPressedPart, ppUpArrow);
  EXPECT_EQ(At(*Picture(skin, w), bar, 1), Frame(tpScrollbar, 10));
  EXPECT_EQ(At(*Picture(skin, w), bar, n - 2), Frame(tpScrollbar, 13));
  SendMessageA(w, WM_VSCROLL, SB_ENDSCROLL, 0);
  EXPECT_EQ(skin->FPressedPart, ppNone);
  EXPECT_EQ(At(*Picture(skin, w), bar, 1), Frame(tpScrollbar, 9));
  // Thumb tracking shows the thumb pressed; a page code none.
  SendMessageA(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
  EXPECT_EQ(skin->FPressedPart, ppVertThumb);
  const TScrollGeometry& g = skin->FVertGeometry;
  EXPECT_EQ(At(*Picture(skin, w), bar, B() + g.ThumbOffset + g.ThumbSize / 2), Frame(tpVertThumb, 2));
  SendMessageA(w, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(skin->FPressedPart, ppNone);
  EXPECT_FALSE(skin->FInVScroll);
}

TEST_F(ScrollTest, ThumbOffsetFollowsTheWindowsPositionOnTheScreen) {
  TListBox* list = List(100);
  auto* skin = SkinScrolling(list, true);
  HWND w = list->Handle();
  RECT bar = VertBar(w);
  const int l = bar.bottom - bar.top - 2 * B();
  // The window scrolls itself and redraws its own bar; its paint puts ours back over it.
  SendMessageA(w, LB_SETTOPINDEX, 40, 0);
  UpdateWindow(w);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  ASSERT_EQ(si.nPos, 40);
  const TScrollGeometry& g = skin->FVertGeometry;
  EXPECT_EQ(g.ThumbOffset, std::min(MulDiv(40, l - g.ThumbSize, si.nMax - int(si.nPage)), l - g.ThumbSize));
  EXPECT_EQ(skin->FVertInfo.nPos, 40);
  EXPECT_EQ(skin->FVertInfo.nMax, si.nMax);
  HDC dc = GetWindowDC(w);
  const int x = (bar.left + bar.right) / 2, y = bar.top + B() + g.ThumbOffset;
  EXPECT_EQ(GetPixel(dc, x, y + g.ThumbSize / 2), Frame(tpVertThumb, 1));
  EXPECT_EQ(GetPixel(dc, x, y - 2), Frame(tpVertScroll, 1));
  ReleaseDC(w, dc);
}

TEST_F(ScrollTest, TreeViewBarIsSkinned) {
  auto* tree = Make<TTreeView>(nullptr, 10, 10, 150, 120);
  for (int i = 0; i < 60; ++i) tree->Items().Add(nullptr, "Node " + std::to_string(i));
  HWND w = tree->Handle();
  ASSERT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
  auto* skin = SkinScrolling(tree, true);
  auto pic = Picture(skin, w);
  RECT bar = VertBar(w);
  EXPECT_EQ(At(*pic, bar, 1), Frame(tpScrollbar, 9));
  EXPECT_EQ(At(*pic, bar, bar.bottom - bar.top - 2), Frame(tpScrollbar, 13));
  EXPECT_EQ(At(*pic, bar, B() + skin->FVertGeometry.ThumbSize / 2), Frame(tpVertThumb, 1));
}

// A bare window with both bars, painted by the system's default procedure.
HWND BothBars(HWND parent, DWORD exStyle) {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ScrollTestWindow";
    wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
    return RegisterClassA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  HWND w = CreateWindowExA(exStyle, "ScrollTestWindow", "",
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL | WS_VSCROLL, 10, 10, 160, 120,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  SetScrollInfo(w, SB_HORZ, &si, TRUE);
  return w;
}

TEST_F(ScrollTest, BothBarsAndTheSizeBoxBetweenThem) {
  HWND w = BothBars(Form->Handle(), 0);
  auto* skin = SkinBare<TSkinScrollbar>(w);
  EXPECT_TRUE(Host.Lists(skin));
  EXPECT_FALSE(skin->FDragThumb);
  auto pic = Picture(skin, w);
  const int e = 1, b = B(), W = 160, H = 120;
  EXPECT_EQ(skin->FVertRect, (RECT{W - e - b, e, W - e, H - e - b}));
  EXPECT_EQ(skin->FHorzRect, (RECT{e, H - e - b, W - e - b, H - e}));
  EXPECT_EQ(PixelAt(*pic, W - e - b / 2, H - e - b / 2), Named(kButtonFace));     // the size box
  EXPECT_EQ(PixelAt(*pic, e + 1, H - e - b / 2), Frame(tpScrollbar, 1));          // left arrow
  EXPECT_EQ(PixelAt(*pic, W - e - b - 2, H - e - b / 2), Frame(tpScrollbar, 5));  // right arrow
  EXPECT_EQ(PixelAt(*pic, e + b + 2, H - e - b / 2), Frame(tpHorzThumb, 1));
  EXPECT_EQ(PixelAt(*pic, W - e - b / 2, e + 1), Frame(tpScrollbar, 9));
  SendMessageA(w, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(skin->FPressedPart, ppRightArrow);
  EXPECT_EQ(PixelAt(*Picture(skin, w), W - e - b - 2, H - e - b / 2), Frame(tpScrollbar, 6));
  SendMessageA(w, WM_HSCROLL, SB_LINELEFT, 0);
  EXPECT_EQ(PixelAt(*Picture(skin, w), e + 1, H - e - b / 2), Frame(tpScrollbar, 2));
  DestroyWindow(w);
}

TEST_F(ScrollTest, LeftScrollBarWindowHasItsVerticalBarAtTheLeft) {
  HWND w = BothBars(Form->Handle(), WS_EX_LEFTSCROLLBAR);
  auto* skin = SkinBare<TSkinScrollbar>(w);
  auto pic = Picture(skin, w);
  const int e = 1, b = B(), H = 120;
  EXPECT_EQ(skin->FVertRect, (RECT{e, e, e + b, H - e - b}));
  EXPECT_EQ(PixelAt(*pic, e + b / 2, e + 1), Frame(tpScrollbar, 9));
  EXPECT_EQ(PixelAt(*pic, e + b / 2, H - e - b / 2), Named(kButtonFace));
  DestroyWindow(w);
}

TEST_F(ScrollTest, ShortBarSharesItsLengthBetweenTheArrows) {
  // Only the horizontal bar, 20 pixels long inside a 1-pixel border: each arrow gets 10 pixels.
  HWND w = BothBars(Form->Handle(), 0);
  ShowScrollBar(w, SB_VERT, FALSE);
  SetWindowPos(w, nullptr, 0, 0, 22, 60, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_GT(B(), 10);
  auto* skin = SkinBare<TSkinScrollbar>(w);
  auto pic = Picture(skin, w);
  RECT h = skin->FHorzRect;
  ASSERT_EQ(h, (RECT{1, 60 - 1 - B(), 21, 59}));
  const int y = (h.top + h.bottom) / 2;
  EXPECT_EQ(PixelAt(*pic, h.left + 9, y), Frame(tpScrollbar, 1));
  EXPECT_EQ(PixelAt(*pic, h.left + 10, y), Frame(tpScrollbar, 5));
  EXPECT_EQ(PixelAt(*pic, h.left, y), Frame(tpScrollbar, 1));
  EXPECT_EQ(PixelAt(*pic, h.right - 1, y), Frame(tpScrollbar, 5));
  DestroyWindow(w);
}

TEST_F(ScrollTest, WithoutTheScrollbarElementTheWindowsOwnBarsStay) {
  TListBox* list = List(100);
  auto* skin = SkinScrolling(list, true);
  HWND w = list->Handle();
  Data->ScrollbarSkin->Image->SetSize(0, 0);
  TBitmap pic(120, 150);
  pic.Canvas()->Brush()->SetColor(clWhite);
  pic.Canvas()->FillRect(RECT{0, 0, 120, 150});
  skin->PaintFrame(pic.Canvas()->Handle());
  RECT bar = VertBar(w);
  EXPECT_EQ(At(pic, bar, 1), RGB(255, 255, 255));
  // No geometry was ever measured, so a press on the bar is the window's.
  EXPECT_EQ(skin->HitPart(20, true), -1);
}

// ---- The own thumb drag ----------------------------------------------------------------------------

// Moves the pointer and posts one mouse message per step, each after the previous one was taken,
// so the drag loop sees the pointer where the step put it; the last step releases the button.
class TMouseScript {
 public:
  TMouseScript(HWND target, std::vector<POINT> points) : FTarget(target), FPoints(std::move(points)) {
    static bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "MouseScriptWindow";
      return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    FWnd = CreateWindowExA(0, "MouseScriptWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(FWnd, GWLP_USERDATA, LONG_PTR(this));
    PostMessageA(FWnd, WM_APP, 0, 0);
  }
  ~TMouseScript() { DestroyWindow(FWnd); }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_APP) return DefWindowProcA(w, m, wp, lp);
    auto* self = reinterpret_cast<TMouseScript*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    size_t i = wp;
    if (i < self->FPoints.size()) {
      SetCursorPos(self->FPoints[i].x, self->FPoints[i].y);
      PostMessageA(self->FTarget, WM_MOUSEMOVE, MK_LBUTTON, 0);
      PostMessageA(w, WM_APP, i + 1, 0);
    } else {
      PostMessageA(self->FTarget, WM_LBUTTONUP, 0, 0);
    }
    return 0;
  }
  HWND FTarget;
  std::vector<POINT> FPoints;
  HWND FWnd = nullptr;
};

// Actions run once from inside the drag loop, each at its own time.
struct TInLoop {
  static UINT_PTR After(UINT ms, std::function<void()> action) {
    const UINT_PTR id = SetTimer(nullptr, 0, ms, &Timer);
    EXPECT_NE(id, 0u);
    Actions()[id] = std::move(action);
    return id;
  }
  static void Cancel(UINT_PTR id) {
    KillTimer(nullptr, id);
    Actions().erase(id);
  }

 private:
  static void CALLBACK Timer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto found = Actions().find(id);
    if (found == Actions().end()) return;
    std::function<void()> action = std::move(found->second);
    Actions().erase(found);
    action();
  }
  static std::map<UINT_PTR, std::function<void()>>& Actions() {
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
  }
};

class DragTest : public ScrollTest {
 protected:
  // The screen point at `along` pixels down the vertical bar.
  POINT OnBar(HWND w, int along) {
    RECT wr;
    GetWindowRect(w, &wr);
    RECT bar = VertBar(w);
    return POINT{wr.left + (bar.left + bar.right) / 2, wr.top + bar.top + along};
  }
  // The list skinned with Rec between the skin and the list's own handling; the thumb measured.
  TSkinScrollbar* SkinRecorded(TListBox* list, bool drag) {
    if (!Rec.Control) Rec.Attach(list);
    Rec.Skin = SkinScrolling(list, drag);
    Picture(Rec.Skin, list->Handle());
    return Rec.Skin;
  }
  LRESULT Press(HWND w, POINT p) {
    return SendMessageA(w, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(p.x, p.y));
  }
  // Presses the recorded list's thumb and runs inLoop from inside the drag. True when the drag
  // ended by itself, the window told the final position; a drag that did not is ended from outside
  // after two seconds, so the test fails instead of hanging.
  bool DragEndedBy(HWND w, std::function<void()> inLoop) {
    POINT p = OnBar(w, B() + Rec.Skin->FVertGeometry.ThumbSize / 2);
    SetCursorPos(p.x, p.y);
    TInLoop::After(10, std::move(inLoop));
    bool stuck = false;
    const UINT_PTR watchdog = TInLoop::After(2000, [w, &stuck] {
      stuck = true;
      PostMessageA(w, WM_LBUTTONUP, 0, 0);
    });
    Press(w, p);
    TInLoop::Cancel(watchdog);
    const auto scrolls = Rec.Scrolls(WM_VSCROLL);
    return !stuck && !Rec.Skin->FTracking && !scrolls.empty() &&
           LOWORD(scrolls.back().WParam) == SB_THUMBPOSITION;
  }
};

TEST_F(DragTest, DraggingTheThumbToTheEndShowsTheLastPage) {
  TListBox* list = List(100);
  TRecorder& rec = Rec;
  auto* skin = SkinRecorded(list, true);
  HWND w = list->Handle();
  const TScrollGeometry g = skin->FVertGeometry;
  POINT start = OnBar(w, B() + g.ThumbSize / 2);
  SetCursorPos(start.x, start.y);
  std::vector<POINT> steps;
  for (int dy = 10; dy <= 400; dy += 30) steps.push_back(POINT{start.x, start.y + dy});
  TMouseScript script(w, steps);
  Press(w, start);
  EXPECT_FALSE(skin->FTracking);
  EXPECT_EQ(GetCapture(), nullptr);
  // The press was ours: the window never saw it.
  EXPECT_TRUE(rec.Scrolls(WM_NCLBUTTONDOWN).empty());

  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  const int last = si.nMax - int(si.nPage) + 1;
  EXPECT_EQ(si.nPos, last);
  EXPECT_EQ(SendMessageA(w, LB_GETTOPINDEX, 0, 0), last);
  auto scrolls = rec.Scrolls(WM_VSCROLL);
  ASSERT_GE(scrolls.size(), 3u);
  // Track messages with rising positions, each with the thumb pressed, then the final position.
  int prev = -1;
  for (size_t i = 0; i + 1 < scrolls.size(); ++i) {
    ASSERT_EQ(LOWORD(scrolls[i].WParam), SB_THUMBTRACK);
    EXPECT_GT(int(HIWORD(scrolls[i].WParam)), prev);
    prev = HIWORD(scrolls[i].WParam);
    EXPECT_EQ(scrolls[i].Pressed, ppVertThumb);
  }
  EXPECT_EQ(prev, last);
  EXPECT_EQ(LOWORD(scrolls.back().WParam), SB_THUMBPOSITION);
  EXPECT_EQ(int(HIWORD(scrolls.back().WParam)), last);
  EXPECT_EQ(skin->FPressedPart, ppNone);
  // The end of the scrolling comes posted.
  Pump();
  scrolls = rec.Scrolls(WM_VSCROLL);
  EXPECT_EQ(LOWORD(scrolls.back().WParam), SB_ENDSCROLL);
  // Repainted from the window's state: the thumb at the end of the track.
  Picture(skin, w);
  EXPECT_EQ(skin->FVertGeometry.ThumbOffset, skin->FVertGeometry.TrackLength - skin->FVertGeometry.ThumbSize);
}

TEST_F(DragTest, ClickOnTheThumbWithoutMovingKeepsThePosition) {
  TListBox* list = List(100);
  SendMessageA(list->Handle(), LB_SETTOPINDEX, 30, 0);
  TRecorder& rec = Rec;
  auto* skin = SkinRecorded(list, true);
  HWND w = list->Handle();
  const TScrollGeometry g = skin->FVertGeometry;
  POINT p = OnBar(w, B() + g.ThumbOffset + g.ThumbSize / 2);
  SetCursorPos(p.x, p.y);
  TMouseScript script(w, {});
  Press(w, p);
  Pump();
  auto scrolls = rec.Scrolls(WM_VSCROLL);
  ASSERT_EQ(scrolls.size(), 2u);
  EXPECT_EQ(scrolls[0].WParam, MAKEWPARAM(SB_THUMBPOSITION, 30));
  EXPECT_EQ(scrolls[1].WParam, WPARAM(SB_ENDSCROLL));
  EXPECT_EQ(SendMessageA(w, LB_GETTOPINDEX, 0, 0), 30);
}

TEST_F(DragTest, PressesOffTheThumbOrWithTheDragOffAreTheWindowsOwn) {
  TListBox* list = List(100);
  TRecorder& rec = Rec;
  auto* skin = SkinRecorded(list, true);
  HWND w = list->Handle();
  RECT bar = VertBar(w);
  // The down arrow: the window's own procedure takes the press, and its line messages show the
  // arrow pressed until the scrolling ends at the posted release.
  POINT arrow = OnBar(w, bar.bottom - bar.top - 3);
  TMouseScript script(w, {});
  Press(w, arrow);
  Pump();
  ASSERT_EQ(rec.Scrolls(WM_NCLBUTTONDOWN).size(), 1u);
  EXPECT_FALSE(skin->FTracking);
  auto scrolls = rec.Scrolls(WM_VSCROLL);
  ASSERT_GE(scrolls.size(), 2u);
  EXPECT_EQ(LOWORD(scrolls.front().WParam), SB_LINEDOWN);
  EXPECT_EQ(scrolls.front().Pressed, ppDownArrow);
  EXPECT_EQ(LOWORD(scrolls.back().WParam), SB_ENDSCROLL);
  EXPECT_EQ(skin->FPressedPart, ppNone);
  EXPECT_EQ(At(*Picture(skin, w), bar, bar.bottom - bar.top - 2), Frame(tpScrollbar, 13));

  // The same list taken over without the drag: a press on the thumb is the window's too.
  rec.Seen.clear();
  delete skin;
  skin = SkinRecorded(list, false);
  POINT thumb = OnBar(w, B() + skin->FVertGeometry.ThumbOffset + 2);
  TMouseScript again(w, {});
  Press(w, thumb);
  Pump();
  EXPECT_EQ(rec.Scrolls(WM_NCLBUTTONDOWN).size(), 1u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragTest, ObjectFreedDuringItsDragLetsTheLoopEnd) {
  TListBox* list = List(100);
  auto* skin = SkinScrolling(list, true);
  HWND w = list->Handle();
  Picture(skin, w);
  POINT p = OnBar(w, B() + skin->FVertGeometry.ThumbSize / 2);
  SetCursorPos(p.x, p.y);
  // A message inside the loop frees the skin object; the loop must return without it.
  bool freed = false;
  TInLoop::After(10, [&] {
    delete skin;
    freed = true;
  });
  Press(w, p);
  EXPECT_TRUE(freed);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(Host.Lists(skin));
  // The list has its own handling back.
  EXPECT_EQ(SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0), 0);
  EXPECT_EQ(SendMessageA(w, LB_GETTOPINDEX, 0, 0), 1);
}

TEST_F(DragTest, ACaptureTakenByAnotherWindowEndsTheDrag) {
  TListBox* list = List(100);
  SkinRecorded(list, true);
  HWND other = Form->Handle();
  EXPECT_TRUE(DragEndedBy(list->Handle(), [other] { SetCapture(other); }));
  // The capture stays with the window that took it.
  EXPECT_EQ(GetCapture(), other);
  ReleaseCapture();
}

TEST_F(DragTest, AQuitDuringTheDragEndsItAndIsLeftForTheLoopOutside) {
  TListBox* list = List(100);
  SkinRecorded(list, true);
  EXPECT_TRUE(DragEndedBy(list->Handle(), [] { PostQuitMessage(7); }));
  EXPECT_EQ(GetCapture(), nullptr);
  MSG quit{};
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

// ---- List views and headers ----------------------------------------------------------------------

// A toolkit control around the system's report list view.
class TTestListView : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.SysClassName = WC_LISTVIEWA;
    Params.Style |= LVS_REPORT;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
};

class HeaderTest : public SkinControlTest {
 protected:
  HWND Header(int w) { return Child(WC_HEADERA, HDS_HORZ, 10, 10, w, 24); }
  void Add(HWND h, int i, const char* text, int width, int fmt, int image = 0) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE;
    item.pszText = const_cast<char*>(text);
    item.cxy = width;
    item.fmt = fmt;
    item.iImage = image;
    SendMessageA(h, HDM_INSERTITEMA, WPARAM(i), LPARAM(&item));
  }
  // Counts the pixels of colour c inside r.
  static int Count(TBitmap& pic, const RECT& r, COLORREF c) {
    int k = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) k += PixelAt(pic, x, y) == c;
    return k;
  }
};

TEST_F(HeaderTest, SectionsAndTheRestShowHeaderbarFrameOne) {
  HWND h = Header(300);
  Add(h, 0, "Name", 80, HDF_LEFT | HDF_STRING);
  Add(h, 1, "", 60, HDF_LEFT | HDF_STRING);
  Add(h, 2, "Size", 70, HDF_RIGHT | HDF_STRING);
  auto* skin = SkinBare<TSkinHeader>(h);
  EXPECT_TRUE(Host.Lists(skin));
  auto pic = Picture(skin, h);
  const COLORREF face = Frame(tpHeaderbar, 1);
  // The empty section and the rest beyond the last one are the picture alone.
  EXPECT_EQ(Count(*pic, RECT{80, 0, 140, 24}, face), 60 * 24);
  EXPECT_EQ(Count(*pic, RECT{210, 0, 300, 24}, face), 90 * 24);
  // Texted sections carry their text over frame 1.
  EXPECT_LT(Count(*pic, RECT{0, 0, 80, 24}, face), 80 * 24);
  EXPECT_GT(Count(*pic, RECT{0, 0, 80, 24}, face), 80 * 24 / 2);
  // Left text near the left, right text near the right.
  EXPECT_LT(Count(*pic, RECT{0, 0, 30, 24}, face), 30 * 24);
  EXPECT_EQ(Count(*pic, RECT{50, 0, 80, 24}, face), 30 * 24);
  EXPECT_EQ(Count(*pic, RECT{140, 0, 170, 24}, face), 30 * 24);
  EXPECT_LT(Count(*pic, RECT{180, 0, 210, 24}, face), 30 * 24);
  // No background erase while the skin paints.
  HDC dc = GetDC(h);
  EXPECT_EQ(SendMessageA(h, WM_ERASEBKGND, WPARAM(dc), 0), 1);
  ReleaseDC(h, dc);
  // The header's own paint ends with the skin on the screen.
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
  dc = GetWindowDC(h);
  COLORREF shown = GetPixel(dc, 250, 12);
  ReleaseDC(h, dc);
  EXPECT_EQ(shown, face);
}

TEST_F(HeaderTest, ImagesOnlyWithTheirFormatFlagAndNeverWithoutText) {
  HWND h = Header(300);
  HIMAGELIST images = ImageList_Create(8, 8, ILC_COLOR24, 3, 0);
  const COLORREF colours[3] = {RGB(10, 200, 10), RGB(20, 210, 20), RGB(30, 220, 30)};
  for (COLORREF c : colours) {
    TBitmap b(8, 8);
    b.Canvas()->Brush()->SetColor(TColor(c));
    b.Canvas()->FillRect(RECT{0, 0, 8, 8});
    ImageList_Add(images, b.Handle(), nullptr);
  }
  SendMessageA(h, HDM_SETIMAGELIST, 0, LPARAM(images));
  Add(h, 0, "Pair", 100, HDF_CENTER | HDF_STRING | HDF_IMAGE, 2);
  Add(h, 1, "Plain", 100, HDF_CENTER | HDF_STRING, 2);
  Add(h, 2, "", 90, HDF_IMAGE, 1);
  // The system marks a section given an image as having one; the plain section drops the mark.
  HDITEMA plain{};
  plain.mask = HDI_FORMAT;
  plain.fmt = HDF_CENTER | HDF_STRING;
  SendMessageA(h, HDM_SETITEMA, 1, LPARAM(&plain));
  plain.fmt = 0;
  SendMessageA(h, HDM_GETITEMA, 1, LPARAM(&plain));
  ASSERT_EQ(plain.fmt & HDF_IMAGE, 0);
  auto* skin = SkinBare<TSkinHeader>(h);
  auto pic = Picture(skin, h);
  EXPECT_EQ(Count(*pic, RECT{0, 0, 100, 24}, colours[2]), 64);
  // The image sits left of the text, the pair centred: its start lies right of the centre's left half.
  int first = -1;
  for (int x = 0; x < 100 && first < 0; ++x)
    if (PixelAt(*pic, x, 12) == colours[2]) first = x;
  EXPECT_GT(first, 10);
  EXPECT_LT(first, 50);
  EXPECT_EQ(Count(*pic, RECT{100, 0, 200, 24}, colours[2]), 0);
  EXPECT_EQ(Count(*pic, RECT{200, 0, 290, 24}, colours[1]), 0);
  EXPECT_EQ(Count(*pic, RECT{200, 0, 290, 24}, Frame(tpHeaderbar, 1)), 90 * 24);
  SendMessageA(h, HDM_SETIMAGELIST, 0, 0);
  ImageList_Destroy(images);
}

TEST_F(HeaderTest, WithoutAHeaderbarTheHeaderPaintsItself) {
  HWND h = Header(200);
  Add(h, 0, "Name", 80, HDF_LEFT | HDF_STRING);
  auto* skin = SkinBare<TSkinHeader>(h);
  Data->Headerbar.reset();
  TBitmap pic(200, 24);
  pic.Canvas()->Brush()->SetColor(clWhite);
  pic.Canvas()->FillRect(RECT{0, 0, 200, 24});
  skin->PaintFrame(pic.Canvas()->Handle());
  EXPECT_EQ(PixelAt(pic, 150, 12), RGB(255, 255, 255));
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
  HDC dc = GetWindowDC(h);
  COLORREF shown = GetPixel(dc, 150, 12);
  ReleaseDC(h, dc);
  EXPECT_NE(shown, Frame(tpHeaderbar, 1));
}

TEST_F(HeaderTest, ListViewSkinsItsBarsAndItsHeader) {
  auto* view = Make<TTestListView>(nullptr, 10, 10, 200, 150);
  HWND w = view->Handle();
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = 120;
  col.pszText = const_cast<char*>("Column");
  SendMessageA(w, LVM_INSERTCOLUMNA, 0, LPARAM(&col));
  for (int i = 0; i < 80; ++i) {
    std::string text = "Item " + std::to_string(i);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text.data();
    SendMessageA(w, LVM_INSERTITEMA, 0, LPARAM(&item));
  }
  TWndMethod own = view->WindowProc;
  auto* skin = new TSkinListView(view);
  skin->SkinScrollingControl(view, Data.get(), &FormCanvas, &Host, false);
  EXPECT_FALSE(skin->FDragThumb);
  ASSERT_NE(skin->FHeader, nullptr);
  HWND header = reinterpret_cast<HWND>(SendMessageA(w, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(skin->FHeader->FHandle, header);
  EXPECT_EQ(skin->FHeader->Owner(), view);
  EXPECT_TRUE(Host.Lists(skin->FHeader));
  WNDPROC stub = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(header, GWLP_WNDPROC));
  EXPECT_NE(stub, skin->FHeader->FOldWndProc);

  auto pic = Picture(skin, w);
  ASSERT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(PixelAt(*pic, (skin->FVertRect.left + skin->FVertRect.right) / 2, skin->FVertRect.top + 1),
            Frame(tpScrollbar, 9));
  RECT hr;
  GetClientRect(header, &hr);
  auto hpic = Picture(skin->FHeader, header);
  EXPECT_EQ(PixelAt(*hpic, hr.right - 3, hr.bottom / 2), Frame(tpHeaderbar, 1));

  // Given back: the header's procedure and the list view's message method.
  WNDPROC headerOwn = skin->FHeader->FOldWndProc;
  Host.FreeControls();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(header, GWLP_WNDPROC)), headerOwn);
  EXPECT_EQ(view->WindowProc, own);
}

TEST_F(HeaderTest, ListViewLetsGoOfAHeaderObjectFreedFirst) {
  auto* view = Make<TTestListView>(nullptr, 10, 10, 200, 150);
  auto* skin = new TSkinListView(view);
  skin->SkinScrollingControl(view, Data.get(), &FormCanvas, &Host, false);
  ASSERT_NE(skin->FHeader, nullptr);
  delete skin->FHeader;  // as the form frees the object of a header window that went
  EXPECT_EQ(skin->FHeader, nullptr);
}

// ---- Size grips --------------------------------------------------------------------------------

TEST_F(SkinControlTest, SizeGripShowsNothingOfItsOwn) {
  HWND plain = Child("SCROLLBAR", SBS_SIZEGRIP, 10, 10, 20, 20);
  HWND grip = Child("SCROLLBAR", SBS_SIZEGRIP, 40, 10, 20, 20);
  SkinBare<TSkinSizer>(grip);
  auto paintOver = [](HWND w) {
    HDC dc = GetDC(w);
    HBRUSH brush = CreateSolidBrush(RGB(1, 250, 3));
    RECT r{0, 0, 20, 20};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(w, dc);
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));  // nothing left to paint
    dc = GetDC(w);
    int kept = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) kept += GetPixel(dc, x, y) == RGB(1, 250, 3);
    ReleaseDC(w, dc);
    return kept;
  };
  EXPECT_LT(paintOver(plain), 400);  // the control's own grip and background
  EXPECT_EQ(paintOver(grip), 400);
  HDC dc = GetDC(grip);
  EXPECT_EQ(SendMessageA(grip, WM_ERASEBKGND, WPARAM(dc), 0), 1);
  ReleaseDC(grip, dc);
}

// ---- The toolkit's scroll-bar control ------------------------------------------------------------

class ScControlTest : public SkinControlTest {
 protected:
  void SetUp() override {
    SkinControlTest::SetUp();
    Form->SetBounds(20, 20, 300, 400);  // room for the whole bar on the screen
  }
  // A vertical bar whose track is 200 pixels.
  TScrollBar* Vertical() {
    auto* bar = Make<TScrollBar>(nullptr, 10, 10, 10, 10);
    bar->SetKind(sbVertical);
    bar->SetBounds(10, 10, 20, 200 + 2 * B());
    bar->HandleNeeded();
    return bar;
  }
  TSkinScControl* SkinIt(TScrollBar* bar) {
    auto* skin = new TSkinScControl(bar);
    skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
    return skin;
  }
  COLORREF Shown(HWND w, int y) {
    HDC dc = GetWindowDC(w);
    COLORREF c = GetPixel(dc, 10, y);
    ReleaseDC(w, dc);
    return c;
  }
};

TEST_F(ScControlTest, ThumbWithoutAPageHasTheSystemsSize) {
  TScrollBar* bar = Vertical();
  bar->SetParams(50, 0, 100);
  auto* skin = SkinIt(bar);
  EXPECT_FALSE(skin->FTakeColor);
  auto pic = Picture(skin, bar->Handle());
  const int t = std::min(GetSystemMetrics(SM_CXHTHUMB), 200);
  EXPECT_EQ(skin->FTrackLength, 200);
  EXPECT_EQ(skin->FThumbSize, t);
  EXPECT_EQ(skin->FThumbOffset, MulDiv(50, 200 - t, 101));
  const int mid = B() + skin->FThumbOffset + t / 2;
  EXPECT_EQ(PixelAt(*pic, 10, mid), Frame(tpVertThumb, 1));
  EXPECT_EQ(PixelAt(*pic, 10, B() + 2), Frame(tpVertScroll, 1));
  EXPECT_EQ(PixelAt(*pic, 10, 1), Frame(tpScrollbar, 9));
  EXPECT_EQ(PixelAt(*pic, 10, 200 + 2 * B() - 2), Frame(tpScrollbar, 13));

  // A page of the whole range: the track less one pixel.
  bar->SetPageSize(101);
  Picture(skin, bar->Handle());
  EXPECT_EQ(skin->FThumbSize, 199);
  EXPECT_EQ(skin->FThumbOffset, 0);
}

TEST_F(ScControlTest, PositionChangesShowAtOnce) {
  TScrollBar* bar = Vertical();
  auto* skin = SkinIt(bar);
  HWND w = bar->Handle();
  UpdateWindow(w);
  bar->SetPosition(100);
  const int t = skin->FThumbSize;
  // The control counts 101 positions, so the last one stops short of the track's end.
  EXPECT_EQ(skin->FThumbOffset, MulDiv(100, 200 - t, 101));
  EXPECT_EQ(Shown(w, B() + skin->FThumbOffset + t / 2), Frame(tpVertThumb, 1));
  EXPECT_EQ(Shown(w, B() + 3), Frame(tpVertScroll, 1));
  bar->SetPosition(0);
  EXPECT_EQ(Shown(w, B() + t / 2), Frame(tpVertThumb, 1));
}

TEST_F(ScControlTest, ReflectedScrollCodesPressTheirParts) {
  TScrollBar* bar = Vertical();
  bar->SetParams(10, 0, 100);
  auto* skin = SkinIt(bar);
  HWND w = bar->Handle();
  const int n = 200 + 2 * B();
  // The parent reflects the bar's notifications to the control.
  SendMessageA(Form->Handle(), WM_VSCROLL, SB_LINEDOWN, LPARAM(w));
  EXPECT_EQ(skin->FPressedPart, ppDownArrow);
  EXPECT_EQ(bar->Position(), 11);
  EXPECT_EQ(Shown(w, n - 2), Frame(tpScrollbar, 14));
  SendMessageA(Form->Handle(), WM_VSCROLL, SB_LINEUP, LPARAM(w));
  EXPECT_EQ(Shown(w, 1), Frame(tpScrollbar, 10));
  SendMessageA(Form->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), LPARAM(w));
  EXPECT_EQ(skin->FPressedPart, ppVertThumb);
  SendMessageA(Form->Handle(), WM_VSCROLL, SB_ENDSCROLL, LPARAM(w));
  EXPECT_EQ(skin->FPressedPart, ppNone);
  EXPECT_EQ(Shown(w, 1), Frame(tpScrollbar, 9));
  EXPECT_EQ(Shown(w, n - 2), Frame(tpScrollbar, 13));
}

TEST_F(ScControlTest, HorizontalBarRunsFromLeftToRight) {
  auto* bar = Make<TScrollBar>(nullptr, 10, 10, 200 + 2 * B(), 20);
  bar->SetParams(0, 0, 100);
  auto* skin = SkinIt(bar);
  auto pic = Picture(skin, bar->Handle());
  EXPECT_EQ(PixelAt(*pic, 1, 10), Frame(tpScrollbar, 1));
  EXPECT_EQ(PixelAt(*pic, 200 + 2 * B() - 2, 10), Frame(tpScrollbar, 5));
  EXPECT_EQ(PixelAt(*pic, B() + 2, 10), Frame(tpHorzThumb, 1));
}

TEST_F(ScControlTest, SystemDragOfTheThumbMovesThePosition) {
  TScrollBar* bar = Vertical();
  auto* skin = SkinIt(bar);
  HWND w = bar->Handle();
  Picture(skin, w);
  const int y0 = B() + skin->FThumbSize / 2;
  // The system's own tracking reads the mouse messages' points (client coordinates).
  PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, y0 + 100));
  PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(10, y0 + 100));
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y0));
  Pump();
  EXPECT_GT(bar->Position(), 30);
  EXPECT_LT(bar->Position(), 70);
  EXPECT_EQ(skin->FPressedPart, ppNone);
  Picture(skin, w);
  EXPECT_EQ(skin->FThumbOffset, MulDiv(bar->Position(), 200 - skin->FThumbSize, 101));
}

TEST_F(SkinControlTest, ToolkitScrollBarKeepsItsPositionInsideTheRange) {
  auto* bar = new TScrollBar(Form);
  bar->SetParent(Form);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  bar->SetParams(150, 0, 100);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(changes, 1);
  bar->SetPosition(100);
  EXPECT_EQ(changes, 1);  // no change, no event
  HWND w = bar->Handle();
  EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & SBS_VERT, 0);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_CTL, &si);
  EXPECT_EQ(si.nMax, 100);
  EXPECT_EQ(si.nPos, 100);
  // Reflected codes: lines, pages, the ends; with a page the last position shows the last page.
  bar->SetPageSize(10);
  bar->LargeChange = 7;
  auto scroll = [&](int code) { SendMessageA(Form->Handle(), WM_HSCROLL, WPARAM(code), LPARAM(w)); };
  scroll(SB_LINEDOWN);
  EXPECT_EQ(bar->Position(), 91);
  scroll(SB_TOP);
  EXPECT_EQ(bar->Position(), 0);
  scroll(SB_PAGEDOWN);
  EXPECT_EQ(bar->Position(), 7);
  scroll(SB_LINEUP);
  EXPECT_EQ(bar->Position(), 6);
  scroll(SB_BOTTOM);
  EXPECT_EQ(bar->Position(), 91);
  scroll(SB_ENDSCROLL);
  EXPECT_EQ(bar->Position(), 91);
  // Turned on its side the bar keeps its thickness across and gets a vertical window.
  int thick = bar->Height();
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->Width(), thick);
  EXPECT_NE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBS_VERT, 0);
  GetScrollInfo(bar->Handle(), SB_CTL, &si);
  EXPECT_EQ(si.nPos, 91);
  EXPECT_EQ(si.nPage, 10u);
}

// ---- Give-back and resources ---------------------------------------------------------------------

TEST_F(ScrollTest, EverythingIsGivenBackAndNoGdiObjectIsKept) {
  TListBox* list = List(100);
  HWND w = list->Handle();
  HWND grip = Child("SCROLLBAR", SBS_SIZEGRIP, 150, 10, 20, 20);
  HWND header = Child(WC_HEADERA, HDS_HORZ, 10, 170, 200, 20);
  HDITEMA item{};
  item.mask = HDI_TEXT | HDI_WIDTH;
  item.pszText = const_cast<char*>("Name");
  item.cxy = 80;
  SendMessageA(header, HDM_INSERTITEMA, 0, LPARAM(&item));
  auto* bar = Make<TScrollBar>(nullptr, 180, 10, 100, 20);
  TWndMethod listOwn = list->WindowProc, barOwn = bar->WindowProc;
  const LONG_PTR gripOwn = GetWindowLongPtrA(grip, GWLP_WNDPROC);
  const LONG_PTR headerOwn = GetWindowLongPtrA(header, GWLP_WNDPROC);
  auto cycle = [&] {
    auto* s = new TSkinScrollbar(list);
    s->SkinScrollingControl(list, Data.get(), &FormCanvas, &Host, true);
    auto* z = SkinBare<TSkinSizer>(grip);
    auto* hd = SkinBare<TSkinHeader>(header);
    auto* sc = new TSkinScControl(bar);
    sc->SkinControl(&Host, Data.get(), &FormCanvas, false);
    EXPECT_NE(list->WindowProc, listOwn);
    EXPECT_NE(GetWindowLongPtrA(grip, GWLP_WNDPROC), gripOwn);
    for (HWND x : {w, grip, header, bar->Handle()}) {
      InvalidateRect(x, nullptr, TRUE);
      UpdateWindow(x);
    }
    SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
    bar->SetPosition(bar->Position() == 0 ? 50 : 0);
    (void)z;
    (void)hd;
    Host.FreeControls();
  };
  cycle();
  const int before = GdiObjectCount();
  for (int i = 0; i < 30; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_EQ(list->WindowProc, listOwn);
  EXPECT_EQ(bar->WindowProc, barOwn);
  EXPECT_EQ(GetWindowLongPtrA(grip, GWLP_WNDPROC), gripOwn);
  EXPECT_EQ(GetWindowLongPtrA(header, GWLP_WNDPROC), headerOwn);
  EXPECT_EQ(list->ComponentCount(), 0);
}

TEST_F(ScrollTest, TakeoverRunsOnceAndWindowDestructionEndsIt) {
  TListBox* list = List(10);
  TWndMethod own = list->WindowProc;
  auto* skin = SkinScrolling(list, true);
  TWndMethod ours = list->WindowProc;
  skin->SkinScrollingControl(list, Data.get(), &FormCanvas, &Host, true);
  EXPECT_EQ(list->WindowProc, ours);
  // The window goes: the skin sees the end and stays listed until the form purges it.
  list->DestroyHandle();
  EXPECT_EQ(skin->FSkinState, scsGone);
  delete skin;
  EXPECT_EQ(list->WindowProc, own);
}

}  // namespace
