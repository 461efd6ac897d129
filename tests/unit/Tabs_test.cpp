// The tab set with a real window: its tabs laid out from the first shown one, a click choosing a
// tab, and scroll buttons that appear when the tabs do not all fit and scroll them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "FormFixture.h"
#include "tk/Tabs.h"

namespace {

class Tfrm_Tabs : public TForm {
 public:
  TK_CLASS(Tfrm_Tabs, TForm)
  using TForm::TForm;
};

using TabSetFixture = FormFixture<Tfrm_Tabs>;

}  // namespace

TEST(TabSetFit, ShownScrollButtonsTakeTwelvePixels) {
  EXPECT_FALSE(TabSetTabFits(0, 20, 30, true));
  EXPECT_TRUE(TabSetTabFits(0, 18, 30, true));
  EXPECT_TRUE(TabSetTabFits(0, 20, 30, false));
  EXPECT_TRUE(TabSetTabFits(10, 20, 30, false));
  EXPECT_FALSE(TabSetTabFits(11, 20, 30, false));
}

TEST_F(TabSetFixture, AClickChoosesTheTabUnderThePointerAndRaisesOnChange) {
  auto* set = Add<TTabSet>(10, 10, 280, 22);
  for (const char* s : {"One", "Two", "Three"}) set->Tabs().Add(s);
  int changes = 0;
  set->OnChange = [&](TObject*) { ++changes; };
  const auto shown = set->VisibleTabs();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Rect.left, set->StartMargin());
  EXPECT_EQ(shown[1].Rect.left, shown[0].Rect.right);
  EXPECT_FALSE(set->Scroller()->Visible());
  const RECT r = shown[2].Rect;
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, 5);
  SendMessageA(set->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(set->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(set->TabIndex(), 2);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(set->ItemAtPos(POINT{r.right + 5, 5}), -1);
}

TEST_F(TabSetFixture, TabsThatDoNotFitBringScrollButtonsThatScrollThem) {
  auto* set = Add<TTabSet>(10, 10, 120, 22);
  for (int i = 0; i < 8; ++i) set->Tabs().Add("Tab " + std::to_string(i));
  TTabScroller* scroller = set->Scroller();
  EXPECT_EQ(set->Components(0), scroller);
  EXPECT_TRUE(scroller->Visible());
  EXPECT_EQ(scroller->Parent(), set);
  const auto shown = set->VisibleTabs();
  ASSERT_FALSE(shown.empty());
  EXPECT_LE(shown.back().Rect.right, scroller->Left());
  // The right arrow scrolls by one tab, as the up-down tells its parent.
  const HWND buttons = scroller->Handle();
  SendMessageA(buttons, UDM_SETPOS32, 0, 1);
  SendMessageA(set->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), LPARAM(buttons));
  EXPECT_EQ(set->FirstIndex(), 1);
  EXPECT_EQ(set->VisibleTabs().front().Index, 1);
  // A tab chosen in code that is scrolled out comes into view.
  set->SetTabIndex(7);
  EXPECT_EQ(set->VisibleTabs().front().Index, 7);
  set->SetFirstIndex(0);
  set->SetBounds(10, 10, 600, 22);
  EXPECT_FALSE(scroller->Visible());
}
