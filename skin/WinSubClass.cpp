#include "skin/WinSubClass.h"

#include <commctrl.h>

#include "skin/RezIderData.h"
#include "skin/RezIderForm.h"
#include "skin/RezIderFormDraw.h"
#include "tk/ComCtrls.h"
#include "tk/Forms.h"

namespace {

// A canvas on a borrowed context for the length of one drawing.
struct TBorrowedCanvas {
  TCanvas Canvas;
  explicit TBorrowedCanvas(HDC dc) { Canvas.SetHandle(dc); }
  ~TBorrowedCanvas() { Canvas.SetHandle(nullptr); }
};

// Frame K of N of a horizontal strip stretched over R of the target, key colour left out.
void DrawStripFrameOn(TCanvas* target, const RECT& r, int n, int k, TBitmap* strip) {
  if (r.right < r.left || r.bottom < r.top) return;
  if (!strip || strip->Empty() || RectWidth(r) == 0 || RectHeight(r) == 0) return;
  TStripFrame f = StripFrame(strip, k, n, false);
  TBitmap frame(RectWidth(r), RectHeight(r));
  HDC dc = frame.Canvas()->Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  frame.Canvas()->CopyRect(RECT{0, 0, RectWidth(r), RectHeight(r)}, strip->Canvas(),
                           RECT{f.x0, 0, f.x0 + f.fw, f.fh});
  frame.SetTransparentColor(TColor(SkinKeyColour));
  frame.SetTransparent(true);
  target->Draw(r.left, r.top, &frame);
}

}  // namespace

std::string SkinWindowText(HWND Window) {
  char text[1000] = {};
  SendMessageA(Window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  text[sizeof text - 1] = 0;
  return text;
}

void SelectWindowFont(TCanvas* Canvas, HWND Window, HFONT Fallback) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(Window, WM_GETFONT, 0, 0));
  if (!font || GetObjectType(font) != OBJ_FONT) font = Fallback;
  if (font) Canvas->Font()->SetHandle(font);
}

// ---- The form's list of skinned controls ---------------------------------------------------------

TSkinControlHost::~TSkinControlHost() { FreeControls(); }

bool TSkinControlHost::AddControl(TSkinControl* Control) {
  if (FControls.IndexOf(Control) >= 0) return true;
  FControls.Add(Control);
  return false;
}

void TSkinControlHost::RemoveControl(TSkinControl* Control) {
  for (int i = FControls.Count() - 1; i >= 0; --i)
    if (FControls.Items(i) == Control) {
      FControls.Delete(i);
      break;
    }
  // A button that is freed must not stay the one told to leave later.
  if (FHotButton == Control) FHotButton = nullptr;
}

void TSkinControlHost::FreeControls() {
  while (FControls.Count() > 0) {
    auto* control = static_cast<TSkinControl*>(FControls.Items(0));
    if (control->FSkinState != scsGone) control->Unskin();
    FControls.Delete(0);
    delete control;
  }
  FControls.Clear();
}

// ---- TSkinControl -----------------------------------------------------------------------------------

TSkinControl::TSkinControl(TComponent* AOwner) : TComponent(AOwner) {}

TSkinControl::~TSkinControl() {
  GiveBackWindowProc();
  GiveBackWndProc();
  if (FForm) FForm->RemoveControl(this);
}

void TSkinControl::GiveBackWndProc() {
  // Under another subclass the stub stays and passes everything on to the saved procedure.
  UnhookWindowProc(FHandle, FObjectInstance, FOldWndProc);
  FObjectInstance = nullptr;
}

void TSkinControl::TakeWindowProc(TControl* Control) {
  FOwnWindowProc = HookMessageMethod(Control, MakeWndMethod<&TSkinControl::WndProc>(this), FOldWindowProc);
}

void TSkinControl::GiveBackWindowProc() {
  if (!FOldWindowProc.Assigned()) return;
  // Under a method set later the link stays and passes everything on to the saved one.
  UnhookMessageMethod(FControl ? static_cast<TControl*>(FControl) : FGraphicControl, FOwnWindowProc,
                      FOldWindowProc);
  FOwnWindowProc = {};
  FOldWindowProc = {};
}

TColor TSkinControl::SkinColour() const { return FSkinData ? FSkinData->ButtonFace : clBtnFace; }

bool TSkinControl::WindowEnabled() const { return (GetWindowLongA(FHandle, GWL_STYLE) & WS_DISABLED) == 0; }

void TSkinControl::SkinUpDown(TSkinUpDown*& Held, HWND Window, TSkinData* Data, TCanvas* Canvas) {
  if (Held) RemoveFreeNotification(Held);
  // Without an owner to free it, the up-down goes with this object.
  Held = new TSkinUpDown(Owner() ? Owner() : this);
  Held->FreeNotification(this);
  Held->SkinHandle(Window, Data, Canvas, FForm);
}

void TSkinControl::SkinControl(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas, bool TakeColor) {
  if (FSkinned) return;
  auto* control = ObjectAs<TWinControl>(Owner());
  if (!control) return;
  FTakeColor = TakeColor;
  FSkinData = Data;
  FForm = Form;
  FCanvas = Canvas;
  FControl = control;
  FHandle = control->Handle();
  TakeWindowProc(control);
  control->DoubleBuffered = true;
  if (FForm) FForm->AddControl(this);
  FFocused = GetFocus() == FHandle;
  FEnabled = WindowEnabled();
  FText = SkinWindowText(FHandle);
  if (TakeColor) {
    FOldColor = control->Color();
    control->SetColor(SkinColour());
  }
  control->Invalidate();
  FSkinned = true;
  FSkinState = scsSkinned;
}

void TSkinControl::SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form) {
  // A second takeover would chain the stub to itself.
  if (FObjectInstance || FOldWindowProc.Assigned()) return;
  FSkinData = Data;
  FCanvas = Canvas;
  FForm = Form;
  FHandle = Handle;
  FEnabled = true;
  if (FForm) FForm->AddControl(this);
  FText = SkinWindowText(Handle);
  FObjectInstance = HookWindowProc(Handle, MakeWndMethod<&TSkinControl::InstanceWndProc>(this), FOldWndProc);
  FSkinned = true;
  FSkinState = scsSkinned;
}

void TSkinControl::InstanceWndProc(TMessage& Message) {
  // The window goes: it gets its procedure back while it still can (the saved one still serves).
  // Failures stop at the stub, which reports them.
  if (Message.Msg == WM_NCDESTROY) GiveBackWndProc();
  WndProc(Message);
}

void TSkinControl::WndProc(TMessage& Message) {
  // Once its window is gone the object only passes messages on: a toolkit control that makes a
  // new window must paint it itself, not have its paints swallowed for a handle that is dead.
  if (FSkinState == scsGone) return CallDefault(Message);
  if (!BeforeDefault(Message)) return;
  CallDefault(Message);
  AfterDefault(Message);
}

void TSkinControl::CallDefault(TMessage& Message) {
  if (FOldWindowProc.Assigned())
    FOldWindowProc(Message);
  else if (FOldWndProc)
    Message.Result = CallWindowProcA(FOldWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

bool TSkinControl::BeforeDefault(TMessage& Message) {
  if (Message.Msg != WM_NCDESTROY) return true;
  CallDefault(Message);
  FSkinState = scsGone;
  Unskin();
  return false;
}

void TSkinControl::AfterDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Repaint();
      break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      // What is drawn from the state kept at takeover (greyed captions) follows the window.
      FEnabled = WindowEnabled();
      Repaint();
      break;
    case WM_SETTEXT:
      FText = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      Repaint();
      break;
    case WM_PAINT:
      PaintFrame(reinterpret_cast<HDC>(Message.WParam));
      break;
  }
}

void TSkinControl::Repaint() {
  HWND parent = GetParent(FHandle);
  RECT r;
  if (!GetWindowRect(FHandle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  if (!parent) return;
  InvalidateRect(FHandle, &r, FALSE);
  UpdateWindow(FHandle);
}

void TSkinControl::PaintClient(TMessage& Message) {
  struct TPaint {
    HWND Wnd;
    PAINTSTRUCT Ps{};
    HDC DC = nullptr;
    ~TPaint() {
      if (DC) EndPaint(Wnd, &Ps);
    }
  } paint{FHandle};
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) dc = paint.DC = BeginPaint(FHandle, &paint.Ps);
  RECT r;
  if (!GetWindowRect(FHandle, &r)) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  DrawControl(dc, r);
}

void TSkinControl::PaintFrame(HDC DC) {
  RECT r;
  if (!GetWindowRect(FHandle, &r)) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  HDC dc = DC ? DC : GetWindowDC(FHandle);
  try {
    DrawControl(dc, r);
  } catch (...) {
    // A picture that cannot be drawn leaves the window as its own painting left it.
  }
  if (!DC) ReleaseDC(FHandle, dc);
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::Refresh() {
  if (FTakeColor && FControl) FControl->SetColor(SkinColour());
  if (FHandle)
    InvalidateRect(FHandle, nullptr, TRUE);
  else if (FGraphicControl)
    FGraphicControl->Invalidate();
}

void TSkinControl::Unskin() {
  if (FTakeColor && FControl) FControl->SetColor(FOldColor);
}

void TSkinControl::FillBackground(HDC DC, const RECT& R) {
  HBRUSH brush = CreateSolidBrush(ColorToCOLORREF(SkinColour()));
  FillRect(DC, &R, brush);
  DeleteObject(brush);
}

void TSkinControl::DrawCaptionText(TCanvas* Canvas, const RECT& R, UINT Alignment, bool Enabled,
                                   const std::string& Text) {
  UINT flags = Alignment | DT_EXPANDTABS;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->SetStyle(0);
  if (!Enabled) Canvas->Font()->SetColor(clBtnShadow);
  HDC dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT c = R;
  DrawTextA(dc, Text.c_str(), int(Text.size()), &c, flags | DT_CALCRECT | DT_NOCLIP);
  int dy = (RectHeight(R) - RectHeight(c)) / 2 - 1;
  if (Alignment == DT_CENTER) {
    OffsetRect(&c, (RectWidth(R) - RectWidth(c)) / 2, dy);
  } else {
    OffsetRect(&c, 0, dy);
    c.left = R.left;
    c.right = R.right;
  }
  SkinDrawText(dc, AnsiToWide(Text), c, flags);
}

void TSkinControl::DrawImageAndText(TCanvas* Canvas, const RECT& R, int Placement, const std::string& Text,
                                    int Index, HIMAGELIST Images) {
  int cx = 0, cy = 0;
  if (Images) ImageList_GetIconSize(Images, &cx, &cy);
  RECT image{0, 0, cx, cy};
  bool hasImage = Index != -1 && Images;
  if (!hasImage) {
    image = RECT{0, 0, 0, 0};
    cx = 0;
  }
  const UINT flags = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
  HDC dc = Canvas->Handle();
  RECT text = R;
  if (Text.empty())
    text.right = text.left;
  else
    DrawTextA(dc, Text.c_str(), int(Text.size()), &text, flags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&image, R.left, R.top);
  int x = Placement == 0   ? 2
          : Placement == 1 ? (RectWidth(R) - RectWidth(text) - cx) / 2
                           : RectWidth(R) - RectWidth(text) - cx - 2;
  OffsetRect(&image, x, (RectHeight(R) - cy) / 2);
  OffsetRect(&text, x + cx + 1, (RectHeight(R) - RectHeight(text)) / 2);
  if (hasImage) ImageList_Draw(Images, Index, dc, image.left, image.top, ILD_TRANSPARENT);
  if (Text.empty()) return;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->SetStyle(0);
  if (!FEnabled) Canvas->Font()->SetColor(clBtnShadow);
  dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  SkinDrawText(dc, AnsiToWide(Text), text, flags);
}

void TSkinControl::DrawElementFrame(HDC DC, const RECT& R, TDataSkinObject* Element, int K, int N) {
  if (R.right < R.left || R.bottom < R.top) return;
  if (!Element || !Element->Image || Element->Image->Empty() || RectWidth(R) == 0 || RectHeight(R) == 0)
    return;
  std::unique_ptr<TBitmap> b =
      BuildNineSliceBitmap(R, Element->Image.get(), Element->Margins(), K, N, Element->Tile, 0);
  if (Element->Trans == 1)
    DrawTransparentBitmap(DC, R, b.get(), SkinKeyColour);
  else
    BitBlt(DC, R.left, R.top, RectWidth(R), RectHeight(R), b->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinControl::PaintStripFrame(HDC DC, const RECT& R, int N, int K, TBitmap* Strip) {
  TBorrowedCanvas canvas(DC);
  DrawStripFrameOn(&canvas.Canvas, R, N, K, Strip);
}

void TSkinControl::PaintStripFrameCanvas(TCanvas* Canvas, const RECT& R, int N, int K, TBitmap* Strip) {
  DrawStripFrameOn(Canvas, R, N, K, Strip);
}

void TSkinControl::PaintStripFrameOwnCanvas(HDC DC, const RECT& R, int N, int K, TBitmap* Strip) {
  if (!FCanvas) return PaintStripFrame(DC, R, N, K, Strip);
  FCanvas->SetHandle(DC);
  // The shared canvas must not keep a context its owner releases.
  struct TLetGo {
    TCanvas* C;
    ~TLetGo() { C->SetHandle(nullptr); }
  } letGo{FCanvas};
  DrawStripFrameOn(FCanvas, R, N, K, Strip);
}

// ---- Status bar ----------------------------------------------------------------------------------

UINT StatusPanelAlignment(TAlignment Alignment, bool RightToLeft) {
  switch (Alignment) {
    case taCenter:
      return DT_CENTER;
    case taRightJustify:
      return RightToLeft ? DT_LEFT : DT_RIGHT;
    default:
      return RightToLeft ? DT_RIGHT : DT_LEFT;
  }
}

bool TSkinStatusBar::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      PaintClient(Message);
      return false;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return false;
  }
  return TSkinControl::BeforeDefault(Message);
}

void TSkinStatusBar::DrawControl(HDC DC, const RECT& R) {
  auto* bar = ObjectAs<TStatusBar>(FControl);
  // The shared picture is gone once the engine is finalised.
  if (!bar || !FSkinData || !SharedBitmap) return;
  const int n = bar->Panels().Count();
  RECT all{0, 0, RectWidth(R), RectHeight(R)};
  SharedBitmap->SetSize(all.right, all.bottom);
  TCanvas* c = SharedBitmap->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(SkinColour());
  c->FillRect(all);
  c->SetFont(bar->Font());
  c->Font()->SetStyle(0);
  TDataSkinObject* edges = FSkinData->StatusBarEdges.get();
  const bool skinned = edges && edges->Image && !edges->Image->Empty();
  if (skinned) {
    c->Font()->SetColor(edges->NormalColour2);
    SetTextColor(DC, ColorToCOLORREF(edges->NormalColour2));
  }
  auto drawPanel = [&](const RECT& p, UINT alignment, const std::string& text, int kind) {
    if (skinned)
      DrawSkinPanel(c->Handle(), p, alignment, text, kind);
    else
      DrawPlainPanel(c->Handle(), p, alignment, text, kind);
  };
  if (bar->SimplePanel() || n == 0) {
    drawPanel(R, DT_LEFT, bar->SimpleText(), 1);
  } else {
    for (int i = 0; i < n; ++i) {
      TStatusPanel* panel = bar->Panels().Items(i);
      UINT alignment = StatusPanelAlignment(panel->Alignment(), panel->BiDiMode == bdRightToLeft);
      int kind = panel->Bevel() == pbLowered ? 1 : panel->Bevel() == pbRaised ? 2 : 3;
      RECT p{};
      if (!SendMessageA(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&p))) continue;
      if (i == n - 1) p.right = R.right;
      drawPanel(p, alignment, panel->Text(), kind);
    }
  }
  TDataSkinObject* extra = FSkinData->ExtraImages.get();
  if ((GetWindowLongA(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && extra && extra->Image &&
      !extra->Image->Empty()) {
    int frames = extra->FrameCount > 0 ? extra->FrameCount : 1;
    int w = extra->Image->Width() / frames, h = extra->Image->Height();
    RECT grip{R.right - 1 - w, R.bottom - 1 - h, R.right - 1, R.bottom - 1};
    PaintStripFrame(c->Handle(), grip, frames, 5, extra->Image.get());
  }
  CopyBuffer(DC, R);
}

void TSkinStatusBar::DrawSkinPanel(HDC DC, RECT P, UINT Alignment, const std::string& Text, int Kind) {
  if (P.right < P.left || P.bottom < P.top) return;
  TDataSkinObject* edges = FSkinData->StatusBarEdges.get();
  if (RectWidth(P) > 0 && RectHeight(P) > 0) {
    std::unique_ptr<TBitmap> b =
        BuildNineSliceBitmap(P, edges->Image.get(), edges->Margins(), Kind, 3, edges->Tile, 0);
    BitBlt(DC, P.left, P.top, RectWidth(P), RectHeight(P), b->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  PanelText(P, Alignment, Text);
}

void TSkinStatusBar::DrawPlainPanel(HDC, RECT P, UINT Alignment, const std::string& Text, int Kind) {
  if (Kind == 1 || Kind == 2) {
    TColor first, second;
    BevelColors(Kind, first, second);
    HDC dc = SharedBitmap->Canvas()->Handle();
    auto line = [dc](int x0, int y0, int x1, int y1, TColor colour) {
      HBRUSH brush = CreateSolidBrush(ColorToCOLORREF(colour));
      RECT r{x0, y0, x1, y1};
      FillRect(dc, &r, brush);
      DeleteObject(brush);
    };
    // Top and left in the first colour, bottom and right in the second; then one pixel in.
    line(P.left, P.top, P.right - 1, P.top + 1, first);
    line(P.left, P.top, P.left + 1, P.bottom - 1, first);
    line(P.right - 1, P.top, P.right, P.bottom, second);
    line(P.left, P.bottom - 1, P.right, P.bottom, second);
    InflateRect(&P, -1, -1);
  }
  PanelText(P, Alignment, Text);
}

void TSkinStatusBar::PanelText(RECT P, UINT Alignment, const std::string& Text) {
  InflateRect(&P, -2, 0);
  DrawCaptionText(SharedBitmap->Canvas(), P, Alignment, true, Text.empty() ? std::string(" ") : Text);
}

void TSkinStatusBar::BevelColors(int Kind, TColor& First, TColor& Second) {
  First = clBtnHighlight;
  Second = clBtnShadow;
  if (Kind == 1) std::swap(First, Second);
}

void TSkinStatusBar::CopyBuffer(HDC DC, const RECT& R) {
  BitBlt(DC, R.left, R.top, RectWidth(R), RectHeight(R), SharedBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---- Group box -----------------------------------------------------------------------------------

bool TSkinGroupBox::BeforeDefault(TMessage& Message) { return TSkinControl::BeforeDefault(Message); }

void TSkinGroupBox::DrawControl(HDC DC, const RECT& R) { DrawGroupFrame(DC, R); }

int TSkinGroupBox::TextHeight(HDC DC, const std::string& Text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(DC, Text.c_str(), int(Text.size()), &size);
  return size.cy;
}

void TSkinGroupBox::DrawGroupFrame(HDC DC, const RECT& R) {
  if (!FSkinData) return;
  FText = SkinWindowText(FHandle);
  if (FText.empty() && FControl) FText = FControl->Text();
  HFONT font =
      FControl ? FControl->FontHandle() : reinterpret_cast<HFONT>(SendMessageA(FHandle, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(DC, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  const int top = TextHeight(DC, "0") / 2 - 1;
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToCOLORREF(FSkinData->ButtonShadow));
  // The skin keeps a face brush once a skin is loaded; before that one is made here.
  HBRUSH face = FSkinData->FFaceBrush;
  HBRUSH ownFace = face ? nullptr : CreateSolidBrush(ColorToCOLORREF(FSkinData->ButtonFace));
  if (!face) face = ownFace;
  RECT f{0, top, R.right, R.bottom};
  FrameRect(DC, &f, face);
  InflateRect(&f, -1, -1);
  FrameRect(DC, &f, face);
  HGDIOBJ oldBrush = SelectObject(DC, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(DC, pen);
  RoundRect(DC, 1, top, R.right - 1, R.bottom - 1, 5, 5);
  COLORREF oldBack = SetBkColor(DC, ColorToCOLORREF(FSkinData->ButtonFace));
  SkinDrawText(DC, AnsiToWide(FText), RECT{R.left + 9, R.top, R.right, R.bottom}, DT_EXPANDTABS);
  SetBkColor(DC, oldBack);
  SelectObject(DC, oldFont);
  SelectObject(DC, oldBrush);
  SelectObject(DC, oldPen);
  DeleteObject(pen);
  if (ownFace) DeleteObject(ownFace);
}

// ---- Panels, tool bars, embedded forms -----------------------------------------------------------

void TSkinBox::SkinControl(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas, bool TakeColor) {
  auto* control = ObjectAs<TWinControl>(Owner());
  if (!control) return;
  // Run again, the colour saved first stays the one given back.
  bool saved = FControl != nullptr && FTakeColor;
  FTakeColor = TakeColor;
  FSkinData = Data;
  FCanvas = Canvas;
  FForm = Form;
  FControl = control;
  FHandle = control->Handle();
  if (FForm) FForm->AddControl(this);
  if (!TakeColor) return;
  if (!saved) FOldColor = control->Color();
  control->SetColor(SkinColour());
}

void TSkinBox::Unskin() {
  if (FTakeColor && FControl) FControl->SetColor(FOldColor);
  FSkinState = scsGivenBack;
}

void TSkinBox::AfterDefault(TMessage&) {}
