// The pointer-sensitive objects of a skinned window's non-client area (caption buttons, and the
// base of the menu-bar items) and the skinned system menu.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tk/Classes.h"

class TRezIderFormImpl;
class TDataSkinSysButton;

// FState values of a non-client object.
enum : int32_t { nsNormal = 1, nsPressed = 2, nsHot = 3 };

class TNCObject : public TObject {
 public:
  TK_CLASS(TNCObject, TObject)
  // Pressed, released, hovered and left: each redraws the object and keeps the window's
  // current object (at most one per window) up to date.
  virtual void Press();
  virtual void Release();
  virtual void Hover();
  virtual void Leave();
  virtual void Draw() {}

  TRezIderFormImpl* FForm = nullptr;
  RECT FRect{};  // window coordinates
  bool FVisible = false;
  int32_t FState = 0;
};

class TWinSysButton : public TNCObject {
 public:
  TK_CLASS(TWinSysButton, TNCObject)
  void Draw() override;
  TDataSkinSysButton* FButtonData = nullptr;  // the skin's, not owned
};

// Stand-in for the toolkit's popup menu, which this toolkit does not have: the items of the
// skinned system menu, shown as a system popup menu and answered through each item's OnClick.
class TSysMenuItem {
 public:
  std::string Caption;
  int32_t Tag = 0;
  int32_t ImageIndex = -1;
  std::string ShortCut;  // its text form, shown after the caption
  bool Enabled = true;
  std::function<void(TSysMenuItem*)> OnClick;
};

class TSysMenu {
 public:
  int32_t Tag = 0;
  bool OwnerDraw = false;
  std::vector<std::unique_ptr<TSysMenuItem>> Items;
  TSysMenuItem* Add(const std::string& Caption, int32_t Number);
  // Shows the menu at the screen point for Owner and runs the chosen item's OnClick.
  void Popup(int X, int Y, HWND Owner);
  // Read by tests: the menu while it is shown, else none.
  HMENU Shown() const { return FShown; }

 private:
  HMENU FShown = nullptr;
};
