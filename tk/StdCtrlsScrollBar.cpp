// The scroll-bar control of StdCtrls: the system's "SCROLLBAR" under the toolkit's class name.
#include <algorithm>

#include "tk/StdCtrls.h"

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 121;
  FHeight = GetSystemMetrics(SM_CYHSCROLL);
  TabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = "SCROLLBAR";
  Params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::InitializeWnd() { UpdateScrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS); }

void TScrollBar::SetKind(TScrollBarKind value) {
  if (FKind == value) return;
  FKind = value;
  // A bar turned on its side keeps its thickness across.
  SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TScrollBar::SetPageSize(int value) {
  if (value < 0 || value == FPageSize) return;
  FPageSize = value;
  UpdateScrollInfo(SIF_PAGE);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin) AMax = AMin;
  APosition = std::clamp(APosition, AMin, AMax);
  bool rangeChanged = AMin != FMin || AMax != FMax;
  bool moved = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  if (rangeChanged || moved) UpdateScrollInfo((rangeChanged ? SIF_RANGE : 0) | SIF_POS);
  if (moved && OnChange) OnChange(this);
}

void TScrollBar::UpdateScrollInfo(UINT Mask) {
  if (!FHandle) return;
  SCROLLINFO si{sizeof si, Mask, FMin, FMax, UINT(FPageSize), FPosition, 0};
  SetScrollInfo(FHandle, SB_CTL, &si, TRUE);
}

void TScrollBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      CNScroll(Message);
      return;
  }
  TWinControl::WndProc(Message);
}

void TScrollBar::CNScroll(TMessage& Message) {
  int pos = FPosition;
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP:
      pos -= SmallChange;
      break;
    case SB_LINEDOWN:
      pos += SmallChange;
      break;
    case SB_PAGEUP:
      pos -= LargeChange;
      break;
    case SB_PAGEDOWN:
      pos += LargeChange;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The 16 bits of the message cannot carry every position; the bar's own track position can.
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      pos = GetScrollInfo(FHandle, SB_CTL, &si) ? si.nTrackPos : short(HIWORD(Message.WParam));
      break;
    }
    case SB_TOP:
      pos = FMin;
      break;
    case SB_BOTTOM:
      pos = FMax;
      break;
    default:
      return;
  }
  // With a page the last position is the one that shows the last page whole.
  int last = FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
  SetPosition(std::clamp(pos, FMin, last));
}
