// Image lists: images added from bitmaps, drawn with their masks, handles owned or shared.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "tk/Graphics.h"
#include "tk/ImgList.h"
#include "tests/unit/GraphicsHelpers.h"

namespace {

void FillRect(TBitmap& b, RECT r, TColor c) {
  b.Canvas()->Brush()->SetColor(c);
  b.Canvas()->FillRect(r);
}

// Two 16 x 16 glyphs on white: a black square at (4..8, 4..8), then a red bar at rows 6..9.
void MakeStrip(TBitmap& strip) {
  strip.SetSize(32, 16);
  FillRect(strip, RECT{0, 0, 32, 16}, clWhite);
  FillRect(strip, RECT{4, 4, 8, 8}, clBlack);
  FillRect(strip, RECT{16, 6, 32, 10}, clRed);
}

}  // namespace

TEST(ImageList, AddMaskedCutsAWideBitmapAndDrawsWithoutTheMaskColour) {
  TImageList list(nullptr);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Height(), 16);
  EXPECT_EQ(list.Count(), 0);
  TBitmap strip;
  MakeStrip(strip);
  EXPECT_EQ(list.AddMasked(&strip, clWhite), 0);
  EXPECT_EQ(list.Count(), 2);

  TBitmap target(40, 40);
  FillRect(target, RECT{0, 0, 40, 40}, clLime);
  list.Draw(target.Canvas(), 10, 10, 1);
  EXPECT_EQ(PixelAt(target, 10, 16), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(target, 25, 19), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(target, 10, 10), RGB(0, 255, 0));  // white left out
  EXPECT_EQ(PixelAt(target, 25, 25), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(target, 26, 16), RGB(0, 255, 0));  // outside the image

  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(PixelAt(target, 5, 5), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(target, 9, 9), RGB(0, 255, 0));
  list.Draw(target.Canvas(), 0, 0, 7);  // no such image: nothing drawn, nothing raised
  EXPECT_EQ(PixelAt(target, 9, 9), RGB(0, 255, 0));
}

TEST(ImageList, AddWithAMaskBitmap) {
  TImageList list(nullptr);
  TBitmap image(16, 16), mask(16, 16);
  FillRect(image, RECT{0, 0, 16, 16}, clBlue);
  FillRect(mask, RECT{0, 0, 16, 16}, clWhite);
  FillRect(mask, RECT{0, 0, 8, 16}, clBlack);  // black: shown
  EXPECT_EQ(list.Add(&image, &mask), 0);
  EXPECT_EQ(list.Add(&image, nullptr), 1);
  TBitmap target(40, 20);
  FillRect(target, RECT{0, 0, 40, 20}, clYellow);
  list.Draw(target.Canvas(), 0, 0, 0);
  list.Draw(target.Canvas(), 20, 0, 1);
  EXPECT_EQ(PixelAt(target, 3, 3), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(target, 12, 3), RGB(255, 255, 0));
  EXPECT_EQ(PixelAt(target, 33, 3), RGB(0, 0, 255));  // no mask: drawn whole

  TBitmap empty;
  EXPECT_THROW(list.Add(&empty, nullptr), EInvalidOperation);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_THROW(list.Delete(5), EInvalidOperation);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, NewSizeEmptiesTheList) {
  TImageList list(nullptr);
  TBitmap strip;
  MakeStrip(strip);
  list.AddMasked(&strip, clWhite);
  list.SetWidth(32);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.AddMasked(&strip, clWhite), 0);
  EXPECT_EQ(list.Count(), 1);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list.Handle(), &cx, &cy);
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 16);
}

TEST(ImageList, OwnHandleFreedSharedHandleLeft) {
  TBitmap strip;
  MakeStrip(strip);
  {  // warm up what the common controls keep once per process
    TImageList list(nullptr);
    list.AddMasked(&strip, clWhite);
  }
  int before = GdiObjectCount();
  for (int i = 0; i < 50; ++i) {
    TImageList list(nullptr);
    list.AddMasked(&strip, clWhite);
    list.ShareImages = true;  // only a handle from outside is left to its owner
  }
  EXPECT_EQ(GdiObjectCount(), before);

  HIMAGELIST outside = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1);
  ImageList_AddMasked(outside, strip.Handle(), RGB(255, 255, 255));
  {
    TImageList shared(nullptr);
    shared.ShareImages = true;
    shared.SetHandle(outside);
    EXPECT_EQ(shared.Count(), 2);
  }
  EXPECT_EQ(ImageList_GetImageCount(outside), 2);  // still alive
  {
    TImageList taken(nullptr);
    taken.SetHandle(outside);
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST(ImageList, HandleServesACommonControl) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HWND tree = CreateWindowA(WC_TREEVIEWA, "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(tree, nullptr);
  TImageList list(nullptr);
  TBitmap strip;
  MakeStrip(strip);
  list.AddMasked(&strip, clWhite);
  SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(list.Handle()));
  EXPECT_EQ(HIMAGELIST(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), list.Handle());
  DestroyWindow(tree);
}
