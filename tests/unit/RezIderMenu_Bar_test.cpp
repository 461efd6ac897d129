// The skinned menu bar on real windows: items taken from the window's menu, the bar painted in the
// non-client strip from the solid-colour test skin, sub-menus tracked and switched by keys and
// pointer through the message-filter hook, and everything given back.
#include "RezIderFormTesting.h"
#include "skin/RezIderMenuBar.h"

using namespace formtest;
using namespace testskin;

namespace {

enum : UINT { idOpen = 101, idExit = 102, idCut = 201, idDeep = 202, idAbout = 301, idLocked = 401 };

class Bar : public MenuFormTest {
 protected:
  void TearDown() override {
    MenuFormTest::TearDown();
    for (HMENU m : FMenus)
      if (IsMenu(m)) DestroyMenu(m);
  }

  // "&File" (Open, Exit), "&Edit" (Cut, More > Deep), "&Help" (a plain command), an empty
  // owner-drawn item, "&Locked" (disabled, with a sub-menu).
  HMENU MakeMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, idOpen, "&Open");
    AppendMenuA(file, MF_STRING, idExit, "E&xit");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, idCut, "Cu&t");
    HMENU more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, idDeep, "&Deep");
    AppendMenuA(edit, MF_POPUP, UINT_PTR(more), "&More");
    HMENU locked = CreatePopupMenu();
    AppendMenuA(locked, MF_STRING, 402, "&Inside");
    AppendMenuA(bar, MF_POPUP, UINT_PTR(file), "&File");
    AppendMenuA(bar, MF_POPUP, UINT_PTR(edit), "&Edit");
    AppendMenuA(bar, MF_STRING, idAbout, "&Help");
    AppendMenuA(bar, MF_OWNERDRAW, 350, nullptr);
    AppendMenuA(bar, MF_POPUP | MF_GRAYED, UINT_PTR(locked), "&Locked");
    FMenus.push_back(bar);
    return bar;
  }

  HWND MenuWindow(HMENU& Menu) {
    HWND w = Window("With menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 240);
    Menu = MakeMenu();
    SetMenu(w, Menu);
    return w;
  }

  TRezIderMenuBar* BarOf(TRezIderFormImpl* f) { return ObjectAs<TRezIderMenuBar>(f->FMenuBar); }

  // A skinned, activated and painted window with the menu above.
  TRezIderMenuBar* Skinned(bool Active = true) {
    FWindow = MenuWindow(FMenu);
    FForm = Skin(FWindow);
    SendMessageA(FWindow, WM_NCACTIVATE, Active, 0);
    Pump();
    return BarOf(FForm);
  }

  int TakePostedClicks() { return MenuFormTest::TakePostedClicks(FWindow); }
  void Filter(UINT Msg, WPARAM wParam, LPARAM lParam, POINT Pt = {}) {
    FilterMenuMessage(FWindow, Msg, wParam, lParam, Pt);
  }

  std::vector<HMENU> FMenus;
  HWND FWindow = nullptr;
  HMENU FMenu = nullptr;
  TRezIderFormImpl* FForm = nullptr;
};

// Cases that need the desktop's activation and pointer to themselves (tracked menus end when
// another window takes the activation): run alone.
class BarAlone : public Bar {};

int CountColour(HWND w, const RECT& r, COLORREF c) {
  HDC dc = GetWindowDC(w);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(dc, x, y) == c) ++n;
  ReleaseDC(w, dc);
  return n;
}

// ---- taking the menu over and giving it back -----------------------------------------------------

TEST_F(Bar, TakesTheMenuOffTheWindowWithOneItemPerTopLevelItem) {
  TRezIderMenuBar* bar = Skinned();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenu(FWindow), nullptr);
  EXPECT_EQ(bar->FMenuHandle, FMenu);
  EXPECT_EQ(FForm->FMenuBarHeight, GetSystemMetrics(SM_CYMENU));
  ASSERT_EQ(bar->FCount, 5);
  ASSERT_EQ(bar->FButtons.size(), 5u);
  EXPECT_EQ(bar->FButtons[0]->FCaption, "&File");
  EXPECT_EQ(bar->FButtons[0]->FSubMenu, GetSubMenu(FMenu, 0));
  EXPECT_EQ(bar->FButtons[2]->FCaption, "&Help");
  EXPECT_EQ(bar->FButtons[2]->FSubMenu, nullptr);
  EXPECT_EQ(bar->FButtons[2]->FCommand, UINT(idAbout));
  EXPECT_TRUE(bar->FButtons[2]->FEnabled);
  EXPECT_EQ(bar->FButtons[3]->FCaption, "");
  EXPECT_FALSE(bar->FButtons[4]->FEnabled);
  for (size_t i = 0; i < bar->FButtons.size(); ++i) EXPECT_EQ(bar->FButtons[i]->FIndex, int(i));
}

TEST_F(Bar, LongCaptionsAreCutTo80Characters) {
  HWND w = Window("Long", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU m = CreateMenu();
  FMenus.push_back(m);
  AppendMenuA(m, MF_STRING, 1, std::string(120, 'x').c_str());
  SetMenu(w, m);
  TRezIderFormImpl* f = Skin(w);
  ASSERT_NE(f->FMenuBar, nullptr);
  EXPECT_EQ(BarOf(f)->FButtons.at(0)->FCaption.size(), 80u);
}

TEST_F(Bar, AWindowWithAnEmptyMenuKeepsItAndShowsNoItems) {
  HWND w = Window("Empty", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU m = CreateMenu();
  FMenus.push_back(m);
  SetMenu(w, m);
  TRezIderFormImpl* f = Skin(w);
  ASSERT_NE(f->FMenuBar, nullptr);
  EXPECT_EQ(GetMenu(w), m);
  EXPECT_EQ(BarOf(f)->FCount, 0);
  EXPECT_TRUE(BarOf(f)->FButtons.empty());
}

TEST_F(Bar, UnskinGivesTheWindowItsMenuAndProcedureBack) {
  FWindow = MenuWindow(FMenu);
  const LONG_PTR proc = Proc(FWindow);
  FForm = Skin(FWindow);
  EXPECT_EQ(GetMenu(FWindow), nullptr);
  Unskin(FForm);
  EXPECT_EQ(GetMenu(FWindow), FMenu);
  EXPECT_EQ(Proc(FWindow), proc);
  EXPECT_EQ(GetMenuItemCount(FMenu), 5);
}

TEST_F(Bar, AChangedMenuIsScannedAgainWhenTheSkinUpdatesMenus) {
  TRezIderMenuBar* bar = Skinned();
  FData->MenuUpdate = true;
  HMENU other = CreateMenu();
  FMenus.push_back(other);
  AppendMenuA(other, MF_STRING, 7, "&Only");
  SetMenu(FWindow, other);
  SendMessageA(FWindow, CM_MENUCHANGED, 0, 0);
  EXPECT_EQ(GetMenu(FWindow), nullptr);
  EXPECT_EQ(bar->FMenuHandle, other);
  ASSERT_EQ(bar->FButtons.size(), 1u);
  EXPECT_EQ(bar->FButtons[0]->FCaption, "&Only");
  bar->RebuildMenu(FMenu);
  EXPECT_EQ(bar->FButtons.size(), 5u);
  EXPECT_EQ(bar->FMenuHandle, FMenu);
}

// ---- painting ------------------------------------------------------------------------------------

TEST_F(BarAlone, TheBarShowsTheActiveOrInactiveFrameOfTheMenuBarPicture) {
  TRezIderMenuBar* bar = Skinned(true);
  const SIZE s = WindowSize(FWindow);
  const int y = kTop + FForm->FMenuBarHeight / 2;
  EXPECT_EQ(bar->FBarRect.left, kLeft);
  EXPECT_EQ(bar->FBarRect.top, kTop);
  EXPECT_EQ(bar->FBarRect.bottom, kTop + GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(WindowPixel(FWindow, s.cx - kRight - 3, y), Colour(tpMenuBar, 1));
  SendMessageA(FWindow, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(WindowPixel(FWindow, s.cx - kRight - 3, y), Colour(tpMenuBar, 2));
}

TEST_F(Bar, ItemsLineUpAfterTheLeftMarginAndCarryTheirTextColours) {
  TRezIderMenuBar* bar = Skinned();
  auto& b = bar->FButtons;
  // The element's left width (1) plus 4.
  EXPECT_EQ(b[0]->FRect.left, kLeft + 1 + 4);
  for (size_t i = 1; i < b.size(); ++i) EXPECT_EQ(b[i]->FRect.left, b[i - 1]->FRect.right);
  EXPECT_GT(b[0]->FRect.right - b[0]->FRect.left, 10);
  EXPECT_EQ(b[3]->FRect.left, b[3]->FRect.right);  // no caption, no width
  EXPECT_EQ(b[0]->FRect.top, kTop);
  EXPECT_EQ(b[0]->FRect.bottom, kTop + FForm->FMenuBarHeight - 1);
  EXPECT_GT(CountColour(FWindow, b[0]->FRect, NamedColour("MenuBarText")), 0);
  EXPECT_EQ(CountColour(FWindow, b[0]->FRect, NamedColour("ButtonShadow")), 0);
  EXPECT_GT(CountColour(FWindow, b[4]->FRect, NamedColour("ButtonShadow")), 0);
  EXPECT_EQ(CountColour(FWindow, b[4]->FRect, NamedColour("MenuBarText")), 0);
}

TEST_F(Bar, WithoutAMenuBarPictureTheBarIsFilledAndItemsStartSixIn) {
  FData->MenuBarSkin.reset();
  TRezIderMenuBar* bar = Skinned();
  const SIZE s = WindowSize(FWindow);
  EXPECT_EQ(bar->FButtons[0]->FRect.left, kLeft + 6);
  EXPECT_EQ(WindowPixel(FWindow, s.cx - kRight - 3, kTop + 2), NamedColour("Menubar"));
}

TEST_F(Bar, ABareWindowsBarReadsLeftToRightWhateverTheWindowsStyles) {
  FWindow = MenuWindow(FMenu);
  SetWindowLongA(FWindow, GWL_EXSTYLE,
                 GetWindowLongA(FWindow, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR | WS_EX_RTLREADING);
  FForm = Skin(FWindow);
  SendMessageA(FWindow, WM_NCACTIVATE, TRUE, 0);
  auto& b = BarOf(FForm)->FButtons;
  EXPECT_EQ(b[0]->FRect.left, kLeft + 1 + 4);
  for (size_t i = 1; i < b.size(); ++i) EXPECT_EQ(b[i]->FRect.left, b[i - 1]->FRect.right);
  // Nor are the arrows swapped: Right goes on from File to Edit.
  MenuTrack.MenuTrackForm = FForm;
  MenuTrack.MenuTrackIndex = 0;
  MenuTrack.MenuFirstKeySent = true;
  FForm->FTrackedMenu = GetSubMenu(FMenu, 0);
  SendMessageA(FWindow, WM_MENUSELECT, MAKEWPARAM(idOpen, 0), LPARAM(FForm->FTrackedMenu));
  TakePostedClicks();
  EXPECT_EQ(FilterMenuMessage(FWindow, WM_KEYDOWN, VK_RIGHT, 0), WPARAM(VK_RIGHT));
  EXPECT_EQ(PostedClick(FForm), b[1].get());
}

TEST_F(BarAlone, AnMdiFramesBarShowsTheMaximisedChildsButtons) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefMDIChildProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MenuBarTestChild";
    return RegisterClassA(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
  FWindow = MenuWindow(FMenu);
  CLIENTCREATESTRUCT ccs{nullptr, 1000};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, FWindow,
                                nullptr, nullptr, &ccs);
  ASSERT_TRUE(client);
  HWND child = CreateMDIWindowA("MenuBarTestChild", "Child", WS_MAXIMIZE | WS_VISIBLE, 0, 0, 100, 100, client,
                                GetModuleHandleA(nullptr), 0);
  ASSERT_TRUE(child);
  FForm = Skin(FWindow);
  SendMessageA(FWindow, WM_NCACTIVATE, TRUE, 0);
  ASSERT_TRUE(FForm->IsMdiChildMaximized());
  ASSERT_NE(BarOf(FForm), nullptr);
  int shown = 0;
  for (auto& b : FForm->FSysButtons) {
    TDataSkinSysButton& d = *b->FButtonData;
    if (d.Visibility != 100 || !d.Image || d.Image->Empty()) continue;
    const int fw = d.Image->Width() / (d.FrameCount < 1 ? 1 : d.FrameCount);
    const COLORREF first = COLORREF(d.Image->Canvas()->Pixels(fw / 2, d.Image->Height() / 2));
    const RECT& r = b->FRect;
    EXPECT_EQ(WindowPixel(FWindow, (r.left + r.right) / 2, (r.top + r.bottom) / 2), first);
    ++shown;
  }
  EXPECT_EQ(shown, 3);
  SendMessageA(client, WM_MDIDESTROY, WPARAM(child), 0);
}

TEST_F(BarAlone, AHotOrPressedItemIsFramedAndANormalOneIsNot) {
  TRezIderMenuBar* bar = Skinned();
  TMenuBtn* item = bar->FButtons[1].get();
  const RECT r = item->FRect;
  const COLORREF frame = NamedColour("ButtonHilight");
  item->Hover();
  EXPECT_EQ(FForm->FCurrentObject, item);
  EXPECT_EQ(WindowPixel(FWindow, r.left, r.top), frame);
  EXPECT_EQ(WindowPixel(FWindow, r.right - 1, r.bottom - 1), frame);
  item->Leave();
  // Back to the bar's own background as last composed.
  const TColor background = bar->FBarBitmap->Canvas()->Pixels(r.left - bar->FBarRect.left, 0);
  EXPECT_EQ(WindowPixel(FWindow, r.left, r.top), COLORREF(background));
  EXPECT_TRUE(background == TColor(Colour(tpMenuBar, 1)) || background == TColor(Colour(tpMenuBar, 2)));
  item->Press();
  EXPECT_EQ(item->FState, nsPressed);
  EXPECT_EQ(WindowPixel(FWindow, r.left + 3, r.top), frame);
  item->Leave();
}

TEST_F(Bar, ThePointerFindsItemsWithACaptionOnly) {
  TRezIderMenuBar* bar = Skinned();
  auto& b = bar->FButtons;
  EXPECT_EQ(bar->ItemAtPoint({b[1]->FRect.left + 2, b[1]->FRect.top + 2}), b[1].get());
  EXPECT_EQ(bar->ItemAtPoint({b[3]->FRect.left, b[3]->FRect.top + 2}), b[4].get());
  EXPECT_EQ(bar->ItemAtPoint({b[4]->FRect.right + 5, b[4]->FRect.top + 2}), nullptr);
  // Through the window: a pointer move over an item of the active window makes it hot (another
  // program may have taken the desktop's activation meanwhile).
  SendMessageA(FWindow, WM_NCACTIVATE, TRUE, 0);
  SendMessageA(FWindow, WM_NCMOUSEMOVE, HTMENU, ScreenAt(FWindow, b[0]->FRect.left + 3, b[0]->FRect.top + 3));
  EXPECT_EQ(FForm->FCurrentObject, b[0].get());
  EXPECT_EQ(b[0]->FState, nsHot);
}

TEST_F(Bar, RepaintingAndSkinningAgainLeakNoGdiObjects) {
  TRezIderMenuBar* bar = Skinned();
  for (int i = 0; i < 5; ++i) {
    SendMessageA(FWindow, WM_NCPAINT, 1, 0);
    bar->FButtons[0]->Hover();
    bar->FButtons[0]->Leave();
  }
  Unskin(FForm);
  const int before = GdiObjectCount();
  for (int i = 0; i < 40; ++i) {
    TRezIderFormImpl* f = Skin(FWindow);
    SendMessageA(FWindow, WM_NCACTIVATE, i % 2, 0);
    SendMessageA(FWindow, WM_NCPAINT, 1, 0);
    BarOf(f)->FButtons[1]->Hover();
    BarOf(f)->FButtons[1]->Leave();
    Unskin(f);
  }
  EXPECT_LE(GdiObjectCount() - before, 2);
  EXPECT_EQ(GetMenu(FWindow), FMenu);
}

// ---- opening and switching -----------------------------------------------------------------------

// What a step-by-step driver of a tracked menu saw: one entry per timer step.
struct TTrackStep {
  int Index;
  bool Hooked;
  bool Tracking;
  int Levels;  // open menu windows
  HMENU Tracked;
};
std::vector<TTrackStep> Steps;
std::vector<std::function<void()>> Actions;
TRezIderFormImpl* Driven = nullptr;
bool Finished = false;

HWND PopupWindow() { return ThreadMenuWindow(); }

void CALLBACK DriveStep(HWND, UINT, UINT_PTR id, DWORD) {
  Steps.push_back({MenuTrack.MenuTrackIndex, MenuTrack.MenuHookHandle != nullptr, Driven->FMenuTracking,
                   ThreadMenuLevels(), Driven->FTrackedMenu});
  if (Steps.size() <= Actions.size()) {
    Actions[Steps.size() - 1]();
  } else {
    KillTimer(nullptr, id);
    EndMenu();
    Finished = true;
  }
}

// Opens Item by its posted click and runs Steps through the tracked menus, one per timer tick.
void Drive(TRezIderMenuBar* Bar, int Item, std::vector<std::function<void()>> Steps_) {
  Steps.clear();
  Actions = std::move(Steps_);
  Driven = Bar->FForm;
  Finished = false;
  SetTimer(nullptr, 0, 150, DriveStep);
  Bar->OpenMenuItem(Bar->FButtons[size_t(Item)].get());
  const DWORD until = GetTickCount() + 8000;
  while (!Finished && GetTickCount() < until) {
    Pump();
    Sleep(5);
  }
  Pump();
}

void PostKey(HWND w, WPARAM key) { PostMessageA(w, WM_KEYDOWN, key, 0); }

// Edit opens with Cut selected and Down selects More: Into opens More's level and OutOf closes it,
// as Escape does after Into again; OutOf once more, on the first level, switches to File.
void ExpectLevelKeys(TRezIderMenuBar* Bar, WPARAM Into, WPARAM OutOf) {
  HWND w = Bar->FForm->FHandle;
  std::vector<std::function<void()>> keys;
  for (WPARAM key : {WPARAM(VK_DOWN), Into, OutOf, Into, WPARAM(VK_ESCAPE), OutOf})
    keys.push_back([=] { PostKey(w, key); });
  keys.push_back([] {});
  Drive(Bar, 1, keys);
  ASSERT_TRUE(Finished);
  ASSERT_GE(Steps.size(), 7u);
  for (size_t i : {2, 4}) EXPECT_EQ(Steps[i].Levels, 2) << i;
  for (size_t i : {3, 5}) {
    EXPECT_EQ(Steps[i].Index, 1) << i;
    EXPECT_EQ(Steps[i].Levels, 1) << i;
  }
  EXPECT_EQ(Steps[6].Index, 0);
  EXPECT_EQ(Steps[6].Tracked, GetSubMenu(Bar->FMenuHandle, 0));
}

TEST_F(BarAlone, RightOnASubMenuItemOpensThatLevelAndLeftInsideItClosesIt) {
  ExpectLevelKeys(Skinned(), VK_RIGHT, VK_LEFT);
}

TEST_F(BarAlone, AClickOpensTheSubMenuUnderTheItemWithTheHookAndGivesItBackAfter) {
  TRezIderMenuBar* bar = Skinned();
  RECT popup{};
  Drive(bar, 0, {[&] {
          if (HWND p = PopupWindow()) GetWindowRect(p, &popup);
        }});
  ASSERT_TRUE(Finished);
  ASSERT_GE(Steps.size(), 1u);
  EXPECT_EQ(Steps[0].Index, 0);
  EXPECT_TRUE(Steps[0].Hooked);
  EXPECT_TRUE(Steps[0].Tracking);
  EXPECT_EQ(Steps[0].Levels, 1);
  EXPECT_EQ(Steps[0].Tracked, GetSubMenu(FMenu, 0));
  RECT w{};
  GetWindowRect(FWindow, &w);
  EXPECT_EQ(popup.left, w.left + bar->FButtons[0]->FRect.left);
  EXPECT_EQ(popup.top, w.top + bar->FButtons[0]->FRect.bottom);
  // Afterwards: the hook is gone and nothing is tracked.
  EXPECT_EQ(MenuTrack.MenuHookHandle, nullptr);
  EXPECT_EQ(MenuTrack.MenuTrackIndex, -1);
  EXPECT_FALSE(FForm->FMenuTracking);
  // The sub-menu's items were made owner-drawn for the skinned item drawing.
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(GetSubMenu(FMenu, 0), 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
}

TEST_F(BarAlone, AnItemShowsPressedOnlyWhileItsMenuIsOpen) {
  TRezIderMenuBar* bar = Skinned();
  TMenuBtn* file = bar->FButtons[0].get();
  RECT w{};
  GetWindowRect(FWindow, &w);
  SetCursorPos(w.left + 200, w.top + 150);  // away from the bar
  int state = 0;
  Drive(bar, 0, {[&] { state = file->FState; }});
  ASSERT_TRUE(Finished);
  EXPECT_EQ(state, nsPressed);
  EXPECT_EQ(file->FState, nsNormal);
  EXPECT_NE(WindowPixel(FWindow, file->FRect.left + 3, file->FRect.top), NamedColour("ButtonHilight"));
}

TEST_F(BarAlone, ArrowKeysSwitchToTheNeighboursAndWrapAroundTheEnds) {
  TRezIderMenuBar* bar = Skinned();
  HWND w = FWindow;
  // Right from File opens Edit, Left goes back to File; Left from File wraps to the last item,
  // Locked, which is disabled: its tracking ends at once and nothing stays open.
  Drive(bar, 0,
        {[&] { PostKey(w, VK_RIGHT); }, [&] { PostKey(w, VK_LEFT); }, [&] { PostKey(w, VK_LEFT); }, [] {}});
  ASSERT_TRUE(Finished);
  ASSERT_GE(Steps.size(), 4u);
  EXPECT_EQ(Steps[0].Index, 0);
  EXPECT_EQ(Steps[1].Index, 1);
  EXPECT_EQ(Steps[1].Tracked, GetSubMenu(FMenu, 1));
  EXPECT_EQ(Steps[1].Levels, 1);
  EXPECT_EQ(Steps[2].Index, 0);
  EXPECT_EQ(Steps[2].Tracked, GetSubMenu(FMenu, 0));
  EXPECT_EQ(Steps[3].Index, -1);
  EXPECT_FALSE(Steps[3].Hooked);
  EXPECT_FALSE(Steps[3].Tracking);
  EXPECT_EQ(Steps[3].Levels, 0);
  EXPECT_EQ(Steps[3].Tracked, GetSubMenu(FMenu, 4));
}

TEST_F(BarAlone, ThePointerMovingOntoAnotherItemSwitchesToIt) {
  TRezIderMenuBar* bar = Skinned();
  RECT w{};
  GetWindowRect(FWindow, &w);
  const RECT edit = bar->FButtons[1]->FRect;
  // Other programs on the shared desktop may move the pointer too: the move is made again while
  // the first item is still open.
  auto move = [&] {
    if (MenuTrack.MenuTrackIndex != 0) return;
    SetCursorPos(w.left + edit.left + 4, w.top + edit.top + 4);
    PostMessageA(PopupWindow() ? PopupWindow() : FWindow, WM_MOUSEMOVE, 0, 0);
  };
  // The pointer rests elsewhere when the menu opens: a move to where it was then is no move.
  SetCursorPos(w.left + 200, w.top + 150);
  Drive(bar, 0, {move, move, move, [] {}});
  ASSERT_TRUE(Finished);
  ASSERT_GE(Steps.size(), 4u);
  EXPECT_EQ(Steps[0].Index, 0);
  EXPECT_EQ(Steps.back().Index, 1);
  EXPECT_EQ(Steps.back().Tracked, GetSubMenu(FMenu, 1));
  EXPECT_EQ(Steps.back().Levels, 1);
}

TEST_F(BarAlone, AWindowDestroyedWhileItsMenuIsTrackedLeavesNoHookOrTrackingBehind) {
  TRezIderMenuBar* bar = Skinned();
  HWND w = FWindow;
  Drive(bar, 0, {[&] { DestroyWindow(w); }, [] {}});
  ASSERT_TRUE(Finished);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(MenuTrack.MenuHookHandle, nullptr);
  EXPECT_EQ(MenuTrack.MenuTrackForm, nullptr);
  EXPECT_EQ(MenuTrack.MenuTrackIndex, -1);
  ASSERT_GE(Steps.size(), 2u);
  EXPECT_FALSE(Steps[1].Hooked);
}

TEST_F(Bar, AnItemWithoutSubMenuPostsItsCommandOnly) {
  TRezIderMenuBar* bar = Skinned();
  Seen().clear();
  bar->TrackMenuItem(bar->FButtons[2].get());
  EXPECT_FALSE(FForm->FMenuTracking);
  EXPECT_EQ(MenuTrack.MenuHookHandle, nullptr);
  Pump();
  const TSeen* command = LastSeen(FWindow, WM_COMMAND);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->WParam, WPARAM(idAbout));
}

TEST_F(Bar, ADisabledItemWithASubMenuShowsNothingAndLeavesNoHook) {
  TRezIderMenuBar* bar = Skinned();
  Seen().clear();
  bar->TrackMenuItem(bar->FButtons[4].get());
  EXPECT_EQ(PopupWindow(), nullptr);
  EXPECT_EQ(MenuTrack.MenuHookHandle, nullptr);
  EXPECT_EQ(MenuTrack.MenuTrackIndex, -1);
  EXPECT_FALSE(FForm->FMenuTracking);
  Pump();
  // A sub-menu item's identifier is its menu handle: no command is sent for it.
  EXPECT_FALSE(Reached(FWindow, WM_COMMAND));
}

// ---- the hook's decisions, message by message ----------------------------------------------------

TEST_F(Bar, TheSwitchClickLandsOnTheNeighbourAndTheEndsWrap) {
  TRezIderMenuBar* bar = Skinned();
  MenuTrack.MenuTrackForm = FForm;
  MenuTrack.MenuFirstKeySent = true;
  RECT w{};
  GetWindowRect(FWindow, &w);
  MenuTrack.MenuTrackIndex = 4;
  Filter(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(PostedClick(FForm), bar->FButtons[0].get());
  MenuTrack.MenuTrackIndex = 0;
  Filter(WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(PostedClick(FForm), bar->FButtons[4].get());
  EXPECT_EQ(MenuNeighbourItem(true), bar->FButtons[1].get());
  EXPECT_EQ(MenuNeighbourItem(false), bar->FButtons[4].get());
}

TEST_F(Bar, APointerMoveSwitchesOnlyWhenThePointerReallyMovedOntoAnotherItem) {
  TRezIderMenuBar* bar = Skinned();
  MenuTrack.MenuTrackForm = FForm;
  MenuTrack.MenuTrackIndex = 0;
  MenuTrack.MenuFirstKeySent = true;
  RECT w{};
  GetWindowRect(FWindow, &w);
  const RECT help = bar->FButtons[2]->FRect;
  const POINT over{w.left + help.left + 3, w.top + help.top + 3};
  MenuTrack.MenuLastCursor = over;
  Filter(WM_MOUSEMOVE, 0, 0, over);
  EXPECT_EQ(TakePostedClicks(), 0);
  const POINT own{w.left + bar->FButtons[0]->FRect.left + 3, over.y};
  Filter(WM_MOUSEMOVE, 0, 0, own);
  EXPECT_EQ(TakePostedClicks(), 0);
  Filter(WM_MOUSEMOVE, 0, 0, over);
  EXPECT_EQ(TakePostedClicks(), 1);
  EXPECT_TRUE(MenuTrack.MenuSwitching);
  EXPECT_EQ(MenuTrack.MenuLastCursor.x, over.x);
}

TEST_F(Bar, TheFirstFilteredMessagePostsADownArrowOnce) {
  Skinned();
  MenuTrack.MenuTrackForm = FForm;
  MenuTrack.MenuFirstKeySent = false;
  Pump();
  Filter(WM_TIMER, 0, 0);
  Filter(WM_TIMER, 0, 0);
  int downs = 0;
  MSG m;
  while (PeekMessageA(&m, FWindow, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE))
    if (m.wParam == VK_DOWN) ++downs;
  EXPECT_EQ(downs, 1);
  EXPECT_TRUE(MenuTrack.MenuFirstKeySent);
}

TEST_F(Bar, AClosingMenuEndsTrackingUnlessItSwitches) {
  Skinned();
  MenuTrack.MenuTrackForm = FForm;
  MenuTrack.MenuTrackIndex = 0;
  MenuTrack.MenuFirstKeySent = true;
  FForm->FMenuTracking = true;
  // The menu tells its owner that it closed.
  MenuTrack.MenuSwitching = true;
  SendMessageA(FWindow, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_TRUE(FForm->FMenuTracking);
  // Escape ends a switch.
  Filter(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(MenuTrack.MenuSwitching);
  SendMessageA(FWindow, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_FALSE(FForm->FMenuTracking);
  FForm->FMenuTracking = true;
  Filter(WM_SYSKEYDOWN, VK_MENU, 0);
  EXPECT_FALSE(FForm->FMenuTracking);
}

// ---- keyboard accelerators -----------------------------------------------------------------------

void SetKeys(std::initializer_list<int> Down) {
  BYTE keys[256] = {};
  for (int k : Down) keys[k] = 0x80;
  SetKeyboardState(keys);
}

TEST_F(Bar, AltAndTheAcceleratorOpensTheFirstEnabledMatchingItemOnly) {
  TRezIderMenuBar* bar = Skinned();
  TakePostedClicks();
  EXPECT_EQ(bar->FindAccelItem('e'), bar->FButtons[1].get());
  EXPECT_EQ(bar->FindAccelItem('L'), nullptr);  // disabled
  SetKeys({VK_MENU});
  EXPECT_TRUE(bar->FindMenuAccel('f'));
  EXPECT_EQ(PostedClick(FForm), bar->FButtons[0].get());
  // Found but not opened with other keys held too.
  SetKeys({VK_MENU, VK_SHIFT});
  EXPECT_TRUE(bar->FindMenuAccel('f'));
  SetKeys({VK_MENU, VK_CONTROL});
  EXPECT_TRUE(bar->FindMenuAccel('f'));
  SetKeys({VK_MENU});
  EXPECT_FALSE(bar->FindMenuAccel('q'));
  EXPECT_EQ(TakePostedClicks(), 0);
  // Through the system's keyboard menu request.
  TMessage dialogChar{CM_DIALOGCHAR, 'H', 0, 0};
  bar->MenuAccelerator(dialogChar);
  EXPECT_EQ(dialogChar.Result, 1);
  EXPECT_EQ(TakePostedClicks(), 1);
  EXPECT_EQ(SendMessageA(FWindow, WM_SYSCOMMAND, SC_KEYMENU, 'e'), 1);
  EXPECT_EQ(TakePostedClicks(), 1);
  SetKeys({});
}

TEST_F(Bar, AKeyMenuRequestForAnItemsAcceleratorIsSwallowedWhateverOtherKeysAreHeld) {
  Skinned();
  TakePostedClicks();
  SetKeys({VK_MENU, VK_SHIFT});
  Seen().clear();
  EXPECT_EQ(SendMessageA(FWindow, WM_SYSCOMMAND, SC_KEYMENU, 'f'), 1);
  EXPECT_FALSE(Reached(FWindow, WM_SYSCOMMAND));
  EXPECT_EQ(TakePostedClicks(), 0);  // only Alt alone opens the item
  // A key no item answers to goes on to the system.
  SendMessageA(FWindow, WM_SYSCOMMAND, SC_KEYMENU, 'q');
  EXPECT_TRUE(Reached(FWindow, WM_SYSCOMMAND));
  SetKeys({});
}

TEST_F(Bar, AToolkitFormsDialogCharacterOpensItsItemAndItsMenuComesBack) {
  TForm* form = Form("Tool");
  FWindow = form->Handle();
  FMenu = MakeMenu();
  SetMenu(FWindow, FMenu);
  const TWndMethod method = form->WindowProc;
  auto* f = new TRezIderFormImpl(form);  // the form's component: freed with it
  f->FHandle = FWindow;
  f->AttachForm(FData.get(), form);
  SendMessageA(FWindow, WM_SKINACTIVATED, 0, SkinActivatedParam);
  Pump();
  ASSERT_NE(BarOf(f), nullptr);
  EXPECT_EQ(GetMenu(FWindow), nullptr);
  SetKeys({VK_MENU});
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'e', 0), 1);
  EXPECT_EQ(PostedClick(f), BarOf(f)->FButtons[1].get());
  // No item has that accelerator: the form's own handling answers.
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'z', 0), 0);
  EXPECT_EQ(TakePostedClicks(), 0);
  SetKeys({});
  f->UnskinForm();
  EXPECT_EQ(GetMenu(FWindow), FMenu);
  EXPECT_TRUE(form->WindowProc == method);
}

TEST(MenuAccel, TheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(MenuAccelChar("&File"), 'F');
  EXPECT_EQ(MenuAccelChar("E&xit"), 'x');
  EXPECT_EQ(MenuAccelChar("Save && &Quit"), 'Q');
  EXPECT_EQ(MenuAccelChar("Plain"), 0);
  EXPECT_EQ(MenuAccelChar("End&"), 0);
}

}  // namespace
