// The control machinery with real windows: message methods, class names, controls without a
// window painted and fed by their parent, mouse enter and leave, alignment.
#include <gtest/gtest.h>

#include "tk/Forms.h"

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

void Pump() { Application->ProcessMessages(); }

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
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(25, 35));
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

TEST_F(FormFixture, WindowedControlGetsMouseEnterThenLeaveWhenThePointerGoes) {
  auto* c = new TProbeControl(Form);
  c->SetParent(Form);
  c->SetBounds(10, 10, 50, 50);
  int enter = 0, leave = 0;
  c->OnMouseEnter = [&](TObject*) { ++enter; };
  c->OnMouseLeave = [&](TObject*) { ++leave; };
  Form->Show();
  POINT pt{3, 3};
  ClientToScreen(c->Handle(), &pt);
  SetCursorPos(pt.x, pt.y);  // the system tracks the leave only while the pointer is over us
  SendMessageA(c->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageA(c->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(enter, 1);
  EXPECT_EQ(leave, 0);
  SetCursorPos(pt.x + 200, pt.y + 200);
  for (int i = 0; i < 300 && leave == 0; ++i) {
    Pump();
    Sleep(10);
  }
  EXPECT_EQ(leave, 1);
  EXPECT_EQ(enter, 1);
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
