// Extra controls: panels, bevels, pictures and timers.
#pragma once

#include <memory>

#include "tk/Controls.h"
#include "tk/StdCtrls.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// Draws one bevel ring inside Rect and shrinks Rect by its width.
void DrawBevel(HDC DC, RECT& Rect, TPanelBevel Bevel, int Width);

class TCustomPanel : public TCustomControl {
 public:
  TK_CLASS(TCustomPanel, TCustomControl)
  explicit TCustomPanel(TComponent* AOwner);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel value);
  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment = taCenter;
  void AdjustClientRect(RECT& Rect) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Changed();
  TPanelBevel FBevelInner = bvNone, FBevelOuter = bvRaised;
  int FBevelWidth = 1, FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
 public:
  TK_CLASS(TPanel, TCustomPanel)
  using TCustomPanel::TCustomPanel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  TK_CLASS(TBevel, TGraphicControl)
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle value);

 protected:
  void Paint() override;
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// Shows a picture: at its top-left, centred, or stretched over the control.
class TImage : public TGraphicControl {
 public:
  TK_CLASS(TImage, TGraphicControl)
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* value) { FPicture->Assign(value); }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);

 protected:
  void Paint() override;
  void PictureChanged();
  std::unique_ptr<TPicture> FPicture;
  bool FAutoSize = false, FStretch = false, FCenter = false;
};

// Raises OnTimer every Interval milliseconds while Enabled, through a hidden window.
class TTimer : public TComponent {
 public:
  TK_CLASS(TTimer, TComponent)
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned value);
  TNotifyEvent OnTimer;

 private:
  void UpdateTimer();
  static LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);
  bool FEnabled = true;
  unsigned FInterval = 1000;
  bool FRunning = false;
};

// ---- Radio groups -------------------------------------------------------------------------------

class TCustomRadioGroup;

// One of a radio group's buttons: its child control, owned by the group.
class TGroupButton : public TRadioButton {
 public:
  TK_CLASS(TGroupButton, TRadioButton)
  explicit TGroupButton(TCustomRadioGroup* Group);
  void Click() override;

 private:
  TCustomRadioGroup* FGroup;
};

// A group box holding one radio button per item, laid out in Columns; ItemIndex is the checked one.
class TCustomRadioGroup : public TCustomGroupBox {
 public:
  TK_CLASS(TCustomRadioGroup, TCustomGroupBox)
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  TControlStrings& Items() { return FItems; }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int value);
  int Columns() const { return FColumns; }
  void SetColumns(int value);
  int ButtonCount() const { return int(FButtons.size()); }
  TGroupButton* Buttons(int Index) const { return FButtons.at(size_t(Index)); }

 protected:
  void WndProc(TMessage& Message) override;
  // One button per item, captioned and checked as the group says, then laid out.
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClicked(TGroupButton* Button);
  TControlStrings FItems{[this](TControlStrings::TChange, int) { UpdateButtons(); }};
  std::vector<TGroupButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  friend class TGroupButton;
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  TK_CLASS(TRadioGroup, TCustomRadioGroup)
  using TCustomRadioGroup::TCustomRadioGroup;
};

// Makes this unit's classes readable from form descriptions.
void RegisterExtCtrls();
