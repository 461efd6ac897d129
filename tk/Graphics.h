// Colours, fonts, brushes, pens, canvases and bitmaps: the class library's drawing unit, thin over GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "tk/Classes.h"

class EInvalidGraphic : public Exception {
  using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
  using Exception::Exception;
};

// ---- Colours -----------------------------------------------------------------------------------

// 0x00BBGGRR for an explicit colour, 0xFF0000nn for the system colour with index nn.
using TColor = int32_t;

constexpr TColor clSystemColor = TColor(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The explicit colour of value: system colours through GetSysColor, others unchanged.
int32_t ColorToRGB(TColor value);
// The COLORREF a GDI call takes for value (system colours resolved, flag bits above RGB dropped).
COLORREF ColorToCOLORREF(TColor value);

// ---- Fonts, brushes, pens ----------------------------------------------------------------------

class TBitmap;

// A GDI object described by properties; its handle is made when first asked for and remade after
// every change. OnChange fires after each change, before the old handle is deleted, so a canvas
// that has it selected can let go of it first.
class TGraphicsObject : public TPersistent {
 public:
  TK_CLASS(TGraphicsObject, TPersistent)
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;
  ~TGraphicsObject() override;
  TNotifyEvent OnChange;
  bool HandleAllocated() const { return FHandle != nullptr; }

 protected:
  HGDIOBJ GetHandle();
  void Changed();
  // Copies the given fields from source when it is a T, else refuses as TPersistent does.
  template <class T, class... F>
  void AssignFields(TPersistent* source, F T::*... fields) {
    auto* other = ObjectAs<T>(source);
    if (!other) return TPersistent::Assign(source);
    T* self = static_cast<T*>(this);
    ((self->*fields = other->*fields), ...);
    Changed();
  }
  // Sets field and reports the change, when value differs.
  template <class T>
  void Update(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  virtual HGDIOBJ CreateHandle() = 0;

 private:
  HGDIOBJ FHandle = nullptr;
};

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // a set of TFontStyle bits

class TFont : public TGraphicsObject {
 public:
  TK_CLASS(TFont, TGraphicsObject)
  TFont();
  void Assign(TPersistent* source) override;

  std::string Name() const { return FLogFont.lfFaceName; }
  void SetName(const std::string& value);
  int Height() const { return FLogFont.lfHeight; }
  void SetHeight(int value);
  // Points at the screen's resolution; a positive size sets a negative (character) height.
  int Size() const;
  void SetSize(int value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TFontStyles Style() const;
  void SetStyle(TFontStyles value);
  BYTE Charset() const { return FLogFont.lfCharSet; }
  void SetCharset(BYTE value);
  int PixelsPerInch() const { return FPixelsPerInch; }

  HFONT Handle() { return static_cast<HFONT>(GetHandle()); }
  // Takes the description of font (a borrowed handle, never deleted by this object).
  void SetHandle(HFONT font);
  const LOGFONTA& LogFont() const { return FLogFont; }

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  LOGFONTA FLogFont{};
  TColor FColor = clWindowText;
  int FPixelsPerInch = 96;
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBrush : public TGraphicsObject {
 public:
  TK_CLASS(TBrush, TGraphicsObject)
  void Assign(TPersistent* source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle value);
  // A pattern to paint with instead of the colour (borrowed: the caller keeps the bitmap alive while
  // the brush may make its handle); nullptr goes back to colour and style.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* value);
  HBRUSH Handle() { return static_cast<HBRUSH>(GetHandle()); }

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of SetROP2, in the order of the toolkit's pen modes.
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};

class TPen : public TGraphicsObject {
 public:
  TK_CLASS(TPen, TGraphicsObject)
  void Assign(TPersistent* source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  int Width() const { return FWidth; }
  void SetWidth(int value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode value);
  HPEN Handle() { return static_cast<HPEN>(GetHandle()); }

 protected:
  HGDIOBJ CreateHandle() override;

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

// ---- Canvas ------------------------------------------------------------------------------------

class TGraphic;

// Draws on a device context with its own font, brush and pen, which it selects into the context when
// they are needed and takes out again when the context changes or the canvas goes. The plain canvas
// borrows its context (Handle set from outside) and never releases it; descendants that make their own
// context override CreateHandle.
class TCanvas : public TPersistent {
 public:
  TK_CLASS(TCanvas, TPersistent)
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The context with the font, brush and pen selected (made first by CreateHandle when there is none).
  HDC Handle();
  void SetHandle(HDC value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() { return FFont.get(); }
  TBrush* Brush() { return FBrush.get(); }
  TPen* Pen() { return FPen.get(); }
  void SetFont(TFont* value) { FFont->Assign(value); }
  void SetBrush(TBrush* value) { FBrush->Assign(value); }
  void SetPen(TPen* value) { FPen->Assign(value); }

  DWORD CopyMode = SRCCOPY;  // raster operation of CopyRect and of drawing graphics

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void DrawFocusRect(const RECT& r);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  POINT PenPos();
  // windows.h turns this name into TextOutA everywhere, so callers and definition still agree.
  void TextOut(int x, int y, const std::string& text);
  // Text at (x, y) clipped to r, with r filled by the brush unless the brush is clear.
  void TextRect(const RECT& r, int x, int y, const std::string& text);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const RECT& r, TGraphic* graphic);
  void CopyRect(const RECT& dest, TCanvas* canvas, const RECT& source);
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  RECT ClipRect();

 protected:
  // Makes a context for a canvas that owns one; the plain canvas has none to make.
  virtual void CreateHandle() {}

 private:
  enum : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  void RequiredState(unsigned state);
  void DeselectHandles();
  void FontChanged();
  void PenChanged();
  void BrushChanged();

  HDC FHandle = nullptr;
  unsigned FState = 0;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TPen> FPen;
  HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
};

// ---- Graphics ----------------------------------------------------------------------------------

class TGraphic : public TPersistent {
 public:
  TK_CLASS(TGraphic, TPersistent)
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  virtual bool Empty() const = 0;
  // Reads the graphic's data from the stream's position to its end.
  virtual void LoadFromStream(TStream* stream) = 0;
  virtual void SaveToStream(TStream* stream) = 0;
  // The form description's binary form: a 32-bit byte count, then that many bytes of LoadFromStream data.
  virtual void ReadData(TStream* stream);
  virtual void WriteData(TStream* stream);
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  virtual void Draw(TCanvas* canvas, const RECT& r) = 0;
  void Changed() {
    if (OnChange) OnChange(this);
  }

 private:
  bool FTransparent = false;
};

// pfDevice and the palette and 16-bit formats are held as 24 bits per pixel.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
// tmAuto: the transparent colour is the bottom-left pixel's; tmFixed: TransparentColor as set.
enum TTransparentMode { tmAuto, tmFixed };

// The canvas of a bitmap: a memory context of its own with the bitmap's DIB selected.
class TBitmapCanvas : public TCanvas {
 public:
  TK_CLASS(TBitmapCanvas, TCanvas)
  explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }
  // Takes the bitmap out of the context and deletes the context (made again when next needed).
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap* FBitmap;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

// A picture held in a top-down DIB section of 24 or 32 bits per pixel.
class TBitmap : public TGraphic {
 public:
  TK_CLASS(TBitmap, TGraphic)
  TBitmap() = default;
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  ~TBitmap() override;

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int value) override { SetSize(value, FHeight); }
  void SetHeight(int value) override { SetSize(FWidth, value); }
  // Keeps the picture's overlap with the new size; new pixels are white.
  void SetSize(int width, int height);
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the picture to the new format.
  void SetPixelFormat(TPixelFormat value);
  int BitsPerPixel() const { return FPixelFormat == pf32bit ? 32 : 24; }
  // Bytes from one scan line to the next (rows are DWORD aligned).
  int RowStride() const { return ((FWidth * BitsPerPixel() + 31) / 32) * 4; }
  // Row 0 is the top row; raises EInvalidGraphic for a row outside the picture.
  void* ScanLine(int row);

  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  // A bitmap resource (RT_BITMAP) of module instance.
  void LoadFromResourceName(HINSTANCE instance, const std::string& name);
  // Deep copy of a bitmap; other graphics are drawn into a 24-bit copy; nullptr empties.
  void Assign(TPersistent* source) override;

  // The DIB section; the canvas's context lets go of it first, so it can be selected elsewhere (a context
  // taken from Canvas() before is then no longer valid).
  HBITMAP Handle();
  // Takes over value (any bitmap handle, DDB or DIB): its picture is copied and the handle deleted.
  void SetHandle(HBITMAP value);
  TCanvas* Canvas();

  TColor TransparentColor();
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);

 protected:
  void Draw(TCanvas* canvas, const RECT& r) override;

 private:
  friend class TBitmapCanvas;
  // Replaces the DIB with a new one of that size and format, filled with white.
  void NewImage(int width, int height, TPixelFormat format);
  // Lets go of the current DIB (and the canvas's hold on it) and keeps this one.
  void TakeImage(HBITMAP handle, uint8_t* bits, int width, int height, TPixelFormat format);
  void LoadDIB(const uint8_t* data, size_t size, size_t bitsOffset, bool hasBitsOffset);

  HBITMAP FHandle = nullptr;
  uint8_t* FBits = nullptr;
  int FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pf24bit;
  std::unique_ptr<TBitmapCanvas> FCanvas;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// Holds one graphic of any class (owned).
class TPicture : public TPersistent {
 public:
  TK_CLASS(TPicture, TPersistent)
  TPicture() = default;
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Keeps a copy of value (nullptr empties the picture).
  void SetGraphic(TGraphic* value);
  // The picture as a bitmap: a non-bitmap graphic is replaced by an empty bitmap, as the toolkit does.
  TBitmap* Bitmap();
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }
  void Assign(TPersistent* source) override;
  // The form description's "Picture.Data": the graphic's class name as a length-prefixed short string,
  // then the graphic's own ReadData/WriteData form. An empty name means no graphic.
  void ReadData(TStream* stream);
  void WriteData(TStream* stream);
  TNotifyEvent OnChange;

 private:
  void Changed(TObject*) {
    if (OnChange) OnChange(this);
  }
  void Adopt(std::unique_ptr<TGraphic> graphic);
  std::unique_ptr<TGraphic> FGraphic;
};

// A new empty graphic of the toolkit's class by that name (TBitmap, TJPEGImage), or nullptr.
std::unique_ptr<TGraphic> CreateGraphicByClassName(const std::string& name);
