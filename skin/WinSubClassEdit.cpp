#include "skin/WinSubClassEdit.h"

#include <commctrl.h>

#include <cstring>

#include "skin/RezIderData.h"
#include "tk/Controls.h"

namespace {

bool Usable(const std::unique_ptr<TBitmap>& image) { return image && !image->Empty(); }

// A one-pixel frame of a solid colour, its brush made for the call only.
void FrameWith(HDC DC, const RECT& R, COLORREF Colour) {
  HBRUSH brush = CreateSolidBrush(Colour);
  FrameRect(DC, &R, brush);
  DeleteObject(brush);
}

// True when the window's client area is the window less a border of more than Slack pixels a side
// pair: that is, a border wide enough to frame.
bool HasBorder(HWND Window, const RECT& R, int Slack) {
  RECT c{};
  GetClientRect(Window, &c);
  return RectWidth(c) + Slack < R.right && RectHeight(c) + Slack < R.bottom;
}

}  // namespace

// ---- Edits ---------------------------------------------------------------------------------------

void TSkinEdit::AfterDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // A paint into a given context is somebody else's picture of the client: no frame there.
      if (Message.WParam == 0) PaintFrame(nullptr);
      break;
    case WM_PRINT:
      PrintFrame(reinterpret_cast<HDC>(Message.WParam));
      break;
    default:
      TSkinControl::AfterDefault(Message);
  }
}

void TSkinEdit::DrawControl(HDC DC, const RECT& R) {
  if (FPrinting) return DrawPrintFrame(DC, R);
  FindSpinButton(FHandle, FSkinData, FCanvas);
  if (!FSkinData || !HasBorder(FHandle, R, 0)) return;
  RECT r = R;
  FrameWith(DC, r, ColorToCOLORREF(FSkinData->ButtonShadow));
  InflateRect(&r, -1, -1);
  FrameWith(DC, r, RGB(255, 255, 255));
}

void TSkinEdit::FindSpinButton(HWND Edit, TSkinData* Data, TCanvas* Canvas) {
  // A spin button whose window went is let go (its object waits for the form to free it): the
  // one made in its place is skinned.
  if (FUpDown && FUpDown->FSkinState == scsGone) {
    RemoveFreeNotification(FUpDown);
    FUpDown = nullptr;
  }
  if (FUpDown) return;
  for (HWND child = GetTopWindow(Edit); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[101] = {};
    GetClassNameA(child, name, 100);
    if (std::strcmp(name, UPDOWN_CLASSA) != 0 && std::strcmp(name, "TSpinButton") != 0) continue;
    SkinUpDown(FUpDown, child, Data, Canvas);
    FUpDown->FInEdit = true;
    return;
  }
}

void TSkinEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TSkinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUpDown) FUpDown = nullptr;
}

void TSkinEdit::PrintFrame(HDC DC) {
  FPrinting = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FPrinting};
  PaintFrame(DC);
}

void TSkinEdit::DrawPrintFrame(HDC DC, const RECT& R) {
  if (!FSkinData || !HasBorder(FHandle, R, 2)) return;
  // The control's own printing may leave its text area as the clip region; the frame lies outside.
  const int saved = SaveDC(DC);
  SelectClipRgn(DC, nullptr);
  // The inner line takes whatever brush the printing context holds.
  RECT inner = R;
  InflateRect(&inner, -1, -1);
  FrameRect(DC, &inner, static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH)));
  FrameWith(DC, R, ColorToCOLORREF(FSkinData->ButtonShadow));
  RestoreDC(DC, saved);
}

// ---- Combo boxes ---------------------------------------------------------------------------------

int ComboState(uint8_t MouseState, bool Focused, bool Enabled) {
  if (MouseState & msPressed) return 2;
  if ((MouseState & msHot) || Focused) return 4;
  if (!Enabled) return 3;
  return 1;
}

TComboLayout ComboLayout(const RECT& A, int ButtonWidth, bool LeftScrollBar) {
  const int bw = ButtonWidth;
  if (LeftScrollBar)
    return {RECT{A.left + bw + 4, A.top + 2, A.right - 2, A.bottom - 2},
            RECT{A.left, A.top, A.left + bw + 2, A.bottom}, RECT{2, A.top, bw + 2, A.bottom}};
  return {RECT{A.left + 2, A.top + 2, A.right - bw - 4, A.bottom - 2},
          RECT{A.right - bw - 2, A.top, A.right, A.bottom},
          RECT{A.right - bw - 2, A.top, A.right - 2, A.bottom}};
}

void TSkinComBox::AfterDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FMouseState |= msPressed;
      PaintFrame(nullptr);
      break;
    case WM_LBUTTONUP:
      FMouseState &= ~msPressed;
      PaintFrame(nullptr);
      break;
    case CM_MOUSEENTER:
      if (!FEnabled) break;
      FMouseState |= msHot;
      PaintFrame(nullptr);
      break;
    case CM_MOUSELEAVE:
      if (!FEnabled) break;
      FMouseState &= ~msHot;
      PaintFrame(nullptr);
      break;
    default:
      TSkinControl::AfterDefault(Message);
  }
}

void TSkinComBox::DrawControl(HDC DC, const RECT& R) {
  TDataSkinBorder* button = FSkinData ? FSkinData->ComboButton.get() : nullptr;
  if (!button || !Usable(button->Image)) return;
  FStyle = uint32_t(GetWindowLongA(FHandle, GWL_STYLE));
  FExStyle = uint32_t(GetWindowLongA(FHandle, GWL_EXSTYLE));
  TDataSkinObject* edge = FSkinData->SunkEdge.get();
  if (!edge || !Usable(edge->Image)) return;
  RECT a = R;
  OffsetRect(&a, -a.left, -a.top);
  FFocused = GetFocus() == FHandle;
  FEnabled = (FStyle & WS_DISABLED) == 0;
  const int s = ComboState(FMouseState, FFocused, FEnabled);
  const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const TComboLayout l = ComboLayout(a, GetSystemMetrics(SM_CXHSCROLL), left);
  // The text area is left out for this drawing only: a context handed in keeps its own clipping.
  const int saved = SaveDC(DC);
  ExcludeClipRect(DC, l.Text.left, l.Text.top, l.Text.right, l.Text.bottom);
  DrawElementFrame(DC, a, edge, s, edge->FrameCount);
  if (left && Usable(button->Image2)) {
    // The mirrored strip holds its frames in reverse order: frame s is counted from its far end.
    const int n = button->FrameCount > 0 ? button->FrameCount : 1;
    PaintStripFrameOwnCanvas(DC, l.Button, n, n + 1 - s, button->Image2.get());
  } else {
    PaintStripFrameOwnCanvas(DC, l.Button, button->FrameCount, s, button->Image.get());
  }
  TDataSkinObject* extra = FSkinData->ExtraImages.get();
  if (extra && Usable(extra->Image)) {
    const int n = extra->FrameCount > 0 ? extra->FrameCount : 1;
    const int gw = extra->Image->Width() / n, gh = extra->Image->Height();
    RECT g{l.Arrow.left + (RectWidth(l.Arrow) - gw) / 2, l.Arrow.top + (RectHeight(l.Arrow) - gh) / 2, 0, 0};
    g.right = g.left + gw;
    g.bottom = g.top + gh;
    PaintStripFrame(DC, g, n, s, extra->Image.get());
  }
  RestoreDC(DC, saved);
}
