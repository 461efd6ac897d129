#include "tk/Forms.h"

#include <commctrl.h>

#include <algorithm>

#include "tk/AppEvnts.h"
#include "tk/Buttons.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/FormReader.h"
#include "tk/Menus.h"
#include "tk/Dialogs.h"
#include "tk/StdCtrls.h"
#include "tk/Tabs.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

namespace {

// A form being shown counts as shown even while its window holds its first paint back (and is not
// visible to the system meanwhile): for the modal disable, its active control and its activation.
bool ShownWindow(HWND wnd) {
  if (IsWindowVisible(wnd)) return true;
  auto* form = ObjectAs<TCustomForm>(TWinControl::FindControl(wnd));
  return form && form->Visible();
}

BOOL CALLBACK CollectTaskWindow(HWND wnd, LPARAM lp) {
  auto* ctx = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(lp);
  if (wnd != ctx->first && ShownWindow(wnd) && IsWindowEnabled(wnd)) ctx->second->push_back(wnd);
  return TRUE;
}

}  // namespace

void DoneApplication() {
  delete Application;
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
  RunFinalizations();
}

TTaskWindows DisableTaskWindows(HWND Except) {
  TTaskWindows windows;
  windows.Active = GetActiveWindow();
  std::pair<HWND, std::vector<HWND>*> ctx{Except, &windows.Disabled};
  EnumThreadWindows(GetCurrentThreadId(), CollectTaskWindow, reinterpret_cast<LPARAM>(&ctx));
  for (HWND w : windows.Disabled) EnableWindow(w, FALSE);
  return windows;
}

void EnableTaskWindows(const TTaskWindows& Windows) {
  for (HWND w : Windows.Disabled)
    if (IsWindow(w)) EnableWindow(w, TRUE);
}

void RestoreActiveWindow(const TTaskWindows& Windows) {
  if (Windows.Active && IsWindow(Windows.Active)) SetActiveWindow(Windows.Active);
}

TCustomForm* GetParentForm(TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return ObjectAs<TCustomForm>(Control);
}

// ---- TApplication -------------------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  // Until the program names itself, the title is its file name without the extension.
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  name = name.substr(name.find_last_of("\\/") + 1);
  FTitle = name.substr(0, name.rfind('.'));
}

TApplication::~TApplication() {
  DestroyComponents();
  if (FHintWindow) DestroyWindow(FHintWindow);
  if (FHandle) {
    SetWindowLongPtrA(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
}

HWND TApplication::Handle() {
  if (!FHandle) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = TkInstance();
    wc.lpszClassName = "TApplication";
    RegisterClassA(&wc);
    // Empty and just off the screen's top left: only its taskbar entry is ever seen. (On the screen,
    // Wine would show a window of no size as a one-pixel window, under the pointer in the middle.)
    FHandle =
        CreateWindowExA(0, "TApplication", FTitle.c_str(),
                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                        GetSystemMetrics(SM_XVIRTUALSCREEN) - 1, GetSystemMetrics(SM_YVIRTUALSCREEN) - 1, 0,
                        0, nullptr, nullptr, TkInstance(), nullptr);
    SetWindowLongPtrA(FHandle, GWLP_USERDATA, LONG_PTR(this));
  }
  return FHandle;
}

LRESULT CALLBACK TApplication::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TApplication*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (self) switch (msg) {
      case WM_SYSCOMMAND:
        // What the taskbar entry and the application's system menu ask for.
        if ((wp & 0xFFF0) == SC_MINIMIZE) {
          self->Minimize();
          return 0;
        }
        if ((wp & 0xFFF0) == SC_RESTORE && IsIconic(wnd)) {
          self->Restore();
          return 0;
        }
        break;
      case WM_SIZE:
        // However the window was minimised or came back, its forms go and come back with it.
        if (wp == SIZE_MINIMIZED && !self->FMinimized) {
          self->FMinimized = true;
          ShowOwnedPopups(wnd, FALSE);
        } else if (wp != SIZE_MINIMIZED && self->FMinimized) {
          self->FMinimized = false;
          ShowOwnedPopups(wnd, TRUE);
        }
        break;
      case WM_ACTIVATE:
        // Nothing of the empty window can be used: the activation goes on to a form once the
        // system is done activating.
        if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) PostMessageA(wnd, CM_ENTER, 0, 0);
        break;
      case CM_ENTER:
        if (GetActiveWindow() == wnd && !IsIconic(wnd)) self->ActivateLastForm();
        return 0;
      case WM_CLOSE:
        if (self->FMainForm) self->FMainForm->Close();
        return 0;
    }
  return DefWindowProcA(wnd, msg, wp, lp);
}

void TApplication::Minimize() {
  HWND wnd = Handle();
  if (!IsIconic(wnd)) ShowWindow(wnd, SW_MINIMIZE);
}

void TApplication::Restore() {
  HWND wnd = Handle();
  if (IsIconic(wnd)) ShowWindow(wnd, SW_RESTORE);
}

void TApplication::ActivateLastForm() {
  // The form that was active last, which is the modal one while one is up. Activated within this
  // program only: the foreground is never taken from another one.
  HWND last = GetLastActivePopup(FHandle);
  if (last == FHandle && FMainForm && FMainForm->HandleAllocated()) last = FMainForm->Handle();
  if (last != FHandle && ShownWindow(last) && IsWindowEnabled(last)) SetActiveWindow(last);
}

void TApplication::UpdateVisible() {
  if (!FHandle || !Screen) return;
  bool visible = false;
  for (int i = 0; i < Screen->FormCount() && !visible; ++i) visible = Screen->Forms(i)->Visible();
  if (bool(IsWindowVisible(FHandle)) == visible) return;
  SetWindowPos(
      FHandle, nullptr, 0, 0, 0, 0,
      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TApplication::SetTitle(const std::string& value) {
  FTitle = value;
  if (FHandle) SetWindowTextA(FHandle, value.c_str());
}

void TApplication::Initialize() { Handle(); }

void TApplication::FinishCreateForm(TCustomForm* form) {
  try {
    form->AfterConstruction();
  } catch (...) {
    delete form;
    throw;
  }
  if (!FMainForm) FMainForm = form;
}

void TApplication::Run() {
  // The first showing runs the main form's OnShow outside any window procedure: what escapes it is
  // reported as what escapes a message, and the loop goes on.
  try {
    if (FMainForm) FMainForm->Show();
  } catch (const std::exception& e) {
    HandleException(e.what());
  }
  do {
    HandleMessage();
  } while (!FTerminated);
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg) && !FTerminated) WaitMessage();
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  try {
    for (TApplicationEvents* e : std::vector<TApplicationEvents*>(FEventHandlers)) {
      e->DoMessage(msg, handled);
      if (handled) break;
    }
    if (!handled && OnMessage) OnMessage(msg, handled);
  } catch (const std::exception& e) {
    HandleException(e.what());
    handled = true;
  }
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) RelayHint(msg);
  if (!handled && !IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

// Keys that move between controls or press the default and cancel buttons go to the form first.
bool TApplication::IsKeyMsg(MSG& msg) {
  UINT what = 0;
  if (msg.message == WM_KEYDOWN &&
      (msg.wParam == VK_TAB || msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
    what = CM_DIALOGKEY;
  else if (msg.message == WM_SYSCHAR)
    what = CM_DIALOGCHAR;
  if (!what) return false;
  TWinControl* control = nullptr;
  for (HWND w = msg.hwnd; w && !control; w = GetParent(w)) control = TWinControl::FindControl(w);
  TCustomForm* form = GetParentForm(control);
  if (!form) return false;
  if (what == CM_DIALOGKEY) {
    LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, LPARAM(&msg));
    if (code & DLGC_WANTALLKEYS) return false;
    if (msg.wParam == VK_TAB && (code & DLGC_WANTTAB)) return false;
  }
  return form->Perform(what, msg.wParam, msg.lParam) != 0;
}

void TApplication::RelayHint(MSG& msg) {
  TWinControl* window = TWinControl::FindControl(msg.hwnd);
  TControl* control = window;
  if (window) {
    POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (TControl* inner = window->ControlAtPos(pt)) control = inner;
  }
  TControl* target = control && control->ShowHint && !control->Hint.empty() ? control : nullptr;
  if (target != FHintControl) {
    if (!FHintWindow)
      FHintWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, TkInstance(), nullptr);
    // One tool at a time: the one for the control under the mouse, on the window it is seen in.
    RemoveHintTools();
    FHintControl = target;
    if (target) {
      FHintText = target->Hint;
      TOOLINFOA ti{};
      ti.cbSize = sizeof ti;
      ti.hwnd = msg.hwnd;
      ti.uId = 1;
      ti.lpszText = FHintText.data();
      if (target == window)
        GetClientRect(msg.hwnd, &ti.rect);
      else
        ti.rect = target->BoundsRect();
      SendMessageA(FHintWindow, TTM_ADDTOOLA, 0, LPARAM(&ti));
    }
  }
  if (FHintControl) SendMessageA(FHintWindow, TTM_RELAYEVENT, 0, LPARAM(&msg));
}

void TApplication::CancelHint(TControl* Control) {
  if (FHintControl != Control) return;
  FHintControl = nullptr;
  RemoveHintTools();
}

void TApplication::RemoveHintTools() {
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  while (FHintWindow && SendMessageA(FHintWindow, TTM_ENUMTOOLSA, 0, LPARAM(&ti)))
    SendMessageA(FHintWindow, TTM_DELTOOLA, 0, LPARAM(&ti));
}

void TApplication::HandleException(const std::string& Text) {
  // A failure inside the report's own box (it pumps messages) must not open a second one.
  if (FHandlingException) return;
  FHandlingException = true;
  ShowException(Text);
  FHandlingException = false;
}

void TApplication::ShowException(const std::string& Text) {
  TaskMessageBox(Text, FTitle, MB_OK | MB_ICONSTOP);
}

// ---- TCustomForm --------------------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  static const bool registered = (RegisterToolkitClasses(), true);
  (void)registered;
  FVisible = false;
  FWidth = 320;
  FHeight = 240;
  Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
  // Out of sight first, so nothing of it is seen while it goes.
  if (FHandle) ShowWindow(FHandle, SW_HIDE);
  FVisible = false;
  if (Application) Application->UpdateVisible();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (const std::exception& e) {
      if (Application) Application->HandleException(e.what());
    }
  }
  // A form owned by nothing may outlive the application and the screen.
  if (Screen) {
    auto& forms = Screen->FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Screen->FActiveForm == this) Screen->FActiveForm = nullptr;
  }
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  // The window goes before the components: one that took it over sees it go and lets go of it.
  SetState(csDestroying);
  DestroyHandle();
  DestroyComponents();
}

void TCustomForm::AfterConstruction() {
  if (FCreated) return;
  FCreated = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (FBorderStyle == value) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (FBorderIcons == value) return;
  FBorderIcons = value;
  RecreateWnd();
}

void TCustomForm::SetAlphaBlend(bool value) {
  FAlphaBlend = value;
  RecreateWnd();
}

void TCustomForm::SetAlphaBlendValue(uint8_t value) {
  FAlphaBlendValue = value;
  if (FHandle && FAlphaBlend) SetLayeredWindowAttributes(FHandle, 0, value, LWA_ALPHA);
}

void TCustomForm::FrameStyles(DWORD& Style, DWORD& ExStyle) const {
  Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  ExStyle = 0;
  switch (FBorderStyle) {
    case bsNone:
      Style |= WS_POPUP;
      break;
    case bsSingle:
      Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
      Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Style |= WS_CAPTION;
      ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Style |= WS_CAPTION | WS_THICKFRAME;
      ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone && (FBorderIcons & biSystemMenu)) {
    Style |= WS_SYSMENU;
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
      if (FBorderIcons & biMinimize) Style |= WS_MINIMIZEBOX;
      if (FBorderIcons & biMaximize) Style |= WS_MAXIMIZEBOX;
    }
  }
  if (FAlphaBlend) ExStyle |= WS_EX_LAYERED;
  if (FormStyle == fsStayOnTop) ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  FrameStyles(p.Style, p.ExStyle);
  if (!FEnabled) p.Style |= WS_DISABLED;
  // Every form is owned by the application window, whose taskbar entry stands for them all.
  if (!Parent()) p.WndParent = Application->Handle();
  if (FClientWidth >= 0 || FClientHeight >= 0) {
    RECT r{0, 0, std::max(FClientWidth, 0), std::max(FClientHeight, 0)};
    AdjustWindowRectEx(&r, p.Style, FMenu != nullptr, p.ExStyle);
    if (FClientWidth >= 0) p.Width = FWidth = r.right - r.left;
    if (FClientHeight >= 0) p.Height = FHeight = r.bottom - r.top;
  }
}

void TCustomForm::InitializeWnd() {
  AttachMenu();
  if (FAlphaBlend) SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA);
  // The frame the system draws may differ from the estimate: correct the client size.
  RECT c;
  GetClientRect(FHandle, &c);
  RECT w;
  GetWindowRect(FHandle, &w);
  int width = w.right - w.left, height = w.bottom - w.top;
  if (FClientWidth >= 0) width += FClientWidth - c.right;
  if (FClientHeight >= 0) height += FClientHeight - c.bottom;
  // Moving a top-level window is dear under Wine: only when the estimate was off.
  if (width != w.right - w.left || height != w.bottom - w.top)
    SetWindowPos(FHandle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::FrameSize(int& cx, int& cy) const {
  if (FHandle) {
    RECT c, w;
    GetClientRect(FHandle, &c);
    GetWindowRect(FHandle, &w);
    cx = (w.right - w.left) - c.right;
    cy = (w.bottom - w.top) - c.bottom;
    return;
  }
  DWORD style, exStyle;
  FrameStyles(style, exStyle);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FMenu != nullptr, exStyle);
  cx = r.right - r.left;
  cy = r.bottom - r.top;
}

RECT TCustomForm::ClientRect() const {
  if (FHandle) return TWinControl::ClientRect();
  int cx, cy;
  FrameSize(cx, cy);
  return {0, 0, std::max(FWidth - cx, 0), std::max(FHeight - cy, 0)};
}

void TCustomForm::SetClientWidth(int value) {
  int cx, cy;
  FrameSize(cx, cy);
  FClientWidth = FHandle ? -1 : value;
  SetWidth(value + cx);
}

void TCustomForm::SetClientHeight(int value) {
  int cx, cy;
  FrameSize(cx, cy);
  FClientHeight = FHandle ? -1 : value;
  SetHeight(value + cy);
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (Value == FMenu) return;
  if (FHandle) DetachMenu();
  FMenu = Value;
  if (Value) Value->FreeNotification(this);
  // Through the window, so whoever draws its menu bar sees the change.
  if (FHandle) SendMessageA(FHandle, CM_MENUCHANGED, 0, 0);
}

void TCustomForm::AttachMenu() {
  if (!FHandle) return;
  if (FMenu) FMenu->WindowHandle = FHandle;
  ::SetMenu(FHandle, FMenu ? FMenu->Handle() : nullptr);
}

void TCustomForm::DetachMenu() {
  if (FMenu && FMenu->WindowHandle == FHandle) FMenu->WindowHandle = nullptr;
  if (FHandle && FMenu && FMenu->Items()->HandleAllocated() && GetMenu(FHandle) == FMenu->Handle())
    ::SetMenu(FHandle, nullptr);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenu) {
    FMenu = nullptr;
    if (FHandle) SendMessageA(FHandle, CM_MENUCHANGED, 0, 0);
  }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  FActiveControl = control;
  if (control && FHandle && ShownWindow(FHandle) && control->CanFocus()) control->SetFocus();
}

void TCustomForm::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop)) SetActiveControl(next);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FModal) {
    ModalResult = mrCancel;
    return;
  }
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (this == Application->MainForm()) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    if (FHandle) ShowWindow(FHandle, SW_MINIMIZE);
  } else {
    Release();
  }
}

void TCustomForm::Release() { PostMessageA(Handle(), CM_RELEASE, 0, 0); }

int TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FModal) throw EInvalidOperation("Cannot make a visible window modal");
  FModal = true;
  ModalResult = mrNone;
  auto disabled = DisableTaskWindows(Handle());
  try {
    Show();
    SetActiveWindow(FHandle);
    for (;;) {
      Application->HandleMessage();
      if (Application->Terminated()) ModalResult = mrCancel;
      if (ModalResult == mrNone) continue;
      // Closing may be refused by OnClose, which keeps the form up.
      TCloseAction action = caHide;
      DoClose(action);
      if (action != caNone) break;
      ModalResult = mrNone;
    }
  } catch (...) {
    EnableTaskWindows(disabled);
    FModal = false;
    throw;
  }
  EnableTaskWindows(disabled);
  Hide();
  FModal = false;
  RestoreActiveWindow(disabled);
  return ModalResult;
}

void TCustomForm::PlaceOnScreen() {
  if (Position != poScreenCenter && Position != poDesktopCenter) return;
  int sw = Position == poScreenCenter ? GetSystemMetrics(SM_CXSCREEN) : GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int sh = Position == poScreenCenter ? GetSystemMetrics(SM_CYSCREEN) : GetSystemMetrics(SM_CYVIRTUALSCREEN);
  SetBounds((sw - FWidth) / 2, (sh - FHeight) / 2, FWidth, FHeight);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (FVisible) VisibleChanged();
}

void TCustomForm::VisibleChanged() {
  // A description that makes the form visible shows it once the whole form is read.
  if (ComponentState() & csLoading) return;
  if (!FVisible) {
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
    Application->UpdateVisible();
    return;
  }
  HandleNeeded();
  Application->UpdateVisible();
  if (!FShown) {
    FShown = true;
    PlaceOnScreen();
  }
  ShowWindow(FHandle, SW_SHOWNORMAL);
  SetForegroundWindow(FHandle);
  if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true);
  if (FActiveControl && FActiveControl->CanFocus()) FActiveControl->SetFocus();
  if (OnShow) OnShow(this);
}

void TCustomForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      delete this;
      return;
    case WM_SYSCOMMAND:
      // The main form's minimise is the application's: all its windows go together.
      if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && this == Application->MainForm()) {
        Application->Minimize();
        return;
      }
      break;
    case WM_ACTIVATE:
      DefaultHandler(Message);
      if (LOWORD(Message.WParam) != WA_INACTIVE) {
        Screen->FActiveForm = this;
        if (OnActivate) OnActivate(this);
      } else if (Screen->FActiveForm == this) {
        Screen->FActiveForm = nullptr;
      }
      return;
    case WM_SETFOCUS:
      // The form passes its focus on to the control that had it.
      if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated()) {
        ::SetFocus(FActiveControl->Handle());
        return;
      }
      break;
    case CM_MENUCHANGED:
      AttachMenu();
      return;
    case WM_DESTROY:
      // The system would destroy the window's menu with it: the main menu keeps its own.
      DetachMenu();
      break;
    case WM_COMMAND:
      if (!Message.LParam && HIWORD(Message.WParam) == 0 && FMenu &&
          FMenu->DispatchCommand(LOWORD(Message.WParam)))
        return;
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (DispatchMenuItemMessage(Message.Msg, Message.LParam)) {
        Message.Result = TRUE;
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (Message.WParam == VK_TAB) {
        TWinControl* focused = FindControl(GetFocus());
        SelectNext(focused, GetKeyState(VK_SHIFT) >= 0, true);
        Message.Result = 1;
        return;
      }
      break;
  }
  TWinControl::WndProc(Message);
}

// ---- Form descriptions --------------------------------------------------------------------------

const std::vector<std::pair<std::string, int32_t>>& ModalResultIdents() {
  static const TIdentMap idents = {{"mrNone", mrNone},   {"mrOk", mrOk},       {"mrCancel", mrCancel},
                                   {"mrAbort", mrAbort}, {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore},
                                   {"mrYes", mrYes},     {"mrNo", mrNo}};
  return idents;
}

void RegisterToolkitClasses() {
  RegisterControls();
  RegisterStdCtrls();
  RegisterExtCtrls();
  RegisterComCtrls();
  RegisterTabs();
  RegisterButtons();
  RegisterActnList();
  RegisterMenus();
  RegisterComponentClass<TApplicationEvents>();
  Published<TApplicationEvents>().Event("OnMessage", &TApplicationEvents::OnMessage);

  auto ignore = [](auto*, const TValue&, TReader&) {};
  Published<TCustomForm>()
      .Property("BorderStyle", &TCustomForm::SetBorderStyle,
                {{"bsNone", bsNone},
                 {"bsSingle", bsSingle},
                 {"bsSizeable", bsSizeable},
                 {"bsDialog", bsDialog},
                 {"bsToolWindow", bsToolWindow},
                 {"bsSizeToolWin", bsSizeToolWin}})
      .Set("BorderIcons", &TCustomForm::SetBorderIcons,
           {{"biSystemMenu", 0}, {"biMinimize", 1}, {"biMaximize", 2}, {"biHelp", 3}})
      .Property("Position", &TCustomForm::Position,
                {{"poDesigned", poDesigned},
                 {"poDefault", poDefault},
                 {"poScreenCenter", poScreenCenter},
                 {"poDesktopCenter", poDesktopCenter}})
      .Property("FormStyle", &TCustomForm::FormStyle,
                {{"fsNormal", fsNormal},
                 {"fsMDIChild", fsMDIChild},
                 {"fsMDIForm", fsMDIForm},
                 {"fsStayOnTop", fsStayOnTop}})
      .Property("ClientWidth", &TCustomForm::SetClientWidth)
      .Property("ClientHeight", &TCustomForm::SetClientHeight)
      .Property("AlphaBlend", &TCustomForm::SetAlphaBlend)
      .Property("AlphaBlendValue", &TCustomForm::SetAlphaBlendValue)
      .Property("KeyPreview", &TCustomForm::KeyPreview)
      .Property("AutoScroll", &TCustomForm::AutoScroll)
      .Reference("ActiveControl", &TCustomForm::SetActiveControl)
      .Reference("Menu", &TCustomForm::SetMenu)
      .Custom("OldCreateOrder", ignore)
      .Custom("PixelsPerInch", ignore)
      .Custom("TextHeight", ignore)
      .Custom("Scaled", ignore)
      .Event("OnCreate", &TCustomForm::OnCreate)
      .Event("OnShow", &TCustomForm::OnShow)
      .Event("OnClose", &TCustomForm::OnClose)
      .Event("OnDestroy", &TCustomForm::OnDestroy)
      .Event("OnActivate", &TCustomForm::OnActivate);
}
