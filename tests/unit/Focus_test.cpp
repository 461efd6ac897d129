// What depends on the one desktop every test shares: activation, keyboard focus and the mouse
// pointer. These cases run alone (see Focus_test.cmake), as other programs' windows would take
// the focus or stand under the pointer.
#include <gtest/gtest.h>

#include <memory>

#include "FormFixture.h"
#include "tests/unit/MessageBoxWatch.h"
#include "tk/Dialogs.h"
#include "tk/Forms.h"
#include "tk/StdCtrls.h"

namespace {

class Tfrm_Focus : public TForm {
 public:
  TK_CLASS(Tfrm_Focus, TForm)
  using TForm::TForm;
};

class TFocusProbe : public TCustomControl {
 public:
  TK_CLASS(TFocusProbe, TCustomControl)
  using TCustomControl::TCustomControl;
};

using FocusFixture = FormFixture<Tfrm_Focus>;

}  // namespace

TEST_F(FocusFixture, WindowedControlGetsMouseEnterThenLeaveWhenThePointerGoes) {
  // Away from other tests' windows and on top: the system tracks what is really under the pointer.
  Form->FormStyle = fsStayOnTop;
  Form->SetBounds(520, 380, 100, 80);
  auto* c = new TFocusProbe(Form);
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
    Application->ProcessMessages();
    Sleep(10);
  }
  EXPECT_EQ(leave, 1);
  EXPECT_EQ(enter, 1);
}

TEST_F(FocusFixture, TabMovesTheFocusInTabOrderAndReturnPressesTheDefaultButton) {
  auto* edit = Add<TEdit>(10, 10, 80, 21);
  auto* second = Add<TButton>(10, 40, 75, 25);
  auto* first = Add<TButton>(100, 40, 75, 25);
  first->SetTabOrder(1);  // between the edit and the second button
  first->SetDefault(true);
  int firstClicks = 0, secondClicks = 0;
  first->OnClick = [&](TObject*) { ++firstClicks; };
  second->OnClick = [&](TObject*) { ++secondClicks; };
  Form->Show();
  SetActiveWindow(Form->Handle());
  edit->SetFocus();
  auto key = [](TWinControl* c, WPARAM vk) {
    PostMessageA(c->Handle(), WM_KEYDOWN, vk, 0);
    Application->ProcessMessages();
  };
  key(edit, VK_RETURN);  // the focus is on no button: the default one answers
  EXPECT_EQ(firstClicks, 1);
  key(edit, VK_TAB);
  EXPECT_TRUE(first->Focused());
  key(first, VK_TAB);
  EXPECT_TRUE(second->Focused());
  key(second, VK_RETURN);  // a focused button answers Return itself
  EXPECT_EQ(secondClicks, 1);
  EXPECT_EQ(firstClicks, 1);
  key(second, VK_TAB);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(Form->ActiveControl(), edit);
}

TEST(InformationBox, IsOwnedByTheActiveFormWithTheOtherWindowsDisabled) {
  auto* form = TCustomForm::Create<Tfrm_Focus>(nullptr);
  form->SetBounds(10, 10, 100, 100);
  form->Show();
  SetActiveWindow(form->Handle());
  Application->ProcessMessages();
  ASSERT_EQ(Screen->ActiveForm(), form);
  MessageBoxWatch watch(form->Handle());
  EXPECT_EQ(TaskMessageBox("Hello", "Information", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_TRUE(watch.Answered());
  EXPECT_EQ(watch.Caption, "Information");
  EXPECT_EQ(watch.Text, "Hello");
  EXPECT_EQ(watch.Icon, LoadIcon(nullptr, IDI_INFORMATION));
  EXPECT_EQ(watch.Owner, form->Handle());
  EXPECT_TRUE(watch.OwnerWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
  delete form;
}

TEST(InformationBox, IsOwnedByTheApplicationWindowWhenNoFormIsActive) {
  ASSERT_EQ(Screen->ActiveForm(), nullptr);
  MessageBoxWatch watch;
  EXPECT_EQ(TaskMessageBox("Corvanel is Already Run!", "Information", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_TRUE(watch.Answered());
  EXPECT_EQ(watch.Text, "Corvanel is Already Run!");
  EXPECT_EQ(watch.Owner, Application->Handle());
}

TEST(InformationBox, GivesTheActivationBackToTheWindowThatHadIt) {
  // A window of the program that is no form: the box is not its own, yet it is active again after.
  std::unique_ptr<HWND__, decltype(&DestroyWindow)> window(
      CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 10, 100, 100, nullptr, nullptr,
                      nullptr, nullptr),
      DestroyWindow);
  HWND bare = window.get();
  SetActiveWindow(bare);
  Application->ProcessMessages();
  ASSERT_EQ(GetActiveWindow(), bare);
  MessageBoxWatch watch;
  TaskMessageBox("Hello", "Information", MB_OK | MB_ICONINFORMATION);
  ASSERT_TRUE(watch.Answered());
  Application->ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), bare);
}
