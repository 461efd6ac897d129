// Toolkit menus on the menus test form: read nested from the form description, built into the
// window's system menus, changed, chosen and measured; a popup menu shown for its control.
#include "MenusTesting.h"

using namespace menustest;

namespace {

class MenusTk : public testing::Test {
 protected:
  void SetUp() override {
    Form = TCustomForm::Create<TMenusTestForm>(nullptr);
    Form->Show();
  }
  void TearDown() override { delete Form; }
  TMenusTestForm* Form = nullptr;
};
class MenusAlone : public MenusTk {};

TEST_F(MenusTk, TheDescriptionNestsTheItemsAndTheWindowShowsTheMainMenu) {
  ASSERT_EQ(Form->Menu(), Form->MainMenu1);
  EXPECT_EQ(Form->Panel1->PopupMenu(), Form->PopupMenu1);
  EXPECT_EQ(Form->ToolBar1->Menu(), Form->ToolMenu);
  TMenuItem* top = Form->MainMenu1->Items();
  ASSERT_EQ(top->Count(), 3);
  EXPECT_EQ(top->Items(1), Form->View1);
  EXPECT_EQ(Form->Deep1->Parent(), Form->More1);
  EXPECT_EQ(Form->Deep1->GetParentMenu(), Form->MainMenu1);
  EXPECT_EQ(Form->Open1->GetImageList(), Form->Images);
  HMENU bar = GetMenu(Form->Handle());
  ASSERT_EQ(bar, Form->MainMenu1->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  EXPECT_EQ(Entry(bar, 0).SubMenu, Form->File1->Handle());
  EXPECT_EQ(Entry(bar, 2).ID, Form->Help1->Command());
  HMENU file = Form->File1->Handle();
  // The hidden item is left out.
  ASSERT_EQ(GetMenuItemCount(file), 4);
  const TEntry open = Entry(file, 0), sep = Entry(file, 1), wrap = Entry(file, 2), locked = Entry(file, 3);
  EXPECT_EQ(open.Text, "&Open\tCtrl+O");
  EXPECT_TRUE(open.State & MFS_DEFAULT);
  EXPECT_EQ(open.ID, Form->Open1->Command());
  EXPECT_TRUE(sep.Type & MFT_SEPARATOR);
  EXPECT_TRUE(wrap.State & MFS_CHECKED);
  EXPECT_TRUE(locked.State & MFS_GRAYED);
  const TEntry small = Entry(Form->View1->Handle(), 0);
  EXPECT_TRUE(small.Type & MFT_RADIOCHECK);
  EXPECT_TRUE(small.State & MFS_CHECKED);
  EXPECT_EQ(Entry(Form->View1->Handle(), 2).SubMenu, Form->More1->Handle());
}

TEST_F(MenusTk, AChangeShowsInTheMenuAndAChosenCommandRunsTheItemsClick) {
  HMENU file = Form->File1->Handle();
  Form->Wrap1->SetCaption("&Wrap lines");
  EXPECT_EQ(Entry(file, 2).Text, "&Wrap lines");
  Form->Hidden1->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(file), 5);
  Form->File1->SetEnabled(false);
  EXPECT_TRUE(Entry(GetMenu(Form->Handle()), 0).State & MFS_GRAYED);
  // The window's menu commands reach the items; checking a radio item unchecks its group.
  SendMessageA(Form->Handle(), WM_COMMAND, Form->Large1->Command(), 0);
  EXPECT_EQ(Form->Clicked, std::vector<std::string>{"Large1"});
  Form->Large1->SetChecked(true);
  EXPECT_FALSE(Form->Small1->Checked());
  EXPECT_FALSE(Entry(Form->View1->Handle(), 0).State & MFS_CHECKED);
  EXPECT_EQ(FindMenuItemByCommand(Form->Deep1->Command()), Form->Deep1);
  EXPECT_EQ(Form->MainMenu1->FindItem(uintptr_t(Form->More1->Handle()), fkHandle), Form->More1);
}

TEST_F(MenusTk, TheItemsOwnMeasureTakesCaptionAndShortcutThenCallsOnMeasureItem) {
  TBitmap probe(10, 10);
  AssignMenuFont(probe.Canvas()->Font());
  TCanvas* c = probe.Canvas();
  int w = 0, h = 0;
  Form->Open1->MeasureItem(c, w, h);
  // The accelerator mark takes no room.
  EXPECT_EQ(w, c->TextWidth("Open") + 10 + c->TextWidth("Ctrl+O"));
  EXPECT_GE(h, 18);
  Form->Wrap1->MeasureItem(c, w, h);
  EXPECT_EQ(w, c->TextWidth("Wrap") + 1000);
  EXPECT_EQ(Form->Measured, std::vector<std::string>{"Wrap1"});
}

TEST_F(MenusTk, AnItemShowsItsActionsStateAndAClickWithoutOnClickExecutesIt) {
  auto* action = new TAction(Form);
  action->SetCaption("&Act");
  action->SetChecked(true);
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  Form->Hidden1->SetAction(action);
  EXPECT_EQ(Form->Hidden1->Caption(), "&Act");
  EXPECT_TRUE(Form->Hidden1->Checked());
  action->SetEnabled(false);
  EXPECT_FALSE(Form->Hidden1->Enabled());
  action->SetVisible(true);
  EXPECT_EQ(Entry(Form->File1->Handle(), 3).Text, "&Act");
  EXPECT_TRUE(Entry(Form->File1->Handle(), 3).State & MFS_GRAYED);
  SendMessageA(Form->Handle(), WM_COMMAND, Form->Hidden1->Command(), 0);
  EXPECT_EQ(executed, 1);
  delete action;
  EXPECT_EQ(Form->Hidden1->Action(), nullptr);
}

TEST(ShortCuts, TextAndShortCutsConvertBothWays) {
  EXPECT_EQ(ShortCutToText(TShortCut(VK_F4 | scShift)), "Shift+F4");
  EXPECT_EQ(ShortCutToText(scCtrl | 'S'), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(scShift | scCtrl | scAlt | VK_DELETE), "Shift+Ctrl+Alt+Del");
  EXPECT_EQ(ShortCutToText(VK_F12), "F12");
  EXPECT_EQ(ShortCutToText(scAlt | VK_RETURN), "Alt+Enter");
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(TextToShortCut("Shift+F4"), TShortCut(VK_F4 | scShift));
  EXPECT_EQ(TextToShortCut("ctrl+alt+del"), TShortCut(VK_DELETE | scCtrl | scAlt));
  EXPECT_EQ(ShortCutToText(TextToShortCut("Ctrl+Alt+Del")), "Ctrl+Alt+Del");
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
}

TEST_F(MenusTk, TheMainMenuOutlivesTheWindowAndAGoneMenuLeavesTheForm) {
  HMENU menu = Form->MainMenu1->Handle();
  DestroyWindow(Form->Handle());
  EXPECT_TRUE(IsMenu(menu));
  Form->Show();
  EXPECT_EQ(GetMenu(Form->Handle()), menu);
  delete Form->MainMenu1;
  EXPECT_EQ(Form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(Form->Handle()), nullptr);
  EXPECT_FALSE(IsMenu(menu));
}

TEST_F(MenusAlone, ARightClickShowsTheControlsPopupMenuAndTheChoiceRunsItsClick) {
  HWND panel = Form->Panel1->Handle();
  RECT r{};
  GetWindowRect(panel, &r);
  bool shown = false;
  ASSERT_TRUE(RunMenu(
      [&] { SendMessageA(panel, WM_CONTEXTMENU, WPARAM(panel), MAKELPARAM(r.left + 5, r.top + 5)); }, {[&] {
        shown = OpenMenuWindow() != nullptr;
        PostMessageA(panel, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(panel, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(panel, WM_KEYDOWN, VK_RETURN, 0);
      }}));
  EXPECT_TRUE(shown);
  EXPECT_EQ(Form->PopupMenu1->PopupComponent, Form->Panel1);
  EXPECT_EQ(Form->Clicked, std::vector<std::string>{"Paste1"});
}

}  // namespace
