// Skinned push, bitmap and speed buttons.
#include "skin/ImgUtil.h"
#include "skin/RezIderData.h"
#include "skin/RezIderForm.h"
#include "skin/RezIderFormDraw.h"
#include "skin/WinSubClass.h"

namespace {

// Visual states and the Buttons frames that show them.
enum : int { bsNormal = 1, bsPressed = 2, bsDisabled = 3, bsHot = 4 };

// Glyph of a strip by visual state: up, disabled, down.
int GlyphForState(int state) { return state == bsDisabled ? 2 : state == bsPressed ? 3 : 1; }

// The size DrawText gives the caption in dc, or none for an empty one.
SIZE CaptionSize(HDC dc, const std::string& caption, RECT from) {
  if (caption.empty()) return SIZE{0, 0};
  DrawTextA(dc, caption.c_str(), int(caption.size()), &from, DT_CALCRECT);
  return SIZE{RectWidth(from), RectHeight(from)};
}

}  // namespace

TGlyphLayout LayoutSkinGlyph(SIZE Client, SIZE Glyph, SIZE Text, TButtonLayout Layout, int Margin,
                             int Spacing, bool SpeedButton) {
  TGlyphLayout out{};
  const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  // Across the layout axis both are centred, the odd pixel going after.
  if (horizontal) {
    out.Glyph.y = (Client.cy - Glyph.cy + 1) / 2;
    out.Text.y = (Client.cy - Text.cy + 1) / 2;
  } else {
    out.Glyph.x = (Client.cx - Glyph.cx + 1) / 2;
    out.Text.x = (Client.cx - Text.cx + 1) / 2;
  }
  if (Text.cx == 0 || Glyph.cx == 0) Spacing = 0;
  const int c = horizontal ? Client.cx : Client.cy;
  const int g = horizontal ? Glyph.cx : Glyph.cy;
  const int t = horizontal ? Text.cx : Text.cy;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (c - (g + t)) / 3;
      Spacing = Margin;
    } else {
      Margin = (c - (g + Spacing + t)) / 2 + (SpeedButton ? 1 : 0);
    }
  } else if (Spacing == -1) {
    Spacing = (c - (Margin + g) - t) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      out.Glyph.x = Margin;
      out.Text.x = Margin + g + Spacing;
      out.Alignment = DT_LEFT;
      break;
    case blGlyphRight:
      out.Glyph.x = c - Margin - g;
      out.Text.x = out.Glyph.x - Spacing - t;
      out.Alignment = DT_RIGHT;
      break;
    case blGlyphTop:
      out.Glyph.y = Margin;
      out.Text.y = Margin + g + Spacing;
      out.Alignment = DT_CENTER;
      break;
    case blGlyphBottom:
      out.Glyph.y = c - Margin - g;
      out.Text.y = out.Glyph.y - Spacing - t;
      out.Alignment = DT_CENTER;
      break;
  }
  return out;
}

// ---- Push buttons --------------------------------------------------------------------------------

TSkinButton::TSkinButton(TComponent* AOwner) : TSkinControl(AOwner), FBitmap(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

TDataSkinObject* TSkinButton::ButtonsElement() const {
  if (!FSkinData || !FSkinData->Buttons) return nullptr;
  TDataSkinObject* e = FSkinData->Buttons.get();
  return e->Image && !e->Image->Empty() ? e : nullptr;
}

bool TSkinButton::StateTextColour(int State, TColor& Colour) const {
  TDataSkinButton* e = FSkinData ? FSkinData->Buttons.get() : nullptr;
  if (!e) return false;
  switch (State) {
    case bsNormal:
      Colour = e->NormalColour2;
      return e->HasNormalColour2;
    case bsHot:
      Colour = e->MouseOverColour2;
      return e->HasMouseOverColour2;
    case bsPressed:
      Colour = e->PressedColour2;
      return e->HasPressedColour2;
  }
  return false;
}

bool TSkinButton::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      PaintClient(Message);
      return false;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return false;
    case CN_DRAWITEM:
      // An owner-drawn button asks for its face outside any paint too, when the focus comes or
      // goes and when the space bar pushes it: the skin's face goes there, never its own.
      PaintFrame(reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam)->hDC);
      Message.Result = TRUE;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The button's own procedure never sees the press: the click is ours to make on release.
      if (!FFocused) SetFocus(FHandle);
      FMouseState |= msPressed;
      PaintFrame(nullptr);
      return false;
  }
  return TSkinControl::BeforeDefault(Message);
}

void TSkinButton::AfterDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      if (Message.WParam == VK_SPACE) {
        FMouseState |= msPressed;
        Repaint();
      }
      return;
    case WM_KEYUP:
      // The key reached the button's own procedure, which clicks by itself.
      if (Message.WParam == VK_SPACE) {
        FMouseState &= ~msPressed;
        Repaint();
      }
      return;
    case WM_MOUSEMOVE:
      if (FMouseState & msHot) return;
      FMouseState |= msHot;
      if (FForm && FForm->FHotButton && FForm->FHotButton != this) FForm->FHotButton->MouseLeave();
      if (FForm && FForm->FHotButton == this) return;
      Repaint();
      if (FForm) FForm->FHotButton = this;
      return;
    case WM_LBUTTONUP:
      if (!(FMouseState & msPressed)) return;
      FMouseState &= ~msPressed;
      Repaint();
      Clicked();
      return;
    case CM_MOUSEENTER:
      if (!FEnabled) return;
      FMouseState |= msHot;
      Repaint();
      if (FForm) FForm->FHotButton = this;
      return;
    case CM_MOUSELEAVE:
      if (!FEnabled) return;
      FMouseState &= ~(msHot | msPressed);
      Repaint();
      if (FForm && FForm->FHotButton == this) FForm->FHotButton = nullptr;
      return;
  }
  TSkinControl::AfterDefault(Message);
}

void TSkinButton::Clicked() {
  if (FControl) {
    FControl->Click();
  } else if (FHandle) {
    PostMessageA(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FHandle), 0),
                 reinterpret_cast<LPARAM>(FHandle));
  }
}

void TSkinButton::MouseLeave() {
  if (FHandle) SendMessageA(FHandle, CM_MOUSELEAVE, 0, 0);
}

void TSkinButton::DrawControl(HDC DC, const RECT& R) {
  TDataSkinObject* e = ButtonsElement();
  if (!e) return;
  FFocused = GetFocus() == FHandle;
  FEnabled = (GetWindowLongA(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  FText = SkinWindowText(FHandle);
  if (FText.empty() && FControl) FText = FControl->Text();
  int state = FFocused ? bsHot : bsNormal;
  if (FMouseState & msPressed)
    state = bsPressed;
  else if (FMouseState & msHot)
    state = bsHot;
  if (!FEnabled) state = bsDisabled;

  RECT r{0, 0, RectWidth(R), RectHeight(R)};
  FBitmap->SetWidth(r.right);
  FBitmap->SetHeight(r.bottom);
  TCanvas* c = FBitmap->Canvas();
  FillBackground(c->Handle(), r);
  DrawElementFrame(c->Handle(), r, e, state, 5);
  SelectWindowFont(c, FHandle, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  TColor colour = FSkinData->ButtonText;
  if (state == bsDisabled) colour = clBtnShadow;
  TColor own;
  if (StateTextColour(state, own)) colour = own;
  c->Font()->SetColor(colour);
  DrawCaptionText(c, r, DT_CENTER, FEnabled, FText);
  BitBlt(DC, R.left, R.top, r.right, r.bottom, c->Handle(), 0, 0, SRCCOPY);
}

// ---- Bitmap buttons ------------------------------------------------------------------------------

void TSkinBitButton::DrawControl(HDC DC, const RECT& R) {
  auto* button = ObjectAs<TBitBtn>(FControl);
  TDataSkinObject* e = ButtonsElement();
  if (!button || !e) return;
  FFocused = GetFocus() == FHandle;
  FEnabled = (GetWindowLongA(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  FText = SkinWindowText(FHandle);
  int state = button->Focused() ? bsHot : bsNormal;
  if (FMouseState & msPressed)
    state = bsPressed;
  else if (FMouseState & msHot)
    state = bsHot;
  if (!button->Enabled()) state = bsDisabled;

  RECT r{0, 0, RectWidth(R), RectHeight(R)};
  FBitmap->SetWidth(r.right);
  FBitmap->SetHeight(r.bottom);
  TCanvas* c = FBitmap->Canvas();
  c->SetFont(button->Font());
  FillBackground(c->Handle(), r);
  DrawElementFrame(c->Handle(), r, e, state, e->FrameCount);

  RECT client = button->ClientRect();
  SIZE size{RectWidth(client), RectHeight(client)};
  TBitmap* glyph = button->Glyph();
  SIZE glyphSize{glyph->Width() / button->NumGlyphs(), glyph->Height()};
  std::string caption = button->Caption();
  SIZE textSize = CaptionSize(c->Handle(), caption, r);
  TGlyphLayout at = LayoutSkinGlyph(size, glyphSize, textSize, button->Layout(), button->Margin(),
                                    button->Spacing(), false);
  DrawGlyph(c, at.Glyph, button->NumGlyphs(), GlyphForState(state), glyph);

  RECT text{at.Text.x, at.Text.y, at.Text.x + textSize.cx, at.Text.y + textSize.cy};
  c->SetFont(button->Font());
  TColor colour;
  if (StateTextColour(state, colour)) c->Font()->SetColor(colour);
  if (!button->Enabled()) c->Font()->SetColor(clBtnShadow);
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  SkinDrawText(dc, AnsiToWide(caption), text, at.Alignment);
  BitBlt(DC, R.left, R.top, r.right, r.bottom, dc, 0, 0, SRCCOPY);
}

void TSkinBitButton::HookOwner(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas) {
  // A second hook would save this object's own method as the one to give back.
  if (FOldWindowProc.Assigned()) return;
  auto* control = ObjectAs<TControl>(Owner());
  if (!control) return;
  FSkinData = Data;
  FCanvas = Canvas;
  FGraphicControl = control;
  FForm = Form;
  TakeWindowProc(control);
  if (FForm) FForm->AddControl(this);
  FSkinState = scsSkinned;
}

void TSkinBitButton::DrawGlyph(TCanvas* Canvas, POINT P, int N, int G, TBitmap* Strip) {
  if (!Strip || Strip->Empty() || N < 1) return;
  // Only a strip of four has a glyph per state; shorter strips always show their first.
  int shown = N == 4 ? G : 1;
  int w = Strip->Width() / N, h = Strip->Height();
  if (w <= 0) return;
  TBitmap glyph(w, h);
  glyph.Canvas()->CopyRect(RECT{0, 0, w, h}, Strip->Canvas(), RECT{w * (shown - 1), 0, w * shown, h});
  if (G == 2) GrayBitmap(&glyph);
  glyph.SetTransparent(true);
  Canvas->Draw(P.x, P.y, &glyph);
}

// ---- Speed buttons -------------------------------------------------------------------------------

TSkinSpeedButton::~TSkinSpeedButton() = default;

TSpeedButton* TSkinSpeedButton::Button() const { return ObjectAs<TSpeedButton>(FGraphicControl); }

bool TSkinSpeedButton::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // The speed button's own painting never runs.
      if (Message.WParam && Button()) {
        TCanvas canvas;
        canvas.SetHandle(reinterpret_cast<HDC>(Message.WParam));
        DrawButton(&canvas, Button()->ClientRect());
        canvas.SetHandle(nullptr);
      }
      Message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallDefault(Message);
      FMouseState |= msPressed;
      PaintFrame(nullptr);
      return false;
  }
  return TSkinButton::BeforeDefault(Message);
}

void TSkinSpeedButton::AfterDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE:
      GiveBackWindowProc();
      return;
    case WM_KEYDOWN:
      if (Message.WParam == VK_SPACE) {
        FMouseState |= msPressed;
        PaintFrame(nullptr);
      }
      return;
    case WM_KEYUP:
    case WM_LBUTTONUP:
      if (Message.Msg == WM_KEYUP && Message.WParam != VK_SPACE) return;
      FMouseState &= ~msPressed;
      PaintFrame(nullptr);
      return;
    case CM_MOUSEENTER:
      FMouseState |= msHot;
      PaintFrame(nullptr);
      return;
    case CM_MOUSELEAVE:
      FMouseState &= ~(msHot | msPressed);
      if (Button() && Button()->Visible()) PaintFrame(nullptr);
      return;
  }
  TSkinButton::AfterDefault(Message);
}

void TSkinSpeedButton::PaintFrame(HDC) {
  TSpeedButton* button = Button();
  if (!button) return;
  RECT r = button->ClientRect();
  if (button->Canvas()->HandleAllocated()) {
    DrawButton(button->Canvas(), r);
    return;
  }
  // Outside its parent's paint the button's canvas has no context: the parent's window gives
  // one, its origin moved to the button and clipped to it, as the button's own canvas would.
  TWinControl* parent = button->Parent();
  if (!parent || !parent->HandleAllocated()) return;
  HWND wnd = parent->Handle();
  HDC dc = GetDC(wnd);
  if (!dc) return;
  int saved = SaveDC(dc);
  SetWindowOrgEx(dc, -button->Left(), -button->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, RectWidth(r), RectHeight(r));
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    try {
      DrawButton(&canvas, r);
    } catch (...) {
      // Painted again at the parent's next paint.
    }
    canvas.SetHandle(nullptr);
  }
  RestoreDC(dc, saved);
  ReleaseDC(wnd, dc);
}

void TSkinSpeedButton::DrawFace(const RECT& R, TDataSkinObject* Element, int Trans, int N, int K) {
  if (R.right < R.left || R.bottom < R.top || RectWidth(R) == 0 || RectHeight(R) == 0) return;
  std::unique_ptr<TBitmap> face =
      BuildNineSliceBitmap(R, Element->Image.get(), Element->Margins(), K, N, Element->Tile, 0);
  FillBackground(SharedBitmap->Canvas()->Handle(), R);
  if (Trans == 1) {
    face->SetTransparentColor(TColor(SkinKeyColour));
    face->SetTransparent(true);
  }
  SharedBitmap->Canvas()->Draw(0, 0, face.get());
}

void TSkinSpeedButton::DrawButton(TCanvas* Target, const RECT& R) {
  TSpeedButton* button = Button();
  TDataSkinObject* e = ButtonsElement();
  // The shared picture is gone once the engine is finalised.
  if (!button || !e || !SharedBitmap) return;
  int state = bsNormal;
  if (FMouseState & msPressed)
    state = bsPressed;
  else if (FMouseState & msHot)
    state = bsHot;
  if (!button->Enabled()) state = bsDisabled;
  if (button->Down()) state = bsPressed;

  RECT r{0, 0, RectWidth(R), RectHeight(R)};
  SharedBitmap->SetSize(r.right, r.bottom);
  TCanvas* c = SharedBitmap->Canvas();
  c->SetFont(button->Font());
  DrawFace(r, e, e->Trans, e->FrameCount, state);

  RECT client = button->ClientRect();
  SIZE size{RectWidth(client), RectHeight(client)};
  std::string caption = button->Caption();
  SIZE textSize = CaptionSize(c->Handle(), caption, RECT{0, 0, size.cx, size.cy});
  TBitmap* glyph = button->Glyph();
  if (glyph->Empty()) {
    DrawCaptionText(c, r, DT_CENTER, button->Enabled(), caption);
    Target->Draw(R.left, R.top, SharedBitmap);
    return;
  }
  SIZE glyphSize{glyph->Width() / button->NumGlyphs(), glyph->Height()};
  TGlyphLayout at =
      LayoutSkinGlyph(size, glyphSize, textSize, button->Layout(), button->Margin(), button->Spacing(), true);
  DrawGlyph(c, at.Glyph, button->NumGlyphs(), GlyphForState(state), glyph);

  RECT text{at.Text.x, at.Text.y, at.Text.x + textSize.cx, at.Text.y + textSize.cy};
  c->SetFont(button->Font());
  TColor colour;
  if (StateTextColour(state, colour)) c->Font()->SetColor(colour);
  if (!button->Enabled()) c->Font()->SetColor(clBtnShadow);
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  SkinDrawText(dc, AnsiToWide(caption), text, at.Alignment);
  Target->Draw(R.left, R.top, SharedBitmap);
}
