#include "skin/RezIderForm.h"

#include "skin/RezIderDlg.h"

TRezIderFormMaker RezIderFormMaker = nullptr;
TBitmap* SharedBitmap = nullptr;

namespace {
struct TModule {
  TModule() {
    SharedBitmap = new TBitmap;
    SetStretchBltMode(SharedBitmap->Canvas()->Handle(), COLORONCOLOR);
  }
  ~TModule() {
    delete SharedBitmap;
    SharedBitmap = nullptr;
  }
} Module;
}  // namespace

TRezIderForm::~TRezIderForm() {
  if (SkinManager) SkinManager->ForgetForm(this);
}

void TRezIderForm::SetSkinRegion(HRGN Region, bool Redraw) {
  if (SetWindowRgn(FHandle, Region, Redraw)) {
    FRegion = Region;
    FHasRegion = true;
  } else {
    DeleteObject(Region);
  }
}

void TRezIderForm::ClearRegion() {
  SetWindowRgn(FHandle, nullptr, TRUE);
  FRegion = nullptr;
  FHasRegion = false;
}

void TRezIderForm::FrameChanged() {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TRezIderForm::RepaintWindow(HWND Window) {
  InvalidateRect(Window, nullptr, TRUE);
  UpdateWindow(Window);
}
