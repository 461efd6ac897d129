// Caption buttons: their states, visibility rules, drawing and actions; the skinned system menu's
// choices.
#include "skin/RezIderFormButtons.h"

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderFormDraw.h"
#include "skin/RezIderFormImpl.h"
#include "tk/ExtCtrls.h"

// ---- non-client objects --------------------------------------------------------------------------

void TNCObject::Press() {
  if (FForm->FCurrentObject && FForm->FCurrentObject != this) FForm->FCurrentObject->Leave();
  if (!FVisible) return;
  FForm->FCurrentObject = this;
  FState = nsPressed;
  Draw();
}

void TNCObject::Release() {
  if (!FVisible) return;
  FState = nsHot;
  Draw();
}

void TNCObject::Hover() {
  if (FForm->FCurrentObject == this) return;
  if (FForm->FCurrentObject) FForm->FCurrentObject->Leave();
  if (!FVisible) return;
  FForm->FCurrentObject = this;
  FState = nsHot;
  Draw();
}

void TNCObject::Leave() {
  if (!FVisible) return;
  FForm->FCurrentObject = nullptr;
  FState = nsNormal;
  Draw();
}

void TWinSysButton::Draw() { FForm->DrawSysButton(this, FState); }

// ---- the window's caption buttons ----------------------------------------------------------------

void TRezIderFormImpl::DrawSysButton(TWinSysButton* Button, int Frame) {
  const TDataSkinSysButton& d = *Button->FButtonData;
  if (d.Visibility == 100 && Frame == nsHot) Frame = 4;
  const bool icon = d.Action == 3 || d.Action == 11;
  TBitmap* picture = icon ? FIconBitmap.get() : d.Image.get();
  if (!picture || picture->Empty()) return;
  HDC dc = GetWindowDC(FHandle);
  if (icon)
    DrawStripFrame(dc, Button->FRect, picture, 1, 1, 1);
  else
    DrawStripFrame(dc, Button->FRect, picture, Frame, d.FrameCount, 1);
  ReleaseDC(FHandle, dc);
}

namespace {
// One visibility test by its code; the code 100 test is asked for only when it applies.
bool VisibilityTest(int32_t Code, bool First, TRezIderFormImpl& F, const TDataSkinSysButton& D) {
  const bool maximised = F.FShowState == ssMaximized;
  const bool active = F.FActive != 0;
  const bool maxBox = F.FCaptionFlags & cfMaxBox;
  const bool minBox = F.FCaptionFlags & cfMinBox;
  const bool sysMenu = F.FCaptionFlags & cfSysMenu;
  switch (Code) {
    case 0:
      return First ? F.FBorderKind != bkModal && (D.Action != 0 || sysMenu) : true;
    case 1:
      return maximised;
    case 2:
      return !maximised;
    case 3:
      return active;
    case 4:
      return !active;
    case 5:
      return false;
    case 6:
      return First ? maxBox && sysMenu : maxBox;
    case 7:
      return !maxBox;
    case 8:
      return First ? minBox && sysMenu : minBox;
    case 9:
      return !minBox;
    case 100:
      return F.IsMdiChildMaximized() && F.FMenuBarHeight > 0;
    default:
      return Code >= 200 && Code <= 2000;
  }
}
}  // namespace

bool TRezIderFormImpl::SysButtonVisible(int Index) {
  TWinSysButton& b = *FSysButtons.at(size_t(Index));
  const TDataSkinSysButton& d = *b.FButtonData;
  const bool first = VisibilityTest(d.Visibility, true, *this, d);
  // Visibility1 100 repeats the first test.
  const bool second = d.Visibility1 == 100 ? first : VisibilityTest(d.Visibility1, false, *this, d);
  bool visible = first && second;
  if (d.Action == 1 && !(FCaptionFlags & cfMaxBox)) visible = false;
  if (d.Action == 2 && !(FCaptionFlags & cfMinBox)) visible = false;
  b.FVisible = visible;
  return visible;
}

void TRezIderFormImpl::CloseWindow() {
  if (FTimer) FTimer->SetEnabled(false);
  PostMessageA(FHandle, WM_CLOSE, 0, 0);
}

void TRezIderFormImpl::SysButtonAction(int X, int Y) {
  auto* button = ObjectAs<TWinSysButton>(FCurrentObject);
  if (!button) return;
  const int32_t action = button->FButtonData->Action;
  switch (action) {
    case 0:
      return CloseWindow();
    case 1:
    case 22:
      return ToggleMaximize();
    case 2:
    case 23:
      return ToggleMinimize();
    case 3:
    case 11:
    case 12:
      return ShowSysMenu({X + 1, Y + 1});
    case 7:
    case 60:
      return MdiChildCommand(SC_MINIMIZE);
    case 8:
    case 61:
      return MdiChildCommand(SC_RESTORE);
    case 9:
    case 62:
      return MdiChildCommand(SC_CLOSE);
    default:
      PostMessageA(FHandle, WM_SKINQUERY, WPARAM(action), 0);
  }
}

void TRezIderFormImpl::Restore() {
  FShowState = ssNormal;
  PostMessageA(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TRezIderFormImpl::ToggleMaximize() {
  if (FShowState == ssMaximized) return Restore();
  FShowState = ssMaximized;
  PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  FCurrentObject = nullptr;
}

void TRezIderFormImpl::ToggleMinimize() {
  if (FShowState == ssMinimized) return Restore();
  FShowState = ssMinimized;
  PostMessageA(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

bool TRezIderFormImpl::IsMdiChildMaximized() {
  if (FMdiKind != mkFrame || !FClientHandle) return false;
  BOOL maximised = FALSE;
  HWND child = HWND(SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  return child && maximised;
}

void TRezIderFormImpl::MdiChildCommand(UINT Command) {
  if (FMdiKind != mkFrame || !FClientHandle) return;
  HWND child = HWND(SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, 0));
  if (!child) return;
  SendMessageA(child, WM_SYSCOMMAND, Command, 0);
  if (SkinManager && SkinManager->MdiMax() && !IsMdiChildMaximized()) SkinManager->SetMdiMax(false);
}

void TRezIderFormImpl::SysMenuClick(TMenuItem* Item) {
  switch (Item->Tag) {
    case 0:
      return Restore();
    case 1:
      return ToggleMaximize();
    case 2:
      return ToggleMinimize();
    case 3:
      return CloseWindow();
  }
}
