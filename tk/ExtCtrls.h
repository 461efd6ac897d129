// Extra controls: panels, bevels, pictures and timers.
#pragma once

#include <memory>

#include "tk/Controls.h"

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

// Makes this unit's classes readable from form descriptions.
void RegisterExtCtrls();
