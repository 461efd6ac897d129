#include "skin/RezIderMenuBar.h"

#include <cctype>

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderFormDraw.h"
#include "skin/RezIderFormImpl.h"
#include "skin/RezIderMenuItem.h"
#include "tk/Forms.h"

TMenuTrackState MenuTrack;

// Defined here so that the skinned form, which names it, links this module in.
TRezIderMenuMaker RezIderMenuMaker = [](TRezIderFormImpl* Form, TSkinData* Data) -> TRezIderMenu* {
  return new TRezIderMenuBar(Form, Data);
};

namespace {

// Text of one menu-bar item as much as the bar shows of it.
constexpr int kCaptionLength = 80;

// The screen's menu font on the canvas.
void SelectMenuFont(TCanvas* Canvas) {
  if (HFONT font = CreateNonClientFont(&NONCLIENTMETRICSA::lfMenuFont)) {
    Canvas->Font()->SetHandle(font);
    DeleteObject(font);
  }
}

int Width(const RECT& R) { return R.right - R.left; }
int Height(const RECT& R) { return R.bottom - R.top; }

bool IsWindowsNT4() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&v)) return false;
#pragma GCC diagnostic pop
  return v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion == 4;
}

// One entry of a menu as the bar reads it, with at most 80 characters of its text.
struct TEntry {
  MENUITEMINFOA Info{};
  std::string Text;
  bool Read(HMENU Menu, int Position) {
    Info.cbSize = sizeof Info;
    Info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!GetMenuItemInfoA(Menu, UINT(Position), TRUE, &Info)) return false;
    Text = MenuItemText(Menu, UINT(Position), true).substr(0, kCaptionLength);
    return true;
  }
  // An owner-drawn or bitmap entry shows no text.
  std::string Caption() const { return Info.fType & (MFT_OWNERDRAW | MFT_BITMAP) ? "" : Text; }
};

TRezIderMenuBar* BarOf(TRezIderFormImpl* Form) {
  return Form ? ObjectAs<TRezIderMenuBar>(Form->FMenuBar) : nullptr;
}

}  // namespace

// ---- the items -----------------------------------------------------------------------------------

char MenuAccelChar(const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] != '&') return Caption[i + 1];
    ++i;  // "&&" is a plain ampersand
  }
  return 0;
}

bool OnlyAltDown() {
  BYTE keys[256] = {};
  if (!GetKeyboardState(keys)) return false;
  auto down = [&](int Key) { return (keys[Key] & 0x80) != 0; };
  return down(VK_MENU) && !down(VK_SHIFT) && !down(VK_CONTROL) && !down(VK_LBUTTON) && !down(VK_RBUTTON) &&
         !down(VK_MBUTTON);
}

void TMenuBtn::Draw() {
  if (!FBar || !FForm->FHandle || FBar->FBarBitmap->Empty()) return;
  HWND window = FForm->FHandle;
  HDC dc = GetWindowDC(window);
  TCanvas* canvas = FForm->FMenuCanvas.get();
  canvas->SetHandle(dc);
  const RECT& bar = FBar->FBarRect;
  const RECT r{FRect.left, bar.top, FRect.right, bar.bottom};
  const RECT source{r.left - bar.left, 0, r.right - bar.left, r.bottom - r.top};
  canvas->CopyRect(r, FBar->FBarBitmap->Canvas(), source);
  if (FState == nsHot || FState == nsPressed) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FSkinData->ButtonHilight);
    canvas->FrameRect(FRect);
  }
  SelectMenuFont(canvas);
  canvas->Font()->SetColor(FEnabled ? FSkinData->MenuBarText : FSkinData->ButtonShadow);
  DrawCenteredText(canvas, FRect, FCaption, true, 2);
  canvas->SetHandle(nullptr);
  ReleaseDC(window, dc);
}

// ---- the bar -------------------------------------------------------------------------------------

TRezIderMenuBar::TRezIderMenuBar(TRezIderFormImpl* Form, TSkinData* Data)
    : TRezIderMenu(Form), FSkinData(Data), FForm(Form), FBarBitmap(std::make_unique<TBitmap>()) {}

TRezIderMenuBar::~TRezIderMenuBar() {
  // A bar that goes while its sub-menu is tracked leaves no tracking state pointing at it.
  if (MenuTrack.MenuTrackForm == FForm) {
    RemoveMenuFilterHook();
    MenuTrack.MenuTrackForm = nullptr;
  }
  ClearButtons();
}

void TRezIderMenuBar::ClearButtons() {
  if (FForm->FCurrentObject && OwnsItem(FForm->FCurrentObject)) FForm->FCurrentObject = nullptr;
  FButtons.clear();
}

bool TRezIderMenuBar::OwnsItem(TNCObject* Object) const {
  for (auto& b : FButtons)
    if (b.get() == Object) return true;
  return false;
}

bool TRezIderMenuBar::ScanHandle(const std::function<TMenuItem*(const MENUITEMINFOA&)>& Find) {
  // The actions of the toolkit items an entry without text takes its look from are updated first:
  // an update may change the menu, and the items are then read as they are after it.
  if (FMenu)
    for (int i = 0, n = GetMenuItemCount(FMenuHandle); i < n; ++i) {
      TEntry e;
      if (!e.Read(FMenuHandle, i) || !e.Caption().empty()) continue;
      if (TMenuItem* item = Find(e.Info); item && item->Action()) item->Action()->Update();
    }
  ClearButtons();
  FCount = GetMenuItemCount(FMenuHandle);
  if (FCount <= 0) {
    FCount = 0;
    return false;
  }
  for (int i = 0; i < FCount; ++i) {
    TEntry e;
    const MENUITEMINFOA& info = e.Info;
    auto b = NewButton(i);
    if (e.Read(FMenuHandle, i)) {
      b->FSubMenu = info.hSubMenu;
      b->FEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
      b->FCommand = info.wID;
      b->FCaption = e.Caption();
      if (b->FCaption.empty() && FMenu)
        if (TMenuItem* item = Find(info)) {
          FromToolkitItem(b.get(), item);
          b->FCommand = GetMenuItemID(FMenuHandle, i);
        }
    }
    FButtons.push_back(std::move(b));
  }
  SetMenu(FForm->FHandle, nullptr);
  return true;
}

std::unique_ptr<TMenuBtn> TRezIderMenuBar::NewButton(int Index) {
  auto b = std::make_unique<TMenuBtn>();
  b->FSkinData = FSkinData;
  b->FForm = FForm;
  b->FBar = this;
  b->FIndex = Index;
  b->FVisible = true;
  b->FState = nsNormal;
  return b;
}

void TRezIderMenuBar::FromToolkitItem(TMenuBtn* Button, TMenuItem* Item) {
  Button->FCaption = Item->Caption().substr(0, kCaptionLength);
  Button->FEnabled = Item->Enabled();
  Button->FCommand = Item->Command();
  Button->FSubMenu = Item->Count() > 0 ? Item->Handle() : nullptr;
}

void TRezIderMenuBar::ScanMenu() {
  if (HMENU menu = GetMenu(FForm->FHandle)) {
    FMenuHandle = menu;
    // The form may show another main menu since the bar last took one: its items are looked up
    // there, and it is the one that owns the handle.
    if (FForm->FForm) SetToolkitMenu(FForm->FForm->Menu());
  }
  if (!FMenuHandle) return;
  // The toolkit item at the same place: the one whose sub-menu or command the entry has.
  ScanHandle([this](const MENUITEMINFOA& Info) {
    return Info.hSubMenu ? FMenu->FindItem(uintptr_t(Info.hSubMenu), fkHandle)
                         : FMenu->FindItem(Info.wID, fkCommand);
  });
}

void TRezIderMenuBar::RebuildMenu(HMENU Menu) {
  if (Menu) FMenuHandle = Menu;
  if (!FMenuHandle) return;
  // The top-level toolkit items whose command is the entry's; the last one wins.
  ScanHandle([this](const MENUITEMINFOA& Info) {
    TMenuItem* found = nullptr;
    TMenuItem* top = FMenu->Items();
    for (int i = 0; i < top->Count(); ++i)
      if (top->Items(i)->Command() == Info.wID) found = top->Items(i);
    return found;
  });
}

void TRezIderMenuBar::ReleaseMenu() {
  if (HMENU menu = GetMenu(FForm->FHandle)) FMenuHandle = menu;
  if (!FMenu) {
    // A bare window has no toolkit menu: the bar is built again from the menu the window holds.
    if (FMenuHandle) ScanMenu();
    FForm->FCurrentObject = nullptr;
    return;
  }
  TMenuItem* top = FMenu->Items();
  // Every item's action is updated first: an update may change the menu.
  for (int i = 0; i < top->Count(); ++i)
    if (TBasicAction* action = top->Items(i)->Action()) action->Update();
  ClearButtons();
  FCount = top->Count();
  if (FCount == 0) return;
  for (int i = 0; i < FCount; ++i) {
    auto b = NewButton(i);
    TMenuItem* item = top->Items(i);
    FromToolkitItem(b.get(), item);
    b->FVisible = item->Visible();
    FButtons.push_back(std::move(b));
  }
  SetMenu(FForm->FHandle, nullptr);
  FForm->FCurrentObject = nullptr;
}

bool TRezIderMenuBar::RightToLeft() const {
  // The toolkit menu's own order alone: a window's left scroll bar or reading order does not turn
  // the bar, and a bare window's bar reads left to right.
  return FMenu && FMenu->IsRightToLeft();
}

void TRezIderMenuBar::PaintMenuBar(HDC DC, const RECT& Rect) {
  if (!SharedBitmap) return;
  const int W = Width(Rect), H = Height(Rect);
  if (W <= 0 || H <= 0) return;
  SharedBitmap->SetSize(W, H);
  TCanvas* canvas = SharedBitmap->Canvas();
  const RECT all{0, 0, W, H};
  const bool rtl = RightToLeft();
  int start = 6;
  TDataSkinObject* element = FSkinData->MenuBarSkin.get();
  if (element && element->Image && !element->Image->Empty()) {
    const int frame = FForm->FActive ? 1 : 2;
    if (element->Tile == 1)
      DrawNineSlice(canvas->Handle(), all, element->Image.get(), element->Margins(), frame, 2, 0, 0, 1);
    else
      DrawThreeSliceTiled(canvas, all, element->Image.get(), element->Margins(), frame, 2, 0, 1);
    start = rtl ? element->RightWidth + 8 : element->LeftWidth + 4;
    if (start > W) start = 12;
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FSkinData->Menubar);
    canvas->FillRect(all);
  }
  FBarRect = Rect;
  FBarBitmap->SetSize(W, H);
  BitBlt(FBarBitmap->Canvas()->Handle(), 0, 0, W, H, canvas->Handle(), 0, 0, SRCCOPY);

  SelectMenuFont(canvas);
  canvas->Brush()->SetStyle(bsClear);
  SetBkMode(canvas->Handle(), TRANSPARENT);
  int x = rtl ? W - start : start;
  for (auto& b : FButtons) {
    int w = b->Shown() ? canvas->TextWidth(b->FCaption) : 0;
    if (w > 0) w += 10;
    RECT r = rtl ? RECT{x - w, 0, x, H - 1} : RECT{x, 0, x + w, H - 1};
    x += rtl ? -w : w;
    canvas->Font()->SetColor(b->FEnabled ? FSkinData->MenuBarText : FSkinData->ButtonShadow);
    if (w > 0) DrawCenteredText(canvas, r, b->FCaption, true, 2);
    OffsetRect(&r, Rect.left, Rect.top);
    b->FRect = r;
  }

  if (FForm->FMdiKind == mkFrame && FForm->IsMdiChildMaximized()) {
    for (auto& s : FForm->FSysButtons) {
      TDataSkinSysButton& d = *s->FButtonData;
      if (d.Visibility != 100 || !d.Image || d.Image->Empty()) continue;
      RECT r = s->FRect;
      OffsetRect(&r, -FForm->FBorderLeft, -FForm->FBorderTop);
      DrawStripFrame(canvas->Handle(), r, d.Image.get(), 1, d.FrameCount, 1);
    }
    if (SkinManager && !SkinManager->MdiMax()) SkinManager->SetMdiMax(true);
  }
  BitBlt(DC, Rect.left, Rect.top, W, H, canvas->Handle(), 0, 0, SRCCOPY);
}

TNCObject* TRezIderMenuBar::ItemAtPoint(POINT P) {
  for (auto& b : FButtons)
    if (b->Shown() && PtInRect(&b->FRect, P)) return b.get();
  return nullptr;
}

TMenuBtn* TRezIderMenuBar::FindAccelItem(unsigned Key) const {
  if (Key == 0 || Key > 0xFF) return nullptr;
  const int key = std::toupper(int(Key));
  for (auto& b : FButtons)
    if (b->FEnabled && b->Shown() &&
        std::toupper(static_cast<unsigned char>(MenuAccelChar(b->FCaption))) == key)
      return b.get();
  return nullptr;
}

void TRezIderMenuBar::OpenMenuItem(TMenuBtn* Item) {
  // A click at an item without room would land on its neighbour.
  if (!Item->Shown()) return;
  RECT w{};
  GetWindowRect(FForm->FHandle, &w);
  FForm->FWindowRect = w;
  const int x = w.left + Item->FRect.left + 1, y = w.top + Item->FRect.top + 1;
  PostMessageA(FForm->FHandle, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(x, y));
}

bool TRezIderMenuBar::FindMenuAccel(unsigned Key) {
  TMenuBtn* item = FindAccelItem(Key);
  if (!item) return false;
  // A bare window has no dialog-character message: its Alt+accelerator opens the item here.
  if (OnlyAltDown()) OpenMenuItem(item);
  return true;
}

void TRezIderMenuBar::MenuAccelerator(TMessage& Message) {
  TMenuBtn* item = FindAccelItem(LOWORD(Message.WParam));
  if (item && OnlyAltDown()) {
    OpenMenuItem(item);
    Message.Result = 1;
    return;
  }
  if (FForm->FOldWindowProc.Assigned())
    FForm->FOldWindowProc(Message);
  else
    FForm->CallDefault(Message);
}

void TRezIderMenuBar::TrackMenuItem(TNCObject* Object) {
  auto* item = ObjectAs<TMenuBtn>(Object);
  if (!item || !OwnsItem(item)) return;
  if (FForm->FMenuTracking) {
    // A click on the bar while a sub-menu is tracked (the switch to a neighbour, or the user's):
    // the tracking ends first, and the click comes back once the menu's own loop has returned.
    EndMenu();
    OpenMenuItem(item);
    return;
  }
  // The toolkit runs a toolkit item's click also when it opens a sub-menu. The identifier of any
  // other sub-menu item is its menu handle, which the window would take for whatever command
  // shares its low word.
  if (!item->FSubMenu || (FMenu && FMenu->FindItem(item->FCommand, fkCommand)))
    PostMessageA(FForm->FHandle, WM_COMMAND, item->FCommand, 0);
  if (!item->FSubMenu) {
    ReleaseItem(item);
    return;
  }
  MenuTrack.MenuTrackIndex = item->FIndex;
  MenuTrack.MenuTrackForm = FForm;
  RECT w{};
  GetWindowRect(FForm->FHandle, &w);
  FForm->FWindowRect = w;
  if (!IsWindowsNT4()) FForm->MakeMenuOwnerDraw(item->FSubMenu);
  FForm->FMenuTracking = true;
  const POINT p{w.left + item->FRect.left, w.top + item->FRect.bottom};
  FForm->FTrackedMenu = item->FSubMenu;
  InstallMenuFilterHook();
  TRezIderFormImpl* form = FForm;
  if (item->FEnabled)
    TrackPopupMenu(item->FSubMenu, TPM_NONOTIFY | TPM_RIGHTBUTTON, p.x, p.y, 0, form->FHandle, nullptr);
  // The window may have gone inside the menu's loop, and the bar with it (which then clears the
  // tracked form): nothing of either is touched then.
  const bool barAlive = MenuTrack.MenuTrackForm == form;
  RemoveMenuFilterHook();
  if (!barAlive) return;
  form->FMenuTracking = false;
  ReleaseItem(item);
}

void TRezIderMenuBar::ReleaseItem(TMenuBtn* Item) {
  // The items may have been built anew meanwhile, which clears the current object: the item is
  // not touched unless it still is that object.
  if (FForm->FCurrentObject != Item || Item->FState != nsPressed) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT p = FForm->WindowPointFromScreen(cursor.x, cursor.y);
  if (PtInRect(&Item->FRect, p))
    Item->Release();
  else
    Item->Leave();
}

// ---- the message-filter hook ---------------------------------------------------------------------

void InstallMenuFilterHook() {
  MenuTrack.MenuSwitching = false;
  MenuTrack.MenuFirstKeySent = false;
  GetCursorPos(&MenuTrack.MenuLastCursor);
  if (!MenuTrack.MenuHookHandle)
    MenuTrack.MenuHookHandle =
        SetWindowsHookExA(WH_MSGFILTER, MenuFilterHookProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuFilterHook() {
  if (MenuTrack.MenuHookHandle) UnhookWindowsHookEx(MenuTrack.MenuHookHandle);
  MenuTrack.MenuHookHandle = nullptr;
  MenuTrack.MenuTrackKnown = false;
  MenuTrack.MenuTrackParent = nullptr;
  MenuTrack.MenuTrackSubMenu = nullptr;
  MenuTrack.MenuTrackItem = nullptr;
  MenuTrack.MenuTrackIndex = -1;
  MenuTrack.MenuFirstKeySent = false;
}

TMenuBtn* MenuNeighbourItem(bool Forward) {
  TRezIderMenuBar* bar = BarOf(MenuTrack.MenuTrackForm);
  if (!bar || bar->FButtons.empty()) return nullptr;
  const int n = int(bar->FButtons.size());
  for (int step = 1; step <= n; ++step) {
    const int i = ((MenuTrack.MenuTrackIndex + (Forward ? step : -step)) % n + n) % n;
    if (bar->FButtons[size_t(i)]->Shown()) return bar->FButtons[size_t(i)].get();
  }
  return nullptr;
}

namespace {

// The selection in the tracked sub-menu: the menu it sits in, the sub-menu it opens (none for a
// command) and, with a toolkit menu, the toolkit item by that sub-menu or command; a selection the
// toolkit menu does not know is not known at all.
void NoteSelection(const TRezIderMenuBar* Bar, HMENU Menu, HMENU Sub, UINT Command) {
  MenuTrack.MenuTrackParent = Menu;
  MenuTrack.MenuTrackSubMenu = Sub;
  MenuTrack.MenuTrackItem = nullptr;
  MenuTrack.MenuTrackKnown = true;
  if (!Bar->FMenu) return;
  MenuTrack.MenuTrackItem =
      Sub ? Bar->FMenu->FindItem(uintptr_t(Sub), fkHandle) : Bar->FMenu->FindItem(Command, fkCommand);
  MenuTrack.MenuTrackKnown = MenuTrack.MenuTrackItem != nullptr;
}

// The menu, Menu itself or one of its sub-menus at any depth, with the entry that opens Level.
HMENU MenuOpening(HMENU Menu, HMENU Level) {
  for (int i = 0, n = GetMenuItemCount(Menu); i < n; ++i) {
    HMENU sub = GetSubMenu(Menu, i);
    if (!sub) continue;
    if (sub == Level) return Menu;
    if (HMENU found = MenuOpening(sub, Level)) return found;
  }
  return nullptr;
}

bool SelectionDeeperThanFirstLevel(const TRezIderFormImpl* Form) {
  return MenuTrack.MenuTrackKnown && MenuTrack.MenuTrackParent != Form->FTrackedMenu &&
         MenuTrack.MenuTrackSubMenu != Form->FTrackedMenu;
}

// A key closed the level the selection was in. The menu tells its owner nothing of the selection
// going back to the entry that opened that level, so that entry is taken as selected here.
void SelectOpeningEntry(const TRezIderMenuBar* Bar, const TRezIderFormImpl* Form) {
  const HMENU closed = MenuTrack.MenuTrackParent;
  NoteSelection(Bar, MenuOpening(Form->FTrackedMenu, closed), closed, 0);
}

// What the tracked menu's messages mean for the bar: the item to switch to, or none.
TMenuBtn* SwitchTarget(const MSG& Msg) {
  TRezIderFormImpl* form = MenuTrack.MenuTrackForm;
  TRezIderMenuBar* bar = BarOf(form);
  switch (Msg.message) {
    case WM_KEYDOWN:
      switch (Msg.wParam) {
        case VK_RETURN:
          MenuTrack.MenuSwitching = false;
          return nullptr;
        case VK_ESCAPE:
          MenuTrack.MenuSwitching = false;
          // Deeper than the first level the key closes that level only.
          if (bar && SelectionDeeperThanFirstLevel(form)) SelectOpeningEntry(bar, form);
          return nullptr;
        case VK_RIGHT:
          // An item with sub-items opens that level.
          if (MenuTrack.MenuTrackKnown && MenuTrack.MenuTrackSubMenu) return nullptr;
          return MenuNeighbourItem(true);
        case VK_LEFT:
          if (!SelectionDeeperThanFirstLevel(form)) return MenuNeighbourItem(false);
          // Deeper than the first level the key closes that level.
          if (bar) SelectOpeningEntry(bar, form);
          return nullptr;
      }
      return nullptr;
    case WM_MOUSEMOVE: {
      if (Msg.pt.x == MenuTrack.MenuLastCursor.x && Msg.pt.y == MenuTrack.MenuLastCursor.y) return nullptr;
      MenuTrack.MenuLastCursor = Msg.pt;
      if (!bar) return nullptr;
      return ObjectAs<TMenuBtn>(bar->ItemAtPoint(form->WindowPointFromScreen(Msg.pt.x, Msg.pt.y)));
    }
  }
  return nullptr;
}

}  // namespace

void TRezIderMenuBar::MenuSelect(WPARAM wParam, LPARAM lParam) {
  // A menu sends this to its owner instead of passing it through the message-filter hook; only
  // the sub-menu this bar tracks counts.
  if (MenuTrack.MenuTrackForm != FForm || MenuTrack.MenuTrackIndex < 0) return;
  const UINT flags = HIWORD(wParam);
  const auto menu = reinterpret_cast<HMENU>(lParam);
  if (flags == 0xFFFF && !menu) {
    // The menu closed: tracking ends, unless that is a switch to another item.
    if (!MenuTrack.MenuSwitching) FForm->FMenuTracking = false;
    return;
  }
  MenuTrack.MenuSwitching = false;
  NoteSelection(this, menu, (flags & MF_POPUP) ? GetSubMenu(menu, LOWORD(wParam)) : nullptr, LOWORD(wParam));
}

LRESULT CALLBACK MenuFilterHookProc(int Code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  TRezIderFormImpl* form = MenuTrack.MenuTrackForm;
  TRezIderMenuBar* bar = BarOf(form);
  // A right-to-left bar swaps the arrows for the switching and for the menu itself.
  if (Code >= 0 && msg && bar && MenuTrack.MenuTrackKnown && bar->RightToLeft() &&
      (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)) {
    if (msg->wParam == VK_LEFT)
      msg->wParam = VK_RIGHT;
    else if (msg->wParam == VK_RIGHT)
      msg->wParam = VK_LEFT;
  }
  const LRESULT result = CallNextHookEx(MenuTrack.MenuHookHandle, Code, wParam, lParam);
  if (result || Code != MSGF_MENU || !msg || !form) return result;
  if (!MenuTrack.MenuFirstKeySent) {
    MenuTrack.MenuFirstKeySent = true;
    PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_MENU) {
    form->FMenuTracking = false;
    return result;
  }
  TMenuBtn* target = SwitchTarget(*msg);
  if (target && bar && target->FIndex != MenuTrack.MenuTrackIndex) {
    MenuTrack.MenuSwitching = true;
    bar->OpenMenuItem(target);
  }
  return result;
}
