// What a skinned window asks of its skinned menu bar. The menu bar's module implements it and
// sets RezIderMenuMaker; until then a window keeps its own menu and gets no skinned menu bar.
#pragma once

#include <windows.h>

#include "tk/Classes.h"

class TSkinData;
class TRezIderFormImpl;
class TNCObject;
class TMenu;
struct TMessage;

class TRezIderMenu : public TComponent {
 public:
  TK_CLASS(TRezIderMenu, TComponent)
  using TComponent::TComponent;

  // Builds the items from FMenuHandle and takes the menu off the window.
  virtual void ScanMenu() = 0;
  // Builds the items again from that menu.
  virtual void RebuildMenu(HMENU Menu) = 0;
  // Builds the items again from the toolkit menu, or from the window's menu for a bare window
  // (the last MDI child went).
  virtual void ReleaseMenu() = 0;
  virtual void PaintMenuBar(HDC DC, const RECT& Rect) = 0;
  // The item at a window point, or none.
  virtual TNCObject* ItemAtPoint(POINT P) = 0;
  // Opens the item's sub-menu.
  virtual void TrackMenuItem(TNCObject* Item) = 0;
  // True when a menu-bar item has that accelerator key; it is opened when exactly Alt is down.
  virtual bool FindMenuAccel(unsigned Key) = 0;
  // The toolkit's dialog-character message: used when it names an item, else passed on.
  virtual void MenuAccelerator(TMessage& Message) = 0;
  // WM_MENUSELECT, which the window gets as the owner of the sub-menu the bar tracks.
  virtual void MenuSelect(WPARAM wParam, LPARAM lParam) = 0;
  // Tells whether the object is one of its items.
  virtual bool OwnsItem(TNCObject* Object) const = 0;

  HMENU FMenuHandle = nullptr;  // the menu the bar shows
  // The toolkit's main menu of the form (none for a bare window); set before the first scan and
  // again whenever the bar takes the menu the window shows.
  TMenu* FMenu = nullptr;
  void SetToolkitMenu(TMenu* Menu);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

using TRezIderMenuMaker = TRezIderMenu* (*)(TRezIderFormImpl* Form, TSkinData* Data);
extern TRezIderMenuMaker RezIderMenuMaker;
