// The tab set: a row of tabs the control draws itself, hanging from its top edge, with scroll
// buttons when they do not all fit.
#pragma once

#include <vector>

#include "tk/Controls.h"
#include "tk/StdCtrls.h"

class TTabSet;

// The tab set's scroll buttons: the system's up-down laid out left and right; its position is the
// first tab shown.
class TTabScroller : public TWinControl {
 public:
  TK_CLASS(TTabScroller, TWinControl)
  explicit TTabScroller(TTabSet* TabSet);
  void SetRange(int Count, int Position);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  bool ClickOnMouseUp() const override { return false; }
  TTabSet* FTabSet;
  int FCount = 0, FPosition = 0;
};

// Whether a tab TabWidth wide fits at X before Limit; shown scroll buttons take their 12 pixels
// before the limit.
bool TabSetTabFits(int X, int TabWidth, int Limit, bool ScrollerShown);

class TTabSet : public TCustomControl {
 public:
  TK_CLASS(TTabSet, TCustomControl)
  explicit TTabSet(TComponent* AOwner);
  ~TTabSet() override;
  TControlStrings& Tabs() { return FTabs; }
  // The selected tab, or -1; a tab chosen in code is scrolled into view.
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int value);
  // The first tab shown; the ones before it are scrolled out.
  int FirstIndex() const { return FFirstIndex; }
  void SetFirstIndex(int value);
  int StartMargin() const { return FStartMargin; }
  void SetStartMargin(int value);
  int EndMargin() const { return FEndMargin; }
  void SetEndMargin(int value);
  // Its scroll buttons, its first owned component; shown only while tabs are scrolled out.
  TTabScroller* Scroller() const { return FScroller; }
  // The shown tab at a client point, or -1.
  int ItemAtPos(POINT P);
  // A tab chosen with the mouse.
  TNotifyEvent OnChange;

  struct TTabPlace {
    int Index;
    RECT Rect;
  };
  // The tabs shown, on a tab set Width x Height whose font DC holds: in a row from the start margin,
  // from the first shown one on, each its caption's width plus 9; a tab that does not fit before the
  // end margin is left out and the ones after it still tried. Its own painting, its hit test and its
  // skin all lay the tabs out here.
  std::vector<TTabPlace> Layout(HDC DC, int Width, int Height, bool ScrollerShown);
  // The tabs shown now.
  std::vector<TTabPlace> VisibleTabs();

 protected:
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FontChanged() override;
  // The layout on the screen's DC in the tab set's font.
  std::vector<TTabPlace> Places(bool ScrollerShown);
  void UpdateScroller();
  TControlStrings FTabs{[this](TControlStrings::TChange, int) { TabsChanged(); }};
  void TabsChanged();
  TTabScroller* FScroller = nullptr;
  int FTabIndex = -1, FFirstIndex = 0, FStartMargin = 5, FEndMargin = 5;
};

// Makes this unit's classes readable from form descriptions.
void RegisterTabs();
