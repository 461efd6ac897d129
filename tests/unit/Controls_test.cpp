// The control machinery with real windows: message methods, class names, controls without a
// window painted and fed by their parent, mouse enter and leave, alignment.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "tests/unit/MessageBoxWatch.h"
#include "tk/Forms.h"
#include "tk/StdCtrls.h"

namespace {

class Tfrm_Probe : public TForm {
 public:
  TK_CLASS(Tfrm_Probe, TForm)
  using TForm::TForm;
};

class TProbeControl : public TCustomControl {
 public:
  TK_CLASS(TProbeControl, TCustomControl)
  using TCustomControl::TCustomControl;
};

// A window-less control that fills itself with one colour.
class TSwatch : public TGraphicControl {
 public:
  TK_CLASS(TSwatch, TGraphicControl)
  using TGraphicControl::TGraphicControl;
  COLORREF Fill = RGB(255, 0, 0);

 protected:
  void Paint() override {
    HBRUSH b = CreateSolidBrush(Fill);
    RECT r{0, 0, Width(), Height()};
    FillRect(Canvas()->Handle(), &r, b);
    DeleteObject(b);
  }
};

// Records every message it sees, then hands it to what was there before.
struct Recorder {
  TWndMethod Saved;
  std::vector<UINT> Seen;
  void Handle(TMessage& m) {
    Seen.push_back(m.Msg);
    if (m.Msg == WM_APP + 7) {
      m.Result = 42;
      return;
    }
    Saved(m);
  }
  bool Saw(UINT msg) const { return std::find(Seen.begin(), Seen.end(), msg) != Seen.end(); }
};

struct FormFixture : ::testing::Test {
  Tfrm_Probe* Form = nullptr;
  void SetUp() override {
    Form = TCustomForm::Create<Tfrm_Probe>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(50, 50, 200, 150);
    Form->SetColor(TColor(RGB(0, 0, 255)));
  }
  void TearDown() override { delete Form; }
};

}  // namespace

namespace {
class TFailingPaint : public TCustomControl {
 public:
  TK_CLASS(TFailingPaint, TCustomControl)
  using TCustomControl::TCustomControl;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    throw EInvalidOperation("cannot paint");
  }
};
}  // namespace

TEST_F(FormFixture, APaintThatFailsIsReportedOnceAndEnded) {
  auto* c = new TFailingPaint(Form);
  c->SetBounds(0, 0, 20, 20);
  c->SetParent(Form);
  MessageBoxWatch watch;
  Form->Show();
  Application->ProcessMessages();
  EXPECT_TRUE(watch.Answered());
  EXPECT_EQ(watch.Text, "cannot paint");
  Application->ProcessMessages();
  EXPECT_EQ(c->Paints, 1);
  // The paint was ended: nothing is left to repaint.
  RECT update;
  EXPECT_FALSE(GetUpdateRect(c->Handle(), &update, FALSE));
}

TEST_F(FormFixture, WindowClassesAreTheToolkitClassNames) {
  auto* c = new TProbeControl(Form);
  c->SetParent(Form);
  c->SetBounds(5, 5, 20, 20);
  char cls[64];
  GetClassNameA(Form->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "Tfrm_Probe");
  GetClassNameA(c->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TProbeControl");
  EXPECT_EQ(GetParent(c->Handle()), Form->Handle());
  EXPECT_EQ(TWinControl::FindControl(c->Handle()), c);
}

TEST_F(FormFixture, ReplacedMessageMethodSeesSentMessagesAndPerformAndIsPutBackByValue) {
  auto* c = new TProbeControl(Form);
  c->SetParent(Form);
  HWND wnd = c->Handle();
  Recorder rec;
  rec.Saved = c->WindowProc;
  c->WindowProc = MakeWndMethod<&Recorder::Handle>(&rec);

  EXPECT_EQ(SendMessageA(wnd, WM_APP + 7, 0, 0), 42);
  EXPECT_EQ(c->Perform(WM_APP + 7), 42);
  c->SetText("abc");  // WM_SETTEXT through the method, then on to the window
  EXPECT_TRUE(rec.Saw(WM_SETTEXT));
  EXPECT_EQ(c->Text(), "abc");
  c->SetEnabled(false);
  EXPECT_TRUE(rec.Saw(CM_ENABLEDCHANGED));
  EXPECT_FALSE(IsWindowEnabled(wnd));

  c->WindowProc = rec.Saved;
  EXPECT_TRUE(c->WindowProc == rec.Saved);
  size_t before = rec.Seen.size();
  EXPECT_EQ(SendMessageA(wnd, WM_APP + 7, 0, 0), 0);
  EXPECT_EQ(rec.Seen.size(), before);
}

TEST_F(FormFixture, ParentReflectsNotificationsAndScrollsToTheChildTheyConcern) {
  auto* c = new TProbeControl(Form);
  c->SetParent(Form);
  HWND child = c->Handle();
  Recorder rec;
  rec.Saved = c->WindowProc;
  c->WindowProc = MakeWndMethod<&Recorder::Handle>(&rec);
  SendMessageA(Form->Handle(), WM_HSCROLL, SB_LINEDOWN, LPARAM(child));
  SendMessageA(Form->Handle(), WM_VSCROLL, SB_LINEUP, LPARAM(child));
  SendMessageA(Form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(child));
  NMHDR hdr{child, 0, UINT(NM_CLICK)};
  SendMessageA(Form->Handle(), WM_NOTIFY, 0, LPARAM(&hdr));
  EXPECT_EQ(rec.Seen, (std::vector<UINT>{0xBD14, 0xBD15, CN_COMMAND, CN_NOTIFY}));
  // A menu's command (no child window) stays with the form.
  rec.Seen.clear();
  SendMessageA(Form->Handle(), WM_COMMAND, 100, 0);
  EXPECT_TRUE(rec.Seen.empty());
  c->WindowProc = rec.Saved;
}

namespace {
struct TCounter {
  int Seen = 0;
  TMessage Last{};
  void Handle(TMessage& m) {
    ++Seen;
    Last = m;
    m.Result = 7;
  }
};
}  // namespace

TEST_F(FormFixture, WindowProcedureStubsRunFromPagesNeverWritableAndLeadEachWindowToItsOwnObject) {
  // Two takeovers made one after the other: their stubs sit side by side in one page.
  HWND first = Form->Handle();
  HWND second = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(second);
  TCounter a, b;
  WNDPROC oldA = nullptr, oldB = nullptr;
  WNDPROC stubA = HookWindowProc(first, MakeWndMethod<&TCounter::Handle>(&a), oldA);
  WNDPROC stubB = HookWindowProc(second, MakeWndMethod<&TCounter::Handle>(&b), oldB);
  MEMORY_BASIC_INFORMATION page{};
  ASSERT_EQ(VirtualQuery(reinterpret_cast<void*>(stubA), &page, sizeof page), sizeof page);
  EXPECT_EQ(page.Protect, DWORD(PAGE_EXECUTE_READ));
  // Every bit of the arguments arrives (on x64 the upper halves too), at the window's own object.
  const auto w = static_cast<WPARAM>(0xFEDCBA9876543210ull);
  const auto l = static_cast<LPARAM>(0x7123456789ABCDEFull);
  EXPECT_EQ(SendMessageA(second, WM_APP + 3, w, l), 7);
  EXPECT_EQ(b.Seen, 1);
  EXPECT_EQ(a.Seen, 0);
  EXPECT_EQ(b.Last.Msg, UINT(WM_APP + 3));
  EXPECT_EQ(b.Last.WParam, w);
  EXPECT_EQ(b.Last.LParam, l);
  EXPECT_EQ(SendMessageA(first, WM_APP + 4, 1, 2), 7);
  EXPECT_EQ(a.Seen, 1);
  EXPECT_EQ(a.Last.Msg, UINT(WM_APP + 4));
  EXPECT_EQ(b.Seen, 1);
  UnhookWindowProc(second, stubB, oldB);
  UnhookWindowProc(first, stubA, oldA);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(first, GWLP_WNDPROC)), oldA);
  DestroyWindow(second);
}

namespace {
// Paints a green square over whatever the control painted, after the control's own painting,
// into the context the paint message carries (the way a skin paints over a control).
struct Overpainter {
  TWndMethod Saved;
  std::vector<bool> WithContext;
  void Handle(TMessage& m) {
    Saved(m);
    if (m.Msg != WM_PAINT) return;
    WithContext.push_back(m.WParam != 0);
    if (!m.WParam) return;
    HBRUSH b = CreateSolidBrush(RGB(0, 255, 0));
    RECT r{0, 0, 10, 10};
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, b);
    DeleteObject(b);
  }
};
}  // namespace

TEST_F(FormFixture, DoubleBufferedSystemControlPaintsThroughItsMessageMethodIntoAnOffscreenContext) {
  auto* list = new TListBox(Form);
  list->SetBounds(10, 10, 80, 60);
  list->SetParent(Form);
  list->DoubleBuffered = true;
  Overpainter over;
  over.Saved = list->WindowProc;
  list->WindowProc = MakeWndMethod<&Overpainter::Handle>(&over);
  Form->Show();
  list->Repaint();
  // The outer paint carries no context; the inner one, into the off-screen bitmap, does.
  EXPECT_EQ(over.WithContext, (std::vector<bool>{true, false}));
  HDC dc = GetDC(list->Handle());
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 40, 40), ColorToCOLORREF(clWindow));
  ReleaseDC(list->Handle(), dc);
  list->WindowProc = over.Saved;
}

TEST_F(FormFixture, DestroyingTheWindowPassesNcDestroyThroughTheMessageMethod) {
  auto* c = new TProbeControl(Form);
  c->SetParent(Form);
  c->HandleNeeded();
  Recorder rec;
  rec.Saved = c->WindowProc;
  c->WindowProc = MakeWndMethod<&Recorder::Handle>(&rec);
  c->DestroyHandle();
  EXPECT_TRUE(rec.Saw(WM_NCDESTROY));
  EXPECT_FALSE(c->HandleAllocated());
  c->WindowProc = rec.Saved;
}

TEST_F(FormFixture, GraphicControlIsPaintedByItsParentAndGetsItsMouse) {
  auto* s = new TSwatch(Form);
  s->SetBounds(20, 30, 40, 25);
  s->SetParent(Form);
  std::vector<std::string> log;
  s->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  s->OnClick = [&](TObject*) { log.push_back("click"); };
  s->OnMouseEnter = [&](TObject*) { log.push_back("enter"); };
  s->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
  Form->Show();
  UpdateWindow(Form->Handle());

  HDC dc = GetDC(Form->Handle());
  EXPECT_EQ(GetPixel(dc, 20, 30), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 59, 54), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 60, 54), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 19, 30), RGB(0, 0, 255));
  ReleaseDC(Form->Handle(), dc);

  HWND wnd = Form->Handle();
  int parentEnters = 0;
  Form->OnMouseEnter = [&](TObject*) { ++parentEnters; };
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(25, 35));
  EXPECT_EQ(parentEnters, 1);  // entering over the child is entering the parent too
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(26, 36));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "down 0 5,5", "click", "leave"}));

  // Hidden, it is neither painted nor fed.
  s->Hide();
  UpdateWindow(wnd);
  dc = GetDC(wnd);
  EXPECT_EQ(GetPixel(dc, 20, 30), RGB(0, 0, 255));
  ReleaseDC(wnd, dc);
  log.clear();
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
  EXPECT_TRUE(log.empty());
}

namespace {
// Takes a window over the way the skin engine does (its window procedure) and notes, when it is
// freed, whether the window was already gone.
class TSubclasser : public TComponent {
 public:
  TK_CLASS(TSubclasser, TComponent)
  TSubclasser(TComponent* owner, HWND wnd, std::vector<std::string>* log)
      : TComponent(owner), FWnd(wnd), FLog(log) {
    Instance = this;
    FOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, LONG_PTR(&Proc)));
  }
  ~TSubclasser() override {
    FLog->push_back(IsWindow(FWnd) ? "freed, window alive" : "freed, window gone");
    if (IsWindow(FWnd)) SetWindowLongPtrA(FWnd, GWLP_WNDPROC, LONG_PTR(FOld));
    Instance = nullptr;
  }
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    TSubclasser* self = Instance;
    WNDPROC old = self->FOld;
    if (msg == WM_NCDESTROY) {
      self->FLog->push_back("ncdestroy");
      SetWindowLongPtrA(wnd, GWLP_WNDPROC, LONG_PTR(old));
    }
    return CallWindowProcA(old, wnd, msg, wp, lp);
  }
  static inline TSubclasser* Instance = nullptr;

 private:
  HWND FWnd;
  std::vector<std::string>* FLog;
  WNDPROC FOld;
};
}  // namespace

TEST(FormLifetime, TheWindowGoesBeforeTheComponentsTheFormOwns) {
  std::vector<std::string> log;
  auto* form = TCustomForm::Create<Tfrm_Probe>(nullptr);
  auto* child = new TProbeControl(form);
  child->SetParent(form);
  new TSubclasser(form, form->Handle(), &log);
  form->OnDestroy = [&](TObject*) {
    log.push_back(child->HandleAllocated() ? "destroy, child alive" : "destroy");
  };
  delete form;
  EXPECT_EQ(log, (std::vector<std::string>{"destroy, child alive", "ncdestroy", "freed, window gone"}));
}

TEST_F(FormFixture, AlignedChildrenShareTheClientAreaInSideOrder) {
  auto* bottom = new TProbeControl(Form);
  bottom->SetHeight(19);
  bottom->SetAlign(alBottom);
  bottom->SetParent(Form);
  auto* left = new TProbeControl(Form);
  left->SetWidth(60);
  left->SetAlign(alLeft);
  left->SetParent(Form);
  auto* client = new TProbeControl(Form);
  client->SetAlign(alClient);
  client->SetParent(Form);
  Form->HandleNeeded();
  EXPECT_EQ(bottom->BoundsRect().top, 150 - 19);
  EXPECT_EQ(bottom->Width(), 200);
  EXPECT_EQ(left->Height(), 150 - 19);
  EXPECT_EQ(client->Left(), 60);
  EXPECT_EQ(client->Width(), 140);
  Form->SetBounds(50, 50, 300, 200);
  EXPECT_EQ(client->Width(), 240);
  EXPECT_EQ(client->Height(), 200 - 19);
  RECT r;
  GetWindowRect(client->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 240);
}
