// The skinned control base with real windows: takeover and give-back of toolkit controls and bare
// windows, the three message steps, painting into given and own contexts, colours, and the drawing
// operations it offers descendants, checked by pixel against the solid-colour test skin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GraphicsHelpers.h"
#include "WinSubClassTesting.h"
#include "skin/RezIderFormDraw.h"
#include "tests/unit/MessageBoxWatch.h"
#include "tk/ExtCtrls.h"
#include "tk/StdCtrls.h"

using namespace ctltest;

namespace {

constexpr UINT kConsumed = WM_APP + 1;
constexpr UINT kPassed = WM_APP + 2;

// Records the steps; consumes kConsumed; paints a solid colour.
class TProbe : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& m) override {
    if (m.Msg == kConsumed || m.Msg == kPassed) Steps.push_back("before");
    if (m.Msg == kConsumed) {
      m.Result = 7;
      return false;
    }
    return TSkinControl::BeforeDefault(m);
  }
  void AfterDefault(TMessage& m) override {
    if (m.Msg == kConsumed || m.Msg == kPassed) Steps.push_back("after");
    TSkinControl::AfterDefault(m);
  }
  void DrawControl(HDC dc, const RECT& r) override {
    ++Draws;
    LastDC = dc;
    HBRUSH b = CreateSolidBrush(RGB(1, 200, 3));
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  std::vector<std::string> Steps;
  int Draws = 0;
  HDC LastDC = nullptr;
};

std::vector<std::string>* OwnLog = nullptr;
int NcDestroySeen = 0;

LRESULT CALLBACK OwnProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == kConsumed || m == kPassed) {
    if (OwnLog) OwnLog->push_back("own");
    return 3;
  }
  if (m == WM_NCDESTROY) ++NcDestroySeen;
  return DefWindowProcA(h, m, w, l);
}

const char* kBareClass = "SkinControlBareTest";

class BaseTest : public SkinControlTest {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kBareClass;
    RegisterClassA(&wc);
  }
  HWND Bare(HWND parent, const char* text = "bare") {
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
    HWND w = CreateWindowExA(0, kBareClass, text, style, 10, 10, 60, 30, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(w);
    return w;
  }
};

TEST_F(BaseTest, ToolkitControlIsTakenOverOnceAndGivenBack) {
  auto* edit = Make<TEdit>(nullptr, 10, 10, 80, 22);
  edit->SetText("hello");
  TWndMethod own = edit->WindowProc;
  auto* skin = new TProbe(edit);
  skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
  EXPECT_EQ(skin->FSkinState, scsSkinned);
  EXPECT_TRUE(skin->FSkinned);
  EXPECT_EQ(skin->FHandle, edit->Handle());
  EXPECT_EQ(skin->FText, "hello");
  EXPECT_TRUE(skin->FEnabled);
  EXPECT_TRUE(edit->DoubleBuffered);
  EXPECT_TRUE(Host.Lists(skin));
  EXPECT_FALSE(edit->WindowProc == own);
  EXPECT_TRUE(skin->FOldWindowProc == own);

  // A second takeover would save its own method as the one to give back.
  TWndMethod taken = edit->WindowProc;
  skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
  EXPECT_TRUE(edit->WindowProc == taken);
  EXPECT_TRUE(skin->FOldWindowProc == own);
  EXPECT_EQ(Host.FControls.Count(), 1);

  delete skin;
  EXPECT_TRUE(edit->WindowProc == own);
  EXPECT_EQ(Host.FControls.Count(), 0);
  // The control works as before.
  edit->SetText("again");
  EXPECT_EQ(edit->Text(), "again");
}

TEST_F(BaseTest, ConsumedMessageReachesNeitherOwnProcedureNorAfterStep) {
  std::vector<std::string> own;
  OwnLog = &own;
  HWND w = Bare(Form->Handle());
  auto* skin = new TProbe(nullptr);
  WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
  skin->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC)), before);
  EXPECT_EQ(skin->FOldWndProc, before);
  EXPECT_EQ(skin->FText, "bare");

  EXPECT_EQ(SendMessageA(w, kConsumed, 0, 0), 7);
  EXPECT_EQ(skin->Steps, (std::vector<std::string>{"before"}));
  EXPECT_TRUE(own.empty());

  skin->Steps.clear();
  EXPECT_EQ(SendMessageA(w, kPassed, 0, 0), 3);
  EXPECT_EQ(skin->Steps, (std::vector<std::string>{"before", "after"}));
  EXPECT_EQ(own, (std::vector<std::string>{"own"}));

  // A second bare takeover is refused: it would chain the window to itself.
  skin->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  EXPECT_EQ(skin->FOldWndProc, before);

  delete skin;
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC)), before);
  EXPECT_EQ(Host.FControls.Count(), 0);
  DestroyWindow(w);
  OwnLog = nullptr;
}

// Someone else's subclass: passes everything on, and tells when messages come round to it again.
WNDPROC Below = nullptr;
int ForeignDepth = 0;
bool Looped = false;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (ForeignDepth > 0 && m == kPassed) {
    Looped = true;
    return 0;
  }
  ++ForeignDepth;
  LRESULT r = CallWindowProcA(Below, h, m, wp, lp);
  --ForeignDepth;
  return r;
}

TEST_F(BaseTest, SkinOffAndOnAgainUnderAnotherSubclassKeepsEveryProcedureInTheChain) {
  std::vector<std::string> own;
  OwnLog = &own;
  HWND w = Bare(Form->Handle());
  auto* first = new TProbe(nullptr);
  first->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  // Someone subclasses on top of the skin, then the skin object goes first.
  Below = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
  Looped = false;
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc));
  delete first;
  EXPECT_EQ(SendMessageA(w, kPassed, 0, 0), 3);
  EXPECT_EQ(own, (std::vector<std::string>{"own"}));
  // Skinned again on top of that subclass, and given back again.
  auto* second = new TProbe(nullptr);
  second->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  own.clear();
  EXPECT_EQ(SendMessageA(w, kPassed, 0, 0), 3);
  EXPECT_EQ(second->Steps, (std::vector<std::string>{"before", "after"}));
  EXPECT_EQ(own, (std::vector<std::string>{"own"}));
  delete second;
  own.clear();
  EXPECT_EQ(SendMessageA(w, kPassed, 0, 0), 3);
  EXPECT_EQ(own, (std::vector<std::string>{"own"}));
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ForeignProc));
  EXPECT_FALSE(Looped);
  DestroyWindow(w);
  OwnLog = nullptr;
}

TEST_F(BaseTest, AMessageMethodSetOverTheSkinStaysThroughGiveBackAndSkinningAgain) {
  auto* edit = Make<TEdit>(nullptr, 10, 10, 80, 22);
  auto* first = new TProbe(edit);
  first->SkinControl(&Host, Data.get(), &FormCanvas, false);
  TCountingMethod foreign{edit->WindowProc, kPassed};
  const TWndMethod theirs = foreign.Method();
  edit->WindowProc = theirs;
  delete first;
  ASSERT_TRUE(edit->WindowProc == theirs);
  edit->Perform(kPassed);
  EXPECT_EQ(foreign.Count, 1);
  // What the freed object held passes everything on to the control's own handling.
  edit->SetText("after");
  EXPECT_EQ(edit->Text(), "after");
  // Skinned again on top of that method, and given back again.
  auto* second = new TProbe(edit);
  second->SkinControl(&Host, Data.get(), &FormCanvas, false);
  edit->Perform(kPassed);
  EXPECT_EQ(second->Steps, (std::vector<std::string>{"before", "after"}));
  EXPECT_EQ(foreign.Count, 2);
  delete second;
  EXPECT_TRUE(edit->WindowProc == theirs);
  // The method on top gives back in turn: the chain still ends at the control.
  edit->WindowProc = foreign.Next;
  edit->SetText("again");
  EXPECT_EQ(edit->Text(), "again");
}

// Fails at kConsumed.
class TFailing : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& m) override {
    if (m.Msg == kConsumed) throw EOutOfResources("no picture");
    return TSkinControl::BeforeDefault(m);
  }
};

TEST_F(BaseTest, AFailureOfABareWindowsSkinIsReportedOrWithoutAnApplicationDropped) {
  HWND w = Bare(Form->Handle());
  auto* skin = new TFailing(nullptr);
  skin->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  {
    MessageBoxWatch watch;
    EXPECT_EQ(SendMessageA(w, kConsumed, 0, 0), 0);
    EXPECT_TRUE(watch.Answered());
    EXPECT_EQ(watch.Text, "no picture");
  }
  TApplication* application = Application;
  Application = nullptr;
  const LRESULT dropped = SendMessageA(w, kConsumed, 0, 0);
  Application = application;
  EXPECT_EQ(dropped, 0);
  EXPECT_EQ(SendMessageA(w, kPassed, 0, 0), 3);
  delete skin;
  DestroyWindow(w);
}

TEST_F(BaseTest, WindowDestructionPassesOnceThenGivesTheColourBack) {
  HWND w = Bare(Form->Handle());
  auto* skin = new TProbe(nullptr);
  skin->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  NcDestroySeen = 0;
  DestroyWindow(w);
  EXPECT_EQ(NcDestroySeen, 1);
  EXPECT_EQ(skin->FSkinState, scsGone);
  delete skin;  // the window is gone: nothing to give back, no failure

  auto* panel = Make<TPanel>(nullptr, 10, 10, 50, 50);
  panel->SetColor(clRed);
  auto* onPanel = new TSkinControl(panel);
  onPanel->SkinControl(&Host, Data.get(), &FormCanvas, true);
  EXPECT_EQ(panel->Color(), Data->ButtonFace);
  EXPECT_EQ(onPanel->FOldColor, clRed);
  DestroyWindow(panel->Handle());
  EXPECT_EQ(onPanel->FSkinState, scsGone);
  EXPECT_EQ(panel->Color(), clRed);
}

TEST_F(BaseTest, PaintIntoGivenContextKeepsItAndOwnPaintTakesAndReleasesTheWindowDC) {
  HWND w = Bare(Form->Handle());
  auto* skin = new TProbe(nullptr);
  skin->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  TBitmap into(60, 30);
  HDC dc = into.Canvas()->Handle();
  SendMessageA(w, WM_PAINT, WPARAM(dc), 0);
  EXPECT_EQ(skin->LastDC, dc);
  EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));  // still ours, not released
  EXPECT_EQ(PixelAt(into, 59, 29), RGB(1, 200, 3));
  RECT wr;
  GetWindowRect(w, &wr);
  EXPECT_TRUE(EqualRect(&skin->FWindowRect, &wr));

  // Without a context the window DC is taken and released: many paints leave no DC behind.
  int before = GdiObjectCount();
  for (int i = 0; i < 200; ++i) skin->PaintFrame(nullptr);
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_GT(skin->Draws, 200);
  delete skin;
  DestroyWindow(w);
}

TEST_F(BaseTest, RepaintPaintsChildrenOnlyAndRefreshFollowsTheTakeColourFlag) {
  HWND top = Bare(nullptr);
  auto* topSkin = new TProbe(nullptr);
  topSkin->SkinHandle(top, Data.get(), &FormCanvas, &Host);
  Pump();
  int drawn = topSkin->Draws;
  topSkin->Repaint();
  RECT update;
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
  EXPECT_EQ(topSkin->Draws, drawn);
  delete topSkin;
  DestroyWindow(top);

  HWND child = Bare(Form->Handle());
  auto* childSkin = new TProbe(nullptr);
  childSkin->SkinHandle(child, Data.get(), &FormCanvas, &Host);
  Pump();
  drawn = childSkin->Draws;
  childSkin->Repaint();
  EXPECT_GT(childSkin->Draws, drawn);  // WM_PAINT came through at once
  delete childSkin;
  DestroyWindow(child);

  auto* kept = Make<TPanel>(nullptr, 0, 0, 40, 40);
  kept->SetColor(clLime);
  auto* keptSkin = new TSkinControl(kept);
  keptSkin->SkinControl(&Host, Data.get(), &FormCanvas, false);
  keptSkin->Refresh();
  keptSkin->Unskin();
  EXPECT_EQ(kept->Color(), clLime);

  auto* taken = Make<TPanel>(nullptr, 50, 0, 40, 40);
  taken->SetColor(clLime);
  auto* takenSkin = new TSkinControl(taken);
  takenSkin->SkinControl(&Host, Data.get(), &FormCanvas, true);
  taken->SetColor(clBlue);
  takenSkin->Refresh();
  EXPECT_EQ(taken->Color(), Data->ButtonFace);
  takenSkin->Unskin();
  EXPECT_EQ(taken->Color(), clLime);
}

// Paints a new shade at every drawing; its blue is the length of the caption it knows.
class TShades : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  void DrawControl(HDC dc, const RECT& r) override {
    ++Draws;
    HBRUSH b = CreateSolidBrush(RGB(Draws * 9 % 256, 100, FText.size()));
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  int Draws = 0;
};

TEST_F(BaseTest, FocusEnableAndTextChangesShowAtOnce) {
  // The window's own procedure repaints on none of these: what shows is the skin's own doing.
  HWND w = Bare(Form->Handle());
  auto* skin = new TShades(nullptr);
  skin->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  Pump();
  HDC dc = GetWindowDC(w);
  for (UINT msg : {UINT(WM_SETFOCUS), UINT(WM_KILLFOCUS), UINT(WM_ENABLE), CM_ENABLEDCHANGED}) {
    const COLORREF before = GetPixel(dc, 5, 5);
    SendMessageA(w, msg, 0, 0);
    EXPECT_NE(GetPixel(dc, 5, 5), before) << std::hex << msg;
  }
  ASSERT_EQ(GetBValue(GetPixel(dc, 5, 5)), 4);  // "bare"
  SetWindowTextA(w, "caption");
  EXPECT_EQ(GetBValue(GetPixel(dc, 5, 5)), 7);
  ReleaseDC(w, dc);
  delete skin;
  DestroyWindow(w);
}

TEST_F(BaseTest, FormFreesItsControlsUnskinningThoseStillAlive) {
  auto* a = Make<TPanel>(nullptr, 0, 0, 40, 40);
  a->SetColor(clYellow);
  TWndMethod ownA = a->WindowProc;
  auto* skinA = new TSkinControl(a);
  skinA->SkinControl(&Host, Data.get(), &FormCanvas, true);
  HWND w = Bare(Form->Handle());
  auto* skinB = new TProbe(nullptr);
  skinB->SkinHandle(w, Data.get(), &FormCanvas, &Host);
  DestroyWindow(w);
  ASSERT_EQ(Host.FControls.Count(), 2);
  Host.FreeControls();
  EXPECT_EQ(Host.FControls.Count(), 0);
  EXPECT_EQ(a->Color(), clYellow);
  EXPECT_TRUE(a->WindowProc == ownA);
  EXPECT_EQ(a->ComponentCount(), 0);
}

// ---- Drawing operations --------------------------------------------------------------------------

// The bounding box of pixels that differ from the background.
RECT InkBox(TBitmap& b, COLORREF background) {
  RECT box{b.Width(), b.Height(), -1, -1};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (PixelAt(b, x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

class DrawTest : public BaseTest {
 protected:
  void SetUp() override {
    BaseTest::SetUp();
    Skin = std::make_unique<TSkinControl>(nullptr);
    Skin->FSkinData = Data.get();
    Skin->FEnabled = true;
  }
  void TearDown() override {
    Skin.reset();
    BaseTest::TearDown();
  }
  std::unique_ptr<TBitmap> White(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(RECT{0, 0, w, h});
    b->Canvas()->Font()->SetColor(clBlack);
    return b;
  }
  std::unique_ptr<TSkinControl> Skin;
};

TEST_F(DrawTest, CaptionTextCentredOrKeptFullWidthOnePixelAboveTheMiddle) {
  auto measure = [](TCanvas* c, const std::string& t) {
    RECT r{0, 0, 0, 0};
    DrawTextA(c->Handle(), t.c_str(), int(t.size()), &r, DT_CALCRECT | DT_EXPANDTABS | DT_NOCLIP);
    return r;
  };
  auto centred = White(120, 40);
  RECT m = measure(centred->Canvas(), "Hi");
  Skin->DrawCaptionText(centred->Canvas(), RECT{0, 0, 120, 40}, DT_CENTER, true, "Hi");
  RECT ink = InkBox(*centred, RGB(255, 255, 255));
  int left = (120 - m.right) / 2, top = (40 - m.bottom) / 2 - 1;
  EXPECT_GE(ink.left, left);
  EXPECT_LE(ink.right, left + m.right);
  EXPECT_GE(ink.top, top);
  EXPECT_LE(ink.bottom, top + m.bottom);

  auto right = White(120, 40);
  Skin->DrawCaptionText(right->Canvas(), RECT{0, 0, 120, 40}, DT_RIGHT, true, "Hi");
  RECT rink = InkBox(*right, RGB(255, 255, 255));
  EXPECT_GE(rink.left, 120 - m.right);  // aligned by the full width
  EXPECT_EQ(rink.top, ink.top);

  auto disabled = White(120, 40);
  Skin->DrawCaptionText(disabled->Canvas(), RECT{0, 0, 120, 40}, DT_LEFT, false, "Hi");
  RECT dink = InkBox(*disabled, RGB(255, 255, 255));
  ASSERT_LT(dink.left, dink.right);
  bool shadow = false;
  for (int y = dink.top; y < dink.bottom; ++y)
    for (int x = dink.left; x < dink.right; ++x)
      shadow |= PixelAt(*disabled, x, y) == GetSysColor(COLOR_BTNSHADOW);
  EXPECT_TRUE(shadow);
}

TEST_F(DrawTest, ImageAndTextWithoutImageStartsTheTextAsIfNoImageWidth) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  auto a = White(120, 30);
  Skin->DrawImageAndText(a->Canvas(), RECT{0, 0, 120, 30}, 0, "Tab", -1, list);
  auto b = White(120, 30);
  Skin->DrawImageAndText(b->Canvas(), RECT{0, 0, 120, 30}, 0, "Tab", 0, nullptr);
  RECT ia = InkBox(*a, RGB(255, 255, 255)), ib = InkBox(*b, RGB(255, 255, 255));
  EXPECT_TRUE(EqualRect(&ia, &ib));
  EXPECT_GE(ia.left, 3);  // start 2, then one pixel after the (absent) image
  EXPECT_LE(ia.left, 5);
  ImageList_Destroy(list);
}

TEST_F(DrawTest, ElementFrameLeavesKeyPixelsOutAndDrawsTheFrameOfTheState) {
  auto b = White(40, 20);
  HDC dc = b->Canvas()->Handle();
  Skin->DrawElementFrame(dc, RECT{0, 0, 40, 20}, Data->Buttons.get(), 3, 5);
  EXPECT_EQ(PixelAt(*b, 20, 10), Frame(testskin::tpButtons, 3));
  EXPECT_EQ(PixelAt(*b, 0, 0), RGB(255, 255, 255));  // the key mark is transparent
  EXPECT_EQ(PixelAt(*b, 2, 0), testskin::kOpaqueMark);
  // An inverted rectangle draws nothing.
  auto c = White(10, 10);
  Skin->DrawElementFrame(c->Canvas()->Handle(), RECT{5, 5, 2, 8}, Data->Buttons.get(), 1, 5);
  EXPECT_EQ(InkBox(*c, RGB(255, 255, 255)).right, -1);
}

TEST_F(DrawTest, StripFramesNeverDrawTheRemainderColumns) {
  // Seven columns in three frames: two pixels each, the seventh column is a remainder.
  auto strip = drawtest::MakePicture(7, 2, [](int x, int) -> COLORREF {
    return x == 6 ? RGB(9, 9, 9) : x < 2 ? RGB(10, 0, 0) : x < 4 ? RGB(0, 10, 0) : RGB(0, 0, 10);
  });
  auto b = White(12, 4);
  Skin->PaintStripFrame(b->Canvas()->Handle(), RECT{0, 0, 12, 4}, 3, 3, strip.get());
  for (int x = 0; x < 12; ++x) EXPECT_EQ(PixelAt(*b, x, 2), RGB(0, 0, 10)) << x;

  auto canvasTarget = White(12, 4);
  Skin->PaintStripFrameCanvas(canvasTarget->Canvas(), RECT{0, 0, 12, 4}, 3, 2, strip.get());
  EXPECT_EQ(PixelAt(*canvasTarget, 11, 3), RGB(0, 10, 0));

  // Key-coloured pixels of the strip are left out; the shared canvas keeps no context after.
  auto keyed =
      drawtest::MakePicture(4, 2, [](int x, int) -> COLORREF { return x == 0 ? 0xFF00FF : RGB(5, 6, 7); });
  auto own = White(4, 2);
  Skin->FCanvas = &FormCanvas;
  Skin->PaintStripFrameOwnCanvas(own->Canvas()->Handle(), RECT{0, 0, 4, 2}, 1, 1, keyed.get());
  EXPECT_EQ(PixelAt(*own, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(*own, 1, 0), RGB(5, 6, 7));
  EXPECT_FALSE(FormCanvas.HandleAllocated());
}

TEST_F(DrawTest, DrawingLeavesNoGdiObjectsBehind) {
  auto b = White(60, 30);
  int before = 0;
  // The first round makes what lives on: the pictures' own contexts and the canvas's objects.
  for (int i = -1; i < 100; ++i) {
    if (i == 0) before = GdiObjectCount();
    Skin->FillBackground(b->Canvas()->Handle(), RECT{0, 0, 60, 30});
    Skin->DrawElementFrame(b->Canvas()->Handle(), RECT{0, 0, 60, 30}, Data->Buttons.get(), 1 + i % 5, 5);
    Skin->PaintStripFrame(b->Canvas()->Handle(), RECT{0, 0, 60, 30}, 5, 2, Data->Buttons->Image.get());
    Skin->DrawCaptionText(b->Canvas(), RECT{0, 0, 60, 30}, DT_CENTER, i % 2 == 0, "warm");
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
