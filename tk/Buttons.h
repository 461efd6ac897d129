// Bitmap buttons: push buttons that show a glyph beside their caption.
#pragma once

#include <memory>

#include "tk/StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where the glyph and the caption go in a button of the given size: the layout, the margin from
// the glyph's edge (-1 centres the pair) and the spacing between them (-1 centres the caption in
// what is left).
void LayoutGlyphAndText(const RECT& Client, SIZE Glyph, SIZE Text, TButtonLayout Layout, int Margin,
                        int Spacing, POINT& GlyphPos, RECT& TextRect);

class TBitBtn : public TButton {
 public:
  TK_CLASS(TBitBtn, TButton)
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  // A strip of NumGlyphs images: up, disabled, down.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* value) { FGlyph->Assign(value); }
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return FMargin; }
  void SetMargin(int value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void DrawItem(const DRAWITEMSTRUCT& Item);
  void Changed();
  std::unique_ptr<TBitmap> FGlyph;
  std::unique_ptr<TCanvas> FCanvas;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1, FSpacing = 4;
};

// A flat button without a window of its own: its parent paints it and forwards the mouse to it.
// A button with a GroupIndex stays down once clicked, and lets go when another of its group is.
class TSpeedButton : public TGraphicControl {
 public:
  TK_CLASS(TSpeedButton, TGraphicControl)
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* value) { FGlyph->Assign(value); }
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return FMargin; }
  void SetMargin(int value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  int GroupIndex = 0;
  bool Down() const { return FDown; }
  void SetDown(bool value);
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1, FSpacing = 4;
  bool FDown = false;
  bool FPressed = false;  // the left button is held on it
};

// Makes this unit's classes readable from form descriptions.
void RegisterButtons();
