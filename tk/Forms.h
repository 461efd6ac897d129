// Forms: the application object and its message loop, the screen, and top-level forms.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tk/Controls.h"

enum TModalResult : int {
  mrNone = 0,
  mrOk = IDOK,
  mrCancel = IDCANCEL,
  mrAbort = IDABORT,
  mrRetry = IDRETRY,
  mrIgnore = IDIGNORE,
  mrYes = IDYES,
  mrNo = IDNO,
};
enum TBorderIcon : uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint32_t;
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;

class TMainMenu;

class TCustomForm : public TWinControl {
 public:
  TK_CLASS(TCustomForm, TWinControl)
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Creates a form of class T and finishes it (its description read, OnCreate run).
  template <class T>
  static T* Create(TComponent* AOwner) {
    T* form = new T(AOwner);
    form->AfterConstruction();
    return form;
  }
  // Reads the form's description and runs OnCreate; called once, after the constructor.
  virtual void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons value);
  TFormStyle FormStyle = fsNormal;
  TPosition Position = poDesigned;
  bool KeyPreview = false;
  bool AutoScroll = false;  // no scrolling forms in this toolkit; kept for who sets it
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool value);
  uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(uint8_t value);
  void SetClientWidth(int value);
  void SetClientHeight(int value);
  RECT ClientRect() const override;
  // The main menu the window shows (not owned).
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // Told by a control of this form that it received the focus, or that it goes.
  void FocusEntered(TWinControl* control) { FActiveControl = control; }
  void ControlGoing(TWinControl* control) {
    if (FActiveControl == control) FActiveControl = nullptr;
  }
  void Loaded() override;
  // Moves the focus to the next (or previous) control in tab order.
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  void Close();
  int ShowModal();
  bool Modal() const { return FModal; }
  int ModalResult = mrNone;
  // Frees the form once the messages now in the queue have been handled.
  void Release();

  TNotifyEvent OnCreate, OnShow, OnDestroy, OnActivate;
  TCloseEvent OnClose;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  void VisibleChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool ClickOnMouseUp() const override { return true; }
  virtual void DoClose(TCloseAction& Action);

 private:
  void FrameStyles(DWORD& Style, DWORD& ExStyle) const;
  void FrameSize(int& cx, int& cy) const;
  void PlaceOnScreen();
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  bool FAlphaBlend = false;
  uint8_t FAlphaBlendValue = 255;
  int FClientWidth = -1, FClientHeight = -1;
  // The window shows the main menu's system menu; it never destroys it.
  void AttachMenu();
  void DetachMenu();
  TMainMenu* FMenu = nullptr;
  TWinControl* FActiveControl = nullptr;
  bool FModal = false;
  bool FShown = false;
  bool FCreated = false;
};

class TForm : public TCustomForm {
 public:
  TK_CLASS(TForm, TCustomForm)
  using TCustomForm::TCustomForm;
};

class TApplicationEvents;

class TApplication : public TComponent {
 public:
  TK_CLASS(TApplication, TComponent)
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // The window of class "TApplication", titled with the title and created on first use. It owns
  // every form and carries the program's one taskbar entry: visible (and empty) while a form is.
  HWND Handle();
  std::string Title() const { return FTitle; }
  void SetTitle(const std::string& value);
  TCustomForm* MainForm() const { return FMainForm; }

  void Initialize();
  // Creates a form owned by the application; the first one becomes the main form. Reference is
  // set before the form's OnCreate runs.
  template <class T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    try {
      FinishCreateForm(form);
    } catch (...) {
      Reference = nullptr;  // the form is gone
      throw;
    }
  }
  void Run();
  // Minimised, the application window hides every form with it; restored, it brings them back.
  void Minimize();
  void Restore();
  void ProcessMessages();
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  TMessageEvent OnMessage;

  // The general error report: a message box with the failure's text, the title as caption and
  // the stop icon; the program goes on.
  void HandleException(const std::string& Text);
  void ShowException(const std::string& Text);

  // The tooltip window that shows the hint of the control under the mouse (ShowHint set and a
  // Hint), made when first needed; 0 before.
  HWND HintWindow() const { return FHintWindow; }
  // Forgets the control whose hint is up (it is going).
  void CancelHint(TControl* Control);

 private:
  friend class TApplicationEvents;
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  // Shows the application window while any form is visible, hides it otherwise.
  void UpdateVisible();
  // Hands the activation on to the form that had it last (after a restore).
  void ActivateLastForm();
  void FinishCreateForm(TCustomForm* form);
  bool ProcessMessage(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  void RelayHint(MSG& msg);
  void RemoveHintTools();
  HWND FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  std::string FHintText;
  std::string FTitle;
  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FMinimized = false;  // its forms are hidden with it
  bool FHandlingException = false;
  std::vector<TApplicationEvents*> FEventHandlers;
  friend class TCustomForm;
};

class TScreen : public TComponent {
 public:
  TK_CLASS(TScreen, TComponent)
  using TComponent::TComponent;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  int FormCount() const { return int(FForms.size()); }
  TCustomForm* Forms(int index) const { return FForms.at(size_t(index)); }

 private:
  friend class TCustomForm;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
};

// Makes every control, form and component class of the toolkit readable from form descriptions;
// runs once, when the first form is made.
void RegisterToolkitClasses();
// The identifiers of modal results (mrOk...), for buttons' descriptions.
const std::vector<std::pair<std::string, int32_t>>& ModalResultIdents();

extern TApplication* Application;
extern TScreen* Screen;

// Ends the program once its message loop is over, in the class library's order: frees the
// application object, and with it its forms and their components (the last made first), then the
// screen, then runs the modules' finalisations (last registered first). Nothing of the toolkit is
// left for static destruction.
void DoneApplication();

// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(TControl* Control);

// What a modal window takes from the rest of the program while it is up: the window that was active
// and the windows it disabled.
struct TTaskWindows {
  HWND Active = nullptr;
  std::vector<HWND> Disabled;
};
// Notes the active window and disables every enabled, visible top-level window of this thread
// except Except, for a modal window; EnableTaskWindows gives them back.
TTaskWindows DisableTaskWindows(HWND Except);
void EnableTaskWindows(const TTaskWindows& Windows);
// Once the modal window is gone: activates again the window that was active before it, when it
// still exists. Nothing else would: a window that was disabled when the modal one went was passed
// over for the activation.
void RestoreActiveWindow(const TTaskWindows& Windows);
