#include "skin/RezIderMenuItem.h"

#include <memory>

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderForm.h"
#include "skin/RezIderFormDraw.h"
#include "skin/RezIderMenu.h"
#include "tk/ImgList.h"

namespace {

constexpr UINT kCaptionFormat = DT_EXPANDTABS | DT_SINGLELINE;
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOCLIP;
// The MenuItem strip always holds five frames: 1 normal, 2 separator, 4 selected.
constexpr int kItemFrames = 5;
// A popup's client area begins this far inside its window, and so inside its frame picture.
constexpr int kPopupClientOffset = 3;
// The system check-mark bitmap (OBM_CHECK, named only with OEMRESOURCE).
constexpr int kObmCheck = 32760;

TDataSkinObject* MenuItemElement(TSkinData* Data) {
  if (!Data) return nullptr;
  TDataSkinObject* e = Data->MenuItem.get();
  return e && e->Image && !e->Image->Empty() ? e : nullptr;
}

// A bitmap of R's size whose canvas has the system menu font.
std::unique_ptr<TBitmap> ItemBitmap(const RECT& R) {
  auto bmp = std::make_unique<TBitmap>(IntMax(R.right - R.left, 0), IntMax(R.bottom - R.top, 0));
  AssignMenuFont(bmp->Canvas()->Font());
  return bmp;
}

int MenuItemBand(TSkinData* Data) {
  TDataSkinObject* e = MenuItemElement(Data);
  return e ? e->LeftWidth : 0;
}

void Fill(TBitmap* Bmp, TColor Colour) {
  TCanvas* c = Bmp->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Colour);
  c->FillRect(RECT{0, 0, Bmp->Width(), Bmp->Height()});
}

// Where the popup window showing Menu has its client area inside the window. Windows' menus have
// a 3-pixel non-client frame; Wine's draw theirs in the client area, which then starts at the
// window's corner.
POINT PopupClientOffset(HMENU Menu) {
  POINT offset{kPopupClientOffset, kPopupClientOffset};
  if (!SkinManager) return offset;
  for (TRezIderPopMenu* p : SkinManager->Popups()) {
    if (p->FMenuKey != Menu) continue;
    POINT origin{0, 0};
    RECT wr{};
    if (IsWindow(p->FHandle) && ClientToScreen(p->FHandle, &origin) && GetWindowRect(p->FHandle, &wr))
      offset = POINT{origin.x - wr.left, origin.y - wr.top};
    break;
  }
  return offset;
}

// The background behind an item: its rectangle cut out of the popup's frame picture.
void CopyPopupBackground(TBitmap* Bmp, TBitmap* Picture, HMENU Menu, const RECT& R) {
  const POINT o = PopupClientOffset(Menu);
  BitBlt(Bmp->Canvas()->Handle(), 0, 0, Bmp->Width(), Bmp->Height(), Picture->Canvas()->Handle(),
         R.left + o.x, R.top + o.y, SRCCOPY);
}

void DrawAt(TCanvas* Canvas, const RECT& R, TBitmap* Bmp) {
  BitBlt(Canvas->Handle(), R.left, R.top, Bmp->Width(), Bmp->Height(), Bmp->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

int GlyphSize(const TSkinMenuItem& Item) {
  int s = Item.Images ? Item.Images->Width() : 16;
  if (Item.Checked && s < 16) s = 16;
  return s;
}

// The checked look behind an item's image: a button-face and button-highlight pattern, sunken.
void DrawCheckedBox(TCanvas* Canvas, RECT G) {
  auto pattern = std::make_unique<TBitmap>(8, 8);
  const COLORREF face = ColorToCOLORREF(clBtnFace), light = ColorToCOLORREF(clBtnHighlight);
  for (int y = 0; y < 8; ++y) {
    uint8_t* p = static_cast<uint8_t*>(pattern->ScanLine(y));
    for (int x = 0; x < 8; ++x) {
      COLORREF c = ((x + y) & 1) ? light : face;
      p[x * 3] = GetBValue(c);
      p[x * 3 + 1] = GetGValue(c);
      p[x * 3 + 2] = GetRValue(c);
    }
  }
  TBrush* brush = Canvas->Brush();
  const TColor oldColour = brush->Color();
  const TBrushStyle oldStyle = brush->Style();
  brush->SetBitmap(pattern.get());
  Canvas->FillRect(G);
  brush->SetBitmap(nullptr);
  brush->SetColor(oldColour);
  brush->SetStyle(oldStyle);
  DrawEdge(Canvas->Handle(), &G, BDR_SUNKENOUTER, BF_RECT);
}

// The system check mark, its white background left out, in the button-text colour.
void DrawCheckMark(TCanvas* Canvas, const RECT& G) {
  HBITMAP mark = LoadBitmapA(nullptr, MAKEINTRESOURCEA(kObmCheck));
  if (!mark) return;
  BITMAP bm{};
  GetObjectA(mark, sizeof bm, &bm);
  const int x = G.left + ((G.right - G.left) - bm.bmWidth) / 2 + 1;
  const int y = G.top + ((G.bottom - G.top) - bm.bmHeight) / 2 + 1;
  TFont* font = Canvas->Font();
  const TColor oldColour = font->Color();
  font->SetColor(clBtnText);
  HDC dc = Canvas->Handle();
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ oldBmp = SelectObject(src, mark);
  HBRUSH ink = CreateSolidBrush(ColorToCOLORREF(clBtnText));
  HGDIOBJ oldBrush = SelectObject(dc, ink);
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  // Where the mark's pixel is black the ink goes in, where it is white the target stays.
  constexpr DWORD kInkWhereBlack = 0x00B8074A;
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, src, 0, 0, kInkWhereBlack);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  SelectObject(dc, oldBrush);
  DeleteObject(ink);
  SelectObject(src, oldBmp);
  DeleteDC(src);
  DeleteObject(mark);
  font->SetColor(oldColour);
}

void DrawGlyph(const TSkinMenuItem& Item, TCanvas* Canvas, const RECT& G) {
  TImageList* images = Item.Images;
  if (images && Item.ImageIndex >= 0 && Item.ImageIndex < images->Count()) {
    if (Item.Checked) DrawCheckedBox(Canvas, G);
    images->Draw(Canvas, G.left, G.top, Item.ImageIndex, Item.Enabled);
  } else if (Item.Checked) {
    DrawCheckMark(Canvas, G);
  }
}

// Caption and shortcut: a measuring pass for the caption's extent, centred vertically in T, then the
// drawing passes.
void DrawCaptionAndShortCut(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, bool Selected,
                            RECT T, bool Mirrored) {
  const RECT T0 = T;
  const UINT format = Mirrored ? kCaptionFormat | DT_RIGHT : kCaptionFormat;
  DrawMenuItemText(Data, Item, Canvas, format | kMeasureFlags, Selected, T, Item.Caption);
  OffsetRect(&T, 0, ((T0.bottom - T0.top) - (T.bottom - T.top)) / 2);
  if (Mirrored) {
    T.left = T0.left;
    T.right = T0.right;
  }
  DrawMenuItemText(Data, Item, Canvas, format, Selected, T, Item.Caption);
  if (!Item.ShortCut) return;
  RECT s = Mirrored ? RECT{T0.left + 10, T.top, T0.right, T.bottom}
                    : RECT{T.right, T.top, T0.right - 10, T.bottom};
  DrawMenuItemText(Data, Item, Canvas, Mirrored ? DT_LEFT : DT_RIGHT, Selected, s,
                   ShortCutToText(Item.ShortCut));
}

}  // namespace

std::string MenuItemText(HMENU Menu, UINT Item, bool ByPosition) {
  // Asked for its length first: a text cut by a small buffer comes back unterminated on some systems.
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoA(Menu, Item, ByPosition, &info) || info.cch == 0) return {};
  std::string text(size_t(info.cch) + 1, '\0');
  info.dwTypeData = text.data();
  info.cch = UINT(text.size());
  if (!GetMenuItemInfoA(Menu, Item, ByPosition, &info)) return {};
  text.resize(strnlen(text.c_str(), text.size()));
  return text;
}

TSkinMenuItem MakeTempMenuItem(HMENU Menu, UINT ItemID) {
  TSkinMenuItem item;
  item.ParentMenu = Menu;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  if (!GetMenuItemInfoA(Menu, ItemID, FALSE, &info)) return item;
  item.Caption = (info.fType & MFT_SEPARATOR) ? "-" : MenuItemText(Menu, ItemID, false);
  item.Enabled = !(info.fState & MFS_DISABLED);
  item.Checked = (info.fState & MFS_CHECKED) != 0;
  item.Default = (info.fState & MFS_DEFAULT) != 0;
  item.RightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
  return item;
}

int MenuItemRoom(TSkinData* Data, bool HasImages, bool Popup) {
  return MenuItemBand(Data) + (HasImages ? (Popup ? 12 : 10) : 35);
}

void MenuItemDraw(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, const RECT& R, bool Selected) {
  TDataSkinObject* e = MenuItemElement(Data);
  if (!e) {
    PlainMenuItemDraw(Data, Item, Canvas, Selected, R);
    return;
  }
  if (CurrentSkinPopup && Item.ParentMenu) {
    CurrentSkinPopup->FMenuKey = Item.ParentMenu;
    CurrentSkinPopup = nullptr;
  }
  auto bmp = ItemBitmap(R);
  TBitmap* picture = SkinManager && Item.ParentMenu ? SkinManager->PopupBitmap(Item.ParentMenu) : nullptr;
  if (picture && !picture->Empty())
    CopyPopupBackground(bmp.get(), picture, Item.ParentMenu, R);
  else
    Fill(bmp.get(), Data->Menu);
  const RECT whole{0, 0, bmp->Width(), bmp->Height()};
  if (Item.Caption != "-") {
    DrawNineSlice(bmp->Canvas()->Handle(), whole, e->Image.get(), e->Margins(), Selected ? 4 : 1, kItemFrames,
                  e->Trans, e->Tile, 0);
    DrawMenuItemFace(Data, Item, bmp->Canvas(), Selected, whole);
    DrawAt(Canvas, R, bmp.get());
  } else {
    DrawAt(Canvas, R, bmp.get());
    DrawMenuSeparator(Data, Canvas, R);
  }
}

void MenuHandleItemDraw(TSkinData* Data, HMENU Menu, const TSkinMenuItem& Item, bool Selected, const RECT& R,
                        TCanvas* Canvas) {
  TDataSkinObject* e = MenuItemElement(Data);
  if (!e) {
    PlainMenuItemDraw(Data, Item, Canvas, Selected, R);
    return;
  }
  auto bmp = ItemBitmap(R);
  TBitmap* picture = SkinManager && Menu ? SkinManager->PopupBitmap(Menu) : nullptr;
  // A registered popup without a picture (no usable MenuBackground) shows Menu, as elsewhere.
  if (picture && !picture->Empty())
    CopyPopupBackground(bmp.get(), picture, Menu, R);
  else
    Fill(bmp.get(), Data->Menu);
  const RECT whole{0, 0, bmp->Width(), bmp->Height()};
  DrawNineSlice(bmp->Canvas()->Handle(), whole, e->Image.get(), e->Margins(), Selected ? 4 : 1, kItemFrames,
                e->Trans, e->Tile, 0);
  DrawMenuItemFace(Data, Item, bmp->Canvas(), Selected, whole);
  DrawAt(Canvas, R, bmp.get());
}

void PlainMenuItemDraw(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, bool Selected,
                       const RECT& R) {
  auto bmp = ItemBitmap(R);
  Fill(bmp.get(), Selected ? Data->Hilight : Data->Menu);
  DrawMenuItemFace(Data, Item, bmp->Canvas(), Selected, RECT{0, 0, bmp->Width(), bmp->Height()});
  DrawAt(Canvas, R, bmp.get());
}

void DrawMenuItemFace(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, bool Selected,
                      const RECT& R) {
  if (Item.Action) {
    TSkinMenuItem updated = Item.Action();
    updated.Action = nullptr;
    DrawMenuItemFace(Data, updated, Canvas, Selected, R);
    return;
  }
  const int s = GlyphSize(Item);
  const int band = MenuItemBand(Data);
  const bool separator = Item.Caption == "-";
  RECT g;
  if (Item.RightToLeft) {
    g.right = R.right - 1 - band;
    g.top = R.top + 1;
    g.left = g.right - s;
    g.bottom = g.top + s;
    if (separator) g.left = g.right = R.right;
  } else {
    g.left = R.left + 1 + band;
    g.top = R.top + 1;
    g.right = g.left + s;
    g.bottom = g.top + s;
    if (separator) g.left = g.right = 0;
  }
  if (!separator) DrawGlyph(Item, Canvas, g);
  const RECT t = Item.RightToLeft ? RECT{R.left + 1, R.top, g.left - 3, R.bottom}
                                  : RECT{g.right + 3, R.top, R.right - 1, R.bottom};
  DrawCaptionAndShortCut(Data, Item, Canvas, Selected, t, Item.RightToLeft);
}

void DrawMenuItemText(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, UINT Format, bool Selected,
                      RECT& T, std::string Text) {
  const bool measuring = (Format & DT_CALCRECT) != 0;
  if (measuring && (Text.empty() || Text == "&")) Text += ' ';
  if (Text == "-") {
    if (!measuring) {
      RECT line = T;
      OffsetRect(&line, 0, 4);
      DrawEdge(Canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    }
    return;
  }
  TFont* font = Canvas->Font();
  font->SetStyle(Item.Default ? TFontStyles(fsBold) : TFontStyles(0));
  if (Item.Enabled)
    font->SetColor(Selected ? Data->HilightText : Data->MenuText);
  else
    font->SetColor(Data->ButtonShadow == Data->MenuText ? clBtnShadow : Data->ButtonShadow);
  HDC dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, Text.c_str(), int(Text.size()), &T, Format);
}

void DrawMenuSeparator(TSkinData* Data, TCanvas* Canvas, const RECT& R) {
  TDataSkinObject* e = MenuItemElement(Data);
  if (!e) return;
  TBitmap* img = e->Image.get();
  const int w = R.right - R.left, h = R.bottom - R.top;
  if (w <= 0 || h <= 0) return;
  const int fw = img->Width() / kItemFrames, ih = img->Height();
  const int dy = ih > h ? ih - h : 0;
  int lw = e->LeftWidth, rw = e->RightWidth;
  // Side pieces wider than the item or the frame would be copied mirrored: dropped, as margins are.
  if (lw < 0 || rw < 0 || lw + rw > w || lw + rw > fw) lw = rw = 0;
  TBitmap bmp(w, h);
  HDC dst = bmp.Canvas()->Handle();
  HDC src = img->Canvas()->Handle();
  SetStretchBltMode(dst, COLORONCOLOR);
  const int sh = ih - dy;
  StretchBlt(dst, 0, 0, lw, h, src, fw, dy, lw, sh, SRCCOPY);
  StretchBlt(dst, w - rw, 0, rw, h, src, 2 * fw - rw, dy, rw, sh, SRCCOPY);
  StretchBlt(dst, lw, 0, w - rw - lw, h, src, fw + lw, dy, fw - lw - rw, sh, SRCCOPY);
  DrawTransparentBitmap(Canvas->Handle(), R, &bmp, SkinKeyColour);
}

bool ToolButtonCustomDraw(TSkinData* Data, uint32_t FormState, TCanvas* Canvas, const RECT& Bounds,
                          UINT State) {
  TDataSkinButton* b = Data ? Data->Buttons.get() : nullptr;
  if (!b || !b->Image || b->Image->Empty() || FormState != fsSkinned) return false;
  int frame = 0;
  if (State & CDIS_SELECTED)
    frame = 2;
  else if (State & (CDIS_FOCUS | CDIS_HOT))
    frame = 4;
  else if (State & (CDIS_GRAYED | CDIS_DISABLED))
    frame = 0;
  else if (State & CDIS_DEFAULT)
    frame = 1;
  if (!frame) return false;
  TFont* font = Canvas->Font();
  if (frame == 1 && b->HasNormalColour2) font->SetColor(b->NormalColour2);
  if (frame == 4 && b->HasMouseOverColour2) font->SetColor(b->MouseOverColour2);
  if (frame == 2 && b->HasPressedColour2) font->SetColor(b->PressedColour2);
  RECT r = Bounds;
  InflateRect(&r, -1, -1);
  DrawNineSlice(Canvas->Handle(), r, b->Image.get(), b->Margins(), frame, kItemFrames, b->Trans, 0, 0);
  return true;
}
