// Skinned tab controls: the system tab control (also inside the toolkit's page control) drawn from
// the skin's Tabs element in every tab position, with the page border from its second picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "skin/WinSubClass.h"

class TTabSet;

// 0 tabs at the top, 1 at the bottom, 2 on the left, 3 on the right, from a tab control's style.
uint8_t TabPositionOfStyle(DWORD Style);

// Where the tab strip of a control of size R lies beside its page rectangle P.
RECT TabStripRect(uint8_t Position, const RECT& R, const RECT& P);

// A tab's rectangle T (client coordinates) moved into the strip picture, which for side tabs is
// composed lying as if the tabs were at the top; W is the picture's width.
RECT TabInStrip(uint8_t Position, const RECT& T, const RECT& R, const RECT& P, int W);

class TSkinTab : public TSkinControl {
 public:
  TK_CLASS(TSkinTab, TSkinControl)
  explicit TSkinTab(TComponent* AOwner);
  ~TSkinTab() override;
  void SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form) override;
  void Refresh() override;
  bool BeforeDefault(TMessage& Message) override;
  void ReadTabPosition();
  void BuildBitmaps();
  // Skins the scroll buttons once they exist; true while they are shown.
  bool FindUpDown();
  void DrawControl(HDC DC, const RECT& R) override;
  void DrawTab(HDC DC, const RECT& T, int K);
  void DrawTabsClipped(HDC DC, const RECT& S);
  // The up-down's object lets go of this one when it is freed first.
  void Notification(TComponent* AComponent, TOperation Operation) override;

  uint8_t FTabPosition = 0;
  std::unique_ptr<TBitmap> FTabBitmap;
  std::unique_ptr<TBitmap> FBorderBitmap;
  std::unique_ptr<TBitmap> FStripBitmap;
  TSkinUpDown* FUpDown = nullptr;
};

// The toolkit's tab set (TTabSet), its tabs drawn from the Tabs element, its scroll buttons as an
// up-down.
class TSkinTab31 : public TSkinControl {
 public:
  TK_CLASS(TSkinTab31, TSkinControl)
  explicit TSkinTab31(TComponent* AOwner);
  ~TSkinTab31() override;
  // Takes over the owner, a tab set, through its window procedure; the colour is not taken.
  void SkinControl(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas, bool TakeColor) override;
  void BuildBitmap();
  // Skins the scroll buttons' window, and the one made in its place once it went.
  void FindScroller();
  bool BeforeDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;

  std::unique_ptr<TBitmap> FTabBitmap;
  TSkinUpDown* FUpDown = nullptr;
  TWinControl* FScroller = nullptr;

 protected:
  // The scroll buttons' object lets go of this one when it is freed first.
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TTabSet* TabSet() const;
  // The Tabs picture and the tab set's values are there to draw from.
  bool Drawable() const;
};
