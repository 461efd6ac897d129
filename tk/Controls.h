// Controls: the message record and message method, and the three kinds of control: a windowed
// control (TWinControl), a control painted by its parent (TGraphicControl) and a windowed control
// with a canvas of its own (TCustomControl).
#pragma once

#include <windows.h>
#include <windowsx.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tk/Classes.h"
#include "tk/Graphics.h"
#include "tk/WindowTable.h"

// ---- The message record and the message method --------------------------------------------------

// Every message a control sees: four values, the result written by whoever handles it. They are
// 32-bit on the 32-bit target; on x64 all but the message are 64-bit, as the platform's are.
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};
#ifdef _WIN64
static_assert(sizeof(TMessage) == 32, "on x64 the message record is the platform's four values, padded");
#else
static_assert(sizeof(TMessage) == 16, "on the 32-bit target the message record is four 32-bit values");
#endif

// A method bound to its object: what a control's WindowProc holds. Copied, compared and put back
// by value, so whoever replaces a control's message method can restore exactly what was there.
struct TWndMethod {
  void (*Code)(void* Data, TMessage& Message) = nullptr;
  void* Data = nullptr;
  bool Assigned() const { return Code != nullptr; }
  void operator()(TMessage& Message) const { Code(Data, Message); }
  bool operator==(const TWndMethod&) const = default;
};

// MakeWndMethod<&TThing::Handler>(thing): the message method that calls thing->Handler(Message).
template <auto Method, class T>
TWndMethod MakeWndMethod(T* object) {
  return {[](void* data, TMessage& message) { (static_cast<T*>(data)->*Method)(message); }, object};
}

// ---- Window procedures bound to message methods ---------------------------------------------------

// Takes Window's procedure over with a new stub bound to Method (an object-instance stub: Windows
// calls it like any window procedure, and it calls Method with the message record; the window is
// not passed on, the method's object knows it). Old receives the procedure it replaces. Each
// takeover has its own stub and its own saved procedure, so windows need no lookup of their objects
// and a window taken over again under someone else's subclass chains correctly.
WNDPROC HookWindowProc(HWND Window, TWndMethod Method, WNDPROC& Old);
// Gives Window the procedure Instance replaced and frees Instance. When another subclass sits on
// top, cutting it out would lose it: Instance then stays in the chain, passes every message on to
// Old, and is freed when the window goes.
void UnhookWindowProc(HWND Window, WNDPROC Instance, WNDPROC Old);
// Whether Instance still calls its method. Inside a message Instance is handling, false tells that
// its object gave it up meanwhile (and may be gone).
bool WindowProcBound(WNDPROC Instance);

class TControl;
// The same for a control's message method: Control's WindowProc becomes a link to Method, Old
// receives what it held. Given back under a method set on top, the link stays in the chain passing
// everything on to Old until the control goes.
TWndMethod HookMessageMethod(TControl* Control, TWndMethod Method, TWndMethod& Old);
void UnhookMessageMethod(TControl* Control, TWndMethod Link, TWndMethod Old);
// Frees the links left in Control's chain; the control calls it when it goes.
void FreeLetGoMessageMethods(TControl* Control);

// Inside a catch block: the failure goes to the application's general error report, as from every
// window procedure of the toolkit (dropped when there is no application). Failures must not unwind
// through the system's frames.
void HandleWindowException();

// ---- The toolkit's own messages ------------------------------------------------------------------

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_RELEASE = CM_BASE + 33;

// Messages the parent reflects to the child they concern (CN_ = 0xBC00 + the Win32 message).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// ---- Controls -----------------------------------------------------------------------------------

// Forms use all of them; a control's border is bsNone or bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = uint32_t;
enum : TShiftState {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TCursor = int;
enum : TCursor {
  crDefault = 0,
  crArrow = -2,
  crIBeam = -4,
  crSizeAll = -22,
  crHandPoint = -21,
  crHourGlass = -11
};

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// Control state: transient flags of one control.
enum : uint32_t { csLButtonDown = 1, csClicked = 2, csMouseInside = 4 };

class TWinControl;
class TPopupMenu;

class TControl : public TComponent {
 public:
  TK_CLASS(TControl, TComponent)
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // The replaceable message method; every message of the control passes through it.
  TWndMethod WindowProc;
  // Sends a message through WindowProc and answers its result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  // The control's own handling, WindowProc's default.
  virtual void WndProc(TMessage& Message);
  // What happens to a message nobody handled.
  virtual void DefaultHandler(TMessage& Message);

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  // The form reader's parenting hook: a control sits in the windowed control that encloses it.
  void SetParentComponent(TComponent* Value) override;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual RECT ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible on the screen: itself and every parent.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);

  // Caption and Text are one value, as in the toolkit.
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& value) { SetText(value); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& value);

  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  // The control's own font; with ParentFont it follows the parent's.
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* value) { FFont->Assign(value); }
  HFONT FontHandle() const { return FFont->Handle(); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);

  std::string Hint;
  bool ShowHint = false;
  TCursor Cursor = crDefault;
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value);
  uint32_t ControlState = 0;

  TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // The menu a right click on the control shows (not owned).
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  virtual void Click();
  void Invalidate();
  void Repaint();
  void Update();
  void BringToFront();

 protected:
  virtual std::string GetText() const { return FText; }
  virtual void TextChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  virtual void FontChanged() { Invalidate(); }
  virtual void EnabledChanged() { Invalidate(); }
  virtual void VisibleChanged();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  // Parent font and colour reach children through these.
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  void MouseMessage(TMessage& Message);
  // Controls without a system click notification click on a left release inside themselves.
  virtual bool ClickOnMouseUp() const { return true; }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // WM_CONTEXTMENU: the popup menu shown at the point (under the control's middle for the keyboard).
  bool ContextPopup(LPARAM Point);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FText;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FFontFromParent = false;
  TAlign FAlign = alNone;
  TPopupMenu* FPopupMenu = nullptr;
  friend class TWinControl;
};

// A control with a window of its own. Its window class is its class name.
class TWinControl : public TControl {
 public:
  TK_CLASS(TWinControl, TControl)
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, created on demand (the parent's first).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // The control that owns a window of this thread, or nullptr.
  static TWinControl* FindControl(HWND wnd);

  int ControlCount() const { return int(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(size_t(index)); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // The visible, enabled child without a window at the client point, topmost first.
  TControl* ControlAtPos(POINT pt, bool AllowDisabled = false) const;
  void AlignControls();
  // The part of the client area that aligned children share.
  virtual void AdjustClientRect(RECT& Rect);
  // Paints the children without a window into dc (the client's device context).
  void PaintControls(HDC dc);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  RECT ClientRect() const override;
  bool Showing() const override;
  bool Focused() const;
  void SetFocus();
  bool CanFocus() const;

  int TabOrder() const;
  void SetTabOrder(int value);
  bool TabStop = false;
  // The next control in tab order after CurControl among this container's children (recursively).
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  void GetTabOrderList(std::vector<TWinControl*>& list);

  // Paints through an off-screen bitmap when set.
  bool DoubleBuffered = false;
  // The brush that fills the background (the control's Color); owned.
  HBRUSH Brush();

 protected:
  struct TCreateParams {
    std::string Caption;
    DWORD Style = 0, ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::string WinClassName;  // the registered class: the toolkit class name
    std::string SysClassName;  // a system class to build on (superclass), or empty
    UINT ClassStyle = CS_DBLCLKS;
  };
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  // Called once the window exists (children still without theirs).
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void InitializeWnd() {}
  // Called before the window goes, while it still exists: keep what must survive a re-creation.
  virtual void DestroyWnd();
  // Recreates the window (styles that need a new one).
  void RecreateWnd();
  void SaveWindowState();
  void UpdateBounds();

  std::string GetText() const override;
  void TextChanged() override;
  void ColorChanged() override;
  void FontChanged() override;
  void EnabledChanged() override;
  void VisibleChanged() override;
  void ParentColorChanged() override;

  virtual void PaintWindow(HDC dc);
  void WMPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  void WMCommandAndNotify(TMessage& Message);
  void WMCtlColor(TMessage& Message);
  void CNCtlColor(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMMouseLeave(TMessage& Message);
  bool IsControlMouseMsg(TMessage& Message);
  void SetZOrder(bool TopMost);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  HBRUSH FBrush = nullptr;
  TControl* FMouseControl = nullptr;  // the child without a window under the mouse
  TControl* FCaptureControl = nullptr;
  bool FTrackingLeave = false;
  bool FRealigning = false;

  friend class TControl;
  friend LRESULT CALLBACK TkWindowProc(HWND, UINT, WPARAM, LPARAM);
};

// A control without a window: its parent paints it (WM_PAINT with the parent's device context, the
// origin moved to the control) and forwards the mouse to it.
class TGraphicControl : public TControl {
 public:
  TK_CLASS(TGraphicControl, TControl)
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  // Draws on the parent's device context while Paint runs.
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  void WndProc(TMessage& Message) override;
  virtual void Paint() {}
  std::unique_ptr<TCanvas> FCanvas;
};

// A windowed control that paints itself in Paint.
class TCustomControl : public TWinControl {
 public:
  TK_CLASS(TCustomControl, TWinControl)
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  // Draws on the window's device context while Paint runs.
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}
  std::unique_ptr<TCanvas> FCanvas;
};

// Makes the controls of this unit (and fonts and pictures they hold) readable from form
// descriptions; the form unit calls every unit's registration once.
void RegisterControls();
// The colour identifiers form descriptions use (clBtnFace, clWindowText, clRed...).
const std::vector<std::pair<std::string, int32_t>>& ColorIdents();

// Paints with canvas on dc for the length of paint, and lets go of dc after it (also on failure).
void PaintOnCanvas(TCanvas* canvas, HDC dc, const std::function<void()>& paint);
// The toolkit's module instance for window classes.
HINSTANCE TkInstance();
// Shift state of a mouse message's wParam.
TShiftState MouseShiftState(WPARAM keys);
// True when the character is the accelerator (the letter after '&') of caption.
bool IsAccel(unsigned Char, const std::string& Caption);
