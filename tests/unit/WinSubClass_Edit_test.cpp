// Skinned edits and combo boxes on real windows: the edit's flat two-line frame on paint and on
// print, the spin button inside an edit skinned as an up-down, and the combo box's border, drop
// button and arrow per state and layout, checked by pixel against the solid-colour test skin.
#include <gtest/gtest.h>

#include "GraphicsHelpers.h"
#include "WinSubClassTesting.h"
#include "skin/WinSubClassEdit.h"
#include "tk/StdCtrls.h"

using namespace ctltest;
using namespace testskin;

namespace {

// What nobody paints: the colour a picture starts with.
constexpr COLORREF kUntouched = RGB(1, 2, 3);
const COLORREF kWhite = RGB(255, 255, 255);

class EditSkinTest : public SkinControlTest {
 protected:
  // A picture of the window's size filled with kUntouched, then painted by the skin object.
  static std::unique_ptr<TBitmap> Painted(TSkinControl* skin, HWND wnd) {
    return ctltest::Painted(skin, wnd, kUntouched);
  }
  static std::unique_ptr<TBitmap> Blank(HWND wnd) { return ctltest::Blank(wnd, kUntouched); }
  static COLORREF OnScreen(HWND wnd, int x, int y) {
    HDC dc = GetWindowDC(wnd);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return c;
  }
  static WNDPROC ProcOf(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)); }
  static SIZE SizeOf(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
};

// ---- Edits ---------------------------------------------------------------------------------------

TEST_F(EditSkinTest, ToolkitEditGetsAFlatFrameOnScreenAndGivesItsMethodBack) {
  auto* edit = Make<TEdit>(nullptr, 10, 10, 100, 24);
  edit->SetText("text");
  TWndMethod own = edit->WindowProc;
  auto* skin = new TSkinEdit(edit);
  skin->SkinControl(&Host, Data.get(), &FormCanvas, false);
  EXPECT_FALSE(edit->WindowProc == own);

  auto pic = Painted(skin, edit->Handle());
  EXPECT_EQ(PixelAt(*pic, 0, 0), Named(kButtonShadow));
  EXPECT_EQ(PixelAt(*pic, 99, 12), Named(kButtonShadow));
  EXPECT_EQ(PixelAt(*pic, 1, 1), kWhite);
  EXPECT_EQ(PixelAt(*pic, 50, 22), kWhite);
  EXPECT_EQ(PixelAt(*pic, 2, 2), kUntouched);  // the text area is the edit's own

  // The edit's own painting is followed by the frame.
  RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(OnScreen(edit->Handle(), 0, 0), Named(kButtonShadow));
  EXPECT_EQ(OnScreen(edit->Handle(), 1, 1), kWhite);
  EXPECT_EQ(OnScreen(edit->Handle(), 98, 20), kWhite);
  EXPECT_EQ(skin->FUpDown, nullptr);

  delete skin;
  EXPECT_TRUE(edit->WindowProc == own);
  edit->SetText("again");
  EXPECT_EQ(edit->Text(), "again");
}

TEST_F(EditSkinTest, PaintIntoAGivenContextLeavesTheFramePrintFramesWithThePrintBrush) {
  HWND w = Child("EDIT", ES_AUTOHSCROLL, 10, 10, 100, 24, "abc");
  SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  auto* skin = SkinBare<TSkinEdit>(w);

  auto into = Blank(w);
  SendMessageA(w, WM_PAINT, reinterpret_cast<WPARAM>(into->Canvas()->Handle()), 0);
  EXPECT_NE(PixelAt(*into, 0, 0), Named(kButtonShadow));
  EXPECT_NE(PixelAt(*into, 99, 23), Named(kButtonShadow));

  auto printed = Blank(w);
  HDC dc = printed->Canvas()->Handle();
  HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
  HGDIOBJ old = SelectObject(dc, red);
  SendMessageA(w, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  SelectObject(dc, old);
  DeleteObject(red);
  EXPECT_EQ(PixelAt(*printed, 0, 0), Named(kButtonShadow));
  EXPECT_EQ(PixelAt(*printed, 99, 23), Named(kButtonShadow));
  EXPECT_EQ(PixelAt(*printed, 1, 1), RGB(200, 0, 0));
  EXPECT_EQ(PixelAt(*printed, 98, 12), RGB(200, 0, 0));
  delete skin;
}

TEST_F(EditSkinTest, OnePixelBorderIsFramedOnPaintOnlyAndNoBorderNever) {
  HWND w = Child("EDIT", 0, 10, 10, 100, 24);
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) | WS_BORDER);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RECT c;
  GetClientRect(w, &c);
  ASSERT_EQ(c.right, 98);
  auto* skin = SkinBare<TSkinEdit>(w);
  auto pic = Painted(skin, w);
  EXPECT_EQ(PixelAt(*pic, 0, 0), Named(kButtonShadow));
  EXPECT_EQ(PixelAt(*pic, 1, 1), kWhite);
  auto printed = Blank(w);
  skin->PrintFrame(printed->Canvas()->Handle());
  EXPECT_EQ(PixelAt(*printed, 0, 0), kUntouched);
  EXPECT_EQ(PixelAt(*printed, 1, 1), kUntouched);

  HWND bare = Child("EDIT", 0, 10, 40, 100, 24);
  auto* plain = SkinBare<TSkinEdit>(bare);
  auto none = Painted(plain, bare);
  EXPECT_EQ(PixelAt(*none, 0, 0), kUntouched);
  EXPECT_EQ(PixelAt(*none, 1, 1), kUntouched);
}

LRESULT CALLBACK SpinProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

TEST_F(EditSkinTest, SpinButtonInsideIsSkinnedOnceFoundAndSearchedAgainUntilThen) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SpinProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TSpinButton";
  RegisterClassA(&wc);

  HWND w = Child("EDIT", 0, 10, 10, 100, 24);
  SetWindowLongA(w, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  auto* skin = SkinBare<TSkinEdit>(w);
  Painted(skin, w);
  EXPECT_EQ(skin->FUpDown, nullptr);

  // A child of another class is no spin button.
  HWND other = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, w, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  HWND spin = CreateWindowExA(0, "TSpinButton", "", WS_CHILD | WS_VISIBLE, 70, 1, 16, 18, w, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  WNDPROC before = ProcOf(spin);
  Painted(skin, w);
  ASSERT_NE(skin->FUpDown, nullptr);
  EXPECT_EQ(skin->FUpDown->FHandle, spin);
  EXPECT_TRUE(skin->FUpDown->FInEdit);
  EXPECT_NE(ProcOf(spin), before);
  EXPECT_TRUE(Host.Lists(skin->FUpDown));

  // Drawn one pixel inside its client area, from the skin's vertical up-down.
  RECT c;
  GetClientRect(spin, &c);
  auto pic = std::make_unique<TBitmap>(c.right, c.bottom);
  skin->FUpDown->PaintFrame(pic->Canvas()->Handle());
  EXPECT_EQ(PixelAt(*pic, 0, 0), Named(kButtonFace));
  EXPECT_EQ(PixelAt(*pic, 1, 1), Frame(tpUpDownVert, 1));

  // Found once: a second spin button does not replace it.
  TSkinUpDown* first = skin->FUpDown;
  CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 50, 1, 16, 18, w, nullptr,
                  GetModuleHandleA(nullptr), nullptr);
  Painted(skin, w);
  EXPECT_EQ(skin->FUpDown, first);

  delete skin;  // the up-down goes with the edit's object, which owns it here
  EXPECT_EQ(ProcOf(spin), before);
  EXPECT_EQ(Host.FControls.Count(), 0);
}

TEST_F(EditSkinTest, UpDownChildIsFoundByItsClass) {
  HWND w = Child("EDIT", 0, 10, 10, 100, 24);
  HWND ud = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 70, 1, 16, 18, w, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  WNDPROC before = ProcOf(ud);
  auto* skin = SkinBare<TSkinEdit>(w);
  Painted(skin, w);
  ASSERT_NE(skin->FUpDown, nullptr);
  EXPECT_EQ(skin->FUpDown->FHandle, ud);
  // Freed by the form's list along with the edit's object.
  Host.FreeControls();
  EXPECT_EQ(ProcOf(ud), before);
}

TEST_F(EditSkinTest, ASpinButtonThatGoesAndComesBackGetsANewSkinObject) {
  HWND w = Child("EDIT", 0, 10, 10, 100, 24);
  auto spin = [&] {
    return CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 70, 1, 16, 18, w, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  };
  spin();
  auto* skin = SkinBare<TSkinEdit>(w);
  Painted(skin, w);
  ExpectEachNewUpDownSkinnedAnew(skin, spin);
  delete skin;
}

// ---- Combo boxes ---------------------------------------------------------------------------------

TEST(ComboStates, PressedBeatsHotAndFocusWhichBeatDisabled) {
  EXPECT_EQ(ComboState(0, false, true), 1);
  EXPECT_EQ(ComboState(msPressed, true, true), 2);
  EXPECT_EQ(ComboState(msPressed | msHot, false, false), 2);
  EXPECT_EQ(ComboState(0, true, true), 4);
  EXPECT_EQ(ComboState(msHot, false, true), 4);
  EXPECT_EQ(ComboState(0, false, false), 3);
}

TEST(ComboLayouts, ButtonAtTheRightOrMirroredAtTheLeft) {
  RECT a{0, 0, 120, 22};
  TComboLayout r = ComboLayout(a, 16, false);
  EXPECT_EQ(r.Text.left, 2);
  EXPECT_EQ(r.Text.right, 120 - 16 - 4);
  EXPECT_EQ(r.Text.top, 2);
  EXPECT_EQ(r.Text.bottom, 20);
  EXPECT_EQ(r.Button.left, 120 - 18);
  EXPECT_EQ(r.Button.right, 120);
  EXPECT_EQ(r.Arrow.right, 118);
  TComboLayout l = ComboLayout(a, 16, true);
  EXPECT_EQ(l.Text.left, 20);
  EXPECT_EQ(l.Text.right, 118);
  EXPECT_EQ(l.Button.left, 0);
  EXPECT_EQ(l.Button.right, 18);
  EXPECT_EQ(l.Arrow.left, 2);
  EXPECT_EQ(l.Arrow.right, 18);
}

class ComboSkinTest : public EditSkinTest {
 protected:
  HWND Combo(DWORD exStyle = 0) {
    HWND w = CreateWindowExA(exStyle, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST,
                             20, 20, 150, 200, Form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(w);
    SendMessageA(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
    SendMessageA(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
    SendMessageA(w, CB_SETCURSEL, 0, 0);
    return w;
  }
  // Colour of the border, the drop button and the arrow's middle in a picture of the combo box.
  struct TParts {
    COLORREF Border, Button, Arrow, Text;
  };
  TParts Parts(TSkinControl* skin, HWND w) {
    auto pic = Painted(skin, w);
    SIZE s = SizeOf(w);
    const int bw = GetSystemMetrics(SM_CXHSCROLL);
    const int arrowX = s.cx - bw - 2 + bw / 2;
    return {PixelAt(*pic, 0, s.cy / 2), PixelAt(*pic, s.cx - 2, 1), PixelAt(*pic, arrowX, s.cy / 2),
            PixelAt(*pic, 10, s.cy / 2)};
  }
  void ExpectState(TSkinControl* skin, HWND w, int s) {
    TParts p = Parts(skin, w);
    EXPECT_EQ(p.Border, Frame(tpSunkEdge, s)) << "state " << s;
    EXPECT_EQ(p.Button, Frame(tpComboButton, s)) << "state " << s;
    EXPECT_EQ(p.Arrow, Frame(tpExtraImages, s)) << "state " << s;
    EXPECT_EQ(p.Text, kUntouched) << "state " << s;
  }
  void FocusElsewhere() {
    HWND other = Child("BUTTON", BS_PUSHBUTTON, 200, 150, 40, 20, "x");
    SetFocus(other);
  }
};

TEST_F(ComboSkinTest, BorderButtonAndArrowFollowTheMouseFocusAndEnabledState) {
  HWND w = Combo();
  FocusElsewhere();
  WNDPROC own = ProcOf(w);
  auto* skin = SkinBare<TSkinComBox>(w);
  ExpectState(skin, w, 1);

  // A click on the drop button: pressed while the button is down, shown on the screen at once.
  SIZE s = SizeOf(w);
  const LPARAM at = MAKELPARAM(s.cx - 8, s.cy / 2);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_TRUE(skin->FMouseState & msPressed);
  EXPECT_EQ(GetFocus(), w);
  ExpectState(skin, w, 2);
  EXPECT_EQ(OnScreen(w, 0, s.cy / 2), Frame(tpSunkEdge, 2));
  EXPECT_EQ(OnScreen(w, s.cx - 2, 1), Frame(tpComboButton, 2));
  SendMessageA(w, WM_LBUTTONUP, 0, at);
  SendMessageA(w, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(skin->FMouseState & msPressed);
  // Focused and not pressed.
  ExpectState(skin, w, 4);
  EXPECT_EQ(OnScreen(w, s.cx - 2, 1), Frame(tpComboButton, 4));

  FocusElsewhere();
  ExpectState(skin, w, 1);
  SendMessageA(w, CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(OnScreen(w, s.cx - 2, 1), Frame(tpComboButton, 4));
  ExpectState(skin, w, 4);
  SendMessageA(w, CM_MOUSELEAVE, 0, 0);
  ExpectState(skin, w, 1);

  // Disabled, and the mouse entering changes nothing.
  EnableWindow(w, FALSE);
  ExpectState(skin, w, 3);
  SendMessageA(w, CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(skin->FMouseState & msHot);
  ExpectState(skin, w, 3);
  EXPECT_EQ(OnScreen(w, 0, s.cy / 2), Frame(tpSunkEdge, 3));
  EnableWindow(w, TRUE);

  delete skin;
  EXPECT_EQ(ProcOf(w), own);
}

TEST_F(ComboSkinTest, LeftScrollBarLayoutShowsTheMirroredButtonAtTheLeft) {
  HWND w = Combo(WS_EX_LEFTSCROLLBAR);
  FocusElsewhere();
  auto* skin = SkinBare<TSkinComBox>(w);
  auto pic = Painted(skin, w);
  SIZE s = SizeOf(w);
  const int bw = GetSystemMetrics(SM_CXHSCROLL);
  // The mirrored picture of the normal frame, not the mirror of the last one.
  EXPECT_EQ(PixelAt(*pic, 1, 1), Frame(tpComboButton, 1));
  EXPECT_EQ(PixelAt(*pic, 2 + bw / 2, s.cy / 2), Frame(tpExtraImages, 1));
  EXPECT_EQ(PixelAt(*pic, s.cx - 1, s.cy / 2), Frame(tpSunkEdge, 1));
  EXPECT_EQ(PixelAt(*pic, s.cx - 10, s.cy / 2), kUntouched);
  EXPECT_EQ(PixelAt(*pic, bw + 5, s.cy / 2), kUntouched);
}

TEST_F(ComboSkinTest, MissingPicturesLeaveTheControlsOwnOrDropTheArrow) {
  HWND w = Combo();
  FocusElsewhere();
  auto* skin = SkinBare<TSkinComBox>(w);
  Data->ExtraImages.reset();
  TParts p = Parts(skin, w);
  EXPECT_EQ(p.Border, Frame(tpSunkEdge, 1));
  EXPECT_EQ(p.Arrow, Frame(tpComboButton, 1));  // the button without an arrow over it

  Data->SunkEdge.reset();
  p = Parts(skin, w);
  EXPECT_EQ(p.Border, kUntouched);
  EXPECT_EQ(p.Button, kUntouched);
  EXPECT_EQ(skin->FStyle, uint32_t(GetWindowLongA(w, GWL_STYLE)));

  Data->ComboButton.reset();
  skin->FStyle = 0;
  p = Parts(skin, w);
  EXPECT_EQ(p.Border, kUntouched);
  EXPECT_EQ(skin->FStyle, 0u);
}

TEST_F(ComboSkinTest, ManyPaintsLeakNoGdiObjects) {
  HWND c = Combo();
  HWND e = Child("EDIT", 0, 10, 80, 100, 24);
  SetWindowLongA(e, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  SetWindowPos(e, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  auto* combo = SkinBare<TSkinComBox>(c);
  auto* edit = SkinBare<TSkinEdit>(e);
  auto pic = Blank(e);
  int before = 0;
  for (int i = 0; i < 40; ++i) {
    RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(e, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageA(c, CM_MOUSEENTER, 0, 0);
    SendMessageA(c, CM_MOUSELEAVE, 0, 0);
    SendMessageA(e, WM_PRINT, reinterpret_cast<WPARAM>(pic->Canvas()->Handle()), PRF_NONCLIENT | PRF_CLIENT);
    if (i == 0) before = GdiObjectCount();
  }
  EXPECT_EQ(GdiObjectCount(), before);
  delete combo;
  delete edit;
}

}  // namespace
