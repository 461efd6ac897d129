// Skinned controls: one engine object per standard control, sitting between the control and its
// own window procedure (or, for a toolkit control, its message method). Each message passes a step
// before the control's own handling, that handling, and a step after it; the steps paint the
// control from the skin. Everything taken over is given back when the object goes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "tk/Buttons.h"
#include "tk/Classes.h"
#include "tk/Controls.h"
#include "tk/Graphics.h"

class TSkinData;
class TDataSkinObject;
class TSkinControl;
class TSkinButton;
class TSkinUpDown;

// FMouseState bits.
enum : uint8_t { msHot = 1, msPressed = 2 };

// FSkinState values.
enum : int32_t { scsCreated = 0, scsSkinned = 1, scsGivenBack = 2, scsGone = 6 };

// What a skinned control needs of the skinned form that keeps it: the form's list of skinned
// controls and its one hot button. The skinned form derives from it.
class TSkinControlHost {
 public:
  TSkinControlHost() = default;
  TSkinControlHost(const TSkinControlHost&) = delete;
  TSkinControlHost& operator=(const TSkinControlHost&) = delete;

  // True when Control is listed already; otherwise it is appended and the answer is False.
  bool AddControl(TSkinControl* Control);
  // Drops the last entry that is Control; a hot button that goes is no longer hot.
  void RemoveControl(TSkinControl* Control);
  // Unskins every control whose window is not gone, then frees them all.
  void FreeControls();

  TList FControls;
  TSkinButton* FHotButton = nullptr;

 protected:
  ~TSkinControlHost();
};

inline int RectWidth(const RECT& R) { return R.right - R.left; }
inline int RectHeight(const RECT& R) { return R.bottom - R.top; }

// The window text as the engine reads it: WM_GETTEXT into a buffer of 1000 characters.
std::string SkinWindowText(HWND Window);
// The window's font (WM_GETFONT) on the canvas. A window that names no font, or one that was deleted
// under it, gets Fallback instead (none: the canvas keeps its font): painting goes on either way.
void SelectWindowFont(TCanvas* Canvas, HWND Window, HFONT Fallback);

// Where a glyph and its caption go inside a client area of size Client (the layout rule of the
// skinned bitmap and speed buttons). SpeedButton moves a centred pair with a fixed spacing one pixel
// further in along the layout axis.
struct TGlyphLayout {
  POINT Glyph;
  POINT Text;
  UINT Alignment;  // DT_LEFT, DT_RIGHT or DT_CENTER
};
TGlyphLayout LayoutSkinGlyph(SIZE Client, SIZE Glyph, SIZE Text, TButtonLayout Layout, int Margin,
                             int Spacing, bool SpeedButton);

class TSkinControl : public TComponent {
 public:
  TK_CLASS(TSkinControl, TComponent)
  explicit TSkinControl(TComponent* AOwner);
  // Gives back the message method or window procedure and leaves the form's list.
  ~TSkinControl() override;

  // Takes over the owner, a toolkit window control, through its message method.
  virtual void SkinControl(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas, bool TakeColor);
  // Takes over a bare window through its window procedure.
  virtual void SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form);
  // Gives back what skinning changed besides the window procedure (the colour).
  virtual void Unskin();
  // False consumes the message: neither the control's own handling nor AfterDefault runs.
  virtual bool BeforeDefault(TMessage& Message);
  virtual void AfterDefault(TMessage& Message);
  // Paints the whole window into DC, or into its window DC when DC is 0.
  virtual void PaintFrame(HDC DC);
  // R is the window rectangle moved to the origin.
  virtual void DrawControl(HDC DC, const RECT& R);
  // Applies the (new) skin after a skin change.
  virtual void Refresh();

  void WndProc(TMessage& Message);
  // What was there before the takeover handles the message.
  void CallDefault(TMessage& Message);
  void Repaint();
  void PaintClient(TMessage& Message);
  void FillBackground(HDC DC, const RECT& R);
  // Alignment is DT_LEFT, DT_CENTER or DT_RIGHT; the text sits one pixel above the middle.
  void DrawCaptionText(TCanvas* Canvas, const RECT& R, UINT Alignment, bool Enabled, const std::string& Text);
  // Placement 0 left, 1 centred, 2 right; no image for Index -1 or no list.
  void DrawImageAndText(TCanvas* Canvas, const RECT& R, int Placement, const std::string& Text, int Index,
                        HIMAGELIST Images);
  // Frame K of N of the element laid out as nine slices over R.
  void DrawElementFrame(HDC DC, const RECT& R, TDataSkinObject* Element, int K, int N);
  // Frame K of a horizontal strip of N frames stretched over R, key-coloured pixels left out.
  void PaintStripFrame(HDC DC, const RECT& R, int N, int K, TBitmap* Strip);
  void PaintStripFrameCanvas(TCanvas* Canvas, const RECT& R, int N, int K, TBitmap* Strip);
  void PaintStripFrameOwnCanvas(HDC DC, const RECT& R, int N, int K, TBitmap* Strip);

  uint8_t FMouseState = 0;
  TCanvas* FCanvas = nullptr;
  bool FEnabled = false;
  bool FFocused = false;
  std::string FText;
  WNDPROC FObjectInstance = nullptr;
  WNDPROC FOldWndProc = nullptr;
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;
  TWndMethod FOldWindowProc;
  TWinControl* FControl = nullptr;
  RECT FWindowRect{};
  TControl* FGraphicControl = nullptr;
  bool FTakeColor = false;
  TColor FOldColor = 0;
  bool FSkinned = false;
  int32_t FSkinState = scsCreated;
  TSkinControlHost* FForm = nullptr;

 protected:
  // The skin colour (the skin's ButtonFace).
  TColor SkinColour() const;
  // The window lacks WS_DISABLED.
  bool WindowEnabled() const;
  // Skins Window with a new up-down that tells this object when it is freed; the one Held kept
  // before is let go (its object waits for the form to free it).
  void SkinUpDown(TSkinUpDown*& Held, HWND Window, TSkinData* Data, TCanvas* Canvas);
  // Takes Control's message method over for WndProc; FOldWindowProc keeps what it held.
  void TakeWindowProc(TControl* Control);
  // The message method goes back to the control it was taken from (see UnhookMessageMethod).
  void GiveBackWindowProc();

 private:
  // What the control's message method was set to: a link to WndProc.
  TWndMethod FOwnWindowProc;

  // A bare window's messages, through the stub bound to this object.
  void InstanceWndProc(TMessage& Message);
  // The bare window's procedure goes back (see UnhookWindowProc).
  void GiveBackWndProc();
};

// A push button painted from the Buttons element, with its own hot and pressed tracking.
class TSkinButton : public TSkinControl {
 public:
  TK_CLASS(TSkinButton, TSkinControl)
  explicit TSkinButton(TComponent* AOwner);
  ~TSkinButton() override;
  bool BeforeDefault(TMessage& Message) override;
  void AfterDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
  // Tells the button the pointer has left it.
  void MouseLeave();

  std::unique_ptr<TBitmap> FBitmap;

 protected:
  // The Buttons element when it has a picture, else nullptr.
  TDataSkinObject* ButtonsElement() const;
  // The caption colour the element gives for state, when it gives one.
  bool StateTextColour(int State, TColor& Colour) const;
  void Clicked();
};

// A bitmap button (TBitBtn): the glyph and caption laid out by Layout, Margin and Spacing.
class TSkinBitButton : public TSkinButton {
 public:
  TK_CLASS(TSkinBitButton, TSkinButton)
  using TSkinButton::TSkinButton;
  void DrawControl(HDC DC, const RECT& R) override;
  // Takes over a control without a window (a speed button) through its message method.
  void HookOwner(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas);
  // Glyph G (from 1) of a strip of N drawn at P; a greyed copy for the disabled glyph.
  void DrawGlyph(TCanvas* Canvas, POINT P, int N, int G, TBitmap* Strip);
};

// A speed button: no window, painted into its parent's context, composed in SharedBitmap.
class TSkinSpeedButton : public TSkinBitButton {
 public:
  TK_CLASS(TSkinSpeedButton, TSkinBitButton)
  using TSkinBitButton::TSkinBitButton;
  ~TSkinSpeedButton() override;
  bool BeforeDefault(TMessage& Message) override;
  void AfterDefault(TMessage& Message) override;
  // Paints at once on the parent's window; the argument is not used.
  void PaintFrame(HDC DC) override;
  void DrawButton(TCanvas* Target, const RECT& R);
  void DrawFace(const RECT& R, TDataSkinObject* Element, int Trans, int N, int K);

 private:
  TSpeedButton* Button() const;
};

// A status bar painted whole from the skin: panels from StatusBarEdges, the grip from ExtraImages.
class TSkinStatusBar : public TSkinControl {
 public:
  TK_CLASS(TSkinStatusBar, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
  void DrawSkinPanel(HDC DC, RECT P, UINT Alignment, const std::string& Text, int Kind);
  void DrawPlainPanel(HDC DC, RECT P, UINT Alignment, const std::string& Text, int Kind);
  // Top-left and bottom-right line colours of a plain panel of that kind.
  static void BevelColors(int Kind, TColor& First, TColor& Second);
  void CopyBuffer(HDC DC, const RECT& R);

 private:
  void PanelText(RECT P, UINT Alignment, const std::string& Text);
};

// DrawText alignment of a status panel: right-to-left panels swap left and right.
UINT StatusPanelAlignment(TAlignment Alignment, bool RightToLeft);

// A group box: a flat rounded frame and the caption, over the control's own painting.
class TSkinGroupBox : public TSkinControl {
 public:
  TK_CLASS(TSkinGroupBox, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
  void DrawGroupFrame(HDC DC, const RECT& R);
  static int TextHeight(HDC DC, const std::string& Text);
};

// A panel, tool bar or embedded form: only takes the skin's face colour, and gives it back.
class TSkinBox : public TSkinControl {
 public:
  TK_CLASS(TSkinBox, TSkinControl)
  using TSkinControl::TSkinControl;
  void SkinControl(TSkinControlHost* Form, TSkinData* Data, TCanvas* Canvas, bool TakeColor) override;
  void Unskin() override;
  void AfterDefault(TMessage& Message) override;
};

// The toolkit's notification that a check or radio control's state is to be shown again.
constexpr UINT CM_CHECKREPAINT = 0xB0D0;

// The frame of a check (12 or other frame counts) or radio (8 or other) strip for a state.
int CheckFrame(bool Radio, int FrameCount, bool Checked, bool Disabled, bool Indeterminate);

// A check box: its box from the Buttons element's CheckImage; the caption stays the control's.
class TSkinCheckBox : public TSkinControl {
 public:
  TK_CLASS(TSkinCheckBox, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
  void AfterDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
};

// A radio button: its circle from the Buttons element's RadioImage.
class TSkinRadioButton : public TSkinControl {
 public:
  TK_CLASS(TSkinRadioButton, TSkinControl)
  using TSkinControl::TSkinControl;
  void AfterDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
};

// A track bar: only its thumb, drawn through the control's custom-draw notification.
class TSkinTrackBar : public TSkinControl {
 public:
  TK_CLASS(TSkinTrackBar, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
  LRESULT CustomDraw(NMCUSTOMDRAW& Draw);
  void DrawThumb(NMCUSTOMDRAW& Draw);
};

// An up-down control's two arrow buttons, from UpDown.Vert or UpDown.Horz or drawn plainly.
class TSkinUpDown : public TSkinControl {
 public:
  TK_CLASS(TSkinUpDown, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
  // State 1 normal, 2 pressed, 3 disabled, 4 hot; button 0 up, 1 down, 2 left, 3 right.
  void DrawSkinButton(HDC DC, const RECT& B, int State, int Button);
  void DrawPlainButton(TCanvas* Canvas, const RECT& B, int State, int Button);

  bool FInEdit = false;
  int32_t FHorizontal = 0;
};

// An arrow of kind 0 up, 1 down, 2 left, 3 right around (X, Y) in the canvas's pen.
void DrawArrowGlyph(TCanvas* Canvas, int X, int Y, int Kind);

// A progress bar from the Progress element: a stretched bar, or repeated chunks (Style 1).
class TSkinProgress : public TSkinControl {
 public:
  TK_CLASS(TSkinProgress, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
  void DrawChunks(HDC DC, const RECT& R);
};
