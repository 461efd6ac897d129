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
  // The tabs shown: from the first one, each its caption's width plus 9, as many as fit.
  std::vector<TTabPlace> VisibleTabs();

 protected:
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void FontChanged() override;
  // Lays the tabs out before Limit; AllFit tells whether the last tab made it.
  std::vector<TTabPlace> Layout(int Limit, bool& AllFit);
  void UpdateScroller();
  TControlStrings FTabs{[this](TControlStrings::TChange, int) { TabsChanged(); }};
  void TabsChanged();
  TTabScroller* FScroller = nullptr;
  int FTabIndex = -1, FFirstIndex = 0, FStartMargin = 5, FEndMargin = 5;
};

// Makes this unit's classes readable from form descriptions.
void RegisterTabs();
