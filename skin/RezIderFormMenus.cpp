// The toolkit menus of a skinned form: its popup menus and the menus of its tool bars and tool
// buttons get the skin's item handlers, the main menu's items are measured and drawn from the
// skin, and all of it is given back as it was.
#include <algorithm>

#include "skin/RezIderData.h"
#include "skin/RezIderFormImpl.h"
#include "skin/RezIderMenuItem.h"
#include "tk/Forms.h"

namespace {

// The handlers' form while it lives.
TRezIderFormImpl* Alive(const std::weak_ptr<TRezIderFormImpl*>& Form) {
  std::shared_ptr<TRezIderFormImpl*> f = Form.lock();
  return f ? *f : nullptr;
}

// The handler the skin put there is replaced by the one it kept.
template <class Skin, class Event>
void GiveBack(Event& Handler) {
  if (const Skin* own = Handler.template target<Skin>()) {
    Event previous = own->Previous;
    Handler = std::move(previous);
  }
}

void GiveBackItems(TMenuItem* Item) {
  GiveBack<TSkinItemDraw>(Item->OnDrawItem);
  GiveBack<TSkinItemMeasure>(Item->OnMeasureItem);
  for (int i = 0; i < Item->Count(); ++i) GiveBackItems(Item->Items(i));
}

// Discovery reaches tool bars and tool buttons that containers and embedded forms own, not only
// the form's own: every level of owners is walked.
void ReleaseToolMenus(TComponent* Owner) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    TComponent* c = Owner->Components(i);
    if (auto* bar = ObjectAs<TToolBar>(c)) {
      GiveBack<TSkinToolDraw>(bar->OnCustomDrawButton);
      if (bar->Menu()) GiveBackItems(bar->Menu()->Items());
    } else if (auto* button = ObjectAs<TToolButton>(c); button && button->MenuItem()) {
      GiveBackItems(button->MenuItem());
    }
    ReleaseToolMenus(c);
  }
}

}  // namespace

void TSkinItemDraw::operator()(TObject* Sender, TCanvas* Canvas, const RECT& R, bool Selected) const {
  if (TRezIderFormImpl* form = Alive(Form)) {
    if (auto* item = ObjectAs<TMenuItem>(Sender)) form->MenuItemDraw(item, Canvas, R, Selected);
  } else if (Previous) {
    Previous(Sender, Canvas, R, Selected);
  }
}

void TSkinItemMeasure::operator()(TObject* Sender, TCanvas* Canvas, int& Width, int& Height) const {
  if (TRezIderFormImpl* form = Alive(Form)) {
    auto* item = ObjectAs<TMenuItem>(Sender);
    if (!item) return;
    if (Popup)
      form->PopupItemMeasure(item, Canvas, Width, Height);
    else
      form->MenuItemMeasure(item, Canvas, Width, Height);
  } else if (Previous) {
    Previous(Sender, Canvas, Width, Height);
  }
}

void TSkinToolDraw::operator()(TToolBar* Sender, TToolButton* Button, TCustomDrawState State,
                               bool& DefaultDraw) const {
  if (TRezIderFormImpl* form = Alive(Form))
    form->ToolButtonCustomDraw(Sender, Button, State, DefaultDraw);
  else if (Previous)
    Previous(Sender, Button, State, DefaultDraw);
}

// ---- measuring and drawing -----------------------------------------------------------------------

TSkinMenuItem TRezIderFormImpl::SkinItemOf(TMenuItem* Item) const {
  TSkinMenuItem s;
  s.Caption = Item->Caption();
  s.Checked = Item->Checked();
  s.Enabled = Item->Enabled();
  s.Default = Item->Default();
  s.ImageIndex = Item->ImageIndex();
  s.ShortCut = Item->ShortCut();
  s.ParentMenu = Item->Parent() ? Item->Parent()->Handle() : nullptr;
  s.Images = Item->GetImageList();
  TMenu* menu = Item->GetParentMenu();
  if (!menu && FMenuBar) menu = FMenuBar->FMenu;
  s.RightToLeft = menu && menu->IsRightToLeft();
  // The update may change the item: it is read again after it.
  if (TBasicAction* action = Item->Action())
    s.Action = [this, Item, action] {
      action->Update();
      return SkinItemOf(Item);
    };
  return s;
}

void TRezIderFormImpl::MenuItemMeasure(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height) {
  // The item's own measure would call its OnMeasureItem at its end: kept out of it, put back after.
  struct TKeep {
    TMenuItem* Item;
    TMenuMeasureItemEvent Saved;
    ~TKeep() { Item->OnMeasureItem = std::move(Saved); }
  } keep{Item, std::move(Item->OnMeasureItem)};
  Item->OnMeasureItem = nullptr;
  Item->MeasureItem(Canvas, Width, Height);
  Width += MenuItemRoom(FSkinData, Item->GetImageList() != nullptr, false);
}

void TRezIderFormImpl::PopupItemMeasure(TMenuItem* Item, TCanvas*, int& Width, int&) {
  Width += MenuItemRoom(FSkinData, Item->GetImageList() != nullptr, true);
}

void TRezIderFormImpl::MenuItemDraw(TMenuItem* Item, TCanvas* Canvas, const RECT& R, bool Selected) {
  ::MenuItemDraw(FSkinData, SkinItemOf(Item), Canvas, R, Selected);
}

void TRezIderFormImpl::ToolButtonCustomDraw(TToolBar* Bar, TToolButton* Button, TCustomDrawState State,
                                            bool&) {
  ::ToolButtonCustomDraw(FSkinData, FState, Bar->Canvas(), Button->BoundsRect(), State);
}

TMenuItem* TRezIderFormImpl::FindBarItem(UINT Command) const {
  TMenu* menu = FMenuBar ? FMenuBar->FMenu : nullptr;
  return menu ? menu->FindItem(Command, fkCommand) : nullptr;
}

// ---- handing the handlers out and back ----------------------------------------------------------

void TRezIderFormImpl::SkinPopupMenus(TCustomForm* Form, bool On) {
  if (!Form) return;
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto* popup = ObjectAs<TPopupMenu>(Form->Components(i));
    if (!popup) continue;
    auto kept = std::find_if(FPopupOwnerDraw.begin(), FPopupOwnerDraw.end(),
                             [&](const auto& p) { return p.first == popup; });
    if (!On) {
      // Everything the skin set is given back, also what a later skin without popup menus left.
      GiveBackItems(popup->Items());
      if (kept != FPopupOwnerDraw.end()) {
        popup->SetOwnerDraw(kept->second);
        FPopupOwnerDraw.erase(kept);
      }
      continue;
    }
    if (!FSkinData->SkinControls.Contains(xcPopupMenu) || popup->Tag % 100 == FSkinData->DisableTag) continue;
    if (kept == FPopupOwnerDraw.end()) FPopupOwnerDraw.emplace_back(popup, popup->OwnerDraw());
    std::function<void(TMenuItem*)> skin = [&](TMenuItem* item) {
      // What an earlier skinned form left (its window went, the form stayed) is replaced.
      if (const auto* own = item->OnDrawItem.target<TSkinItemDraw>(); own && Alive(own->Form) != this) {
        GiveBack<TSkinItemDraw>(item->OnDrawItem);
        GiveBack<TSkinItemMeasure>(item->OnMeasureItem);
      }
      // An item that draws itself keeps both its handlers.
      if (!item->OnDrawItem) {
        item->OnDrawItem = TSkinItemDraw{FSelf, nullptr};
        item->OnMeasureItem = TSkinItemMeasure{FSelf, std::move(item->OnMeasureItem), true};
      }
      for (int k = 0; k < item->Count(); ++k) skin(item->Items(k));
    };
    for (int k = 0; k < popup->Items()->Count(); ++k) skin(popup->Items()->Items(k));
    popup->SetOwnerDraw(true);
  }
  // Popup menus that went while skinned are forgotten.
  if (!On) FPopupOwnerDraw.clear();
}

void TRezIderFormImpl::SkinMenuItems(TMenuItem* Item, bool On) {
  if (!Item) return;
  if (!On) {
    GiveBackItems(Item);
    return;
  }
  if (!Item->OnDrawItem.target<TSkinItemDraw>())
    Item->OnDrawItem = TSkinItemDraw{FSelf, std::move(Item->OnDrawItem)};
  if (!Item->OnMeasureItem.target<TSkinItemMeasure>())
    Item->OnMeasureItem = TSkinItemMeasure{FSelf, std::move(Item->OnMeasureItem), false};
  for (int i = 0; i < Item->Count(); ++i) SkinMenuItems(Item->Items(i), true);
}

void TRezIderFormImpl::ReleaseMenuItems() {
  if (FForm) ReleaseToolMenus(FForm);
}

void TRezIderFormImpl::RestoreOwnerDrawnItems() {
  // Newest first: an item recorded twice ends with what it had before the skin first changed it.
  for (auto it = FOwnerDrawnItems.rbegin(); it != FOwnerDrawnItems.rend(); ++it) {
    if (!IsMenu(it->Menu)) continue;
    MENUITEMINFOA now{};
    now.cbSize = sizeof now;
    now.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    // Only the very item the skin changed, while it is still owner-drawn.
    if (!GetMenuItemInfoA(it->Menu, it->Position, TRUE, &now) || now.wID != it->ID ||
        now.hSubMenu != it->SubMenu || !(now.fType & MFT_OWNERDRAW))
      continue;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = it->Type;
    info.dwItemData = it->Data;
    if (!(it->Type & (MFT_SEPARATOR | MFT_BITMAP))) {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = it->Text.data();
    }
    SetMenuItemInfoA(it->Menu, it->Position, TRUE, &info);
  }
  FOwnerDrawnItems.clear();
}

// ---- the menu bar's toolkit menu -----------------------------------------------------------------

void TRezIderMenu::SetToolkitMenu(TMenu* Menu) {
  if (FMenu && FMenu != Menu) RemoveFreeNotification(FMenu);
  FMenu = Menu;
  if (Menu) Menu->FreeNotification(this);
}

void TRezIderMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenu) FMenu = nullptr;
}
