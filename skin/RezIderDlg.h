// The process-wide skin manager: it keeps the registered skin components, the skinned windows and
// the skinned popup menus, decides through a WH_CBT hook on the GUI thread which window gets
// skinned and with which component, and carries out skin on, off and changed on its action timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "skin/RezIderData.h"
#include "tk/Classes.h"

class TTimer;
class TForm;
class TCustomForm;
class TRezIderForm;
class TRezIderPopMenu;

// The engine's private messages.
enum : UINT {
  WM_SKINREFRESH = 0x3401,    // refresh the form's skin
  WM_SKINFRAME = 0x3502,      // repaint the frame (MDI client to its form)
  WM_SKINACTIVATED = 0x3503,  // posted after a window was skinned, lParam SkinActivatedParam
  WM_SKINQUERY = 0x3504,      // answered 1 by skinned forms and popups
};
constexpr LPARAM SkinActivatedParam = 1000;

// Pending actions of the action timer.
enum : int32_t { saSkinOn = 1, saSkinOff = 2, saSkinChanged = 3, saPurge = 6 };

class TSkinManage : public TObject, public TSkinManagerLink {
 public:
  TK_CLASS(TSkinManage, TObject)
  TSkinManage();
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  void InstallHook();
  bool SkinWindow(HWND Window);
  // A new MDI child, once its frame's client has refreshed the frame menu for it: skinned as the
  // skin-on action skins one, since its activation alone never takes an MDI child.
  bool SkinMdiChild(HWND Window);
  void SkinToolkitForm(TCustomForm* Form);
  TSkinData* FindSkinData(HWND Window);
  bool CanSkinClass(const std::string& ClassName);
  static bool IsMdiChild(HWND Window);
  static TCustomForm* FormByHandle(HWND Window);
  TRezIderForm* FindForm(HWND Window);
  void RemoveForm(HWND Window);
  // Takes that object off the list without freeing it (a skinned form that is being freed).
  void ForgetForm(TRezIderForm* Form);
  // A takeover or first activation that failed: the window is given back whole, so it stays plain
  // and usable, a listed object is freed, and the window is not tried again while it lives (the
  // failure is reported once, by the caller's barrier).
  void TakeoverFailed(TRezIderForm* Form);
  // Frees the objects whose windows are gone (and forgets the failed windows that are gone).
  void PurgeForms();
  void PurgeFormsOnTimer() { PurgeForms(); }
  void AddSkinData(TSkinData* Data) override;
  void RemoveSkinData(TSkinData* Data) override;
  void SkinPopup(HWND Window);
  bool UnskinPopup(HWND Window);
  bool IsPopupSkinned(HWND Window);
  TBitmap* PopupBitmap(HMENU Menu);
  void FreePopups();
  void SetMdiMax(bool State);
  int32_t MdiChildCount();
  void Schedule(int Action, int Interval) override;
  void ClearFormButtons() override;
  int32_t UninitializeCoolSB(HWND) { return 0; }
  void TimerTick(TObject* Sender);

  // The rest of what the skin component asks of the manager.
  void SkinOwnerForm(TComponent* Owner) override;
  void SetEnabled(bool Value) override { Enabled = Value; }
  void AddActivation() override { ++FActivationCount; }
  void SetPendingSkinData(TSkinData* Data) override { FPendingSkinData = Data; }

  // Read by tests and by the skinned windows.
  TTimer* ActionTimer() const { return FTimer.get(); }
  HHOOK HookHandle() const { return FHook; }
  const std::vector<TRezIderForm*>& Forms() const { return FForms; }
  const std::vector<TRezIderPopMenu*>& Popups() const { return FPopups; }
  const std::vector<TSkinData*>& SkinDatas() const { return FSkinDatas; }
  bool Forced() const { return FForced; }
  int32_t ActivationCount() const { return FActivationCount; }
  void SetActivationCount(int32_t Value) { FActivationCount = Value; }
  bool MdiMax() const { return FMdiMax; }
  int32_t PendingAction() const { return FPendingAction; }
  TSkinData* PendingSkinData() const { return FPendingSkinData; }

  bool Enabled = false;
  HWND FMdiClient = nullptr;  // the MDI client of the most recently skinned MDI frame

 private:
  // Gives the window back, repaints it, takes it off the list and frees it.
  void UnskinAndFree(TRezIderForm* Form);
  void FreePopup(TRezIderPopMenu* Popup);

  std::unique_ptr<TTimer> FTimer;
  HHOOK FHook = nullptr;
  std::vector<TRezIderForm*> FForms;
  std::vector<HWND> FFailed;  // windows whose takeover failed
  std::vector<TRezIderPopMenu*> FPopups;
  std::vector<TSkinData*> FSkinDatas;
  bool FForced = false;
  int32_t FActivationCount = 0;
  bool FMdiMax = false;
  int32_t FPendingAction = 0;
  TSkinData* FPendingSkinData = nullptr;
};

// The one manager: none until the first skin component loads, freed with the module.
extern TSkinManage* SkinManager;
// GetVersion's value, stored when the hook is installed (read by the popup menus).
extern DWORD StoredVersion;
// (IsWinNT, the platform flag the text drawing reads, is declared with SkinDrawText.)

LRESULT CALLBACK SkinCBTHookProc(int Code, WPARAM wParam, LPARAM lParam);
