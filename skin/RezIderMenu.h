// Skinned popup menus: what the skin manager drives of them. The window procedure and frame
// painting live with the implementation, which derives from TRezIderPopMenu and sets
// RezIderPopMenuMaker.
#pragma once

#include <windows.h>

#include <memory>

#include "tk/Classes.h"
#include "tk/Graphics.h"

class TSkinData;

class TRezIderPopMenu : public TObject {
 public:
  TK_CLASS(TRezIderPopMenu, TObject)
  TRezIderPopMenu() : FFrameBitmap(std::make_unique<TBitmap>()) {}

  // Takes the popup window over with the manager's skin component; MenuKey none from the manager.
  virtual void Subclass(HWND Window, TSkinData* Data, HMENU MenuKey) = 0;
  // Gives the window its procedure back; again does nothing.
  virtual void Unsubclass() = 0;
  virtual bool Subclassed() const = 0;

  HWND FHandle = nullptr;
  TSkinData* FSkinData = nullptr;
  HMENU FMenuKey = nullptr;               // the menu whose items this window shows, once known
  std::unique_ptr<TBitmap> FFrameBitmap;  // the last frame picture built for the window
};

// Makes the popup object the manager attaches to a "#32768" window; none until the
// implementation is linked in, and then no popup is skinned.
using TRezIderPopMenuMaker = TRezIderPopMenu* (*)();
extern TRezIderPopMenuMaker RezIderPopMenuMaker;
