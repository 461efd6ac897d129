#include "tk/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "tk/FormReader.h"
#include "tk/Forms.h"
#include "tk/Menus.h"

LRESULT CALLBACK TkWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

namespace {

// Each toolkit window's control.
TWindowTable<TWinControl*>& BoundControls() {
  static TWindowTable<TWinControl*> controls;
  return controls;
}

// The control whose window is being created: CreateWindowEx sends messages before it returns.
TWinControl* CreationControl = nullptr;

// Per toolkit class name: the procedure of the system class it builds on (DefWindowProc otherwise).
std::map<std::string, WNDPROC>& ClassProcs() {
  static std::map<std::string, WNDPROC> procs;
  return procs;
}

WNDPROC RegisterToolkitClass(const std::string& name, const std::string& sysClass, UINT style) {
  auto it = ClassProcs().find(name);
  if (it != ClassProcs().end()) return it->second;
  WNDCLASSA wc{};
  if (!sysClass.empty()) {
    if (!GetClassInfoA(nullptr, sysClass.c_str(), &wc))
      throw EOutOfResources("Unknown window class " + sysClass);
    wc.style &= ~UINT(CS_GLOBALCLASS);
  } else {
    wc.lpfnWndProc = DefWindowProcA;
    wc.style = style;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  }
  WNDPROC def = wc.lpfnWndProc;
  wc.lpfnWndProc = TkWindowProc;
  wc.hInstance = TkInstance();
  wc.lpszClassName = name.c_str();
  if (!RegisterClassA(&wc)) throw EOutOfResources("Cannot register window class " + name);
  ClassProcs()[name] = def;
  return def;
}

LPCSTR CursorResource(TCursor c) {
  switch (c) {
    case crIBeam:
      return IDC_IBEAM;
    case crHandPoint:
      return IDC_HAND;
    case crHourGlass:
      return IDC_WAIT;
    case crSizeAll:
      return IDC_SIZEALL;
    default:
      return IDC_ARROW;
  }
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL; }

}  // namespace

HINSTANCE TkInstance() {
  static HINSTANCE inst = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    return GetModuleHandleA(nullptr);
  }();
  return inst;
}

TShiftState MouseShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

bool IsAccel(unsigned Char, const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return CharUpperA(reinterpret_cast<LPSTR>(uintptr_t(Char & 0xFF))) ==
           CharUpperA(reinterpret_cast<LPSTR>(uintptr_t(static_cast<unsigned char>(Caption[i + 1]))));
  }
  return false;
}

void HandleWindowException() {
  try {
    throw;
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e.what());
  } catch (...) {
    if (Application) Application->HandleException("Unknown failure");
  }
}

// The one window procedure of every toolkit window: binds the window to its control on the first
// message and hands each message to the control's message method. Failures stop here: they cannot
// travel through the system's frames, so they go to the application's general error report.
LRESULT CALLBACK TkWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWinControl* control = TWinControl::FindControl(wnd);
  if (!control && CreationControl) {
    control = CreationControl;
    CreationControl = nullptr;
    control->FHandle = wnd;
    BoundControls().Set(wnd, control);
  }
  if (!control) {
    char cls[256] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    auto it = ClassProcs().find(cls);
    return CallWindowProcA(it != ClassProcs().end() ? it->second : DefWindowProcA, wnd, msg, wp, lp);
  }
  TMessage m{msg, wp, lp, 0};
  try {
    control->WindowProc(m);
  } catch (...) {
    HandleWindowException();
  }
  if (msg == WM_NCDESTROY) {
    BoundControls().Remove(wnd);
    if (control->FHandle == wnd) control->FHandle = nullptr;
  }
  return m.Result;
}

// ---- TControl -----------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  WindowProc = MakeWndMethod<&TControl::WndProc>(this);
  FFont->OnChange = [this](TObject*) {
    if (!FFontFromParent) FParentFont = false;
    Perform(CM_FONTCHANGED);
  };
}

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* parent = ObjectAs<TWinControl>(Value)) SetParent(parent);
}

TControl::~TControl() {
  if (Application) Application->CancelHint(this);
  // Owned components (engine objects among them) go while this control is whole: they may put
  // back its message method.
  DestroyComponents();
  if (FParent) FParent->RemoveControl(this);
  FreeLetGoMessageMethods(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT:
      FText = reinterpret_cast<const char*>(Message.LParam);
      Message.Result = TRUE;
      break;
    case WM_GETTEXTLENGTH:
      Message.Result = LRESULT(FText.size());
      break;
    case WM_GETTEXT:
      if (Message.WParam > 0) {
        size_t n = std::min<size_t>(FText.size(), Message.WParam - 1);
        std::memcpy(reinterpret_cast<char*>(Message.LParam), FText.data(), n);
        reinterpret_cast<char*>(Message.LParam)[n] = 0;
        Message.Result = LRESULT(n);
      }
      break;
  }
}

void TControl::WndProc(TMessage& Message) {
  if (IsMouseMessage(Message.Msg)) {
    MouseMessage(Message);
    return;
  }
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      ControlState |= csMouseInside;
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      ControlState &= ~csMouseInside;
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    case CM_ENABLEDCHANGED:
      EnabledChanged();
      break;
    case CM_VISIBLECHANGED:
      VisibleChanged();
      break;
    case CM_TEXTCHANGED:
      TextChanged();
      break;
    case CM_COLORCHANGED:
      ColorChanged();
      break;
    case CM_FONTCHANGED:
      FontChanged();
      break;
    case CM_PARENTFONTCHANGED:
      ParentFontChanged();
      break;
    case CM_PARENTCOLORCHANGED:
      ParentColorChanged();
      break;
    case WM_CONTEXTMENU:
      if (!ContextPopup(Message.LParam)) DefaultHandler(Message);
      break;
    default:
      DefaultHandler(Message);
  }
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

bool TControl::ContextPopup(LPARAM Point) {
  if (!FPopupMenu || !FPopupMenu->AutoPopup) return false;
  POINT p{GET_X_LPARAM(Point), GET_Y_LPARAM(Point)};
  if (p.x == -1 && p.y == -1) {
    p = {FWidth / 2, FHeight / 2};
    auto* window = ObjectAs<TWinControl>(this);
    if (!window) {
      window = FParent;
      p.x += FLeft;
      p.y += FTop;
    }
    if (window) ClientToScreen(window->Handle(), &p);
  }
  FPopupMenu->PopupComponent = this;
  FPopupMenu->Popup(p.x, p.y);
  return true;
}

void TControl::MouseMessage(TMessage& Message) {
  DefaultHandler(Message);
  int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
  TShiftState shift = MouseShiftState(Message.WParam);
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      MouseMove(shift, x, y);
      break;
    case WM_LBUTTONDOWN:
      ControlState |= csLButtonDown | csClicked;
      MouseDown(mbLeft, shift, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      DblClick();
      MouseDown(mbLeft, shift | ssDouble, x, y);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      MouseDown(mbRight, shift, x, y);
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      MouseDown(mbMiddle, shift, x, y);
      break;
    case WM_LBUTTONUP: {
      bool clicked = (ControlState & csClicked) != 0;
      ControlState &= ~(csLButtonDown | csClicked);
      MouseUp(mbLeft, shift, x, y);
      if (clicked && ClickOnMouseUp() && x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
      break;
    }
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, x, y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, x, y);
      break;
  }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = std::max(AWidth, 0);
  FHeight = std::max(AHeight, 0);
  Invalidate();
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetVisible(bool value) {
  if (FVisible == value) return;
  if (!value) Invalidate();
  FVisible = value;
  Perform(CM_VISIBLECHANGED, value);
}

void TControl::VisibleChanged() {
  Invalidate();
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TControl::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& value) {
  if (GetText() == value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor value) {
  FParentColor = false;
  if (FColor == value) return;
  FColor = value;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  if (value && FParent) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent) return;
  FColor = FParent->Color();
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  // Taking the parent's font is not a change of our own: ParentFont stays set.
  FFontFromParent = true;
  FFont->Assign(FParent->Font());
  FFontFromParent = false;
}

void TControl::SetAlign(TAlign value) {
  if (FAlign == value) return;
  FAlign = value;
  if (FParent) FParent->AlignControls();
}

void TControl::Invalidate() {
  // A windowed control repaints its own window; one without is repainted by its parent.
  if (auto* w = ObjectAs<TWinControl>(this)) {
    if (w->FHandle) InvalidateRect(w->FHandle, nullptr, TRUE);
    return;
  }
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  RECT r = BoundsRect();
  InvalidateRect(FParent->FHandle, &r, TRUE);
}

void TControl::Update() {
  auto* w = ObjectAs<TWinControl>(this);
  if (!w) w = FParent;
  if (w && w->HandleAllocated()) UpdateWindow(w->FHandle);
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto* w = ObjectAs<TWinControl>(this); w && w->HandleAllocated()) w->SetZOrder(true);
  Invalidate();
}

// ---- TWinControl --------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->ControlGoing(this);
  if (FHandle) DestroyWindow(FHandle);
  // A window that went without a word to its procedure leaves no binding to a control that is gone.
  if (FHandle && BoundControls().Get(FHandle) == this) BoundControls().Remove(FHandle);
  while (!FControls.empty()) delete FControls.back();
  if (FBrush) DeleteObject(FBrush);
}

TWinControl* TWinControl::FindControl(HWND wnd) { return BoundControls().Get(wnd); }

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FVisible) Params.Style |= WS_VISIBLE;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (TabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : nullptr;
  Params.WinClassName = ClassName();
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateWnd();
  return FHandle;
}

void TWinControl::CreateWnd() {
  if (!FParent && !Is<TCustomForm>())
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  TCreateParams p;
  CreateParams(p);
  if (FHandle) return;  // the parent's creation made ours already
  FDefWndProc = RegisterToolkitClass(p.WinClassName, p.SysClassName, p.ClassStyle);
  CreateWindowHandle(p);
  if (!FHandle) throw EOutOfResources("Error creating window " + p.WinClassName);
  // The system makes a child below its siblings: it goes on top, as the last one made. A new
  // top-level window is on top already, and moving one is dear under Wine.
  if (p.Style & WS_CHILD)
    SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageA(FHandle, WM_SETFONT, WPARAM(FontHandle()), FALSE);
  InitializeWnd();
  UpdateBounds();
  for (TControl* c : std::vector<TControl*>(FControls))
    if (auto* w = ObjectAs<TWinControl>(c)) w->HandleNeeded();
  AlignControls();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  CreationControl = this;
  HWND wnd = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                             p.Height, p.WndParent, nullptr, TkInstance(), nullptr);
  CreationControl = nullptr;
  if (!wnd) FHandle = nullptr;
}

void TWinControl::DestroyWnd() { FText = GetText(); }

void TWinControl::SaveWindowState() {
  for (TControl* c : FControls)
    if (auto* w = ObjectAs<TWinControl>(c); w && w->FHandle) w->SaveWindowState();
  DestroyWnd();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  // The system destroys the children's windows with ours: each keeps what it must first.
  SaveWindowState();
  DestroyWindow(FHandle);
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  DestroyHandle();
  HandleNeeded();
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  Message.Result = CallWindowProcA(FDefWndProc ? FDefWndProc : DefWindowProcA, FHandle, Message.Msg,
                                   Message.WParam, Message.LParam);
}

std::string TWinControl::GetText() const {
  if (!FHandle) return FText;
  int n = GetWindowTextLengthA(FHandle);
  std::string s(size_t(n) + 1, '\0');
  n = GetWindowTextA(FHandle, s.data(), n + 1);
  s.resize(size_t(std::max(n, 0)));
  return s;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      WMPaint(Message);
      return;
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
      WMCommandAndNotify(Message);
      return;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      WMCtlColor(Message);
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      CNCtlColor(Message);
      return;
    case WM_SETCURSOR:
      WMSetCursor(Message);
      return;
    case WM_MOUSELEAVE:
      WMMouseLeave(Message);
      return;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(Message);
      UpdateBounds();
      return;
    case WM_SIZE:
      DefaultHandler(Message);
      UpdateBounds();
      AlignControls();
      return;
    case WM_SETFOCUS:
      DefaultHandler(Message);
      if (TCustomForm* form = GetParentForm(this); form && form != this) form->FocusEntered(this);
      Perform(CM_ENTER);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(Message);
      Perform(CM_EXIT);
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      // Offered to the children until one takes it.
      for (TControl* c : std::vector<TControl*>(FControls)) {
        if (!c->Visible() || !c->Enabled()) continue;
        Message.Result = c->Perform(Message.Msg, Message.WParam, Message.LParam);
        if (Message.Result) return;
      }
      return;
    case CM_ENTER:
    case CM_EXIT:
      return;
  }
  if (IsMouseMessage(Message.Msg)) {
    // The system reports the pointer leaving; entering is the first move seen inside.
    if (Message.Msg == WM_MOUSEMOVE) {
      if (!FTrackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
        FTrackingLeave = TrackMouseEvent(&tme) != FALSE;
      }
      if (!(ControlState & csMouseInside)) {
        ControlState |= csMouseInside;
        Perform(CM_MOUSEENTER);
      }
    }
    if (IsControlMouseMsg(Message)) return;
  }
  TControl::WndProc(Message);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  POINT pt{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(pt);
  if (Message.Msg == WM_MOUSEMOVE && target != FMouseControl) {
    TControl* old = FMouseControl;
    FMouseControl = target;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (target) target->Perform(CM_MOUSEENTER);
  }
  if (!target) return false;
  bool down = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN ||
              Message.Msg == WM_MBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
  bool up = Message.Msg == WM_LBUTTONUP || Message.Msg == WM_RBUTTONUP || Message.Msg == WM_MBUTTONUP;
  if (down) {
    FCaptureControl = target;
    SetCapture(FHandle);
  }
  Message.Result =
      target->Perform(Message.Msg, Message.WParam, MAKELPARAM(pt.x - target->Left(), pt.y - target->Top()));
  if (up && FCaptureControl) {
    FCaptureControl = nullptr;
    if (GetCapture() == FHandle) ReleaseCapture();
  }
  return true;
}

void TWinControl::WMMouseLeave(TMessage& Message) {
  FTrackingLeave = false;
  if (TControl* old = FMouseControl) {
    FMouseControl = nullptr;
    old->Perform(CM_MOUSELEAVE);
  }
  if (ControlState & csMouseInside) {
    ControlState &= ~csMouseInside;
    Perform(CM_MOUSELEAVE);
  }
  DefaultHandler(Message);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == FHandle) {
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(FHandle, &pt);
    TControl* c = ControlAtPos(pt);
    TCursor cur = c && c->Cursor != crDefault ? c->Cursor : Cursor;
    if (cur != crDefault) {
      SetCursor(LoadCursor(nullptr, CursorResource(cur)));
      Message.Result = TRUE;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::WMCommandAndNotify(TMessage& Message) {
  HWND child = nullptr;
  switch (Message.Msg) {
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    default:
      child = reinterpret_cast<HWND>(Message.LParam);
  }
  TWinControl* target = child != FHandle ? FindControl(child) : nullptr;
  if (target) {
    Message.Result = target->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::WMCtlColor(TMessage& Message) {
  TWinControl* target = FindControl(reinterpret_cast<HWND>(Message.LParam));
  if (target && target != this)
    Message.Result = target->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  else
    DefaultHandler(Message);
}

void TWinControl::CNCtlColor(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  SetTextColor(dc, ColorToCOLORREF(FFont->Color()));
  SetBkColor(dc, ColorToCOLORREF(FColor));
  Message.Result = reinterpret_cast<LRESULT>(Brush());
}

HBRUSH TWinControl::Brush() {
  if (!FBrush) FBrush = CreateSolidBrush(ColorToCOLORREF(FColor));
  return FBrush;
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  RECT r;
  GetClientRect(FHandle, &r);
  FillRect(reinterpret_cast<HDC>(Message.WParam), &r, Brush());
  Message.Result = 1;
}

namespace {
// A paint in progress, ended however the painting ends: a paint left open would come back at once.
struct TPaintScope {
  HWND Wnd;
  PAINTSTRUCT Ps{};
  HDC DC;
  explicit TPaintScope(HWND wnd) : Wnd(wnd), DC(BeginPaint(wnd, &Ps)) {}
  ~TPaintScope() { EndPaint(Wnd, &Ps); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
};

// An off-screen bitmap the size of a client area, selected into a memory context of its own.
struct TOffscreen {
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TOffscreen(HDC like, int width, int height)
      : DC(CreateCompatibleDC(like)),
        Bitmap(CreateCompatibleBitmap(like, std::max(width, 1), std::max(height, 1))),
        Old(SelectObject(DC, Bitmap)) {}
  ~TOffscreen() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  TOffscreen(const TOffscreen&) = delete;
  TOffscreen& operator=(const TOffscreen&) = delete;
};
}  // namespace

void TWinControl::WMPaint(TMessage& Message) {
  if (!Message.WParam && DoubleBuffered) {
    // Erase and paint into an off-screen bitmap, both through the message method, then copy it.
    TPaintScope paint(FHandle);
    RECT r;
    GetClientRect(FHandle, &r);
    TOffscreen mem(paint.DC, r.right, r.bottom);
    Perform(WM_ERASEBKGND, WPARAM(mem.DC));
    Perform(WM_PAINT, WPARAM(mem.DC));
    BitBlt(paint.DC, 0, 0, r.right, r.bottom, mem.DC, 0, 0, SRCCOPY);
    return;
  }
  bool graphicChildren =
      std::any_of(FControls.begin(), FControls.end(), [](TControl* c) { return !c->Is<TWinControl>(); });
  if (!graphicChildren && !Is<TCustomControl>()) {
    DefaultHandler(Message);
    return;
  }
  if (Message.WParam) {
    PaintWindow(reinterpret_cast<HDC>(Message.WParam));
    PaintControls(reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  TPaintScope paint(FHandle);
  PaintWindow(paint.DC);
  PaintControls(paint.DC);
}

void TWinControl::PaintWindow(HDC dc) {
  // A system control paints itself into the given context; a plain window has nothing to paint.
  if (FDefWndProc && FDefWndProc != DefWindowProcA) {
    TMessage m{WM_PAINT, WPARAM(dc), 0, 0};
    DefaultHandler(m);
  }
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : FControls) {
    if (c->Is<TWinControl>() || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    int saved = SaveDC(dc);
    POINT org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x - r.left, org.y - r.top, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    c->Perform(WM_PAINT, WPARAM(dc));
    RestoreDC(dc, saved);
  }
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  FControls.push_back(AControl);
  if (auto* w = ObjectAs<TWinControl>(AControl)) {
    FTabList.push_back(w);
    if (FHandle) w->HandleNeeded();
  }
  AControl->Perform(CM_PARENTCOLORCHANGED);
  AControl->Perform(CM_PARENTFONTCHANGED);
  if (AControl->FAlign != alNone) AlignControls();
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  AControl->Invalidate();
  if (auto* w = ObjectAs<TWinControl>(AControl)) {
    if (w->FHandle) w->DestroyHandle();
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
  }
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  if (FMouseControl == AControl) FMouseControl = nullptr;
  if (FCaptureControl == AControl) FCaptureControl = nullptr;
  AControl->FParent = nullptr;
  if (AControl->FAlign != alNone) AlignControls();
}

TControl* TWinControl::ControlAtPos(POINT pt, bool AllowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (c->Is<TWinControl>() || !c->Visible() || (!c->Enabled() && !AllowDisabled)) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, pt)) return c;
  }
  return nullptr;
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, FWidth, FHeight};
  if (FHandle) GetClientRect(FHandle, &r);
  return r;
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::AlignControls() {
  if (FRealigning) return;
  FRealigning = true;
  RECT r = ClientRect();
  AdjustClientRect(r);
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->FAlign == a && c->FVisible) list.push_back(c);
    // Within one side, the control nearer the edge goes first.
    std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
      switch (a) {
        case alTop:
          return x->FTop < y->FTop;
        case alBottom:
          return x->FTop + x->FHeight > y->FTop + y->FHeight;
        case alLeft:
          return x->FLeft < y->FLeft;
        case alRight:
          return x->FLeft + x->FWidth > y->FLeft + y->FWidth;
        default:
          return false;
      }
    });
    for (TControl* c : list) {
      int w = r.right - r.left, h = r.bottom - r.top;
      switch (a) {
        case alTop:
          c->SetBounds(r.left, r.top, w, c->FHeight);
          r.top += c->FHeight;
          break;
        case alBottom:
          c->SetBounds(r.left, r.bottom - c->FHeight, w, c->FHeight);
          r.bottom -= c->FHeight;
          break;
        case alLeft:
          c->SetBounds(r.left, r.top, c->FWidth, h);
          r.left += c->FWidth;
          break;
        case alRight:
          c->SetBounds(r.right - c->FWidth, r.top, c->FWidth, h);
          r.right -= c->FWidth;
          break;
        default:
          c->SetBounds(r.left, r.top, w, h);
      }
    }
  }
  FRealigning = false;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool resized = AWidth != FWidth || AHeight != FHeight;
  if (FHandle) {
    // The window reports its new place back through WM_WINDOWPOSCHANGED.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = std::max(AWidth, 0);
    FHeight = std::max(AHeight, 0);
    if (resized) AlignControls();
  }
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  if (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.right - r.left;
  FHeight = r.bottom - r.top;
}

bool TWinControl::Showing() const {
  if (!FHandle) return false;
  return IsWindowVisible(FHandle) != FALSE;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->FParent)
    if (!c->FVisible || !c->FEnabled) return false;
  return true;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  list.erase(std::find(list.begin(), list.end(), this));
  value = std::clamp(value, 0, int(list.size()));
  list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* c : FTabList) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = int(list.size());
  int start = int(std::find(list.begin(), list.end(), CurControl) - list.begin());
  if (start == n) start = GoForward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    int i = GoForward ? (start + step) % n : (start - step + n) % n;
    TWinControl* c = list[size_t(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop)) return c;
  }
  return nullptr;
}

void TWinControl::SetZOrder(bool TopMost) {
  if (FHandle)
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::TextChanged() { Invalidate(); }

void TWinControl::ColorChanged() {
  if (FBrush) {
    DeleteObject(FBrush);
    FBrush = nullptr;
  }
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
  for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::FontChanged() {
  if (FHandle) {
    SendMessageA(FHandle, WM_SETFONT, WPARAM(FontHandle()), TRUE);
    InvalidateRect(FHandle, nullptr, TRUE);
  }
  for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::ParentColorChanged() {
  if (!FParentColor || !FParent) return;
  FColor = FParent->Color();
  Perform(CM_COLORCHANGED);
}

void TWinControl::EnabledChanged() {
  if (FHandle) EnableWindow(FHandle, FEnabled);
}

void TWinControl::VisibleChanged() {
  if (FHandle)
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (FVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  if (FParent && FAlign != alNone) FParent->AlignControls();
}

// ---- TGraphicControl and TCustomControl ---------------------------------------------------------

void PaintOnCanvas(TCanvas* canvas, HDC dc, const std::function<void()>& paint) {
  int saved = SaveDC(dc);
  canvas->SetHandle(dc);
  try {
    paint();
  } catch (...) {
    canvas->SetHandle(nullptr);
    RestoreDC(dc, saved);
    throw;
  }
  canvas->SetHandle(nullptr);
  RestoreDC(dc, saved);
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_PAINT && Message.WParam) {
    FCanvas->SetFont(Font());
    PaintOnCanvas(FCanvas.get(), reinterpret_cast<HDC>(Message.WParam), [this] { Paint(); });
    return;
  }
  TControl::WndProc(Message);
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
  FCanvas->SetFont(Font());
  FCanvas->Brush()->SetColor(FColor);
  PaintOnCanvas(FCanvas.get(), dc, [this] { Paint(); });
}

// ---- Form descriptions --------------------------------------------------------------------------

const std::vector<std::pair<std::string, int32_t>>& ColorIdents() {
  static const TIdentMap idents = {
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clActiveBorder", clActiveBorder},
      {"clInactiveBorder", clInactiveBorder},
      {"clAppWorkSpace", clAppWorkSpace},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clInactiveCaptionText", clInactiveCaptionText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clHotLight", clHotLight},
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clOlive", clOlive},
      {"clNavy", clNavy},
      {"clPurple", clPurple},
      {"clTeal", clTeal},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clRed", clRed},
      {"clLime", clLime},
      {"clYellow", clYellow},
      {"clBlue", clBlue},
      {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},
      {"clWhite", clWhite},
      {"clNone", clNone},
      {"clDefault", clDefault},
  };
  return idents;
}

namespace {
// A picture's or bitmap's data as the description stores it.
template <class T>
void ReadGraphicData(T* target, const TValue& v) {
  const std::string& bytes = v.AsBinary();
  TMemoryStream data;
  data.WriteBuffer(bytes.data(), int32_t(bytes.size()));
  data.SetPosition(0);
  target->ReadData(&data);
}
}  // namespace

void RegisterControls() {
  static const TIdentMap aligns = {{"alNone", alNone}, {"alTop", alTop},     {"alBottom", alBottom},
                                   {"alLeft", alLeft}, {"alRight", alRight}, {"alClient", alClient}};
  static const TIdentMap cursors = {{"crDefault", crDefault},     {"crArrow", crArrow},
                                    {"crIBeam", crIBeam},         {"crSizeAll", crSizeAll},
                                    {"crHandPoint", crHandPoint}, {"crHourGlass", crHourGlass}};
  static const TIdentMap fontStyles = {
      {"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2}, {"fsStrikeOut", 3}};
  // Values the description carries for the designer's sake only.
  auto ignore = [](auto*, const TValue&, TReader&) {};

  // A component without a window keeps the designer's place for it in Left and Top.
  Published<TComponent>().Property("Tag", &TComponent::Tag).Custom("Left", ignore).Custom("Top", ignore);
  Published<TFont>()
      .Property("Name", &TFont::SetName)
      .Property("Height", &TFont::SetHeight)
      .Property("Size", &TFont::SetSize)
      .Property("Color", &TFont::SetColor, ColorIdents())
      .Property("Charset", &TFont::SetCharset,
                {{"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"ANSI_CHARSET", ANSI_CHARSET}})
      .Custom("Style", [](TFont* f, const TValue& v, TReader&) {
        // Set elements are bit numbers here; the font's style is a bit mask.
        uint32_t bits = ValueToSet(v, fontStyles);
        f->SetStyle(TFontStyles(bits));
      });
  Published<TPicture>().Custom("Data", [](TPicture* p, const TValue& v, TReader&) { ReadGraphicData(p, v); });
  Published<TBitmap>().Custom("Data", [](TBitmap* b, const TValue& v, TReader&) { ReadGraphicData(b, v); });

  Published<TControl>()
      .Property("Left", &TControl::SetLeft)
      .Property("Top", &TControl::SetTop)
      .Property("Width", &TControl::SetWidth)
      .Property("Height", &TControl::SetHeight)
      .Property("Caption", &TControl::SetCaption)
      .Property("Text", &TControl::SetText)
      .Property("Visible", &TControl::SetVisible)
      .Property("Enabled", &TControl::SetEnabled)
      .Property("Color", &TControl::SetColor, ColorIdents())
      .Property("ParentColor", &TControl::SetParentColor)
      .Property("ParentFont", &TControl::SetParentFont)
      .Object("Font", [](TControl* c) -> TPersistent* { return c->Font(); })
      .Property("Hint", &TControl::Hint)
      .Property("ShowHint", &TControl::ShowHint)
      .Custom("ParentShowHint", ignore)
      .Property("Align", &TControl::SetAlign, aligns)
      .Property("Cursor", &TControl::Cursor, cursors)
      .Event("OnClick", &TControl::OnClick)
      .Event("OnDblClick", &TControl::OnDblClick)
      .Event("OnMouseDown", &TControl::OnMouseDown)
      .Event("OnMouseUp", &TControl::OnMouseUp)
      .Event("OnMouseMove", &TControl::OnMouseMove)
      .Event("OnMouseEnter", &TControl::OnMouseEnter)
      .Event("OnMouseLeave", &TControl::OnMouseLeave)
      .Reference("PopupMenu", &TControl::SetPopupMenu);
  Published<TWinControl>()
      .Property("TabOrder", &TWinControl::SetTabOrder)
      .Property("TabStop", &TWinControl::TabStop)
      .Property("DoubleBuffered", &TWinControl::DoubleBuffered);
}
