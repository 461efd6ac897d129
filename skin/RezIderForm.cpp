#include "skin/RezIderForm.h"

#include <algorithm>

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderFormImpl.h"
#include "tk/ExtCtrls.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"

TRezIderFormMaker RezIderFormMaker = nullptr;
TFormControlHooks FormControlHooks;
TBitmap* SharedBitmap = nullptr;

namespace {
// The module's finalisation, at the end of the program.
void Finalize() {
  RezIderFormMaker = nullptr;
  delete SharedBitmap;
  SharedBitmap = nullptr;
}

struct TModule {
  TModule() {
    SharedBitmap = new TBitmap;
    SetStretchBltMode(SharedBitmap->Canvas()->Handle(), COLORONCOLOR);
    RezIderFormMaker = [](TComponent* AOwner) -> TRezIderForm* { return new TRezIderFormImpl(AOwner); };
    AddFinalization(Finalize);
  }
} Module;

bool MdiMaxOn() { return SkinManager && SkinManager->MdiMax(); }
}  // namespace

// ---- the abstract form's helpers -----------------------------------------------------------------

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

void TRezIderForm::RemoveRegion(bool Redraw) {
  SetWindowRgn(FHandle, nullptr, Redraw);
  FRegion = nullptr;
  FHasRegion = false;
}

void TRezIderForm::ClearRegion() {
  if (FHasRegion) RemoveRegion(false);
}

void TRezIderForm::FrameChanged() {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TRezIderForm::RepaintWindow(HWND Window) {
  InvalidateRect(Window, nullptr, TRUE);
  UpdateWindow(Window);
}

std::string GetWindowTextString(HWND Window) {
  char text[1001] = {};
  SendMessageA(Window, WM_GETTEXT, sizeof text - 1, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string GetWindowClassName(HWND Window) {
  char name[101] = {};
  GetClassNameA(Window, name, sizeof name);
  return name;
}

void SetEnumPropByName(TComponent* Component, const std::string& Name, const std::string& Value) {
  if (!Component) return;
  const TPropertySetter* setter = FindPropertySetter(Component->ClassType(), Name);
  if (!setter) return;
  // The value as a form description would hold an identifier; a property of another type refuses it.
  TValue v;
  v.Kind = SameText(Value, "True")    ? TValue::vaTrue
           : SameText(Value, "False") ? TValue::vaFalse
                                      : TValue::vaIdent;
  v.Str = Value;
  TReader reader(Component);
  try {
    (*setter)(Component, v, reader);
  } catch (const std::exception&) {
  }
}

// ---- creation and destruction --------------------------------------------------------------------

TRezIderFormImpl::TRezIderFormImpl(TComponent* AOwner)
    : TRezIderForm(AOwner),
      FMenuCanvas(std::make_unique<TCanvas>()),
      FCanvas(std::make_unique<TCanvas>()),
      FIconBitmap(std::make_unique<TBitmap>()),
      FFrameBitmap(std::make_unique<TBitmap>()) {
  FDoubleClickTime = GetDoubleClickTime();
  CreateCaptionFont();
}

TRezIderFormImpl::~TRezIderFormImpl() {
  // A window still taken over would call into a freed object: it gets its procedure back.
  if (TakenOver() && IsWindow(FHandle)) RestoreWndProc();
  if (IsWindow(FHandle)) ReleaseRedraw(false);
  UnhookMdiClient();
  FreeControls();
  FreeNCObjects();
  delete FTimer;
  FTimer = nullptr;
  FreeMenuBar();
}

HFONT CreateNonClientFont(LOGFONTA NONCLIENTMETRICSA::*Which) {
  NONCLIENTMETRICSA metrics{};
  // The size without the padded-border field, which every system version accepts.
  metrics.cbSize = 340;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return nullptr;
  return CreateFontIndirectA(&(metrics.*Which));
}

void TRezIderFormImpl::CreateCaptionFont() {
  FCaptionFont = std::make_unique<TFont>();
  if (HFONT font = CreateNonClientFont(&NONCLIENTMETRICSA::lfCaptionFont)) {
    FCaptionFont->SetHandle(font);  // takes its description
    DeleteObject(font);
  }
}

// ---- takeover ------------------------------------------------------------------------------------

void TRezIderFormImpl::AttachForm(TSkinData* Data, TCustomForm* Form) {
  FForm = Form;
  // Known before anything is taken, so a takeover that fails half-way is given back whole.
  FOldColor = Form->Color();
  FFullSkin = Data->SkinControls.Contains(xcMainMenu);
  FTaken = true;
  Form->AutoScroll = false;
  if (FFullSkin) {
    HoldRedraw();
    FOwnWindowProc =
        HookMessageMethod(Form, MakeWndMethod<&TRezIderFormImpl::FormWindowProc>(this), FOldWindowProc);
  }
  SkinForm(Data);
  Form->SetColor(Data->ButtonFace);
  if (FFullSkin) SkinPopupMenus(Form, true);
}

void TRezIderFormImpl::SkinForm(TSkinData* Data) {
  if (TakenOver()) return;
  FTaken = true;
  FSkinData = Data;
  FTimer = new TTimer(this);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(250);
  FTimer->OnTimer = [this](TObject* Sender) { HoverTimer(Sender); };
  FFullSkin = Data->SkinControls.Contains(xcMainMenu);

  FStyle = uint32_t(GetWindowLongA(FHandle, GWL_STYLE));
  FTakeoverStyle = FStyle;
  const DWORD exStyle = DWORD(GetWindowLongA(FHandle, GWL_EXSTYLE));
  FRightToLeft = exStyle & WS_EX_LEFTSCROLLBAR;
  FSystemMenuHandle = GetSystemMenu(FHandle, FALSE);

  LoadFormIcon(FIconBitmap.get());
  FCaption = GetWindowTextString(FHandle);
  FClassName = GetWindowClassName(FHandle);
  FOwnerWindow = GetWindow(FHandle, GW_OWNER);
  GetClientRect(FHandle, &FClientRect);
  RECT w{};
  GetWindowRect(FHandle, &w);
  FOriginalFrame = {0, 0, (w.right - w.left) - FClientRect.right, (w.bottom - w.top) - FClientRect.bottom};

  FCaptionFlags = 0;
  if ((FStyle & WS_SYSMENU) || FSystemMenuHandle) FCaptionFlags |= cfSysMenu;
  if (FStyle & WS_MINIMIZEBOX) FCaptionFlags |= cfMinBox;
  if (FStyle & WS_MAXIMIZEBOX) FCaptionFlags |= cfMaxBox;

  BuildSysMenu();
  GetShowState();
  FSizeable = FStyle & WS_THICKFRAME;
  FindMdiClient();
  if (exStyle & WS_EX_MDICHILD) FMdiKind = mkChild;

  if ((FStyle & WS_POPUP) && (FStyle & WS_CAPTION) != WS_CAPTION)
    FBorderKind = bkNone;
  else if (FStyle & WS_THICKFRAME)
    FBorderKind = bkSizeable;
  else if (FStyle & DS_MODALFRAME)
    FBorderKind = bkModal;
  else
    FBorderKind = bkFixed;

  if (FMdiKind == mkFrame) {
    FMenuUpdate = Data->MenuUpdate;
    HookMdiClient();
  }

  if (FFullSkin) {
    FMenuHandle = GetMenu(FHandle);
    if (FMenuHandle && FMdiKind != mkChild && RezIderMenuMaker) {
      FMenuBar = RezIderMenuMaker(this, Data);
      FMenuBar->FMenuHandle = FMenuHandle;
      if (FForm) FMenuBar->SetToolkitMenu(FForm->Menu());
      FMenuBarHeight = GetSystemMetrics(SM_CYMENU);
      FMenuBar->ScanMenu();
    }
    if (!(FMdiKind == mkChild && MdiMaxOn()) && FShowState != ssMinimized) SetCaptionStyles(false);
    LoadSkinParts();
  }

  FObjectInstance = HookWindowProc(FHandle, MakeWndMethod<&TRezIderFormImpl::WndProc>(this), FOldWndProc);

  if (FForm) {
    if (FormControlHooks.SkinFormControls) FormControlHooks.SkinFormControls(this, FForm);
  } else if (FormControlHooks.SkinChildWindows) {
    FormControlHooks.SkinChildWindows(this);
  }
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TRezIderFormImpl::SetCaptionStyles(bool On) {
  if (FMdiKind == mkChild && MdiMaxOn() && !On) return;
  FCaptionStylesOn = On;
  DWORD style = DWORD(GetWindowLongA(FHandle, GWL_STYLE));
  if (On) {
    // Only what the window had: a window without a system menu style is not given one.
    if ((FCaptionFlags & cfSysMenu) && (FTakeoverStyle & WS_SYSMENU)) style |= WS_SYSMENU;
    if (FCaptionFlags & cfMinBox) style |= WS_MINIMIZEBOX;
    if (FCaptionFlags & cfMaxBox) style |= WS_MAXIMIZEBOX;
    if (FCaptionFlags & cfCaptionRemoved) style |= FRemovedCaption;
  } else if (FOwnerWindow) {
    style &= ~DWORD(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU);
  } else {
    // Remembers exactly the caption bits it takes, so a window without a caption gets none back.
    if (style & WS_CAPTION) {
      FRemovedCaption = style & WS_CAPTION;
      FCaptionFlags |= cfCaptionRemoved;
    }
    style &= ~DWORD(WS_CAPTION);
  }
  SetWindowLongA(FHandle, GWL_STYLE, LONG(style));
}

TDataSkinBorder* TRezIderFormImpl::Edge(int Side) const {
  switch (Side) {
    case 1:
      return FSkinData->Left.get();
    case 2:
      return FSkinData->Right.get();
    case 3:
      return FSkinData->Top.get();
    default:
      return FSkinData->Bottom.get();
  }
}

namespace {
int FrameSize(TDataSkinBorder* E, bool Vertical) {
  if (!E || !E->Image || E->Image->Empty()) return 0;
  const int n = E->FrameCount < 1 ? 1 : E->FrameCount;
  return (Vertical ? E->Image->Height() : E->Image->Width()) / n;
}
}  // namespace

void TRezIderFormImpl::LoadSkinParts() {
  if (!FSkinData || FSkinData->FNotLoaded) return;
  if (FBorderKind == bkNone) {
    FBorderLeft = FBorderTop = FBorderRight = FBorderBottom = 0;
    FMenuBarHeight = 0;
  } else {
    FBorderTop = FrameSize(Edge(3), true);
    FBorderLeft = FrameSize(Edge(1), false);
    FBorderRight = FrameSize(Edge(2), false);
    FBorderBottom = FrameSize(Edge(4), true);
  }
  FreeNCObjects();
  FSysButtonCount = int32_t(FSkinData->SysButtons.size());
  for (auto& definition : FSkinData->SysButtons) {
    auto button = std::make_unique<TWinSysButton>();
    button->FForm = this;
    button->FButtonData = definition.get();
    if (definition->Action == 3 || definition->Action == 11) {
      if (!definition->Image) definition->Image = std::make_unique<TBitmap>();
      if (definition->Image->Empty()) definition->Image->Assign(FIconBitmap.get());
      if (FSkinData->FIconPicture && FSkinData->FIconPicture->Empty())
        FSkinData->FIconPicture->Assign(FIconBitmap.get());
      definition->FrameCount = 1;
    }
    FSysButtons.push_back(std::move(button));
  }
}

void TRezIderFormImpl::FreeNCObjects() {
  for (auto& b : FSysButtons)
    if (FCurrentObject == b.get()) FCurrentObject = nullptr;
  FSysButtons.clear();
  FSysButtonCount = 0;
}

void TRezIderFormImpl::LoadFormIcon(TBitmap* Target) {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  TBitmap work(cx, cy, pf24bit);
  HDC dc = work.Canvas()->Handle();
  HBRUSH key = CreateSolidBrush(SkinKeyColour);
  RECT all{0, 0, cx, cy};
  FillRect(dc, &all, key);
  DeleteObject(key);
  Target->Assign(&work);
  HICON icon = reinterpret_cast<HICON>(SendMessageA(FHandle, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(FHandle, WM_GETICON, ICON_BIG, 0));
  if (icon) {
    HANDLE copy = CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE);
    if (!copy) copy = CopyImage(icon, IMAGE_ICON, cx, cy, 0);
    DrawIconEx(work.Canvas()->Handle(), 0, 0, copy ? static_cast<HICON>(copy) : icon, cx, cy, 0, nullptr,
               DI_NORMAL);
    if (copy) DestroyIcon(static_cast<HICON>(copy));
    Target->Assign(&work);
  } else if (FSkinData && FSkinData->FIconPicture && !FSkinData->FIconPicture->Empty()) {
    Target->Assign(FSkinData->FIconPicture.get());
  } else if (SkinManager) {
    for (TSkinData* s : SkinManager->SkinDatas())
      if (s->SkinFormtype == sfMainform && s->FIconPicture && !s->FIconPicture->Empty())
        Target->Assign(s->FIconPicture.get());
  }
}

void TRezIderFormImpl::BuildSysMenu() {
  FSysMenu = std::make_shared<TPopupMenu>(nullptr);
  FSysMenu->Tag = 33333;
  FSysMenu->SetOwnerDraw(true);
  if (FSkinData) FSysMenu->SetImages(FSkinData->FMenuImages.get());
  auto add = [this](const std::string& Caption, int32_t Number) {
    auto* item = new TMenuItem(FSysMenu.get());
    item->SetCaption(Caption);
    item->Tag = Number;
    item->SetImageIndex(Number);
    // The window, and this object with it, may have gone by the time the menu reports the choice.
    item->OnClick = [self = std::weak_ptr<TRezIderFormImpl*>(FSelf)](TObject* Sender) {
      if (auto form = self.lock()) (*form)->SysMenuClick(static_cast<TMenuItem*>(Sender));
    };
    item->OnDrawItem = TSkinItemDraw{FSelf, nullptr};
    item->OnMeasureItem = TSkinItemMeasure{FSelf, nullptr, true};
    if (Number == 3) item->SetShortCut(TextToShortCut("Shift+F4"));
    FSysMenu->Items()->Add(item);
  };
  add(" Restore ", 0);
  if (FCaptionFlags & cfMaxBox) add(" Maximize ", 1);
  if (FCaptionFlags & cfMinBox) add(" Minimize ", 2);
  add("-", 100);
  add(" Close ", 3);
}

// ---- controls ------------------------------------------------------------------------------------

void TRezIderFormImpl::PurgeControls() {
  for (int i = FControls.Count() - 1; i >= 0; --i) {
    if (i >= FControls.Count()) continue;
    auto* control = static_cast<TSkinControl*>(FControls.Items(i));
    if (control->FSkinState != scsGone) continue;
    FControls.Delete(i);
    delete control;
  }
}

// ---- MDI client ----------------------------------------------------------------------------------

void TRezIderFormImpl::HookMdiClient() {
  if (!FClientHandle || FClientInstance) return;
  FClientInstance =
      HookWindowProc(FClientHandle, MakeWndMethod<&TRezIderFormImpl::ClientWndProc>(this), FClientOldWndProc);
}

void TRezIderFormImpl::UnhookMdiClient() {
  UnhookWindowProc(FClientHandle, FClientInstance, FClientOldWndProc);
  FClientInstance = nullptr;
}

void TRezIderFormImpl::CallClientDefault(TMessage& Message) {
  Message.Result =
      CallWindowProcA(FClientOldWndProc, FClientHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---- size, refresh -------------------------------------------------------------------------------

void TRezIderFormImpl::AdjustFrameSize(bool Refresh) {
  if (FShowState == ssMaximized) {
    FrameChanged();
    return;
  }
  RECT w{};
  GetWindowRect(FHandle, &w);
  // A refresh keeps the client the window has now, however the user sized it since the takeover.
  if (Refresh) GetClientRect(FHandle, &FClientRect);
  int width = FClientRect.right + FBorderLeft + FBorderRight;
  if (!Refresh && FForm) {
    // The client height the window had under its own frame (the menu included, which now is
    // drawn by the skin), whatever kind that frame was.
    FClientRect.bottom = (w.bottom - w.top) - FOriginalFrame.bottom;
    width = FForm->ClientWidth() + FBorderLeft + FBorderRight;
  }
  const int height = FClientRect.bottom + FBorderTop + FBorderBottom + FMenuBarHeight;
  if (!Refresh && (FClassName == "TMessageForm" || FClassName == "#32770") && FSkinData->Title) {
    HDC dc = GetWindowDC(FHandle);
    HGDIOBJ old = SelectObject(dc, FCaptionFont->Handle());
    SIZE blank{};
    GetTextExtentPoint32A(dc, " ", 1, &blank);
    SelectObject(dc, old);
    ReleaseDC(FHandle, dc);
    FBlankWidth = blank.cx;
    FCaption = GetWindowTextString(FHandle);
    const TDataSkinTitle& t = *FSkinData->Title;
    const int needed = int(FCaption.size() + 7) * FBlankWidth + FBorderLeft + FBorderRight + t.LeftWidth +
                       t.RightWidth + t.TXTBackleft + t.TXTBackRight;
    if (width < needed) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = needed;
    }
  }
  // The first sizing may be handled after another window (a modal dialog) became active: resizing
  // the frame must not take the activation back.
  SetWindowPos(FHandle, nullptr, w.left, w.top, width, height,
               SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TRezIderFormImpl::RefreshSkin() {
  if (FForm) {
    FForm->SetColor(FSkinData->ButtonFace);
    for (int i = 0; i < FForm->ComponentCount(); ++i)
      if (auto* embedded = ObjectAs<TCustomForm>(FForm->Components(i)))
        embedded->SetColor(FSkinData->ButtonFace);
  }
  for (int i = 0; i < FControls.Count(); ++i) static_cast<TSkinControl*>(FControls.Items(i))->Refresh();
  FState = fsRefreshing;
  if (FFullSkin) {
    SkinPopupMenus(FForm, true);
    AdjustFrameSize(true);
    // Still refreshing, so the region is built from the new skin even when the size is the same.
    UpdateRegion();
  }
  FState = fsSkinned;
}

void TRezIderFormImpl::FormWindowProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT:
      FOldWindowProc(Message);
      FCaption = GetWindowTextString(FHandle);
      FrameChanged();
      break;
    case WM_SKINREFRESH:
      RefreshSkin();
      break;
    case CM_VISIBLECHANGED:
      // A window held from painting is not visible to the system, which would not hide it.
      if (!Message.WParam) ReleaseRedraw(true);
      FOldWindowProc(Message);
      break;
    case CM_DIALOGCHAR:
      if (FMenuBar)
        FMenuBar->MenuAccelerator(Message);
      else
        FOldWindowProc(Message);
      break;
    default:
      FOldWindowProc(Message);
  }
}

// ---- the first showing's one paint --------------------------------------------------------------

void TRezIderFormImpl::HoldRedraw() {
  // Taken over as it is being shown, the window has not painted yet: what it would paint now (the
  // plain frame, then each step of the takeover and the first sizing) would only be painted over.
  // Held, the system counts it as not visible.
  if (FRedrawHeld || TakenOver() || FState != fsCreated || !IsWindowVisible(FHandle)) return;
  SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
  FRedrawHeld = true;
}

void TRezIderFormImpl::ReleaseRedraw(bool Hiding) {
  if (!FRedrawHeld) return;
  FRedrawHeld = false;
  if (FState == fsDestroying) return;
  SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
  if (Hiding) return;
  // The hold validated the window, its frame and its children: all of it paints anew, when the
  // queue gets to it, after what is waiting there: the first sizing of a window shown in front of
  // this one (a dialog its showing opened) comes first.
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  // Its owner was minimised meanwhile and took its windows out of sight, all but this one, which
  // the system did not count as shown: it goes now the same way, to come back with them.
  HWND owner = GetWindow(FHandle, GW_OWNER);
  if (owner && IsIconic(owner)) SendMessageA(FHandle, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
}

// ---- give-back -----------------------------------------------------------------------------------

void TRezIderFormImpl::FreeMenuBar() {
  if (!FMenuBar) return;
  if (FCurrentObject && FMenuBar->OwnsItem(FCurrentObject)) FCurrentObject = nullptr;
  delete FMenuBar;
  FMenuBar = nullptr;
}

void TRezIderFormImpl::ResizeForRestoredFrame() {
  if (FState == fsDestroying) return;
  if ((GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD) && FMdiKind != mkChild) return;
  // Not activated yet, the window still has the size of its own frame: only that frame comes back.
  if (FState == fsCreated) return FrameChanged();
  RECT w{};
  GetWindowRect(FHandle, &w);
  POINT topLeft{w.left, w.top};
  if (FMdiKind == mkChild && SkinManager) ScreenToClient(SkinManager->FMdiClient, &topLeft);
  const int width = (w.right - w.left) - (FBorderLeft + FBorderRight - FOriginalFrame.right);
  const int height =
      (w.bottom - w.top) - (FBorderTop + FMenuBarHeight + FBorderBottom - FOriginalFrame.bottom);
  SetWindowPos(FHandle, nullptr, topLeft.x, topLeft.y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TRezIderFormImpl::RestoreWndProc() {
  // Under a message method or subclass set after the takeover, ours stays and passes everything on.
  if (FForm && FOldWindowProc.Assigned()) {
    UnhookMessageMethod(FForm, FOwnWindowProc, FOldWindowProc);
    FOwnWindowProc = {};
    FOldWindowProc = {};
  }
  UnhookWindowProc(FHandle, FObjectInstance, FOldWndProc);
  FObjectInstance = nullptr;
}

bool TRezIderFormImpl::ReleaseFullSkin() {
  ReleaseRedraw(false);
  if (!FFullSkin) {
    UnskinBasic();
    return false;
  }
  FSysMenu.reset();
  if (FTimer) FTimer->SetEnabled(false);
  // Whatever was taken, also by a takeover that failed half-way, comes back once.
  if (!FTaken) return false;
  FTaken = false;
  RestoreWndProc();
  FreeControls();
  return true;
}

void TRezIderFormImpl::UnskinForm() {
  if (!ReleaseFullSkin()) return;
  GiveBackMenus();
  if (FForm && FState != fsDestroying) FForm->SetColor(FOldColor);
  SetCaptionStyles(true);
  if (FMenuBar) {
    // The toolkit may have freed its menu meanwhile.
    if (IsMenu(FMenuBar->FMenuHandle)) SetMenu(FHandle, FMenuBar->FMenuHandle);
    FreeMenuBar();
  }
  UnhookMdiClient();
  FFrameBitmap->SetSize(0, 0);
  ResizeForRestoredFrame();
  // The system owns the region it was given and deletes it when it is taken off.
  RemoveRegion(true);
}

void TRezIderFormImpl::UnskinDestroyed() {
  if (!ReleaseFullSkin()) return;
  // The form may get a new window, skinned anew: its menus must be as they were.
  GiveBackMenus();
  if (FMenuBar) {
    // The system destroys the menu a window shows when the window goes; the one the skin took off
    // the window goes with it too, unless the toolkit's main menu owns it.
    HMENU menu = FMenuBar->FMenuHandle;
    TMenu* own = FMenuBar->FMenu;
    const bool owned = own && own->Items()->HandleAllocated() && own->Handle() == menu;
    if (menu && !owned && IsMenu(menu) && GetMenu(FHandle) != menu) DestroyMenu(menu);
  }
  FreeMenuBar();
  FFrameBitmap->SetSize(0, 0);
}

void TRezIderFormImpl::GiveBackMenus() {
  RestoreOwnerDrawnItems();
  SkinPopupMenus(FForm, false);
  ReleaseMenuItems();
}

void TRezIderFormImpl::UnskinBasic() {
  if (FTimer) FTimer->SetEnabled(false);
  FreeControls();
  GiveBackMenus();
  if (FForm && FState != fsDestroying) FForm->SetColor(FOldColor);
  if (TakenOver()) RestoreWndProc();
  UnhookMdiClient();
  if (FForm && FState != fsDestroying)
    for (int i = 0; i < FForm->ComponentCount(); ++i)
      if (auto* control = ObjectAs<TControl>(FForm->Components(i))) control->Invalidate();
}
