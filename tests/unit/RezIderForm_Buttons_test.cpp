// Caption buttons: visibility rules, hover, press and release under the pointer, their actions,
// and the skinned system menu's items.
#include "RezIderFormTesting.h"

using namespace formtest;
using namespace testskin;

namespace {

class Buttons : public FormTest {
 protected:
  HWND Painted(DWORD Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
    HWND w = Window("Buttons", Style);
    FForm = Skin(w);
    SendMessageA(w, WM_NCACTIVATE, TRUE, 0);
    return w;
  }
  TWinSysButton* Button(int Action) {
    for (auto& b : FForm->FSysButtons)
      if (b->FVisible && b->FButtonData->Action == Action) return b.get();
    return nullptr;
  }
  // The screen point at the middle of a button, below its marked top row.
  LPARAM At(HWND w, TWinSysButton* b) { return ScreenAt(w, (b->FRect.left + b->FRect.right) / 2, 2); }
  bool Posted(HWND w, UINT msg, WPARAM* wp = nullptr) {
    MSG m;
    if (!PeekMessageA(&m, w, msg, msg, PM_REMOVE)) return false;
    if (wp) *wp = m.wParam;
    return true;
  }
  // Visibility of the first definition with codes (first, second) for an action.
  bool VisibleWith(int Visibility, int Visibility1, int Action = 4) {
    TDataSkinSysButton& d = *FForm->FSysButtons[0]->FButtonData;
    d.Visibility = Visibility;
    d.Visibility1 = Visibility1;
    d.Action = Action;
    return FForm->SysButtonVisible(0);
  }
  TRezIderFormImpl* FForm = nullptr;
};
// A tracked menu ends when another program takes the desktop's activation: these run alone.
class ButtonsAlone : public Buttons {};

TEST_F(Buttons, VisibilityCodesFollowTheWindowsStateAndBoxes) {
  Painted();
  EXPECT_TRUE(VisibleWith(0, 0));
  EXPECT_TRUE(VisibleWith(2, 2));  // not maximised
  EXPECT_FALSE(VisibleWith(1, 1));
  EXPECT_TRUE(VisibleWith(3, 3));  // active
  EXPECT_FALSE(VisibleWith(4, 0));
  EXPECT_FALSE(VisibleWith(5, 0));
  EXPECT_TRUE(VisibleWith(6, 6));
  EXPECT_FALSE(VisibleWith(7, 0));
  EXPECT_TRUE(VisibleWith(8, 8));
  EXPECT_FALSE(VisibleWith(9, 0));
  EXPECT_TRUE(VisibleWith(200, 2000));
  EXPECT_FALSE(VisibleWith(199, 0));
  EXPECT_FALSE(VisibleWith(0, 2001));
  EXPECT_FALSE(VisibleWith(-1, 0));
  EXPECT_FALSE(VisibleWith(50, 0));
  // Visibility1 100 repeats the first test; code 100 needs a maximised MDI child.
  EXPECT_TRUE(VisibleWith(2, 100));
  EXPECT_FALSE(VisibleWith(1, 100));
  EXPECT_FALSE(VisibleWith(100, 0));
  FForm->FShowState = ssMaximized;
  EXPECT_TRUE(VisibleWith(1, 1));
  FForm->FActive = 0;
  EXPECT_TRUE(VisibleWith(4, 4));
}

TEST_F(Buttons, BoxButtonsHideWithoutTheirBoxAndCloseWithoutASystemMenuOrOnAModalFrame) {
  Painted(WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
  FForm->FCaptionFlags = 0;
  EXPECT_FALSE(VisibleWith(200, 200, 1));
  EXPECT_FALSE(VisibleWith(200, 200, 2));
  EXPECT_TRUE(VisibleWith(200, 200, 7));
  EXPECT_FALSE(VisibleWith(0, 0, 0));
  EXPECT_TRUE(VisibleWith(0, 0, 4));
  FForm->FCaptionFlags = cfSysMenu;
  EXPECT_TRUE(VisibleWith(0, 0, 0));
  FForm->FBorderKind = bkModal;
  EXPECT_FALSE(VisibleWith(0, 0, 0));
}

TEST_F(Buttons, ThePointerMakesAButtonHotPressedAndHotAgainAndTheScreenFollows) {
  HWND w = Painted();
  TWinSysButton* close = Button(0);
  ASSERT_NE(close, nullptr);
  const int x = (close->FRect.left + close->FRect.right) / 2;
  Seen().clear();
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, At(w, close));
  EXPECT_FALSE(Reached(w, WM_NCMOUSEMOVE));
  EXPECT_EQ(FForm->FCurrentObject, close);
  EXPECT_EQ(close->FState, nsHot);
  EXPECT_EQ(WindowPixel(w, x, 2), Colour(tpClose, 3));
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, At(w, close));
  EXPECT_FALSE(Reached(w, WM_NCLBUTTONDOWN));
  EXPECT_EQ(close->FState, nsPressed);
  EXPECT_EQ(WindowPixel(w, x, 2), Colour(tpClose, 2));
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, At(w, close));
  EXPECT_EQ(close->FState, nsHot);
  // The close action.
  EXPECT_TRUE(Posted(w, WM_CLOSE));
  EXPECT_FALSE(FForm->FTimer->Enabled());
}

TEST_F(Buttons, MovingFromOneButtonToAnotherReturnsTheFirstToNormal) {
  HWND w = Painted();
  TWinSysButton* close = Button(0);
  TWinSysButton* minimise = Button(2);
  ASSERT_TRUE(close && minimise);
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, At(w, close));
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, At(w, minimise));
  EXPECT_EQ(close->FState, nsNormal);
  EXPECT_EQ(minimise->FState, nsHot);
  EXPECT_EQ(FForm->FCurrentObject, minimise);
  // Off every button: the current one leaves and the message goes on.
  Seen().clear();
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(w, WindowSize(w).cx / 2, 3));
  EXPECT_EQ(minimise->FState, nsNormal);
  EXPECT_EQ(FForm->FCurrentObject, nullptr);
  EXPECT_TRUE(Reached(w, WM_NCMOUSEMOVE));
}

TEST_F(Buttons, PressingMakesAButtonCurrentAfterTheOtherLeaves) {
  Painted();
  TWinSysButton* close = Button(0);
  TWinSysButton* minimise = Button(2);
  ASSERT_TRUE(close && minimise);
  close->Hover();
  minimise->Press();
  EXPECT_EQ(close->FState, nsNormal);
  EXPECT_EQ(minimise->FState, nsPressed);
  EXPECT_EQ(FForm->FCurrentObject, minimise);
  // Hovering the current object changes nothing.
  minimise->Hover();
  EXPECT_EQ(minimise->FState, nsPressed);
  // An invisible object leaves the current one alone.
  TWinSysButton* help = nullptr;
  for (auto& b : FForm->FSysButtons)
    if (b->FButtonData->Action == 4) help = b.get();
  ASSERT_NE(help, nullptr);
  help->Leave();
  EXPECT_EQ(FForm->FCurrentObject, minimise);
}

TEST_F(Buttons, ReleasingOverAButtonThatWasNotPressedDoesNothing) {
  HWND w = Painted();
  TWinSysButton* close = Button(0);
  ASSERT_NE(close, nullptr);
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, At(w, close));
  EXPECT_FALSE(Posted(w, WM_CLOSE));
}

TEST_F(Buttons, MaximiseMinimiseAndRestoreAreSystemCommandsPostedToTheWindow) {
  HWND w = Painted();
  WPARAM wp = 0;
  FForm->ToggleMaximize();
  EXPECT_EQ(FForm->FShowState, ssMaximized);
  ASSERT_TRUE(Posted(w, WM_SYSCOMMAND, &wp));
  EXPECT_EQ(wp, WPARAM(SC_MAXIMIZE));
  FForm->ToggleMaximize();
  EXPECT_EQ(FForm->FShowState, ssNormal);
  ASSERT_TRUE(Posted(w, WM_SYSCOMMAND, &wp));
  EXPECT_EQ(wp, WPARAM(SC_RESTORE));
  FForm->ToggleMinimize();
  EXPECT_EQ(FForm->FShowState, ssMinimized);
  ASSERT_TRUE(Posted(w, WM_SYSCOMMAND, &wp));
  EXPECT_EQ(wp, WPARAM(SC_MINIMIZE));
  // From minimised, maximise really maximises.
  FForm->ToggleMaximize();
  ASSERT_TRUE(Posted(w, WM_SYSCOMMAND, &wp));
  EXPECT_EQ(wp, WPARAM(SC_MAXIMIZE));
}

TEST_F(Buttons, ClickingTheMaximiseButtonMaximisesTheWindowAndShowsRestore) {
  HWND w = Painted();
  TWinSysButton* maximise = Button(1);
  ASSERT_NE(maximise, nullptr);
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, At(w, maximise));
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, At(w, maximise));
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, At(w, maximise));
  Pump();
  EXPECT_TRUE(IsZoomed(w));
  SendMessageA(w, WM_NCPAINT, 1, 0);
  TWinSysButton* restore = Button(1);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(restore->FButtonData->Visibility1, 1);
}

TEST_F(Buttons, ActionsWithoutABuiltInMeaningPostTheSkinnedQueryWithTheirCode) {
  HWND w = Painted();
  TWinSysButton* b = FForm->FSysButtons[0].get();
  for (int action : {5, 13, 63}) {
    b->FButtonData->Action = action;
    FForm->FCurrentObject = b;
    FForm->SysButtonAction(0, 0);
    WPARAM wp = 0;
    ASSERT_TRUE(Posted(w, WM_SKINQUERY, &wp)) << action;
    EXPECT_EQ(wp, WPARAM(action));
  }
}

TEST_F(Buttons, MdiCommandsWithoutAnMdiClientDoNothing) {
  HWND w = Painted();
  TWinSysButton* b = FForm->FSysButtons[0].get();
  Seen().clear();
  for (int action : {7, 8, 9}) {
    b->FButtonData->Action = action;
    FForm->FCurrentObject = b;
    FForm->SysButtonAction(0, 0);
  }
  EXPECT_FALSE(Posted(w, WM_SKINQUERY));
  // Meant for an MDI child: none reaches the window itself, sent or posted.
  Pump();
  EXPECT_FALSE(Reached(w, WM_SYSCOMMAND));
}

POINT MenuAt{};
// Notes where this thread's system menu is, and closes it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  RECT r{};
  if (HWND menu = ThreadMenuWindow(); menu && GetWindowRect(menu, &r)) MenuAt = {r.left, r.top};
  EndMenu();
}

TEST_F(ButtonsAlone, TheIconButtonOpensTheSystemMenuBelowAndRightOfTheRelease) {
  Painted();
  TWinSysButton* icon = Button(3);
  ASSERT_NE(icon, nullptr);
  FForm->FCurrentObject = icon;
  FForm->FLastSysMenuTick = GetTickCount() - FForm->FDoubleClickTime - 1000;
  MenuAt = {};
  SetTimer(nullptr, 0, 100, CloseMenu);
  FForm->SysButtonAction(200, 150);
  EXPECT_EQ(MenuAt.x, 201);
  EXPECT_EQ(MenuAt.y, 151);
}

TEST_F(Buttons, SystemMenuItemsActByTheirTag) {
  HWND w = Painted();
  WPARAM wp = 0;
  auto click = [&](int tag) {
    TMenuItem* items = FForm->FSysMenu->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Items(i)->Tag == tag) items->Items(i)->Click();
  };
  click(1);
  ASSERT_TRUE(Posted(w, WM_SYSCOMMAND, &wp));
  EXPECT_EQ(wp, WPARAM(SC_MAXIMIZE));
  click(0);
  ASSERT_TRUE(Posted(w, WM_SYSCOMMAND, &wp));
  EXPECT_EQ(wp, WPARAM(SC_RESTORE));
  click(2);
  ASSERT_TRUE(Posted(w, WM_SYSCOMMAND, &wp));
  EXPECT_EQ(wp, WPARAM(SC_MINIMIZE));
  click(100);
  EXPECT_FALSE(Posted(w, WM_SYSCOMMAND));
  EXPECT_FALSE(Posted(w, WM_CLOSE));
  click(3);
  EXPECT_TRUE(Posted(w, WM_CLOSE));
}

TEST_F(Buttons, FreeingTheButtonsForgetsTheCurrentOne) {
  Painted();
  TWinSysButton* close = Button(0);
  ASSERT_NE(close, nullptr);
  close->Hover();
  FForm->FreeNCObjects();
  EXPECT_EQ(FForm->FCurrentObject, nullptr);
  EXPECT_EQ(FForm->FSysButtonCount, 0);
}

}  // namespace
