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

void TImageList::Draw(TCanvas* canvas, int x, int y, int index) {
  if (index < 0 || index >= Count()) return;
  ImageList_Draw(FHandle, index, canvas->Handle(), x, y, ILD_TRANSPARENT);
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
