// Skinned popup menus: what the skin manager drives of them. The window procedure and frame
// painting live with the implementation, which derives from TRezIderPopMenu and sets
// RezIderPopMenuMaker.
#pragma once

#include <windows.h>

#include <memory>

#include "tk/Classes.h"
#include "tk/Controls.h"
#include "tk/Graphics.h"

class TSkinData;
class TDataSkinObject;

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

// The skinned popup that has painted its frame but does not yet know its menu; the first owner-drawn
// item drawn afterwards gives it that item's menu and clears this. None while no popup waits.
extern TRezIderPopMenu* CurrentSkinPopup;

// The popup menu window skinned from the MenuBackground element: its 3-pixel frame at WM_NCPAINT,
// frame and background at WM_PRINT; everything else goes to the window's own procedure.
class TSkinnedPopMenu : public TRezIderPopMenu {
 public:
  TK_CLASS(TSkinnedPopMenu, TRezIderPopMenu)
  TSkinnedPopMenu() = default;
  // A popup still waiting for its menu stops waiting.
  ~TSkinnedPopMenu() override;
  TSkinnedPopMenu(const TSkinnedPopMenu&) = delete;
  TSkinnedPopMenu& operator=(const TSkinnedPopMenu&) = delete;

  void Subclass(HWND Window, TSkinData* Data, HMENU MenuKey) override;
  // Under a subclass made after the takeover the own procedure stays, passing everything on.
  void Unsubclass() override;
  bool Subclassed() const override { return FOwnProc != nullptr; }

  LRESULT CallOldProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  LRESULT PaintFrame(UINT Msg, WPARAM wParam, LPARAM lParam);
  LRESULT PrintFrame(UINT Msg, WPARAM wParam, LPARAM lParam);
  // WM_PAINT: the window's own painting, then the frame band again where the window has no
  // non-client frame and its own painting draws a border of its own there (Wine's menus).
  LRESULT PaintClient(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Whether the client area starts at the window's corner, so the frame band lies in it.
  bool FrameInClient() const;

  WNDPROC SavedProc() const { return FOldProc; }
  // The window procedure bound to this object, while the window is taken over.
  WNDPROC OwnProc() const { return FOwnProc; }

 private:
  void InstanceWndProc(TMessage& Message);
  // The skin's usable MenuBackground element, or none.
  TDataSkinObject* Background() const;
  // The frame picture for the whole window into the cached bitmap; false when the window has no size.
  bool BuildFrame(int W, int H);
  // The frame picture built for the window and its outer 3-pixel band copied into the window.
  void DrawFrameBand();

  WNDPROC FOldProc = nullptr;
  WNDPROC FOwnProc = nullptr;
};
