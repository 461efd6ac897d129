// Colours, fonts, brushes, pens, canvases, bitmaps and pictures on real GDI contexts under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <vector>

#include "tk/Graphics.h"
#include "tk/Jpeg.h"
#include "tests/unit/GraphicsHelpers.h"

namespace {

void Fill(TBitmap& b, TColor c) {
  b.Canvas()->Brush()->SetColor(c);
  b.Canvas()->FillRect(RECT{0, 0, b.Width(), b.Height()});
}

}  // namespace

// ---- Colours -----------------------------------------------------------------------------------

TEST(Colours, ExplicitColoursPassUnchanged) {
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456);
  EXPECT_EQ(ColorToCOLORREF(clFuchsia), RGB(255, 0, 255));
}

TEST(Colours, SystemColoursResolvedThroughTheSystem) {
  EXPECT_EQ(uint32_t(clBtnFace), 0xFF00000Fu);
  EXPECT_EQ(COLORREF(ColorToRGB(clBtnFace)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(COLORREF(ColorToRGB(clWindowText)), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(COLORREF(ColorToRGB(clHighlight)), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ColorToCOLORREF(clBtnShadow), GetSysColor(COLOR_BTNSHADOW));
}

TEST(Colours, SpecialValuesAreNotSystemColours) {
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clDefault), clDefault);
  EXPECT_EQ(ColorToCOLORREF(clNone), 0xFFFFFFu);  // never a palette-index COLORREF
}

// ---- Fonts, brushes, pens ----------------------------------------------------------------------

TEST(Font, DefaultsAndSizeHeightRelation) {
  TFont f;
  EXPECT_EQ(f.Name(), "MS Sans Serif");
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_EQ(f.Style(), 0);
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -MulDiv(12, f.PixelsPerInch(), 72));
  EXPECT_EQ(f.Size(), 12);
}

TEST(Font, HandleCarriesTheDescription) {
  TFont f;
  f.SetName("Tahoma");
  f.SetHeight(-20);
  f.SetStyle(fsBold | fsItalic | fsUnderline);
  f.SetCharset(ANSI_CHARSET);
  LOGFONTA lf{};
  ASSERT_NE(GetObjectA(f.Handle(), sizeof lf, &lf), 0);
  EXPECT_STREQ(lf.lfFaceName, "Tahoma");
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
  EXPECT_EQ(f.Style(), fsBold | fsItalic | fsUnderline);
}

TEST(Font, ChangeFiresOnChangeAndReplacesTheHandle) {
  TFont f;
  int changes = 0;
  HGDIOBJ seen = nullptr;
  f.OnChange = [&](TObject* sender) {
    ++changes;
    EXPECT_EQ(sender, &f);
  };
  HFONT first = f.Handle();
  f.SetColor(clRed);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetObjectType(first), 0u);  // the old handle is gone
  seen = f.Handle();
  EXPECT_NE(seen, nullptr);
  f.SetColor(clRed);  // same value: no change
  EXPECT_EQ(changes, 1);
  f.SetStyle(fsStrikeOut);
  EXPECT_EQ(changes, 2);
}

TEST(Font, AssignCopiesAndSetHandleBorrows) {
  TFont a, b;
  a.SetName("Arial");
  a.SetHeight(-15);
  a.SetColor(clBlue);
  a.SetStyle(fsItalic);
  b.Assign(&a);
  EXPECT_EQ(b.Name(), "Arial");
  EXPECT_EQ(b.Height(), -15);
  EXPECT_EQ(b.Color(), clBlue);
  EXPECT_EQ(b.Style(), fsItalic);

  HFONT foreign = CreateFontA(-17, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Courier New");
  {
    TFont c;
    c.SetHandle(foreign);
    EXPECT_EQ(c.Name(), "Courier New");
    EXPECT_EQ(c.Height(), -17);
    EXPECT_EQ(c.Style(), fsBold);
    EXPECT_NE(c.Handle(), foreign);
  }
  EXPECT_EQ(GetObjectType(foreign), DWORD(OBJ_FONT));  // still the caller's
  DeleteObject(foreign);

  TBrush wrong;
  EXPECT_THROW(b.Assign(&wrong), EConvertError);
}

TEST(Brush, HandleTakesRealColourAndStyle) {
  TBrush b;
  EXPECT_EQ(b.Color(), clWhite);
  b.SetColor(clBtnFace);
  LOGBRUSH lb{};
  ASSERT_NE(GetObjectA(b.Handle(), sizeof lb, &lb), 0);
  EXPECT_EQ(lb.lbStyle, UINT(BS_SOLID));
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
  b.SetStyle(bsClear);
  ASSERT_NE(GetObjectA(b.Handle(), sizeof lb, &lb), 0);
  EXPECT_EQ(lb.lbStyle, UINT(BS_NULL));
  b.SetStyle(bsCross);
  ASSERT_NE(GetObjectA(b.Handle(), sizeof lb, &lb), 0);
  EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, ULONG_PTR(HS_CROSS));
  b.SetStyle(bsClear);
  b.SetColor(clRed);  // a colour given to a clear brush makes it paint again
  EXPECT_EQ(b.Style(), bsSolid);

  TBrush c;
  c.Assign(&b);
  EXPECT_EQ(c.Color(), clRed);
  EXPECT_EQ(c.Style(), bsSolid);
}

TEST(Pen, HandleTakesRealColourWidthAndStyle) {
  TPen p;
  EXPECT_EQ(p.Color(), clBlack);
  EXPECT_EQ(p.Mode(), pmCopy);
  p.SetColor(clHighlight);
  p.SetWidth(3);
  p.SetStyle(psInsideFrame);
  LOGPEN lp{};
  ASSERT_NE(GetObjectA(p.Handle(), sizeof lp, &lp), 0);
  EXPECT_EQ(lp.lopnColor, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnStyle, UINT(PS_INSIDEFRAME));
  p.SetStyle(psClear);
  ASSERT_NE(GetObjectA(p.Handle(), sizeof lp, &lp), 0);
  EXPECT_EQ(lp.lopnStyle, UINT(PS_NULL));
  TPen q;
  q.Assign(&p);
  EXPECT_EQ(q.Width(), 3);
  EXPECT_EQ(q.Color(), clHighlight);
}

TEST(GdiObjects, CounterSeesOneObject) {
  int before = GdiObjectCount();
  HBRUSH b = CreateSolidBrush(RGB(9, 9, 9));
  EXPECT_EQ(GdiObjectCount(), before + 1);
  DeleteObject(b);
  EXPECT_EQ(GdiObjectCount(), before);
}

// Many uses of fonts, brushes, pens, canvases and bitmaps leave the process's GDI object count as it was.
TEST(GdiObjects, NoObjectOutlivesItsOwner) {
  // Warm up what GDI keeps once per process (stock objects, the screen's font cache).
  {
    TBitmap b(8, 8);
    b.Canvas()->TextOut(0, 0, "x");
  }
  int before = GdiObjectCount();
  for (int i = 0; i < 300; ++i) {
    TBitmap b(20, 10);
    TCanvas* c = b.Canvas();
    c->Font()->SetHeight(-10 - i % 5);
    c->Font()->SetColor(TColor(i));
    c->TextOut(1, 1, "Ab");
    c->Brush()->SetColor(TColor(i * 3));
    c->FillRect(RECT{0, 0, 5, 5});
    c->Pen()->SetColor(clBtnShadow);
    c->Pen()->SetWidth(1 + i % 3);
    c->Rectangle(2, 2, 8, 8);
    b.SetSize(12 + i % 3, 9);
    b.SetPixelFormat(i % 2 ? pf32bit : pf24bit);
    c->LineTo(5, 5);
    TBitmap copy;
    copy.Assign(&b);
    copy.Transparent();
    c->Draw(0, 0, &copy);
    TFont f;
    f.Handle();
    TBrush br;
    br.Handle();
    TPen p;
    p.Handle();
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

// ---- Canvas ------------------------------------------------------------------------------------

TEST(Canvas, BorrowedContextIsGivenBackUntouched) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), brush = GetCurrentObject(dc, OBJ_BRUSH),
          pen = GetCurrentObject(dc, OBJ_PEN);
  {
    TCanvas c;
    c.SetHandle(dc);
    EXPECT_EQ(c.Handle(), dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c.Font()->Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), c.Brush()->Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), c.Pen()->Handle());
    c.Font()->SetHeight(-20);  // deselected before its old handle goes
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    c.Handle();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c.Font()->Handle());
  }
  EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);

  TCanvas c;
  c.SetHandle(dc);
  c.Handle();
  c.SetHandle(nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_THROW(c.Handle(), EInvalidOperation);  // a plain canvas has no context of its own
  DeleteDC(dc);
}

TEST(Canvas, FillFrameAndRectanglePixels) {
  TBitmap b(20, 20);
  TCanvas* c = b.Canvas();
  Fill(b, clWhite);
  c->Brush()->SetColor(clRed);
  c->FillRect(RECT{2, 2, 6, 6});
  EXPECT_EQ(PixelAt(b, 2, 2), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(b, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(b, 6, 6), RGB(255, 255, 255));  // right and bottom are exclusive

  c->Brush()->SetColor(clBlue);
  c->FrameRect(RECT{10, 10, 15, 15});
  EXPECT_EQ(PixelAt(b, 10, 10), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(b, 14, 12), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(b, 12, 12), RGB(255, 255, 255));

  c->Pen()->SetColor(clLime);
  c->Brush()->SetColor(clYellow);
  c->Rectangle(0, 10, 8, 18);
  EXPECT_EQ(PixelAt(b, 0, 10), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(b, 7, 17), RGB(0, 255, 0));
  EXPECT_EQ(PixelAt(b, 4, 14), RGB(255, 255, 0));

  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clBlack);
  c->Rectangle(RECT{2, 2, 6, 6});
  EXPECT_EQ(PixelAt(b, 2, 2), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(b, 3, 3), RGB(255, 0, 0));  // a clear brush leaves the inside
}

TEST(Canvas, PatternBrushFillsWithTheBitmap) {
  TBitmap pattern(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.Canvas()->SetPixels(x, y, (x + y) % 2 ? clBtnFace : clBtnHighlight);
  TBitmap b(12, 12);
  b.Canvas()->Brush()->SetBitmap(&pattern);
  b.Canvas()->FillRect(RECT{0, 0, 12, 12});
  EXPECT_EQ(PixelAt(b, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(PixelAt(b, 1, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(PixelAt(b, 11, 10), GetSysColor(COLOR_BTNFACE));
  b.Canvas()->Brush()->SetBitmap(nullptr);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(RECT{0, 0, 2, 2});
  EXPECT_EQ(PixelAt(b, 1, 0), RGB(255, 0, 0));
}

TEST(Canvas, LinesAndPixels) {
  TBitmap b(10, 10);
  TCanvas* c = b.Canvas();
  Fill(b, clWhite);
  c->Pen()->SetColor(clNavy);
  c->MoveTo(0, 3);
  c->LineTo(10, 3);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(b, x, 3), RGB(0, 0, 0x80)) << x;
  EXPECT_EQ(c->PenPos().x, 10);
  EXPECT_EQ(PixelAt(b, 0, 4), RGB(255, 255, 255));

  c->SetPixels(7, 8, clBtnFace);
  EXPECT_EQ(PixelAt(b, 7, 8), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(COLORREF(c->Pixels(7, 8)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(COLORREF(c->Pixels(0, 3)), RGB(0, 0, 0x80));

  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(0, 5);
  c->LineTo(10, 5);
  EXPECT_EQ(PixelAt(b, 2, 5), RGB(0, 0, 0));  // white xor white
}

TEST(Canvas, TextDrawsInTheFontColourWithinItsExtent) {
  TBitmap b(100, 40);
  TCanvas* c = b.Canvas();
  Fill(b, clWhite);
  c->Font()->SetName("Tahoma");
  c->Font()->SetHeight(-16);
  c->Font()->SetColor(clRed);
  SIZE s = c->TextExtent("HH");
  EXPECT_GT(s.cx, 0);
  EXPECT_GT(s.cy, 0);
  EXPECT_EQ(c->TextWidth("HH"), s.cx);
  EXPECT_EQ(c->TextHeight("HH"), s.cy);
  EXPECT_GT(c->TextWidth("HHHH"), s.cx);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(10, 5, "HH");
  int red = 0, outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) {
      COLORREF p = PixelAt(b, x, y);
      bool in = x >= 10 && x < 10 + s.cx && y >= 5 && y < 5 + s.cy;
      if (p == RGB(255, 0, 0)) in ? ++red : ++outside;
      if (!in && p != RGB(255, 255, 255)) ++outside;
    }
  EXPECT_GT(red, 10);
  EXPECT_EQ(outside, 0);
}

TEST(Canvas, TextRectClipsAndFillsWithTheBrush) {
  TBitmap b(60, 30);
  TCanvas* c = b.Canvas();
  Fill(b, clWhite);
  c->Font()->SetColor(clBlack);
  c->Font()->SetHeight(-20);
  c->Brush()->SetColor(clAqua);
  c->TextRect(RECT{5, 5, 15, 25}, 5, 5, "WWWWWW");
  EXPECT_EQ(PixelAt(b, 20, 10), RGB(255, 255, 255));  // nothing past the rectangle
  EXPECT_EQ(PixelAt(b, 4, 10), RGB(255, 255, 255));
  int black = 0, aqua = 0;
  for (int y = 5; y < 25; ++y)
    for (int x = 5; x < 15; ++x) {
      COLORREF p = PixelAt(b, x, y);
      if (p == RGB(0, 0, 0)) ++black;
      if (p == RGB(0, 255, 255)) ++aqua;
    }
  EXPECT_GT(black, 0);
  EXPECT_GT(aqua, 0);
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode) {
  TBitmap src(4, 2), dst(8, 4);
  Fill(src, clBlue);
  src.Canvas()->SetPixels(0, 0, clRed);
  Fill(dst, clWhite);
  dst.Canvas()->CopyRect(RECT{0, 0, 8, 4}, src.Canvas(), RECT{0, 0, 4, 2});
  EXPECT_EQ(PixelAt(dst, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(dst, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(dst, 2, 0), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(dst, 7, 3), RGB(0, 0, 255));
  dst.Canvas()->CopyMode = SRCINVERT;
  dst.Canvas()->CopyRect(RECT{0, 0, 8, 4}, src.Canvas(), RECT{0, 0, 4, 2});
  EXPECT_EQ(PixelAt(dst, 7, 3), RGB(0, 0, 0));
}

// ---- Drawing bitmaps ---------------------------------------------------------------------------

TEST(DrawBitmap, OpaqueAndStretched) {
  TBitmap pic(2, 2), target(10, 10);
  Fill(pic, clRed);
  pic.Canvas()->SetPixels(1, 1, clBlue);
  Fill(target, clWhite);
  target.Canvas()->Draw(3, 4, &pic);
  EXPECT_EQ(PixelAt(target, 3, 4), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(target, 4, 5), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(target, 5, 6), RGB(255, 255, 255));
  target.Canvas()->StretchDraw(RECT{0, 0, 4, 4}, &pic);
  EXPECT_EQ(PixelAt(target, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(target, 2, 2), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(target, 3, 3), RGB(0, 0, 255));
}

TEST(DrawBitmap, TransparentColourFixedOrFromTheBottomLeftPixel) {
  TBitmap pic(3, 2), target(5, 5);
  Fill(pic, clFuchsia);
  pic.Canvas()->SetPixels(1, 0, clGreen);
  pic.Canvas()->SetPixels(2, 1, TColor(RGB(255, 0, 254)));  // one step from the key: drawn
  Fill(target, clWhite);
  pic.SetTransparent(true);
  pic.SetTransparentColor(clFuchsia);
  EXPECT_EQ(pic.TransparentMode(), tmFixed);
  target.Canvas()->Draw(0, 0, &pic);
  EXPECT_EQ(PixelAt(target, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(target, 1, 0), RGB(0, 0x80, 0));
  EXPECT_EQ(PixelAt(target, 2, 1), RGB(255, 0, 254));
  EXPECT_EQ(PixelAt(target, 0, 1), RGB(255, 255, 255));

  // Automatic: the bottom-left pixel names the transparent colour.
  TBitmap glyph(2, 2);
  Fill(glyph, clBlack);
  glyph.Canvas()->SetPixels(0, 1, clYellow);
  glyph.Canvas()->SetPixels(1, 0, clYellow);
  glyph.SetTransparent(true);
  EXPECT_EQ(glyph.TransparentMode(), tmAuto);
  EXPECT_EQ(glyph.TransparentColor(), clYellow);
  Fill(target, clWhite);
  target.Canvas()->Draw(1, 1, &glyph);
  EXPECT_EQ(PixelAt(target, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(target, 2, 1), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(target, 1, 2), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(target, 2, 2), RGB(0, 0, 0));
}

// ---- Bitmap ------------------------------------------------------------------------------------

TEST(Bitmap, ScanLinesRunTopDown) {
  TBitmap b(3, 4);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.RowStride(), 12);  // 9 bytes rounded up to a DWORD
  uint8_t* row0 = static_cast<uint8_t*>(b.ScanLine(0));
  uint8_t* row1 = static_cast<uint8_t*>(b.ScanLine(1));
  EXPECT_EQ(row1 - row0, b.RowStride());
  row0[0] = 0x11, row0[1] = 0x22, row0[2] = 0x33;  // blue, green, red
  EXPECT_EQ(COLORREF(b.Canvas()->Pixels(0, 0)), RGB(0x33, 0x22, 0x11));
  b.Canvas()->SetPixels(2, 3, clRed);
  const uint8_t* last = static_cast<uint8_t*>(b.ScanLine(3)) + 6;
  EXPECT_EQ(last[2], 255);
  EXPECT_EQ(last[0], 0);
  EXPECT_THROW(b.ScanLine(4), EInvalidGraphic);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);
}

TEST(Bitmap, NewBitmapIsWhiteAndResizeKeepsTheOverlap) {
  TBitmap b(4, 4);
  EXPECT_EQ(PixelAt(b, 3, 3), RGB(255, 255, 255));
  b.Canvas()->SetPixels(1, 1, clRed);
  b.Canvas()->SetPixels(3, 3, clBlue);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.SetSize(6, 2);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(PixelAt(b, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(b, 5, 1), RGB(255, 255, 255));
  b.Canvas()->SetPixels(5, 0, clLime);  // the canvas follows the new picture
  EXPECT_EQ(PixelAt(b, 5, 0), RGB(0, 255, 0));
}

TEST(Bitmap, EmptyBitmapKeepsItsSides) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Handle(), nullptr);
  b.SetSize(5, 0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Height(), 0);
  EXPECT_THROW(b.ScanLine(0), EInvalidGraphic);
  b.SetSize(0, 5);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 5);
  TMemoryStream s;
  b.SaveToStream(&s);
  EXPECT_EQ(s.GetSize(), 0);
  TBitmap target(2, 2);
  target.Canvas()->Draw(0, 0, &b);  // draws nothing, raises nothing
}

TEST(Bitmap, PixelFormatChangeKeepsThePicture) {
  TBitmap b(5, 3);
  b.Canvas()->SetPixels(4, 2, TColor(RGB(10, 20, 30)));
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.RowStride(), 20);
  EXPECT_EQ(PixelAt(b, 4, 2), RGB(10, 20, 30));
  EXPECT_EQ(PixelAt(b, 0, 0), RGB(255, 255, 255));
  b.SetPixelFormat(pfDevice);  // held as 24 bits
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelAt(b, 4, 2), RGB(10, 20, 30));
  b.SetPixelFormat(pf8bit);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
}

TEST(Bitmap, AssignMakesADeepCopy) {
  TBitmap a(4, 3, pf32bit);
  a.Canvas()->SetPixels(2, 1, clTeal);
  a.SetTransparent(true);
  a.SetTransparentColor(clTeal);
  TBitmap b;
  b.Assign(&a);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), clTeal);
  EXPECT_EQ(PixelAt(b, 2, 1), RGB(0, 0x80, 0x80));
  EXPECT_NE(b.Handle(), a.Handle());
  a.Canvas()->SetPixels(2, 1, clRed);
  EXPECT_EQ(PixelAt(b, 2, 1), RGB(0, 0x80, 0x80));
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  TFont f;
  EXPECT_THROW(b.Assign(&f), EConvertError);
}

TEST(Bitmap, SetHandleTakesOverAnyBitmap) {
  HDC screen = GetDC(nullptr);
  HBITMAP ddb = CreateCompatibleBitmap(screen, 6, 5);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, ddb);
  HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
  RECT r{0, 0, 6, 5};
  FillRect(dc, &r, green);
  SetPixel(dc, 5, 4, RGB(200, 0, 0));
  DeleteObject(green);
  SelectObject(dc, old);
  DeleteDC(dc);

  TBitmap b;
  b.SetHandle(ddb);
  EXPECT_EQ(GetObjectType(ddb), 0u);  // owned, so freed once copied
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_EQ(PixelAt(b, 0, 0), RGB(0, 200, 0));
  EXPECT_EQ(PixelAt(b, 5, 4), RGB(200, 0, 0));
  b.SetHandle(b.Handle());  // its own handle: nothing to take over
  EXPECT_EQ(GetObjectType(b.Handle()), DWORD(OBJ_BITMAP));
  EXPECT_EQ(PixelAt(b, 5, 4), RGB(200, 0, 0));
}

TEST(Bitmap, OversizedPictureIsRefusedAndTheOldOneKept) {
  TBitmap b(3, 3);
  EXPECT_THROW(b.SetSize(0x10000, 2), EOutOfResources);
  EXPECT_THROW(b.SetSize(30000, 30000), EOutOfResources);
  EXPECT_EQ(b.Width(), 3);
  b.Canvas()->SetPixels(2, 2, clRed);
  EXPECT_EQ(PixelAt(b, 2, 2), RGB(255, 0, 0));
}

TEST(Bitmap, HandleCanBeSelectedElsewhereAfterCanvasUse) {
  TBitmap b(4, 4);
  Fill(b, clRed);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b.Handle());
  EXPECT_NE(old, nullptr);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  b.Canvas()->SetPixels(0, 0, clBlue);  // the canvas makes its context again
  EXPECT_EQ(PixelAt(b, 0, 0), RGB(0, 0, 255));
}

// ---- BMP data ----------------------------------------------------------------------------------

namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) { std::memcpy(v.data() + at, &x, 2); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { std::memcpy(v.data() + at, &x, 4); }

// Colour of test pixel (x, y): an index into the palette for up to 8 bits, 0xRRGGBB above.
uint32_t Sample(int bpp, int x, int y) {
  if (bpp <= 8) return uint32_t(x * 3 + y * 5) % (1u << bpp);
  return uint32_t(x * 40 + 7) | uint32_t(y * 60 + 3) << 8 | uint32_t(x * y + 100) << 16;
}

COLORREF PaletteColour(uint32_t index) { return RGB(index * 9 % 256, index * 17 % 256, index * 29 % 256); }

COLORREF Expected(int bpp, int x, int y) {
  uint32_t v = Sample(bpp, x, y);
  if (bpp <= 8) return PaletteColour(v);
  return RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF);
}

// A BMP file of the test pattern; height < 0 stores the rows top-down.
std::vector<uint8_t> MakeBmp(int bpp, int width, int height) {
  int rows = std::abs(height);
  int stride = ((width * bpp + 31) / 32) * 4;
  uint32_t colours = bpp <= 8 ? 1u << bpp : 0;
  uint32_t offset = 14 + 40 + colours * 4;
  std::vector<uint8_t> v(offset + size_t(stride) * rows);
  v[0] = 'B', v[1] = 'M';
  Put32(v, 2, uint32_t(v.size()));
  Put32(v, 10, offset);
  Put32(v, 14, 40);
  Put32(v, 18, uint32_t(width));
  Put32(v, 22, uint32_t(height));
  Put16(v, 26, 1);
  Put16(v, 28, uint16_t(bpp));
  Put32(v, 46, colours);
  for (uint32_t i = 0; i < colours; ++i) {
    COLORREF c = PaletteColour(i);
    v[54 + i * 4] = GetBValue(c), v[55 + i * 4] = GetGValue(c), v[56 + i * 4] = GetRValue(c);
  }
  for (int y = 0; y < rows; ++y) {
    uint8_t* row = v.data() + offset + size_t(stride) * (height > 0 ? rows - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      uint32_t s = Sample(bpp, x, y);
      if (bpp == 1) row[x / 8] |= uint8_t(s << (7 - x % 8));
      if (bpp == 4) row[x / 2] |= uint8_t(s << (x % 2 ? 0 : 4));
      if (bpp == 8) row[x] = uint8_t(s);
      if (bpp >= 24) {
        uint8_t* p = row + x * (bpp / 8);
        p[0] = uint8_t(s), p[1] = uint8_t(s >> 8), p[2] = uint8_t(s >> 16);
      }
    }
  }
  return v;
}

void ExpectPattern(TBitmap& b, int bpp, int width, int height) {
  ASSERT_EQ(b.Width(), width);
  ASSERT_EQ(b.Height(), height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      ASSERT_EQ(PixelAt(b, x, y), Expected(bpp, x, y)) << bpp << " " << x << "," << y;
}

}  // namespace

TEST(BmpLoad, EachBitDepthBottomUpAndTopDown) {
  for (int bpp : {1, 4, 8, 24, 32})
    for (int height : {5, -5}) {
      SCOPED_TRACE(testing::Message() << bpp << " bits, height " << height);
      TMemoryStream s = StreamOf(MakeBmp(bpp, 13, height));
      TBitmap b;
      b.LoadFromStream(&s);
      EXPECT_EQ(b.PixelFormat(), bpp == 32 ? pf32bit : pf24bit);
      ExpectPattern(b, bpp, 13, 5);
    }
}

TEST(BmpLoad, ReadsNoFurtherThanItsOwnData) {
  std::vector<uint8_t> v = MakeBmp(24, 3, 2);
  size_t size = v.size();
  v.insert(v.end(), {'t', 'a', 'i', 'l'});
  TMemoryStream s = StreamOf(v);
  TBitmap b;
  b.LoadFromStream(&s);
  EXPECT_EQ(s.GetPosition(), int64_t(size));
}

TEST(BmpLoad, ShortPaletteAndIndexesPastIt) {
  std::vector<uint8_t> v = MakeBmp(8, 4, 1);
  Put32(v, 46, 2);  // two colours used: every other index is past the table
  TMemoryStream s = StreamOf(v);
  TBitmap b;
  b.LoadFromStream(&s);
  // Indexes 0, 3, 6, 9: only 0 is in the table; the offset still points at the pixels.
  EXPECT_EQ(PixelAt(b, 0, 0), PaletteColour(0));
  EXPECT_EQ(PixelAt(b, 1, 0), RGB(0, 0, 0));
}

TEST(BmpLoad, StandardBitfieldsOf32Bits) {
  std::vector<uint8_t> v = MakeBmp(32, 3, 2);
  Put32(v, 30, BI_BITFIELDS);
  std::vector<uint8_t> masks(12);
  Put32(masks, 0, 0xFF0000), Put32(masks, 4, 0xFF00), Put32(masks, 8, 0xFF);
  v.insert(v.begin() + 54, masks.begin(), masks.end());
  Put32(v, 2, uint32_t(v.size()));
  Put32(v, 10, 54 + 12);
  TMemoryStream s = StreamOf(v);
  TBitmap b;
  b.LoadFromStream(&s);
  ExpectPattern(b, 32, 3, 2);

  Put32(v, 54, 0xFF00);  // red read from the green bits: refused rather than shown wrong
  TMemoryStream t = StreamOf(v);
  EXPECT_THROW(b.LoadFromStream(&t), EInvalidGraphic);
}

TEST(BmpLoad, EmptyStreamGivesAnEmptyBitmap) {
  TMemoryStream s;
  TBitmap b(3, 3);
  b.LoadFromStream(&s);
  EXPECT_TRUE(b.Empty());
}

TEST(BmpLoad, BadHeadersAreRefused) {
  const std::vector<uint8_t> good = MakeBmp(8, 6, 4);
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
  };
  const Case cases[] = {
      {"magic", [](auto& v) { v[1] = 'X'; }},
      {"file size past the data", [](auto& v) { Put32(v, 2, uint32_t(v.size() + 1)); }},
      {"file size below the headers", [](auto& v) { Put32(v, 2, 20); }},
      {"pixel offset past the data", [](auto& v) { Put32(v, 10, uint32_t(v.size() + 10)); }},
      {"pixels cut short", [](auto& v) { v.resize(v.size() - 3), Put32(v, 2, uint32_t(v.size())); }},
      {"core header", [](auto& v) { Put32(v, 14, 12); }},
      {"header size past the data", [](auto& v) { Put32(v, 14, 100000); }},
      {"zero width", [](auto& v) { Put32(v, 18, 0); }},
      {"negative width", [](auto& v) { Put32(v, 18, uint32_t(-6)); }},
      {"huge width", [](auto& v) { Put32(v, 18, 0x7FFFFFFF); }},
      {"zero height", [](auto& v) { Put32(v, 22, 0); }},
      {"huge height", [](auto& v) { Put32(v, 22, 0x80000000u); }},
      {"two planes", [](auto& v) { Put16(v, 26, 2); }},
      {"16 bits", [](auto& v) { Put16(v, 28, 16); }},
      {"2 bits", [](auto& v) { Put16(v, 28, 2); }},
      {"run-length coded", [](auto& v) { Put32(v, 30, BI_RLE8); }},
      {"palette larger than the depth", [](auto& v) { Put32(v, 46, 257); }},
      {"only the file header", [](auto& v) { v.resize(14), Put32(v, 2, 14); }},
      {"two bytes", [](auto& v) { v.resize(2); }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> v = good;
    c.spoil(v);
    TMemoryStream s = StreamOf(v);
    TBitmap b(2, 2);
    EXPECT_THROW(b.LoadFromStream(&s), EInvalidGraphic) << c.what;
    EXPECT_LE(s.GetPosition(), int64_t(v.size())) << c.what;
    EXPECT_EQ(b.Width(), 2) << c.what;  // the picture it had is kept
  }
}

// Damaged data is either read or refused, never read out of bounds.
TEST(BmpLoad, RandomDamageIsReadOrRefused) {
  const std::vector<uint8_t> good = MakeBmp(4, 9, 7);
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
  int refused = 0;
  for (int i = 0; i < 3000; ++i) {
    std::vector<uint8_t> v = good;
    for (int k = 0; k < 3; ++k) v[next() % 70] = uint8_t(next());  // the headers and the palette
    TMemoryStream s = StreamOf(v);
    TBitmap b;
    try {
      b.LoadFromStream(&s);
    } catch (const EInvalidGraphic&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
}

TEST(BmpSave, RoundTripAndFileHeader) {
  for (TPixelFormat f : {pf24bit, pf32bit}) {
    TMemoryStream in = StreamOf(MakeBmp(24, 5, 3));
    TBitmap a;
    a.LoadFromStream(&in);
    a.SetPixelFormat(f);
    TMemoryStream out;
    a.SaveToStream(&out);
    const std::vector<char>& bytes = out.Bytes();
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    uint32_t size;
    std::memcpy(&size, bytes.data() + 2, 4);
    EXPECT_EQ(size, bytes.size());
    out.SetPosition(0);
    TBitmap b;
    b.LoadFromStream(&out);
    EXPECT_EQ(b.PixelFormat(), f);
    ExpectPattern(b, 24, 5, 3);
  }
}

TEST(BmpLoad, MonochromeBitmapResource) {
  TBitmap b;
  b.LoadFromResourceName(GetModuleHandleA(nullptr), "TESTGLYPHS");
  ASSERT_EQ(b.Width(), 16);
  ASSERT_EQ(b.Height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(PixelAt(b, x, y), (x + 2 * y) % 5 == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
  EXPECT_THROW(b.LoadFromResourceName(GetModuleHandleA(nullptr), "NOSUCHBITMAP"), EInvalidGraphic);
}

// ---- Picture -----------------------------------------------------------------------------------

TEST(Picture, KeepsACopyOfTheGraphic) {
  TBitmap b(3, 2);
  b.Canvas()->SetPixels(1, 1, clRed);
  TPicture p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  p.SetGraphic(&b);
  EXPECT_EQ(changes, 1);
  ASSERT_NE(p.Graphic(), nullptr);
  EXPECT_NE(p.Graphic(), &b);
  EXPECT_EQ(p.Width(), 3);
  EXPECT_EQ(p.Height(), 2);
  EXPECT_EQ(PixelAt(*p.Bitmap(), 1, 1), RGB(255, 0, 0));
  p.Bitmap()->SetSize(5, 5);  // changes of the graphic reach the picture's listener
  EXPECT_EQ(changes, 2);

  TPicture q;
  q.Assign(&p);
  EXPECT_EQ(q.Width(), 5);
  q.Assign(nullptr);
  EXPECT_EQ(q.Graphic(), nullptr);
  EXPECT_EQ(q.Width(), 0);
}

TEST(Picture, FormDataRoundTripAndUnknownClass) {
  TPicture p;
  p.Bitmap()->SetSize(4, 3);
  p.Bitmap()->Canvas()->SetPixels(3, 2, clBlue);
  TMemoryStream data;
  p.WriteData(&data);
  EXPECT_EQ(data.Bytes()[0], 7);  // "TBitmap"
  data.SetPosition(0);
  TPicture q;
  q.ReadData(&data);
  ASSERT_TRUE(q.Graphic() && q.Graphic()->Is<TBitmap>());
  EXPECT_EQ(PixelAt(*q.Bitmap(), 3, 2), RGB(0, 0, 255));
  EXPECT_EQ(data.GetPosition(), data.GetSize());

  TMemoryStream unknown;
  unknown.WriteBuffer("\x05TIcon\0\0\0\0", 10);
  unknown.SetPosition(0);
  EXPECT_THROW(q.ReadData(&unknown), EInvalidGraphic);

  TMemoryStream lying;  // a byte count past the end of the data
  lying.WriteBuffer("\x07TBitmap\xFF\x00\x00\x00", 12);
  lying.SetPosition(0);
  EXPECT_THROW(q.ReadData(&lying), EReadError);
}
