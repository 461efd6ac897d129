// The skinned menu bar: the window's menu taken off the window and painted from the skin in the
// non-client strip under the caption, one item object per top-level item; its sub-menus tracked
// as popup menus under their items, with a message-filter hook that moves between neighbouring
// items by arrow keys and pointer the way the system's own menu bar does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/RezIderFormButtons.h"
#include "skin/RezIderFormMenuBar.h"
#include "tk/Graphics.h"
#include "tk/Menus.h"

class TRezIderMenuBar;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
 public:
  TK_CLASS(TMenuBtn, TNCObject)
  void Draw() override;
  // Visible and with a caption: only such an item takes room on the bar, the pointer and the keys.
  bool Shown() const { return FVisible && !FCaption.empty(); }

  TSkinData* FSkinData = nullptr;
  int32_t FIndex = 0;
  std::string FCaption;  // with its "&" accelerator mark
  bool FEnabled = true;
  HMENU FSubMenu = nullptr;
  uint32_t FCommand = 0;
  TRezIderMenuBar* FBar = nullptr;  // the bar the item belongs to
};

class TRezIderMenuBar : public TRezIderMenu {
 public:
  TK_CLASS(TRezIderMenuBar, TRezIderMenu)
  TRezIderMenuBar(TRezIderFormImpl* Form, TSkinData* Data);
  ~TRezIderMenuBar() override;

  void ScanMenu() override;
  void RebuildMenu(HMENU Menu) override;
  void ReleaseMenu() override;
  void PaintMenuBar(HDC DC, const RECT& Rect) override;
  TNCObject* ItemAtPoint(POINT P) override;
  void TrackMenuItem(TNCObject* Item) override;
  bool FindMenuAccel(unsigned Key) override;
  void MenuAccelerator(TMessage& Message) override;
  void MenuSelect(WPARAM wParam, LPARAM lParam) override;
  bool OwnsItem(TNCObject* Object) const override;

  // The first enabled item shown on the bar whose accelerator is Key (case-insensitive), or none.
  TMenuBtn* FindAccelItem(unsigned Key) const;
  // Posts the click on the item that opens it through the window's non-client mouse handling.
  void OpenMenuItem(TMenuBtn* Item);
  // The bar reads right to left (its toolkit menu does).
  bool RightToLeft() const;

  std::vector<std::unique_ptr<TMenuBtn>> FButtons;
  RECT FBarRect{};  // window coordinates, as last painted
  TSkinData* FSkinData = nullptr;
  TRezIderFormImpl* FForm = nullptr;
  std::unique_ptr<TBitmap> FBarBitmap;  // the background as last composed
  int32_t FCount = 0;

 private:
  void ClearButtons();
  // Items from FMenuHandle, then the menu taken off the window; false when it has no items. An item
  // without text takes what it shows from the toolkit item Find gives for its identifier.
  bool ScanHandle(const std::function<TMenuItem*(const MENUITEMINFOA&)>& Find);
  // The item's caption, state and sub-menu from a toolkit item (its action updated first).
  void FromToolkitItem(TMenuBtn* Button, TMenuItem* Item);
  std::unique_ptr<TMenuBtn> NewButton(int Index);
  // The item the click pressed, once its menu is done: hot under the pointer, else normal.
  void ReleaseItem(TMenuBtn* Item);
};

// The item's accelerator: the character after a single "&", or 0.
char MenuAccelChar(const std::string& Caption);
// The keyboard state is exactly Alt: no Shift, no Ctrl, no mouse button.
bool OnlyAltDown();

// Tracking state of the one sub-menu the GUI thread tracks at a time.
struct TMenuTrackState {
  HHOOK MenuHookHandle = nullptr;
  TRezIderFormImpl* MenuTrackForm = nullptr;
  int32_t MenuTrackIndex = -1;
  // The item last selected in the tracked sub-menu: the menu it sits in and whether it opens a
  // sub-menu of its own. MenuTrackKnown is false for none (or, with a toolkit menu, for an item
  // the toolkit menu does not know).
  bool MenuTrackKnown = false;
  HMENU MenuTrackParent = nullptr;
  HMENU MenuTrackSubMenu = nullptr;
  // The toolkit item found for the selection when the bar has a toolkit menu.
  TMenuItem* MenuTrackItem = nullptr;
  POINT MenuLastCursor{};
  bool MenuSwitching = false;
  bool MenuFirstKeySent = false;
};
extern TMenuTrackState MenuTrack;

void InstallMenuFilterHook();
void RemoveMenuFilterHook();
LRESULT CALLBACK MenuFilterHookProc(int Code, WPARAM wParam, LPARAM lParam);
// The neighbour of the open item that shows on the bar (wrapping round), or none.
TMenuBtn* MenuNeighbourItem(bool Forward);
