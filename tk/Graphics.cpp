#include "tk/Graphics.h"

#include <climits>
#include <cstring>
#include <vector>

#include "tk/Jpeg.h"

// ---- Colours -----------------------------------------------------------------------------------

int32_t ColorToRGB(TColor value) {
  if ((uint32_t(value) & 0xFF000000u) == 0xFF000000u) return int32_t(GetSysColor(int(value & 0xFF)));
  return value;
}

COLORREF ColorToCOLORREF(TColor value) { return COLORREF(ColorToRGB(value)) & 0x00FFFFFFu; }

// ---- Fonts, brushes, pens ----------------------------------------------------------------------

TGraphicsObject::~TGraphicsObject() {
  if (FHandle) DeleteObject(FHandle);
}

HGDIOBJ TGraphicsObject::GetHandle() {
  if (!FHandle) {
    FHandle = CreateHandle();
    if (!FHandle) throw EOutOfResources("Out of system resources");
  }
  return FHandle;
}

void TGraphicsObject::Changed() {
  // Listeners (a canvas) deselect the old handle before it is deleted.
  HGDIOBJ old = FHandle;
  FHandle = nullptr;
  if (OnChange) OnChange(this);
  if (old) DeleteObject(old);
}

namespace {
int ScreenPixelsPerInch() {
  static const int ppi = [] {
    HDC dc = GetDC(nullptr);
    int v = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
  }();
  return ppi;
}
}  // namespace

TFont::TFont() : FPixelsPerInch(ScreenPixelsPerInch()) {
  FLogFont.lfHeight = -11;
  FLogFont.lfWeight = FW_NORMAL;
  FLogFont.lfCharSet = DEFAULT_CHARSET;
  FLogFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  FLogFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  FLogFont.lfQuality = DEFAULT_QUALITY;
  FLogFont.lfPitchAndFamily = DEFAULT_PITCH;
  std::strcpy(FLogFont.lfFaceName, "MS Sans Serif");
}

void TFont::Assign(TPersistent* source) { AssignFields<TFont>(source, &TFont::FLogFont, &TFont::FColor); }

void TFont::SetName(const std::string& value) {
  if (value.empty() || value == FLogFont.lfFaceName) return;
  std::strncpy(FLogFont.lfFaceName, value.c_str(), LF_FACESIZE - 1);
  FLogFont.lfFaceName[LF_FACESIZE - 1] = 0;
  Changed();
}

void TFont::SetHeight(int value) { Update(FLogFont.lfHeight, LONG(value)); }

int TFont::Size() const { return -MulDiv(FLogFont.lfHeight, 72, FPixelsPerInch); }
void TFont::SetSize(int value) { SetHeight(-MulDiv(value, FPixelsPerInch, 72)); }

void TFont::SetColor(TColor value) { Update(FColor, value); }

TFontStyles TFont::Style() const {
  TFontStyles s = 0;
  if (FLogFont.lfWeight >= FW_BOLD) s |= fsBold;
  if (FLogFont.lfItalic) s |= fsItalic;
  if (FLogFont.lfUnderline) s |= fsUnderline;
  if (FLogFont.lfStrikeOut) s |= fsStrikeOut;
  return s;
}

void TFont::SetStyle(TFontStyles value) {
  if (value == Style()) return;
  FLogFont.lfWeight = (value & fsBold) ? FW_BOLD : FW_NORMAL;
  FLogFont.lfItalic = (value & fsItalic) ? 1 : 0;
  FLogFont.lfUnderline = (value & fsUnderline) ? 1 : 0;
  FLogFont.lfStrikeOut = (value & fsStrikeOut) ? 1 : 0;
  Changed();
}

void TFont::SetCharset(BYTE value) { Update(FLogFont.lfCharSet, value); }

void TFont::SetHandle(HFONT font) {
  LOGFONTA lf{};
  if (!font || GetObjectA(font, sizeof lf, &lf) == 0) throw EInvalidGraphicOperation("Invalid font handle");
  FLogFont = lf;
  Changed();
}

HGDIOBJ TFont::CreateHandle() { return CreateFontIndirectA(&FLogFont); }

void TBrush::Assign(TPersistent* source) {
  AssignFields<TBrush>(source, &TBrush::FColor, &TBrush::FStyle, &TBrush::FBitmap);
}

void TBrush::SetBitmap(TBitmap* value) { Update(FBitmap, value); }

void TBrush::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  if (FStyle == bsClear) FStyle = bsSolid;  // a colour given to a clear brush means it should paint
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) { Update(FStyle, value); }

HGDIOBJ TBrush::CreateHandle() {
  if (FBitmap && !FBitmap->Empty()) return CreatePatternBrush(FBitmap->Handle());
  LOGBRUSH lb{};
  lb.lbColor = ColorToCOLORREF(FColor);
  if (FStyle == bsSolid) {
    lb.lbStyle = BS_SOLID;
  } else if (FStyle == bsClear) {
    lb.lbStyle = BS_HOLLOW;
  } else {
    lb.lbStyle = BS_HATCHED;
    lb.lbHatch = ULONG_PTR(FStyle - bsHorizontal);  // HS_HORIZONTAL .. HS_DIAGCROSS in the same order
  }
  return CreateBrushIndirect(&lb);
}

void TPen::Assign(TPersistent* source) {
  AssignFields<TPen>(source, &TPen::FColor, &TPen::FWidth, &TPen::FStyle, &TPen::FMode);
}

void TPen::SetColor(TColor value) { Update(FColor, value); }

void TPen::SetWidth(int value) {
  if (value >= 0) Update(FWidth, value);
}

void TPen::SetStyle(TPenStyle value) { Update(FStyle, value); }

void TPen::SetMode(TPenMode value) { Update(FMode, value); }

HGDIOBJ TPen::CreateHandle() {
  // PS_SOLID .. PS_INSIDEFRAME are in the order of TPenStyle.
  LOGPEN lp{UINT(FStyle), POINT{FWidth, 0}, ColorToCOLORREF(FColor)};
  return CreatePenIndirect(&lp);
}

// ---- Canvas ------------------------------------------------------------------------------------

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FBrush(std::make_unique<TBrush>()), FPen(std::make_unique<TPen>()) {
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FBrush->OnChange = [this](TObject*) { BrushChanged(); };
  FPen->OnChange = [this](TObject*) { PenChanged(); };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle() {
  RequiredState(csHandleValid | csFontValid | csPenValid | csBrushValid);
  return FHandle;
}

void TCanvas::SetHandle(HDC value) {
  if (value == FHandle) return;
  DeselectHandles();
  FHandle = value;
  FState = value ? unsigned(csHandleValid) : 0u;
}

void TCanvas::RequiredState(unsigned state) {
  unsigned need = state & ~FState;
  if (!need) return;
  if (need & csHandleValid) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (need & csFontValid) {
    HGDIOBJ old = SelectObject(FHandle, FFont->Handle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(FHandle, ColorToCOLORREF(FFont->Color()));
  }
  if (need & csPenValid) {
    static const int modes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    HGDIOBJ old = SelectObject(FHandle, FPen->Handle());
    if (!FOldPen) FOldPen = old;
    SetROP2(FHandle, modes[FPen->Mode()]);
  }
  if (need & csBrushValid) {
    HGDIOBJ old = SelectObject(FHandle, FBrush->Handle());
    if (!FOldBrush) FOldBrush = old;
    SetBkColor(FHandle, ColorToCOLORREF(FBrush->Color()));
    SetBkMode(FHandle, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
  }
  FState |= need;
}

namespace {
// Puts back what the context held before the canvas selected its own object.
void Deselect(HDC dc, HGDIOBJ& old) {
  if (old) SelectObject(dc, old);
  old = nullptr;
}
}  // namespace

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  Deselect(FHandle, FOldFont);
  Deselect(FHandle, FOldPen);
  Deselect(FHandle, FOldBrush);
  FState &= csHandleValid;
}

void TCanvas::FontChanged() {
  if (FHandle) Deselect(FHandle, FOldFont);
  FState &= ~unsigned(csFontValid);
}

void TCanvas::PenChanged() {
  if (FHandle) Deselect(FHandle, FOldPen);
  FState &= ~unsigned(csPenValid);
}

void TCanvas::BrushChanged() {
  if (FHandle) Deselect(FHandle, FOldBrush);
  FState &= ~unsigned(csBrushValid);
}

void TCanvas::FillRect(const RECT& r) {
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(FHandle, &r, FBrush->Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(FHandle, &r, FBrush->Handle());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  RequiredState(csHandleValid | csBrushValid | csPenValid);
  ::Rectangle(FHandle, x1, y1, x2, y2);
}

void TCanvas::DrawFocusRect(const RECT& r) {
  RequiredState(csHandleValid | csBrushValid);
  ::DrawFocusRect(FHandle, &r);
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, x, y);
}

POINT TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ::TextOutA(FHandle, x, y, text.data(), int(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED | (FBrush->Style() != bsClear ? ETO_OPAQUE : 0);
  ExtTextOutA(FHandle, x, y, options, &r, text.data(), UINT(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE s{};
  GetTextExtentPoint32A(FHandle, text.data(), int(text.size()), &s);
  return s;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  RequiredState(csHandleValid);
  graphic->Draw(this, RECT{x, y, x + graphic->Width(), y + graphic->Height()});
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  RequiredState(csHandleValid);
  graphic->Draw(this, r);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* canvas, const RECT& source) {
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  HDC src = canvas->Handle();
  StretchBlt(FHandle, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src, source.left,
             source.top, source.right - source.left, source.bottom - source.top, CopyMode);
}

TColor TCanvas::Pixels(int x, int y) {
  RequiredState(csHandleValid);
  return TColor(GetPixel(FHandle, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  RequiredState(csHandleValid | csPenValid);
  SetPixel(FHandle, x, y, ColorToCOLORREF(color));
}

RECT TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT r{};
  GetClipBox(FHandle, &r);
  return r;
}

// ---- Graphics ----------------------------------------------------------------------------------

void TGraphic::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Changed();
}

void TGraphic::ReadData(TStream* stream) {
  int32_t size = 0;
  stream->ReadBuffer(&size, sizeof size);
  if (size < 0 || size > stream->GetSize() - stream->GetPosition()) throw EReadError("Stream read error");
  TMemoryStream data;
  if (size > 0) data.CopyFrom(stream, size);
  data.SetPosition(0);
  LoadFromStream(&data);
}

void TGraphic::WriteData(TStream* stream) {
  TMemoryStream data;
  SaveToStream(&data);
  int32_t size = int32_t(data.GetSize());
  stream->WriteBuffer(&size, sizeof size);
  stream->WriteBuffer(data.Memory(), size);
}

// ---- Bitmap ------------------------------------------------------------------------------------

namespace {
const char* const kInvalidBitmap = "Bitmap image is not valid";

struct DIB {
  HBITMAP handle = nullptr;
  uint8_t* bits = nullptr;
};

int Stride(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

// A top-down DIB section filled with white; no section at all for an empty size.
DIB CreateDIB(int width, int height, int bpp) {
  DIB d;
  if (width <= 0 || height <= 0) return d;
  // Sides past 65535 or more than 1 GB of pixels are refused before any size arithmetic can overflow.
  if (width > 0xFFFF || height > 0xFFFF || int64_t(width) * 4 * height > (int64_t(1) << 30))
    throw EOutOfResources("Out of system resources");
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = WORD(bpp);
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  d.handle = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!d.handle || !bits) throw EOutOfResources("Out of system resources");
  d.bits = static_cast<uint8_t*>(bits);
  std::memset(d.bits, 0xFF, size_t(Stride(width, bpp)) * size_t(height));
  return d;
}

TPixelFormat HeldFormat(TPixelFormat f) { return f == pf32bit ? pf32bit : pf24bit; }

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
}  // namespace

void TBitmapCanvas::CreateHandle() {
  FDC = CreateCompatibleDC(nullptr);
  if (!FDC) throw EOutOfResources("Out of system resources");
  if (FBitmap->FHandle) FOldBitmap = SelectObject(FDC, FBitmap->FHandle);
  SetHandle(FDC);
}

void TBitmapCanvas::FreeContext() {
  if (!FDC) return;
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(FDC, FOldBitmap);
  DeleteDC(FDC);
  FDC = nullptr;
  FOldBitmap = nullptr;
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  FPixelFormat = HeldFormat(format);
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  FCanvas.reset();
  if (FHandle) DeleteObject(FHandle);
}

void TBitmap::NewImage(int width, int height, TPixelFormat format) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  format = HeldFormat(format);
  DIB d = CreateDIB(width, height, format == pf32bit ? 32 : 24);
  TakeImage(d.handle, d.bits, width, height, format);
}

void TBitmap::TakeImage(HBITMAP handle, uint8_t* bits, int width, int height, TPixelFormat format) {
  if (FCanvas) FCanvas->FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = handle;
  FBits = bits;
  FWidth = width;
  FHeight = height;
  FPixelFormat = format;
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  if (FBits) GdiFlush();
  HBITMAP oldHandle = FHandle;
  uint8_t* oldBits = FBits;
  int oldW = FWidth, oldH = FHeight, oldStride = RowStride();
  // Keep the old section alive until its overlap is copied.
  FHandle = nullptr;
  try {
    NewImage(width, height, FPixelFormat);
  } catch (...) {
    FHandle = oldHandle;
    throw;
  }
  if (oldBits && FBits) {
    int bytes = std::min(oldW, FWidth) * (BitsPerPixel() / 8);
    for (int y = 0; y < std::min(oldH, FHeight); ++y)
      std::memcpy(FBits + size_t(y) * RowStride(), oldBits + size_t(y) * oldStride, size_t(bytes));
  }
  if (oldHandle) DeleteObject(oldHandle);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  value = HeldFormat(value);
  if (value == FPixelFormat) return;
  if (Empty()) {
    FPixelFormat = value;
    Changed();
    return;
  }
  GdiFlush();
  int fromBpp = BitsPerPixel() / 8, toBpp = value == pf32bit ? 4 : 3;
  DIB d = CreateDIB(FWidth, FHeight, toBpp * 8);
  int fromStride = RowStride(), toStride = Stride(FWidth, toBpp * 8);
  for (int y = 0; y < FHeight; ++y) {
    const uint8_t* s = FBits + size_t(y) * fromStride;
    uint8_t* t = d.bits + size_t(y) * toStride;
    for (int x = 0; x < FWidth; ++x, s += fromBpp, t += toBpp) {
      t[0] = s[0], t[1] = s[1], t[2] = s[2];
      if (toBpp == 4) t[3] = 0;
    }
  }
  TakeImage(d.handle, d.bits, FWidth, FHeight, value);
  Changed();
}

void* TBitmap::ScanLine(int row) {
  if (!FBits || row < 0 || row >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  GdiFlush();  // drawing through the canvas may still be queued
  return FBits + size_t(row) * RowStride();
}

HBITMAP TBitmap::Handle() {
  // A DIB section can be selected into one context at a time: the canvas lets go of it first.
  if (FCanvas) FCanvas->FreeContext();
  return FHandle;
}

void TBitmap::SetHandle(HBITMAP value) {
  if (value && value == FHandle) return;
  if (!value) {
    NewImage(0, 0, FPixelFormat);
    FWidth = FHeight = 0;
    Changed();
    return;
  }
  BITMAP bm{};
  if (GetObjectA(value, sizeof bm, &bm) == 0) throw EInvalidGraphic(kInvalidBitmap);
  TPixelFormat format = bm.bmBitsPixel == 32 ? pf32bit : pf24bit;
  int height = std::abs(bm.bmHeight);
  DIB d = CreateDIB(bm.bmWidth, height, format == pf32bit ? 32 : 24);
  if (d.bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = WORD(format == pf32bit ? 32 : 24);
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    int rows = GetDIBits(dc, value, 0, UINT(height), d.bits, &bi, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (rows != height) {
      DeleteObject(d.handle);
      throw EInvalidGraphic(kInvalidBitmap);
    }
  }
  DeleteObject(value);
  TakeImage(d.handle, d.bits, bm.bmWidth, height, format);
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  const uint8_t* p = static_cast<uint8_t*>(ScanLine(FHeight - 1));
  return TColor(RGB(p[2], p[1], p[0]));
}

void TBitmap::SetTransparentColor(TColor value) {
  FTransparentColor = value;
  FTransparentMode = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  if (value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(TransparentColor());
}

void TBitmap::Draw(TCanvas* canvas, const RECT& r) {
  if (Empty()) return;
  HDC dst = canvas->Handle();
  HDC src = Canvas()->Handle();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (Transparent()) {
    TransparentBlt(dst, r.left, r.top, w, h, src, 0, 0, FWidth, FHeight, ColorToCOLORREF(TransparentColor()));
  } else {
    // Colours are never blended when stretching, so key-coloured pixels stay exact.
    SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, r.left, r.top, w, h, src, 0, 0, FWidth, FHeight, canvas->CopyMode);
  }
}

void TBitmap::Assign(TPersistent* source) {
  if (source == this) return;
  if (!source) {
    NewImage(0, 0, FPixelFormat);
    Changed();
    return;
  }
  if (auto* b = ObjectAs<TBitmap>(source)) {
    NewImage(b->FWidth, b->FHeight, b->FPixelFormat);
    FWidth = b->FWidth;  // an empty bitmap keeps its one non-zero side
    FHeight = b->FHeight;
    if (FBits) {
      GdiFlush();
      std::memcpy(FBits, b->FBits, size_t(RowStride()) * size_t(FHeight));
    }
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    SetTransparent(b->Transparent());
    Changed();
    return;
  }
  if (auto* g = ObjectAs<TGraphic>(source)) {
    NewImage(g->Width(), g->Height(), pf24bit);
    if (FBits) Canvas()->Draw(0, 0, g);
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::LoadFromStream(TStream* stream) {
  int64_t avail = stream->GetSize() - stream->GetPosition();
  if (avail <= 0) {  // nothing stored: an empty bitmap
    NewImage(0, 0, FPixelFormat);
    Changed();
    return;
  }
  BITMAPFILEHEADER fh{};
  if (avail < int64_t(sizeof fh)) throw EInvalidGraphic(kInvalidBitmap);
  stream->ReadBuffer(&fh, sizeof fh);
  int64_t total = fh.bfSize ? int64_t(fh.bfSize) : avail;
  if (fh.bfType != 0x4D42 || total > avail || total < int64_t(sizeof fh + sizeof(BITMAPINFOHEADER)) ||
      fh.bfOffBits < sizeof fh || fh.bfOffBits > total)
    throw EInvalidGraphic(kInvalidBitmap);
  std::vector<uint8_t> data(size_t(total - int64_t(sizeof fh)));
  stream->ReadBuffer(data.data(), int32_t(data.size()));
  LoadDIB(data.data(), data.size(), fh.bfOffBits - sizeof fh, true);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
  HRSRC res = FindResourceA(instance, name.c_str(), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  HGLOBAL mem = res ? LoadResource(instance, res) : nullptr;
  const void* p = mem ? LockResource(mem) : nullptr;
  if (!p) throw EInvalidGraphic("Resource " + name + " not found");
  LoadDIB(static_cast<const uint8_t*>(p), SizeofResource(instance, res), 0, false);
}

// Reads a packed DIB (info header, colour table, pixels) of 1, 4, 8, 24 or 32 bits per pixel. Every
// offset and count is checked against size before it is used.
void TBitmap::LoadDIB(const uint8_t* data, size_t size, size_t bitsOffset, bool hasBitsOffset) {
  if (size < sizeof(BITMAPINFOHEADER)) throw EInvalidGraphic(kInvalidBitmap);
  BITMAPINFOHEADER h;
  std::memcpy(&h, data, sizeof h);
  if (h.biSize < sizeof h || h.biSize > size || h.biWidth <= 0 || h.biWidth > 0x8000 || h.biHeight == 0 ||
      h.biHeight < -0x8000 || h.biHeight > 0x8000 || h.biPlanes != 1)
    throw EInvalidGraphic(kInvalidBitmap);
  int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) throw EInvalidGraphic(kInvalidBitmap);
  size_t tableStart = h.biSize;
  if (h.biCompression == BI_BITFIELDS && bpp == 32) {
    // Only the usual 8-8-8 layout: anything else would need scaling per channel.
    size_t masks = h.biSize >= 52 ? sizeof h : h.biSize;
    if (masks + 12 > size) throw EInvalidGraphic(kInvalidBitmap);
    if (ReadU32(data + masks) != 0xFF0000 || ReadU32(data + masks + 4) != 0xFF00 ||
        ReadU32(data + masks + 8) != 0xFF)
      throw EInvalidGraphic(kInvalidBitmap);
    if (h.biSize < 52) tableStart += 12;
  } else if (h.biCompression != BI_RGB) {
    throw EInvalidGraphic(kInvalidBitmap);
  }
  uint32_t colours = 0;
  if (bpp <= 8) {
    colours = h.biClrUsed ? h.biClrUsed : 1u << bpp;
    if (colours > (1u << bpp)) throw EInvalidGraphic(kInvalidBitmap);
    if (tableStart + size_t(colours) * 4 > size) throw EInvalidGraphic(kInvalidBitmap);
  }
  if (!hasBitsOffset) bitsOffset = tableStart + size_t(colours) * 4;
  int width = h.biWidth, height = std::abs(h.biHeight);
  size_t srcStride = size_t(Stride(width, bpp));
  if (bitsOffset > size || srcStride * size_t(height) > size - bitsOffset)
    throw EInvalidGraphic(kInvalidBitmap);

  TPixelFormat format = bpp == 32 ? pf32bit : pf24bit;
  DIB d = CreateDIB(width, height, bpp == 32 ? 32 : 24);
  const uint8_t* table = data + tableStart;
  int toStride = Stride(width, bpp == 32 ? 32 : 24);
  for (int y = 0; y < height; ++y) {
    const uint8_t* s = data + bitsOffset + srcStride * size_t(h.biHeight > 0 ? height - 1 - y : y);
    uint8_t* t = d.bits + size_t(y) * toStride;
    if (bpp >= 24) {
      std::memcpy(t, s, size_t(width) * size_t(bpp / 8));
      continue;
    }
    for (int x = 0; x < width; ++x, t += 3) {
      unsigned index;
      if (bpp == 8)
        index = s[x];
      else if (bpp == 4)
        index = (s[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
      else
        index = (s[x / 8] >> (7 - x % 8)) & 1;
      if (index < colours) {  // an index past the table is black
        t[0] = table[index * 4], t[1] = table[index * 4 + 1], t[2] = table[index * 4 + 2];
      } else {
        t[0] = t[1] = t[2] = 0;
      }
    }
  }
  TakeImage(d.handle, d.bits, width, height, format);
  Changed();
}

void TBitmap::SaveToStream(TStream* stream) {
  if (Empty()) return;
  GdiFlush();
  int stride = RowStride();
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = FWidth;
  h.biHeight = FHeight;  // rows stored bottom-up, as most readers expect
  h.biPlanes = 1;
  h.biBitCount = WORD(BitsPerPixel());
  h.biCompression = BI_RGB;
  h.biSizeImage = DWORD(stride) * DWORD(FHeight);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof h;
  fh.bfSize = fh.bfOffBits + h.biSizeImage;
  stream->WriteBuffer(&fh, sizeof fh);
  stream->WriteBuffer(&h, sizeof h);
  for (int y = FHeight - 1; y >= 0; --y) stream->WriteBuffer(FBits + size_t(y) * stride, stride);
}

// ---- Picture -----------------------------------------------------------------------------------

TPicture::~TPicture() = default;

std::unique_ptr<TGraphic> CreateGraphicByClassName(const std::string& name) {
  if (_stricmp(name.c_str(), "TBitmap") == 0) return std::make_unique<TBitmap>();
  if (_stricmp(name.c_str(), "TJPEGImage") == 0) return std::make_unique<TJPEGImage>();
  return nullptr;
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic) FGraphic->OnChange = [this](TObject* sender) { Changed(sender); };
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* value) {
  if (value == FGraphic.get() && value) return;
  if (!value) return Adopt(nullptr);
  std::unique_ptr<TGraphic> copy = CreateGraphicByClassName(value->ClassName());
  if (!copy) throw EInvalidGraphic("Unknown picture format " + value->ClassName());
  copy->Assign(value);
  Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (!ObjectAs<TBitmap>(FGraphic.get())) Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* source) {
  if (!source) return SetGraphic(nullptr);
  if (auto* p = ObjectAs<TPicture>(source)) return SetGraphic(p->Graphic());
  if (auto* g = ObjectAs<TGraphic>(source)) return SetGraphic(g);
  TPersistent::Assign(source);
}

void TPicture::ReadData(TStream* stream) {
  uint8_t length = 0;
  stream->ReadBuffer(&length, 1);
  std::string name(length, '\0');
  stream->ReadBuffer(name.data(), length);
  if (name.empty()) return Adopt(nullptr);
  std::unique_ptr<TGraphic> graphic = CreateGraphicByClassName(name);
  if (!graphic) throw EInvalidGraphic("Unknown picture format " + name);
  graphic->ReadData(stream);
  Adopt(std::move(graphic));
}

void TPicture::WriteData(TStream* stream) {
  std::string name = FGraphic ? FGraphic->ClassName() : std::string();
  uint8_t length = uint8_t(name.size());
  stream->WriteBuffer(&length, 1);
  stream->WriteBuffer(name.data(), length);
  if (FGraphic) FGraphic->WriteData(stream);
}
