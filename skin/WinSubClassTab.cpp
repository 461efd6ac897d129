#include "skin/WinSubClassTab.h"

#include <commctrl.h>

#include "skin/ImgUtil.h"
#include "skin/RezIderData.h"
#include "skin/RezIderFormDraw.h"
#include "tk/Tabs.h"

namespace {

bool Usable(const std::unique_ptr<TBitmap>& image) { return image && !image->Empty(); }

enum : uint8_t { tpTop = 0, tpBottom = 1, tpLeft = 2, tpRight = 3 };

// The page border's fixed margins, whatever the skin's Tabs margins.
constexpr RECT kBorderMargins{4, 5, 4, 4};

// A 24-bit copy of a skin picture.
void CopyPicture(TBitmap* Target, TBitmap* Source) {
  Target->Assign(Source);
  Target->SetPixelFormat(pf24bit);
}

}  // namespace

uint8_t TabPositionOfStyle(DWORD Style) {
  const bool second = (Style & TCS_BOTTOM) != 0, vertical = (Style & TCS_VERTICAL) != 0;
  if (second && vertical) return tpRight;
  if (second) return tpBottom;
  if (vertical) return tpLeft;
  return tpTop;
}

RECT TabStripRect(uint8_t Position, const RECT& R, const RECT& P) {
  switch (Position) {
    case tpBottom:
      return RECT{R.left, P.bottom, R.right, R.bottom};
    case tpLeft:
      return RECT{R.left, R.top, P.left, R.bottom};
    case tpRight:
      return RECT{P.right, R.top, R.right, R.bottom};
    default:
      return RECT{R.left, R.top, R.right, P.top};
  }
}

RECT TabInStrip(uint8_t Position, const RECT& T, const RECT& R, const RECT& P, int W) {
  RECT t = T;
  switch (Position) {
    case tpBottom:
      OffsetRect(&t, 0, -P.bottom - 1);
      return t;
    case tpLeft:
      return RECT{W - T.bottom, T.left, W - T.top, T.right};
    case tpRight:
      return RECT{T.top - 1, R.right - T.right, T.bottom - 1, R.right - T.left};
    default:
      OffsetRect(&t, 0, 1);
      return t;
  }
}

TSkinTab::TSkinTab(TComponent* AOwner)
    : TSkinControl(AOwner),
      FTabBitmap(std::make_unique<TBitmap>()),
      FBorderBitmap(std::make_unique<TBitmap>()),
      FStripBitmap(std::make_unique<TBitmap>()) {
  FStripBitmap->SetPixelFormat(pf24bit);
}

TSkinTab::~TSkinTab() = default;

void TSkinTab::SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form) {
  TSkinControl::SkinHandle(Handle, Data, Canvas, Form);
  FFocused = GetFocus() == FHandle;
  FEnabled = WindowEnabled();
  FText = SkinWindowText(FHandle);
  BuildBitmaps();
  FindUpDown();
}

void TSkinTab::Refresh() {
  TSkinControl::Refresh();
  BuildBitmaps();
}

bool TSkinTab::BeforeDefault(TMessage& Message) { return TSkinControl::BeforeDefault(Message); }

void TSkinTab::ReadTabPosition() {
  FTabPosition = TabPositionOfStyle(DWORD(GetWindowLongA(FHandle, GWL_STYLE)));
}

void TSkinTab::BuildBitmaps() {
  ReadTabPosition();
  TDataSkinBorder* e = FSkinData ? FSkinData->Tabs.get() : nullptr;
  if (!e || !Usable(e->Image) || !Usable(e->Image2)) return;
  CopyPicture(FTabBitmap.get(), e->Image.get());
  CopyPicture(FBorderBitmap.get(), e->Image2.get());
  // Side tabs keep their faces upright: the whole strip is turned after it is composed.
  switch (FTabPosition) {
    case tpBottom:
      FlipBitmap(FBorderBitmap.get());
      FlipBitmap(FTabBitmap.get());
      break;
    case tpLeft:
      RotateBitmap270(FBorderBitmap.get());
      break;
    case tpRight:
      RotateBitmap90(FBorderBitmap.get());
      break;
  }
}

bool TSkinTab::FindUpDown() {
  HWND u = FindWindowExA(FHandle, nullptr, UPDOWN_CLASSA, nullptr);
  if (!u) return false;
  // An up-down that went away and came back is a new window: its old object (gone, or waiting for
  // the form to free it) is let go and the new window skinned.
  if (!FUpDown || FUpDown->FHandle != u) SkinUpDown(FUpDown, u, FSkinData, FCanvas);
  return (GetWindowLongA(u, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TSkinTab::Notification(TComponent* AComponent, TOperation Operation) {
  TSkinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUpDown) FUpDown = nullptr;
}

void TSkinTab::DrawTab(HDC DC, const RECT& T, int K) {
  TDataSkinBorder* e = FSkinData->Tabs.get();
  if (FTabBitmap->Empty()) return;
  DrawNineSlice(DC, T, FTabBitmap.get(), e->Margins(), K, e->FrameCount, e->Trans, e->Tile, 0);
}

void TSkinTab::DrawControl(HDC DC, const RECT& R) {
  TDataSkinBorder* e = FSkinData ? FSkinData->Tabs.get() : nullptr;
  if (!e || !Usable(e->Image)) return;
  RECT p = R;
  SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&p));
  InflateRect(&p, 4, 4);
  switch (FTabPosition) {
    case tpBottom:
      --p.bottom;
      break;
    case tpLeft:
      ++p.left;
      break;
    case tpRight:
      --p.right;
      break;
    default:
      ++p.top;
  }
  const int n = int(SendMessageA(FHandle, TCM_GETITEMCOUNT, 0, 0));
  const int cur = int(SendMessageA(FHandle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(FHandle, TCM_GETIMAGELIST, 0, 0));

  const RECT s = TabStripRect(FTabPosition, R, p);
  const bool lying = FTabPosition == tpLeft || FTabPosition == tpRight;
  const int w = lying ? RectHeight(s) : RectWidth(s), h = lying ? RectWidth(s) : RectHeight(s);
  if (w > 0 && h > 0) {
    FStripBitmap->SetSize(w, h);
    TCanvas* c = FStripBitmap->Canvas();
    FillBackground(c->Handle(), RECT{0, 0, w, h});
    SelectWindowFont(c, FHandle, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    for (int i = 0; i < n; ++i) {
      char text[80] = {};
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      item.iImage = -1;
      SendMessageA(FHandle, TCM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
      text[sizeof text - 1] = 0;
      RECT t{};
      if (!SendMessageA(FHandle, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&t))) continue;
      t = TabInStrip(FTabPosition, t, R, p, w);
      const int k = i == cur ? 2 : 1;
      DrawTab(c->Handle(), t, k);
      const TColor colour = k == 1 ? e->NormalColour2 : e->MouseOverColour2;
      c->Font()->SetColor(colour);
      SetTextColor(c->Handle(), ColorToCOLORREF(colour));
      DrawImageAndText(c, t, 1, text, item.iImage, images);
    }
    if (FTabPosition == tpRight) RotateBitmap90(FStripBitmap.get());
    if (FTabPosition == tpLeft) RotateBitmap270(FStripBitmap.get());
    if (FindUpDown())
      DrawTabsClipped(DC, s);
    else
      BitBlt(DC, s.left, s.top, FStripBitmap->Width(), FStripBitmap->Height(),
             FStripBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (Usable(e->Image2) && !FBorderBitmap->Empty())
    StretchNineSlice(DC, p, FBorderBitmap.get(), kBorderMargins, 1, 1, 0, 0);
}

void TSkinTab::DrawTabsClipped(HDC DC, const RECT& S) {
  RECT u{}, w{};
  GetWindowRect(FUpDown->FHandle, &u);
  GetWindowRect(FHandle, &w);
  OffsetRect(&u, -w.left, -w.top);
  OffsetRect(&w, -w.left, -w.top);
  // The clipping is the drawing's own: a context handed in keeps what it had.
  const int saved = SaveDC(DC);
  HRGN clip = CreateRectRgn(0, 0, w.right, w.bottom);
  SelectClipRgn(DC, clip);
  ExcludeClipRect(DC, u.left, u.top, u.right, u.bottom);
  BitBlt(DC, S.left, S.top, FStripBitmap->Width(), FStripBitmap->Height(), FStripBitmap->Canvas()->Handle(),
         0, 0, SRCCOPY);
  RestoreDC(DC, saved);
  DeleteObject(clip);
}

// ---- Tab sets ------------------------------------------------------------------------------------

TSkinTab31::TSkinTab31(TComponent* AOwner) : TSkinControl(AOwner), FTabBitmap(std::make_unique<TBitmap>()) {}

TSkinTab31::~TSkinTab31() = default;

TTabSet* TSkinTab31::TabSet() const { return ObjectAs<TTabSet>(FControl); }

void TSkinTab31::SkinControl(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas, bool) {
  auto* control = ObjectAs<TWinControl>(Owner());
  if (!control || FSkinned) return;
  FControl = control;
  FHandle = control->Handle();
  TSkinControl::SkinHandle(FHandle, Data, Canvas, Form);
  // The bare takeover takes every window for enabled: a tab set disabled already greys its captions.
  FEnabled = WindowEnabled();
  BuildBitmap();
  TTabSet* set = TabSet();
  TWinControl* scroller = set ? set->Scroller() : nullptr;
  if (!scroller || control->ComponentCount() == 0 || control->Components(0) != scroller) return;
  FScroller = scroller;
  FindScroller();
}

void TSkinTab31::FindScroller() {
  if (!FScroller) return;
  HWND s = FScroller->Handle();
  if (FUpDown && FUpDown->FHandle == s) return;
  SkinUpDown(FUpDown, s, FSkinData, FCanvas);
  FUpDown->FHorizontal = 1;
}

void TSkinTab31::Notification(TComponent* AComponent, TOperation Operation) {
  TSkinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUpDown) FUpDown = nullptr;
}

void TSkinTab31::BuildBitmap() {
  FTabBitmap->Assign(nullptr);
  TDataSkinBorder* e = FSkinData ? FSkinData->Tabs.get() : nullptr;
  if (!e || !Usable(e->Image)) return;
  CopyPicture(FTabBitmap.get(), e->Image.get());
  // The tab set's tabs hang from its top edge.
  FlipBitmap(FTabBitmap.get());
}

bool TSkinTab31::Drawable() const {
  TDataSkinBorder* e = FSkinData ? FSkinData->Tabs.get() : nullptr;
  return e && Usable(e->Image) && TabSet() && !FTabBitmap->Empty();
}

bool TSkinTab31::BeforeDefault(TMessage& Message) {
  // Painting first would validate the window and leave the tab set's own painting nothing to
  // show: without pictures the tab set paints itself as before.
  if (!Drawable()) return TSkinControl::BeforeDefault(Message);
  switch (Message.Msg) {
    case WM_PAINT:
      PaintClient(Message);
      return true;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return false;
  }
  return TSkinControl::BeforeDefault(Message);
}

void TSkinTab31::DrawControl(HDC DC, const RECT& R) {
  if (!Drawable()) return;
  TDataSkinBorder* e = FSkinData->Tabs.get();
  TTabSet* set = TabSet();
  const int w = RectWidth(R), h = RectHeight(R);
  if (w <= 0 || h <= 0) return;
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  FillBackground(c->Handle(), RECT{0, 0, w, h});
  // The tab set paints with its font.
  c->SetFont(set->Font());
  FindScroller();
  const bool scrollerShown = FScroller && (GetWindowLongA(FScroller->Handle(), GWL_STYLE) & WS_VISIBLE);
  // Where the tab set itself lays its tabs out, so a click finds the tab drawn under it.
  for (const TTabSet::TTabPlace& place : set->Layout(c->Handle(), w, h, scrollerShown)) {
    const int k = place.Index == set->TabIndex() ? 2 : 1;
    DrawNineSlice(c->Handle(), place.Rect, FTabBitmap.get(), e->Margins(), k, e->FrameCount, e->Trans,
                  e->Tile, 0);
    const TColor colour = k == 1 ? e->NormalColour2 : e->MouseOverColour2;
    c->Font()->SetColor(colour);
    DrawCaptionText(c, place.Rect, DT_CENTER, FEnabled, set->Tabs().Strings(place.Index));
  }
  BitBlt(DC, R.left, R.top, w, h, c->Handle(), 0, 0, SRCCOPY);
}
