// Skinned edits and combo boxes: a flat two-line frame in place of an edit's sunken border (and
// its spin button skinned as an up-down), and a combo box's border and drop button from the skin.
// Both paint over the control's own painting and leave the text area to it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/WinSubClass.h"

class TSkinEdit : public TSkinControl {
 public:
  TK_CLASS(TSkinEdit, TSkinControl)
  using TSkinControl::TSkinControl;
  void AfterDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
  // Skins the first up-down or spin button child of Edit, once; again once its window went.
  void FindSpinButton(HWND Edit, TSkinData* Data, TCanvas* Canvas);
  // The frame as WM_PRINT shows it, into DC or the window DC when DC is 0.
  void PrintFrame(HDC DC);
  void DrawPrintFrame(HDC DC, const RECT& R);

  TSkinUpDown* FUpDown = nullptr;

 protected:
  // The spin button's object lets go of this one when it is freed first.
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool FPrinting = false;
};

// The drop button's look: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
int ComboState(uint8_t MouseState, bool Focused, bool Enabled);

// Where a combo box of size A puts its parts; ButtonWidth is the system's scroll arrow width.
struct TComboLayout {
  RECT Text;    // left alone: the control's own text area
  RECT Button;  // the drop button picture
  RECT Arrow;   // the box the arrow is centred in
};
TComboLayout ComboLayout(const RECT& A, int ButtonWidth, bool LeftScrollBar);

class TSkinComBox : public TSkinControl {
 public:
  TK_CLASS(TSkinComBox, TSkinControl)
  using TSkinControl::TSkinControl;
  void AfterDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;

  uint32_t FStyle = 0;
  uint32_t FExStyle = 0;
};
