// The skinned window's procedure and its MDI client's: which messages the skin answers and which
// go on to the window's own procedure.
#include <algorithm>

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderFormImpl.h"
#include "skin/RezIderMenu.h"
#include "skin/RezIderMenuItem.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"

namespace {

bool MdiMaxOn() { return SkinManager && SkinManager->MdiMax(); }

POINT MessagePoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

void TRezIderFormImpl::CallDefault(TMessage& Message) {
  Message.Result = CallWindowProcA(FOldWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TRezIderFormImpl::WndProc(TMessage& Message) {
  // Always.
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      return EraseBackground(Message);
    case WM_STYLECHANGED:
      if (int(Message.WParam) == GWL_STYLE)
        FStyle = reinterpret_cast<const STYLESTRUCT*>(Message.LParam)->styleNew;
      return CallDefault(Message);
    case WM_NCDESTROY:
      FState = fsDestroying;
      UnskinDestroyed();
      CallDefault(Message);
      FState = fsGone;
      return;
    case WM_CTLCOLORBTN:
      CallDefault(Message);
      if (!FForm) SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
      return;
    case WM_CTLCOLORSTATIC:
      return CtlColorStatic(Message);
    case WM_SKINQUERY:
      Message.Result = 1;
      return;
  }
  if (!FFullSkin || ((FStyle & WS_CHILD) && FMdiKind != mkChild)) return CallDefault(Message);

  // Full skin.
  switch (Message.Msg) {
    case WM_SIZE:
      return WMSize(Message);
    case WM_ACTIVATE:
      FActive = LOBYTE(Message.WParam) != 0;
      break;
    case WM_GETMINMAXINFO:
      return GetMinMaxInfo(Message);
    case WM_WINDOWPOSCHANGED:
      return WindowPosChanged(Message);
    case WM_NCACTIVATE:
      FActive = Message.WParam != 0;
      break;
    case WM_COMMAND:
      return WMCommand(Message);
    case WM_SYSCOMMAND:
      return WMSysCommand(Message);
    case WM_SKINACTIVATED:
      try {
        return FirstActivation();
      } catch (...) {
        // As a takeover that fails: the window is given back whole (and the manager frees this).
        if (SkinManager)
          SkinManager->TakeoverFailed(this);
        else
          UnskinForm();
        throw;
      }
    case CM_MENUCHANGED:
      return MenuChanged(Message);
    case WM_MENUSELECT:
      if (FMenuBar) FMenuBar->MenuSelect(Message.WParam, Message.LParam);
      break;
  }

  // Frame stage: only a skinned, activated window that is not minimised draws its own frame.
  if (FState == fsCreated || FShowState == ssMinimized || MdiChildAbnormal()) return CallDefault(Message);
  switch (Message.Msg) {
    case WM_DRAWITEM:
      return DrawItem(Message);
    case WM_MEASUREITEM:
      return MeasureItem(Message);
    case WM_NCCALCSIZE:
      return NCCalcSize(Message);
    case WM_NCHITTEST:
      return NCHitTest(Message);
    case WM_NCPAINT:
      return NCPaint(Message);
    case WM_NCACTIVATE:
      return NCActivate(Message);
    case WM_NCMOUSEMOVE:
      return NCMouseMove(Message);
    case WM_NCLBUTTONDOWN:
      return NCLButtonDown(Message);
    case WM_NCLBUTTONUP:
      return NCLButtonUp(Message);
    case WM_NCLBUTTONDBLCLK:
      return NCLButtonDblClk(Message);
    case WM_NCRBUTTONDOWN:
      return NCRButtonDown(Message);
    case WM_SKINFRAME:
      return PaintNonClient(nullptr);
    case WM_SETTEXT:
      if (!FForm) return SetText(Message);
      break;
  }
  CallDefault(Message);
}

void TRezIderFormImpl::FirstActivation() {
  FActivated = true;
  if (FState == fsCreated) {
    if (FMdiKind == mkChild && MdiMaxOn()) {
      SetCaptionStyles(true);
      FrameChanged();
    } else if (FShowState != ssMinimized && FBorderKind != bkNone) {
      FState = fsFirstSizing;
      AdjustFrameSize(false);
      // The client moved inside the new frame; what was waiting to be painted was not moved with it.
      InvalidateRect(FHandle, nullptr, TRUE);
      FState = fsSkinned;
      UpdateRegion();
    }
  }
  FState = fsSkinned;
  if (FTimer) FTimer->SetEnabled(true);
  ReleaseRedraw(false);
}

void TRezIderFormImpl::SetText(TMessage& Message) {
  // The system would paint its own caption with the new text; the skin's caption shows it instead.
  CallDefault(Message);
  FCaption = GetWindowTextString(FHandle);
  PaintNonClient(nullptr);
}

// ---- size and hit test ---------------------------------------------------------------------------

void TRezIderFormImpl::NCCalcSize(TMessage& Message) {
  CallDefault(Message);
  if (LOBYTE(Message.WParam) == 0) {
    Message.Result = 0;
    return;
  }
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
  if (!MdiChildAbnormal() && FBorderKind != bkNone) {
    const WINDOWPOS& w = *p->lppos;
    p->rgrc[0] = {w.x + FBorderLeft, w.y + FBorderTop + FMenuBarHeight, w.x + w.cx - FBorderRight,
                  w.y + w.cy - FBorderBottom};
  }
  p->rgrc[1] = p->rgrc[0];
  Message.Result = WVR_VALIDRECTS;
}

void TRezIderFormImpl::NCHitTest(TMessage& Message) {
  CallDefault(Message);
  if (Message.Result != HTNOWHERE) return;
  const POINT s = MessagePoint(Message.LParam);
  const POINT p = WindowPointFromScreen(s.x, s.y);
  if (p.y > 3) Message.Result = p.y > FBorderTop ? HTMENU : HTCAPTION;
}

POINT TRezIderFormImpl::WindowPointFromScreen(int X, int Y) {
  POINT p{X, Y};
  ScreenToClient(FHandle, &p);
  if (FShowState != ssMinimized) {
    p.x += FBorderLeft;
    p.y += FBorderTop + FMenuBarHeight;
  }
  return p;
}

TNCObject* TRezIderFormImpl::NCObjectAtPoint(POINT P) {
  for (auto& b : FSysButtons)
    if (b->FVisible && b->FButtonData->Action >= 0 && PtInRect(&b->FRect, P)) return b.get();
  return nullptr;
}

// ---- non-client mouse ----------------------------------------------------------------------------

TNCObject* TRezIderFormImpl::ObjectAtMessagePoint(LPARAM lParam) {
  const POINT screen = MessagePoint(lParam);
  const POINT p = WindowPointFromScreen(screen.x, screen.y);
  TNCObject* object = NCObjectAtPoint(p);
  if (!object && FMenuBar) object = FMenuBar->ItemAtPoint(p);
  return object;
}

void TRezIderFormImpl::NCMouseMove(TMessage& Message) {
  if (!FActive) return;
  TNCObject* object = ObjectAtMessagePoint(Message.LParam);
  if (object) {
    object->Hover();
    Message.Result = 0;
    return;
  }
  if (FCurrentObject) FCurrentObject->Leave();
  CallDefault(Message);
}

void TRezIderFormImpl::NCLButtonDown(TMessage& Message) {
  TNCObject* object = ObjectAtMessagePoint(Message.LParam);
  if (object) {
    if (!FActive) SetForegroundWindow(FHandle);
    object->Press();
    if (FMenuBar && FMenuBar->OwnsItem(object)) FMenuBar->TrackMenuItem(object);
    Message.Result = 0;
    return;
  }
  // A maximised window is not dragged by its caption.
  if (FShowState == ssMaximized && FActive && Message.WParam == HTCAPTION) Message.WParam = HTMENU;
  CallDefault(Message);
}

void TRezIderFormImpl::NCLButtonUp(TMessage& Message) {
  TNCObject* object = ObjectAtMessagePoint(Message.LParam);
  if (object) {
    if (ObjectAs<TWinSysButton>(object) && object == FCurrentObject) {
      object->Release();
      const POINT screen = MessagePoint(Message.LParam);
      SysButtonAction(screen.x, screen.y);
    }
    Message.Result = 0;
    return;
  }
  CallDefault(Message);
}

void TRezIderFormImpl::NCLButtonDblClk(TMessage& Message) {
  if (FShowState != ssNormal)
    Restore();
  else if (FCaptionFlags & cfMaxBox)
    ToggleMaximize();
  Message.Result = 0;
}

void TRezIderFormImpl::NCRButtonDown(TMessage& Message) {
  if (Message.WParam == HTCAPTION && FMdiKind != mkChild) {
    ShowSysMenu(MessagePoint(Message.LParam));
    Message.Result = 0;
    return;
  }
  CallDefault(Message);
}

// ---- activation and state ------------------------------------------------------------------------

void TRezIderFormImpl::NCActivate(TMessage& Message) {
  FActive = Message.WParam != 0;
  if (FTimer) FTimer->SetEnabled(FActive);
  if (!FActive && FHotButton) {
    FHotButton->MouseLeave();
    FHotButton = nullptr;
  }
  if (!MdiChildAbnormal()) PaintNonClient(nullptr);
  Message.Result = TRUE;
}

void TRezIderFormImpl::WMSize(TMessage& Message) {
  CallDefault(Message);
  switch (Message.WParam) {
    case SIZE_RESTORED:
      FShowState = ssNormal;
      break;
    case SIZE_MINIMIZED:
      FShowState = ssMinimized;
      break;
    case SIZE_MAXIMIZED:
      FShowState = ssMaximized;
      break;
  }
  if (FShowState == ssMinimized) return;
  if (FMdiKind == mkChild && (MdiMaxOn() || FShowState != ssNormal)) return;
  if (FState == fsSkinned || FState == fsRefreshing) UpdateRegion();
}

void TRezIderFormImpl::GetMinMaxInfo(TMessage& Message) {
  CallDefault(Message);
  GetShowState();
  if (FShowState == ssMinimized) {
    SetCaptionStyles(true);
  } else if (FMdiKind != mkChild) {
    SetCaptionStyles(false);
  } else if (FShowState == ssNormal) {
    if (MdiMaxOn()) SkinManager->SetMdiMax(false);
    SetCaptionStyles(false);
  } else {
    SetCaptionStyles(true);
  }
  if (FBorderKind == bkSizeable) {
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  }
}

void TRezIderFormImpl::WindowPosChanged(TMessage& Message) {
  GetShowState();
  CallDefault(Message);
}

void TRezIderFormImpl::GetShowState() {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  GetWindowPlacement(FHandle, &p);
  switch (p.showCmd) {
    case SW_SHOWMAXIMIZED:
      FShowState = ssMaximized;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      FShowState = ssMinimized;
      break;
    default:
      FShowState = ssNormal;
  }
}

void TRezIderFormImpl::WMCommand(TMessage& Message) {
  // The window's own system menu, shown with TrackPopupMenu, reports its choice here.
  switch (LOWORD(Message.WParam)) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      PostMessageA(FHandle, WM_SYSCOMMAND, LOWORD(Message.WParam), 0);
      return;
  }
  CallDefault(Message);
}

void TRezIderFormImpl::WMSysCommand(TMessage& Message) {
  const unsigned key = LOWORD(Message.LParam);
  if (!FMenuTracking && (Message.WParam & 0xFFF0) == SC_KEYMENU && key != ' ' && key != '-' &&
      !GetCapture()) {
    // F10 or Alt alone never starts the system's own menu-bar mode, nor does a key a menu-bar item
    // answers to, whatever other keys are held.
    if (key == 0 || (FMenuBar && FMenuBar->FindMenuAccel(key))) {
      Message.Result = 1;
      return;
    }
  }
  switch (Message.WParam) {
    case SC_MINIMIZE:
      FShowState = ssMinimized;
      if (FMdiKind == mkChild) SetCaptionStyles(true);
      break;
    case SC_MAXIMIZE:
      FShowState = ssMaximized;
      break;
    case SC_RESTORE:
      FShowState = ssNormal;
      if (FMdiKind == mkChild) SetCaptionStyles(false);
      break;
  }
  CallDefault(Message);
}

void TRezIderFormImpl::MenuChanged(TMessage& Message) {
  // The toolkit rebuilds the window's menu, which would paint frames on the way.
  const bool paintFrames = FSkinData->FPaintFrames;
  FSkinData->FPaintFrames = false;
  CallDefault(Message);
  FSkinData->FPaintFrames = paintFrames;
  if (FMenuBar && FSkinData->MenuUpdate)
    if (HMENU menu = GetMenu(FHandle)) {
      FMenuBar->FMenuHandle = menu;
      FMenuBar->ScanMenu();
    }
}

// ---- system menu and hover -----------------------------------------------------------------------

void TRezIderFormImpl::ShowSysMenu(POINT Screen) {
  if (!FSysMenu) return;
  TMenuItem* items = FSysMenu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    if (item->Tag == 0) item->SetEnabled(FShowState != ssNormal);
    if (item->Tag == 1) item->SetEnabled(FShowState != ssMaximized);
    if (item->Tag == 2) item->SetEnabled(FShowState != ssMinimized);
  }
  // The second request within the double-click time closes the window instead.
  if (GetTickCount() - FLastSysMenuTick <= FDoubleClickTime) {
    CloseWindow();
    return;
  }
  FLastSysMenuTick = GetTickCount();
  if (FSkinData->SkinControls.Contains(xcSystemMenu) && FMdiKind != mkChild) {
    // The window may go while the menu is up, and the system menu with it.
    std::shared_ptr<TPopupMenu> menu = FSysMenu;
    menu->Popup(Screen.x, Screen.y);
  } else {
    TrackPopupMenu(FSystemMenuHandle, TPM_RIGHTBUTTON, Screen.x, Screen.y, 0, FHandle, nullptr);
  }
}

void TRezIderFormImpl::HoverTimer(TObject*) {
  if (FMenuTracking) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (FCurrentObject) {
    const POINT p = WindowPointFromScreen(cursor.x, cursor.y);
    if (!PtInRect(&FCurrentObject->FRect, p)) FCurrentObject->Leave();
  }
  // A toolkit form tells its buttons about the pointer leaving by itself.
  if (!FForm && FHotButton && !PtInRect(&FHotButton->FWindowRect, cursor)) {
    FHotButton->MouseLeave();
    FHotButton = nullptr;
  }
}

// ---- colours -------------------------------------------------------------------------------------

void TRezIderFormImpl::EraseBackground(TMessage& Message) {
  CallDefault(Message);
  if (FForm) return;
  RECT r{};
  GetClientRect(FHandle, &r);
  FillRect(reinterpret_cast<HDC>(Message.WParam), &r, FSkinData->FFaceBrush);
  Message.Result = 1;
}

void TRezIderFormImpl::CtlColorStatic(TMessage& Message) {
  CallDefault(Message);
  if (!FForm) SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
  Message.Result = reinterpret_cast<LRESULT>(FSkinData->FFaceBrush);
}

// ---- owner-drawn menus -----------------------------------------------------------------------------

void TRezIderFormImpl::MakeMenuOwnerDraw(HMENU Menu) {
  const int count = GetMenuItemCount(Menu);
  for (int i = 0; i < count; ++i) {
    std::string text = MenuItemText(Menu, UINT(i), true);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    if (!GetMenuItemInfoA(Menu, UINT(i), TRUE, &info)) continue;
    if (!(info.fType & MFT_OWNERDRAW)) {
      // Kept, so the menu is given back as it was (a later record of the same place replaces it).
      TOwnerDrawnItem was{Menu, UINT(i), info.wID, info.hSubMenu, info.fType, info.dwItemData, text};
      auto same =
          std::find_if(FOwnerDrawnItems.begin(), FOwnerDrawnItems.end(),
                       [&](const TOwnerDrawnItem& o) { return o.Menu == Menu && o.Position == UINT(i); });
      if (same != FOwnerDrawnItems.end())
        *same = std::move(was);
      else
        FOwnerDrawnItems.push_back(std::move(was));
    }
    info.fMask = MIIM_TYPE;
    info.fType |= MFT_OWNERDRAW;
    info.dwTypeData = text.data();
    SetMenuItemInfoA(Menu, UINT(i), TRUE, &info);
    if (info.hSubMenu) MakeMenuOwnerDraw(info.hSubMenu);
  }
}

namespace {
// A canvas on a borrowed device context with the system's menu font, for the length of one call.
class TMenuCanvas {
 public:
  explicit TMenuCanvas(HDC DC) {
    FCanvas.SetHandle(DC);
    AssignMenuFont(FCanvas.Font());
  }
  ~TMenuCanvas() { FCanvas.SetHandle(nullptr); }
  TMenuCanvas(const TMenuCanvas&) = delete;
  TMenuCanvas& operator=(const TMenuCanvas&) = delete;
  TCanvas* operator->() { return &FCanvas; }
  TCanvas* Get() { return &FCanvas; }

 private:
  TCanvas FCanvas;
};
}  // namespace

void TRezIderFormImpl::MeasureItem(TMessage& Message) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (item->CtlType != ODT_MENU || !FMenuHandle) return CallDefault(Message);
  // A toolkit form without a menu bar (an MDI child) has no toolkit menu to look in: passed on.
  if (FForm && !FMenuBar) return CallDefault(Message);
  if (TMenuItem* own = FForm ? FindBarItem(item->itemID) : nullptr) {
    HDC dc = GetWindowDC(FHandle);
    {
      TMenuCanvas canvas(dc);
      int width = int(item->itemWidth), height = int(item->itemHeight);
      MenuItemMeasure(own, canvas.Get(), width, height);
      item->itemWidth = UINT(std::max(width, 0));
      item->itemHeight = UINT(std::max(height, 0));
    }
    ReleaseDC(FHandle, dc);
  } else {
    MeasureMenuText(*item);
  }
  Message.Result = TRUE;
}

void TRezIderFormImpl::MeasureMenuText(MEASUREITEMSTRUCT& Item) {
  // As the item will be drawn: all its text, and the separator's height for separators only.
  const std::string caption = MakeTempMenuItem(FTrackedMenu, Item.itemID).Caption;
  const bool separator = caption == "-";
  HDC dc = GetWindowDC(FHandle);
  int width = 0;
  {
    TMenuCanvas canvas(dc);
    width = canvas->TextWidth(separator ? "" : caption);
  }
  ReleaseDC(FHandle, dc);
  Item.itemWidth = UINT(width + 26 + (FSkinData->MenuItem ? FSkinData->MenuItem->LeftWidth : 0));
  Item.itemHeight = separator ? 8 : Item.itemHeight + 4;
}

void TRezIderFormImpl::DrawItem(TMessage& Message) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  const bool selected = d->itemState & ODS_SELECTED;
  const bool nt4 = IsWinNT && LOBYTE(LOWORD(GetVersion())) == 4;
  if (d->CtlType != ODT_MENU || !FMenuHandle || (FMdiKind == mkFrame && nt4)) return CallDefault(Message);
  if (FForm && !FMenuBar) return CallDefault(Message);
  HMENU menu = reinterpret_cast<HMENU>(d->hwndItem);
  if (CurrentSkinPopup) {
    CurrentSkinPopup->FMenuKey = menu;
    CurrentSkinPopup = nullptr;
  }
  TMenuCanvas canvas(d->hDC);
  if (TMenuItem* own = FForm ? FindBarItem(d->itemID) : nullptr)
    MenuItemDraw(own, canvas.Get(), d->rcItem, selected);
  else
    MenuHandleItemDraw(FSkinData, menu, MakeTempMenuItem(menu, d->itemID), selected, d->rcItem, canvas.Get());
  Message.Result = TRUE;
}

// ---- the MDI client ------------------------------------------------------------------------------

void TRezIderFormImpl::ClientWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCDESTROY:
      CallClientDefault(Message);
      UnhookMdiClient();
      return;
    case WM_NCCALCSIZE:
      if (FFullSkin)
        SetWindowLongA(FClientHandle, GWL_STYLE,
                       GetWindowLongA(FClientHandle, GWL_STYLE) & ~LONG(WS_HSCROLL | WS_VSCROLL));
      return CallClientDefault(Message);
    case WM_MDICREATE:
      FSkinData->MenuUpdate = false;
      CallClientDefault(Message);
      FPendingMdiChild = reinterpret_cast<HWND>(Message.Result);
      return;
    case WM_MDIDESTROY:
      CallClientDefault(Message);
      if (!FFullSkin || !SkinManager) return;
      SkinManager->SetMdiMax(IsMdiChildMaximized());
      if (FMenuBar && SkinManager->MdiChildCount() == 0) {
        FSkinData->MenuUpdate = FMenuUpdate;
        FMenuBar->ReleaseMenu();
      }
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (FFullSkin && MdiMaxOn()) SkinManager->SetMdiMax(false);
      return CallClientDefault(Message);
    case WM_MDISETMENU:
      CallClientDefault(Message);
      // Only a menu bar that draws the frame's menu takes it off the frame.
      if (FFullSkin && Message.WParam && FMenuBar) {
        if (HMENU(Message.WParam) != FMenuBar->FMenuHandle || FPendingMdiChild)
          FMenuBar->RebuildMenu(GetMenu(FHandle));
        SetMenu(FHandle, nullptr);
      }
      return;
    case WM_MDIREFRESHMENU:
      CallClientDefault(Message);
      if (FPendingMdiChild) {
        if (SkinManager) SkinManager->SkinMdiChild(FPendingMdiChild);
        PostMessageA(FHandle, WM_SKINFRAME, 0, 0);
        FPendingMdiChild = nullptr;
      }
      return;
  }
  CallClientDefault(Message);
}
