// The pointer-sensitive objects of a skinned window's non-client area: caption buttons, and the
// base of the menu-bar items.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/RezIderMenuItem.h"
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
