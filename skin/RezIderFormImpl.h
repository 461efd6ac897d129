// The skinned form itself: takes one top-level window over (window procedure, styles, colour,
// caption buttons, system menu), paints its frame from the skin, and gives it all back.
// The window procedure lives in RezIderFormProc.cpp, the frame painting and region in
// RezIderFormPaint.cpp, the caption buttons and system menu in RezIderFormButtons.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/RezIderForm.h"
#include "skin/RezIderFormButtons.h"
#include "skin/RezIderFormMenuBar.h"
#include "skin/WinSubClass.h"
#include "tk/ComCtrls.h"
#include "tk/Controls.h"
#include "tk/Menus.h"

class TTimer;
class TDataSkinBorder;

// FBorderKind values.
enum : uint8_t { bkSizeable = 0, bkFixed = 1, bkNone = 2, bkModal = 3 };
// FCaptionFlags bits.
enum : uint8_t { cfMaxBox = 1, cfMinBox = 2, cfSysMenu = 8, cfCaptionRemoved = 0x10 };

class TRezIderFormImpl;

// The skin's handlers on a toolkit menu item or tool bar: each keeps the handler it replaced, which
// the give-back puts back, and does nothing once its skinned form is gone.
struct TSkinItemDraw {
  std::weak_ptr<TRezIderFormImpl*> Form;
  TMenuDrawItemEvent Previous;
  void operator()(TObject* Sender, TCanvas* Canvas, const RECT& R, bool Selected) const;
};
struct TSkinItemMeasure {
  std::weak_ptr<TRezIderFormImpl*> Form;
  TMenuMeasureItemEvent Previous;
  bool Popup;  // popup and system-menu items get PopupItemMeasure, the others MenuItemMeasure
  void operator()(TObject* Sender, TCanvas* Canvas, int& Width, int& Height) const;
};
struct TSkinToolDraw {
  std::weak_ptr<TRezIderFormImpl*> Form;
  TTBCustomDrawBtnEvent Previous;
  void operator()(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw) const;
};

// Control discovery: the toolkit form's controls, or a bare window's child windows, each given a
// skinned control. Filled in by the discovery module when it is linked; until then a form skins
// no child controls.
struct TFormControlHooks {
  void (*SkinFormControls)(TRezIderFormImpl* Form, TWinControl* Parent) = nullptr;
  void (*SkinChildWindows)(TRezIderFormImpl* Form) = nullptr;
};
extern TFormControlHooks FormControlHooks;

class TRezIderFormImpl : public TRezIderForm, public TSkinControlHost {
 public:
  TK_CLASS(TRezIderFormImpl, TRezIderForm)
  explicit TRezIderFormImpl(TComponent* AOwner);
  ~TRezIderFormImpl() override;

  // ---- takeover and give-back (RezIderForm.cpp) ----
  void AttachForm(TSkinData* Data, TCustomForm* Form) override;
  void SkinForm(TSkinData* Data) override;
  void UnskinForm() override;
  void UnskinDestroyed();
  void UnskinBasic();
  void FreeNCObjects() override;
  void LoadSkinParts() override;
  void RefreshSkin() override;
  void SetCaptionStyles(bool On) override;
  void LoadFormIcon(TBitmap* Target);
  void CreateCaptionFont();
  // Frees the registered controls whose windows are gone (the list itself is the control host's).
  void PurgeControls();
  void BuildSysMenu();
  void HookMdiClient();
  void UnhookMdiClient();
  void CallClientDefault(TMessage& Message);
  void AdjustFrameSize(bool Refresh);
  void FormWindowProc(TMessage& Message);
  bool TakenOver() const { return FObjectInstance != nullptr; }
  bool MdiChildAbnormal() const { return FMdiKind == mkChild && FShowState != ssNormal; }

  // ---- window procedure (RezIderFormProc.cpp) ----
  // The window's and its MDI client's messages, through the stubs bound to this object (which
  // let no failure through to the system).
  void WndProc(TMessage& Message);
  void ClientWndProc(TMessage& Message);
  void CallDefault(TMessage& Message);
  void HoverTimer(TObject* Sender);
  void ShowSysMenu(POINT Screen);
  void GetShowState();
  POINT WindowPointFromScreen(int X, int Y);
  TNCObject* NCObjectAtPoint(POINT P);
  // The caption button or menu-bar item under a mouse message's screen point.
  TNCObject* ObjectAtMessagePoint(LPARAM lParam);
  void EraseBackground(TMessage& Message);
  void CtlColorStatic(TMessage& Message);
  void WMSize(TMessage& Message);
  void GetMinMaxInfo(TMessage& Message);
  void WindowPosChanged(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMSysCommand(TMessage& Message);
  void NCCalcSize(TMessage& Message);
  void NCHitTest(TMessage& Message);
  void NCActivate(TMessage& Message);
  void NCMouseMove(TMessage& Message);
  void NCLButtonDown(TMessage& Message);
  void NCLButtonUp(TMessage& Message);
  void NCLButtonDblClk(TMessage& Message);
  void NCRButtonDown(TMessage& Message);
  void FirstActivation();
  // Owner-drawn menus of the skinned window (the menu bar makes its sub-menus owner-drawn).
  void MakeMenuOwnerDraw(HMENU Menu);
  void MeasureItem(TMessage& Message);
  void DrawItem(TMessage& Message);
  void MeasureMenuText(MEASUREITEMSTRUCT& Item);
  void MenuChanged(TMessage& Message);
  void SetText(TMessage& Message);

  // ---- toolkit menus (RezIderFormMenus.cpp) ----
  // The item's own measure (its OnMeasureItem kept out of it), then the skin's room.
  void MenuItemMeasure(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height);
  void PopupItemMeasure(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height);
  void MenuItemDraw(TMenuItem* Item, TCanvas* Canvas, const RECT& R, bool Selected);
  void ToolButtonCustomDraw(TToolBar* Bar, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw);
  // What the item drawing reads of a toolkit item.
  TSkinMenuItem SkinItemOf(TMenuItem* Item) const;
  // The popup menus the form owns: owner-drawn with the skin's handlers, or given back.
  void SkinPopupMenus(TCustomForm* Form, bool On);
  // The item and its sub-items get the skin's handlers (On), or those they had back.
  void SkinMenuItems(TMenuItem* Item, bool On);
  // The skin's handlers on tool bars and their menus, and on the menu items of tool buttons, given
  // back (discovery put them there).
  void ReleaseMenuItems();
  // The item of the menu bar's toolkit menu with that command, or none.
  TMenuItem* FindBarItem(UINT Command) const;
  // Items made owner-drawn for the skin get their type, text and data back.
  void RestoreOwnerDrawnItems();
  // Owner-drawn items, popup menus and the handlers of tool bars and menu items, as they were.
  void GiveBackMenus();
  // The skin's handlers know their form through this; they do nothing once it is gone.
  std::shared_ptr<TRezIderFormImpl*> FSelf = std::make_shared<TRezIderFormImpl*>(this);
  // What items were before MakeMenuOwnerDraw changed them.
  struct TOwnerDrawnItem {
    HMENU Menu;
    UINT Position;
    UINT ID;
    HMENU SubMenu;
    UINT Type;
    ULONG_PTR Data;
    std::string Text;
  };
  std::vector<TOwnerDrawnItem> FOwnerDrawnItems;
  // The popup menus' OwnerDraw before the skin set it.
  std::vector<std::pair<TPopupMenu*, bool>> FPopupOwnerDraw;

  // ---- non-client painting and region (RezIderFormPaint.cpp) ----
  void NCPaint(TMessage& Message);
  void PaintNonClient(HDC DC);
  void PaintCaptionBar(HDC DC);
  // The caption strip of a window W x H in FFrameBitmap. It starts from the window's top strip as
  // the side edges left it (Window), or, without that, from the side edges drawn for that size.
  void ComposeCaption(HDC Window, int W, int H);
  void DrawCaption(TCanvas* Canvas, const RECT& R);
  void PlaceSysButtons();
  void DrawSysButtons(TCanvas* Canvas);
  void DrawBorder(int Side, const RECT& Rect, HDC DC);
  void UpdateRegion() override;
  void ClearRegion() override;
  void FindMdiClient();

  // ---- caption buttons and system menu (RezIderFormButtons.cpp) ----
  void DrawSysButton(TWinSysButton* Button, int Frame);
  bool SysButtonVisible(int Index);
  void SysButtonAction(int X, int Y);
  void ToggleMaximize();
  void Restore();
  void ToggleMinimize();
  void MdiChildCommand(UINT Command);
  bool IsMdiChildMaximized();
  void SysMenuClick(TMenuItem* Item);
  void CloseWindow();

  // ---- fields ----
  TWndMethod FOldWindowProc;
  TWndMethod FOwnWindowProc;  // the link the form's message method was set to, while taken over
  WNDPROC FOldWndProc = nullptr;
  WNDPROC FObjectInstance = nullptr;  // the stub bound to this object while the window is taken over
  WNDPROC FClientOldWndProc = nullptr;
  WNDPROC FClientInstance = nullptr;  // the MDI client's, while it is hooked
  std::unique_ptr<TFont> FCaptionFont;
  bool FActivated = false;
  TTimer* FTimer = nullptr;  // owned as a component
  int32_t DisableTag = 0;
  std::string FCaptionPrefix = "  ";
  std::string FCaption;
  std::string FClassName;
  bool FCaptionStylesOn = false;
  bool FMenuUpdate = false;
  bool FFullSkin = false;
  RECT FClientRect{};
  DWORD FLastSysMenuTick = 0;
  DWORD FDoubleClickTime = 0;
  int32_t FBlankWidth = 0;
  HWND FOwnerWindow = nullptr;
  int32_t FBorderLeft = 0, FBorderTop = 0, FBorderRight = 0, FBorderBottom = 0;
  RECT FWindowRect{};
  RECT FCaptionTextRect{};
  int32_t FRightButtonLimit = 0;
  int32_t FFrameWidth = 0, FFrameHeight = 0;
  RECT FOriginalFrame{};
  int32_t FMenuBarHeight = 0;
  int32_t FSysButtonCount = 0;
  bool FMenuTracking = false;
  bool FRightToLeft = false;
  bool FSizeable = false;
  std::shared_ptr<TPopupMenu> FSysMenu;  // shared with a Popup that is running
  HWND FClientHandle = nullptr;
  HWND FPendingMdiChild = nullptr;
  HMENU FMenuHandle = nullptr;
  HMENU FSystemMenuHandle = nullptr;
  HMENU FTrackedMenu = nullptr;
  TColor FOldColor = 0;
  uint32_t FStyle = 0;
  TNCObject* FCurrentObject = nullptr;
  TCustomForm* FForm = nullptr;
  std::unique_ptr<TCanvas> FMenuCanvas;
  std::unique_ptr<TCanvas> FCanvas;
  TRezIderMenu* FMenuBar = nullptr;  // owned as a component
  std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
  std::unique_ptr<TBitmap> FIconBitmap;
  std::unique_ptr<TBitmap> FFrameBitmap;
  int32_t FRegionWidth = 0, FRegionHeight = 0;
  uint8_t FActive = 1;
  uint8_t FBorderKind = bkFixed;
  uint8_t FCaptionFlags = 0;

 private:
  void FreeMenuBar();
  // Puts the window's own procedure (and a form's message method) back.
  void RestoreWndProc();
  // The give-back's common start: without full skin the basic give-back; otherwise the system menu,
  // the timer, the procedure and the controls. False when nothing more is to be given back.
  bool ReleaseFullSkin();
  uint32_t FTakeoverStyle = 0;   // GWL_STYLE at takeover
  uint32_t FRemovedCaption = 0;  // the caption bits SetCaptionStyles took off
  void ResizeForRestoredFrame();
  TDataSkinBorder* Edge(int Side) const;
  // A form taken over as it is first shown paints nothing until its first activation has sized the
  // frame and set the region: then it and its controls paint once, in their final look. Released
  // for a hide (Hiding), it only becomes visible to the system again, so that the hide takes it away.
  void HoldRedraw();
  void ReleaseRedraw(bool Hiding);
  bool FRedrawHeld = false;
  bool FTaken = false;  // something of the window is taken over and not given back yet
};

// The window's text (at most 1000 characters) and class name (at most 100).
std::string GetWindowTextString(HWND Window);
std::string GetWindowClassName(HWND Window);
// A font of the system's non-client metrics (caption or menu font), owned by the caller; none when
// the metrics cannot be read.
HFONT CreateNonClientFont(LOGFONTA NONCLIENTMETRICSA::*Which);
// Sets a published enumerated (or Boolean) property from its value text ("Flat", "True"); nothing
// when the component has no such property or it takes no such value.
void SetEnumPropByName(TComponent* Component, const std::string& Name, const std::string& Value);
