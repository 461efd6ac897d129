// The small skinned controls: check boxes and radio buttons, track bar thumbs, up-down buttons and
// progress bars, each painted from one skin element.
#include "skin/RezIderData.h"
#include "skin/RezIderForm.h"
#include "skin/RezIderFormDraw.h"
#include "skin/WinSubClass.h"
#include "tk/FormReader.h"

namespace {

bool Usable(const std::unique_ptr<TBitmap>& image) { return image && !image->Empty(); }

// Messages after which a check or radio control shows its (possibly changed) state again.
bool ChangesCheckState(UINT msg) {
  switch (msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case CM_CHECKREPAINT:
      return true;
  }
  return false;
}

// The box or circle of a check or radio control drawn over the control's own.
void DrawCheckGlyph(TSkinControl& c, HDC dc, const RECT& r, bool radio) {
  TDataSkinButton* e = c.FSkinData ? c.FSkinData->Buttons.get() : nullptr;
  if (!e) return;
  const std::unique_ptr<TBitmap>& strip = radio ? e->RadioImage : e->CheckImage;
  if (!Usable(strip)) return;
  int n = std::max(radio ? e->RadioButtonFrame : e->CheckButtonFrame, 1);
  int fw = strip->Width() / n, fh = strip->Height();
  int cw = GetSystemMetrics(SM_CXMENUCHECK);
  LRESULT state = SendMessageA(c.FHandle, radio ? BM_GETCHECK : BM_GETSTATE, 0, 0);
  bool checked = (state & BST_CHECKED) != 0;
  // A toolkit control's published Checked is its state, whatever its window shows.
  if (std::string value; GetEnumProp(c.FControl, "Checked", value)) checked = SameText(value, "true");
  DWORD style = GetWindowLongA(c.FHandle, GWL_STYLE);
  int k =
      CheckFrame(radio, n, checked, (style & WS_DISABLED) != 0, !radio && (state & BST_INDETERMINATE) != 0);
  RECT image{0, r.top + (RectHeight(r) - fh) / 2, 0, 0};
  image.bottom = image.top + fh;
  RECT back;
  if (style & BS_LEFTTEXT) {
    image.right = fw <= 14 ? r.right - (14 - fw) / 2 : r.right - 1;
    image.left = image.right - fw;
    back = RECT{r.right - cw - 3, r.top, r.right, r.bottom};
  } else {
    image.left = (fw <= 14 ? r.left + (14 - fw) / 2 : r.left) + (radio ? 0 : 2);
    image.right = image.left + fw;
    back = RECT{r.left, r.top, r.left + cw + 3, r.bottom};
  }
  c.FillBackground(dc, back);
  c.PaintStripFrameOwnCanvas(dc, image, n, k, strip.get());
}

// A picture of r's size, key-coloured pixels transparent.
std::unique_ptr<TBitmap> KeyedNineSlice(const RECT& r, TDataSkinObject* e, TBitmap* image, int frame,
                                        int frames) {
  std::unique_ptr<TBitmap> pic = BuildNineSliceBitmap(r, image, e->Margins(), frame, frames, e->Tile, 0);
  pic->SetTransparentColor(TColor(SkinKeyColour));
  pic->SetTransparent(true);
  return pic;
}

// How much of width the position fills: pos of max (the lower limit is not read); none when
// either is 0 or below. Wide ranges are multiplied without overflow.
int FilledWidth(HWND bar, int width) {
  LRESULT pos = SendMessageA(bar, PBM_GETPOS, 0, 0);
  LRESULT max = SendMessageA(bar, PBM_GETRANGE, 0, 0);
  if (pos <= 0 || max <= 0) return 0;
  return int(int64_t(width) * pos / max);
}

}  // namespace

int CheckFrame(bool Radio, int FrameCount, bool Checked, bool Disabled, bool Indeterminate) {
  if (!Radio && Indeterminate) return FrameCount == 12 ? (Disabled ? 12 : 9) : 4;
  if (FrameCount == (Radio ? 8 : 12)) return Checked ? (Disabled ? 8 : 5) : (Disabled ? 4 : 1);
  return Checked ? (Disabled ? 4 : 2) : (Disabled ? 3 : 1);
}

// ---- Check boxes and radio buttons ---------------------------------------------------------------

bool TSkinCheckBox::BeforeDefault(TMessage& Message) { return TSkinControl::BeforeDefault(Message); }

void TSkinCheckBox::AfterDefault(TMessage& Message) {
  if (ChangesCheckState(Message.Msg))
    Repaint();
  else
    TSkinControl::AfterDefault(Message);
}

void TSkinCheckBox::DrawControl(HDC DC, const RECT& R) { DrawCheckGlyph(*this, DC, R, false); }

void TSkinRadioButton::AfterDefault(TMessage& Message) {
  if (ChangesCheckState(Message.Msg))
    Repaint();
  else
    TSkinControl::AfterDefault(Message);
}

void TSkinRadioButton::DrawControl(HDC DC, const RECT& R) { DrawCheckGlyph(*this, DC, R, true); }

// ---- Track bars ----------------------------------------------------------------------------------

bool TSkinTrackBar::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return false;
    case WM_NOTIFY:
    case CN_NOTIFY: {
      // Only the track bar's own drawing: a tool tip or buddy of it custom-draws for itself.
      auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
      if (!header || header->code != UINT(NM_CUSTOMDRAW) || header->hwndFrom != FHandle) return true;
      Message.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(Message.LParam));
      return false;
    }
  }
  return TSkinControl::BeforeDefault(Message);
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& Draw) {
  if (Draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (Draw.dwDrawStage == CDDS_ITEMPREPAINT && Draw.dwItemSpec == TBCD_THUMB) {
    DrawThumb(Draw);
    return CDRF_SKIPDEFAULT;
  }
  return CDRF_DODEFAULT;
}

void TSkinTrackBar::DrawThumb(NMCUSTOMDRAW& Draw) {
  RECT thumb{};
  SendMessageA(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  TBitmap* picture = nullptr;
  if (FSkinData) {
    if ((GetWindowLongA(FHandle, GWL_STYLE) & TBS_VERT) && FSkinData->TrackbarThumbVert)
      picture = FSkinData->TrackbarThumbVert->Image.get();
    else if (FSkinData->TrackbarThumbHorz)
      picture = FSkinData->TrackbarThumbHorz->Image.get();
  }
  if (picture && !picture->Empty()) {
    PaintStripFrame(Draw.hdc, thumb, 5, 2, picture);
    return;
  }
  TCanvas own;
  TCanvas* canvas = FCanvas ? FCanvas : &own;
  canvas->SetHandle(Draw.hdc);
  TColor pen = canvas->Pen()->Color();
  canvas->Pen()->SetColor(FSkinData ? FSkinData->ButtonShadow : clBtnShadow);
  canvas->Rectangle(thumb);
  canvas->Pen()->SetColor(pen);
  // The form's shared canvas must not keep the notification's context.
  canvas->SetHandle(nullptr);
}

// ---- Up-down controls ----------------------------------------------------------------------------

bool TSkinUpDown::BeforeDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      PaintClient(Message);
      return false;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallDefault(Message);
      FMouseState |= msPressed;
      PaintFrame(nullptr);
      return false;
    case WM_LBUTTONUP:
      FMouseState &= ~msPressed;
      CallDefault(Message);
      PaintFrame(nullptr);
      return false;
  }
  return TSkinControl::BeforeDefault(Message);
}

void TSkinUpDown::DrawControl(HDC DC, const RECT& R) {
  RECT c;
  GetClientRect(FHandle, &c);
  TBitmap picture(c.right, c.bottom);
  HDC pdc = picture.Canvas()->Handle();
  FillBackground(pdc, c);
  if (FInEdit) InflateRect(&c, -1, -1);
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(FHandle, &cursor);
  DWORD style = GetWindowLongA(FHandle, GWL_STYLE);
  FEnabled = (style & WS_DISABLED) == 0;
  const bool horizontal = (style & UDS_HORZ) || FHorizontal == 1;
  RECT first, second;
  bool overFirst;
  if (horizontal) {
    int w = (c.right - c.left) / 2;
    first = RECT{c.left, c.top, c.left + w, c.bottom};
    second = RECT{c.left + w, c.top, c.right, c.bottom};
    overFirst = cursor.x < w;
  } else {
    int h = (c.bottom - c.top) / 2;
    first = RECT{c.left, c.top, c.right, c.top + h};
    second = RECT{c.left, c.top + h, c.right, c.bottom};
    overFirst = cursor.y < h;
  }
  auto state = [this](bool over) {
    if (!FEnabled) return 3;
    if (!over) return 1;
    return (FMouseState & msPressed) ? 2 : (FMouseState & msHot) ? 4 : 1;
  };
  TDataSkinBorder* e =
      FSkinData ? (horizontal ? FSkinData->UpDownHorz : FSkinData->UpDownVert).get() : nullptr;
  const int index = horizontal ? 2 : 0;
  if (e && Usable(e->Image)) {
    DrawSkinButton(pdc, first, state(overFirst), index);
    DrawSkinButton(pdc, second, state(!overFirst), index + 1);
  } else {
    DrawPlainButton(picture.Canvas(), first, state(overFirst), index);
    DrawPlainButton(picture.Canvas(), second, state(!overFirst), index + 1);
  }
  BitBlt(DC, R.left, R.top, c.right, c.bottom, picture.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawSkinButton(HDC DC, const RECT& B, int State, int Button) {
  TDataSkinBorder* e =
      FSkinData ? (Button >= 2 ? FSkinData->UpDownHorz : FSkinData->UpDownVert).get() : nullptr;
  if (!e || !Usable(e->Image)) return;
  int n = std::max(e->FrameCount, 1);
  int k = Button >= 2 ? (Button - 2) * 4 + State : Button * 4 + State;
  DrawStripFrame(DC, B, e->Image.get(), k, n, 1);
  if (!Usable(e->Image2)) return;
  int gw = e->Image2->Width() / n, gh = e->Image2->Height();
  RECT glyph{B.left + (RectWidth(B) - gw) / 2, B.top + (RectHeight(B) - gh) / 2, 0, 0};
  glyph.right = glyph.left + gw;
  glyph.bottom = glyph.top + gh;
  DrawStripFrame(DC, glyph, e->Image2.get(), k, n, 1);
}

void TSkinUpDown::DrawPlainButton(TCanvas* Canvas, const RECT& B, int State, int Button) {
  TColor face = FSkinData ? FSkinData->ButtonFace : clBtnFace;
  TColor shadow = FSkinData ? FSkinData->ButtonShadow : clBtnShadow;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(State == 2 || State == 4 ? shadow : face);
  Canvas->Pen()->SetColor(FSkinData ? FSkinData->ButtonDkShadow : cl3DDkShadow);
  Canvas->Rectangle(B);
  int x = B.left + RectWidth(B) / 2;
  int y = B.top + RectHeight(B) / 2 - (Button < 2 ? 2 : 0);
  DrawArrowGlyph(Canvas, x, y, Button);
}

void DrawArrowGlyph(TCanvas* Canvas, int X, int Y, int Kind) {
  auto line = [Canvas](int x0, int y0, int x1, int y1) {
    Canvas->MoveTo(x0, y0);
    Canvas->LineTo(x1, y1);
  };
  auto polyline = [Canvas](std::initializer_list<POINT> points) {
    auto it = points.begin();
    Canvas->MoveTo(it->x, it->y);
    for (++it; it != points.end(); ++it) Canvas->LineTo(it->x, it->y);
  };
  switch (Kind) {
    case 0:
      line(X, Y, X, Y - 1);
      line(X + 1, Y + 1, X + 4, Y + 4);
      line(X, Y + 1, X + 3, Y + 4);
      line(X, Y + 2, X + 2, Y + 4);
      line(X - 1, Y + 1, X - 4, Y + 4);
      line(X, Y + 2, X - 3, Y + 4);
      line(X, Y + 1, X - 2, Y + 4);
      break;
    case 1:
      line(X, Y + 3, X, Y + 4);
      line(X + 1, Y + 2, X + 4, Y - 1);
      line(X, Y + 2, X + 3, Y - 1);
      line(X, Y + 1, X + 2, Y);
      line(X - 1, Y + 2, X - 4, Y - 1);
      line(X, Y + 2, X - 3, Y - 1);
      line(X, Y + 1, X - 2, Y);
      break;
    case 2:
      polyline({{X, Y}, {X + 1, Y + 2}, {X + 1, Y - 2}, {X - 1, Y}, {X + 1, Y + 2}});
      break;
    case 3:
      polyline({{X, Y}, {X - 1, Y + 2}, {X - 1, Y - 2}, {X + 1, Y}, {X - 1, Y + 2}});
      break;
  }
}

// ---- Progress bars -------------------------------------------------------------------------------

bool TSkinProgress::BeforeDefault(TMessage& Message) { return TSkinControl::BeforeDefault(Message); }

void TSkinProgress::DrawControl(HDC DC, const RECT& R) {
  TDataSkinBorder* e = FSkinData ? FSkinData->Progress.get() : nullptr;
  // The shared picture goes with the module at the end of the program.
  if (!e || !Usable(e->Image) || !SharedBitmap) return;
  if (e->Style == 1) return DrawChunks(DC, R);
  if (RectWidth(R) <= 0 || RectHeight(R) <= 0) return;
  SharedBitmap->SetSize(R.right, R.bottom);
  TCanvas* shared = SharedBitmap->Canvas();
  FillBackground(shared->Handle(), R);
  shared->Draw(R.left, R.top, KeyedNineSlice(R, e, e->Image.get(), 1, 2).get());
  if (int filled = FilledWidth(FHandle, RectWidth(R)); filled > 0) {
    RECT f = R;
    f.right = R.left + filled;
    shared->Draw(R.left, R.top, KeyedNineSlice(f, e, e->Image.get(), 2, 2).get());
  }
  BitBlt(DC, R.left, R.top, RectWidth(R), RectHeight(R), shared->Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::DrawChunks(HDC DC, const RECT& R) {
  TDataSkinBorder* e = FSkinData->Progress.get();
  if (!Usable(e->Image2) || RectWidth(R) <= 0 || RectHeight(R) <= 0) return;
  SharedBitmap->SetSize(R.right, R.bottom);
  TCanvas* shared = SharedBitmap->Canvas();
  FillBackground(shared->Handle(), R);
  std::unique_ptr<TBitmap> track = KeyedNineSlice(R, e, e->Image.get(), 1, 1);
  shared->Draw(R.left, R.top, track.get());
  if (int w = FilledWidth(FHandle, RectWidth(R)); w > 0) {
    TBitmap* chunk = e->Image2.get();
    int ch = chunk->Height(), cw = chunk->Width();
    track->SetSize(w, ch);
    for (int i = 0; i <= w / cw; ++i) track->Canvas()->Draw(i * cw, 0, chunk);
    // The row starts LeftWidth in and is as wide as the position: at the end it runs past R.
    shared->Draw(R.left + e->LeftWidth, R.top + (R.bottom - ch) / 2, track.get());
  }
  BitBlt(DC, R.left, R.top, RectWidth(R), RectHeight(R), shared->Handle(), 0, 0, SRCCOPY);
}
