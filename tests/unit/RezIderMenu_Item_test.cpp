// Menu items measured and drawn from the solid-colour test skin, pixel by pixel: into pictures,
// and as owner-drawn items of a real popup menu.
#include <gtest/gtest.h>

#include <set>

#include "RezIderMenuTesting.h"
#include "skin/RezIderMenuItem.h"
#include "skin/RezIderForm.h"
#include "tk/ImgList.h"

using menutest::Colour;
using testskin::TestSkinNamedColour;
using testskin::tpButtons;
using testskin::tpMenuBackground;
using testskin::tpMenuItem;

namespace {

// Keys of the test skin's "Colours", by their place in the section.
enum { kHilightText = 3, kHilight = 4, kMenu = 6, kMenuText = 7, kButtonShadow = 11 };
COLORREF Named(int k) { return TestSkinNamedColour(k); }
const COLORREF kPaper = RGB(1, 200, 3);

class ItemTest : public menutest::MenuFixture {
 protected:
  // A picture in kPaper with the item drawn into R.
  std::unique_ptr<TBitmap> Drawn(const std::function<void(TCanvas*, const RECT&)>& Draw,
                                 RECT R = {4, 3, 124, 23}, int W = 130, int H = 28) {
    auto bmp = drawtest::Solid(W, H, kPaper);
    Draw(bmp->Canvas(), R);
    return bmp;
  }
  std::unique_ptr<TBitmap> Item(const TSkinMenuItem& I, bool Selected, RECT R = {4, 3, 124, 23}) {
    return Drawn([&](TCanvas* c, const RECT& r) { MenuItemDraw(Data.get(), I, c, r, Selected); }, R);
  }
  // The colours found in a rectangle of the picture.
  static std::set<COLORREF> Colours(TBitmap& b, const RECT& r) {
    std::set<COLORREF> found;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) found.insert(PixelAt(b, x, y));
    return found;
  }
  // A MenuItem strip of five 8 x 8 frames, pixel (x, y) of frame k being Pixel(k, x, y).
  void SetItemStrip(const std::function<COLORREF(int, int, int)>& Pixel) {
    Data->MenuItem->Image =
        drawtest::MakePicture(40, 8, [&](int x, int y) { return Pixel(1 + x / 8, x % 8, y); });
  }
};

TSkinMenuItem Caption(const std::string& text) {
  TSkinMenuItem i;
  i.Caption = text;
  return i;
}

// The frame line around a picture is untouched by a drawing into R.
void ExpectOnlyInside(TBitmap& b, const RECT& R) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      POINT p{x, y};
      if (!PtInRect(&R, p)) {
        ASSERT_EQ(PixelAt(b, x, y), kPaper) << x << "," << y;
      }
    }
}

}  // namespace

// ---- Measuring ---------------------------------------------------------------------------------

TEST_F(ItemTest, MeasuringAddsTheItemBandAndRoomForTheGlyph) {
  Data->MenuItem->LeftWidth = 20;
  EXPECT_EQ(MenuItemRoom(Data.get(), false, false), 55);
  EXPECT_EQ(MenuItemRoom(Data.get(), true, false), 30);
  EXPECT_EQ(MenuItemRoom(Data.get(), false, true), 55);
  EXPECT_EQ(MenuItemRoom(Data.get(), true, true), 32);
  Data->MenuItem.reset();  // no element: only the glyph room
  EXPECT_EQ(MenuItemRoom(Data.get(), false, false), 35);
  EXPECT_EQ(MenuItemRoom(Data.get(), true, false), 10);
  EXPECT_EQ(MenuItemRoom(Data.get(), true, true), 12);
}

// ---- Backgrounds and frames --------------------------------------------------------------------

TEST_F(ItemTest, WithoutAMenuItemElementItemsAreFilledWithMenuOrHilight) {
  Data->MenuItem.reset();
  const RECT R{4, 3, 124, 23};
  for (bool selected : {false, true}) {
    auto b = Item(Caption("Open"), selected, R);
    ExpectOnlyInside(*b, R);
    const COLORREF fill = Named(selected ? kHilight : kMenu);
    EXPECT_EQ(PixelAt(*b, R.left, R.top), fill);
    EXPECT_EQ(PixelAt(*b, R.right - 1, R.bottom - 1), fill);
    EXPECT_EQ(PixelAt(*b, R.right - 5, R.top + 10), fill);
  }
}

TEST_F(ItemTest, ASelectedItemShowsFrameFourAndAnUnselectedOneFrameOne) {
  const RECT R{4, 3, 124, 23};
  for (bool selected : {false, true}) {
    auto b = Item(Caption("Open"), selected, R);
    ExpectOnlyInside(*b, R);
    const COLORREF frame = Colour(tpMenuItem, selected ? 4 : 1);
    // Away from glyph and caption the item is all frame, corners and edges included.
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.right - 20; x < R.right; ++x) ASSERT_EQ(PixelAt(*b, x, y), frame) << x << "," << y;
    EXPECT_EQ(PixelAt(*b, R.left, R.top), frame);
    EXPECT_EQ(PixelAt(*b, R.left, R.bottom - 1), frame);
  }
}

TEST_F(ItemTest, TheBackgroundComesFromThePopupsPictureAtTheItemsPlaceInItsWindow) {
  // Frames 1 and 4 all key colour: the item shows the background wherever no text is.
  SetItemStrip([](int k, int, int) { return k == 1 || k == 4 ? testskin::kKeyMark : RGB(9, 9, 9); });
  HMENU menu = CreatePopupMenu();
  auto picture = drawtest::MakePicture(200, 60, [](int x, int y) { return RGB(x, y, 77); });
  const RECT R{4, 3, 124, 23};
  // With a 3-pixel frame around its client area (as Windows' menus have), and with none (Wine's).
  for (DWORD style : {DWORD(WS_POPUP | WS_DLGFRAME), DWORD(WS_POPUP)}) {
    HWND w = CreateWindowExA(0, "#32768", "", style, 0, 0, 200, 60, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_EQ(M->Popups().size(), 1u);
    TRezIderPopMenu* p = M->Popups()[0];
    p->FMenuKey = menu;
    p->FFrameBitmap->Assign(picture.get());
    POINT origin{0, 0};
    RECT wr{};
    ClientToScreen(w, &origin);
    GetWindowRect(w, &wr);
    const int o = origin.x - wr.left;
    EXPECT_EQ(o, style & WS_DLGFRAME ? 3 : 0);
    TSkinMenuItem i = Caption("");
    i.ParentMenu = menu;
    for (int pass = 0; pass < 2; ++pass) {
      auto b = pass == 0 ? Item(i, false, R) : Drawn([&](TCanvas* c, const RECT& r) {
        MenuHandleItemDraw(Data.get(), menu, i, true, r, c);
      });
      ExpectOnlyInside(*b, R);
      for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x)
          ASSERT_EQ(PixelAt(*b, x, y), RGB(x + o, y + o, 77)) << x << "," << y << " pass " << pass;
    }
    // A registered popup without a picture: the Menu colour.
    p->FFrameBitmap->SetSize(0, 0);
    auto b = Item(i, false, R);
    EXPECT_EQ(PixelAt(*b, R.left + 1, R.top + 1), Named(kMenu));
    b = Drawn([&](TCanvas* c, const RECT& r) { MenuHandleItemDraw(Data.get(), menu, i, false, r, c); });
    EXPECT_EQ(PixelAt(*b, R.left + 1, R.top + 1), Named(kMenu));
    DestroyWindow(w);
  }
  DestroyMenu(menu);
}

TEST_F(ItemTest, TheFirstItemDrawnTiesTheWaitingPopupToItsMenu) {
  HWND w = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_EQ(M->Popups().size(), 1u);
  TRezIderPopMenu* p = M->Popups()[0];
  HMENU menu = CreatePopupMenu();
  TSkinMenuItem i = Caption("Open");
  CurrentSkinPopup = p;
  // An item without a parent, and the drawing by menu handle, leave it waiting.
  Item(i, false);
  Drawn([&](TCanvas* c, const RECT& r) { MenuHandleItemDraw(Data.get(), menu, i, false, r, c); });
  EXPECT_EQ(CurrentSkinPopup, p);
  EXPECT_EQ(p->FMenuKey, nullptr);
  i.ParentMenu = menu;
  Item(i, false);
  EXPECT_EQ(CurrentSkinPopup, nullptr);
  EXPECT_EQ(p->FMenuKey, menu);
  EXPECT_EQ(M->PopupBitmap(menu), p->FFrameBitmap.get());
  DestroyWindow(w);
  DestroyMenu(menu);
}

// ---- Separators --------------------------------------------------------------------------------

TEST_F(ItemTest, ASeparatorShowsTheBottomRowsOfFrameTwoAndTheBackgroundThroughItsKeyPixels) {
  const COLORREF top = RGB(10, 20, 30), bottom = RGB(40, 50, 60);
  // Frame 2: rows 0-3 one colour, rows 4-7 another, one key pixel in the middle piece's row 6.
  SetItemStrip([&](int k, int x, int y) {
    if (k != 2) return Colour(tpMenuItem, k);
    if (x == 4 && y == 6) return COLORREF(testskin::kKeyMark);
    return y < 4 ? top : bottom;
  });
  const RECT R{4, 3, 34, 7};  // 30 x 4: the last 4 rows of the 8-row strip, unscaled in height
  auto b = Item(Caption("-"), false, R);
  ExpectOnlyInside(*b, R);
  std::set<COLORREF> found = Colours(*b, R);
  EXPECT_EQ(found, (std::set<COLORREF>{bottom, COLORREF(Named(kMenu))}));
  // The key pixel sits in row 6 of the strip, row 2 of the item.
  for (int y : {0, 1, 3})
    for (int x = R.left; x < R.right; ++x) EXPECT_EQ(PixelAt(*b, x, R.top + y), bottom);
  // The left and right pieces (2 pixels each) are unscaled.
  EXPECT_EQ(PixelAt(*b, R.left, R.top + 2), bottom);
  EXPECT_EQ(PixelAt(*b, R.right - 1, R.top + 2), bottom);
}

TEST_F(ItemTest, ASeparatorDrawnByMenuHandleShowsItsFrameAndAnEtchedLineBelowItsTop) {
  const RECT R{4, 3, 124, 13};
  HMENU menu = CreatePopupMenu();
  for (bool selected : {false, true}) {
    auto b = Drawn([&](TCanvas* c,
                       const RECT& r) { MenuHandleItemDraw(Data.get(), menu, Caption("-"), selected, r, c); },
                   R);
    ExpectOnlyInside(*b, R);
    const COLORREF frame = Colour(tpMenuItem, selected ? 4 : 1);
    const int x = (R.left + R.right) / 2;
    for (int y = 0; y < 4; ++y) EXPECT_EQ(PixelAt(*b, x, R.top + y), frame) << y;
    EXPECT_EQ(PixelAt(*b, x, R.top + 4), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(*b, x, R.top + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelAt(*b, x, R.top + 7), frame);
  }
  DestroyMenu(menu);
}

// ---- Glyphs ------------------------------------------------------------------------------------

TEST_F(ItemTest, ACheckedItemWithoutAnImageShowsTheSystemCheckMarkCentredInTheGlyphBox) {
  HBITMAP mark = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32760));
  ASSERT_TRUE(mark);
  BITMAP bm{};
  GetObjectA(mark, sizeof bm, &bm);
  HDC mdc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mdc, mark);
  TSkinMenuItem i = Caption("");
  i.Checked = true;
  const RECT R{4, 3, 124, 23};
  auto b = Item(i, false, R);
  // Glyph box: 1 + LeftWidth (2) in, 16 square.
  const int gl = R.left + 1 + Data->MenuItem->LeftWidth, gt = R.top + 1;
  const int x0 = gl + (16 - bm.bmWidth) / 2 + 1, y0 = gt + (16 - bm.bmHeight) / 2 + 1;
  int ink = 0;
  for (int y = 0; y < bm.bmHeight; ++y)
    for (int x = 0; x < bm.bmWidth; ++x) {
      const bool black = GetPixel(mdc, x, y) == RGB(0, 0, 0);
      ink += black;
      ASSERT_EQ(PixelAt(*b, x0 + x, y0 + y), black ? GetSysColor(COLOR_BTNTEXT) : Colour(tpMenuItem, 1))
          << x << "," << y;
    }
  EXPECT_GT(ink, 0);
  SelectObject(mdc, old);
  DeleteDC(mdc);
  DeleteObject(mark);
  // Nothing else of the item changed.
  EXPECT_EQ(Colours(*b, RECT{R.left, R.top, x0, R.bottom}), std::set<COLORREF>{Colour(tpMenuItem, 1)});
}

TEST_F(ItemTest, ACheckedItemWithAnImageShowsItOnASunkenPatternedBox) {
  TImageList images(nullptr);
  const COLORREF red = RGB(200, 0, 0);
  // One 16 x 16 image: a 4 x 4 red block in the middle, the rest masked out.
  auto img = drawtest::MakePicture(
      16, 16, [&](int x, int y) { return x >= 6 && x < 10 && y >= 6 && y < 10 ? red : RGB(0, 255, 0); });
  images.AddMasked(img.get(), RGB(0, 255, 0));
  TSkinMenuItem i = Caption("");
  i.Images = &images;
  i.ImageIndex = 0;
  i.Checked = true;
  const RECT R{4, 3, 124, 23};
  auto b = Item(i, false, R);
  const int gl = R.left + 1 + Data->MenuItem->LeftWidth, gt = R.top + 1;
  EXPECT_EQ(PixelAt(*b, gl + 8, gt + 8), red);
  EXPECT_EQ(PixelAt(*b, gl, gt), GetSysColor(COLOR_BTNSHADOW));  // sunken: shadow top and left
  EXPECT_EQ(PixelAt(*b, gl + 15, gt + 15), GetSysColor(COLOR_BTNHIGHLIGHT));
  const COLORREF a = PixelAt(*b, gl + 2, gt + 2), c = PixelAt(*b, gl + 3, gt + 2);
  EXPECT_EQ((std::set<COLORREF>{a, c}),
            (std::set<COLORREF>{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT)}));
  // Unchecked: the image alone on the frame.
  i.Checked = false;
  b = Item(i, false, R);
  EXPECT_EQ(PixelAt(*b, gl + 8, gt + 8), red);
  EXPECT_EQ(PixelAt(*b, gl, gt), Colour(tpMenuItem, 1));
  EXPECT_EQ(PixelAt(*b, gl + 2, gt + 2), Colour(tpMenuItem, 1));
}

TEST_F(ItemTest, ADisabledItemShowsTheSystemMenusBlackGlyphEtchedAsTheImageListDrawsItDisabled) {
  // The skinned system menu's own glyphs, black; its "Restore" is disabled in a normal window.
  TSkinMenuItem i = Caption(" Restore ");
  i.Images = Data->FMenuImages.get();
  i.ImageIndex = 0;
  const RECT R{4, 3, 124, 23};
  auto enabled = Item(i, false, R);
  i.Enabled = false;
  auto disabled = Item(i, false, R);
  const int gl = R.left + 1 + Data->MenuItem->LeftWidth, gt = R.top + 1;
  auto ink = [&](int x, int y) {
    return x >= 0 && y >= 0 && PixelAt(*enabled, gl + x, gt + y) == RGB(0, 0, 0);
  };
  // The glyph's shape in the shadow colour over itself in the highlight colour one pixel down and
  // right; everything else as it was.
  int inked = 0;
  for (int y = 0; y <= 16; ++y)
    for (int x = 0; x <= 16; ++x) {
      COLORREF want = PixelAt(*enabled, gl + x, gt + y);
      if (ink(x, y))
        want = GetSysColor(COLOR_BTNSHADOW), ++inked;
      else if (ink(x - 1, y - 1))
        want = GetSysColor(COLOR_BTNHIGHLIGHT);
      ASSERT_EQ(PixelAt(*disabled, gl + x, gt + y), want) << x << "," << y;
    }
  EXPECT_GT(inked, 10);
}

// ---- Text --------------------------------------------------------------------------------------

TEST_F(ItemTest, CaptionColoursFollowEnabledAndSelected) {
  const RECT R{4, 3, 124, 23};
  struct Case {
    bool enabled, selected;
    COLORREF text;
  } cases[] = {{true, false, Named(kMenuText)},
               {true, true, Named(kHilightText)},
               {false, false, Named(kButtonShadow)},
               {false, true, Named(kButtonShadow)}};
  for (const Case& k : cases) {
    TSkinMenuItem i = Caption("MMMM");
    i.Enabled = k.enabled;
    auto b = Item(i, k.selected, R);
    const COLORREF frame = Colour(tpMenuItem, k.selected ? 4 : 1);
    EXPECT_EQ(Colours(*b, R), (std::set<COLORREF>{frame, k.text})) << k.enabled << k.selected;
  }
  // A skin whose ButtonShadow equals its MenuText: disabled text takes the system's shadow colour.
  Data->ButtonShadow = Data->MenuText;
  TSkinMenuItem i = Caption("MMMM");
  i.Enabled = false;
  auto b = Item(i, false, R);
  EXPECT_EQ(Colours(*b, R), (std::set<COLORREF>{Colour(tpMenuItem, 1), GetSysColor(COLOR_BTNSHADOW)}));
}

namespace {
// The leftmost and rightmost ink columns of Text drawn in the menu font, aligned by Format in a
// box from Left to Right.
std::pair<int, int> TextColumns(const std::string& Text, int Left, int Right, UINT Format) {
  auto b = drawtest::Solid(Right + 10, 30, RGB(255, 255, 255));
  AssignMenuFont(b->Canvas()->Font());
  HDC dc = b->Canvas()->Handle();
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT r{Left, 0, Right, 30};
  DrawTextA(dc, Text.c_str(), int(Text.size()), &r, Format | DT_SINGLELINE);
  int lo = -1, hi = -1;
  for (int x = 0; x < b->Width(); ++x)
    for (int y = 0; y < 30; ++y)
      if (PixelAt(*b, x, y) == RGB(0, 0, 0)) {
        if (lo < 0) lo = x;
        hi = x;
      }
  return {lo, hi};
}

// The leftmost and rightmost columns of R holding colour C, or -1.
std::pair<int, int> Columns(TBitmap& b, const RECT& R, COLORREF C) {
  int lo = -1, hi = -1;
  for (int x = R.left; x < R.right; ++x)
    for (int y = R.top; y < R.bottom; ++y)
      if (PixelAt(b, x, y) == C) {
        if (lo < 0) lo = x;
        hi = x;
      }
  return {lo, hi};
}
}  // namespace

TEST_F(ItemTest, CaptionFollowsTheGlyphBoxAndTheShortcutEndsElevenPixelsShortOfTheRightEdge) {
  const RECT R{4, 3, 164, 23};
  TBitmap probe(4, 4);
  AssignMenuFont(probe.Canvas()->Font());
  const int shortcutWidth = probe.Canvas()->TextWidth("Ctrl+S");
  TSkinMenuItem i = Caption("I");
  i.ShortCut = scCtrl | 'S';
  auto b = Drawn([&](TCanvas* c, const RECT& r) { MenuItemDraw(Data.get(), i, c, r, false); }, R, 170, 28);
  const COLORREF ink = Named(kMenuText);
  // Caption: from the glyph box's right (1 + LeftWidth + 16) plus 3.
  const int textLeft = R.left + 1 + 2 + 16 + 3;
  auto caption = Columns(*b, RECT{R.left, R.top, textLeft + 10, R.bottom}, ink);
  EXPECT_EQ(caption, TextColumns("I", textLeft, textLeft + 10, DT_LEFT));
  // Shortcut: its box ends at R.right - 11; its ink lies inside that box.
  auto shortcut = Columns(*b, RECT{textLeft + 10, R.top, R.right, R.bottom}, ink);
  EXPECT_EQ(shortcut, TextColumns("Ctrl+S", R.left, R.right - 11, DT_RIGHT));
  EXPECT_GE(shortcut.first, R.right - 11 - shortcutWidth);
  // The caption is centred vertically: its ink lies in the middle of the item.
  int top = -1, bottom = -1;
  for (int y = R.top; y < R.bottom; ++y)
    if (PixelAt(*b, caption.first, y) == ink) {
      if (top < 0) top = y;
      bottom = y;
    }
  EXPECT_LE(std::abs((top - R.top) - (R.bottom - 1 - bottom)), 4) << top << " " << bottom;
}

TEST_F(ItemTest, ARightToLeftMenuPutsTheGlyphRightTheCaptionRightAlignedAndTheShortcutLeft) {
  const RECT R{4, 3, 164, 23};
  TBitmap probe(4, 4);
  AssignMenuFont(probe.Canvas()->Font());
  TSkinMenuItem i = Caption("I");
  i.RightToLeft = true;
  i.Checked = true;
  i.ShortCut = scCtrl | 'S';
  auto b = Drawn([&](TCanvas* c, const RECT& r) { MenuItemDraw(Data.get(), i, c, r, false); }, R, 170, 28);
  const COLORREF ink = Named(kMenuText);
  // Glyph box at the right: right edge R.right - 1 - LeftWidth.
  const int gr = R.right - 1 - 2, gl = gr - 16;
  auto mark = Columns(*b, RECT{gl, R.top, gr, R.bottom}, GetSysColor(COLOR_BTNTEXT));
  EXPECT_GE(mark.first, gl);
  EXPECT_LE(mark.second, gr);
  EXPECT_GE(mark.first, 0);
  // Caption right-aligned against the glyph box's left minus 3.
  auto caption = Columns(*b, RECT{R.left + 60, R.top, gl, R.bottom}, ink);
  EXPECT_EQ(caption, TextColumns("I", R.left + 60, gl - 3, DT_RIGHT));
  // Shortcut left-aligned 11 pixels from the item's left edge.
  auto shortcut = Columns(*b, RECT{R.left, R.top, R.left + 60, R.bottom}, ink);
  EXPECT_EQ(shortcut, TextColumns("Ctrl+S", R.left + 11, R.left + 60, DT_LEFT));
}

TEST_F(ItemTest, TheDefaultItemIsBoldAndTheActionIsUpdatedFirst) {
  const RECT R{4, 3, 164, 23};
  auto inkCount = [&](const TSkinMenuItem& i, int Ink = kMenuText) {
    auto b = Drawn([&](TCanvas* c, const RECT& r) { MenuItemDraw(Data.get(), i, c, r, false); }, R, 170, 28);
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
      for (int x = R.left; x < R.right; ++x) n += PixelAt(*b, x, y) == Named(Ink);
    return n;
  };
  TSkinMenuItem i = Caption("Open file");
  const int plain = inkCount(i);
  i.Default = true;
  EXPECT_GT(inkCount(i), plain);
  // What the update leaves is what this very drawing shows: here a disabled caption.
  int updates = 0;
  i.Action = [&] {
    ++updates;
    TSkinMenuItem now = i;
    now.Enabled = false;
    return now;
  };
  EXPECT_GT(inkCount(i, kButtonShadow), 0);
  EXPECT_EQ(updates, 1);
}

// ---- Items from menu handles, shortcut texts, tool-bar buttons --------------------------------

TEST_F(ItemTest, AnItemKnownByItsMenuHandleCarriesCaptionStateAndDefault) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING | MF_CHECKED, 11, "Open\tCtrl+O");
  AppendMenuA(menu, MF_SEPARATOR, 12, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 13, "Gone");
  AppendMenuA(menu, MF_STRING, 14, "");
  const std::string longText(300, 'x');
  AppendMenuA(menu, MF_STRING, 15, longText.c_str());
  SetMenuDefaultItem(menu, 13, FALSE);
  TSkinMenuItem a = MakeTempMenuItem(menu, 11);
  EXPECT_EQ(a.Caption, "Open\tCtrl+O");
  EXPECT_TRUE(a.Checked);
  EXPECT_TRUE(a.Enabled);
  EXPECT_FALSE(a.Default);
  EXPECT_EQ(a.ParentMenu, menu);
  EXPECT_EQ(MakeTempMenuItem(menu, 12).Caption, "-");
  TSkinMenuItem c = MakeTempMenuItem(menu, 13);
  EXPECT_FALSE(c.Enabled);
  EXPECT_TRUE(c.Default);
  EXPECT_EQ(MakeTempMenuItem(menu, 99).Caption, "");
  EXPECT_EQ(MakeTempMenuItem(menu, 14).Caption, "");  // no text is no separator
  EXPECT_EQ(MakeTempMenuItem(menu, 15).Caption, longText);
  DestroyMenu(menu);
}

TEST_F(ItemTest, ToolButtonsTakeTheButtonsFrameOfTheirState) {
  const RECT bounds{2, 2, 30, 22};
  struct Case {
    UINT state;
    int frame;
  } cases[] = {{CDIS_SELECTED | CDIS_HOT, 2},
               {CDIS_HOT, 4},
               {CDIS_FOCUS, 4},
               {CDIS_DISABLED | CDIS_DEFAULT, 0},
               {CDIS_GRAYED, 0},
               {CDIS_DEFAULT, 1},
               {CDIS_CHECKED, 0}};
  for (const Case& k : cases) {
    auto b = drawtest::Solid(32, 24, kPaper);
    EXPECT_EQ(ToolButtonCustomDraw(Data.get(), fsSkinned, b->Canvas(), bounds, k.state), k.frame != 0)
        << k.state;
    if (k.frame) {
      EXPECT_EQ(PixelAt(*b, 15, 12), Colour(tpButtons, k.frame)) << k.state;
      EXPECT_EQ(PixelAt(*b, 2, 2), kPaper);  // bounds shrunk by one
      EXPECT_EQ(PixelAt(*b, 3, 3 + 3), Colour(tpButtons, k.frame));
    } else {
      EXPECT_EQ(Colours(*b, RECT{0, 0, 32, 24}), std::set<COLORREF>{kPaper});
    }
  }
  // The font colour of the frame's state, where the element gives one.
  Data->Buttons->HasMouseOverColour2 = true;
  Data->Buttons->MouseOverColour2 = RGB(7, 8, 9);
  Data->Buttons->HasPressedColour2 = false;
  auto c = drawtest::Solid(32, 24, kPaper);
  c->Canvas()->Font()->SetColor(clBlack);
  ToolButtonCustomDraw(Data.get(), fsSkinned, c->Canvas(), bounds, CDIS_SELECTED);
  EXPECT_EQ(c->Canvas()->Font()->Color(), clBlack);
  ToolButtonCustomDraw(Data.get(), fsSkinned, c->Canvas(), bounds, CDIS_HOT);
  EXPECT_EQ(c->Canvas()->Font()->Color(), TColor(RGB(7, 8, 9)));
  // Not while the form is not skinned and active.
  auto b = drawtest::Solid(32, 24, kPaper);
  EXPECT_FALSE(ToolButtonCustomDraw(Data.get(), fsCreated, b->Canvas(), bounds, CDIS_HOT));
  EXPECT_EQ(PixelAt(*b, 15, 12), kPaper);
}

// ---- Owner-drawn items of a real popup menu ----------------------------------------------------

TEST_F(ItemTest, OwnerDrawnItemsOfAnOpenMenuAreMeasuredAndPaintedFromTheSkin) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_OWNERDRAW, 1, nullptr);
  AppendMenuA(menu, MF_OWNERDRAW, 2, nullptr);
  std::vector<RECT> drawn;
  OnMeasure = [&](MEASUREITEMSTRUCT* m) {
    TBitmap probe(4, 4);
    AssignMenuFont(probe.Canvas()->Font());
    int w = 0, h = 0;
    MeasureMenuItemText(probe.Canvas(), m->itemID == 1 ? "First" : "Second", 0, 16, w, h);
    w += MenuItemRoom(Data.get(), false, true);
    m->itemWidth = UINT(w);
    m->itemHeight = UINT(h);
  };
  OnDraw = [&](DRAWITEMSTRUCT* d) {
    ASSERT_EQ(d->CtlType, UINT(ODT_MENU));
    TSkinMenuItem i = MakeTempMenuItem(reinterpret_cast<HMENU>(d->hwndItem), d->itemID);
    i.Caption = d->itemID == 1 ? "First" : "Second";
    TCanvas c;
    c.SetHandle(d->hDC);
    AssignMenuFont(c.Font());
    MenuItemDraw(Data.get(), i, &c, d->rcItem, (d->itemState & ODS_SELECTED) != 0);
    c.SetHandle(nullptr);
    drawn.push_back(d->rcItem);
  };
  bool ran = false;
  menutest::TMenuRun::Track(menu, Owner, [&] {
    TRezIderPopMenu* p = OpenPopup();
    ASSERT_NE(p, nullptr);
    HWND w = p->FHandle;
    UpdateWindow(w);
    ASSERT_GE(drawn.size(), 2u);
    ran = true;
    // The first item drawn tied the popup to the menu.
    EXPECT_EQ(p->FMenuKey, menu);
    EXPECT_EQ(CurrentSkinPopup, nullptr);
    POINT origin{0, 0};
    RECT wr{};
    ClientToScreen(w, &origin);
    GetWindowRect(w, &wr);
    for (const RECT& r : drawn) {
      const int x = r.right - 2 + origin.x - wr.left, y = r.top + 1 + origin.y - wr.top;
      EXPECT_EQ(menutest::WindowPixel(w, x, y), Colour(tpMenuItem, 1)) << r.left << "," << r.top;
    }
    EXPECT_EQ(menutest::WindowPixel(w, 0, 0), Colour(tpMenuBackground, 1));
  });
  EXPECT_TRUE(ran);
  OnMeasure = nullptr;
  OnDraw = nullptr;
  DestroyMenu(menu);
}

TEST_F(ItemTest, DrawingItemsOfEveryKindLeavesNoGdiObjectBehind) {
  TImageList images(nullptr);
  auto img = drawtest::Solid(16, 16, RGB(200, 0, 0));
  images.AddMasked(img.get(), RGB(0, 255, 0));
  HMENU menu = CreatePopupMenu();
  auto b = drawtest::Solid(130, 28, kPaper);
  const RECT R{4, 3, 124, 23};
  auto once = [&] {
    TSkinMenuItem i = Caption("Open");
    i.ShortCut = scCtrl | 'O';
    i.Checked = true;
    i.Default = true;
    MenuItemDraw(Data.get(), i, b->Canvas(), R, true);
    i.Images = &images;
    i.ImageIndex = 0;
    i.Enabled = false;
    MenuItemDraw(Data.get(), i, b->Canvas(), R, false);
    MenuItemDraw(Data.get(), Caption("-"), b->Canvas(), R, false);
    MenuHandleItemDraw(Data.get(), menu, Caption("-"), true, R, b->Canvas());
    PlainMenuItemDraw(Data.get(), i, b->Canvas(), true, R);
    ToolButtonCustomDraw(Data.get(), fsSkinned, b->Canvas(), R, CDIS_HOT);
  };
  once();
  const int before = GdiObjectCount();
  for (int k = 0; k < 200; ++k) once();
  const int after = GdiObjectCount();
  EXPECT_LE(after - before, 2) << before << " -> " << after;
  DestroyMenu(menu);
}
