// The skinned form's takeover and give-back with real windows: procedure, styles, frame size,
// colour, caption buttons, system menu, and that everything comes back as it was.
#include "RezIderFormTesting.h"
#include "tests/unit/PaintTesting.h"
#include "tk/StdCtrls.h"

using namespace formtest;

namespace {

class Takeover : public FormTest {};

TEST_F(Takeover, ABareWindowIsTakenOverAndAnswersTheSkinnedQuery) {
  HWND w = Window();
  const LONG_PTR own = Proc(w);
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 0);
  TRezIderFormImpl* f = Skin(w, false);
  EXPECT_EQ(Proc(w), reinterpret_cast<LONG_PTR>(f->FObjectInstance));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(f->FOldWndProc), own);
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(f->FState, fsCreated);
  EXPECT_TRUE(f->FFullSkin);
  EXPECT_EQ(f->FCaption, "Skinned");
  EXPECT_EQ(f->FClassName, kClass);
  EXPECT_EQ(f->FBorderKind, bkSizeable);
  EXPECT_EQ(f->FCaptionFlags & (cfMaxBox | cfMinBox | cfSysMenu), cfMaxBox | cfMinBox | cfSysMenu);
  EXPECT_EQ(f->FBorderLeft, kLeft);
  EXPECT_EQ(f->FBorderTop, kTop);
  EXPECT_EQ(f->FBorderRight, kRight);
  EXPECT_EQ(f->FBorderBottom, kBottom);
  EXPECT_EQ(f->FSysButtonCount, int32_t(FData->SysButtons.size()));
  ASSERT_EQ(f->FSysButtons.size(), FData->SysButtons.size());
  for (size_t i = 0; i < f->FSysButtons.size(); ++i)
    EXPECT_EQ(f->FSysButtons[i]->FButtonData, FData->SysButtons[i].get());
  // The hover timer waits for the first activation.
  EXPECT_FALSE(f->FTimer->Enabled());
  EXPECT_EQ(f->FTimer->Interval(), 250u);
}

TEST_F(Takeover, AnUnownedWindowLosesItsCaptionAndTheFirstActivationFitsTheSkinFrameAroundItsClient) {
  HWND w = Window();
  const SIZE client = ClientSize(w);
  TRezIderFormImpl* f = Skin(w);
  EXPECT_FALSE(Style(w) & WS_CAPTION);
  EXPECT_TRUE(f->FCaptionFlags & cfCaptionRemoved);
  EXPECT_EQ(f->FState, fsSkinned);
  EXPECT_TRUE(f->FActivated);
  // The hover timer runs while the window is active.
  SendMessageA(w, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(f->FTimer->Enabled());
  SendMessageA(w, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(f->FTimer->Enabled());
  const SIZE now = ClientSize(w);
  EXPECT_EQ(now.cx, client.cx);
  EXPECT_EQ(now.cy, client.cy);
  const SIZE outer = WindowSize(w);
  EXPECT_EQ(outer.cx, client.cx + kLeft + kRight);
  EXPECT_EQ(outer.cy, client.cy + kTop + kBottom);
  EXPECT_TRUE(f->FHasRegion);
}

TEST_F(Takeover, ARefreshKeepsTheSizeTheUserGaveTheWindow) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  const SIZE skinned = WindowSize(w);
  SetWindowPos(w, nullptr, 0, 0, skinned.cx + 40, skinned.cy + 30,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const SIZE client = ClientSize(w);
  f->RefreshSkin();
  EXPECT_EQ(WindowSize(w).cx, skinned.cx + 40);
  EXPECT_EQ(WindowSize(w).cy, skinned.cy + 30);
  EXPECT_EQ(ClientSize(w).cx, client.cx);
}

TEST_F(Takeover, AFirstActivationHandledLateLeavesTheActiveWindowAlone) {
  // The window was activated, then a dialog came up before its first activation was handled.
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w, false);
  HWND dialog = Window("Dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 100, w);
  SetActiveWindow(dialog);
  ASSERT_EQ(GetActiveWindow(), dialog);
  SendMessageA(w, WM_SKINACTIVATED, 0, SkinActivatedParam);
  EXPECT_EQ(f->FState, fsSkinned);
  EXPECT_EQ(WindowSize(w).cx, ClientSize(w).cx + kLeft + kRight);
  EXPECT_EQ(GetActiveWindow(), dialog);
}

TEST_F(Takeover, GiveBackRestoresProcedureStylesClientSizeAndRegion) {
  HWND w = Window();
  const LONG_PTR own = Proc(w);
  const DWORD style = Style(w);
  const SIZE client = ClientSize(w);
  const SIZE outer = WindowSize(w);
  Unskin(Skin(w));
  EXPECT_EQ(Proc(w), own);
  EXPECT_EQ(Style(w), style);
  EXPECT_EQ(ClientSize(w).cx, client.cx);
  EXPECT_EQ(ClientSize(w).cy, client.cy);
  EXPECT_EQ(WindowSize(w).cx, outer.cx);
  EXPECT_EQ(WindowSize(w).cy, outer.cy);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, probe), ERROR);
  DeleteObject(probe);
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 0);
}

// Someone else's subclass: passes everything on, and tells when a message comes round to it again.
constexpr UINT kProbe = WM_APP + 7;
WNDPROC Below = nullptr;
int ForeignDepth = 0, ForeignSeen = 0;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m != kProbe) return CallWindowProcA(Below, h, m, wp, lp);
  ++ForeignSeen;
  if (ForeignDepth > 0) return 0;
  ++ForeignDepth;
  LRESULT r = CallWindowProcA(Below, h, m, wp, lp);
  --ForeignDepth;
  return r;
}

TEST_F(Takeover, ASubclassMadeAfterTheTakeoverStaysThroughGiveBackAndASecondTakeover) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  Below = reinterpret_cast<WNDPROC>(Proc(w));
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc));
  auto probe = [&] {
    Seen().clear();
    ForeignSeen = 0;
    SendMessageA(w, kProbe, 0, 0);
    return ForeignSeen == 1 && Reached(w, kProbe);
  };
  Unskin(f);
  EXPECT_EQ(Proc(w), reinterpret_cast<LONG_PTR>(ForeignProc));
  EXPECT_TRUE(probe());
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 0);
  TRezIderFormImpl* g = Skin(w);
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
  EXPECT_TRUE(probe());
  Unskin(g);
  EXPECT_EQ(Proc(w), reinterpret_cast<LONG_PTR>(ForeignProc));
  EXPECT_TRUE(probe());
}

TEST_F(Takeover, AnOwnedWindowKeepsItsCaptionAndLosesItsBoxesUntilGiveBack) {
  HWND owner = Window("Owner");
  HWND w = Window("Owned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, owner);
  const DWORD style = Style(w);
  TRezIderFormImpl* f = Skin(w);
  EXPECT_EQ(f->FOwnerWindow, owner);
  EXPECT_EQ(Style(w) & WS_CAPTION, DWORD(WS_CAPTION));
  EXPECT_FALSE(Style(w) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(f->FCaptionFlags & cfCaptionRemoved);
  Unskin(f);
  EXPECT_EQ(Style(w), style);
}

TEST_F(Takeover, AFramelessPopupHasNoBordersAndGetsNoCaptionBack) {
  HWND w = Window("Popup", WS_POPUP | WS_VISIBLE, 200, 100);
  const DWORD style = Style(w);
  const SIZE outer = WindowSize(w);
  TRezIderFormImpl* f = Skin(w);
  EXPECT_EQ(f->FBorderKind, bkNone);
  EXPECT_EQ(f->FBorderLeft + f->FBorderTop + f->FBorderRight + f->FBorderBottom, 0);
  EXPECT_EQ(f->FMenuBarHeight, 0);
  EXPECT_EQ(WindowSize(w).cx, outer.cx);
  EXPECT_EQ(WindowSize(w).cy, outer.cy);
  Unskin(f);
  EXPECT_EQ(Style(w), style);
  EXPECT_FALSE(Style(w) & WS_CAPTION);
}

TEST_F(Takeover, BorderKindFollowsTheStyle) {
  struct {
    DWORD style;
    uint8_t kind;
  } cases[] = {
      {WS_OVERLAPPEDWINDOW, bkSizeable},
      {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, bkFixed},
      {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, bkModal},
      {WS_POPUP | WS_BORDER, bkNone},
  };
  for (auto& c : cases) {
    TRezIderFormImpl* f = Skin(Window("Kind", c.style), false);
    EXPECT_EQ(f->FBorderKind, c.kind) << std::hex << c.style;
  }
}

TEST_F(Takeover, TheSystemMenuHoldsRestoreTheBoxesItHasASeparatorAndClose) {
  TRezIderFormImpl* full = Skin(Window("Full"), false);
  ASSERT_TRUE(full->FSysMenu);
  EXPECT_EQ(full->FSysMenu->Tag, 33333);
  std::vector<std::pair<std::string, int>> items;
  TMenuItem* all = full->FSysMenu->Items();
  for (int i = 0; i < all->Count(); ++i) items.push_back({all->Items(i)->Caption(), all->Items(i)->Tag});
  EXPECT_EQ(items, (std::vector<std::pair<std::string, int>>{
                       {" Restore ", 0}, {" Maximize ", 1}, {" Minimize ", 2}, {"-", 100}, {" Close ", 3}}));
  EXPECT_EQ(ShortCutToText(all->Items(all->Count() - 1)->ShortCut()), "Shift+F4");
  EXPECT_TRUE(full->FSysMenu->OwnerDraw());
  EXPECT_EQ(full->FSysMenu->Images(), FData->FMenuImages.get());

  TRezIderFormImpl* plain = Skin(Window("Plain", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU), false);
  ASSERT_EQ(plain->FSysMenu->Items()->Count(), 3);
  EXPECT_EQ(plain->FSysMenu->Items()->Items(1)->Caption(), "-");
}

TEST_F(Takeover, AWindowWithoutIconTakesTheSkinsIconPictureOrTheKeySquare) {
  TRezIderFormImpl* f = Skin(Window(), false);
  const int cx = GetSystemMetrics(SM_CXSMICON);
  ASSERT_EQ(f->FIconBitmap->Width(), cx);
  EXPECT_EQ(PixelAt(*f->FIconBitmap, cx / 2, cx / 2), SkinKeyColour);

  FData->FIconPicture = drawtest::Solid(7, 7, RGB(1, 2, 3));
  TBitmap target;
  f->LoadFormIcon(&target);
  EXPECT_EQ(target.Width(), 7);
  EXPECT_EQ(PixelAt(target, 3, 3), RGB(1, 2, 3));
}

TEST_F(Takeover, AWindowIconIsDrawnIntoTheIconPictureAndIconButtonsShowOneFrame) {
  HWND w = Window();
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  SendMessageA(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  TRezIderFormImpl* f = Skin(w, false);
  bool different = false;
  for (int y = 0; y < f->FIconBitmap->Height(); ++y)
    for (int x = 0; x < f->FIconBitmap->Width(); ++x)
      different |= PixelAt(*f->FIconBitmap, x, y) != SkinKeyColour;
  EXPECT_TRUE(different);
  for (auto& d : FData->SysButtons)
    if (d->Action == 3 || d->Action == 11) {
      EXPECT_EQ(d->FrameCount, 1);
      ASSERT_TRUE(d->Image);
      EXPECT_FALSE(d->Image->Empty());
    }
}

TEST_F(Takeover, WithoutTheMainMenuElementOnlyTheProcedureIsTakenAndGivenBack) {
  FData->SkinControls.Exclude(xcMainMenu);
  HWND w = Window();
  const DWORD style = Style(w);
  const SIZE outer = WindowSize(w);
  const LONG_PTR own = Proc(w);
  TRezIderFormImpl* f = Skin(w);
  EXPECT_FALSE(f->FFullSkin);
  EXPECT_EQ(Proc(w), reinterpret_cast<LONG_PTR>(f->FObjectInstance));
  EXPECT_EQ(Style(w), style);
  EXPECT_EQ(WindowSize(w).cx, outer.cx);
  EXPECT_EQ(WindowSize(w).cy, outer.cy);
  EXPECT_TRUE(f->FSysButtons.empty());
  // Its frame stays the system's: the painting message reaches the window's own procedure.
  Seen().clear();
  SendMessageA(w, WM_NCPAINT, 1, 0);
  EXPECT_TRUE(Reached(w, WM_NCPAINT));
  Unskin(f);
  EXPECT_EQ(Proc(w), own);
}

TEST_F(Takeover, AToolkitFormTakesTheSkinColourAndItsMessageMethodComesBack) {
  TForm* form = Form("Tool");
  const TWndMethod method = form->WindowProc;
  const TColor colour = form->Color();
  auto* f = new TRezIderFormImpl(form);
  f->FHandle = form->Handle();
  f->AttachForm(FData.get(), form);
  EXPECT_EQ(f->FForm, form);
  EXPECT_EQ(form->Color(), FData->ButtonFace);
  EXPECT_FALSE(form->WindowProc == method);
  SendMessageA(form->Handle(), WM_SKINACTIVATED, 0, SkinActivatedParam);
  // A new caption is what the skin draws.
  form->SetCaption("Renamed");
  EXPECT_EQ(f->FCaption, "Renamed");
  f->UnskinForm();
  EXPECT_TRUE(form->WindowProc == method);
  EXPECT_EQ(form->Color(), colour);
  delete f;
}

TEST_F(Takeover, AFormHiddenWhileItWaitsForItsFirstActivationStaysHidden) {
  TForm* form = Form("Held");
  auto* f = new TRezIderFormImpl(form);
  f->FHandle = form->Handle();
  f->AttachForm(FData.get(), form);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));  // held from painting until the first sizing
  form->Hide();
  SendMessageA(form->Handle(), WM_SKINACTIVATED, 0, SkinActivatedParam);
  Pump();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  form->Show();
  Pump();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  f->UnskinForm();
  delete f;
}

TEST_F(Takeover, TheRefreshMessageShowsAnotherSkinOnAToolkitFormAndItsControlsAndGoesNoFurther) {
  TForm* form = Form("Refresh");
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 60, 40);
  // What reaches the form's own handling of the refresh message.
  TCountingMethod own{form->WindowProc, WM_SKINREFRESH};
  form->WindowProc = own.Method();
  auto* f = new TRezIderFormImpl(form);
  f->FHandle = form->Handle();
  f->AttachForm(FData.get(), form);
  SendMessageA(form->Handle(), WM_SKINACTIVATED, 0, SkinActivatedParam);
  ASSERT_EQ(panel->Color(), FData->ButtonFace);
  HRGN shaped = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form->Handle(), shaped), ERROR);
  ASSERT_FALSE(PtInRegion(shaped, 0, 0));  // the test skin's edges leave the corner out
  // Another skin: other colours, and edges without transparent pixels. The buttons of the old one
  // go first, as the manager has them go before a new skin is applied.
  f->FreeNCObjects();
  ASSERT_TRUE(skintest::LoadArchive(*FData, ctltest::PackTestSkin([](std::string ini) {
    for (const char* side : {"Left", "Right", "Top", "Bottom"}) {
      const std::string key = std::string(side) + "Trans=1";
      ini.replace(ini.find(key), key.size(), std::string(side) + "Trans=0");
    }
    return ini.replace(ini.find("ButtonFace=21 22 23"), 19, "ButtonFace=24 25 26");
  })));
  f->LoadSkinParts();
  SendMessageA(form->Handle(), WM_SKINREFRESH, 0, 0);
  EXPECT_EQ(own.Count, 0);
  EXPECT_EQ(FData->ButtonFace, TColor(RGB(24, 25, 26)));
  EXPECT_EQ(form->Color(), FData->ButtonFace);
  EXPECT_EQ(panel->Color(), FData->ButtonFace);
  HRGN plain = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(form->Handle(), plain), ERROR);
  EXPECT_TRUE(PtInRegion(plain, 0, 0));
  EXPECT_EQ(f->FState, fsSkinned);
  for (HRGN r : {shaped, plain}) DeleteObject(r);
  f->UnskinForm();
  delete f;
  form->WindowProc = own.Next;
}

TEST_F(Takeover, AMessageMethodSetAfterTheTakeoverStaysThroughGiveBack) {
  TForm* form = Form("Later");
  auto* f = new TRezIderFormImpl(form);
  f->FHandle = form->Handle();
  f->AttachForm(FData.get(), form);
  TCountingMethod later{form->WindowProc, WM_SKINREFRESH};
  const TWndMethod theirs = later.Method();
  form->WindowProc = theirs;
  f->UnskinForm();
  ASSERT_TRUE(form->WindowProc == theirs);
  delete f;
  // What was taken over only passes on: the refresh reaches the method on top and the form.
  form->Perform(WM_SKINREFRESH);
  EXPECT_EQ(later.Count, 1);
  form->SetCaption("Renamed");
  EXPECT_EQ(GetWindowTextString(form->Handle()), "Renamed");
  form->WindowProc = later.Next;
  form->SetCaption("Again");
  EXPECT_EQ(GetWindowTextString(form->Handle()), "Again");
}

TEST_F(Takeover, AToolkitFormThatGoesTakesItsSkinnedObjectWithItWithoutRestoringColour) {
  TForm* form = Form("Going");
  auto* f = new TRezIderFormImpl(form);
  f->FHandle = form->Handle();
  f->AttachForm(FData.get(), form);
  SendMessageA(form->Handle(), WM_SKINACTIVATED, 0, SkinActivatedParam);
  form->DestroyHandle();
  EXPECT_EQ(f->FState, fsGone);
  EXPECT_FALSE(f->TakenOver());
  EXPECT_EQ(form->Color(), FData->ButtonFace);
  FOwned.erase(std::remove(FOwned.begin(), FOwned.end(), form), FOwned.end());
  delete form;  // frees the skinned object, its owner's component
}

TEST_F(Takeover, ADestroyedBareWindowEndsInTheGoneState) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w);
  DestroyWindow(w);
  EXPECT_EQ(f->FState, fsGone);
  EXPECT_FALSE(f->TakenOver());
  EXPECT_FALSE(f->FSysMenu);
}

TEST_F(Takeover, AMessageBoxNarrowerThanItsCaptionIsWidenedAndItsChildrenShifted) {
  HWND w = Window("A caption much longer than this little box is wide",
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 60, 80, nullptr, kMessageClass);
  HWND child =
      CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, w, nullptr, nullptr, nullptr);
  const int clientWidth = ClientSize(w).cx;
  TRezIderFormImpl* f = Skin(w);
  ASSERT_GT(f->FBlankWidth, 0);
  const TDataSkinTitle& t = *FData->Title;
  const int needed = int(f->FCaption.size() + 7) * f->FBlankWidth + kLeft + kRight + t.LeftWidth +
                     t.RightWidth + t.TXTBackleft + t.TXTBackRight;
  EXPECT_EQ(WindowSize(w).cx, needed);
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 5 + (needed - (clientWidth + kLeft + kRight)) / 2);
}

// What the timer inside a real message box's modal loop found and did.
struct TBoxRun {
  TSkinData* Data = nullptr;
  HWND Owner = nullptr;
  bool Skinned = false, Activated = false, KeptCaption = false, GivenBack = false, Widened = false;
  LONG_PTR OwnProc = 0;
} BoxRun;

void CALLBACK SkinTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = FindWindowA("#32770", "A message box with a rather long caption text");
  if (!box) return;
  BoxRun.OwnProc = GetWindowLongPtrA(box, GWLP_WNDPROC);
  auto* f = new TRezIderFormImpl(nullptr);
  f->FHandle = box;
  f->SkinForm(BoxRun.Data);
  BoxRun.Skinned = SendMessageA(box, WM_SKINQUERY, 0, 0) == 1;
  SendMessageA(box, WM_SKINACTIVATED, 0, SkinActivatedParam);
  BoxRun.Activated = f->FState == fsSkinned;
  // An owned box keeps its caption style and loses its system menu.
  BoxRun.KeptCaption = f->FOwnerWindow == BoxRun.Owner && (Style(box) & WS_CAPTION) == WS_CAPTION &&
                       !(Style(box) & WS_SYSMENU);
  const TDataSkinTitle& t = *BoxRun.Data->Title;
  const int needed = int(f->FCaption.size() + 7) * f->FBlankWidth + kLeft + kRight + t.LeftWidth +
                     t.RightWidth + t.TXTBackleft + t.TXTBackRight;
  BoxRun.Widened = f->FBlankWidth > 0 && WindowSize(box).cx >= needed;
  SendMessageA(box, WM_NCPAINT, 1, 0);
  f->UnskinForm();
  BoxRun.GivenBack = GetWindowLongPtrA(box, GWLP_WNDPROC) == BoxRun.OwnProc;
  delete f;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Takeover, ARealMessageBoxIsTakenOverInItsModalLoopAndGivenBack) {
  BoxRun = {};
  BoxRun.Data = FData.get();
  BoxRun.Owner = Window("Owner");
  SetTimer(nullptr, 0, 200, SkinTheBox);
  MessageBoxA(BoxRun.Owner, "Text", "A message box with a rather long caption text", MB_OK);
  EXPECT_TRUE(BoxRun.Skinned);
  EXPECT_TRUE(BoxRun.Activated);
  EXPECT_TRUE(BoxRun.KeptCaption);
  EXPECT_TRUE(BoxRun.Widened);
  EXPECT_TRUE(BoxRun.GivenBack);
}

TEST_F(Takeover, SkinningTwiceDoesNothingTheSecondTime) {
  HWND w = Window();
  TRezIderFormImpl* f = Skin(w, false);
  const WNDPROC old = f->FOldWndProc;
  TTimer* timer = f->FTimer;
  f->SkinForm(FData.get());
  EXPECT_EQ(f->FOldWndProc, old);
  EXPECT_EQ(f->FTimer, timer);
}

TEST_F(Takeover, ANewSkinRebuildsTheButtonsAndRemeasuresTheBorders) {
  TRezIderFormImpl* f = Skin(Window());
  f->FreeNCObjects();
  EXPECT_TRUE(f->FSysButtons.empty());
  EXPECT_EQ(f->FCurrentObject, nullptr);
  f->FBorderTop = 0;
  f->LoadSkinParts();
  EXPECT_EQ(f->FBorderTop, kTop);
  EXPECT_EQ(f->FSysButtons.size(), FData->SysButtons.size());
  f->RefreshSkin();
  EXPECT_EQ(f->FState, fsSkinned);
}

TEST_F(Takeover, TheManagerSkinsAWindowWithThisObjectAndItsSkinOffGivesItBack) {
  ASSERT_EQ(SkinManager, nullptr);
  SkinManagerLink(true);
  SkinManager->AddSkinData(FData.get());
  SkinManager->Enabled = true;
  HWND w = Window();
  const LONG_PTR own = Proc(w);
  ASSERT_TRUE(SkinManager->SkinWindow(w));
  Pump();
  auto* f = ObjectAs<TRezIderFormImpl>(SkinManager->FindForm(w));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->FState, fsSkinned);
  SkinManager->SetPendingSkinData(FData.get());
  SkinManager->Schedule(saSkinOff, 250);
  SkinManager->TimerTick(nullptr);
  EXPECT_EQ(SkinManager->FindForm(w), nullptr);
  EXPECT_EQ(Proc(w), own);
  delete SkinManager;
  SkinManager = nullptr;
}

TEST_F(Takeover, ManyCyclesLeaveNoGdiObjectBehind) {
  HWND w = Window();
  Unskin(Skin(w));  // first-use allocations of the system
  int i = 0;
  ExpectCyclesLeaveNoGdiObject([&] {
    TRezIderFormImpl* f = Skin(w);
    SendMessageA(w, WM_NCPAINT, 1, 0);
    ++i;
    SetWindowPos(w, nullptr, 0, 0, 300 + i % 20, 200 + i % 20, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(w, WM_NCACTIVATE, FALSE, 0);
    Unskin(f);
  });
}

}  // namespace

namespace {

class Controls : public FormTest {
 protected:
  // A skinned bare window with one skinned push button child.
  // The button comes after the takeover, so control discovery has not skinned it already.
  TSkinButton* SkinnedButton(HWND& w, HWND& button) {
    w = Window();
    FForm = Skin(w);
    button = CreateWindowExA(0, "BUTTON", "Push", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, w,
                             nullptr, nullptr, nullptr);
    FButtonProc = GetWindowLongPtrA(button, GWLP_WNDPROC);
    auto* skin = new TSkinButton(FForm);
    skin->SkinHandle(button, FData.get(), FForm->FCanvas.get(), FForm);
    return skin;
  }
  TRezIderFormImpl* FForm = nullptr;
  LONG_PTR FButtonProc = 0;
};

TEST_F(Controls, GiveBackUnskinsAndFreesTheRegisteredControls) {
  HWND w, button;
  TSkinButton* skin = SkinnedButton(w, button);
  EXPECT_EQ(FForm->FControls.Count(), 1);
  EXPECT_EQ(FForm->FControls.Items(0), skin);
  EXPECT_NE(GetWindowLongPtrA(button, GWLP_WNDPROC), FButtonProc);
  Unskin(FForm);
  EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), FButtonProc);
}

TEST_F(Controls, ControlsWhoseWindowsAreGoneArePurged) {
  HWND w, button;
  TSkinButton* skin = SkinnedButton(w, button);
  DestroyWindow(button);
  EXPECT_EQ(skin->FSkinState, scsGone);
  FForm->PurgeControls();
  EXPECT_EQ(FForm->FControls.Count(), 0);
}

TEST_F(Controls, DeactivationTellsTheHotButtonThePointerLeft) {
  HWND w, button;
  TSkinButton* skin = SkinnedButton(w, button);
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(FForm->FHotButton, skin);
  ASSERT_TRUE(skin->FMouseState & msHot);
  SendMessageA(w, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(FForm->FHotButton, nullptr);
  EXPECT_FALSE(skin->FMouseState & msHot);
}

TEST_F(Controls, TheHoverTimerOfABareWindowLetsGoOfAHotButtonThePointerLeft) {
  HWND w, button;
  TSkinButton* skin = SkinnedButton(w, button);
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(FForm->FHotButton, skin);
  RECT r{};
  GetWindowRect(w, &r);
  SetCursorPos(r.right + 40, r.bottom + 40);
  FForm->HoverTimer(nullptr);
  EXPECT_EQ(FForm->FHotButton, nullptr);
  EXPECT_FALSE(skin->FMouseState & msHot);
}

}  // namespace

// ---- A form taken over as it is first shown, through the manager and its hook ------------------

namespace {

// Where the takeover of a form fails in these tests: a bitmap or a stub that cannot be made.
enum TFailAt { faNowhere, faSkinParts, faControls, faRegion };

// The object the manager makes for a form fails at the step asked for (a bare window is taken over
// as usual).
class TFailingForm : public TRezIderFormImpl {
 public:
  using TRezIderFormImpl::TRezIderFormImpl;
  void LoadSkinParts() override {
    Fail(faSkinParts);
    TRezIderFormImpl::LoadSkinParts();
  }
  void UpdateRegion() override {
    Fail(faRegion);
    TRezIderFormImpl::UpdateRegion();
  }
  void Fail(TFailAt Step) {
    if (FForm && At == Step) throw EOutOfResources("Out of system resources");
  }
  static inline TFailAt At = faNowhere;
  static inline void (*Discovery)(TRezIderFormImpl*, TWinControl*) = nullptr;
  static void SkinFormControls(TRezIderFormImpl* Form, TWinControl* Parent) {
    if (At == faControls) throw EOutOfResources("Out of system resources");
    if (Discovery) Discovery(Form, Parent);
  }
};

// Counts the failure reports of this thread and keeps their boxes from coming up, so that a report
// too many fails the test at once instead of waiting for an answer.
class TReportCount {
 public:
  TReportCount() : FHook(SetWindowsHookExA(WH_CBT, Refuse, nullptr, GetCurrentThreadId())) { Count = 0; }
  ~TReportCount() { UnhookWindowsHookEx(FHook); }
  TReportCount(const TReportCount&) = delete;
  TReportCount& operator=(const TReportCount&) = delete;
  static inline int Count = 0;

 private:
  static LRESULT CALLBACK Refuse(int Code, WPARAM wParam, LPARAM lParam) {
    if (Code == HCBT_CREATEWND && GetWindowClassName(reinterpret_cast<HWND>(wParam)) == "#32770") {
      ++Count;
      return 1;
    }
    return CallNextHookEx(nullptr, Code, wParam, lParam);
  }
  HHOOK FHook;
};

class Showing : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    ASSERT_EQ(SkinManager, nullptr);
    SkinManagerLink(true);
    SkinManager->AddSkinData(FData.get());
    SkinManager->Enabled = true;
    SkinManager->InstallHook();
    FMaker = RezIderFormMaker;
    RezIderFormMaker = [](TComponent* Owner) -> TRezIderForm* { return new TFailingForm(Owner); };
    TFailingForm::Discovery = FormControlHooks.SkinFormControls;
    FormControlHooks.SkinFormControls = TFailingForm::SkinFormControls;
  }
  void TearDown() override {
    FormControlHooks.SkinFormControls = TFailingForm::Discovery;
    TFailingForm::At = faNowhere;
    RezIderFormMaker = FMaker;
    delete SkinManager;
    SkinManager = nullptr;
    FormTest::TearDown();
  }

  // A form not shown yet (the program's main form when asked), with a panel and two edits that
  // leave some of its client uncovered.
  TForm* NewForm(bool Main = false) {
    TForm* form = nullptr;
    if (Main)
      Application->CreateForm(form);
    else
      form = TCustomForm::Create<TForm>(nullptr);
    FOwned.insert(FOwned.begin(), form);
    form->SetBounds(60, 60, 260, 180);
    form->SetColor(RGB(0, 128, 255));
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 80, 50);
    for (int i = 0; i < 2; ++i) {
      FEdits[i] = new TEdit(form);
      FEdits[i]->SetParent(form);
      FEdits[i]->SetBounds(110, 10 + 30 * i, 100, 22);
    }
    return form;
  }

  // The form and every window in it painted its client since it was shown.
  static void ExpectEveryWindowPainted(const paint_testing::TPaintCount& Count, HWND Form) {
    std::vector<HWND> windows{Form};
    for (HWND c = GetWindow(Form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) windows.push_back(c);
    const auto painted = Count.Windows();
    for (HWND w : windows) {
      auto it =
          std::find_if(painted.begin(), painted.end(),
                       [&](const paint_testing::TPaintCount::TWindowPaints& p) { return p.Window == w; });
      EXPECT_TRUE(it != painted.end() && it->Paint > 0) << paint_testing::TPaintCount::ClassOf(w);
    }
  }

  TRezIderFormMaker FMaker = nullptr;
  TEdit* FEdits[2] = {};
};

class FailedTakeover : public Showing, public testing::WithParamInterface<TFailAt> {};

TEST_P(FailedTakeover, LeavesThePlainFormShownPaintedAndUsableReportedOnceWithNoObjectBehind) {
  TFailingForm::At = GetParam();
  TForm* form = NewForm();
  const HWND h = form->Handle();
  const TWndMethod method = form->WindowProc;
  const TColor colour = form->Color();
  const DWORD style = Style(h) | WS_VISIBLE;
  const SIZE size = WindowSize(h);
  paint_testing::TPaintCount count("TForm");
  TReportCount reports;
  form->Show();
  Pump();
  EXPECT_EQ(reports.Count, 1);
  // Plain again, with nothing of the engine left on it.
  EXPECT_EQ(SendMessageA(h, WM_SKINQUERY, 0, 0), 0);
  EXPECT_TRUE(form->WindowProc == method);
  EXPECT_EQ(form->Color(), colour);
  EXPECT_EQ(Style(h), style);
  EXPECT_EQ(WindowSize(h).cx, size.cx);
  EXPECT_EQ(WindowSize(h).cy, size.cy);
  EXPECT_EQ(SkinManager->FindForm(h), nullptr);
  for (int i = 0; i < form->ComponentCount(); ++i)
    EXPECT_EQ(ObjectAs<TRezIderForm>(form->Components(i)), nullptr);
  // Shown, so it takes the pointer, and painted.
  EXPECT_TRUE(IsWindowVisible(h));
  ExpectEveryWindowPainted(count, h);
  // Activated again, it is not tried again, so the failure is not reported again.
  SetActiveWindow(Window("Other"));
  SetActiveWindow(h);
  Pump();
  EXPECT_EQ(reports.Count, 1);
}

INSTANTIATE_TEST_SUITE_P(AtEachStep, FailedTakeover, testing::Values(faSkinParts, faControls, faRegion));

TEST_F(Showing, AHeldFormCountsAsShownForItsActiveControlAndForTheActivationAfterARestore) {
  TForm* form = NewForm(true);
  ASSERT_EQ(Application->MainForm(), form);
  form->OnShow = [&](TObject*) { form->SetActiveControl(FEdits[1]); };
  form->Show();
  const HWND h = form->Handle();
  ASSERT_FALSE(IsWindowVisible(h));  // held until its first activation
  EXPECT_EQ(GetFocus(), FEdits[1]->Handle());
  // The program's window, activated (as after a restore), hands the activation on to its main form.
  SetActiveWindow(Application->Handle());
  SendMessageA(Application->Handle(), CM_ENTER, 0, 0);
  EXPECT_EQ(GetActiveWindow(), h);
}

TEST_F(Showing, AHeldFormThatTheMinimisedProgramTookOutOfSightComesBackOnlyWithIt) {
  TForm* form = NewForm();
  form->Show();
  const HWND h = form->Handle();
  ASSERT_FALSE(IsWindowVisible(h));
  Application->Minimize();
  Pump();
  EXPECT_FALSE(IsWindowVisible(h));
  Application->Restore();
  Pump();
  EXPECT_TRUE(IsWindowVisible(h));
}

TEST_F(Showing, ASkinOffWhileAFormIsHeldShowsItAndEveryWindowInItPaints) {
  TForm* form = NewForm();
  paint_testing::TPaintCount count("TForm");
  form->Show();
  const HWND h = form->Handle();
  ASSERT_FALSE(IsWindowVisible(h));
  SkinManager->SetPendingSkinData(FData.get());
  SkinManager->Schedule(saSkinOff, 250);
  SkinManager->TimerTick(nullptr);
  Pump();
  EXPECT_TRUE(IsWindowVisible(h));
  ExpectEveryWindowPainted(count, h);
}

}  // namespace
