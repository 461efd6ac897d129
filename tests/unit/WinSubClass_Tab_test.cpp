// Skinned tab controls on real windows: the toolkit's page control and bare tab controls with tabs
// at the top, bottom, left and right, their tab faces, captions, page border and scroll buttons,
// checked by pixel against the solid-colour test skin.
#include <gtest/gtest.h>

#include <vector>

#include "GraphicsHelpers.h"
#include "WinSubClassTesting.h"
#include "skin/WinSubClassTab.h"
#include "tk/ComCtrls.h"
#include "tk/Tabs.h"

using namespace ctltest;
using namespace testskin;

namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);

// Outside the picture reads as a colour no drawing makes.
COLORREF Px(TBitmap& pic, int x, int y) {
  if (x < 0 || y < 0 || x >= pic.Width() || y >= pic.Height()) return CLR_INVALID;
  return PixelAt(pic, x, y);
}

TEST(TabGeometry, PositionComesFromTheBottomAndVerticalStyles) {
  EXPECT_EQ(TabPositionOfStyle(0), 0);
  EXPECT_EQ(TabPositionOfStyle(TCS_BOTTOM), 1);
  EXPECT_EQ(TabPositionOfStyle(TCS_VERTICAL), 2);
  EXPECT_EQ(TabPositionOfStyle(TCS_VERTICAL | TCS_RIGHT), 3);
  EXPECT_EQ(TabPositionOfStyle(WS_CHILD | TCS_MULTILINE), 0);
}

TEST(TabGeometry, SideTabsAreComposedLyingAndStripsSitBesideThePage) {
  const RECT r{0, 0, 200, 150}, p{30, 25, 170, 120};
  RECT s = TabStripRect(0, r, p);
  EXPECT_EQ(s.bottom, 25);
  EXPECT_EQ(s.right, 200);
  s = TabStripRect(1, r, p);
  EXPECT_EQ(s.top, 120);
  EXPECT_EQ(s.bottom, 150);
  s = TabStripRect(2, r, p);
  EXPECT_EQ(s.right, 30);
  EXPECT_EQ(s.bottom, 150);
  s = TabStripRect(3, r, p);
  EXPECT_EQ(s.left, 170);
  EXPECT_EQ(s.right, 200);

  const RECT t{2, 10, 28, 60};
  RECT top = TabInStrip(0, t, r, p, 200);
  EXPECT_EQ(top.top, 11);
  EXPECT_EQ(top.left, 2);
  RECT bottom = TabInStrip(1, RECT{10, 122, 60, 148}, r, p, 200);
  EXPECT_EQ(bottom.top, 122 - 120 - 1);
  // Left: the picture is 150 wide (the strip's height); its x runs against the tab's y.
  RECT left = TabInStrip(2, t, r, p, 150);
  EXPECT_EQ(left.left, 150 - 60);
  EXPECT_EQ(left.right, 150 - 10);
  EXPECT_EQ(left.top, 2);
  EXPECT_EQ(left.bottom, 28);
  RECT right = TabInStrip(3, RECT{172, 10, 198, 60}, r, p, 150);
  EXPECT_EQ(right.left, 9);
  EXPECT_EQ(right.right, 59);
  EXPECT_EQ(right.top, 200 - 198);
  EXPECT_EQ(right.bottom, 200 - 172);
}

class TabSkinTest : public SkinControlTest {
 protected:
  static std::unique_ptr<TBitmap> Painted(TSkinControl* skin, HWND wnd) {
    return ctltest::Painted(skin, wnd, kUntouched);
  }
  HWND Tabs(DWORD style, int count, int w = 220, int h = 160) {
    HWND t = Child(WC_TABCONTROLA, WS_CLIPSIBLINGS | style, 10, 10, w, h);
    SendMessageA(t, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (int i = 0; i < count; ++i) {
      std::string text = "Tab " + std::to_string(i);
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageA(t, TCM_INSERTITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    return t;
  }
  static RECT ItemRect(HWND t, int i) {
    RECT r{};
    SendMessageA(t, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The page rectangle the skin frames: the display area grown by 4, one pixel toward the tabs.
  static RECT Page(HWND t, int position) {
    RECT p;
    GetClientRect(t, &p);
    SendMessageA(t, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&p));
    InflateRect(&p, 4, 4);
    if (position == 0) ++p.top;
    if (position == 1) --p.bottom;
    if (position == 2) ++p.left;
    if (position == 3) --p.right;
    return p;
  }
  // Every tab shows the face of its frame 3 pixels in from its own rectangle's corners, and the
  // page border runs along the page rectangle's edges.
  void ExpectTabsAndBorder(TSkinControl* skin, HWND t, int position, int current) {
    auto pic = Painted(skin, t);
    const int n = int(SendMessageA(t, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      RECT r = ItemRect(t, i);
      COLORREF want = Frame(tpTabs, i == current ? 2 : 1);
      EXPECT_EQ(Px(*pic, r.left + 3, r.top + 3), want) << "tab " << i << " position " << position;
      EXPECT_EQ(Px(*pic, r.right - 4, r.bottom - 4), want) << "tab " << i << " position " << position;
    }
    RECT p = Page(t, position);
    const int my = (p.top + p.bottom) / 2, mx = (p.left + p.right) / 2;
    EXPECT_EQ(Px(*pic, p.left, my), Frame(tpTabBorder, 1)) << "position " << position;
    EXPECT_EQ(Px(*pic, p.right - 1, my), Frame(tpTabBorder, 1)) << "position " << position;
    EXPECT_EQ(Px(*pic, mx, p.top), Frame(tpTabBorder, 1)) << "position " << position;
    EXPECT_EQ(Px(*pic, mx, p.bottom - 1), Frame(tpTabBorder, 1)) << "position " << position;
    // The page inside keeps what the control painted.
    EXPECT_EQ(Px(*pic, mx, my), kUntouched) << "position " << position;
  }
  static bool HasColour(TBitmap& pic, const RECT& r, COLORREF c) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (Px(pic, x, y) == c) return true;
    return false;
  }
  static WNDPROC ProcOf(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)); }
};

TEST_F(TabSkinTest, PageControlTabsFacesCaptionsAndBorderOnScreen) {
  auto* pc = Make<TPageControl>(nullptr, 10, 10, 260, 180);
  for (const char* caption : {"First", "Second", "Third"}) {
    auto* sheet = new TTabSheet(Form);
    sheet->SetPageControl(pc);
    sheet->SetText(caption);
  }
  pc->SetActivePageIndex(1);
  HWND t = pc->Handle();
  WNDPROC own = ProcOf(t);
  auto* skin = SkinBare<TSkinTab>(t);
  EXPECT_EQ(skin->FTabPosition, 0);
  ExpectTabsAndBorder(skin, t, 0, 1);

  auto pic = Painted(skin, t);
  // Captions in the element's colours: the current tab's differs from the others'.
  RECT first = ItemRect(t, 0), second = ItemRect(t, 1);
  EXPECT_TRUE(HasColour(*pic, first, RGB(171, 172, 173)));
  EXPECT_FALSE(HasColour(*pic, first, RGB(181, 182, 183)));
  EXPECT_TRUE(HasColour(*pic, second, RGB(181, 182, 183)));
  // The strip beyond the last tab is the skin's face colour.
  RECT last = ItemRect(t, 2);
  EXPECT_EQ(Px(*pic, last.right + 10, 3), Named(kButtonFace));

  // On the screen, after the control's own painting.
  RedrawWindow(t, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetWindowDC(t);
  EXPECT_EQ(GetPixel(dc, second.left + 3, second.top + 3), Frame(tpTabs, 2));
  EXPECT_EQ(GetPixel(dc, first.left + 3, first.top + 3), Frame(tpTabs, 1));
  ReleaseDC(t, dc);

  // A click on the first tab makes it current.
  SendMessageA(t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 5, first.top + 5));
  SendMessageA(t, WM_LBUTTONUP, 0, MAKELPARAM(first.left + 5, first.top + 5));
  Pump();
  EXPECT_EQ(pc->ActivePageIndex(), 0);
  ExpectTabsAndBorder(skin, t, 0, 0);

  delete skin;
  EXPECT_EQ(ProcOf(t), own);
}

TEST_F(TabSkinTest, TabsAtTheBottomLeftAndRightLandWhereTheControlHasThem) {
  // Ragged rows keep side tabs at their own length, leaving strip below them.
  const DWORD styles[] = {TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE | TCS_RAGGEDRIGHT,
                          TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE | TCS_RAGGEDRIGHT};
  for (int position = 1; position <= 3; ++position) {
    HWND t = Tabs(styles[position - 1], 3);
    SendMessageA(t, TCM_SETCURSEL, 2, 0);
    auto* skin = SkinBare<TSkinTab>(t);
    EXPECT_EQ(skin->FTabPosition, position);
    ExpectTabsAndBorder(skin, t, position, 2);
    // The strip's background outside the tabs, on the tabs' side of the page.
    auto pic = Painted(skin, t);
    RECT last = ItemRect(t, 2);
    const POINT beyond = position == 1   ? POINT{last.right + 10, last.bottom - 4}
                         : position == 2 ? POINT{last.left + 3, last.bottom + 10}
                                         : POINT{last.right - 4, last.bottom + 10};
    EXPECT_EQ(Px(*pic, beyond.x, beyond.y), Named(kButtonFace)) << "position " << position;
    delete skin;
    DestroyWindow(t);
  }
}

TEST_F(TabSkinTest, RefreshFollowsAChangedTabPosition) {
  HWND t = Tabs(0, 2);
  auto* skin = SkinBare<TSkinTab>(t);
  EXPECT_EQ(skin->FTabPosition, 0);
  SetWindowLongA(t, GWL_STYLE, GetWindowLongA(t, GWL_STYLE) | TCS_BOTTOM);
  EXPECT_EQ(skin->FTabPosition, 0);
  skin->Refresh();
  EXPECT_EQ(skin->FTabPosition, 1);
  delete skin;
}

TEST_F(TabSkinTest, CurrentTabIsTheFocusedOneNotTheSelection) {
  HWND t = Tabs(TCS_BUTTONS, 3);
  SendMessageA(t, TCM_SETCURSEL, 0, 0);
  SendMessageA(t, TCM_SETCURFOCUS, 2, 0);
  ASSERT_EQ(SendMessageA(t, TCM_GETCURSEL, 0, 0), 0);
  ASSERT_EQ(SendMessageA(t, TCM_GETCURFOCUS, 0, 0), 2);
  auto* skin = SkinBare<TSkinTab>(t);
  auto pic = Painted(skin, t);
  RECT a = ItemRect(t, 0), c = ItemRect(t, 2);
  EXPECT_EQ(Px(*pic, a.left + 3, a.top + 4), Frame(tpTabs, 1));
  EXPECT_EQ(Px(*pic, c.left + 3, c.top + 4), Frame(tpTabs, 2));
  delete skin;
}

TEST_F(TabSkinTest, TooManyTabsShowTheScrollButtonsSkinnedAndNotOverdrawn) {
  HWND t = Tabs(0, 20, 160, 100);
  HWND ud = FindWindowExA(t, nullptr, UPDOWN_CLASSA, nullptr);
  ASSERT_TRUE(ud);
  ASSERT_TRUE(IsWindowVisible(ud));
  WNDPROC udOwn = ProcOf(ud);
  auto* skin = SkinBare<TSkinTab>(t);
  ASSERT_NE(skin->FUpDown, nullptr);
  EXPECT_EQ(skin->FUpDown->FHandle, ud);
  EXPECT_NE(ProcOf(ud), udOwn);
  EXPECT_TRUE(Host.Lists(skin->FUpDown));

  auto pic = Painted(skin, t);
  RECT u, w;
  GetWindowRect(ud, &u);
  GetWindowRect(t, &w);
  OffsetRect(&u, -w.left, -w.top);
  EXPECT_EQ(Px(*pic, u.left + 2, u.top + 2), kUntouched);
  EXPECT_EQ(Px(*pic, u.right - 2, u.bottom - 2), kUntouched);
  RECT first = ItemRect(t, 0);
  EXPECT_EQ(Px(*pic, first.left + 3, first.top + 3), Frame(tpTabs, 2));
  // The picture's own clipping is gone afterwards.
  RECT box;
  EXPECT_EQ(GetClipBox(pic->Canvas()->Handle(), &box), SIMPLEREGION);

  // Given back with the rest of the form's list.
  Host.FreeControls();
  EXPECT_EQ(ProcOf(ud), udOwn);
}

TEST_F(TabSkinTest, AnUpDownThatGoesAndComesBackGetsANewSkinObject) {
  HWND t = Tabs(0, 20, 160, 100);
  auto* skin = SkinBare<TSkinTab>(t);
  ExpectEachNewUpDownSkinnedAnew(skin, [&] {
    return CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_HORZ, 120, 2, 30, 18, t, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  });
  delete skin;
}

TEST_F(TabSkinTest, PicturesAreTurnedForTheTabPosition) {
  // Pictures whose top row is marked, 10 wide and 12 high.
  const COLORREF mark = RGB(250, 10, 10), rest = RGB(10, 10, 250);
  auto marked = [&] {
    return drawtest::MakePicture(10, 12, [&](int, int y) { return y == 0 ? mark : rest; });
  };
  Data->Tabs->Image = marked();
  Data->Tabs->Image2 = marked();
  const DWORD styles[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE,
                          TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
  for (int position = 0; position < 4; ++position) {
    HWND t = Tabs(styles[position], 2);
    auto* skin = SkinBare<TSkinTab>(t);
    TBitmap& border = *skin->FBorderBitmap;
    TBitmap& faces = *skin->FTabBitmap;
    const bool lying = position >= 2;
    EXPECT_EQ(border.Width(), lying ? 12 : 10) << "position " << position;
    // The border's marked edge faces the tabs; the faces are turned only with the strip.
    COLORREF edge = position == 0   ? PixelAt(border, 5, 0)
                    : position == 1 ? PixelAt(border, 5, 11)
                    : position == 2 ? PixelAt(border, 0, 5)
                                    : PixelAt(border, 11, 5);
    EXPECT_EQ(edge, mark) << "position " << position;
    EXPECT_EQ(faces.Width(), 10) << "position " << position;
    EXPECT_EQ(PixelAt(faces, 5, position == 1 ? 11 : 0), mark) << "position " << position;
    delete skin;
    DestroyWindow(t);
  }
}

TEST_F(TabSkinTest, WithoutABorderPictureOnlyTheStripBackgroundIsDrawn) {
  Data->Tabs->Image2 = std::make_unique<TBitmap>();
  HWND t = Tabs(0, 3);
  auto* skin = SkinBare<TSkinTab>(t);
  EXPECT_TRUE(skin->FTabBitmap->Empty());
  auto pic = Painted(skin, t);
  RECT first = ItemRect(t, 0);
  EXPECT_EQ(Px(*pic, first.left + 3, first.top + 3), Named(kButtonFace));
  RECT p = Page(t, 0);
  EXPECT_EQ(Px(*pic, p.left, (p.top + p.bottom) / 2), kUntouched);
  delete skin;
}

TEST_F(TabSkinTest, WithoutTheTabsElementNothingIsDrawn) {
  HWND t = Tabs(0, 3);
  auto* skin = SkinBare<TSkinTab>(t);
  Data->Tabs.reset();
  auto pic = Painted(skin, t);
  RECT first = ItemRect(t, 0);
  EXPECT_EQ(Px(*pic, first.left + 3, first.top + 3), kUntouched);
  RECT p = Page(t, 0);
  EXPECT_EQ(Px(*pic, p.left, (p.top + p.bottom) / 2), kUntouched);
  delete skin;
}

TEST_F(TabSkinTest, ACaptionOfAHundredCharactersShowsItsFirst79) {
  // One fixed-width tab, wide enough for the whole caption: only a cut makes two captions look alike.
  auto shown = [&](std::string caption) {
    HWND t = Tabs(TCS_FIXEDWIDTH, 0, 700, 60);
    SendMessageA(t, TCM_SETITEMSIZE, 0, MAKELPARAM(680, 20));
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageA(t, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    auto* skin = SkinBare<TSkinTab>(t);
    auto pic = Painted(skin, t);
    const RECT r = ItemRect(t, 0);
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pixels.push_back(Px(*pic, x, y));
    delete skin;
    DestroyWindow(t);
    return pixels;
  };
  const std::string first79 = std::string(78, 'i') + 'W';
  EXPECT_EQ(shown(first79 + std::string(21, 'M')), shown(first79));
  EXPECT_NE(shown(first79), shown(first79.substr(0, 78)));
}

TEST_F(TabSkinTest, ManyPaintsAndCyclesLeakNoGdiObjects) {
  int before = 0;
  for (int i = 0; i < 30; ++i) {
    HWND t = Tabs(i % 2 ? TCS_BOTTOM : TCS_VERTICAL | TCS_MULTILINE, 12, 160, 100);
    auto* skin = SkinBare<TSkinTab>(t);
    RedrawWindow(t, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    skin->Refresh();
    RedrawWindow(t, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Host.FreeControls();
    DestroyWindow(t);
    if (i == 0) before = GdiObjectCount();
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

// ---- Tab sets ------------------------------------------------------------------------------------

class TabSetSkinTest : public TabSkinTest {
 protected:
  TTabSet* TabSet(std::vector<std::string> captions, int w) {
    auto* set = new TTabSet(Form);
    set->SetParent(Form);
    set->SetBounds(10, 10, w, 24);
    set->SetStartMargin(0);
    set->SetEndMargin(0);
    for (const std::string& c : captions) set->Tabs().Add(c);
    return set;
  }
  TSkinTab31* Skin(TTabSet* set) {
    auto* skin = new TSkinTab31(set);
    skin->SkinControl(&Host, Data.get(), &FormCanvas, true);
    return skin;
  }
  // The width the skin gives a tab: its caption on the tab set's font, plus 9.
  static int TabWidth(TTabSet* set, const std::string& caption) {
    TBitmap b(4, 4);
    b.Canvas()->SetFont(set->Font());
    return b.Canvas()->TextWidth(caption) + 9;
  }
};

TEST_F(TabSetSkinTest, TabsFromTheFirstShownOneWithTheSelectedFramedAsCurrent) {
  TTabSet* set = TabSet({"One", "Two", "Three"}, 300);
  set->SetStartMargin(5);
  set->SetTabIndex(1);
  WNDPROC own = ProcOf(set->Handle());
  TSkinTab31* skin = Skin(set);
  EXPECT_NE(ProcOf(set->Handle()), own);
  EXPECT_TRUE(skin->FControl == set);
  const int w0 = TabWidth(set, "One"), w1 = TabWidth(set, "Two"), w2 = TabWidth(set, "Three");
  auto pic = Painted(skin, set->Handle());
  EXPECT_EQ(Px(*pic, 2, 2), Named(kButtonFace));
  EXPECT_EQ(Px(*pic, 5 + 2, 2), Frame(tpTabs, 1));
  EXPECT_EQ(Px(*pic, 5 + w0 + 2, 2), Frame(tpTabs, 2));
  EXPECT_EQ(Px(*pic, 5 + w0 + w1 + 2, 21), Frame(tpTabs, 1));
  EXPECT_EQ(Px(*pic, 5 + w0 + w1 + w2 + 2, 2), Named(kButtonFace));
  EXPECT_TRUE(HasColour(*pic, RECT{5, 0, 5 + w0, 24}, RGB(171, 172, 173)));
  EXPECT_TRUE(HasColour(*pic, RECT{5 + w0, 0, 5 + w0 + w1, 24}, RGB(181, 182, 183)));

  // Scrolled by one: the first shown tab starts at the margin.
  set->SetFirstIndex(1);
  pic = Painted(skin, set->Handle());
  EXPECT_EQ(Px(*pic, 5 + 2, 2), Frame(tpTabs, 2));
  EXPECT_EQ(Px(*pic, 5 + w1 + 2, 2), Frame(tpTabs, 1));
  EXPECT_EQ(Px(*pic, 5 + w1 + w2 + 2, 2), Named(kButtonFace));

  // On the screen the skin replaces the tab set's own painting, and the background is not erased.
  RedrawWindow(set->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetWindowDC(set->Handle());
  EXPECT_EQ(GetPixel(dc, 5 + 2, 2), Frame(tpTabs, 2));
  EXPECT_EQ(GetPixel(dc, 2, 12), Named(kButtonFace));
  ReleaseDC(set->Handle(), dc);
  EXPECT_EQ(SendMessageA(set->Handle(), WM_ERASEBKGND, 0, 0), 1);

  delete skin;
  EXPECT_EQ(ProcOf(set->Handle()), own);
}

TEST_F(TabSetSkinTest, ShownScrollButtonsLeaveOutATabThatNoLongerFitsButNotANarrowerOne) {
  const std::string first = "First", wide = "ab", narrow = "a";
  TTabSet* probe = TabSet({}, 100);
  const int w0 = TabWidth(probe, first), w1 = TabWidth(probe, wide), w2 = TabWidth(probe, narrow);
  ASSERT_GT(w1, w2);
  ASSERT_LT(w1, w2 + 11);
  ASSERT_GT(w1, 12);
  // Room after the first tab: exactly the narrow tab and the scroll buttons' 12 pixels.
  TTabSet* set = TabSet({first, wide, narrow}, w0 + 12 + w2);
  TSkinTab31* skin = Skin(set);
  ASSERT_NE(skin->FUpDown, nullptr);
  EXPECT_EQ(skin->FUpDown->FHorizontal, 1);
  EXPECT_EQ(skin->FUpDown->FHandle, set->Scroller()->Handle());
  EXPECT_TRUE(skin->FScroller == set->Scroller());

  // Hidden scroll buttons: the wide tab fits, and the narrow one after it no longer does.
  set->Scroller()->Hide();
  auto pic = Painted(skin, set->Handle());
  EXPECT_EQ(Px(*pic, w0 + w2 + 1, 2), Frame(tpTabs, 1));
  EXPECT_EQ(Px(*pic, w0 + w1 + 1, 2), Named(kButtonFace));

  set->Scroller()->Show();
  pic = Painted(skin, set->Handle());
  EXPECT_EQ(Px(*pic, w0 + 1, 2), Frame(tpTabs, 1));         // the narrow tab, where the wide one was
  EXPECT_EQ(Px(*pic, w0 + w2 + 1, 2), Named(kButtonFace));  // not the wide one
  delete skin;
}

TEST_F(TabSetSkinTest, EveryTabTheSkinDrawsIsChosenByAClickOnIt) {
  const std::string first = "First", wide = "ab", narrow = "a";
  TTabSet* probe = TabSet({}, 100);
  const int w0 = TabWidth(probe, first), w2 = TabWidth(probe, narrow);
  // Not all fit, so the scroll buttons show; the wide tab is left out, the narrow one drawn.
  TTabSet* set = TabSet({first, wide, narrow}, w0 + 12 + w2);
  ASSERT_TRUE(set->Scroller()->Visible());
  TSkinTab31* skin = Skin(set);
  auto pic = Painted(skin, set->Handle());
  ASSERT_EQ(Px(*pic, w0 + 1, 2), Frame(tpTabs, 1));
  std::vector<int> shown;
  for (const TTabSet::TTabPlace& t : set->VisibleTabs()) shown.push_back(t.Index);
  EXPECT_EQ(shown, (std::vector<int>{0, 2}));
  const LPARAM at = MAKELPARAM(w0 + w2 / 2, 5);
  SendMessageA(set->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(set->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(set->TabIndex(), 2);
  // The scroll buttons cover none of it.
  EXPECT_GE(set->Scroller()->Left(), w0 + w2);
  delete skin;
}

TEST_F(TabSetSkinTest, ScrollButtonsNotFirstOwnedAndMissingTabsAreLeftAlone) {
  TTabSet* set = TabSet({"One"}, 200);
  // Handed to another owner, the scroll buttons are no longer the tab set's first component.
  Form->InsertComponent(set->Scroller());
  TSkinTab31* skin = Skin(set);
  EXPECT_EQ(skin->FUpDown, nullptr);
  EXPECT_EQ(skin->FScroller, nullptr);
  delete skin;

  Data->Tabs.reset();
  TTabSet* plain = TabSet({"One"}, 200);
  plain->SetTabIndex(0);
  skin = Skin(plain);
  auto pic = Painted(skin, plain->Handle());
  EXPECT_EQ(Px(*pic, 4, 4), kUntouched);
  // Its own painting: the selected tab in the tab set's colour under the edge it hangs from.
  RedrawWindow(plain->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetWindowDC(plain->Handle());
  EXPECT_EQ(GetPixel(dc, 1, 2), ColorToCOLORREF(plain->Color()));
  EXPECT_EQ(GetPixel(dc, 150, 0), GetSysColor(COLOR_WINDOWFRAME));
  ReleaseDC(plain->Handle(), dc);
  delete skin;
}

TEST_F(TabSetSkinTest, CaptionsFollowTheControlBeingEnabledOrNot) {
  const COLORREF grey = GetSysColor(COLOR_BTNSHADOW), normal = RGB(171, 172, 173);
  HWND t = Tabs(0, 2);
  TTabSet* set = TabSet({"One"}, 200);
  EnableWindow(t, FALSE);
  set->SetEnabled(false);
  TSkinTab* tabSkin = SkinBare<TSkinTab>(t);
  TSkinTab31* setSkin = Skin(set);
  // The tab control's second tab (not the current one) and the tab set's only tab.
  auto expectCaptions = [&](COLORREF shown, COLORREF notShown, const char* when) {
    auto tabs = Painted(tabSkin, t);
    auto row = Painted(setSkin, set->Handle());
    const RECT tab = ItemRect(t, 1), one{0, 0, TabWidth(set, "One"), 24};
    EXPECT_TRUE(HasColour(*tabs, tab, shown)) << when;
    EXPECT_FALSE(HasColour(*tabs, tab, notShown)) << when;
    EXPECT_TRUE(HasColour(*row, one, shown)) << when;
    EXPECT_FALSE(HasColour(*row, one, notShown)) << when;
  };
  expectCaptions(grey, normal, "disabled before the takeover");
  EnableWindow(t, TRUE);
  set->SetEnabled(true);
  expectCaptions(normal, grey, "enabled later");
  EnableWindow(t, FALSE);
  set->SetEnabled(false);
  expectCaptions(grey, normal, "disabled again");
}

TEST_F(TabSetSkinTest, ScrollButtonsMadeAnewGetANewSkinObject) {
  TTabSet* set = TabSet({"One"}, 200);
  TSkinTab31* skin = Skin(set);
  ASSERT_NO_FATAL_FAILURE(ExpectEachNewUpDownSkinnedAnew(skin, [&] { return set->Scroller()->Handle(); }));
  EXPECT_EQ(skin->FUpDown->FHorizontal, 1);
}

TEST_F(TabSetSkinTest, ManyPaintsAndCyclesLeakNoGdiObjects) {
  int before = 0;
  for (int i = 0; i < 30; ++i) {
    TTabSet* set = TabSet({"One", "Two", "Three"}, 200);
    Skin(set);
    RedrawWindow(set->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Host.FreeControls();
    delete set;
    if (i == 0) before = GdiObjectCount();
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
