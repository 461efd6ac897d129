// The application object with real windows: the queue's message hooks, the general error report,
// the information box plumbing, timers, and the message loop ending when the main form closes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "tests/unit/MessageBoxWatch.h"
#include "tests/unit/TaskbarTesting.h"
#include "tk/AppEvnts.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"
#include "tk/StdCtrls.h"

namespace {

class Tfrm_App : public TForm {
 public:
  TK_CLASS(Tfrm_App, TForm)
  using TForm::TForm;
};

}  // namespace

TEST(ApplicationWindow, IsAHiddenWindowOfItsOwnClassCarryingTheTitle) {
  EXPECT_EQ(Application->Title(), "Forms_test");  // the program's name until it sets one
  Application->SetTitle("Corvanel");
  HWND wnd = Application->Handle();
  char cls[32] = "", text[32] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  GetWindowTextA(wnd, text, sizeof text);
  EXPECT_STREQ(cls, "TApplication");
  EXPECT_STREQ(text, "Corvanel");
  EXPECT_FALSE(IsWindowVisible(wnd));
}

TEST(ApplicationWindow, CarriesTheOneTaskbarEntryAndTheFormsItOwnsGoAndComeBackWithIt) {
  Application->SetTitle("Corvanel");
  Tfrm_App* main = nullptr;
  Application->CreateForm(main);
  auto* other = TCustomForm::Create<Tfrm_App>(Application);
  HWND app = Application->Handle();
  main->Show();
  other->Show();
  for (TCustomForm* form : {static_cast<TCustomForm*>(main), static_cast<TCustomForm*>(other)})
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), app);
  EXPECT_EQ(taskbar_testing::TaskbarWindows(GetCurrentProcessId()), std::vector<HWND>{app});

  // The main form's minimise (its caption button and system menu ask for it) is the application's.
  SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(app));
  EXPECT_FALSE(IsIconic(main->Handle()));
  EXPECT_FALSE(IsWindowVisible(main->Handle()));
  EXPECT_FALSE(IsWindowVisible(other->Handle()));
  EXPECT_EQ(taskbar_testing::TaskbarWindows(GetCurrentProcessId()), std::vector<HWND>{app});
  // The taskbar entry restores them all.
  SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(app));
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  EXPECT_TRUE(IsWindowVisible(other->Handle()));

  // The entry's Close closes the main form, which asks the application to end.
  SendMessageA(app, WM_CLOSE, 0, 0);
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

  // Without a visible form there is no entry.
  main->Hide();
  EXPECT_TRUE(IsWindowVisible(app));
  other->Hide();
  EXPECT_FALSE(IsWindowVisible(app));
  delete other;
  delete main;
}

TEST(ApplicationMessages, EventsComponentsAndOnMessageSeeQueuedMessagesAndCanSwallowThem) {
  auto* form = TCustomForm::Create<Tfrm_App>(nullptr);
  form->SetBounds(10, 10, 100, 100);
  auto* events = new TApplicationEvents(form);
  int swallowed = 0, downs = 0, seenByApp = 0;
  events->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message == WM_RBUTTONDOWN || msg.message == WM_RBUTTONUP) {
      handled = true;
      ++swallowed;
    }
  };
  Application->OnMessage = [&](MSG& msg, bool&) { seenByApp += msg.message == WM_LBUTTONDOWN; };
  form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  PostMessageA(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageA(form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  Application->ProcessMessages();
  EXPECT_EQ(swallowed, 2);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(seenByApp, 1);
  Application->OnMessage = nullptr;
  delete form;  // frees the events component, which leaves the application
  PostMessageA(Application->Handle(), WM_RBUTTONDOWN, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(swallowed, 2);
}

TEST(ApplicationMessages, TimerRaisesOnTimerUntilDisabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(20);
  for (int i = 0; i < 100 && ticks < 2; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
  EXPECT_GE(ticks, 2);
  timer.SetEnabled(false);
  Application->ProcessMessages();
  int now = ticks;
  Sleep(80);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, now);
}

namespace {
std::string ToolText(HWND tips) {
  char text[128] = "";
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.lpszText = text;
  if (!SendMessageA(tips, TTM_ENUMTOOLSA, 0, LPARAM(&ti))) return "(none)";
  return text;
}
}  // namespace

TEST(ApplicationHints, TheToolTipFollowsTheControlUnderTheMouseThatShowsAHint) {
  auto* form = TCustomForm::Create<Tfrm_App>(nullptr);
  form->SetBounds(10, 10, 300, 100);
  auto* help = new TButton(form);
  help->SetParent(form);
  help->SetBounds(0, 0, 75, 25);
  help->Hint = "Help ";
  help->ShowHint = true;
  auto* silent = new TButton(form);
  silent->SetParent(form);
  silent->SetBounds(100, 0, 75, 25);
  silent->Hint = "not shown";
  auto* mail = new TLabel(form);
  mail->SetParent(form);
  mail->SetBounds(10, 50, 80, 13);
  mail->Hint = "support";
  mail->ShowHint = true;
  form->Show();

  PostMessageA(help->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Application->ProcessMessages();
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_EQ(ToolText(Application->HintWindow()), "Help ");
  PostMessageA(silent->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  Application->ProcessMessages();
  EXPECT_EQ(ToolText(Application->HintWindow()), "(none)");
  PostMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 55));
  Application->ProcessMessages();
  EXPECT_EQ(ToolText(Application->HintWindow()), "support");
  delete form;  // the label goes with its tool
  EXPECT_EQ(ToolText(Application->HintWindow()), "(none)");
}

namespace {
class Tfrm_Failing : public TForm {
 public:
  TK_CLASS(Tfrm_Failing, TForm)
  explicit Tfrm_Failing(TComponent* owner) : TForm(owner) {
    OnCreate = [](TObject*) { throw EReadError("no list"); };
  }
};
}  // namespace

TEST(ApplicationForms, AFormThatFailsItsCreationIsFreedAndNotMadeMain) {
  Tfrm_Failing* form = nullptr;
  int before = Screen->FormCount();
  EXPECT_THROW(Application->CreateForm(form), EReadError);
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(Screen->FormCount(), before);
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(ApplicationForms, CloseAsksOnCloseWhichMayHideRefuseOrFreeTheForm) {
  auto* form = TCustomForm::Create<Tfrm_App>(nullptr);
  form->SetBounds(10, 10, 100, 80);
  bool destroyed = false;
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  TCloseAction answer = caNone;
  form->OnClose = [&](TObject*, TCloseAction& action) {
    EXPECT_EQ(action, caHide);  // what a form that is not the main one does by default
    action = answer;
  };
  form->Show();
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  answer = caHide;
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  answer = caFree;
  form->Show();
  form->Close();
  EXPECT_FALSE(destroyed);  // freed once the messages already queued are handled
  Application->ProcessMessages();
  EXPECT_TRUE(destroyed);
}

// Last in this program: once the loop has ended, the application stays terminated.
TEST(ApplicationRun, AFailingHandlerIsReportedAndTheLoopGoesOnUntilTheMainFormCloses) {
  Application->SetTitle("Corvanel");
  Tfrm_App* main = nullptr;
  Application->CreateForm(main);
  ASSERT_EQ(Application->MainForm(), main);
  main->SetBounds(10, 10, 200, 100);
  auto* boom = new TButton(main);
  boom->SetParent(main);
  boom->OnClick = [](TObject*) { throw EConvertError("Not a number"); };
  auto* close = new TButton(main);
  close->SetParent(main);
  int shown = 0, afterBoom = 0;
  main->OnShow = [&](TObject*) { ++shown; };
  close->OnClick = [&](TObject*) {
    ++afterBoom;
    main->Close();
  };
  PostMessageA(boom->Handle(), BM_CLICK, 0, 0);
  // Closing waits for the report to be answered: a quit request would end the box itself.
  HWND closeWnd = close->Handle();
  MessageBoxWatch watch(main->Handle(), [closeWnd] { PostMessageA(closeWnd, BM_CLICK, 0, 0); });
  Application->Run();
  EXPECT_TRUE(watch.Answered());
  EXPECT_EQ(watch.Caption, "Corvanel");
  EXPECT_EQ(watch.Text, "Not a number");
  EXPECT_EQ(watch.Icon, LoadIcon(nullptr, IDI_HAND));
  EXPECT_TRUE(watch.OwnerWasDisabled);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(afterBoom, 1);
  EXPECT_TRUE(Application->Terminated());
  delete main;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

namespace {
std::vector<std::string>& Ended() {
  static std::vector<std::string> ended;
  return ended;
}
}  // namespace

// Last in this program: the application object is gone afterwards.
TEST(ApplicationEnd, FreesTheFormsLastMadeFirstThenRunsTheFinalisations) {
  AddFinalization([] { Ended().push_back("finalisation"); });
  Tfrm_App* main = nullptr;
  Application->CreateForm(main);
  auto* other = TCustomForm::Create<Tfrm_App>(Application);
  main->OnDestroy = [](TObject*) { Ended().push_back("main"); };
  other->OnDestroy = [](TObject*) { Ended().push_back("other"); };
  main->Show();
  HWND app = Application->Handle(), mainWindow = main->Handle();
  DoneApplication();
  EXPECT_EQ(Ended(), (std::vector<std::string>{"other", "main", "finalisation"}));
  EXPECT_EQ(Application, nullptr);
  EXPECT_EQ(Screen, nullptr);
  EXPECT_FALSE(IsWindow(mainWindow));
  EXPECT_FALSE(IsWindow(app));
}
