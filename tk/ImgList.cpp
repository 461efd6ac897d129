#include "tk/ImgList.h"

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList() { FreeHandle(); }

void TImageList::FreeHandle() {
  if (FHandle && (FOwnHandle || !ShareImages)) ImageList_Destroy(FHandle);
  FHandle = nullptr;
  FOwnHandle = false;
}

HIMAGELIST TImageList::Handle() {
  if (!FHandle) {
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 0, 4);
    if (!FHandle) throw EOutOfResources("Out of system resources");
    FOwnHandle = true;
  }
  return FHandle;
}

void TImageList::SetHandle(HIMAGELIST value) {
  if (value == FHandle) return;
  FreeHandle();
  FHandle = value;
  FOwnHandle = false;
  if (value) ImageList_GetIconSize(value, &FWidth, &FHeight);
}

void TImageList::SetWidth(int value) {
  if (value == FWidth || value <= 0) return;
  FreeHandle();
  FWidth = value;
}

void TImageList::SetHeight(int value) {
  if (value == FHeight || value <= 0) return;
  FreeHandle();
  FHeight = value;
}

int TImageList::Count() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) throw EInvalidOperation("Invalid image");
  int index = ImageList_Add(Handle(), image->Handle(), mask ? mask->Handle() : nullptr);
  if (index < 0) throw EInvalidOperation("Unable to insert an image");
  return index;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) throw EInvalidOperation("Invalid image");
  int index = ImageList_AddMasked(Handle(), image->Handle(), ColorToCOLORREF(maskColor));
  if (index < 0) throw EInvalidOperation("Unable to insert an image");
  return index;
}

void TImageList::Delete(int index) {
  if (index < 0 || index >= Count()) throw EInvalidOperation("Image index out of range");
  ImageList_Remove(FHandle, index);
}

void TImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool Enabled) {
  if (index < 0 || index >= Count()) return;
  HDC dc = canvas->Handle();
  if (Enabled) {
    ImageList_Draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  // The shape is every pixel the mask shows that is not white: drawn onto white in one bit per
  // pixel, it is what comes out black.
  HDC mono = CreateCompatibleDC(dc);
  HBITMAP shape = CreateBitmap(FWidth, FHeight, 1, 1, nullptr);
  HGDIOBJ oldShape = SelectObject(mono, shape);
  PatBlt(mono, 0, 0, FWidth, FHeight, WHITENESS);
  ImageList_Draw(FHandle, index, mono, 0, 0, ILD_TRANSPARENT);
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  // Where the shape is black the brush goes in, elsewhere the target stays.
  constexpr DWORD kBrushWhereBlack = 0x00B8074A;
  for (auto [offset, colour] : {std::pair{1, COLOR_BTNHIGHLIGHT}, std::pair{0, COLOR_BTNSHADOW}}) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(colour));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    BitBlt(dc, x + offset, y + offset, FWidth, FHeight, mono, 0, 0, kBrushWhereBlack);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  SelectObject(mono, oldShape);
  DeleteObject(shape);
  DeleteDC(mono);
}

void TImageList::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Bitmap",
      [this](TStream* stream) {
        TBitmap bitmap;
        bitmap.LoadFromStream(stream);
        AddMasked(&bitmap, clFuchsia);
      },
      nullptr, false);
}
