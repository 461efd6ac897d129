// Menu items measured and painted from the skin: the background cut from the picture of the popup
// window the item sits in, the MenuItem element's frame over it, then glyph, caption and shortcut.
// The skinned form answers its items' measure and draw requests (and WM_MEASUREITEM and
// WM_DRAWITEM of menu items) through these; they keep nothing between calls but the popup that
// waits for its menu (CurrentSkinPopup).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "tk/Graphics.h"
#include "tk/Menus.h"

class TSkinData;
class TImageList;

// What the measuring and drawing read of one menu item.
struct TSkinMenuItem {
  std::string Caption;  // "-" marks a separator
  bool Checked = false;
  bool Enabled = true;
  bool Default = false;  // the default item of its menu: drawn bold
  int ImageIndex = -1;
  TShortCut ShortCut = 0;
  HMENU ParentMenu = nullptr;  // the menu the item sits in; none for an item without a parent
  TImageList* Images = nullptr;
  bool RightToLeft = false;  // its menu reads right to left
  // The update of the item's action, run before its face is drawn: it gives the item as the update
  // leaves it, which is what is drawn.
  std::function<TSkinMenuItem()> Action;
};

// The whole text of a menu item (by command, or by position), however long; none for an item
// without text or that is not there.
std::string MenuItemText(HMENU Menu, UINT Item, bool ByPosition);

// An item known only by its menu and command: caption, enabled and checked state, whether it is the
// menu's default item; a separator gets the caption "-", an item without text an empty one.
TSkinMenuItem MakeTempMenuItem(HMENU Menu, UINT ItemID);

// The skin's room added to an item's own measure: the MenuItem element's LeftWidth (the band the
// glyph is moved past), then 10 for a main-menu item or 12 for a popup item with an image list,
// else 35.
int MenuItemRoom(TSkinData* Data, bool HasImages, bool Popup);

// One item painted into R of Canvas; a skin without a MenuItem element paints plainly.
void MenuItemDraw(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, const RECT& R, bool Selected);
// An item known only by its menu handle: the background from the popup registered under Menu.
void MenuHandleItemDraw(TSkinData* Data, HMENU Menu, const TSkinMenuItem& Item, bool Selected, const RECT& R,
                        TCanvas* Canvas);
void PlainMenuItemDraw(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, bool Selected,
                       const RECT& R);
// Glyph, caption and shortcut of one item into R.
void DrawMenuItemFace(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, bool Selected,
                      const RECT& R);
// One text pass; a pass with DT_CALCRECT leaves the text's extent in T.
void DrawMenuItemText(TSkinData* Data, const TSkinMenuItem& Item, TCanvas* Canvas, UINT Format, bool Selected,
                      RECT& T, std::string Text);
// The separator picture (bottom rows of the MenuItem strip's frame 2) over R.
void DrawMenuSeparator(TSkinData* Data, TCanvas* Canvas, const RECT& R);

// Draws the tool-bar button in Bounds from the Buttons element for its custom-draw item state
// (CDIS_*) when the form is skinned and active (FormState 1); the button is then still drawn as
// usual over it. Returns whether a frame was drawn.
bool ToolButtonCustomDraw(TSkinData* Data, uint32_t FormState, TCanvas* Canvas, const RECT& Bounds,
                          UINT State);
