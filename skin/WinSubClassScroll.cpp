// Skinned scroll bars, list view headers, size grips and the toolkit's scroll-bar control.
#include "skin/WinSubClassScroll.h"

#include <algorithm>

#include "skin/RezIderData.h"
#include "skin/RezIderFormDraw.h"
#include "tk/StdCtrls.h"

namespace {

// Every bar is composed this thick and then stretched to the bar's real thickness.
constexpr int kWorkThickness = 16;
// Frames of the Scrollbar strip that hold the arrows.
constexpr int kArrowFrames = 23;
// Bars longer than this are left to the window.
constexpr int kLongestBar = 10000;
// The scroll state a paint reads: range, page, position and track position.
constexpr UINT kThumbInfoMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

bool Usable(const TDataSkinObject* e) { return e && e->Image && !e->Image->Empty(); }

bool NotEmpty(const RECT& r) { return r.bottom > r.top && r.right > r.left; }

// The part a scroll code shows pressed: a line code its arrow, a track code the thumb.
int32_t PressedPartOf(WPARAM code, bool vertical) {
  switch (LOWORD(code)) {
    case SB_LINEUP:
      return vertical ? ppUpArrow : ppLeftArrow;
    case SB_LINEDOWN:
      return vertical ? ppDownArrow : ppRightArrow;
    case SB_THUMBTRACK:
      return vertical ? ppVertThumb : ppHorzThumb;
  }
  return ppNone;
}

// One bar of length along B: the Scrollbar colour, the track, both arrows and the thumb composed in
// a work picture, then stretched onto B. Arrow is the arrow size the track leaves at either end.
void PaintSkinBar(TSkinControl& c, HDC dc, const RECT& b, bool vertical, int pressed, int arrow,
                  const TScrollGeometry& g) {
  TSkinData* d = c.FSkinData;
  const int n = vertical ? RectHeight(b) : RectWidth(b);
  if (n <= 0) return;
  TBitmap work(vertical ? kWorkThickness : n, vertical ? n : kWorkThickness);
  TCanvas* canvas = work.Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(d->Scrollbar);
  canvas->FillRect(RECT{0, 0, work.Width(), work.Height()});
  HDC w = canvas->Handle();
  SetStretchBltMode(w, COLORONCOLOR);
  auto span = [&](int from, int to) {
    return vertical ? RECT{0, from, kWorkThickness, to} : RECT{from, 0, to, kWorkThickness};
  };

  // A skin without a track or thumb picture shows the bar's colour in their place.
  TDataSkinObject* track = vertical ? d->VertScroll.get() : d->HorzScroll.get();
  if (Usable(track))
    DrawNineSlice(w, span(arrow, n - arrow), track->Image.get(), track->Margins(), 1, 4, track->Trans,
                  track->Tile, 0);

  const int a = n < 2 * arrow ? n / 2 : arrow;
  TBitmap* arrows = d->ScrollbarSkin->Image.get();
  int first = vertical ? (pressed == ppUpArrow ? 10 : 9) : (pressed == ppLeftArrow ? 2 : 1);
  int second = vertical ? (pressed == ppDownArrow ? 14 : 13) : (pressed == ppRightArrow ? 6 : 5);
  c.PaintStripFrameCanvas(canvas, span(0, a), kArrowFrames, first, arrows);
  c.PaintStripFrameCanvas(canvas, span(n - a, n), kArrowFrames, second, arrows);

  TDataSkinObject* thumb = vertical ? d->VertScrollThumb.get() : d->HorzScrollThumb.get();
  if (Usable(thumb) && g.ThumbSize <= g.TrackLength) {
    int frame = pressed == (vertical ? ppVertThumb : ppHorzThumb) ? 2 : 1;
    int from = a + g.ThumbOffset;
    DrawNineSlice(canvas->Handle(), span(from, from + g.ThumbSize), thumb->Image.get(), thumb->Margins(),
                  frame, thumb->FrameCount, thumb->Trans, 0, 0);
  }

  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, b.left, b.top, RectWidth(b), RectHeight(b), canvas->Handle(), 0, 0, work.Width(),
             work.Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

// Sets a flag for the length of one call of the window's own procedure.
struct TFlagScope {
  bool& Flag;
  explicit TFlagScope(bool& f) : Flag(f) { Flag = true; }
  ~TFlagScope() { Flag = false; }
};

}  // namespace

// ---- Geometry ------------------------------------------------------------------------------------

void LayoutScrollBars(int W, int H, const RECT& Client, int B, DWORD Style, DWORD ExStyle,
                      TScrollBarRects& Rects) {
  const bool vert = Style & WS_VSCROLL, horz = Style & WS_HSCROLL;
  const int e = vert ? (W - Client.right - B) / 2 : (H - Client.bottom - B) / 2;
  const bool left = ExStyle & WS_EX_LEFTSCROLLBAR;
  if (vert && horz) {
    if (left) {
      Rects.Horz = RECT{e + B, H - e - B, W - e, H - e};
      Rects.Vert = RECT{e, e, e + B, H - e - B};
      Rects.SizeBox = RECT{e, H - e - B, e + B, H - e};
    } else {
      Rects.Horz = RECT{e, H - e - B, W - e - B, H - e};
      Rects.Vert = RECT{W - e - B, e, W - e, H - e - B};
      Rects.SizeBox = RECT{W - e - B, H - e - B, W - e, H - e};
    }
  } else if (vert) {
    Rects.Vert = left ? RECT{e, e, e + B, H - e} : RECT{W - e - B, e, W - e, H - e};
  } else if (horz) {
    Rects.Horz = RECT{e, H - e - B, W - e, H - e};
  }
}

int MinimumThumb(int Arrow) { return GetVersion() < 0x80000000u ? 8 : Arrow / 2; }

bool ComputeThumb(int N, int Arrow, int MinThumb, int DefaultThumb, int Min, int Page, int Pos, int Range,
                  TScrollGeometry& G) {
  if (Range <= 0) return false;
  const int l = N - 2 * Arrow;
  int t = Page == 0 ? DefaultThumb : std::max(MulDiv(Page, l, Range), MinThumb);
  t = std::min(t, l);
  int p;
  if (Page == Range) {
    p = 0;
    t -= 1;
  } else {
    p = std::min(MulDiv(Pos - Min, l - t, Range - Page), l - t);
  }
  // A page beyond the range would put the thumb before the track.
  G.ThumbOffset = std::max(p, 0);
  G.ThumbSize = t;
  G.TrackLength = l;
  return true;
}

int ScrollHitPart(int X, const TScrollGeometry& G) {
  const int a = G.ArrowSize, p = G.ThumbOffset, t = G.ThumbSize, l = G.TrackLength;
  if (X < a) return SB_LINEUP;
  if (X < a + p) return SB_PAGEUP;
  if (X < a + p + t) return SB_THUMBTRACK;
  if (X < a + l) return SB_PAGEDOWN;
  if (X < 2 * a + l) return SB_LINEDOWN;
  return -1;
}

int DragPosition(int& Offset, const TScrollGeometry& G, const SCROLLINFO& Info) {
  const int l = G.TrackLength, t = G.ThumbSize;
  const int range = Info.nMax - Info.nMin, page = int(Info.nPage);
  Offset = std::max(Offset, 0);
  int pos;
  if (page == 0) {
    Offset = std::min(Offset, l - t);
    // A thumb that fills its track has nowhere to go.
    pos = l - t > 0 ? MulDiv(Offset, range, l - t) + Info.nMin : Info.nMin;
    pos = std::min(pos, Info.nMax);
  } else {
    // The whole track, so the last position stays reachable with a thumb enlarged to its minimum.
    Offset = std::min(Offset, l);
    pos = l > 0 ? MulDiv(Offset, range, l) + Info.nMin : Info.nMin;
    if (pos >= Info.nMax - page) pos = Info.nMax - page + 1;
  }
  return std::max(pos, Info.nMin);
}

// ---- Scroll bars of a scrolling window -----------------------------------------------------------

TSkinScrollbar::TSkinScrollbar(TComponent* AOwner) : TSkinControl(AOwner) {
  FHorzGeometry.StyleMask = WS_HSCROLL;
  FVertGeometry.StyleMask = WS_VSCROLL;
}

TSkinScrollbar::~TSkinScrollbar() {
  if (!FAlive) return;
  // Freed from inside its own drag loop: the loop must not touch this object again.
  *FAlive = false;
  FAlive.reset();
  if (GetCapture() == FHandle) ReleaseCapture();
}

void TSkinScrollbar::ResetScrollState(bool DragThumb) {
  FTracking = FInVScroll = FInHScroll = false;
  FHorzInfo.cbSize = FVertInfo.cbSize = sizeof(SCROLLINFO);
  FDragThumb = DragThumb;
}

void TSkinScrollbar::SkinScrollingControl(TWinControl* Control, TSkinData* Data, TCanvas* Canvas,
                                          TSkinControlHost* Form, bool DragThumb) {
  // A second takeover would keep our own method as the one to give back.
  if (!Control || FOldWindowProc.Assigned() || FObjectInstance) return;
  FForm = Form;
  FSkinData = Data;
  FCanvas = Canvas;
  FControl = Control;
  FHandle = Control->Handle();
  TakeWindowProc(Control);
  if (FForm) FForm->AddControl(this);
  ResetScrollState(DragThumb);
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form) {
  // Listed with the form like every bare takeover, so that skinning off gives the window back.
  TSkinControl::SkinHandle(Handle, Data, Canvas, Form);
  ResetScrollState(false);
}

void TSkinScrollbar::Unskin() { TSkinControl::Unskin(); }

bool TSkinScrollbar::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (Message.WParam) break;
      {
        TFlagScope in(FInPaint);
        CallDefault(Message);
      }
      AfterDefault(Message);
      return false;
    case WM_NCCALCSIZE:
      CallDefault(Message);
      return false;
    case WM_NCMOUSEMOVE:
      // The system would draw its own hot bar over ours.
      return Message.WParam != HTHSCROLL && Message.WParam != HTVSCROLL;
    case WM_NCLBUTTONDOWN:
      return !(FDragThumb && NCButtonDown(Message));
    case WM_HSCROLL: {
      FPressedPart = PressedPartOf(Message.WParam, false);
      {
        TFlagScope in(FInHScroll);
        CallDefault(Message);
      }
      PaintFrame(nullptr);
      return false;
    }
    case WM_VSCROLL: {
      FPressedPart = PressedPartOf(Message.WParam, true);
      {
        TFlagScope in(FInVScroll);
        CallDefault(Message);
      }
      PaintFrame(nullptr);
      return false;
    }
  }
  return TSkinControl::BeforeDefault(Message);
}

void TSkinScrollbar::AfterDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      // Within the window's own paint (its frame painted as the paint begins) the bars are painted
      // over when that paint ends: painting the client once more would only paint it twice.
      if (!FInPaint) Repaint();
      return;
    case WM_SIZE:
    case WM_PRINT:
      Repaint();
      return;
  }
  TSkinControl::AfterDefault(Message);
}

void TSkinScrollbar::DrawControl(HDC DC, const RECT& R) {
  if (!FSkinData || !Usable(FSkinData->ScrollbarSkin.get())) return;
  FStyle = int32_t(GetWindowLongA(FHandle, GWL_STYLE));
  FExStyle = int32_t(GetWindowLongA(FHandle, GWL_EXSTYLE));
  // While the window scrolls it may hide a bar for a moment; ours stays.
  if (FInVScroll) FStyle |= WS_VSCROLL;
  if (FInHScroll) FStyle |= WS_HSCROLL;
  const bool vert = FStyle & WS_VSCROLL, horz = FStyle & WS_HSCROLL;
  if (!vert && !horz) return;

  const int b = GetSystemMetrics(SM_CXHSCROLL);
  RECT client{};
  GetClientRect(FHandle, &client);
  TScrollBarRects rects{FHorzRect, FVertRect, FSizeBoxRect};
  LayoutScrollBars(RectWidth(R), RectHeight(R), client, b, DWORD(FStyle), DWORD(FExStyle), rects);
  FHorzRect = rects.Horz;
  FVertRect = rects.Vert;
  FSizeBoxRect = rects.SizeBox;
  FHorzGeometry.ArrowSize = FVertGeometry.ArrowSize = b;

  if (horz && NotEmpty(FHorzRect)) DrawBar(DC, FHorzRect, false);
  if (vert && NotEmpty(FVertRect)) DrawBar(DC, FVertRect, true);
  if (horz && vert && NotEmpty(FSizeBoxRect)) FillBackground(DC, FSizeBoxRect);
}

void TSkinScrollbar::DrawBar(HDC DC, const RECT& B, bool Vertical) {
  // The window is drawing that bar itself right now.
  if (Vertical ? FInVScroll : FInHScroll) return;
  const int n = Vertical ? RectHeight(B) : RectWidth(B);
  if (n < 0 || n > kLongestBar) return;
  UpdateThumb(n, Vertical);
  const TScrollGeometry& g = Vertical ? FVertGeometry : FHorzGeometry;
  PaintSkinBar(*this, DC, B, Vertical, FPressedPart, g.ArrowSize, g);
}

void TSkinScrollbar::UpdateThumb(int N, bool Vertical) {
  // During a drag the thumb stays where the loop put it.
  if (FTracking) return;
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  SCROLLINFO si{sizeof si, kThumbInfoMask, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(FHandle, Vertical ? SB_VERT : SB_HORZ, &si)) return;
  TScrollGeometry& g = Vertical ? FVertGeometry : FHorzGeometry;
  if (!ComputeThumb(N, a, MinimumThumb(a), GetSystemMetrics(SM_CXHTHUMB), si.nMin, int(si.nPage), si.nPos,
                    si.nMax - si.nMin, g))
    return;
  SCROLLINFO& info = Vertical ? FVertInfo : FHorzInfo;
  info.nMin = si.nMin;
  info.nMax = si.nMax;
  info.nPage = si.nPage;
  info.nPos = si.nPos;
  info.nTrackPos = si.nTrackPos;
}

int TSkinScrollbar::HitPart(int X, bool Vertical) const {
  return ScrollHitPart(X, Vertical ? FVertGeometry : FHorzGeometry);
}

bool TSkinScrollbar::NCButtonDown(TMessage& Message) {
  if (FTracking || (Message.WParam != HTHSCROLL && Message.WParam != HTVSCROLL)) return false;
  POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  ScreenToClient(FHandle, &p);
  const bool vertical = Message.WParam == HTVSCROLL;
  FPressedPart = vertical ? ppVertThumb : ppHorzThumb;
  if (HitPart(vertical ? p.y : p.x, vertical) != SB_THUMBTRACK) return false;
  PaintFrame(nullptr);
  TrackThumb(vertical ? SB_VERT : SB_HORZ, vertical ? WM_VSCROLL : WM_HSCROLL);
  return true;
}

void TSkinScrollbar::TrackThumb(int Bar, UINT ScrollMsg) {
  const bool vertical = Bar == SB_VERT;
  TScrollGeometry& g = vertical ? FVertGeometry : FHorzGeometry;
  SCROLLINFO& info = vertical ? FVertInfo : FHorzInfo;
  const HWND wnd = FHandle;
  SetCapture(wnd);
  FTracking = true;
  POINT start{};
  GetCursorPos(&start);
  const int p0 = g.ThumbOffset;
  int last = info.nPos;
  // The loop holds the flag too, so it can still read it once this object is gone.
  std::shared_ptr<bool> aliveFlag = std::make_shared<bool>(true);
  FAlive = aliveFlag;
  const bool& alive = *aliveFlag;

  // The release: the window learns the final position, then that the scrolling ended.
  auto release = [&] {
    FTracking = false;
    SendMessageA(wnd, ScrollMsg, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
    if (alive) PostMessageA(wnd, ScrollMsg, SB_ENDSCROLL, 0);
  };
  auto dispatch = [](MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  };

  while (alive && FTracking) {
    // A window that went, or whose capture another took, never sees its button go up.
    if (!IsWindow(wnd) || GetCapture() != wnd) {
      release();
      break;
    }
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    switch (msg.message) {
      case WM_QUIT:
        // The message loop outside must still see it.
        PostQuitMessage(int(msg.wParam));
        release();
        break;
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE: {
        dispatch(msg);
        if (!alive) break;
        POINT cursor{};
        GetCursorPos(&cursor);
        int offset = p0 + (vertical ? cursor.y - start.y : cursor.x - start.x);
        int pos = DragPosition(offset, g, info);
        if (pos == last) break;
        info.fMask = SIF_POS;
        info.nPos = info.nTrackPos = pos;
        g.ThumbOffset = offset;
        SetScrollInfo(wnd, Bar, &info, FALSE);
        last = pos;
        SendMessageA(wnd, ScrollMsg, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
        break;
      }
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        release();
        break;
      default:
        dispatch(msg);
    }
  }
  if (!alive) return;
  FAlive.reset();
  FTracking = false;
  if (GetCapture() == wnd) ReleaseCapture();
}

// ---- List views ----------------------------------------------------------------------------------

void TSkinListView::SkinScrollingControl(TWinControl* Control, TSkinData* Data, TCanvas* Canvas,
                                         TSkinControlHost* Form, bool DragThumb) {
  TSkinScrollbar::SkinScrollingControl(Control, Data, Canvas, Form, DragThumb);
  if (FHeader || !FHandle) return;
  auto header = reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0));
  if (!header) return;
  FHeader = new TSkinHeader(Owner());
  FHeader->FreeNotification(this);
  FHeader->SkinHandle(header, Data, Canvas, Form);
}

void TSkinListView::Notification(TComponent* AComponent, TOperation Operation) {
  TSkinScrollbar::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FHeader) FHeader = nullptr;
}

// ---- Headers -------------------------------------------------------------------------------------

void TSkinHeader::SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form) {
  TSkinControl::SkinHandle(Handle, Data, Canvas, Form);
}

bool TSkinHeader::BeforeDefault(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND && FSkinData && Usable(FSkinData->Headerbar.get())) {
    Message.Result = 1;
    return false;
  }
  return TSkinControl::BeforeDefault(Message);
}

void TSkinHeader::DrawControl(HDC DC, const RECT& R) {
  if (!FSkinData || !Usable(FSkinData->Headerbar.get())) return;
  TDataSkinObject* e = FSkinData->Headerbar.get();
  const int w = RectWidth(R), h = RectHeight(R);
  if (w <= 0 || h <= 0) return;
  TBitmap work(w, h);
  TCanvas* canvas = work.Canvas();
  SelectWindowFont(canvas, FHandle, nullptr);
  SetBkMode(canvas->Handle(), TRANSPARENT);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(FHandle, HDM_GETIMAGELIST, 0, 0));
  const int n = int(SendMessageA(FHandle, HDM_GETITEMCOUNT, 0, 0));
  int right = 0;
  for (int i = 0; i < n; ++i) {
    RECT s{};
    if (!SendMessageA(FHandle, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&s))) continue;
    DrawSection(images, canvas, i, s);
    right = std::max(right, int(s.right));
  }
  if (right < w) {
    RECT rest{right, 0, w, h};
    std::unique_ptr<TBitmap> pic =
        BuildNineSliceBitmap(rest, e->Image.get(), e->Margins(), 1, e->FrameCount, e->Tile, 0);
    BitBlt(canvas->Handle(), right, 0, w - right, h, pic->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  BitBlt(DC, R.left, R.top, w, h, canvas->Handle(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawSection(HIMAGELIST Images, TCanvas* Canvas, int Index, const RECT& S) {
  TDataSkinObject* e = FSkinData->Headerbar.get();
  char text[201] = {};
  HDITEMA item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(FHandle, HDM_GETITEMA, WPARAM(Index), reinterpret_cast<LPARAM>(&item));
  text[sizeof text - 1] = 0;
  if (RectWidth(S) > 0 && RectHeight(S) > 0) {
    std::unique_ptr<TBitmap> pic =
        BuildNineSliceBitmap(S, e->Image.get(), e->Margins(), 1, e->FrameCount, e->Tile, 0);
    BitBlt(Canvas->Handle(), S.left, S.top, RectWidth(S), RectHeight(S), pic->Canvas()->Handle(), 0, 0,
           SRCCOPY);
  }
  if (!text[0]) return;
  const int justify = item.fmt & 0xFF;
  const int placement = justify == HDF_RIGHT ? 2 : justify == HDF_CENTER ? 1 : 0;
  const int image = item.fmt & (HDF_IMAGE | HDF_OWNERDRAW) ? item.iImage : -1;
  DrawImageAndText(Canvas, S, placement, text, image, Images);
}

// ---- Size grips ----------------------------------------------------------------------------------

bool TSkinSizer::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return false;
    case WM_PAINT:
      // Nothing is painted, but the update region is settled so no paint is asked for again.
      if (!Message.WParam) ValidateRect(FHandle, nullptr);
      return false;
  }
  return TSkinControl::BeforeDefault(Message);
}

// ---- The toolkit's scroll-bar control ------------------------------------------------------------

bool TSkinScControl::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
      if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) return false;
      break;
    case SBM_SETSCROLLINFO:
      CallDefault(Message);
      PaintFrame(nullptr);
      return false;
    case CN_HSCROLL:
    case CN_VSCROLL:
      FPressedPart = PressedPartOf(Message.WParam, Message.Msg == CN_VSCROLL);
      CallDefault(Message);
      PaintFrame(nullptr);
      return false;
  }
  return TSkinControl::BeforeDefault(Message);
}

void TSkinScControl::DrawControl(HDC DC, const RECT& R) {
  if (!FSkinData || !Usable(FSkinData->ScrollbarSkin.get())) return;
  auto* bar = ObjectAs<TScrollBar>(FControl);
  if (!bar) return;
  const bool vertical = bar->Kind() == sbVertical;
  const int n = vertical ? RectHeight(R) : RectWidth(R);
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  // The control counts Max - Min + 1 positions.
  TScrollGeometry g;
  if (ComputeThumb(n, a, MinimumThumb(a), GetSystemMetrics(SM_CXHTHUMB), bar->Min(), bar->PageSize(),
                   bar->Position(), bar->Max() - bar->Min() + 1, g)) {
    FTrackLength = g.TrackLength;
    FThumbSize = g.ThumbSize;
    FThumbOffset = g.ThumbOffset;
  }
  g = TScrollGeometry{a, FTrackLength, FThumbSize, FThumbOffset, 0};
  PaintSkinBar(*this, DC, R, vertical, FPressedPart, a, g);
}
