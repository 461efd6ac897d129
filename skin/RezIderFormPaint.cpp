// The skinned window's non-client painting (edges, caption strip, caption buttons) and its window
// region cut from the edge pictures' transparent colour.
#include <memory>

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderFormDraw.h"
#include "skin/RezIderFormImpl.h"

namespace {

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), w.data(), n);
  return w;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool HasImage(const TDataSkinObject* E) { return E && E->Image && !E->Image->Empty(); }

}  // namespace

void TRezIderFormImpl::NCPaint(TMessage& Message) {
  Message.Result = 0;
  if (!FSkinData->FPaintFrames) return;
  if (MdiChildAbnormal() || FBorderKind == bkNone) return CallDefault(Message);
  HDC dc = nullptr;
  if (Message.WParam > 1) {
    // The system deletes a region it is given with the context; the message's region stays the
    // sender's, so the context gets a copy.
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(clip, reinterpret_cast<HRGN>(Message.WParam), nullptr, RGN_COPY);
    dc = GetDCEx(FHandle, clip, DCX_WINDOW | DCX_INTERSECTRGN);
    if (!dc) DeleteObject(clip);
  }
  PaintNonClient(dc);
  if (dc) ReleaseDC(FHandle, dc);
}

void TRezIderFormImpl::PaintNonClient(HDC DC) {
  if (!SharedBitmap || (FState != fsSkinned && FState != fsRefreshing) || FBorderKind == bkNone ||
      MdiChildAbnormal() || !FSkinData->FPaintFrames)
    return;
  HDC dc = DC ? DC : GetWindowDC(FHandle);
  try {
    RECT w{};
    if (GetWindowRect(FHandle, &w)) {
      FWindowRect = w;
      const int W = Width(w), H = Height(w);
      FFrameWidth = W;
      FFrameHeight = H;
      // The side edges first: the caption picture starts as a copy of the top strip, corners
      // included.
      DrawBorder(1, {0, 0, FBorderLeft, H}, dc);
      DrawBorder(2, {W - FBorderRight, 0, W, H}, dc);
      DrawBorder(4, {FBorderLeft, H - FBorderBottom, W - FBorderRight, H}, dc);
      PaintCaptionBar(dc);
      if (FMenuBar)
        FMenuBar->PaintMenuBar(dc, {FBorderLeft, FBorderTop, W - FBorderRight, FBorderTop + FMenuBarHeight});
    }
  } catch (...) {
    // A half-painted frame is repainted with the next message; the context is still let go.
  }
  if (!DC) ReleaseDC(FHandle, dc);
  FCurrentObject = nullptr;
}

void TRezIderFormImpl::PaintCaptionBar(HDC DC) {
  const int W = FFrameWidth, H = FBorderTop;
  if (W <= 0 || H <= 0) return;
  ComposeCaption(DC, W, FFrameHeight);
  // One copy to the screen, so the caption does not flicker.
  BitBlt(DC, 0, 0, W, H, FFrameBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  SetBkMode(DC, OPAQUE);
}

void TRezIderFormImpl::ComposeCaption(HDC Window, int W, int H) {
  const int T = FBorderTop;
  FFrameWidth = W;
  FFrameBitmap->SetSize(W, T);
  TCanvas* canvas = FFrameBitmap->Canvas();
  HDC picture = canvas->Handle();
  if (Window) {
    BitBlt(picture, 0, 0, W, T, Window, 0, 0, SRCCOPY);
  } else {
    DrawBorder(1, {0, 0, FBorderLeft, H}, picture);
    DrawBorder(2, {W - FBorderRight, 0, W, H}, picture);
  }
  const RECT R{FBorderLeft, 0, W - FBorderRight, T};
  DrawBorder(3, R, picture);
  DrawCaption(canvas, R);
  PlaceSysButtons();
  DrawSysButtons(canvas);
}

void TRezIderFormImpl::DrawCaption(TCanvas* Canvas, const RECT& R) {
  const TDataSkinTitle& title = *FSkinData->Title;
  const UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | (FRightToLeft ? DT_RIGHT : 0);
  Canvas->SetFont(FCaptionFont.get());
  Canvas->Font()->SetColor(FActive ? FSkinData->TitleTextActive : FSkinData->TitleTextNoActive);
  HDC dc = Canvas->Handle();
  const int oldMode = SetBkMode(dc, TRANSPARENT);

  RECT T = R;
  const std::string measured = FCaptionPrefix + " " + FCaption;
  DrawTextA(dc, measured.c_str(), int(measured.size()), &T, DT_CALCRECT | DT_NOCLIP);
  T.right += title.TXTBackleft + title.TXTBackRight;
  const int rw = Width(R), tw = Width(T);
  int dx;
  switch (FRightToLeft ? 2 : title.TextAlignment) {
    case 0:
      dx = title.LeftWidth;
      break;
    case 1:
      dx = (rw - tw) / 2;
      break;
    case 2:
      dx = rw - title.RightWidth - tw;
      break;
    default:
      dx = 0;
  }
  const int dy = (Height(R) - Height(T)) / 2 + title.TopHeight / 2;
  OffsetRect(&T, dx, dy);
  if (!(FStyle & WS_POPUP))
    T.right = IntMin(T.right, R.right - title.RightWidth);
  else
    T.right = IntMax(T.right, FRightButtonLimit - 5);
  FCaptionTextRect = T;

  if (HasImage(&title))
    DrawThreeSliceTiled(Canvas, {T.left, R.top, T.right, R.bottom}, title.Image.get(),
                        {title.TXTBackleft, 0, title.TXTBackRight, 0}, FActive ? 1 : 2, 2, 1, 1);
  T.left += title.TXTBackleft;
  T.right -= title.TXTBackRight;
  dc = Canvas->Handle();
  SkinDrawText(dc, Wide(FCaptionPrefix + FCaption), T, flags);
  SetBkMode(dc, oldMode);
}

void TRezIderFormImpl::PlaceSysButtons() {
  FRightButtonLimit = 0;
  for (size_t i = 0; i < FSysButtons.size(); ++i) {
    TWinSysButton& b = *FSysButtons[i];
    const TDataSkinSysButton& d = *b.FButtonData;
    if (!SysButtonVisible(int(i)) || !HasImage(&d)) continue;
    const int w = d.Image->Width() / (d.FrameCount < 1 ? 1 : d.FrameCount);
    int x = 0, y = 0;
    switch (d.Align) {
      case 0:
        x = d.Xcoord;
        y = d.Ycoord;
        break;
      case 1:
        x = FFrameWidth - d.Xcoord;
        y = d.Ycoord;
        FRightButtonLimit = IntMax(FRightButtonLimit, x);
        break;
      case 2:
      case 8:
        x = FCaptionTextRect.left - w - d.Xcoord;
        y = d.Ycoord;
        break;
      case 3:
      case 9:
        x = FCaptionTextRect.right + d.Xcoord;
        y = d.Ycoord;
        break;
      case 100: {
        const int menuLeft = FSkinData->MenuBarSkin ? FSkinData->MenuBarSkin->LeftWidth : 0;
        x = FRightToLeft ? d.Xcoord + FBorderLeft + menuLeft
                         : FFrameWidth - d.Xcoord - FBorderRight - menuLeft;
        y = (FMenuBarHeight - d.Image->Height()) / 2 + FBorderTop;
        break;
      }
    }
    b.FRect = {x, y, x + w, y + d.Image->Height()};
  }
}

void TRezIderFormImpl::DrawSysButtons(TCanvas* Canvas) {
  for (size_t i = 0; i < FSysButtons.size(); ++i) {
    TWinSysButton& b = *FSysButtons[i];
    const TDataSkinSysButton& d = *b.FButtonData;
    if (!SysButtonVisible(int(i)) || !HasImage(&d) || d.Visibility == 100) continue;
    const int frame = (FActive || d.FrameCount < 4) ? 1 : 4;
    const bool icon = d.Action == 3 || d.Action == 11;
    DrawStripFrame(Canvas->Handle(), b.FRect, icon ? FIconBitmap.get() : d.Image.get(), frame, d.FrameCount,
                   1);
  }
}

void TRezIderFormImpl::DrawBorder(int Side, const RECT& Rect, HDC DC) {
  TDataSkinBorder* e = Edge(Side);
  const RECT t{0, 0, Width(Rect), Height(Rect)};
  if (t.right < 0 || t.bottom < 0 || !HasImage(e)) return;
  const int frame = (FActive || e->FrameCount == 1) ? 1 : 2;
  auto picture = BuildNineSliceBitmap(t, e->Image.get(), e->Margins(), frame, e->FrameCount, e->Tile != 1,
                                      Side == 3 || Side == 4);
  if (picture->Empty()) return;
  BitBlt(DC, Rect.left, Rect.top, picture->Width(), picture->Height(), picture->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void TRezIderFormImpl::UpdateRegion() {
  if (FState == fsGone) return;
  RECT w{};
  GetWindowRect(FHandle, &w);
  const int W = Width(w), H = Height(w);
  if (W <= 0 || H <= 0 || MdiChildAbnormal()) return;
  if (W == FRegionWidth && H == FRegionHeight && FMdiKind != mkChild && FState != fsRefreshing) return;
  // The window owns its region: the next SetWindowRgn deletes the old one.
  FHasRegion = false;
  FRegion = nullptr;

  const bool shaped[4] = {FSkinData->Left->Trans != 0, FSkinData->Right->Trans != 0,
                          FSkinData->Top->Trans != 0, FSkinData->Bottom->Trans != 0};
  if (!shaped[0] && !shaped[1] && !shaped[2] && !shaped[3]) {
    SetSkinRegion(CreateRectRgn(0, 0, W, H), true);
    return;
  }
  FRegionWidth = W;
  FRegionHeight = H;
  const int L = FBorderLeft, T = FBorderTop, R = FBorderRight, B = FBorderBottom;
  HRGN region = CreateRectRgn(L, T, W - R, H - B);
  if (FBorderKind != bkNone) {
    TBitmap work;
    // An edge part: the edge drawn at that size and cut by the key colour, or its plain rectangle.
    auto part = [&](int side, bool shape, const RECT& at) -> HRGN {
      const int pw = Width(at), ph = Height(at);
      if (!shape || pw <= 0 || ph <= 0) return CreateRectRgn(at.left, at.top, at.right, at.bottom);
      work.SetSize(pw, ph);
      HDC dc = work.Canvas()->Handle();
      // The top is cut from the caption, so text and buttons over key pixels show; a caption of
      // another width (or none yet) is composed for this one first.
      if (side == 3) {
        if (FFrameBitmap->Width() != W || FFrameBitmap->Height() != ph) ComposeCaption(nullptr, W, H);
        BitBlt(dc, 0, 0, pw, ph, FFrameBitmap->Canvas()->Handle(), at.left, 0, SRCCOPY);
      } else {
        DrawBorder(side, {0, 0, pw, ph}, dc);
      }
      return CreateRegionFromBitmap(&work, at.left, at.top, SkinKeyColour, 1, 1, 1);
    };
    const bool top = FSkinData->Top->Trans == 1 && T > 1;
    HRGN left = part(1, FSkinData->Left->Trans == 1 && H > 1, {0, 0, L, H});
    HRGN right = part(2, FSkinData->Right->Trans == 1 && H > 1, {W - R, 0, W, H});
    HRGN bottom = part(4, FSkinData->Bottom->Trans == 1 && B > 1, {L, H - B, W - R, H});
    HRGN topPart = part(3, top, {L, 0, W - R, T});
    CombineRgn(left, left, right, RGN_OR);
    CombineRgn(topPart, topPart, bottom, RGN_OR);
    CombineRgn(topPart, topPart, left, RGN_OR);
    CombineRgn(region, region, topPart, RGN_OR);
    for (HRGN r : {left, right, bottom, topPart}) DeleteObject(r);
  }
  SetSkinRegion(region, true);
}

void TRezIderFormImpl::ClearRegion() {
  // The caption picture goes with the region: the next region is cut from a fresh one.
  if (FHasRegion) FFrameBitmap->SetSize(0, 0);
  TRezIderForm::ClearRegion();
}

void TRezIderFormImpl::FindMdiClient() {
  FMdiKind = mkNone;
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowClassName(child) == "MDIClient") {
      FMdiKind = mkFrame;
      FClientHandle = child;
      if (SkinManager) SkinManager->FMdiClient = child;
      return;
    }
}
