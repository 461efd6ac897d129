#include "tk/Menus.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "tk/Controls.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"
#include "tk/ImgList.h"

namespace {

// Commands are handed out below the system commands (0xF000 and up), which a window's WM_COMMAND
// may also carry.
constexpr uint16_t kLastCommand = 0xEFFF;

// Never freed: items may go after static objects are destroyed, with the application at exit.
std::map<uint16_t, TMenuItem*>& Commands() {
  static auto* commands = new std::map<uint16_t, TMenuItem*>;
  return *commands;
}

uint16_t AllocateCommand(TMenuItem* Item) {
  uint16_t id = 1;
  for (const auto& [used, item] : Commands()) {
    if (used != id) break;
    ++id;
  }
  if (id > kLastCommand) throw EOutOfResources("Too many menu items");
  Commands()[id] = Item;
  return id;
}

std::string Numbered(const char* Prefix, int N) {
  char text[16];
  snprintf(text, sizeof text, "%s%d", Prefix, N);
  return text;
}

// Names of the keys a shortcut may have besides letters, digits, F-keys and the number pad.
const std::pair<int, const char*> kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

std::string KeyName(int Key) {
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return std::string(1, char(Key));
  if (Key >= VK_F1 && Key <= VK_F24) return Numbered("F", Key - VK_F1 + 1);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return Numbered("Num ", Key - VK_NUMPAD0);
  for (const auto& [k, name] : kKeyNames)
    if (k == Key) return name;
  return "";
}

const std::pair<TShortCut, const char*> kModifiers[] = {
    {scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

LRESULT CALLBACK PopupListProc(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam);

}  // namespace

// ---- Shortcuts -----------------------------------------------------------------------------------

std::string ShortCutToText(TShortCut ShortCut) {
  const std::string name = KeyName(ShortCut & 0xFF);
  if (name.empty()) return "";
  std::string text;
  for (const auto& [bit, prefix] : kModifiers)
    if (ShortCut & bit) text.append(prefix);
  return text + name;
}

TShortCut TextToShortCut(const std::string& Text) {
  std::string rest = Text;
  TShortCut modifiers = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& [bit, prefix] : kModifiers) {
      const std::string p = prefix;
      if (rest.size() > p.size() && SameText(rest.substr(0, p.size()), p)) {
        modifiers |= bit;
        rest.erase(0, p.size());
        found = true;
      }
    }
  }
  for (int key = 1; key < 0x100; ++key) {
    const std::string name = KeyName(key);
    if (!name.empty() && SameText(name, rest)) return TShortCut(modifiers | key);
  }
  return 0;
}

void MeasureMenuItemText(TCanvas* Canvas, const std::string& Caption, TShortCut ShortCut, int GlyphSize,
                         int& Width, int& Height) {
  if (Caption == "-") {
    Width = 0;
    Height = GetSystemMetrics(SM_CYMENUSIZE) / 2;
    return;
  }
  RECT t{0, 0, 0, 0};
  const std::string caption = Caption.empty() ? " " : Caption;
  DrawTextA(Canvas->Handle(), caption.c_str(), int(caption.size()), &t,
            DT_EXPANDTABS | DT_SINGLELINE | DT_CALCRECT | DT_NOCLIP);
  Width = t.right - t.left;
  if (ShortCut) Width += 10 + Canvas->TextWidth(ShortCutToText(ShortCut));
  Height = std::max(int(t.bottom - t.top) + 4, GlyphSize + 2);
}

// ---- Menu items ----------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) { FCommand = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
  SetState(csDestroying);
  if (FAction) FAction->UnRegisterChanges(this);
  if (FParent) FParent->Remove(this);
  if (FHandle)
    while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  Clear();
  if (FHandle) DestroyMenu(FHandle);
  Commands().erase(FCommand);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSubMenuImages) FSubMenuImages = nullptr;
  if (Operation == opRemove && AComponent == FAction) FAction = nullptr;
}

void TMenuItem::SetAction(TBasicAction* Value) {
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (!Value) return;
  Value->RegisterChanges(this);
  ActionChanged(Value);
}

void TMenuItem::ActionChanged(TBasicAction* Action) {
  auto* action = ObjectAs<TAction>(Action);
  if (!action || Action != FAction) return;
  // Only what differs: an unchanged item is not built again.
  if (FCaption != action->Caption()) SetCaption(action->Caption());
  if (FEnabled != action->Enabled()) SetEnabled(action->Enabled());
  if (FChecked != action->Checked()) SetChecked(action->Checked());
  if (FVisible != action->Visible()) SetVisible(action->Visible());
}

void TMenuItem::SetCaption(const std::string& Value) {
  FCaption = Value;
  Changed();
}
void TMenuItem::SetShortCut(TShortCut Value) {
  FShortCut = Value;
  Changed();
}
void TMenuItem::SetChecked(bool Value) {
  FChecked = Value;
  if (Value && FRadioItem && FParent)
    for (TMenuItem* other : FParent->FItems)
      if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex) other->FChecked = false;
  Changed();
}
void TMenuItem::SetEnabled(bool Value) {
  FEnabled = Value;
  Changed();
}
void TMenuItem::SetVisible(bool Value) {
  FVisible = Value;
  Changed();
}
void TMenuItem::SetDefault(bool Value) {
  FDefault = Value;
  Changed();
}
void TMenuItem::SetRadioItem(bool Value) {
  FRadioItem = Value;
  Changed();
}
void TMenuItem::SetGroupIndex(uint8_t Value) {
  FGroupIndex = Value;
  Changed();
}
void TMenuItem::SetImageIndex(int Value) {
  FImageIndex = Value;
  Changed();
}
void TMenuItem::SetSubMenuImages(TImageList* Value) {
  FSubMenuImages = Value;
  if (Value) Value->FreeNotification(this);
  Changed();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item || Item == this) return;
  if (Item->FParent) Item->FParent->Remove(Item);
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  // A first sub-item gives this item's entry a sub-menu: the parent's menu changes too.
  if (FHandle) RebuildHandle();
  Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
  if (ComponentState() & csDestroying) return;
  if (FHandle) RebuildHandle();
  Changed();
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

TImageList* TMenuItem::GetImageList() const {
  for (const TMenuItem* p = FParent; p; p = p->FParent)
    if (p->FSubMenuImages) return p->FSubMenuImages;
  TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

HMENU TMenuItem::Handle() {
  if (!FHandle) {
    FHandle = FMenu && FMenu->Is<TMainMenu>() ? CreateMenu() : CreatePopupMenu();
    RebuildHandle();
  }
  return FHandle;
}

bool TMenuItem::OwnerDrawn() const {
  TMenu* menu = GetParentMenu();
  return (menu && menu->OwnerDraw()) || OnDrawItem;
}

void TMenuItem::AppendTo(HMENU Menu, UINT Position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  const bool ownerDrawn = OwnerDrawn();
  if (IsLine()) info.fType |= MFT_SEPARATOR;
  if (FRadioItem) info.fType |= MFT_RADIOCHECK;
  if (ownerDrawn) info.fType |= MFT_OWNERDRAW;
  if (TMenu* menu = GetParentMenu(); menu && menu->IsRightToLeft()) info.fType |= MFT_RIGHTORDER;
  if (FChecked) info.fState |= MFS_CHECKED;
  if (!FEnabled) info.fState |= MFS_GRAYED;
  if (FDefault) info.fState |= MFS_DEFAULT;
  info.wID = FCommand;
  info.hSubMenu = FItems.empty() ? nullptr : Handle();
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  std::string text = FCaption;
  if (const std::string s = ShortCutToText(FShortCut); !s.empty()) text += "\t" + s;
  if (!ownerDrawn && !IsLine()) {
    info.fMask |= MIIM_STRING;
    info.dwTypeData = text.data();
  }
  InsertMenuItemA(Menu, Position, TRUE, &info);
}

void TMenuItem::RebuildHandle() {
  if (!FHandle) return;
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  UINT position = 0;
  for (TMenuItem* item : FItems)
    if (item->FVisible) item->AppendTo(FHandle, position++);
}

void TMenuItem::RebuildTree() {
  RebuildHandle();
  for (TMenuItem* item : FItems) item->RebuildTree();
}

void TMenuItem::Changed() {
  if (ComponentState() & (csLoading | csDestroying)) return;
  if (FParent && FParent->FHandle) FParent->RebuildHandle();
  TMenu* menu = GetParentMenu();
  if (menu && !(menu->ComponentState() & (csLoading | csDestroying))) menu->MenuChanged();
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  Changed();
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (auto* menu = ObjectAs<TMenu>(Value))
    menu->Items()->Add(this);
  else if (auto* item = ObjectAs<TMenuItem>(Value))
    item->Add(this);
}

void TMenuItem::Click() {
  if (OnClick)
    OnClick(this);
  else if (FAction)
    FAction->Execute();
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  TImageList* images = GetImageList();
  int glyph = images ? images->Width() : 16;
  if (FChecked) glyph = std::max(glyph, 16);
  MeasureMenuItemText(ACanvas, FCaption, FShortCut, glyph, Width, Height);
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, const RECT& ARect, bool Selected) {
  if (OnDrawItem) {
    OnDrawItem(this, ACanvas, ARect, Selected);
    return;
  }
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(Selected ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  HDC dc = ACanvas->Handle();
  if (IsLine()) {
    RECT line = ARect;
    line.top += (ARect.bottom - ARect.top) / 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TImageList* images = GetImageList();
  const int glyph = images ? images->Width() : 16;
  RECT g{ARect.left + 2, ARect.top, ARect.left + 2 + glyph, ARect.bottom};
  if (images && FImageIndex >= 0 && FImageIndex < images->Count())
    images->Draw(ACanvas, g.left, g.top + (g.bottom - g.top - images->Height()) / 2, FImageIndex);
  else if (FChecked)
    DrawFrameControl(dc, &g, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  SetBkMode(dc, TRANSPARENT);
  ACanvas->Font()->SetColor(!FEnabled ? clGrayText : Selected ? clHighlightText : clMenuText);
  RECT t{g.right + 4, ARect.top, ARect.right - 4, ARect.bottom};
  DrawTextA(dc, FCaption.c_str(), int(FCaption.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  const std::string s = ShortCutToText(FShortCut);
  DrawTextA(dc, s.c_str(), int(s.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

// ---- Menus ---------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  SetState(csDestroying);
  FItems.reset();
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TMenu::RebuildHandles() { FItems->RebuildTree(); }

void TMenu::SetOwnerDraw(bool Value) {
  FOwnerDraw = Value;
  RebuildHandles();
  if (!(ComponentState() & csLoading)) MenuChanged();
}

void TMenu::SetImages(TImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TMenu::SetBiDiMode(TMenuBiDiMode Value) {
  FBiDiMode = Value;
  RebuildHandles();
  if (!(ComponentState() & csLoading)) MenuChanged();
}

void TMenu::Loaded() {
  TComponent::Loaded();
  RebuildHandles();
}

namespace {
TMenuItem* Find(TMenuItem* Item, uintptr_t Value, TFindItemKind Kind) {
  for (int i = 0; i < Item->Count(); ++i) {
    TMenuItem* c = Item->Items(i);
    const bool match = Kind == fkCommand  ? c->Command() == Value
                       : Kind == fkHandle ? c->HandleAllocated() && uintptr_t(c->Handle()) == Value
                                          : c->ShortCut() != 0 && c->ShortCut() == Value;
    if (match) return c;
    if (TMenuItem* found = Find(c, Value, Kind)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(uintptr_t Value, TFindItemKind Kind) const {
  return Find(FItems.get(), Value, Kind);
}

bool TMenu::DispatchCommand(uint16_t Command) {
  TMenuItem* item = FindItem(Command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

TMainMenu::~TMainMenu() {
  if (WindowHandle && IsWindow(WindowHandle) && Items()->HandleAllocated() &&
      GetMenu(WindowHandle) == Handle())
    ::SetMenu(WindowHandle, nullptr);
}

void TMainMenu::MenuChanged() {
  if (WindowHandle && IsWindow(WindowHandle)) SendMessageA(WindowHandle, CM_MENUCHANGED, 0, 0);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner), FAlive(std::make_shared<bool>(true)) {}

TPopupMenu::~TPopupMenu() { *FAlive = false; }

void TPopupMenu::Popup(int X, int Y) {
  std::shared_ptr<bool> alive = FAlive;
  if (OnPopup) OnPopup(this);
  if (!*alive) return;
  TrackItemMenu(FItems.get(), X, Y);
}

void TrackItemMenu(TMenuItem* Item, int X, int Y) {
  // The handlers may have changed since the menu was filled: owner-drawing follows them.
  Item->RebuildTree();
  const UINT command = UINT(TrackPopupMenu(Item->Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, X,
                                           Y, 0, PopupListWindow(), nullptr));
  // Looked up again: the menu may have gone while it was shown.
  if (TMenuItem* chosen = command ? FindMenuItemByCommand(command) : nullptr) chosen->Click();
}

// ---- The popup list window -----------------------------------------------------------------------

TMenuItem* FindMenuItemByCommand(UINT Command) {
  auto it = Commands().find(uint16_t(Command));
  return Command <= kLastCommand && it != Commands().end() ? it->second : nullptr;
}

void AssignMenuFont(TFont* Font) {
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof m;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) return;
  HFONT f = CreateFontIndirectA(&m.lfMenuFont);
  if (!f) return;
  Font->SetHandle(f);
  DeleteObject(f);
}

bool DispatchMenuItemMessage(UINT Msg, LPARAM lParam) {
  if (Msg == WM_MEASUREITEM) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    TMenuItem* item = m->CtlType == ODT_MENU ? FindMenuItemByCommand(m->itemID) : nullptr;
    if (!item) return false;
    HDC dc = GetDC(nullptr);
    TCanvas canvas;
    AssignMenuFont(canvas.Font());
    int width = int(m->itemWidth), height = int(m->itemHeight);
    PaintOnCanvas(&canvas, dc, [&] { item->MeasureItem(&canvas, width, height); });
    ReleaseDC(nullptr, dc);
    m->itemWidth = UINT(std::max(width, 0));
    m->itemHeight = UINT(std::max(height, 0));
    return true;
  }
  if (Msg == WM_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    TMenuItem* item = d->CtlType == ODT_MENU ? FindMenuItemByCommand(d->itemID) : nullptr;
    if (!item) return false;
    TCanvas canvas;
    AssignMenuFont(canvas.Font());
    PaintOnCanvas(&canvas, d->hDC,
                  [&] { item->DrawItem(&canvas, d->rcItem, (d->itemState & ODS_SELECTED) != 0); });
    return true;
  }
  return false;
}

namespace {
LRESULT CALLBACK PopupListProc(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_MEASUREITEM || Msg == WM_DRAWITEM) {
    // Failures stop here: they cannot travel through the menu's own loop.
    try {
      if (DispatchMenuItemMessage(Msg, lParam)) return TRUE;
    } catch (const std::exception& e) {
      Application->HandleException(e.what());
      return TRUE;
    }
  }
  return DefWindowProcA(Window, Msg, wParam, lParam);
}
}  // namespace

HWND PopupListWindow() {
  static HWND window = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PopupListProc;
    wc.hInstance = TkInstance();
    wc.lpszClassName = "TPopupList";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, TkInstance(),
                           nullptr);
  }();
  return window;
}

// ---- Registration --------------------------------------------------------------------------------

void RegisterMenus() {
  RegisterComponentClass<TMenuItem>();
  RegisterComponentClass<TMainMenu>();
  RegisterComponentClass<TPopupMenu>();
  Published<TMenuItem>()
      .Property("Caption", &TMenuItem::SetCaption)
      .Property("ShortCut", &TMenuItem::SetShortCut)
      .Property("Checked", &TMenuItem::SetChecked)
      .Property("Enabled", &TMenuItem::SetEnabled)
      .Property("Visible", &TMenuItem::SetVisible)
      .Property("Default", &TMenuItem::SetDefault)
      .Property("RadioItem", &TMenuItem::SetRadioItem)
      .Property("GroupIndex", &TMenuItem::SetGroupIndex)
      .Property("ImageIndex", &TMenuItem::SetImageIndex)
      .Reference("SubMenuImages", &TMenuItem::SetSubMenuImages)
      .Reference("Action", &TMenuItem::SetAction)
      .Event("OnClick", &TMenuItem::OnClick)
      .Event("OnDrawItem", &TMenuItem::OnDrawItem)
      .Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
  Published<TMenu>()
      .Property("OwnerDraw", &TMenu::SetOwnerDraw)
      .Reference("Images", &TMenu::SetImages)
      .Property("BiDiMode", &TMenu::SetBiDiMode,
                {{"bdLeftToRight", mbLeftToRight}, {"bdRightToLeft", mbRightToLeft}});
  Published<TPopupMenu>()
      .Property("AutoPopup", &TPopupMenu::AutoPopup)
      .Event("OnPopup", &TPopupMenu::OnPopup);
}
