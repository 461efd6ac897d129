// Skinned tab controls: the system tab control (also inside the toolkit's page control) drawn from
// the skin's Tabs element in every tab position, with the page border from its second picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/WinSubClass.h"

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

  uint8_t FTabPosition = 0;
  std::unique_ptr<TBitmap> FTabBitmap;
  std::unique_ptr<TBitmap> FBorderBitmap;
  std::unique_ptr<TBitmap> FStripBitmap;
  TSkinUpDown* FUpDown = nullptr;
};
