// Skinned push, bitmap and speed buttons with real windows: the skin frame of each state, clicks,
// the form's one hot button, glyph layout and glyph choice, a bitmap button's caption and that its
// own face never shows, and the speed button's hooked message method, checked against the
// solid-colour test skin.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "GraphicsHelpers.h"
#include "WinSubClassTesting.h"
#include "tests/unit/MessageBoxWatch.h"
#include "skin/RezIderForm.h"
#include "tk/Buttons.h"
#include "tk/StdCtrls.h"

using namespace ctltest;
using testskin::tpButtons;

namespace {

COLORREF ButtonFrame(int state) { return Frame(tpButtons, state); }

class ButtonTest : public SkinControlTest {
 protected:
  // Moves the keyboard focus to a control of the form that is no button.
  void FocusElsewhere() {
    if (!FOther) FOther = Make<TEdit>(nullptr, 200, 150, 60, 22);
    SetFocus(FOther->Handle());
  }
  TEdit* FOther = nullptr;
  // A skinned toolkit push button without caption, so its middle shows the frame colour.
  TSkinButton* Button(TButton*& button, int x = 10) {
    button = Make<TButton>(nullptr, x, 10, 60, 24);
    button->SetCaption("");
    auto* skin = new TSkinButton(button);
    skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
    return skin;
  }
  COLORREF Middle(TSkinControl* skin, HWND wnd) {
    auto pic = Picture(skin, wnd);
    return PixelAt(*pic, pic->Width() / 2, pic->Height() / 2);
  }
};

TEST_F(ButtonTest, EachStateShowsItsFrame) {
  TButton* b;
  TSkinButton* skin = Button(b);
  HWND w = b->Handle();
  FocusElsewhere();
  EXPECT_EQ(Middle(skin, w), ButtonFrame(1));
  auto pic = Picture(skin, w);
  EXPECT_EQ(PixelAt(*pic, 0, 0), Named(kButtonFace));  // key pixels show the skin colour

  SetFocus(w);
  EXPECT_EQ(Middle(skin, w), ButtonFrame(4));  // focused, neither hot nor pressed
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(skin->FMouseState & msPressed, msPressed);
  EXPECT_EQ(Middle(skin, w), ButtonFrame(2));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Middle(skin, w), ButtonFrame(4));

  b->SetEnabled(false);  // disabled wins, even with the focus
  EXPECT_EQ(Middle(skin, w), ButtonFrame(3));
  b->SetEnabled(true);
  FocusElsewhere();
  SendMessageA(w, CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(skin->FMouseState & msHot, msHot);
  EXPECT_EQ(Middle(skin, w), ButtonFrame(4));
  EXPECT_EQ(Host.FHotButton, skin);
  SendMessageA(w, CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skin->FMouseState, 0);
  EXPECT_EQ(Host.FHotButton, nullptr);
  EXPECT_EQ(Middle(skin, w), ButtonFrame(1));
}

TEST_F(ButtonTest, CaptionIsDrawnInTheStateColour) {
  TButton* b;
  TSkinButton* skin = Button(b);
  b->SetCaption("WWWWWW");
  auto pic = Picture(skin, b->Handle());
  bool normalColour = false;
  for (int y = 0; y < pic->Height(); ++y)
    for (int x = 0; x < pic->Width(); ++x) normalColour |= PixelAt(*pic, x, y) == RGB(171, 172, 173);
  EXPECT_TRUE(normalColour);
}

TEST_F(ButtonTest, ClickComesOnReleaseAfterAPressOnly) {
  TButton* b;
  TSkinButton* skin = Button(b);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  HWND w = b->Handle();
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 0);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(GetFocus(), w);
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(skin->FMouseState & msPressed, 0);

  // The space key presses and lets go; the button's own handling clicks.
  SendMessageA(w, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(skin->FMouseState & msPressed, msPressed);
  SendMessageA(w, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(skin->FMouseState & msPressed, 0);
}

const char* kParentClass = "SkinButtonParentTest";
std::vector<std::pair<WPARAM, LPARAM>> Commands;

LRESULT CALLBACK ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND) Commands.push_back({w, l});
  return DefWindowProcA(h, m, w, l);
}

TEST_F(ButtonTest, BarePushButtonPostsItsCommandOnReleaseOnly) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kParentClass;
  RegisterClassA(&wc);
  HWND parent = CreateWindowExA(0, kParentClass, "p", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  HWND button = CreateWindowExA(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 24,
                                parent, HMENU(42), wc.hInstance, nullptr);
  auto* skin = new TSkinButton(nullptr);
  skin->SkinHandle(button, Data.get(), &FormCanvas, &Host);
  Pump();
  Commands.clear();
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  Pump();
  EXPECT_TRUE(Commands.empty());
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump();
  ASSERT_EQ(Commands.size(), 1u);
  EXPECT_EQ(Commands[0].first, WPARAM(42));
  EXPECT_EQ(Commands[0].second, LPARAM(button));
  // It is painted from the skin: its middle shows the hot frame while it has the focus (another
  // program's window may have taken the desktop's focus meanwhile).
  const COLORREF middle = Middle(skin, button);
  EXPECT_EQ(middle, ButtonFrame(skin->FFocused ? 4 : 1));
  delete skin;
  DestroyWindow(parent);
}

TEST_F(ButtonTest, AFontDeletedUnderTheButtonLeavesItPaintedWithoutAnErrorBox) {
  HWND w = Child("BUTTON", BS_PUSHBUTTON, 10, 10, 60, 24);
  auto* skin = SkinBare<TSkinButton>(w);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
  SendMessageA(w, WM_SETFONT, WPARAM(font), FALSE);
  DeleteObject(font);
  TBitmap into(60, 24);
  {
    MessageBoxWatch watch;
    SendMessageA(w, WM_PAINT, WPARAM(into.Canvas()->Handle()), 0);
    EXPECT_EQ(watch.Caption, "");
  }
  EXPECT_EQ(PixelAt(into, 30, 12), ButtonFrame(skin->FFocused ? 4 : 1));
}

TEST_F(ButtonTest, MovingFromOneButtonToAnotherMakesTheFirstLeave) {
  // Bare push buttons: the pointer's moves are all they hear of it.
  auto bare = [&](int x, int id) {
    HWND w = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 10, 60, 24,
                             Form->Handle(), HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    auto* skin = new TSkinButton(nullptr);
    skin->SkinHandle(w, Data.get(), &FormCanvas, &Host);
    return std::make_pair(w, skin);
  };
  auto [a, skinA] = bare(10, 1);
  auto [b, skinB] = bare(100, 2);
  FocusElsewhere();
  SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(Host.FHotButton, skinA);
  EXPECT_EQ(skinA->FMouseState & msHot, msHot);
  EXPECT_EQ(Middle(skinA, a), ButtonFrame(4));
  SendMessageA(b, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(Host.FHotButton, skinB);
  EXPECT_EQ(skinA->FMouseState, 0);
  EXPECT_EQ(Middle(skinA, a), ButtonFrame(1));
  EXPECT_EQ(Middle(skinB, b), ButtonFrame(4));
  // A hot button that goes is forgotten by the form.
  delete skinB;
  EXPECT_EQ(Host.FHotButton, nullptr);
  SendMessageA(a, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(Host.FHotButton, skinA);
  delete skinA;
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST_F(ButtonTest, PaintingManyTimesLeavesNoGdiObjects) {
  TButton* b;
  TSkinButton* skin = Button(b);
  b->SetCaption("Count");
  skin->PaintFrame(nullptr);
  int before = GdiObjectCount();
  for (int i = 0; i < 100; ++i) {
    SendMessageA(b->Handle(), i % 2 ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, 0);
    InvalidateRect(b->Handle(), nullptr, TRUE);
    UpdateWindow(b->Handle());
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(ButtonTest, SkinningAndGivingBackManyTimesLeavesNothingBehind) {
  auto* b = Make<TButton>(nullptr, 10, 10, 60, 24);
  b->SetCaption("Again");
  TWndMethod own = b->WindowProc;
  int before = 0;
  for (int i = -1; i < 50; ++i) {  // the first round makes what the button and canvas keep
    if (i == 0) before = GdiObjectCount();
    auto* skin = new TSkinButton(b);
    skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
    InvalidateRect(b->Handle(), nullptr, TRUE);
    UpdateWindow(b->Handle());
    skin->PaintFrame(nullptr);
    delete skin;
  }
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_TRUE(b->WindowProc == own);
  EXPECT_EQ(Host.FControls.Count(), 0);
  EXPECT_EQ(b->ComponentCount(), 0);
}

TEST_F(ButtonTest, ANewWindowAfterTheOldOneWentPaintsItself) {
  TButton* b;
  TSkinButton* skin = Button(b);
  HWND old = b->Handle();
  b->DestroyHandle();
  EXPECT_EQ(skin->FSkinState, scsGone);
  HWND fresh = b->Handle();
  ASSERT_NE(fresh, nullptr);
  ASSERT_TRUE(IsWindow(fresh));
  EXPECT_FALSE(IsWindow(old));
  InvalidateRect(fresh, nullptr, TRUE);
  UpdateWindow(fresh);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(fresh, &update, FALSE));  // painted, not swallowed
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(fresh, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(skin->FMouseState, 0);
}

// ---- Glyph layout --------------------------------------------------------------------------------

TEST(SkinGlyphLayout, CentredPairSpreadsTheFreeSpaceInThreeParts) {
  TGlyphLayout l = LayoutSkinGlyph(SIZE{100, 30}, SIZE{16, 16}, SIZE{24, 13}, blGlyphLeft, -1, -1, false);
  // 100 - 40 = 60: 20 before, 20 between, 20 after.
  EXPECT_EQ(l.Glyph.x, 20);
  EXPECT_EQ(l.Text.x, 56);
  EXPECT_EQ(l.Glyph.y, 7);  // (30 - 16 + 1) div 2
  EXPECT_EQ(l.Text.y, 9);   // (30 - 13 + 1) div 2
  EXPECT_EQ(l.Alignment, UINT(DT_LEFT));
}

TEST(SkinGlyphLayout, EmptyCaptionHasNoSpacingAndTheGlyphIsPlacedByTheMargin) {
  TGlyphLayout l = LayoutSkinGlyph(SIZE{100, 30}, SIZE{16, 16}, SIZE{0, 0}, blGlyphLeft, -1, 4, false);
  EXPECT_EQ(l.Glyph.x, 42);  // (100 - 16) div 2: the spacing counts 0
  l = LayoutSkinGlyph(SIZE{100, 30}, SIZE{16, 16}, SIZE{0, 0}, blGlyphRight, 5, 4, false);
  EXPECT_EQ(l.Glyph.x, 100 - 5 - 16);
  EXPECT_EQ(l.Alignment, UINT(DT_RIGHT));
}

TEST(SkinGlyphLayout, SpeedButtonSitsOnePixelFurtherInWithAFixedSpacing) {
  TGlyphLayout bit = LayoutSkinGlyph(SIZE{80, 24}, SIZE{16, 16}, SIZE{20, 13}, blGlyphLeft, -1, 4, false);
  TGlyphLayout speed = LayoutSkinGlyph(SIZE{80, 24}, SIZE{16, 16}, SIZE{20, 13}, blGlyphLeft, -1, 4, true);
  EXPECT_EQ(bit.Glyph.x, 20);
  EXPECT_EQ(speed.Glyph.x, 21);
  // Vertical layouts centre across and lay out along y; a margin with a free spacing centres the text.
  TGlyphLayout top = LayoutSkinGlyph(SIZE{40, 60}, SIZE{16, 16}, SIZE{20, 13}, blGlyphTop, 3, -1, false);
  EXPECT_EQ(top.Glyph.x, 12);
  EXPECT_EQ(top.Glyph.y, 3);
  EXPECT_EQ(top.Text.y, 3 + 16 + (60 - 19 - 13) / 2);
  EXPECT_EQ(top.Alignment, UINT(DT_CENTER));
  TGlyphLayout bottom = LayoutSkinGlyph(SIZE{40, 60}, SIZE{16, 16}, SIZE{20, 13}, blGlyphBottom, 3, 2, false);
  EXPECT_EQ(bottom.Glyph.y, 60 - 3 - 16);
  EXPECT_EQ(bottom.Text.y, bottom.Glyph.y - 2 - 13);
}

// ---- Bitmap buttons ------------------------------------------------------------------------------

// A strip of n glyphs of 8 x 8, glyph i (from 0) in colour i, a key border of the bottom-left colour.
std::unique_ptr<TBitmap> GlyphStrip(int n) {
  static const COLORREF colours[] = {RGB(200, 10, 10), RGB(10, 200, 10), RGB(10, 10, 200), RGB(200, 200, 10)};
  return drawtest::MakePicture(8 * n, 8, [](int x, int y) -> COLORREF {
    int fx = x % 8;
    if (fx == 0 || y == 7) return RGB(0, 128, 128);  // transparent: the bottom-left colour
    return colours[x / 8];
  });
}

class BitButtonTest : public ButtonTest {
 protected:
  // A skinned bitmap button without caption holding a strip of n glyphs; Glyph is where the
  // glyph's top-left lands (margin -1, spacing 4, no caption: centred on the client area).
  TSkinBitButton* BitButton(TBitBtn*& b, int n) {
    b = Make<TBitBtn>(nullptr, 10, 10, 60, 30);
    b->SetCaption("");
    auto strip = GlyphStrip(n);
    b->SetGlyph(strip.get());
    b->SetNumGlyphs(n);
    auto* skin = new TSkinBitButton(b);
    skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
    RECT client;
    GetClientRect(b->Handle(), &client);
    Glyph = {(client.right - 8) / 2, (client.bottom - 8 + 1) / 2};
    return skin;
  }
  COLORREF GlyphMiddle(TSkinControl* skin, HWND w) {
    return PixelAt(*Picture(skin, w), Glyph.x + 4, Glyph.y + 3);
  }
  POINT Glyph{};
};

TEST_F(BitButtonTest, ThreeGlyphsShowTheFirstGreyedWhenDisabled) {
  TBitBtn* b;
  TSkinBitButton* skin = BitButton(b, 3);
  FocusElsewhere();
  EXPECT_EQ(GlyphMiddle(skin, b->Handle()), RGB(200, 10, 10));
  EXPECT_EQ(PixelAt(*Picture(skin, b->Handle()), Glyph.x, Glyph.y + 3),
            ButtonFrame(1));  // key colour left out
  SendMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(GlyphMiddle(skin, b->Handle()), RGB(200, 10, 10));  // pressed: still the first glyph
  EXPECT_EQ(PixelAt(*Picture(skin, b->Handle()), 4, 4), ButtonFrame(2));
  SendMessageA(b->Handle(), WM_LBUTTONUP, 0, 0);
  b->SetEnabled(false);
  COLORREF grey = GlyphMiddle(skin, b->Handle());
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
  EXPECT_EQ(PixelAt(*Picture(skin, b->Handle()), 4, 4), ButtonFrame(3));
}

TEST_F(BitButtonTest, FourGlyphsShowThePressedGlyph) {
  TBitBtn* b;
  TSkinBitButton* skin = BitButton(b, 4);
  SendMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(GlyphMiddle(skin, b->Handle()), RGB(10, 10, 200));
}

// The pixels of a picture in colour c.
std::vector<std::pair<int, int>> PixelsOf(TBitmap& b, COLORREF c) {
  std::vector<std::pair<int, int>> found;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (PixelAt(b, x, y) == c) found.push_back({x, y});
  return found;
}

TEST_F(BitButtonTest, TheCaptionSitsByTheLayoutAndTakesTheColourOfEachState) {
  FocusElsewhere();
  TBitBtn* b;
  TSkinBitButton* skin = BitButton(b, 1);
  b->SetBounds(10, 10, 90, 40);
  b->SetCaption("Wide");
  HWND w = b->Handle();
  // The caption's ink where each layout puts it: glyph 8 x 8, margin -1, spacing 4, on a client
  // of 90 x 40.
  TBitmap measure(90, 40);
  measure.Canvas()->SetFont(b->Font());
  RECT t{0, 0, 90, 40};
  DrawTextA(measure.Canvas()->Handle(), "Wide", 4, &t, DT_CALCRECT);
  const SIZE T{t.right, t.bottom};
  const int across = (90 - (8 + 4 + T.cx)) / 2, down = (40 - (8 + 4 + T.cy)) / 2;
  auto inkAt = [&](POINT at, UINT alignment) {
    auto ref = drawtest::Solid(90, 40, RGB(255, 255, 255));
    ref->Canvas()->SetFont(b->Font());
    ref->Canvas()->Font()->SetColor(clBlack);
    SetBkMode(ref->Canvas()->Handle(), TRANSPARENT);
    RECT r{at.x, at.y, at.x + T.cx, at.y + T.cy};
    DrawTextW(ref->Canvas()->Handle(), L"Wide", 4, &r, alignment);
    return PixelsOf(*ref, RGB(0, 0, 0));
  };
  const struct {
    TButtonLayout Layout;
    POINT Text;
    UINT Alignment;
  } layouts[] = {{blGlyphLeft, {across + 8 + 4, (40 - T.cy + 1) / 2}, DT_LEFT},
                 {blGlyphRight, {90 - across - 8 - 4 - T.cx, (40 - T.cy + 1) / 2}, DT_RIGHT},
                 {blGlyphTop, {(90 - T.cx + 1) / 2, down + 8 + 4}, DT_CENTER},
                 {blGlyphBottom, {(90 - T.cx + 1) / 2, 40 - down - 8 - 4 - T.cy}, DT_CENTER}};
  for (const auto& l : layouts) {
    b->SetLayout(l.Layout);
    auto pic = Picture(skin, w);
    EXPECT_EQ(PixelsOf(*pic, RGB(171, 172, 173)), inkAt(l.Text, l.Alignment)) << l.Layout;
  }

  // The state's frame and caption colour: normal, hot, pressed, focused, disabled.
  b->SetLayout(blGlyphLeft);
  const auto ink = inkAt(layouts[0].Text, DT_LEFT);
  const struct {
    const char* Name;
    std::function<void()> Make;
    int Frame;
    COLORREF Caption;
  } states[] = {{"normal", [] {}, 1, RGB(171, 172, 173)},
                {"hot", [&] { SendMessageA(w, CM_MOUSEENTER, 0, 0); }, 4, RGB(181, 182, 183)},
                {"pressed", [&] { SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, 0); }, 2, RGB(191, 192, 193)},
                {"focused",
                 [&] {
                   SendMessageA(w, WM_LBUTTONUP, 0, 0);
                   SendMessageA(w, CM_MOUSELEAVE, 0, 0);
                   SetFocus(w);
                   EXPECT_TRUE(b->Focused());
                 },
                 4, RGB(181, 182, 183)},
                {"disabled", [&] { b->SetEnabled(false); }, 3, GetSysColor(COLOR_BTNSHADOW)}};
  for (const auto& s : states) {
    s.Make();
    auto pic = Picture(skin, w);
    EXPECT_EQ(PixelAt(*pic, 3, 3), ButtonFrame(s.Frame)) << s.Name;
    EXPECT_EQ(PixelsOf(*pic, s.Caption), ink) << s.Name;
  }
}

// A bitmap button that counts the times its own owner-drawn face is asked for.
class TCountingBitBtn : public TBitBtn {
 public:
  using TBitBtn::TBitBtn;
  int OwnFaces = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CN_DRAWITEM) ++OwnFaces;
    TBitBtn::WndProc(Message);
  }
};

TEST_F(BitButtonTest, TheButtonsOwnFaceNeverShowsWhenTabFocusesItOrTheSpaceBarPressesIt) {
  FocusElsewhere();
  auto* b = Make<TCountingBitBtn>(nullptr, 10, 10, 90, 30);
  b->SetCaption("Go");
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  auto* skin = new TSkinBitButton(b);
  skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
  HWND w = b->Handle();
  b->OwnFaces = 0;  // its caption came before the skin
  auto key = [&](HWND to, UINT msg, WPARAM vk) {
    PostMessageA(to, msg, vk, 1);
    Application->ProcessMessages();
  };
  // Another test program on the display can take the focus away meanwhile: then again.
  bool pressed = false;
  for (int attempt = 0; attempt < 10 && !(clicks == 1 && pressed && GetFocus() == w); ++attempt) {
    clicks = 0;
    SetForegroundWindow(Form->Handle());
    SetFocus(FOther->Handle());
    key(FOther->Handle(), WM_KEYDOWN, VK_TAB);
    key(FOther->Handle(), WM_KEYUP, VK_TAB);
    if (GetFocus() != w) continue;
    key(w, WM_KEYDOWN, VK_SPACE);
    pressed = skin->FMouseState & msPressed;
    key(w, WM_KEYUP, VK_SPACE);
  }
  ASSERT_EQ(GetFocus(), w);
  EXPECT_TRUE(pressed);
  EXPECT_EQ(clicks, 1);
  UpdateWindow(w);
  EXPECT_EQ(b->OwnFaces, 0);
}

// ---- Speed buttons -------------------------------------------------------------------------------

class SpeedTest : public ButtonTest {
 protected:
  TSkinSpeedButton* Speed(TSpeedButton*& button) {
    button = new TSpeedButton(Form);
    button->SetParent(Form);
    button->SetBounds(10, 10, 40, 30);
    auto* skin = new TSkinSpeedButton(button);
    skin->HookOwner(&Host, Data.get(), &FormCanvas);
    return skin;
  }
  // What the parent paints for the button, through its message method.
  std::unique_ptr<TBitmap> Painted(TSpeedButton* button) {
    auto bmp = std::make_unique<TBitmap>(button->Width(), button->Height());
    button->Perform(WM_PAINT, WPARAM(bmp->Canvas()->Handle()));
    return bmp;
  }
};

TEST_F(SpeedTest, HookReplacesTheMessageMethodAndGivesItBack) {
  TSpeedButton* button;
  TWndMethod own;
  {
    button = new TSpeedButton(Form);
    button->SetParent(Form);
    own = button->WindowProc;
    auto* skin = new TSkinSpeedButton(button);
    skin->HookOwner(&Host, Data.get(), &FormCanvas);
    EXPECT_EQ(skin->FSkinState, scsSkinned);
    EXPECT_FALSE(skin->FSkinned);
    EXPECT_EQ(skin->FHandle, nullptr);
    EXPECT_TRUE(Host.Lists(skin));
    EXPECT_FALSE(button->WindowProc == own);
    skin->HookOwner(&Host, Data.get(), &FormCanvas);  // refused: nothing changes
    EXPECT_TRUE(skin->FOldWindowProc == own);
    button->Perform(CM_RELEASE);
    EXPECT_TRUE(button->WindowProc == own);
    delete skin;
    EXPECT_TRUE(button->WindowProc == own);
  }
  auto* skin = new TSkinSpeedButton(button);
  skin->HookOwner(&Host, Data.get(), &FormCanvas);
  delete button;  // the skin object goes with it, giving the method back first
  EXPECT_EQ(Host.FControls.Count(), 0);
}

TEST_F(SpeedTest, DownAndDisabledShowsThePressedFrameAndGlyph) {
  TSpeedButton* button;
  TSkinSpeedButton* skin = Speed(button);
  auto strip = GlyphStrip(4);
  button->SetGlyph(strip.get());
  button->SetNumGlyphs(4);
  button->GroupIndex = 1;
  button->SetDown(true);
  button->SetEnabled(false);
  auto pic = Painted(button);
  EXPECT_EQ(PixelAt(*pic, 2, 27), ButtonFrame(2));
  // Glyph-left, margin -1, spacing 4, no caption: centred along x, one pixel further in.
  int gx = (40 - 8) / 2 + 1, gy = (30 - 8 + 1) / 2;
  EXPECT_EQ(PixelAt(*pic, gx + 4, gy + 3), RGB(10, 10, 200));
  (void)skin;
}

TEST_F(SpeedTest, CaptionWithoutGlyphTakesTheFontColourOrTheShadowWhenDisabled) {
  TSpeedButton* button;
  Speed(button);
  button->SetCaption("WWW");
  button->Font()->SetColor(RGB(0, 0, 250));
  auto count = [](TBitmap& b, COLORREF c) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) n += PixelAt(b, x, y) == c;
    return n;
  };
  auto pic = Painted(button);
  EXPECT_GT(count(*pic, RGB(0, 0, 250)), 0);
  EXPECT_EQ(PixelAt(*pic, 2, 27), ButtonFrame(1));
  button->SetEnabled(false);
  pic = Painted(button);
  EXPECT_EQ(count(*pic, RGB(0, 0, 250)), 0);
  EXPECT_GT(count(*pic, GetSysColor(COLOR_BTNSHADOW)), 0);
}

TEST_F(SpeedTest, PointerStatesAndLeavingWhileInvisible) {
  TSpeedButton* button;
  TSkinSpeedButton* skin = Speed(button);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  button->Perform(CM_MOUSEENTER);
  EXPECT_EQ(skin->FMouseState, msHot);
  EXPECT_EQ(PixelAt(*Painted(button), 2, 27), ButtonFrame(4));
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(skin->FMouseState, msHot | msPressed);
  EXPECT_EQ(PixelAt(*Painted(button), 2, 27), ButtonFrame(2));
  button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(skin->FMouseState, msHot);
  EXPECT_EQ(clicks, 1);  // the speed button's own handling clicks

  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  button->SetVisible(false);
  Pump();
  // Where the button was, the form shows itself; leaving paints no button there.
  auto onForm = [&] {
    HDC dc = GetDC(Form->Handle());
    const COLORREF c = GetPixel(dc, button->Left() + 2, button->Top() + 27);
    ReleaseDC(Form->Handle(), dc);
    return c;
  };
  const COLORREF hidden = onForm();
  ASSERT_NE(hidden, ButtonFrame(1));
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(skin->FMouseState, 0);
  EXPECT_EQ(onForm(), hidden);
}

TEST_F(SpeedTest, WithoutTheSharedPictureNothingIsDrawn) {
  TSpeedButton* button;
  Speed(button);
  auto pic = std::make_unique<TBitmap>(button->Width(), button->Height());
  TBitmap* shared = SharedBitmap;
  SharedBitmap = nullptr;  // as after the engine's finalisation
  button->Perform(WM_PAINT, WPARAM(pic->Canvas()->Handle()));
  SharedBitmap = shared;
  EXPECT_EQ(PixelAt(*pic, 2, 27), RGB(255, 255, 255));
}

TEST_F(SpeedTest, PaintFrameDrawsOnTheParentAtTheButtonsPlace) {
  TSpeedButton* button;
  TSkinSpeedButton* skin = Speed(button);
  Pump();
  int before = GdiObjectCount();
  for (int i = 0; i < 50; ++i) skin->PaintFrame(nullptr);
  EXPECT_EQ(GdiObjectCount(), before);
  HDC dc = GetDC(Form->Handle());
  COLORREF inside = GetPixel(dc, 10 + 20, 10 + 15);
  ReleaseDC(Form->Handle(), dc);
  EXPECT_EQ(inside, ButtonFrame(1));
}

}  // namespace
