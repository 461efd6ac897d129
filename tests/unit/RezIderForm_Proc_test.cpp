// The skinned form's window procedure with real windows: what it answers itself and what reaches
// the window's own procedure, for the non-client size, hit test, activation, mouse and commands.
#include "RezIderFormTesting.h"

using namespace formtest;

namespace {

class Proc : public FormTest {
 protected:
  // Sends and tells whether the window's own procedure saw it.
  bool PassedOn(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0, LRESULT* result = nullptr) {
    Seen().clear();
    LRESULT r = SendMessageA(w, msg, wp, lp);
    if (result) *result = r;
    return Reached(w, msg);
  }
};
// A tracked menu ends when another program takes the desktop's activation: these run alone.
class ProcAlone : public Proc {};

TEST_F(Proc, TheSkinnedQueryIsAnsweredBeforeActivationAndWithoutFullSkin) {
  HWND a = Window("A");
  Skin(a, false);
  EXPECT_EQ(SendMessageA(a, WM_SKINQUERY, 0, 0), 1);
  FData->SkinControls.Exclude(xcMainMenu);
  HWND b = Window("B");
  Skin(b);
  LRESULT r = 0;
  EXPECT_FALSE(PassedOn(b, WM_SKINQUERY, 0, 0, &r));
  EXPECT_EQ(r, 1);
}

TEST_F(Proc, BeforeTheFirstActivationTheFrameMessagesReachTheWindow) {
  HWND w = Window();
  Skin(w, false);
  EXPECT_TRUE(PassedOn(w, WM_NCPAINT, 1));
  EXPECT_TRUE(PassedOn(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(w, 50, 2)));
  EXPECT_TRUE(PassedOn(w, WM_NCACTIVATE, TRUE));
}

TEST_F(Proc, AChildWindowIsHandledLikeOneWithoutFullSkin) {
  HWND parent = Window("Parent");
  HWND child = CreateWindowExA(0, kClass, "Child", WS_CHILD | WS_VISIBLE | WS_CAPTION, 5, 5, 100, 80, parent,
                               nullptr, nullptr, nullptr);
  TRezIderFormImpl* f = Skin(child);
  EXPECT_TRUE(f->FFullSkin);
  EXPECT_TRUE(PassedOn(child, WM_NCPAINT, 1));
  EXPECT_TRUE(PassedOn(child, WM_NCACTIVATE, TRUE));
  LRESULT r = 0;
  EXPECT_FALSE(PassedOn(child, WM_SKINQUERY, 0, 0, &r));
  EXPECT_EQ(r, 1);
}

TEST_F(Proc, NcCalcSizePutsTheClientInsideTheSkinBorders) {
  HWND w = Window();
  Skin(w);
  NCCALCSIZE_PARAMS p{};
  WINDOWPOS pos{w, nullptr, 10, 20, 200, 100, 0};
  p.rgrc[0] = {10, 20, 210, 120};
  p.rgrc[1] = p.rgrc[0];
  p.rgrc[2] = p.rgrc[0];
  p.lppos = &pos;
  EXPECT_EQ(SendMessageA(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p)), WVR_VALIDRECTS);
  EXPECT_EQ(p.rgrc[0].left, 10 + kLeft);
  EXPECT_EQ(p.rgrc[0].top, 20 + kTop);
  EXPECT_EQ(p.rgrc[0].right, 210 - kRight);
  EXPECT_EQ(p.rgrc[0].bottom, 120 - kBottom);
  EXPECT_TRUE(EqualRect(&p.rgrc[1], &p.rgrc[0]));
}

TEST_F(Proc, NcCalcSizeWithoutValidRectsAnswersZeroAndKeepsTheDefaultRectangle) {
  HWND w = Window();
  Skin(w);
  RECT r{10, 20, 210, 120};
  LRESULT result = 1;
  EXPECT_TRUE(PassedOn(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r), &result));
  EXPECT_EQ(result, 0);
  RECT expected{10, 20, 210, 120};
  DefWindowProcA(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&expected));
  EXPECT_TRUE(EqualRect(&r, &expected));
}

TEST_F(Proc, HitTestMakesTheCaptionStripDraggableBelowItsTopRowsAndTheMenuBarAMenu) {
  HWND w = Window("Hit", WS_POPUP | WS_CAPTION | WS_VISIBLE);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 1, "&Item");
  SetMenu(w, bar);
  TRezIderFormImpl* f = Skin(w);
  ASSERT_GT(f->FMenuBarHeight, 2);
  // Whatever the window's own procedure answered stays; only "nowhere" is replaced.
  const LRESULT top = DefWindowProcA(w, WM_NCHITTEST, 0, ScreenAt(w, 100, 1));
  EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, ScreenAt(w, 100, 1)), top);
  for (int y : {4, kTop, kTop + 2})
    ASSERT_EQ(DefWindowProcA(w, WM_NCHITTEST, 0, ScreenAt(w, 100, y)), HTNOWHERE);
  EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, ScreenAt(w, 100, 4)), HTCAPTION);
  EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, ScreenAt(w, 100, kTop)), HTCAPTION);
  EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, ScreenAt(w, 100, kTop + 2)), HTMENU);
  EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, ScreenAt(w, 100, 80)), HTCLIENT);
}

TEST_F(Proc, NcActivateIsAnsweredAndPaintedByTheSkinAlone) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  LRESULT r = 0;
  EXPECT_FALSE(PassedOn(w, WM_NCACTIVATE, FALSE, 0, &r));
  EXPECT_EQ(r, TRUE);
  EXPECT_EQ(f->FActive, 0);
  EXPECT_FALSE(f->FTimer->Enabled());
  EXPECT_FALSE(PassedOn(w, WM_NCACTIVATE, TRUE, 0, &r));
  EXPECT_EQ(f->FActive, 1);
  EXPECT_TRUE(f->FTimer->Enabled());
  // WM_ACTIVATE is noted and still passed on.
  EXPECT_TRUE(PassedOn(w, WM_ACTIVATE, WA_INACTIVE));
  EXPECT_EQ(f->FActive, 0);
}

TEST_F(Proc, MouseMovesOverAnInactiveWindowAreSwallowed) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  f->FActive = 0;
  EXPECT_FALSE(PassedOn(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(w, 100, 4)));
  f->FActive = 1;
  EXPECT_TRUE(PassedOn(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(w, 100, 4)));
}

TEST_F(Proc, ADoubleClickMaximisesANormalWindowAndRestoresAMaximisedOne) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  EXPECT_FALSE(PassedOn(w, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenAt(w, 100, 4)));
  EXPECT_EQ(f->FShowState, ssMaximized);
  Pump();
  EXPECT_TRUE(IsZoomed(w));
  const TSeen* command = LastSeen(w, WM_SYSCOMMAND);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->WParam, WPARAM(SC_MAXIMIZE));
  SendMessageA(w, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenAt(w, 100, 4));
  EXPECT_EQ(f->FShowState, ssNormal);
  Pump();
  EXPECT_FALSE(IsZoomed(w));
}

TEST_F(Proc, ADoubleClickOnAWindowWithoutMaximiseBoxDoesNothing) {
  HWND w = Window("Fixed", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  TRezIderFormImpl* f = Skin(w);
  Seen().clear();
  SendMessageA(w, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenAt(w, 100, 4));
  Pump();
  EXPECT_EQ(f->FShowState, ssNormal);
  EXPECT_FALSE(Reached(w, WM_SYSCOMMAND));
}

TEST_F(Proc, PressingTheCaptionOfAMaximisedActiveWindowDoesNotStartAMove) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  f->FShowState = ssMaximized;
  f->FActive = 1;
  ASSERT_TRUE(PassedOn(w, WM_NCLBUTTONDOWN, HTCAPTION, ScreenAt(w, 100, 4)));
  EXPECT_EQ(LastSeen(w, WM_NCLBUTTONDOWN)->WParam, WPARAM(HTMENU));
  f->FShowState = ssNormal;
  ASSERT_TRUE(PassedOn(w, WM_NCLBUTTONDOWN, HTCAPTION, ScreenAt(w, 100, 4)));
  EXPECT_EQ(LastSeen(w, WM_NCLBUTTONDOWN)->WParam, WPARAM(HTCAPTION));
}

TEST_F(Proc, AltAloneOrF10IsSwallowedAndAltSpaceIsPassedOn) {
  HWND w = Window();
  Skin(w);
  LRESULT r = 0;
  EXPECT_FALSE(PassedOn(w, WM_SYSCOMMAND, SC_KEYMENU, 0, &r));
  EXPECT_EQ(r, 1);
  EXPECT_TRUE(PassedOn(w, WM_SYSCOMMAND, SC_KEYMENU, ' '));
  // Without a menu bar no other key finds an item.
  EXPECT_TRUE(PassedOn(w, WM_SYSCOMMAND, SC_KEYMENU, 'f'));
}

// The skinned window's show state as its own procedure finds it when a system command arrives.
TRezIderFormImpl* Watched = nullptr;
int ShowStateSeen = -1;
LRESULT CALLBACK ShowStateWatchProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SYSCOMMAND && Watched) ShowStateSeen = Watched->FShowState;
  return RecordingProc(h, m, w, l);
}

TEST_F(Proc, SystemCommandsSetTheShowStateFirst) {
  HWND w = Window();
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ShowStateWatchProc));
  Watched = Skin(w);
  for (auto [command, state] : {std::pair{SC_MAXIMIZE, ssMaximized}, std::pair{SC_RESTORE, ssNormal},
                                std::pair{SC_MINIMIZE, ssMinimized}, std::pair{SC_RESTORE, ssNormal}}) {
    ShowStateSeen = -1;
    SendMessageA(w, WM_SYSCOMMAND, command, 0);
    EXPECT_EQ(ShowStateSeen, int(state)) << command;
    EXPECT_EQ(int(Watched->FShowState), int(state)) << command;
    EXPECT_EQ(bool(IsZoomed(w)), state == ssMaximized) << command;
    EXPECT_EQ(bool(IsIconic(w)), state == ssMinimized) << command;
  }
  Watched = nullptr;
}

TEST_F(Proc, SystemMenuChoicesReportedAsCommandsArePostedAsSystemCommands) {
  HWND w = Window();
  Skin(w);
  EXPECT_FALSE(PassedOn(w, WM_COMMAND, SC_CLOSE));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(msg.wParam, WPARAM(SC_CLOSE));
  EXPECT_TRUE(PassedOn(w, WM_COMMAND, 1234));
}

TEST_F(Proc, SizeMessagesKeepTheShowStateAndRebuildTheRegion) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  SetWindowPos(w, nullptr, 0, 0, 250, 150, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(f->FRegionWidth, 250);
  EXPECT_EQ(f->FRegionHeight, 150);
  SendMessageA(w, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_EQ(f->FShowState, ssMinimized);
  SendMessageA(w, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_EQ(f->FShowState, ssNormal);
}

TEST_F(Proc, ASizeableWindowMayGrowToTheMaximisedSize) {
  HWND w = Window();
  Skin(w);
  MINMAXINFO info{};
  SendMessageA(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMaxTrackSize.x, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(info.ptMaxTrackSize.y, GetSystemMetrics(SM_CYMAXIMIZED));
}

TEST_F(Proc, ABareWindowsBackgroundAndStaticTextsTakeTheSkinFace) {
  HWND w = Window();
  Skin(w);
  TBitmap canvas(40, 40);
  EXPECT_EQ(SendMessageA(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Canvas()->Handle()), 0), 1);
  EXPECT_EQ(PixelAt(canvas, 5, 5), NamedColour("ButtonFace"));
  HDC dc = canvas.Canvas()->Handle();
  SetBkMode(dc, OPAQUE);
  EXPECT_EQ(SendMessageA(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0),
            reinterpret_cast<LRESULT>(FData->FFaceBrush));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
}

TRezIderFormImpl* MenuOf = nullptr;
HMENU MenuSeen = nullptr;
// Notes the system menu that is up, and closes it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  MenuSeen = ThreadMenuWindow() ? MenuOf->FSysMenu->Handle() : nullptr;
  EndMenu();
}

TEST_F(ProcAlone, TheSystemMenuOpensOnARightClickAndASecondQuickOneClosesTheWindow) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  MenuOf = f;
  MenuSeen = nullptr;
  SetTimer(nullptr, 0, 100, CloseMenu);
  f->FLastSysMenuTick = GetTickCount() - f->FDoubleClickTime - 1000;
  EXPECT_FALSE(PassedOn(w, WM_NCRBUTTONDOWN, HTCAPTION, ScreenAt(w, 100, 4)));
  EXPECT_NE(MenuSeen, nullptr);
  // The restore item is off for a normal window.
  EXPECT_FALSE(f->FSysMenu->Items()->Items(0)->Enabled());
  EXPECT_TRUE(f->FSysMenu->Items()->Items(1)->Enabled());
  Seen().clear();
  SendMessageA(w, WM_NCRBUTTONDOWN, HTCAPTION, ScreenAt(w, 100, 4));
  Pump();
  EXPECT_TRUE(Reached(w, WM_CLOSE));
  EXPECT_FALSE(f->FTimer->Enabled());
  // Elsewhere than on the caption the right button goes on.
  EXPECT_TRUE(PassedOn(w, WM_NCRBUTTONDOWN, HTBORDER, ScreenAt(w, 1, 50)));
}

TEST_F(Proc, TheHoverTimerLetsGoOfAButtonThePointerHasLeft) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  SendMessageA(w, WM_NCPAINT, 1, 0);
  TWinSysButton* close = nullptr;
  for (auto& b : f->FSysButtons)
    if (b->FVisible && b->FButtonData->Action == 0) close = b.get();
  ASSERT_NE(close, nullptr);
  close->Hover();
  EXPECT_EQ(f->FCurrentObject, close);
  RECT r{};
  GetWindowRect(w, &r);
  SetCursorPos(r.right + 50, r.bottom + 50);
  f->HoverTimer(nullptr);
  EXPECT_EQ(f->FCurrentObject, nullptr);
  EXPECT_EQ(close->FState, nsNormal);
}

}  // namespace

namespace {

TEST(SetEnumPropByName, SetsEnumeratedAndBooleanPropertiesByTheirNames) {
  RegisterToolkitClasses();
  TPanel panel(nullptr);
  panel.SetCaption("Kept");
  SetEnumPropByName(&panel, "BevelOuter", "bvLowered");
  EXPECT_EQ(panel.BevelOuter(), bvLowered);
  SetEnumPropByName(&panel, "ShowHint", "True");
  EXPECT_TRUE(panel.ShowHint);
  // A property of another type, an unknown name or value, and no component change nothing.
  SetEnumPropByName(&panel, "Caption", "bvRaised");
  EXPECT_EQ(panel.Caption(), "Kept");
  SetEnumPropByName(&panel, "BevelOuter", "bvNoSuchBevel");
  EXPECT_EQ(panel.BevelOuter(), bvLowered);
  SetEnumPropByName(&panel, "NoSuchProperty", "True");
  SetEnumPropByName(nullptr, "ShowHint", "False");
  EXPECT_TRUE(panel.ShowHint);
}

}  // namespace

namespace {

class Menus : public FormTest {
 protected:
  // A window with a menu bar of one sub-menu: "&Open" (101), a separator, and a nested menu.
  HWND WithMenu() {
    HWND w = Window("Menus");
    FSub = CreatePopupMenu();
    AppendMenuA(FSub, MF_STRING, 101, "&Open");
    AppendMenuA(FSub, MF_SEPARATOR, 0, nullptr);
    HMENU nested = CreatePopupMenu();
    AppendMenuA(nested, MF_STRING, 102, "Deeper");
    AppendMenuA(FSub, MF_POPUP, reinterpret_cast<UINT_PTR>(nested), "More");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(FSub), "&File");
    SetMenu(w, bar);
    return w;
  }
  static bool OwnerDrawn(HMENU m, int pos) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(m, UINT(pos), TRUE, &info);
    return info.fType & MFT_OWNERDRAW;
  }
  HMENU FSub = nullptr;
};
class MenusAlone : public Menus {};

TEST_F(Menus, MakingAMenuOwnerDrawnReachesItsNestedMenus) {
  HWND w = WithMenu();
  TRezIderFormImpl* f = Skin(w);
  f->MakeMenuOwnerDraw(FSub);
  for (int i = 0; i < GetMenuItemCount(FSub); ++i) EXPECT_TRUE(OwnerDrawn(FSub, i)) << i;
  HMENU nested = GetSubMenu(FSub, 2);
  ASSERT_TRUE(nested);
  EXPECT_TRUE(OwnerDrawn(nested, 0));
}

TEST_F(Menus, MenuItemsAreMeasuredByTheirTextInTheMenuFont) {
  HWND w = WithMenu();
  TRezIderFormImpl* f = Skin(w);
  ASSERT_TRUE(f->FMenuHandle);
  f->FTrackedMenu = FSub;
  MEASUREITEMSTRUCT item{ODT_MENU, 0, 101, 0, 15, 0};
  Seen().clear();
  EXPECT_EQ(SendMessageA(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_FALSE(Reached(w, WM_MEASUREITEM));
  HFONT font = CreateNonClientFont(&NONCLIENTMETRICSA::lfMenuFont);
  HDC dc = GetWindowDC(w);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32A(dc, "&Open", 5, &extent);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  DeleteObject(font);
  EXPECT_EQ(int(item.itemWidth), extent.cx + 26 + FData->MenuItem->LeftWidth);
  EXPECT_EQ(item.itemHeight, 19u);
  // A separator has no text: 8 pixels high.
  MEASUREITEMSTRUCT separator{ODT_MENU, 0, 0, 0, 15, 0};
  SendMessageA(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&separator));
  EXPECT_EQ(separator.itemHeight, 8u);
  // Items of controls go on.
  MEASUREITEMSTRUCT list{ODT_LISTBOX, 1, 0, 0, 15, 0};
  Seen().clear();
  SendMessageA(w, WM_MEASUREITEM, 1, reinterpret_cast<LPARAM>(&list));
  EXPECT_TRUE(Reached(w, WM_MEASUREITEM));
}

TEST_F(Menus, ItemsMadeOwnerDrawnAreMeasuredByAllTheirTextAndOnlySeparatorsAsSeparators) {
  HWND w = WithMenu();
  const std::string longText(120, 'x');
  AppendMenuA(FSub, MF_STRING, 103, longText.c_str());
  AppendMenuA(FSub, MF_STRING, 104, "");
  TRezIderFormImpl* f = Skin(w);
  f->MakeMenuOwnerDraw(FSub);
  f->FTrackedMenu = FSub;
  auto measure = [&](UINT id) {
    MEASUREITEMSTRUCT item{ODT_MENU, 0, id, 0, 15, 0};
    SendMessageA(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item));
    return item;
  };
  HFONT font = CreateNonClientFont(&NONCLIENTMETRICSA::lfMenuFont);
  HDC dc = GetWindowDC(w);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32A(dc, longText.c_str(), int(longText.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  DeleteObject(font);
  EXPECT_EQ(int(measure(103).itemWidth), extent.cx + 26 + FData->MenuItem->LeftWidth);
  EXPECT_EQ(measure(104).itemHeight, 19u);
  EXPECT_EQ(measure(101).itemHeight, 19u);
  f->RestoreOwnerDrawnItems();
  EXPECT_EQ(MenuItemText(FSub, 103, false), longText);
}

TEST_F(Menus, AWindowWithoutAMenuPassesMenuMeasuringOn) {
  HWND w = Window();
  Skin(w);
  MEASUREITEMSTRUCT item{ODT_MENU, 0, 101, 0, 15, 0};
  Seen().clear();
  SendMessageA(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(Reached(w, WM_MEASUREITEM));
}

}  // namespace

namespace {

TEST_F(Menus, MenuItemsKnownByHandleAreDrawnFromTheSkin) {
  HWND w = WithMenu();
  Skin(w);
  TBitmap target(60, 20);
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_MENU;
  d.itemID = 101;
  d.hwndItem = reinterpret_cast<HWND>(FSub);
  d.hDC = target.Canvas()->Handle();
  d.rcItem = {0, 0, 60, 20};
  Seen().clear();
  EXPECT_EQ(SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d)), TRUE);
  EXPECT_FALSE(Reached(w, WM_DRAWITEM));
  EXPECT_EQ(PixelAt(target, 56, 10), Colour(testskin::tpMenuItem, 1));
  d.itemState = ODS_SELECTED;
  SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  EXPECT_EQ(PixelAt(target, 56, 10), Colour(testskin::tpMenuItem, 4));
  // Items of controls go on.
  d.CtlType = ODT_BUTTON;
  Seen().clear();
  SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  EXPECT_TRUE(Reached(w, WM_DRAWITEM));
}

// The shown system menu's first item as the skin drew it, read from the context it was drawn
// into: whether it was selected (the shared pointer may rest on it) and its colour near the right.
struct {
  bool Drawn = false, Selected = false;
  RECT R{};
  COLORREF Pixel = CLR_INVALID;
} FirstItem;
int MenuTicks = 0;
// Closes the menu once its first item has been drawn, or after five seconds.
void CALLBACK CloseMenuOnceDrawn(HWND, UINT, UINT_PTR id, DWORD) {
  if (!FirstItem.Drawn && ++MenuTicks < 100) return;
  KillTimer(nullptr, id);
  EndMenu();
}

TEST_F(MenusAlone, TheSkinnedSystemMenuIsOwnerDrawnFromTheSkin) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  SendMessageA(w, WM_NCACTIVATE, TRUE, 0);
  TMenuItem* first = f->FSysMenu->Items()->Items(0);
  first->OnDrawItem = [skin = first->OnDrawItem](TObject* Sender, TCanvas* Canvas, const RECT& R,
                                                 bool Selected) {
    skin(Sender, Canvas, R, Selected);
    FirstItem = {true, Selected, R, GetPixel(Canvas->Handle(), R.right - 4, (R.top + R.bottom) / 2)};
  };
  FirstItem = {};
  MenuTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenuOnceDrawn);
  f->FLastSysMenuTick = GetTickCount() - f->FDoubleClickTime - 1000;
  f->ShowSysMenu({100, 100});
  KillTimer(nullptr, timer);
  ASSERT_TRUE(FirstItem.Drawn);
  // Measured by the item's own measure plus the skin's room, and drawn with the MenuItem element.
  EXPECT_GT(FirstItem.R.right - FirstItem.R.left, 35);
  EXPECT_GT(FirstItem.R.bottom - FirstItem.R.top, 0);
  EXPECT_EQ(FirstItem.Pixel, Colour(testskin::tpMenuItem, FirstItem.Selected ? 4 : 1));
}

}  // namespace

namespace {

TEST_F(Menus, MeasuringAndDrawingMenuItemsLeaveNoGdiObjectBehind) {
  HWND w = WithMenu();
  TRezIderFormImpl* f = Skin(w);
  f->FTrackedMenu = FSub;
  TBitmap target(60, 20);
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_MENU;
  d.itemID = 101;
  d.hwndItem = reinterpret_cast<HWND>(FSub);
  d.hDC = target.Canvas()->Handle();
  d.rcItem = {0, 0, 60, 20};
  MEASUREITEMSTRUCT m{ODT_MENU, 0, 101, 0, 15, 0};
  auto once = [&] {
    SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    m.itemHeight = 15;
    SendMessageA(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
  };
  once();
  const int before = GdiObjectCount();
  for (int i = 0; i < 50; ++i) once();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace

namespace {

HWND GoingWindow = nullptr;
void CALLBACK DestroyUnderMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  DestroyWindow(GoingWindow);
  EndMenu();
}

TEST_F(ProcAlone, AWindowThatGoesWhileItsSystemMenuIsUpLetsTheMenuEnd) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  GoingWindow = w;
  SetTimer(nullptr, 0, 200, DestroyUnderMenu);
  f->FLastSysMenuTick = GetTickCount() - f->FDoubleClickTime - 1000;
  f->ShowSysMenu({100, 100});
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(f->FState, fsGone);
  EXPECT_FALSE(f->FSysMenu);
}

}  // namespace

namespace {

// A real MDI frame: its own procedure is the system's frame procedure over its MDI client.
HWND FrameClient = nullptr;
LRESULT CALLBACK FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  return DefFrameProcA(h, FrameClient, m, w, l);
}
constexpr const char* kFrameClass = "RezIderFormTestMdiFrame";
constexpr const char* kChildClass = "RezIderFormTestMdiChild";

class Mdi : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    WNDCLASSA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefMDIChildProcA;
    wc.lpszClassName = kChildClass;
    RegisterClassA(&wc);
    ASSERT_EQ(SkinManager, nullptr);
    SkinManagerLink(true);
    SkinManager->AddSkinData(FData.get());
    SkinManager->Enabled = true;
  }
  void TearDown() override {
    delete SkinManager;
    SkinManager = nullptr;
    FormTest::TearDown();
  }
  // A frame with a menu bar and an MDI client, skinned by the manager.
  TRezIderFormImpl* Frame(HWND& frame) {
    frame =
        Window("Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 400, 300, nullptr, kFrameClass);
    FWindowMenu = CreatePopupMenu();
    AppendMenuA(FWindowMenu, MF_STRING, 50, "&Tile");
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(FWindowMenu), "&Window");
    SetMenu(frame, menu);
    CLIENTCREATESTRUCT ccs{FWindowMenu, 1000};
    FrameClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 380,
                                  240, frame, nullptr, nullptr, &ccs);
    EXPECT_TRUE(SkinManager->SkinWindow(frame));
    Pump();
    return ObjectAs<TRezIderFormImpl>(SkinManager->FindForm(frame));
  }
  HWND MaximisedChild(const char* title) {
    MDICREATESTRUCTA mcs{kChildClass, title, GetModuleHandleA(nullptr), 0, 0, 200, 150, WS_MAXIMIZE, 0};
    return HWND(SendMessageA(FrameClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }
  HMENU FWindowMenu = nullptr;
};

TEST_F(Mdi, TheClientProcedureFollowsChildrenMenusAndArrangementsUnderAMaximisedChild) {
  HWND frame;
  TRezIderFormImpl* f = Frame(frame);
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->FMdiKind, mkFrame);
  ASSERT_NE(f->FMenuBar, nullptr);
  const bool menuUpdate = FData->MenuUpdate;

  // A new child holds the menu's updates back until the client refreshed the frame menu for it;
  // then it is skinned and the frame repaints its frame.
  HWND child = MaximisedChild("First");
  ASSERT_TRUE(child);
  EXPECT_FALSE(FData->MenuUpdate);
  EXPECT_EQ(f->FPendingMdiChild, child);
  EXPECT_TRUE(f->IsMdiChildMaximized());
  EXPECT_EQ(SkinManager->FindForm(child), nullptr);
  MSG m;
  while (PeekMessageA(&m, frame, WM_SKINFRAME, WM_SKINFRAME, PM_REMOVE)) {
  }
  SendMessageA(FrameClient, WM_MDIREFRESHMENU, 0, 0);
  EXPECT_EQ(f->FPendingMdiChild, nullptr);
  EXPECT_NE(SkinManager->FindForm(child), nullptr);
  EXPECT_FALSE(SkinManager->Forced());
  EXPECT_TRUE(PeekMessageA(&m, frame, WM_SKINFRAME, WM_SKINFRAME, PM_REMOVE));

  // Another frame menu: the skinned bar shows it, the frame none of its own.
  HMENU other = CreateMenu();
  AppendMenuA(other, MF_STRING, 60, "&Other");
  SendMessageA(FrameClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0);
  EXPECT_EQ(f->FMenuBar->FMenuHandle, other);
  EXPECT_EQ(GetMenu(frame), nullptr);

  // Tiling and cascading end the maximised state the manager keeps.
  for (UINT arrange : {UINT(WM_MDICASCADE), UINT(WM_MDITILE)}) {
    SkinManager->SetMdiMax(true);
    SendMessageA(FrameClient, arrange, 0, 0);
    EXPECT_FALSE(SkinManager->MdiMax()) << arrange;
  }

  // A child destroyed: the maximised state follows the active child left (restored here); while a
  // skinned child is left the menu's updates stay held back, and with none they come back.
  HWND second = MaximisedChild("Second");
  ASSERT_TRUE(second);
  SendMessageA(FrameClient, WM_MDIREFRESHMENU, 0, 0);
  ASSERT_NE(SkinManager->FindForm(second), nullptr);
  SendMessageA(FrameClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(second), 0);
  ASSERT_FALSE(f->IsMdiChildMaximized());
  SkinManager->SetMdiMax(true);
  SendMessageA(FrameClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(SkinManager->MdiMax());
  EXPECT_FALSE(FData->MenuUpdate);
  SendMessageA(FrameClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(FData->MenuUpdate, menuUpdate);
  EXPECT_EQ(GetMenu(frame), nullptr);
  DestroyMenu(other);
}

}  // namespace
