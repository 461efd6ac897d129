#include "tk/Buttons.h"

#include "tk/FormReader.h"

#include <algorithm>

void LayoutGlyphAndText(const RECT& Client, SIZE Glyph, SIZE Text, TButtonLayout Layout, int Margin,
                        int Spacing, POINT& GlyphPos, RECT& TextRect) {
  int cw = Client.right - Client.left, ch = Client.bottom - Client.top;
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  int avail = horizontal ? cw : ch;
  int glyphLen = horizontal ? Glyph.cx : Glyph.cy;
  int textLen = horizontal ? Text.cx : Text.cy;
  if (glyphLen == 0 || textLen == 0) Spacing = 0;
  if (Margin == -1) {
    if (Spacing == -1) {
      int total = glyphLen + textLen;
      Margin = (avail - total) / 3;
      Spacing = Margin;
    } else {
      Margin = (avail - (glyphLen + Spacing + textLen)) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (avail - Margin - glyphLen - textLen) / 2;
  }
  // Positions along the layout axis, measured from the glyph's side.
  int glyphAt = Margin, textAt = Margin + glyphLen + Spacing;
  if (Layout == blGlyphRight || Layout == blGlyphBottom) {
    glyphAt = avail - Margin - glyphLen;
    textAt = glyphAt - Spacing - textLen;
  }
  if (horizontal) {
    GlyphPos = {Client.left + glyphAt, Client.top + (ch - Glyph.cy) / 2};
    TextRect = {Client.left + textAt, Client.top + (ch - Text.cy) / 2, 0, 0};
  } else {
    GlyphPos = {Client.left + (cw - Glyph.cx) / 2, Client.top + glyphAt};
    TextRect = {Client.left + (cw - Text.cx) / 2, Client.top + textAt, 0, 0};
  }
  TextRect.right = TextRect.left + Text.cx;
  TextRect.bottom = TextRect.top + Text.cy;
}

TBitBtn::TBitBtn(TComponent* AOwner)
    : TButton(AOwner), FGlyph(std::make_unique<TBitmap>()), FCanvas(std::make_unique<TCanvas>()) {
  FGlyph->OnChange = [this](TObject*) { Changed(); };
}

TBitBtn::~TBitBtn() { DestroyHandle(); }

void TBitBtn::Changed() {
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
}

void TBitBtn::SetNumGlyphs(int value) {
  FNumGlyphs = std::clamp(value, 1, 4);
  Changed();
}
void TBitBtn::SetLayout(TButtonLayout value) {
  FLayout = value;
  Changed();
}
void TBitBtn::SetMargin(int value) {
  FMargin = value;
  Changed();
}
void TBitBtn::SetSpacing(int value) {
  FSpacing = value;
  Changed();
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  // The button draws its glyph itself.
  Params.Style = (Params.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = TRUE;
      return;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click as its own notification: make it a press.
      Message.Msg = WM_LBUTTONDOWN;
      break;
  }
  TButton::WndProc(Message);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& Item) {
  bool down = (Item.itemState & ODS_SELECTED) != 0;
  bool disabled = (Item.itemState & ODS_DISABLED) != 0;
  FCanvas->SetFont(Font());
  PaintOnCanvas(FCanvas.get(), Item.hDC, [&] {
    RECT r = Item.rcItem;
    HDC dc = FCanvas->Handle();
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    std::string caption = Caption();
    RECT calc{0, 0, 0, 0};
    DrawTextA(dc, caption.c_str(), int(caption.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
    SIZE glyph{0, 0};
    if (!FGlyph->Empty()) glyph = {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
    RECT client = Item.rcItem;
    InflateRect(&client, -2, -2);
    if (down) OffsetRect(&client, 1, 1);
    POINT at;
    RECT textRect;
    LayoutGlyphAndText(client, glyph, {calc.right, calc.bottom}, FLayout, FMargin, FSpacing, at, textRect);
    if (glyph.cx > 0) {
      int index = disabled && FNumGlyphs > 1 ? 1 : down && FNumGlyphs > 2 ? 2 : 0;
      RECT src{index * glyph.cx, 0, (index + 1) * glyph.cx, glyph.cy};
      // The glyph's bottom-left pixel colour is transparent, as the toolkit's glyphs are drawn.
      COLORREF key = GetPixel(FGlyph->Canvas()->Handle(), src.left, glyph.cy - 1);
      TransparentBlt(dc, at.x, at.y, glyph.cx, glyph.cy, FGlyph->Canvas()->Handle(), src.left, 0, glyph.cx,
                     glyph.cy, key);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, caption.c_str(), int(caption.size()), &textRect, DT_SINGLELINE | DT_NOCLIP);
    if (Item.itemState & ODS_FOCUS) {
      RECT f = Item.rcItem;
      InflateRect(&f, -4, -4);
      DrawFocusRect(dc, &f);
    }
  });
}

// ---- Speed buttons ------------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FWidth = 23;
  FHeight = 22;
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetNumGlyphs(int value) {
  FNumGlyphs = std::clamp(value, 1, 4);
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout value) {
  FLayout = value;
  Invalidate();
}
void TSpeedButton::SetMargin(int value) {
  FMargin = value;
  Invalidate();
}
void TSpeedButton::SetSpacing(int value) {
  FSpacing = value;
  Invalidate();
}

void TSpeedButton::SetDown(bool value) {
  if (FDown == value) return;
  FDown = value;
  if (value && GroupIndex != 0 && FParent)
    for (int i = 0; i < FParent->ControlCount(); ++i)
      if (auto* other = ObjectAs<TSpeedButton>(FParent->Controls(i));
          other && other != this && other->GroupIndex == GroupIndex)
        other->SetDown(false);
  Invalidate();
}

void TSpeedButton::Click() {
  if (GroupIndex != 0) SetDown(true);
  TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FEnabled) {
    FPressed = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FPressed) {
    FPressed = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::Paint() {
  HDC dc = FCanvas->Handle();
  RECT r = ClientRect();
  bool down = FDown || FPressed;
  DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  std::string caption = Caption();
  RECT calc{0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), int(caption.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
  SIZE glyph{0, 0};
  if (!FGlyph->Empty()) glyph = {FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
  POINT at;
  RECT textRect;
  LayoutGlyphAndText(r, glyph, {calc.right, calc.bottom}, FLayout, FMargin, FSpacing, at, textRect);
  if (glyph.cx > 0) {
    int index = !FEnabled && FNumGlyphs > 1 ? 1 : down && FNumGlyphs > 2 ? 2 : 0;
    HDC src = FGlyph->Canvas()->Handle();
    COLORREF key = GetPixel(src, index * glyph.cx, glyph.cy - 1);
    TransparentBlt(dc, at.x, at.y, glyph.cx, glyph.cy, src, index * glyph.cx, 0, glyph.cx, glyph.cy, key);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, FEnabled ? ColorToCOLORREF(Font()->Color()) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, caption.c_str(), int(caption.size()), &textRect, DT_SINGLELINE | DT_NOCLIP);
}

// ---- Form descriptions --------------------------------------------------------------------------

void RegisterButtons() {
  RegisterComponentClass<TBitBtn>();
  Published<TBitBtn>()
      .Object("Glyph", [](TBitBtn* b) -> TPersistent* { return b->Glyph(); })
      .Property("NumGlyphs", &TBitBtn::SetNumGlyphs)
      .Property("Layout", &TBitBtn::SetLayout,
                {{"blGlyphLeft", blGlyphLeft},
                 {"blGlyphRight", blGlyphRight},
                 {"blGlyphTop", blGlyphTop},
                 {"blGlyphBottom", blGlyphBottom}})
      .Property("Margin", &TBitBtn::SetMargin)
      .Property("Spacing", &TBitBtn::SetSpacing);
  RegisterComponentClass<TSpeedButton>();
  Published<TSpeedButton>()
      .Object("Glyph", [](TSpeedButton* b) -> TPersistent* { return b->Glyph(); })
      .Property("NumGlyphs", &TSpeedButton::SetNumGlyphs)
      .Property("Layout", &TSpeedButton::SetLayout,
                {{"blGlyphLeft", blGlyphLeft},
                 {"blGlyphRight", blGlyphRight},
                 {"blGlyphTop", blGlyphTop},
                 {"blGlyphBottom", blGlyphBottom}})
      .Property("Margin", &TSpeedButton::SetMargin)
      .Property("Spacing", &TSpeedButton::SetSpacing)
      .Property("GroupIndex", &TSpeedButton::GroupIndex)
      .Property("Down", &TSpeedButton::SetDown);
}
