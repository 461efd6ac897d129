// Menus: menu items in a tree, the main menu a form shows in its window, and popup menus shown at a
// point. Each item with sub-items keeps a system menu of its own, filled from its visible children
// and refilled when one of them changes; a chosen item runs its OnClick. Owner-drawn items are
// measured and drawn by the item (OnMeasureItem, OnDrawItem).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tk/ActnList.h"
#include "tk/Classes.h"
#include "tk/Graphics.h"

class TImageList;
class TMenu;

// A key with its modifier bits: the virtual key in the low byte.
using TShortCut = uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
// The text form of a shortcut ("Ctrl+S", "Shift+F4"); empty for none.
std::string ShortCutToText(TShortCut ShortCut);
// The shortcut a text names ("Shift+F4", case-insensitive); 0 when it names no key.
TShortCut TextToShortCut(const std::string& Text);

// The toolkit's measure of an item's text: the caption (a blank when empty) and the shortcut after a
// 10-pixel gap in the canvas's font; the height leaves room for a glyph of GlyphSize. A separator
// is half a menu row high and has no width.
void MeasureMenuItemText(TCanvas* Canvas, const std::string& Caption, TShortCut ShortCut, int GlyphSize,
                         int& Width, int& Height);

using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenuItem : public TComponent, public TActionClient {
 public:
  TK_CLASS(TMenuItem, TComponent)
  explicit TMenuItem(TComponent* AOwner);
  // Leaves its parent and frees its sub-items.
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return FChecked; }
  // A radio item that becomes checked unchecks the radio items of its group beside it.
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  uint8_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The images of this item's sub-items (not owned).
  TImageList* SubMenuImages() const { return FSubMenuImages; }
  void SetSubMenuImages(TImageList* Value);
  // The action whose caption, enabled, checked and visible state the item shows, and which a
  // click without OnClick executes (not owned).
  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  void ActionChanged(TBasicAction* Action) override;
  // The identifier the item's system menu entry reports when chosen; unique in the program.
  uint16_t Command() const { return FCommand; }

  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int Index) const { return FItems.at(size_t(Index)); }
  TMenuItem* Parent() const { return FParent; }
  int IndexOf(const TMenuItem* Item) const;
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  // The menu the item belongs to, through its parents; none for a loose item.
  TMenu* GetParentMenu() const;
  // The images the item's image comes from: its parent's sub-menu images, else the menu's.
  TImageList* GetImageList() const;
  bool IsLine() const { return FCaption == "-"; }
  // The system menu of the sub-items, made and filled when first asked for.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Every system menu of the tree filled again (owner-drawing follows the menu and the handlers).
  void RebuildTree();

  // OnClick when assigned, else the action's execution.
  virtual void Click();
  // The toolkit's measure of the item, then OnMeasureItem when assigned.
  void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  // OnDrawItem when assigned, else the plain drawing: the menu colours, check mark and caption.
  void DrawItem(TCanvas* ACanvas, const RECT& ARect, bool Selected);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // A nested description: the item joins the item or menu that encloses it.
  void SetParentComponent(TComponent* Value) override;
  void Loaded() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TMenu;
  // The entry of this item in its parent's system menu.
  void AppendTo(HMENU Menu, UINT Position);
  // Fills the system menu again from the visible sub-items.
  void RebuildHandle();
  // A property changed: the parent's system menu is filled again and the menu is told.
  void Changed();
  bool OwnerDrawn() const;

  std::string FCaption;
  TShortCut FShortCut = 0;
  bool FChecked = false, FEnabled = true, FVisible = true, FDefault = false, FRadioItem = false;
  uint8_t FGroupIndex = 0;
  int FImageIndex = -1;
  TImageList* FSubMenuImages = nullptr;
  TBasicAction* FAction = nullptr;
  uint16_t FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item only
  std::vector<TMenuItem*> FItems;
  HMENU FHandle = nullptr;
};

enum TMenuBiDiMode { mbLeftToRight, mbRightToLeft };

class TMenu : public TComponent {
 public:
  TK_CLASS(TMenu, TComponent)
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item: its sub-items are the menu's items.
  TMenuItem* Items() const { return FItems.get(); }
  // The system menu built from the items.
  HMENU Handle() { return FItems->Handle(); }
  // Items are drawn by OnDrawItem and measured by OnMeasureItem.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* Value);
  TMenuBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TMenuBiDiMode Value);
  bool IsRightToLeft() const { return FBiDiMode == mbRightToLeft; }
  // The item whose command (fkCommand), sub-menu handle (fkHandle) or shortcut (fkShortCut) is
  // Value, searched through every level; none when there is none.
  TMenuItem* FindItem(uintptr_t Value, TFindItemKind Kind) const;
  // Runs the click of the item with that command; false when the menu has none.
  bool DispatchCommand(uint16_t Command);

 protected:
  friend class TMenuItem;
  // An item changed; descendants tell who shows the menu.
  virtual void MenuChanged() {}
  void RebuildHandles();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

  std::unique_ptr<TMenuItem> FItems;
  bool FOwnerDraw = false;
  TImageList* FImages = nullptr;
  TMenuBiDiMode FBiDiMode = mbLeftToRight;
};

// The menu a form shows in its window's menu bar (the form's Menu property).
class TMainMenu : public TMenu {
 public:
  TK_CLASS(TMainMenu, TMenu)
  using TMenu::TMenu;
  // The window stops showing the menu before it goes.
  ~TMainMenu() override;
  // The window showing the menu; set by its form.
  HWND WindowHandle = nullptr;

 protected:
  // The window is sent CM_MENUCHANGED, so whoever draws its menu bar sees the change.
  void MenuChanged() override;
};

class TPopupMenu : public TMenu {
 public:
  TK_CLASS(TPopupMenu, TMenu)
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at the screen point and runs the chosen item's click once it closes.
  virtual void Popup(int X, int Y);
  // The control the menu was last shown for (set by the control that shows it).
  TComponent* PopupComponent = nullptr;
  // Controls show the menu on a right click by themselves.
  bool AutoPopup = true;
  TNotifyEvent OnPopup;

 private:
  std::shared_ptr<bool> FAlive;
};

// Shows the sub-items of Item as a popup menu at the screen point, owned by the popup list window,
// and runs the chosen item's click once the menu has closed.
void TrackItemMenu(TMenuItem* Item, int X, int Y);
// The item whose command that is, in any menu of the program; none when there is none.
TMenuItem* FindMenuItemByCommand(UINT Command);
// The window that owns the popup menus while they are shown and hands their items' measure and
// draw requests to the items.
HWND PopupListWindow();
// WM_MEASUREITEM or WM_DRAWITEM of an item of a toolkit menu handed to that item (its measure, with
// the system menu font, or its drawing); false for anything else.
bool DispatchMenuItemMessage(UINT Msg, LPARAM lParam);
// The menu font of the system, as a font to assign to a canvas.
void AssignMenuFont(TFont* Font);

// Makes this unit's classes readable from form descriptions.
void RegisterMenus();
