#include "skin/RezIderFormDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/RezIderData.h"

namespace {

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

void Stretch(HDC dst, int dl, int dt, int dr, int db, HDC src, int sl, int st, int sr, int sb) {
  StretchBlt(dst, dl, dt, dr - dl, db - dt, src, sl, st, sr - sl, sb - st, SRCCOPY);
}

// The nine pieces of one frame in a W x H target, in the order they must be drawn (the centre's
// tiles overrun its right and bottom sides and pieces 7 to 9 cover that).
struct TPiece {
  bool draw;
  RECT target, source;
};

void NineSlicePieces(const TStripFrame& f, const RECT& m, int W, int H, TPiece out[9]) {
  const int L = m.left, T = m.top, R = m.right, B = m.bottom;
  const int x0 = f.x0, y0 = f.y0, fw = f.fw, fh = f.fh;
  out[0] = {L > 0 && T > 0, {0, 0, L, T}, {x0, y0, x0 + L, y0 + T}};
  out[1] = {L > 0 && B > 0, {0, H - B, L, H}, {x0, y0 + fh - B, x0 + L, y0 + fh}};
  out[2] = {R > 0 && T > 0, {W - R, 0, W, T}, {x0 + fw - R, y0, x0 + fw, y0 + T}};
  out[3] = {L > 0, {0, T, L, H - B}, {x0, y0 + T, x0 + L, y0 + fh - B}};
  out[4] = {T > 0, {L, 0, W - R, T}, {x0 + L, y0, x0 + fw - R, y0 + T}};
  out[5] = {true, {L, T, W - R, H - B}, {x0 + L, y0 + T, x0 + fw - R, y0 + fh - B}};
  out[6] = {R > 0 && B > 0, {W - R, H - B, W, H}, {x0 + fw - R, y0 + fh - B, x0 + fw, y0 + fh}};
  out[7] = {R > 0, {W - R, T, W, H - B}, {x0 + fw - R, y0 + T, x0 + fw, y0 + fh - B}};
  out[8] = {B > 0, {L, H - B, W - R, H}, {x0 + L, y0 + fh - B, x0 + fw - R, y0 + fh}};
}

void DrawPiece(HDC dst, int dx, int dy, HDC src, const TPiece& p) {
  Stretch(dst, p.target.left + dx, p.target.top + dy, p.target.right + dx, p.target.bottom + dy, src,
          p.source.left, p.source.top, p.source.right, p.source.bottom);
}

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// A picture of the target's size to compose into; empty when the target has no area.
std::unique_ptr<TBitmap> Picture(int W, int H) {
  if (W <= 0 || H <= 0) return std::make_unique<TBitmap>();
  return std::make_unique<TBitmap>(W, H, pf24bit);
}

// The composed picture to the target's top-left corner, opaque or with the key left out.
void Deliver(HDC DC, const RECT& Target, TBitmap* Pic, int Trans) {
  if (Pic->Empty()) return;
  if (Trans == 0)
    BitBlt(DC, Target.left, Target.top, Pic->Width(), Pic->Height(), Pic->Canvas()->Handle(), 0, 0, SRCCOPY);
  else
    DrawTransparentBitmap(DC, Target, Pic, SkinKeyColour);
}

}  // namespace

TStripFrame StripFrame(TBitmap* Strip, int Frame, int FrameCount, bool Vertical) {
  const int n = FrameCount < 1 ? 1 : FrameCount;
  const int k = Clamp(Frame, 1, n);
  TStripFrame f;
  if (Vertical) {
    f.fw = Strip->Width();
    f.fh = Strip->Height() / n;
    f.x0 = 0;
    f.y0 = (k - 1) * f.fh;
  } else {
    f.fw = Strip->Width() / n;
    f.fh = Strip->Height();
    f.x0 = (k - 1) * f.fw;
    f.y0 = 0;
  }
  return f;
}

RECT FitMargins(const RECT& Margins, const TStripFrame& F, int W, int H) {
  RECT m;
  m.left = Clamp(Margins.left, 0, F.fw);
  m.right = Clamp(Margins.right, 0, F.fw - m.left);
  m.top = Clamp(Margins.top, 0, F.fh);
  m.bottom = Clamp(Margins.bottom, 0, F.fh - m.top);
  const bool dropX = m.left + m.right > W;
  const bool dropY = m.top + m.bottom > H;
  if (dropX) m.left = m.right = 0;
  if (dropY) m.top = m.bottom = 0;
  return m;
}

std::unique_ptr<TBitmap> BuildNineSliceBitmap(const RECT& Target, TBitmap* Strip, const RECT& Margins,
                                              int Frame, int FrameCount, int Tile, int Vertical) {
  const int W = Target.right - Target.left, H = Target.bottom - Target.top;
  std::unique_ptr<TBitmap> pic = Picture(W, H);
  if (pic->Empty()) return pic;
  const TStripFrame f = StripFrame(Strip, Frame, FrameCount, Vertical != 0);
  TPiece pieces[9];
  NineSlicePieces(f, FitMargins(Margins, f, W, H), W, H, pieces);
  HDC src = Strip->Canvas()->Handle();
  for (int i = 0; i < 9; ++i) {
    if (!pieces[i].draw) continue;
    HDC dst = pic->Canvas()->Handle();
    SetStretchBltMode(dst, COLORONCOLOR);
    if (i == 5 && Tile != 0)
      DrawTiledPiece(pic->Canvas(), pieces[i].target, Strip, pieces[i].source);
    else
      DrawPiece(dst, 0, 0, src, pieces[i]);
  }
  return pic;
}

void DrawNineSlice(HDC DC, const RECT& Target, TBitmap* Strip, const RECT& Margins, int Frame, int FrameCount,
                   int Trans, int Tile, int Vertical) {
  if (Inverted(Target)) return;
  std::unique_ptr<TBitmap> pic =
      BuildNineSliceBitmap(Target, Strip, Margins, Frame, FrameCount, Tile, Vertical);
  Deliver(DC, Target, pic.get(), Trans);
}

void StretchNineSlice(HDC DC, const RECT& Target, TBitmap* Strip, const RECT& Margins, int Frame,
                      int FrameCount, int /*Ignored*/, int Vertical) {
  if (Inverted(Target)) return;
  const int W = Target.right - Target.left, H = Target.bottom - Target.top;
  const TStripFrame f = StripFrame(Strip, Frame, FrameCount, Vertical != 0);
  TPiece pieces[9];
  NineSlicePieces(f, FitMargins(Margins, f, W, H), W, H, pieces);
  SetStretchBltMode(DC, COLORONCOLOR);
  HDC src = Strip->Canvas()->Handle();
  for (int i = 0; i < 9; ++i)
    if (i != 5 && pieces[i].draw) DrawPiece(DC, Target.left, Target.top, src, pieces[i]);
}

void DrawThreeSliceTiled(TCanvas* Canvas, const RECT& Target, TBitmap* Strip, const RECT& Margins, int Frame,
                         int FrameCount, int Trans, int Vertical) {
  if (Inverted(Target)) return;
  const int W = Target.right - Target.left, H = Target.bottom - Target.top;
  std::unique_ptr<TBitmap> pic = Picture(W, H);
  if (pic->Empty()) return;
  const TStripFrame f = StripFrame(Strip, Frame, FrameCount, Vertical != 0);
  const int ML = Clamp(Margins.left, 0, f.fw);
  const int MR = Clamp(Margins.right, 0, f.fw - ML);
  const int mw = f.fw - ML - MR;
  HDC dst = pic->Canvas()->Handle();
  SetStretchBltMode(dst, COLORONCOLOR);
  HDC src = Strip->Canvas()->Handle();
  Stretch(dst, 0, 0, ML, H, src, f.x0, f.y0, f.x0 + ML, f.y0 + f.fh);
  // A strip whose margins take the whole frame has no middle to repeat.
  if (mw > 0)
    for (int x = ML; x < W - MR; x += mw)
      Stretch(dst, x, 0, x + mw, H, src, f.x0 + ML, f.y0, f.x0 + ML + mw, f.y0 + f.fh);
  Stretch(dst, W - MR, 0, W, H, src, f.x0 + f.fw - MR, f.y0, f.x0 + f.fw, f.y0 + f.fh);
  Deliver(Canvas->Handle(), Target, pic.get(), Trans);
}

void DrawStripFrame(HDC DC, const RECT& Target, TBitmap* Strip, int Frame, int FrameCount, int Trans) {
  if (Inverted(Target)) return;
  std::unique_ptr<TBitmap> pic = Picture(Target.right - Target.left, Target.bottom - Target.top);
  if (pic->Empty()) return;
  const TStripFrame f = StripFrame(Strip, Frame, FrameCount, false);
  Stretch(pic->Canvas()->Handle(), 0, 0, pic->Width(), pic->Height(), Strip->Canvas()->Handle(), f.x0, 0,
          f.x0 + f.fw, Strip->Height());
  Deliver(DC, Target, pic.get(), Trans);
}

void DrawTransparentBitmap(HDC DC, const RECT& Target, TBitmap* Source, COLORREF Key) {
  if (Inverted(Target)) return;
  const int w = Target.right - Target.left, h = Target.bottom - Target.top;
  if (w == 0 || h == 0) return;
  HDC src = Source->Canvas()->Handle();
  // White where the source has the key colour, black elsewhere.
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HDC mdc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldMask = SelectObject(mdc, mask);
  COLORREF oldSrcBk = SetBkColor(src, Key);
  BitBlt(mdc, 0, 0, w, h, src, 0, 0, SRCCOPY);
  SetBkColor(src, oldSrcBk);
  if (IsWinNT) {
    MaskBlt(DC, Target.left, Target.top, w, h, src, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  } else {
    COLORREF oldBk = SetBkColor(DC, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(DC, RGB(0, 0, 0));
    BitBlt(DC, Target.left, Target.top, w, h, src, 0, 0, SRCINVERT);
    BitBlt(DC, Target.left, Target.top, w, h, mdc, 0, 0, SRCAND);
    BitBlt(DC, Target.left, Target.top, w, h, src, 0, 0, SRCINVERT);
    SetBkColor(DC, oldBk);
    SetTextColor(DC, oldText);
  }
  SelectObject(mdc, oldMask);
  DeleteDC(mdc);
  DeleteObject(mask);
}

void DrawTiledPiece(TCanvas* Canvas, const RECT& Target, TBitmap* Source, const RECT& SourceRect) {
  const int pw = SourceRect.right - SourceRect.left, ph = SourceRect.bottom - SourceRect.top;
  if (pw <= 0 || ph <= 0) return;
  TBitmap tile(pw, ph, pf24bit);
  HDC tdc = tile.Canvas()->Handle();
  BitBlt(tdc, 0, 0, pw, ph, Source->Canvas()->Handle(), SourceRect.left, SourceRect.top, SRCCOPY);
  HDC dst = Canvas->Handle();
  for (int y = Target.top; y < Target.bottom; y += ph)
    for (int x = Target.left; x < Target.right; x += pw) BitBlt(dst, x, y, pw, ph, tdc, 0, 0, SRCCOPY);
}

// ---- TRegionBuilder -------------------------------------------------------------------------------

TRegionBuilder::TRegionBuilder() {
  Grow();
  ResetHeader();
}

TRegionBuilder::~TRegionBuilder() {
  if (FResult) DeleteObject(FResult);
}

void TRegionBuilder::Add(int l, int t, int r, int b) {
  if (FCount == FRoom) Grow();
  RECT* rects = reinterpret_cast<RECT*>(FBuffer.data() + sizeof(RGNDATAHEADER));
  rects[FCount++] = RECT{l, t, r, b};
  RECT& bound = Header()->rcBound;
  bound.left = std::min<LONG>(bound.left, l);
  bound.top = std::min<LONG>(bound.top, t);
  bound.right = std::max<LONG>(bound.right, r);
  bound.bottom = std::max<LONG>(bound.bottom, b);
  if (FCount == kBatch) Flush();
}

void TRegionBuilder::Flush() {
  Header()->nCount = DWORD(FCount);
  HRGN part = ExtCreateRegion(nullptr, DWORD(FBuffer.size()), reinterpret_cast<RGNDATA*>(FBuffer.data()));
  if (!FResult) {
    FResult = part;
  } else if (part) {
    CombineRgn(FResult, FResult, part, RGN_OR);
    DeleteObject(part);
  }
  FCount = 0;
  ResetHeader();
}

HRGN TRegionBuilder::Release() {
  HRGN r = FResult;
  FResult = nullptr;
  return r;
}

const RGNDATAHEADER& TRegionBuilder::BatchHeader() {
  Header()->nCount = DWORD(FCount);
  return *Header();
}

void TRegionBuilder::ResetHeader() {
  RGNDATAHEADER* h = Header();
  h->dwSize = sizeof(RGNDATAHEADER);
  h->iType = RDH_RECTANGLES;
  h->nCount = DWORD(FCount);
  h->nRgnSize = 0;
  h->rcBound = RECT{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
}

void TRegionBuilder::Grow() {
  // More room for the same batch: its header, bound included, stays.
  FRoom += kGrowth;
  FBuffer.resize(sizeof(RGNDATAHEADER) + sizeof(RECT) * size_t(FRoom));
}

HRGN CreateRegionFromBitmap(TBitmap* Bitmap, int XOffset, int YOffset, COLORREF Key, int RedTolerance,
                            int GreenTolerance, int BlueTolerance) {
  const int rLo = GetRValue(Key), gLo = GetGValue(Key), bLo = GetBValue(Key);
  const int rHi = std::min(255, rLo + RedTolerance), gHi = std::min(255, gLo + GreenTolerance),
            bHi = std::min(255, bLo + BlueTolerance);
  auto transparent = [&](const uint8_t* p) {
    return p[2] >= rLo && p[2] <= rHi && p[1] >= gLo && p[1] <= gHi && p[0] >= bLo && p[0] <= bHi;
  };
  // The rows are read as they are held, so the caller's picture stays as it was.
  const int step = Bitmap->PixelFormat() == pf32bit ? 4 : 3;
  TRegionBuilder builder;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(Bitmap->ScanLine(y));
    int x = 0;
    while (x < w) {
      while (x < w && transparent(row + step * x)) ++x;
      const int x1 = x;
      while (x < w && !transparent(row + step * x)) ++x;
      if (x > x1) builder.Add(x1 + XOffset, y + YOffset, x + XOffset, y + 1 + YOffset);
    }
  }
  builder.Flush();
  return builder.Release();
}

void DrawCenteredText(TCanvas* C, const RECT& R, const std::string& Text, bool Enabled, int Alignment) {
  const UINT align = Alignment == 1 ? DT_RIGHT : Alignment == 2 ? DT_CENTER : DT_LEFT;
  const UINT f = align | DT_SINGLELINE | DT_EXPANDTABS;
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetStyle(0);
  if (!Enabled) C->Font()->SetColor(clBtnShadow);
  HDC dc = C->Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT m = R;
  DrawTextA(dc, Text.c_str(), int(Text.size()), &m, f | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&m, ((R.right - R.left) - (m.right - m.left)) / 2,
             ((R.bottom - R.top) - (m.bottom - m.top)) / 2);
  std::wstring wide;
  if (!Text.empty()) {
    int n = MultiByteToWideChar(CP_ACP, 0, Text.data(), int(Text.size()), nullptr, 0);
    wide.resize(size_t(n));
    MultiByteToWideChar(CP_ACP, 0, Text.data(), int(Text.size()), wide.data(), n);
  }
  SkinDrawText(dc, wide, m, f);
}
