// The skin manager with real windows, its hook and its timer. The skinned-form and popup objects
// it attaches are recording doubles that really subclass their windows (answering the engine's
// "already skinned?" query with 1), so that giving windows back can be checked on the windows.
#include "skin/RezIderDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "SkinDrawTesting.h"
#include "SkinTesting.h"
#include "WinSubClassTesting.h"
#include "skin/RezIderForm.h"
#include "skin/RezIderMenu.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"

namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

std::string Title(HWND w) {
  char text[100] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

// Subclassing that keeps the replaced procedure as a window property, so a window outlives the
// double that took it over without harm.
constexpr const char* kOldProc = "SkinTestOldProc";

LRESULT CALLBACK SkinnedProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SKINQUERY) return 1;
  return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(h, kOldProc)), h, m, w, l);
}

void TakeOver(HWND h) {
  SetPropA(h, kOldProc, reinterpret_cast<HANDLE>(GetWindowLongPtrA(h, GWLP_WNDPROC)));
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinnedProc));
}

void GiveBack(HWND h) {
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(h, kOldProc)));
  RemovePropA(h, kOldProc);
}

bool TakenOver(HWND h) {
  return GetWindowLongPtrA(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SkinnedProc);
}

class TRecordingForm : public TRezIderForm {
 public:
  using TRezIderForm::TRezIderForm;
  ~TRecordingForm() override { Note("Free"); }
  void AttachForm(TSkinData* Data, TCustomForm* Form) override {
    Note("AttachForm");
    AttachedForm = Form;
    SkinForm(Data);
  }
  void SkinForm(TSkinData* Data) override {
    Note("SkinForm");
    FSkinData = Data;
    TakeOver(FHandle);
    FState = fsSkinned;
  }
  void UnskinForm() override {
    Note("UnskinForm");
    GiveBack(FHandle);
  }
  void FreeNCObjects() override { Note("FreeNCObjects"); }
  void LoadSkinParts() override { Note("LoadSkinParts"); }
  void RefreshSkin() override {
    Note("RefreshSkin");
    if (OnRefresh) OnRefresh(this);
  }
  void SetCaptionStyles(bool On) override { Note(On ? "CaptionStyles on" : "CaptionStyles off"); }
  void UpdateRegion() override { Note("UpdateRegion"); }
  TCustomForm* AttachedForm = nullptr;
  // What a refresh does besides being noted (a real one may activate another window).
  static inline std::function<void(TRecordingForm*)> OnRefresh;

 private:
  void Note(const std::string& what) { Log().push_back(what + " " + Title(FHandle)); }
};

class TRecordingPopup : public TRezIderPopMenu {
 public:
  ~TRecordingPopup() override { Log().push_back("Free popup"); }
  void Subclass(HWND Window, TSkinData* Data, HMENU MenuKey) override {
    // As when no window procedure stub is left for the takeover.
    if (FailTakeover) throw EOutOfResources("no stub left");
    FHandle = Window;
    FSkinData = Data;
    FMenuKey = MenuKey;
    TakeOver(Window);
    FSubclassed = true;
    Log().push_back("Subclass popup");
  }
  void Unsubclass() override {
    if (!FSubclassed) return;
    GiveBack(FHandle);
    FSubclassed = false;
    Log().push_back("Unsubclass popup");
  }
  bool Subclassed() const override { return FSubclassed; }
  static inline bool FailTakeover = false;

 private:
  bool FSubclassed = false;
};

bool Logged(const std::string& entry) { return std::count(Log().begin(), Log().end(), entry) > 0; }

using ctltest::TestSkinArchive;

const char* kWindowClass = "SkinManagerTestWindow";

HWND MakeWindow(const char* title, int w = 120, int h = 90, DWORD style = WS_POPUP,
                const char* cls = kWindowClass, HWND parent = nullptr) {
  return CreateWindowExA(0, cls, title, style, 40, 40, w, h, parent, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

// A window that already answers the "already skinned?" query, as a skinned one of another kind would.
LRESULT CALLBACK AnswersQueryProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return m == WM_SKINQUERY ? 1 : DefWindowProcA(h, m, w, l);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool TakeActivatedPost(HWND w) {
  MSG msg;
  if (!PeekMessageA(&msg, w, WM_SKINACTIVATED, WM_SKINACTIVATED, PM_REMOVE)) return false;
  return msg.wParam == 0 && msg.lParam == SkinActivatedParam;
}

class ManagerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    for (const char* name : {"TMessageForm", "SkinTestQuery"}) {
      wc.lpszClassName = name;
      wc.lpfnWndProc = std::string(name) == "SkinTestQuery" ? AnswersQueryProc : DefWindowProcA;
      RegisterClassA(&wc);
    }
  }

  void SetUp() override {
    Log().clear();
    RezIderFormMaker = [](TComponent* owner) -> TRezIderForm* { return new TRecordingForm(owner); };
    RezIderPopMenuMaker = []() -> TRezIderPopMenu* { return new TRecordingPopup; };
    ASSERT_EQ(SkinManager, nullptr);
    SkinManagerLink(true);
    M = SkinManager;
    ASSERT_NE(M, nullptr);
  }

  void TearDown() override {
    delete SkinManager;
    SkinManager = nullptr;
    for (TComponent* c : FOwned) delete c;
    for (HWND w : FWindows)
      if (IsWindow(w)) DestroyWindow(w);
    RezIderFormMaker = nullptr;
    RezIderPopMenuMaker = nullptr;
    Pump();
  }

  // A skin component of that kind with the test skin loaded, registered with the manager.
  TSkinData* Data(TSkinFormType kind, TComponent* owner = nullptr, bool load = true) {
    auto* d = new TSkinData(owner);
    if (!owner) FOwned.push_back(d);
    d->SkinFormtype = kind;
    if (load) {
      EXPECT_TRUE(skintest::LoadArchive(*d, TestSkinArchive()));
    }
    M->AddSkinData(d);
    return d;
  }

  HWND Window(const char* title, int w = 120, int h = 90, DWORD style = WS_POPUP,
              const char* cls = kWindowClass) {
    HWND hwnd = MakeWindow(title, w, h, style, cls);
    EXPECT_TRUE(hwnd) << title;
    FWindows.push_back(hwnd);
    return hwnd;
  }

  TForm* Form(const char* caption, bool show = true) {
    auto* f = TCustomForm::Create<TForm>(nullptr);
    FOwned.insert(FOwned.begin(), f);  // forms go before the free-standing components
    f->SetBounds(60, 60, 160, 120);
    SetWindowTextA(f->Handle(), caption);
    if (show) f->Show();
    return f;
  }

  // A listed skinned window whose window is gone (state 6).
  TRezIderForm* GoneForm() {
    HWND w = Window("gone");
    bool enabled = M->Enabled;
    M->Enabled = true;
    EXPECT_TRUE(M->SkinWindow(w));
    M->Enabled = enabled;
    TRezIderForm* f = M->FindForm(w);
    f->FState = fsGone;
    GiveBack(w);
    return f;
  }

  TSkinManage* M = nullptr;
  std::vector<TComponent*> FOwned;
  std::vector<HWND> FWindows;
};

}  // namespace

// ---- Creation, hook --------------------------------------------------------------------------

TEST_F(ManagerTest, StartsEmptyDisabledWithItsTimerOffAndNoHook) {
  EXPECT_TRUE(M->Forms().empty());
  EXPECT_TRUE(M->Popups().empty());
  EXPECT_TRUE(M->SkinDatas().empty());
  EXPECT_FALSE(M->Enabled);
  EXPECT_FALSE(M->Forced());
  EXPECT_FALSE(M->MdiMax());
  EXPECT_EQ(M->ActivationCount(), 0);
  EXPECT_EQ(M->PendingSkinData(), nullptr);
  EXPECT_EQ(M->HookHandle(), nullptr);
  EXPECT_FALSE(M->ActionTimer()->Enabled());
  EXPECT_EQ(M->ActionTimer()->Interval(), 250u);
  EXPECT_EQ(M->UninitializeCoolSB(nullptr), 0);
}

TEST_F(ManagerTest, InstallHookStoresTheVersionAndASecondCallAddsNoSecondHook) {
  M->InstallHook();
  HHOOK first = M->HookHandle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(StoredVersion, GetVersion());
  M->InstallHook();
  EXPECT_EQ(M->HookHandle(), first);
  delete SkinManager;
  SkinManager = nullptr;
  EXPECT_FALSE(UnhookWindowsHookEx(first));  // the manager took it off already
}

TEST_F(ManagerTest, TwoMainSkinComponentsLoadingShareOneHookThatGoesWithTheManager) {
  TSkinData* a = Data(sfMainform);
  TSkinData* b = Data(sfMainform);
  M->RemoveSkinData(a);
  M->RemoveSkinData(b);
  a->Loaded();
  HHOOK hook = M->HookHandle();
  b->Loaded();
  EXPECT_EQ(M->HookHandle(), hook);
  EXPECT_EQ(M->SkinDatas().size(), 2u);
  delete SkinManager;
  SkinManager = nullptr;
  EXPECT_FALSE(UnhookWindowsHookEx(hook));
}

// ---- SkinWindow ------------------------------------------------------------------------------

TEST_F(ManagerTest, SkinWindowSkinsABareWindowAndPostsTheActivationMessage) {
  Data(sfMainform);
  M->Enabled = true;
  HWND w = Window("bare");
  ASSERT_TRUE(M->SkinWindow(w));
  ASSERT_EQ(M->Forms().size(), 1u);
  TRezIderForm* f = M->Forms()[0];
  EXPECT_EQ(f->FHandle, w);
  EXPECT_EQ(f->Owner(), nullptr);
  EXPECT_EQ(Log(), (std::vector<std::string>{"SkinForm bare"}));
  EXPECT_TRUE(TakeActivatedPost(w));
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
}

TEST_F(ManagerTest, SkinWindowAttachesAToolkitFormOwnedByThatForm) {
  Data(sfMainform);
  M->Enabled = true;
  TForm* form = Form("form");
  ASSERT_TRUE(M->SkinWindow(form->Handle()));
  auto* f = static_cast<TRecordingForm*>(M->FindForm(form->Handle()));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Owner(), form);
  EXPECT_EQ(f->AttachedForm, form);
  EXPECT_EQ(Log()[0], "AttachForm form");
  EXPECT_TRUE(TakeActivatedPost(form->Handle()));
  // Freed with its form, it leaves the list.
  delete form;
  FOwned.erase(std::find(FOwned.begin(), FOwned.end(), form));
  EXPECT_TRUE(M->Forms().empty());
}

TEST_F(ManagerTest, SkinWindowRefusesInItsOrderAndPurgesOnlyOnceTheFirstTwoTestsPassed) {
  TSkinData* main = Data(sfMainform);
  HWND w = Window("target");
  GoneForm();
  auto listedGone = [&] { return M->Forms().size() == 1 && M->Forms()[0]->FState == fsGone; };

  // 1. Not enabled: refused before the purge.
  M->Enabled = false;
  EXPECT_FALSE(M->SkinWindow(w));
  EXPECT_TRUE(listedGone());
  M->Enabled = true;

  // 2. Answers the query with 1: refused before the purge.
  HWND query = Window("query", 120, 90, WS_POPUP, "SkinTestQuery");
  EXPECT_FALSE(M->SkinWindow(query));
  EXPECT_TRUE(listedGone());

  // 3. From here on the purge has run.
  HWND zero = Window("zero", 0, 40);
  EXPECT_FALSE(M->SkinWindow(zero));  // 7. no width
  EXPECT_TRUE(M->Forms().empty());

  // 4. Already listed (the double answers the query too, so the list is tested by hand).
  ASSERT_TRUE(M->SkinWindow(w));
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
  EXPECT_FALSE(M->SkinWindow(w));
  EXPECT_EQ(M->Forms().size(), 1u);
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinnedProc));

  // 7. again: a window with no height is refused, and taken once it has one.
  HWND flat = Window("flat", 50, 0);
  EXPECT_FALSE(M->SkinWindow(flat));
  SetWindowPos(flat, nullptr, 0, 0, 50, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(M->SkinWindow(flat));

  // 8. A form with Tag 99, whatever the component's DisableTag.
  main->DisableTag = 5;
  TForm* tagged = Form("tagged");
  tagged->Tag = 99;
  EXPECT_FALSE(M->SkinWindow(tagged->Handle()));
  tagged->Tag = 5;
  EXPECT_TRUE(M->SkinWindow(tagged->Handle()));

  // 9. The application window.
  HWND app = Application->Handle();
  SetWindowPos(app, nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FALSE(M->SkinWindow(app));
  SetWindowPos(app, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  // 10. A class the main component refuses.
  main->OnFormSkin = [](TObject*, const std::string& name, bool& doSkin) { doSkin = name != kWindowClass; };
  HWND refused = Window("refused");
  EXPECT_FALSE(M->SkinWindow(refused));
  main->OnFormSkin = nullptr;

  // 12. A component whose skin is not loaded.
  main->FNotLoaded = true;
  EXPECT_FALSE(M->SkinWindow(refused));
  main->FNotLoaded = false;

  // 11. No component at all.
  M->RemoveSkinData(main);
  EXPECT_FALSE(M->SkinWindow(refused));
  M->AddSkinData(main);
  EXPECT_TRUE(M->SkinWindow(refused));
  EXPECT_FALSE(TakeActivatedPost(zero));
}

TEST_F(ManagerTest, SkinWindowTakesAnMdiChildOnlyWhenForced) {
  TSkinData* main = Data(sfMainform);
  M->Enabled = true;
  HWND frame = Window("frame", 300, 200, WS_OVERLAPPEDWINDOW);
  CLIENTCREATESTRUCT ccs{nullptr, 1000};
  HWND client = CreateWindowExA(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE, 0, 0, 280, 160, frame, nullptr,
                                GetModuleHandleA(nullptr), &ccs);
  ASSERT_TRUE(client);
  MDICREATESTRUCTA mcs{kWindowClass, "child", GetModuleHandleA(nullptr), 0, 0, 100, 80, 0, 0};
  HWND child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_TRUE(child);
  HWND plainChild = CreateWindowExA(0, kWindowClass, "plain", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, frame,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
  EXPECT_TRUE(TSkinManage::IsMdiChild(child));
  EXPECT_FALSE(TSkinManage::IsMdiChild(plainChild));
  EXPECT_FALSE(TSkinManage::IsMdiChild(frame));
  EXPECT_FALSE(M->SkinWindow(child));
  // The timer's skin-on action is what forces: a toolkit MDI child form would be taken then.
  EXPECT_TRUE(M->SkinWindow(frame));
  (void)main;
}

TEST_F(ManagerTest, AFormsOwnComponentLoadingEnablesCountsAndSkinsItsFormAtOnce) {
  TForm* form = Form("owner");
  TSkinData* own = Data(sfOnlyThisForm, form);
  M->RemoveSkinData(own);
  own->Loaded();
  EXPECT_TRUE(M->Enabled);
  EXPECT_EQ(M->ActivationCount(), 1);
  EXPECT_EQ(M->HookHandle(), nullptr);  // only the main kind hooks
  TRezIderForm* f = M->FindForm(form->Handle());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FSkinData, own);
  // From now on a schedule arms the timer.
  M->Schedule(saSkinOff, 250);
  EXPECT_TRUE(M->ActionTimer()->Enabled());
  EXPECT_TRUE(M->Enabled);
}

TEST_F(ManagerTest, FormListLookupsAndTheToolkitFormFilter) {
  Data(sfMainform);
  M->Enabled = true;
  TForm* shown = Form("shown");
  TForm* hidden = Form("hidden", false);
  TForm* child = Form("child", false);
  EXPECT_EQ(TSkinManage::FormByHandle(shown->Handle()), shown);
  EXPECT_EQ(TSkinManage::FormByHandle(Window("no form")), nullptr);
  M->SkinToolkitForm(hidden);
  EXPECT_EQ(M->FindForm(hidden->Handle()), nullptr);
  child->Show();
  SetWindowLongA(child->Handle(), GWL_STYLE,
                 (GetWindowLongA(child->Handle(), GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
  M->SkinToolkitForm(child);  // a form window made a child, not an MDI child form
  EXPECT_EQ(M->FindForm(child->Handle()), nullptr);
  M->SkinToolkitForm(shown);
  TRezIderForm* f = M->FindForm(shown->Handle());
  ASSERT_NE(f, nullptr);
  M->RemoveForm(shown->Handle());  // taken off the list, not freed
  EXPECT_EQ(M->FindForm(shown->Handle()), nullptr);
  EXPECT_FALSE(Logged("Free shown"));
  delete f;
}

// ---- FindSkinData, CanSkinClass ----------------------------------------------------------------

TEST_F(ManagerTest, FindSkinDataFollowsItsRulesInOrder) {
  HWND plain = Window("plain");
  HWND box = Window("box", 100, 60, WS_POPUP, "#32770");
  HWND msg = Window("msg", 100, 60, WS_POPUP, "TMessageForm");
  EXPECT_EQ(M->FindSkinData(plain), nullptr);  // 5. none registered

  TSkinData* first = Data(sfOnlyThisForm, nullptr, false);
  EXPECT_EQ(M->FindSkinData(plain), first);  // 4. the first registered, whatever its kind
  EXPECT_EQ(M->FindSkinData(box), first);
  Data(sfMainform, nullptr, false);
  TSkinData* main2 = Data(sfMainform, nullptr, false);
  EXPECT_EQ(M->FindSkinData(plain), main2);  // 3. the last main one
  EXPECT_EQ(M->FindSkinData(box), main2);    //    also for a message box while no dialog one exists
  Data(sfDialog, nullptr, false);
  TSkinData* dialog2 = Data(sfDialog, nullptr, false);
  EXPECT_EQ(M->FindSkinData(box), dialog2);  // 2. the last dialog one for "#32770"
  EXPECT_EQ(M->FindSkinData(msg), dialog2);  //    and for "TMessageForm" (compared in lower case)
  EXPECT_EQ(M->FindSkinData(plain), main2);

  TForm* form = Form("own", false);
  Data(sfOnlyThisForm, form, false);
  TSkinData* own2 = Data(sfOnlyThisForm, form, false);
  Data(sfOnlyThisForm, nullptr, false);
  EXPECT_EQ(M->FindSkinData(form->Handle()), own2);  // 1. the last one owned by the window's form
  EXPECT_EQ(M->FindSkinData(plain), main2);
}

TEST_F(ManagerTest, CanSkinClassAsksTheFirstMainComponent) {
  EXPECT_TRUE(M->CanSkinClass("SysMonthCal32"));  // no main component: yes
  TSkinData* main1 = Data(sfMainform, nullptr, false);
  TSkinData* main2 = Data(sfMainform, nullptr, false);
  main2->OnFormSkin = [](TObject*, const std::string&, bool& doSkin) { doSkin = false; };
  EXPECT_FALSE(M->CanSkinClass("SysMonthCal32"));
  EXPECT_TRUE(M->CanSkinClass("sysmonthcal32"));
  EXPECT_TRUE(M->CanSkinClass("TfrmMain"));
  main1->SkinControls.Include(xcFastReport);
  EXPECT_FALSE(M->CanSkinClass("TfrmMain"));
}

// ---- Schedule and the hook's activation --------------------------------------------------------

TEST_F(ManagerTest, BeforeTheFirstActivationScheduleOnlySwitchesEnabled) {
  M->Schedule(saSkinOn, 250);
  EXPECT_TRUE(M->Enabled);
  EXPECT_FALSE(M->ActionTimer()->Enabled());
  M->Schedule(saSkinChanged, 250);
  EXPECT_TRUE(M->Enabled);
  M->Schedule(saSkinOff, 100);
  EXPECT_FALSE(M->Enabled);
  EXPECT_FALSE(M->ActionTimer()->Enabled());
  EXPECT_EQ(M->ActionTimer()->Interval(), 100u);
  EXPECT_EQ(M->PendingAction(), saSkinOff);
}

TEST_F(ManagerTest, TheFirstActivationSkinsAtOnceAndLaterSchedulesArmTheTimer) {
  TSkinData* main = Data(sfMainform);
  M->RemoveSkinData(main);
  main->Loaded();  // registers, installs the hook
  main->SetActive(true);
  EXPECT_TRUE(M->Enabled);
  EXPECT_EQ(M->ActivationCount(), 0);

  HWND w = Window("activated", 120, 90, WS_POPUP | WS_VISIBLE);
  SetActiveWindow(w);
  EXPECT_EQ(M->ActivationCount(), 1);
  ASSERT_NE(M->FindForm(w), nullptr);
  EXPECT_TRUE(TakeActivatedPost(w));

  // A second activation of a skinned window changes nothing.
  HWND other = Window("other", 120, 90, WS_POPUP | WS_VISIBLE);
  SetActiveWindow(other);
  size_t listed = M->Forms().size();
  SetActiveWindow(w);
  EXPECT_EQ(M->Forms().size(), listed);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "SkinForm activated"), 1);

  M->Schedule(saSkinOff, 250);
  EXPECT_TRUE(M->ActionTimer()->Enabled());
  EXPECT_TRUE(M->Enabled);  // only the timer's action switches it now
}

TEST_F(ManagerTest, TheRealTimerRunsTheScheduledActionOnceAndFiresOnSkinChanged) {
  TSkinData* main = Data(sfMainform);
  int changed = 0;
  main->OnSkinChanged = [&](TObject* sender) {
    EXPECT_EQ(sender, main);
    ++changed;
  };
  TForm* form = Form("timed");
  M->SetActivationCount(1);
  M->SetPendingSkinData(main);
  M->Schedule(saSkinOn, 50);
  DWORD start = GetTickCount();
  while (!changed && GetTickCount() - start < 3000) {
    Pump();
    Sleep(5);
  }
  EXPECT_EQ(changed, 1);
  EXPECT_NE(M->FindForm(form->Handle()), nullptr);
  EXPECT_FALSE(M->ActionTimer()->Enabled());
  EXPECT_EQ(M->PendingSkinData(), nullptr);
}

// ---- Timer actions -----------------------------------------------------------------------------

class TimerActionTest : public ManagerTest {
 protected:
  void SetUp() override {
    ManagerTest::SetUp();
    Main = Data(sfMainform);
    Main->OnSkinChanged = [this](TObject*) { ++Changed; };
    A = Form("A");
    B = Form("B");
    M->SetActivationCount(1);
  }
  void Run(TSkinData* s, int action) {
    M->SetPendingSkinData(s);
    M->Schedule(action, 250);
    ASSERT_TRUE(M->ActionTimer()->Enabled());
    Log().clear();
    M->TimerTick(nullptr);
    EXPECT_FALSE(M->ActionTimer()->Enabled());
    EXPECT_EQ(M->PendingSkinData(), nullptr);
    EXPECT_FALSE(M->Forced());
  }
  TSkinData* Main = nullptr;
  TForm *A = nullptr, *B = nullptr;
  int Changed = 0;
};

TEST_F(TimerActionTest, ATickWithNothingPendingDoesNothingAndKeepsTicking) {
  M->Schedule(saSkinOn, 250);
  M->TimerTick(nullptr);
  EXPECT_TRUE(M->ActionTimer()->Enabled());
  EXPECT_TRUE(M->Forms().empty());
  EXPECT_EQ(Changed, 0);
}

TEST_F(TimerActionTest, SkinOnForTheMainKindSkinsEveryVisibleFormLastFirst) {
  TForm* hidden = Form("hidden", false);
  Run(Main, saSkinOn);
  EXPECT_TRUE(M->Enabled);
  EXPECT_EQ(Log(), (std::vector<std::string>{"AttachForm B", "SkinForm B", "AttachForm A", "SkinForm A"}));
  EXPECT_EQ(M->FindForm(hidden->Handle()), nullptr);
  EXPECT_EQ(Changed, 1);
}

TEST_F(TimerActionTest, SkinOnForAFormsOwnComponentSkinsOnlyThatForm) {
  TSkinData* own = Data(sfOnlyThisForm, A);
  Run(own, saSkinOn);
  EXPECT_TRUE(M->Enabled);
  EXPECT_EQ(Log(), (std::vector<std::string>{"AttachForm A", "SkinForm A"}));
  EXPECT_EQ(M->FindForm(A->Handle())->FSkinData, own);
}

TEST_F(TimerActionTest, SkinOffForTheMainKindGivesEveryWindowBack) {
  Run(Main, saSkinOn);
  Run(Main, saSkinOff);
  EXPECT_FALSE(M->Enabled);
  EXPECT_EQ(Log(), (std::vector<std::string>{"UnskinForm A", "Free A", "UnskinForm B", "Free B"}));
  EXPECT_TRUE(M->Forms().empty());
  EXPECT_FALSE(TakenOver(A->Handle()));
  EXPECT_FALSE(TakenOver(B->Handle()));
  EXPECT_EQ(Changed, 2);
}

TEST_F(TimerActionTest, ASwitchAskedForByTheSkinChangedHandlerRunsAtTheNextTick) {
  Main->OnSkinChanged = [this](TObject*) {
    if (++Changed == 1) Main->SetActive(false);
  };
  Main->SetActive(true);
  M->TimerTick(nullptr);
  ASSERT_EQ(M->Forms().size(), 2u);
  EXPECT_EQ(M->PendingSkinData(), Main);
  EXPECT_TRUE(M->ActionTimer()->Enabled());
  M->TimerTick(nullptr);
  EXPECT_TRUE(M->Forms().empty());
  EXPECT_FALSE(M->Enabled);
  EXPECT_EQ(Changed, 2);
}

TEST_F(TimerActionTest, SkinOffForAFormsOwnComponentUnskinsOnlyItsWindowButDisablesAll) {
  TSkinData* own = Data(sfOnlyThisForm, A);
  Run(Main, saSkinOn);
  M->FindForm(A->Handle())->FSkinData = own;
  Run(own, saSkinOff);
  EXPECT_FALSE(M->Enabled);
  EXPECT_EQ(Log(), (std::vector<std::string>{"UnskinForm A", "Free A"}));
  EXPECT_NE(M->FindForm(B->Handle()), nullptr);
}

TEST_F(TimerActionTest, SkinChangedReloadsEveryWindowOfTheComponentThenRefreshesThem) {
  TSkinData* other = Data(sfMainform);
  TForm* C = Form("C");
  Run(Main, saSkinOn);
  for (TRezIderForm* f : M->Forms()) f->FSkinData = f->FHandle == C->Handle() ? other : Main;
  Run(Main, saSkinChanged);
  // List order: B and A were skinned last to first, C first of all (the newest form).
  EXPECT_EQ(Log(), (std::vector<std::string>{"FreeNCObjects B", "LoadSkinParts B", "FreeNCObjects A",
                                             "LoadSkinParts A", "RefreshSkin B", "RefreshSkin A"}));
}

TEST_F(TimerActionTest, AWindowPurgedWhileAnotherRefreshesIsNotRefreshed) {
  M->InstallHook();
  Run(Main, saSkinOn);
  HWND other = Window("other", 120, 90, WS_OVERLAPPEDWINDOW);
  // B's refresh activates another window while A's window has gone: the hook skins that window,
  // and the purge before it frees A's object.
  TRecordingForm::OnRefresh = [&](TRecordingForm* f) {
    if (f->FHandle != B->Handle()) return;
    M->FindForm(A->Handle())->FState = fsGone;
    ShowWindow(other, SW_SHOW);
    SetActiveWindow(other);
  };
  Run(Main, saSkinChanged);
  TRecordingForm::OnRefresh = nullptr;
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"FreeNCObjects B", "LoadSkinParts B", "FreeNCObjects A",
                                      "LoadSkinParts A", "RefreshSkin B", "Free A", "SkinForm other"}));
}

TEST_F(TimerActionTest, SkinChangedForAFormsOwnComponentReloadsItsFirstWindowOnly) {
  TSkinData* own = Data(sfOnlyThisForm, A);
  Run(Main, saSkinOn);
  for (TRezIderForm* f : M->Forms()) f->FSkinData = own;
  Run(own, saSkinChanged);
  EXPECT_EQ(Log(), (std::vector<std::string>{"FreeNCObjects B", "LoadSkinParts B", "RefreshSkin B"}));
}

TEST_F(TimerActionTest, PurgeFreesTheWindowsThatAreGoneAndOtherActionsOnlyNotify) {
  M->Enabled = true;
  ASSERT_TRUE(M->SkinWindow(A->Handle()));
  GoneForm();
  Run(Main, saPurge);
  EXPECT_EQ(Log(), (std::vector<std::string>{"Free gone"}));
  EXPECT_EQ(M->Forms().size(), 1u);
  Run(Main, 4);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(Changed, 2);
}

// ---- Popup menus -------------------------------------------------------------------------------

TEST_F(ManagerTest, PopupMenuWindowsAreCaughtAtCreationAndGivenBackAtDestruction) {
  TSkinData* main = Data(sfMainform);
  M->InstallHook();
  M->Enabled = true;
  HWND popup = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(popup);
  ASSERT_TRUE(M->IsPopupSkinned(popup));
  EXPECT_EQ(M->Popups()[0]->FSkinData, main);
  EXPECT_TRUE(TakenOver(popup));
  EXPECT_EQ(SendMessageA(popup, WM_SKINQUERY, 0, 0), 1);
  HWND plain = Window("not a menu");
  EXPECT_FALSE(M->IsPopupSkinned(plain));
  DestroyWindow(popup);
  EXPECT_FALSE(M->IsPopupSkinned(popup));
  EXPECT_EQ(Log(), (std::vector<std::string>{"Subclass popup", "Unsubclass popup", "Free popup"}));
}

TEST_F(ManagerTest, PopupsFollowTheMenuElementAndTheManagersState) {
  TSkinData* main = Data(sfMainform);
  M->InstallHook();
  auto make = [] {
    return CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  };
  HWND off = make();  // disabled manager
  EXPECT_FALSE(M->IsPopupSkinned(off));
  M->Enabled = true;
  main->SkinControls.Exclude(xcMainMenu);
  HWND noMenu = make();  // the popup element alone does not do
  EXPECT_FALSE(M->IsPopupSkinned(noMenu));
  main->SkinControls.Include(xcMainMenu);
  main->SkinControls.Exclude(xcPopupMenu);
  HWND menuOnly = make();
  EXPECT_TRUE(M->IsPopupSkinned(menuOnly));
  main->FNotLoaded = true;
  HWND notLoaded = make();
  EXPECT_FALSE(M->IsPopupSkinned(notLoaded));
  main->FNotLoaded = false;
  M->SkinPopup(menuOnly);  // already listed
  EXPECT_EQ(M->Popups().size(), 1u);
  EXPECT_FALSE(M->UnskinPopup(off));

  // The menu item drawing ties a popup to its menu; then its frame picture is found by it.
  HMENU menu = CreatePopupMenu();
  M->Popups()[0]->FMenuKey = menu;
  EXPECT_EQ(M->PopupBitmap(menu), M->Popups()[0]->FFrameBitmap.get());
  EXPECT_EQ(M->PopupBitmap(nullptr), nullptr);
  DestroyMenu(menu);

  M->FreePopups();
  EXPECT_TRUE(M->Popups().empty());
  EXPECT_FALSE(TakenOver(menuOnly));
  for (HWND h : {off, noMenu, menuOnly, notLoaded}) DestroyWindow(h);
}

TEST_F(ManagerTest, APopupWhoseWindowCannotBeTakenOverIsFreedAndTheWindowStaysPlain) {
  Data(sfMainform);
  M->Enabled = true;
  HWND popup = Window("popup");
  TRecordingPopup::FailTakeover = true;
  EXPECT_THROW(M->SkinPopup(popup), EOutOfResources);
  TRecordingPopup::FailTakeover = false;
  EXPECT_TRUE(M->Popups().empty());
  EXPECT_FALSE(TakenOver(popup));
  EXPECT_EQ(Log(), std::vector<std::string>{"Free popup"});
}

// ---- Giving back -------------------------------------------------------------------------------

TEST_F(ManagerTest, TheManagersTeardownLeavesFormsToTheirFormsAndGivesTheRestBack) {
  Data(sfMainform);
  M->InstallHook();
  M->Enabled = true;
  TForm* form = Form("form");  // skinned by the hook as it is shown and activated
  HWND bare = Window("bare");
  ASSERT_NE(M->FindForm(form->Handle()), nullptr);
  ASSERT_TRUE(M->SkinWindow(bare));
  HWND popup = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(TakenOver(popup));
  Log().clear();
  delete SkinManager;
  SkinManager = nullptr;
  EXPECT_FALSE(TakenOver(bare));
  EXPECT_FALSE(TakenOver(popup));
  EXPECT_TRUE(Logged("UnskinForm bare"));
  EXPECT_TRUE(Logged("Free bare"));
  // The form keeps its skin until it goes itself, and its skinned window with it.
  EXPECT_TRUE(TakenOver(form->Handle()));
  EXPECT_FALSE(Logged("UnskinForm form"));
  EXPECT_FALSE(Logged("Free form"));
  FOwned.erase(std::find(FOwned.begin(), FOwned.end(), form));
  size_t before = Log().size();
  delete form;
  ASSERT_EQ(Log().size(), before + 1);
  EXPECT_EQ(Log().back().rfind("Free", 0), 0u);  // its window is gone by then, and its title
  DestroyWindow(popup);
}

TEST_F(ManagerTest, AFreedSkinComponentIsNoLongerPendingNorUsedByAnyWindow) {
  TSkinData* main = Data(sfMainform);
  TSkinData* going = new TSkinData(nullptr);
  ASSERT_TRUE(skintest::LoadArchive(*going, TestSkinArchive()));
  going->SkinFormtype = sfMainform;
  M->AddSkinData(going);
  M->InstallHook();
  M->Enabled = true;
  HWND w = Window("user");
  HWND keep = Window("keep");
  ASSERT_TRUE(M->SkinWindow(w));
  ASSERT_TRUE(M->SkinWindow(keep));
  M->FindForm(keep)->FSkinData = main;
  HWND popup = CreateWindowExA(0, "#32768", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_EQ(M->Popups()[0]->FSkinData, going);
  M->SetPendingSkinData(going);
  Log().clear();
  delete going;
  EXPECT_EQ(M->PendingSkinData(), nullptr);
  EXPECT_EQ(M->FindForm(w), nullptr);
  EXPECT_FALSE(TakenOver(w));
  EXPECT_FALSE(TakenOver(popup));
  EXPECT_NE(M->FindForm(keep), nullptr);
  EXPECT_EQ(M->SkinDatas(), (std::vector<TSkinData*>{main}));
  // A tick now has nothing to act for.
  M->SetActivationCount(1);
  M->Schedule(saSkinOff, 250);
  M->TimerTick(nullptr);
  EXPECT_TRUE(M->ActionTimer()->Enabled());
  DestroyWindow(popup);
}

// ---- MDI maximised state -----------------------------------------------------------------------

TEST_F(ManagerTest, SetMdiMaxReshapesOnlyMdiChildren) {
  Data(sfMainform);
  M->Enabled = true;
  HWND child = Window("child");
  HWND mini = Window("mini");
  HWND plain = Window("plain");
  for (HWND h : {child, mini, plain}) ASSERT_TRUE(M->SkinWindow(h));
  TRezIderForm* c = M->FindForm(child);
  TRezIderForm* m = M->FindForm(mini);
  c->FMdiKind = m->FMdiKind = mkChild;
  // A child whose window is gone, waiting for the purge, neither counts nor is reshaped.
  GoneForm()->FMdiKind = mkChild;
  m->FShowState = ssMinimized;
  c->FShowState = ssMaximized;
  EXPECT_EQ(M->MdiChildCount(), 2);
  c->SetSkinRegion(CreateRectRgn(0, 0, 10, 10), false);
  Log().clear();

  M->SetMdiMax(true);
  EXPECT_FALSE(c->FHasRegion);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(child, probe), ERROR);
  DeleteObject(probe);
  EXPECT_EQ(Log(), (std::vector<std::string>{"CaptionStyles on child", "CaptionStyles on mini"}));
  Log().clear();
  M->SetMdiMax(true);
  EXPECT_TRUE(Log().empty());

  M->SetMdiMax(false);
  EXPECT_EQ(Log(), (std::vector<std::string>{"UpdateRegion child", "CaptionStyles off child",
                                             "CaptionStyles on mini"}));
  EXPECT_EQ(c->FShowState, ssNormal);
  EXPECT_FALSE(M->MdiMax());
}

// ---- Regions and GDI objects -------------------------------------------------------------------

TEST_F(ManagerTest, ASetSkinRegionBelongsToTheSystemAndARefusedOneIsDeleted) {
  Data(sfMainform);
  M->Enabled = true;
  HWND w = Window("region", 40, 30, WS_POPUP | WS_VISIBLE);
  ASSERT_TRUE(M->SkinWindow(w));
  TRezIderForm* f = M->FindForm(w);
  auto pic = drawtest::MakePicture(
      40, 30, [](int x, int y) { return x < 5 && y < 5 ? RGB(255, 0, 255) : RGB(9, 9, 9); });
  HRGN rgn = CreateRegionFromBitmap(pic.get(), 0, 0, 0xFF00FF, 1, 1, 1);
  f->SetSkinRegion(rgn, true);
  EXPECT_TRUE(f->FHasRegion);
  HRGN back = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, back), ERROR);
  EXPECT_FALSE(PtInRegion(back, 2, 2));
  EXPECT_TRUE(PtInRegion(back, 20, 20));
  DWORD size = GetRegionData(back, 0, nullptr);
  EXPECT_GT(size, sizeof(RGNDATAHEADER));
  f->ClearRegion();
  EXPECT_FALSE(f->FHasRegion);
  EXPECT_EQ(GetWindowRgn(w, back), ERROR);
  DeleteObject(back);

  HWND dead = Window("dead");
  DestroyWindow(dead);
  TRecordingForm orphan(nullptr);
  orphan.FHandle = dead;
  HRGN refused = CreateRectRgn(0, 0, 5, 5);
  orphan.SetSkinRegion(refused, false);
  EXPECT_FALSE(orphan.FHasRegion);
  EXPECT_EQ(GetObjectType(refused), 0u);  // deleted, as nobody else will
}

// The count comes from GdiObjectCount (GraphicsHelpers.h): GetGuiResources where the system answers it;
// under Wine, which answers 0, the free room of the GDI handle table.
TEST_F(TimerActionTest, AThousandSkinSwitchesWithRegionsLeaveNoGdiObjectBehind) {
  auto pic =
      drawtest::MakePicture(40, 30, [](int x, int) { return x % 3 ? RGB(9, 9, 9) : RGB(255, 0, 255); });
  auto switchOnce = [&] {
    Run(Main, saSkinOn);
    for (TRezIderForm* f : M->Forms())
      f->SetSkinRegion(CreateRegionFromBitmap(pic.get(), 0, 0, 0xFF00FF, 1, 1, 1), false);
    for (TRezIderForm* f : M->Forms()) f->ClearRegion();
    Run(Main, saSkinChanged);
    Run(Main, saSkinOff);
  };
  switchOnce();
  int before = GdiObjectCount();
  for (int i = 0; i < 1000; ++i) switchOnce();
  int after = GdiObjectCount();
  EXPECT_LE(after - before, 2) << before << " -> " << after;  // one lost per switch shows as 1000
  EXPECT_TRUE(M->Forms().empty());
}
