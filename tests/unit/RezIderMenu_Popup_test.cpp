// Skinned popup menu windows under Wine: real menus opened with TrackPopupMenu, caught by the real
// manager's hook, read back (window procedure, frame pixels, printed pictures) while they are open.
#include <gtest/gtest.h>

#include "RezIderMenuTesting.h"
#include "tests/unit/MessageBoxWatch.h"

using menutest::Colour;
using menutest::WindowPixel;
using menutest::WindowSize;
using testskin::tpMenuBackground;

namespace {

class PopupTest : public menutest::MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    Menu = CreatePopupMenu();
    AppendMenuA(Menu, MF_STRING, 1, "One");
    AppendMenuA(Menu, MF_STRING, 2, "Two");
    AppendMenuA(Menu, MF_STRING, 3, "Three");
  }
  void TearDown() override {
    DestroyMenu(Menu);
    MenuFixture::TearDown();
  }
  void Track(std::function<void(HWND, TSkinnedPopMenu*)> While) {
    bool ran = false;
    menutest::TMenuRun::Track(Menu, Owner, [&] {
      TRezIderPopMenu* p = OpenPopup();
      ASSERT_NE(p, nullptr);
      ran = true;
      While(p->FHandle, dynamic_cast<TSkinnedPopMenu*>(p));
    });
    EXPECT_TRUE(ran);
  }
  HMENU Menu = nullptr;
};

const COLORREF kBand = Colour(tpMenuBackground, 1);

}  // namespace

TEST_F(PopupTest, AnOpenMenuIsTakenOverAndShowsTheSkinFrameThreePixelsWide) {
  Track([&](HWND w, TSkinnedPopMenu* p) {
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Subclassed());
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(p->OwnProc()));
    EXPECT_EQ(p->FSkinData, Data.get());
    EXPECT_EQ(p->FMenuKey, nullptr);
    EXPECT_EQ(CurrentSkinPopup, p);  // its frame is painted, no item has told it its menu yet
    UpdateWindow(w);
    const SIZE s = WindowSize(w);
    ASSERT_GT(s.cx, 12);
    ASSERT_GT(s.cy, 12);
    for (int i = 0; i < 3; ++i) {
      for (int x : {0, 5, int(s.cx / 2), int(s.cx - 1)}) {
        EXPECT_EQ(WindowPixel(w, x, i), kBand) << x << "," << i;
        EXPECT_EQ(WindowPixel(w, x, s.cy - 1 - i), kBand) << x << "," << s.cy - 1 - i;
      }
      for (int y : {3, int(s.cy / 2), int(s.cy - 4)}) {
        EXPECT_EQ(WindowPixel(w, i, y), kBand) << i << "," << y;
        EXPECT_EQ(WindowPixel(w, s.cx - 1 - i, y), kBand) << s.cx - 1 - i << "," << y;
      }
    }
    // The band is 3 pixels whatever the element's margins; inside, the menu paints itself.
    EXPECT_NE(WindowPixel(w, 3, s.cy / 2), kBand);
    EXPECT_NE(WindowPixel(w, s.cx - 4, s.cy / 2), kBand);
    // The cached frame picture is the whole window's.
    EXPECT_EQ(p->FFrameBitmap->Width(), s.cx);
    EXPECT_EQ(p->FFrameBitmap->Height(), s.cy);
    EXPECT_EQ(PixelAt(*p->FFrameBitmap, s.cx / 2, s.cy / 2), kBand);
  });
  // Closed: the window is gone, the popup object with it, and no stale pointer is left waiting.
  EXPECT_TRUE(M->Popups().empty());
  EXPECT_EQ(CurrentSkinPopup, nullptr);
}

TEST_F(PopupTest, TheQueryIsAnsweredAlsoWhileSkinningIsOff) {
  Track([&](HWND w, TSkinnedPopMenu*) {
    EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
    M->Enabled = false;
    EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
    M->Enabled = true;
  });
}

TEST_F(PopupTest, PrintingPutsTheSkinPictureUnderTheMenusOwnPrintingInsideTheBand) {
  Track([&](HWND w, TSkinnedPopMenu* p) {
    p->FMenuKey = nullptr;
    CurrentSkinPopup = nullptr;
    const COLORREF paper = RGB(1, 200, 3);
    auto printed = menutest::Printed(w, paper);
    auto own = menutest::Printed(w, paper, p->SavedProc());
    const int W = printed->Width(), H = printed->Height();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const bool band = x < 3 || y < 3 || x >= W - 3 || y >= H - 3;
        const COLORREF got = PixelAt(*printed, x, y);
        if (band) {
          ASSERT_EQ(got, kBand) << x << "," << y;
        } else {
          // Inside, what the menu prints lies over the skin picture (never the paper).
          const COLORREF ownPixel = PixelAt(*own, x, y);
          ASSERT_EQ(got, ownPixel == paper ? kBand : ownPixel) << x << "," << y;
        }
      }
    EXPECT_EQ(CurrentSkinPopup, p);  // printed before any item was drawn
  });
}

TEST_F(PopupTest, PrintingGivesTheContextBackItsModeAndNoClip) {
  Track([&](HWND w, TSkinnedPopMenu*) {
    const SIZE s = WindowSize(w);
    TBitmap bmp(s.cx, s.cy);
    HDC dc = bmp.Canvas()->Handle();
    SetBkMode(dc, OPAQUE);
    SendMessageA(w, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    HRGN probe = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(GetClipRgn(dc, probe), 0);  // no clip region left selected
    DeleteObject(probe);
  });
}

TEST_F(PopupTest, WhileSkinningIsOffEveryMessageGoesToTheMenusOwnProcedure) {
  Track([&](HWND w, TSkinnedPopMenu* p) {
    M->Enabled = false;
    CurrentSkinPopup = nullptr;
    auto printed = menutest::Printed(w, RGB(1, 200, 3));
    auto own = menutest::Printed(w, RGB(1, 200, 3), p->SavedProc());
    EXPECT_TRUE(menutest::SamePictures(*printed, *own));
    SendMessageA(w, WM_NCPAINT, 1, 0);
    EXPECT_EQ(CurrentSkinPopup, nullptr);  // no frame of ours was painted
    M->Enabled = true;
  });
}

TEST_F(PopupTest, ASkinWithoutAMenuBackgroundLeavesTheMenusOwnFrameAndPrinting) {
  Data->MenuBackground->Image->SetSize(0, 0);
  Track([&](HWND w, TSkinnedPopMenu* p) {
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Subclassed());
    EXPECT_EQ(CurrentSkinPopup, nullptr);
    EXPECT_NE(WindowPixel(w, 0, 0), kBand);
    auto printed = menutest::Printed(w, RGB(1, 200, 3));
    auto own = menutest::Printed(w, RGB(1, 200, 3), p->SavedProc());
    EXPECT_TRUE(menutest::SamePictures(*printed, *own));
  });
  Data->MenuBackground.reset();
  Track([&](HWND w, TSkinnedPopMenu*) { EXPECT_NE(WindowPixel(w, 0, 0), kBand); });
}

TEST_F(PopupTest, UnsubclassingGivesTheProcedureBackOnceAndEmptiesThePicture) {
  Track([&](HWND w, TSkinnedPopMenu* p) {
    const WNDPROC saved = p->SavedProc();
    ASSERT_NE(saved, nullptr);
    ASSERT_FALSE(p->FFrameBitmap->Empty());
    p->Unsubclass();
    EXPECT_FALSE(p->Subclassed());
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(saved));
    EXPECT_TRUE(p->FFrameBitmap->Empty());
    EXPECT_NE(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
    p->Unsubclass();  // again: nothing
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(saved));
    p->Subclass(w, Data.get(), nullptr);  // taken again, so the manager's give-back finds it so
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(p->OwnProc()));
  });
  EXPECT_TRUE(M->Popups().empty());
}

TEST_F(PopupTest, ADestroyedPopupGivesItsWindowBackBeforeItsOwnDestroyRuns) {
  // A popup window of our own making, destroyed while its object is still listed: the object's
  // WM_DESTROY gives the procedure back first (the hook, which would free it, is not installed).
  HWND w = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(w);
  ASSERT_EQ(M->Popups().size(), 1u);
  auto* p = dynamic_cast<TSkinnedPopMenu*>(M->Popups()[0]);
  ASSERT_NE(p, nullptr);
  const LONG_PTR saved = reinterpret_cast<LONG_PTR>(p->SavedProc());
  UnhookWindowsHookEx(M->HookHandle());  // the manager's later unhook of it fails harmlessly
  SendMessageA(w, WM_DESTROY, 0, 0);
  EXPECT_FALSE(p->Subclassed());
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), saved);
  DestroyWindow(w);
}

namespace {

// Someone else's subclass over a popup window, counting the skin query on its way through.
WNDPROC Below = nullptr;
int ForeignQueries = 0;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SKINQUERY) ++ForeignQueries;
  return CallWindowProcA(Below, h, m, wp, lp);
}

HWND OwnPopupWindow(int W = 40, int H = 40) {
  return CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, W, H, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

}  // namespace

TEST_F(PopupTest, GivenBackUnderALaterSubclassThePopupStaysInTheChainPassingOn) {
  HWND w = OwnPopupWindow();
  ASSERT_TRUE(w);
  ASSERT_EQ(M->Popups().size(), 1u);
  TRezIderPopMenu* p = M->Popups()[0];
  const WNDPROC saved = dynamic_cast<TSkinnedPopMenu*>(p)->SavedProc();
  Below = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc));
  ForeignQueries = 0;
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
  EXPECT_TRUE(M->UnskinPopup(w));  // the object is freed
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ForeignProc));
  // What was ours passes everything on to the menu's own procedure.
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), CallWindowProcA(saved, w, WM_SKINQUERY, 0, 0));
  EXPECT_NE(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(ForeignQueries, 3);
  SendMessageA(w, WM_NCPAINT, 1, 0);
  DestroyWindow(w);
}

TEST_F(PopupTest, AFailingTakeoverIsReportedAndTheWindowStillComes) {
  const TRezIderPopMenuMaker maker = RezIderPopMenuMaker;
  RezIderPopMenuMaker = []() -> TRezIderPopMenu* { throw EOutOfResources("no popup"); };
  HWND w = nullptr;
  {
    MessageBoxWatch watch;
    w = OwnPopupWindow();
    EXPECT_TRUE(watch.Answered());
    EXPECT_EQ(watch.Text, "no popup");
  }
  RezIderPopMenuMaker = maker;
  ASSERT_TRUE(w);
  EXPECT_TRUE(M->Popups().empty());
  DestroyWindow(w);
}

TEST_F(PopupTest, AFramePictureThatCannotBeMadeIsReportedAndStopsAtTheWindow) {
  // Too large a window for any picture of its size.
  HWND w = OwnPopupWindow(20000, 20000);
  ASSERT_TRUE(w);
  ASSERT_EQ(WindowSize(w).cx, 20000);
  {
    MessageBoxWatch watch;
    EXPECT_EQ(SendMessageA(w, WM_NCPAINT, 1, 0), 0);
    EXPECT_TRUE(watch.Answered());
    EXPECT_EQ(watch.Text, "Out of system resources");
  }
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
  DestroyWindow(w);
}

TEST_F(PopupTest, OpeningAndClosingMenusLeavesNoGdiObjectBehind) {
  auto once = [&] { Track([&](HWND w, TSkinnedPopMenu*) { UpdateWindow(w); }); };
  once();
  const int before = GdiObjectCount();
  for (int i = 0; i < 30; ++i) once();
  const int after = GdiObjectCount();
  EXPECT_LE(after - before, 2) << before << " -> " << after;
}

TEST_F(PopupTest, PaintingTheFrameWaitsForAMenuOnlyWhileItHasNone) {
  Track([&](HWND w, TSkinnedPopMenu* p) {
    CurrentSkinPopup = nullptr;
    EXPECT_EQ(SendMessageA(w, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(CurrentSkinPopup, p);
    EXPECT_EQ(WindowPixel(w, 1, 1), kBand);
    CurrentSkinPopup = nullptr;
    p->FMenuKey = Menu;  // its menu is known: it no longer waits
    SendMessageA(w, WM_NCPAINT, 1, 0);
    auto printed = menutest::Printed(w, RGB(1, 200, 3));
    EXPECT_EQ(CurrentSkinPopup, nullptr);
    EXPECT_EQ(PixelAt(*printed, 0, 0), kBand);
    EXPECT_EQ(M->PopupBitmap(Menu), p->FFrameBitmap.get());
  });
}
