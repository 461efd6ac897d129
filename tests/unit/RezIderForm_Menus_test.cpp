// The skinned form's toolkit menus on the menus test form: the main menu in the skinned bar, its
// items measured and drawn from the solid-colour test skin, tracked by pointer and keys, the popup
// menu and the tool bar skinned, and everything given back when the skin goes and taken again.
#include "MenusTesting.h"
#include "RezIderFormTesting.h"
#include "skin/RezIderFormControls.h"
#include "skin/RezIderMenuBar.h"

using namespace formtest;
using namespace menustest;

namespace {

class SkinnedMenus : public MenuFormTest {
 protected:
  void SetUp() override {
    MenuFormTest::SetUp();
    F = TCustomForm::Create<TMenusTestForm>(nullptr);
    FOwned.insert(FOwned.begin(), F);
    AddImage(F->Images, clRed);
    F->Show();
    Pump();
  }
  // Takes the form over as the manager does, activated and painted.
  TRezIderFormImpl* SkinIt() {
    S = new TRezIderFormImpl(F);  // the form's component: freed with it
    S->FHandle = F->Handle();
    S->AttachForm(FData.get(), F);
    SendMessageA(F->Handle(), WM_SKINACTIVATED, 0, SkinActivatedParam);
    SendMessageA(F->Handle(), WM_NCACTIVATE, TRUE, 0);
    Pump();
    return S;
  }
  void UnskinIt() {
    S->UnskinForm();
    TRezIderForm::RepaintWindow(F->Handle());
    delete S;
    S = nullptr;
  }
  TRezIderMenuBar* Bar() const { return ObjectAs<TRezIderMenuBar>(S->FMenuBar); }
  // The form's request to draw the Open item into Target.
  DRAWITEMSTRUCT OpenItem(TBitmap& Target) const {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemID = F->Open1->Command();
    d.hwndItem = HWND(F->File1->Handle());
    d.hDC = Target.Canvas()->Handle();
    d.rcItem = {0, 0, 80, 22};
    return d;
  }

  TMenusTestForm* F = nullptr;
  TRezIderFormImpl* S = nullptr;
};
class SkinnedMenusAlone : public SkinnedMenus {};

int CountColour(HDC DC, const RECT& R, COLORREF C) {
  int n = 0;
  for (int y = R.top; y < R.bottom; ++y)
    for (int x = R.left; x < R.right; ++x) n += GetPixel(DC, x, y) == C;
  return n;
}

// The toolkit's measure of a caption in the menu font, as the item measures itself.
int OwnWidth(const std::string& Caption, TShortCut ShortCut = 0) {
  TBitmap probe(10, 10);
  AssignMenuFont(probe.Canvas()->Font());
  int w = 0, h = 0;
  MeasureMenuItemText(probe.Canvas(), Caption, ShortCut, 16, w, h);
  return w;
}

TEST_F(SkinnedMenus, TheBarShowsTheMainMenuAndAnOwnerDrawnOneTakesItsCaptionsFromTheItems) {
  SkinIt();
  ASSERT_NE(Bar(), nullptr);
  EXPECT_EQ(Bar()->FMenu, F->MainMenu1);
  EXPECT_EQ(GetMenu(F->Handle()), nullptr);
  ASSERT_EQ(Bar()->FButtons.size(), 3u);
  EXPECT_EQ(Bar()->FButtons[1]->FCaption, "&View");
  EXPECT_EQ(Bar()->FButtons[0]->FSubMenu, F->File1->Handle());
  HDC dc = GetWindowDC(F->Handle());
  EXPECT_GT(CountColour(dc, Bar()->FButtons[2]->FRect, NamedColour("MenuBarText")), 0);
  ReleaseDC(F->Handle(), dc);
  UnskinIt();
  // Owner-drawn entries have no text: the toolkit items at their places give what they show.
  F->MainMenu1->SetOwnerDraw(true);
  F->View1->SetEnabled(false);
  SkinIt();
  ASSERT_EQ(Bar()->FButtons.size(), 3u);
  EXPECT_EQ(Bar()->FButtons[0]->FCaption, "&File");
  EXPECT_EQ(Bar()->FButtons[0]->FSubMenu, F->File1->Handle());
  EXPECT_FALSE(Bar()->FButtons[1]->FEnabled);
  EXPECT_EQ(Bar()->FButtons[2]->FCaption, "&Help");
}

TEST_F(SkinnedMenus, AChangedItemShowsInTheBarAndARightToLeftMenuRunsFromTheRight) {
  SkinIt();
  F->Help1->SetCaption("&About");
  EXPECT_EQ(GetMenu(F->Handle()), nullptr);
  ASSERT_EQ(Bar()->FButtons.size(), 3u);
  EXPECT_EQ(Bar()->FButtons[2]->FCaption, "&About");
  EXPECT_LT(Bar()->FButtons[0]->FRect.left, Bar()->FButtons[1]->FRect.left);
  F->MainMenu1->SetBiDiMode(mbRightToLeft);
  SendMessageA(F->Handle(), WM_NCPAINT, 1, 0);
  auto& b = Bar()->FButtons;
  EXPECT_GT(b[0]->FRect.left, b[1]->FRect.left);
  EXPECT_EQ(b[1]->FRect.right, b[0]->FRect.left);
}

TEST_F(SkinnedMenus, ReleasingAndRebuildingTakeTheToolkitItemsAndAHiddenOneTakesNoRoom) {
  SkinIt();
  F->View1->SetVisible(false);
  Bar()->ReleaseMenu();
  auto& b = Bar()->FButtons;
  ASSERT_EQ(b.size(), 3u);
  EXPECT_FALSE(b[1]->FVisible);
  EXPECT_EQ(b[1]->FSubMenu, F->View1->Handle());
  EXPECT_EQ(b[2]->FCommand, F->Help1->Command());
  SendMessageA(F->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(b[1]->FRect.left, b[1]->FRect.right);
  EXPECT_EQ(Bar()->ItemAtPoint({b[1]->FRect.left, b[1]->FRect.top + 2}), b[2].get());
  // An owner-drawn entry without text is known by its command among the top-level items.
  F->MainMenu1->SetOwnerDraw(true);
  Bar()->RebuildMenu(F->MainMenu1->Handle());
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[1]->FCaption, "&Help");
  EXPECT_EQ(b[0]->FSubMenu, F->File1->Handle());
}

TEST_F(SkinnedMenus, ActionsAreUpdatedBeforeTheBarOrTheDrawingTakeTheirItems) {
  auto* help = new TAction(F);
  help->OnUpdate = [&](TObject*) { help->SetCaption("&Support"); };
  F->Help1->SetAction(help);
  auto* open = new TAction(F);
  open->SetCaption("&Open");
  F->Open1->SetAction(open);
  F->MainMenu1->SetOwnerDraw(true);
  SkinIt();
  ASSERT_EQ(Bar()->FButtons.size(), 3u);
  EXPECT_EQ(Bar()->FButtons[2]->FCaption, "&Support");
  // The drawing that updates the action already shows what the update did.
  open->OnUpdate = [&](TObject*) { open->SetEnabled(false); };
  TBitmap target(80, 22);
  DRAWITEMSTRUCT d = OpenItem(target);
  SendMessageA(F->Handle(), WM_DRAWITEM, 0, LPARAM(&d));
  EXPECT_GT(CountColour(target.Canvas()->Handle(), d.rcItem, NamedColour("ButtonShadow")), 0);
}

TEST_F(SkinnedMenus, AHiddenItemIsPassedOverByTheArrowsAndHasNoAccelerator) {
  SkinIt();
  F->Help1->SetVisible(false);
  Bar()->ReleaseMenu();
  SendMessageA(F->Handle(), WM_NCPAINT, 1, 0);
  auto& b = Bar()->FButtons;
  ASSERT_EQ(b.size(), 3u);
  ASSERT_FALSE(b[2]->FVisible);
  MenuTrack.MenuTrackForm = S;
  MenuTrack.MenuFirstKeySent = true;
  // Right from View wraps round to File, Left from File to View.
  MenuTrack.MenuTrackIndex = 1;
  FilterMenuMessage(F->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(PostedClick(S), b[0].get());
  MenuTrack.MenuTrackIndex = 0;
  FilterMenuMessage(F->Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(PostedClick(S), b[1].get());
  EXPECT_EQ(Bar()->FindAccelItem('h'), nullptr);
  // Nor is a click made at it, which would land on its neighbour.
  Bar()->OpenMenuItem(b[2].get());
  EXPECT_EQ(TakePostedClicks(F->Handle()), 0);
}

TEST_F(SkinnedMenus, ItemsAreMeasuredByTheirOwnMeasurePlusTheSkinsRoomWithoutTheirOwnHandler) {
  SkinIt();
  MEASUREITEMSTRUCT m{ODT_MENU, 0, F->Wrap1->Command(), 0, 15, 0};
  EXPECT_EQ(SendMessageA(F->Handle(), WM_MEASUREITEM, 0, LPARAM(&m)), TRUE);
  // The menu has images: 10 more than the item band.
  EXPECT_EQ(int(m.itemWidth), OwnWidth("&Wrap") + FData->MenuItem->LeftWidth + 10);
  EXPECT_TRUE(F->Measured.empty());
  ASSERT_TRUE(F->Wrap1->OnMeasureItem);
  int w = 0, h = 0;
  F->Wrap1->OnMeasureItem(F->Wrap1, nullptr, w, h);
  EXPECT_EQ(F->Measured, std::vector<std::string>{"Wrap1"});
  // An item the toolkit menu does not know is measured by its text; having none makes no separator.
  MEASUREITEMSTRUCT other{ODT_MENU, 0, 0xEEEE, 0, 15, 0};
  SendMessageA(F->Handle(), WM_MEASUREITEM, 0, LPARAM(&other));
  EXPECT_EQ(other.itemHeight, 19u);
}

TEST_F(SkinnedMenus, ItemsAreDrawnFromTheSkinWithTheirImages) {
  SkinIt();
  TBitmap target(80, 22);
  DRAWITEMSTRUCT d = OpenItem(target);
  EXPECT_EQ(SendMessageA(F->Handle(), WM_DRAWITEM, 0, LPARAM(&d)), TRUE);
  EXPECT_EQ(PixelAt(target, 76, 11), Colour(testskin::tpMenuItem, 1));
  const int g = 1 + FData->MenuItem->LeftWidth;
  EXPECT_EQ(PixelAt(target, g + 8, 1 + 8), COLORREF(clRed));
  d.itemState = ODS_SELECTED;
  SendMessageA(F->Handle(), WM_DRAWITEM, 0, LPARAM(&d));
  EXPECT_EQ(PixelAt(target, 76, 11), Colour(testskin::tpMenuItem, 4));
}

TEST_F(SkinnedMenusAlone, ThePointerOpensAnItemAndKeysMoveOnAndChooseReachingOnClick) {
  SkinIt();
  HWND w = F->Handle();
  // The pointer's click on File; the first item comes selected; Right goes on to View, whose first
  // item Enter chooses.
  ASSERT_TRUE(RunMenu([&] { Bar()->OpenMenuItem(Bar()->FButtons[0].get()); },
                      {[&] { PostMessageA(w, WM_KEYDOWN, VK_RIGHT, 0); },
                       [&] { PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0); }}));
  EXPECT_EQ(F->Clicked, std::vector<std::string>{"Small1"});
  EXPECT_FALSE(S->FMenuTracking);
}

TEST_F(SkinnedMenusAlone, OnlyTheMainMenusOwnOrderTurnsTheBarAndSwapsTheArrowsForTheMenuAndTheSwitching) {
  HWND w = F->Handle();
  SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  SkinIt();
  auto& b = Bar()->FButtons;
  EXPECT_EQ(b[1]->FRect.left, b[0]->FRect.right);
  // View opens with Small selected; Down twice selects More, which has sub-items. Left on the first
  // level goes on to File, where Enter chooses Open; in a right-to-left menu Left is Right, which
  // opens More's level, where Enter chooses Deep.
  auto run = [&] {
    F->Clicked.clear();
    auto key = [w](WPARAM k) { return [w, k] { PostMessageA(w, WM_KEYDOWN, k, 0); }; };
    return RunMenu([&] { Bar()->OpenMenuItem(b[1].get()); },
                   {key(VK_DOWN), key(VK_DOWN), key(VK_LEFT), key(VK_RETURN)});
  };
  ASSERT_TRUE(run());
  EXPECT_EQ(F->Clicked, std::vector<std::string>{"Open1"});
  F->MainMenu1->SetBiDiMode(mbRightToLeft);
  SendMessageA(w, WM_NCPAINT, 1, 0);
  EXPECT_EQ(b[0]->FRect.left, b[1]->FRect.right);
  ASSERT_TRUE(run());
  EXPECT_EQ(F->Clicked, std::vector<std::string>{"Deep1"});
}

TEST_F(SkinnedMenus, TheSelectionFindsTheToolkitItemBySubMenuOrCommand) {
  SkinIt();
  HWND w = F->Handle();
  MenuTrack.MenuTrackForm = S;
  MenuTrack.MenuTrackIndex = 1;
  MenuTrack.MenuFirstKeySent = true;
  S->FTrackedMenu = F->View1->Handle();
  auto filter = [&](UINT Msg, WPARAM wParam, LPARAM lParam) { FilterMenuMessage(w, Msg, wParam, lParam); };
  TakePostedClicks(w);
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(2, MF_POPUP), LPARAM(F->View1->Handle()));
  EXPECT_EQ(MenuTrack.MenuTrackItem, F->More1);
  // More has sub-items: Right opens them instead of moving on.
  filter(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(TakePostedClicks(w), 0);
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(F->Deep1->Command(), 0), LPARAM(F->More1->Handle()));
  EXPECT_EQ(MenuTrack.MenuTrackItem, F->Deep1);
  // Deeper than the first level Left closes that level.
  filter(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(TakePostedClicks(w), 0);
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(F->Small1->Command(), 0), LPARAM(F->View1->Handle()));
  EXPECT_EQ(MenuTrack.MenuTrackItem, F->Small1);
  filter(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(TakePostedClicks(w), 1);
}

TEST_F(SkinnedMenusAlone, AControlsPopupMenuIsDrawnFromTheSkinAndItsChoiceReachesOnClick) {
  SkinIt();
  HWND panel = F->Panel1->Handle();
  RECT r{};
  GetWindowRect(panel, &r);
  COLORREF first = CLR_INVALID;
  ASSERT_TRUE(RunMenu(
      [&] { SendMessageA(panel, WM_CONTEXTMENU, WPARAM(panel), MAKELPARAM(r.left + 5, r.top + 5)); }, {[&] {
        RECT item{};
        HWND popup = OpenMenuWindow();
        if (popup && GetMenuItemRect(nullptr, F->PopupMenu1->Handle(), 0, &item)) {
          RECT pw{};
          GetWindowRect(popup, &pw);
          HDC dc = GetWindowDC(popup);
          first = GetPixel(dc, item.right - 4 - pw.left, (item.top + item.bottom) / 2 - pw.top);
          ReleaseDC(popup, dc);
        }
        PostMessageA(panel, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(panel, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(panel, WM_KEYDOWN, VK_RETURN, 0);
      }}));
  EXPECT_EQ(first, Colour(testskin::tpMenuItem, 1));
  EXPECT_EQ(F->Clicked, std::vector<std::string>{"Paste1"});
  // The item's own measure handler is kept out while the skin measures.
  EXPECT_TRUE(F->Measured.empty());
}

TEST_F(SkinnedMenus, TheToolBarIsSkinnedAndItsButtonsTakeTheButtonsFrameOfTheirState) {
  SkinIt();
  TToolBar* bar = F->ToolBar1;
  EXPECT_TRUE(bar->Flat());
  EXPECT_TRUE(bar->Transparent());
  EXPECT_NE(bar->OnCustomDrawButton.target<TSkinToolDraw>(), nullptr);
  TSkinControl* skin = FindControlByHandle(S, bar->Handle());
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->ClassName(), "TSkinBox");
  EXPECT_NE(F->Tools1->OnDrawItem.target<TSkinItemDraw>(), nullptr);
  EXPECT_NE(F->Options1->OnMeasureItem.target<TSkinItemMeasure>(), nullptr);
  ASSERT_EQ(bar->ButtonCount(), 1);
  const RECT b = bar->Buttons(0)->BoundsRect();
  auto pixel = [&] {
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(bar->Handle());
    const COLORREF c = GetPixel(dc, b.left + 3, b.top + 6);
    ReleaseDC(bar->Handle(), dc);
    return c;
  };
  EXPECT_NE(pixel(), Colour(testskin::tpButtons, 4));
  SendMessageA(bar->Handle(), TB_SETHOTITEM, 0, 0);
  EXPECT_EQ(pixel(), Colour(testskin::tpButtons, 4));
  SendMessageA(bar->Handle(), TB_PRESSBUTTON, 1, TRUE);
  EXPECT_EQ(pixel(), Colour(testskin::tpButtons, 2));
}

TEST_F(SkinnedMenus, SkinOffAndOnAgainGivesEveryEventFlagAndMenuBack) {
  HMENU menu = F->MainMenu1->Handle();
  for (int round = 0; round < 2; ++round) {
    SkinIt();
    ASSERT_NE(Bar(), nullptr);
    EXPECT_TRUE(F->PopupMenu1->OwnerDraw());
    EXPECT_NE(F->Paste1->OnDrawItem.target<TSkinItemDraw>(), nullptr);
    EXPECT_NE(F->Copy1->OnMeasureItem.target<TSkinItemMeasure>(), nullptr);
    EXPECT_TRUE(F->ToolBar1->OnCustomDrawButton);
    UnskinIt();
    EXPECT_EQ(GetMenu(F->Handle()), menu);
    EXPECT_FALSE(F->PopupMenu1->OwnerDraw());
    EXPECT_FALSE(F->Paste1->OnDrawItem);
    EXPECT_FALSE(F->Paste1->OnMeasureItem);
    EXPECT_FALSE(F->Copy1->OnDrawItem);
    EXPECT_FALSE(F->ToolBar1->OnCustomDrawButton);
    EXPECT_FALSE(F->Tools1->OnDrawItem);
    EXPECT_FALSE(F->Options1->OnMeasureItem);
    // The form's own handler is back.
    F->Measured.clear();
    int w = 0, h = 0;
    ASSERT_TRUE(F->Copy1->OnMeasureItem);
    F->Copy1->OnMeasureItem(F->Copy1, nullptr, w, h);
    EXPECT_EQ(F->Measured, std::vector<std::string>{"Copy1"});
  }
}

TEST_F(SkinnedMenus, AToolBarAContainerOwnsGetsItsHandlersBackToo) {
  // Owned by the panel, not the form: the form's walk reaches it through the panel.
  auto* bar = new TToolBar(F->Panel1);
  bar->SetParent(F->Panel1);
  auto* menu = new TMainMenu(F->Panel1);
  auto* item = new TMenuItem(menu);
  item->SetCaption("&Far");
  menu->Items()->Add(item);
  bar->SetMenu(menu);
  SkinIt();
  ASSERT_NE(item->OnDrawItem.target<TSkinItemDraw>(), nullptr);
  ASSERT_NE(bar->OnCustomDrawButton.target<TSkinToolDraw>(), nullptr);
  UnskinIt();
  EXPECT_FALSE(item->OnDrawItem);
  EXPECT_FALSE(item->OnMeasureItem);
  EXPECT_FALSE(bar->OnCustomDrawButton);
}

// ---- what the skin gives back when it lets a menu go ---------------------------------------------

TEST_F(SkinnedMenus, ItemsTheSkinMadeOwnerDrawnGetTheirTypeAndTextBack) {
  HWND w = Window("Own menu");
  HMENU bar = CreateMenu(), sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 101, "&Open");
  AppendMenuA(sub, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(sub, MF_OWNERDRAW, 102, reinterpret_cast<LPCSTR>(7));
  AppendMenuA(bar, MF_POPUP, UINT_PTR(sub), "&File");
  SetMenu(w, bar);
  TRezIderFormImpl* f = Skin(w);
  f->MakeMenuOwnerDraw(sub);
  ASSERT_TRUE(Entry(sub, 0).Type & MFT_OWNERDRAW);
  Unskin(f);
  EXPECT_EQ(GetMenu(w), bar);
  EXPECT_EQ(Entry(sub, 0).Type, UINT(MFT_STRING));
  EXPECT_EQ(Entry(sub, 0).Text, "&Open");
  EXPECT_EQ(Entry(sub, 1).Type, UINT(MFT_SEPARATOR));
  // What was owner-drawn before stays so, with its own data.
  EXPECT_TRUE(Entry(sub, 2).Type & MFT_OWNERDRAW);
  MENUITEMINFOA data{};
  data.cbSize = sizeof data;
  data.fMask = MIIM_DATA;
  GetMenuItemInfoA(sub, 2, TRUE, &data);
  EXPECT_EQ(data.dwItemData, 7u);
}

TEST_F(SkinnedMenus, ADestroyedSkinnedWindowTakesTheMenuTheSkinTookOffWithIt) {
  HWND w = Window("Going");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 101, "&Go");
  SetMenu(w, bar);
  Skin(w);
  ASSERT_EQ(GetMenu(w), nullptr);
  DestroyWindow(w);
  EXPECT_FALSE(IsMenu(bar));
  // The toolkit's main menu owns its menu: it outlives the window.
  SkinIt();
  HMENU own = F->MainMenu1->Handle();
  DestroyWindow(F->Handle());
  EXPECT_TRUE(IsMenu(own));
  // The form stays and may be skinned anew: its popup menu is as it was.
  EXPECT_FALSE(F->PopupMenu1->OwnerDraw());
  EXPECT_FALSE(F->Paste1->OnDrawItem);
}

TEST_F(SkinnedMenus, AnotherMainMenuSetOnTheFormGivesTheBarItsItemsAndOutlivesTheWindow) {
  SkinIt();
  auto* other = new TMainMenu(F);
  auto* item = new TMenuItem(other);
  item->SetCaption("&Other");
  other->Items()->Add(item);
  // Owner-drawn entries have no text: the bar takes it from the toolkit menu it knows.
  other->SetOwnerDraw(true);
  F->SetMenu(other);
  const HMENU own = other->Handle();
  ASSERT_EQ(Bar()->FMenuHandle, own);
  ASSERT_EQ(Bar()->FButtons.size(), 1u);
  EXPECT_EQ(Bar()->FButtons[0]->FCaption, "&Other");
  DestroyWindow(F->Handle());
  EXPECT_TRUE(IsMenu(own));
}

}  // namespace
