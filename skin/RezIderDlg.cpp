#include "skin/RezIderDlg.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "skin/RezIderForm.h"
#include "skin/RezIderMenu.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"

TSkinManage* SkinManager = nullptr;
DWORD StoredVersion = 0;

namespace {

std::string WindowClassName(HWND Window) {
  char name[101] = {};
  GetClassNameA(Window, name, sizeof name);
  return name;
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool AlreadySkinned(HWND Window) { return SendMessageA(Window, WM_SKINQUERY, 0, 0) == 1; }

// A skinned MDI child whose window is gone waits for the purge, but is no child any more: the frame
// asks for its children while the last one is being destroyed.
bool IsLiveMdiChild(const TRezIderForm* Form) { return Form->FMdiKind == mkChild && Form->FState != fsGone; }

TSkinManagerLink* ManagerLink(bool Create) {
  if (!SkinManager && Create) SkinManager = new TSkinManage;
  return SkinManager;
}

TSkinManagerLink* NoManager(bool) { return nullptr; }

// The module's finalisation, at the end of the program: the manager goes, and none is made again.
void Finalize() {
  SkinManagerLink = NoManager;
  delete SkinManager;
  SkinManager = nullptr;
}

// The module's initialisation hands the skin component its manager.
struct TModule {
  TModule() {
    SkinManagerLink = ManagerLink;
    AddFinalization(Finalize);
  }
} Module;

}  // namespace

LRESULT CALLBACK SkinCBTHookProc(int Code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* m = SkinManager;
  if (m && Code >= 0) {
    HWND window = reinterpret_cast<HWND>(wParam);
    // A takeover that fails leaves the window unskinned; the failure stops here, reported.
    try {
      switch (Code) {
        case HCBT_CREATEWND:
          if (WindowClassName(window) == "#32768") m->SkinPopup(window);
          break;
        case HCBT_DESTROYWND:
          m->UnskinPopup(window);
          break;
        case HCBT_ACTIVATE:
          if (m->ActivationCount() == 0) m->SetActivationCount(1);
          m->SkinWindow(window);
          break;
      }
    } catch (...) {
      HandleWindowException();
    }
    // The report may have let the manager go.
    m = SkinManager;
  }
  return CallNextHookEx(m ? m->HookHandle() : nullptr, Code, wParam, lParam);
}

TSkinManage::TSkinManage() : FTimer(std::make_unique<TTimer>(nullptr)) {
  FTimer->SetEnabled(false);
  FTimer->SetInterval(250);
  FTimer->OnTimer = [this](TObject* Sender) { TimerTick(Sender); };
}

TSkinManage::~TSkinManage() {
  FTimer.reset();
  if (FHook) UnhookWindowsHookEx(FHook);
  FHook = nullptr;
  FreePopups();
  // A form's skinned window goes with its form; a bare window has no owner to free its object, so
  // it is given back here.
  std::vector<TRezIderForm*> forms;
  forms.swap(FForms);
  for (auto it = forms.rbegin(); it != forms.rend(); ++it)
    if (!(*it)->Owner()) UnskinAndFree(*it);
  FSkinDatas.clear();
}

void TSkinManage::InstallHook() {
  StoredVersion = GetVersion();
  // One hook per manager: a second main skin component shares it, so no hook outlives us.
  if (FHook) return;
  FHook = SetWindowsHookExA(WH_CBT, SkinCBTHookProc, nullptr, GetCurrentThreadId());
}

bool TSkinManage::SkinWindow(HWND Window) {
  if (!Enabled) return false;
  if (AlreadySkinned(Window)) return false;
  PurgeForms();
  if (FindForm(Window) || std::find(FFailed.begin(), FFailed.end(), Window) != FFailed.end()) return false;
  TCustomForm* form = FormByHandle(Window);
  if (!FForced && IsMdiChild(Window)) return false;
  RECT r{};
  GetWindowRect(Window, &r);
  // Tested one by one: the product of two sizes could overflow.
  if (r.right - r.left == 0 || r.bottom - r.top == 0) return false;
  if (form && form->Tag == 99) return false;
  const std::string className = WindowClassName(Window);
  if (className == "TApplication") return false;
  if (!CanSkinClass(className)) return false;
  TSkinData* data = FindSkinData(Window);
  if (!data || data->FNotLoaded) return false;
  if (!RezIderFormMaker) return false;

  TRezIderForm* skinned = RezIderFormMaker(form);
  skinned->FHandle = Window;
  FForms.push_back(skinned);
  try {
    if (form)
      skinned->AttachForm(data, form);
    else
      skinned->SkinForm(data);
  } catch (...) {
    TakeoverFailed(skinned);
    throw;
  }
  PostMessageA(Window, WM_SKINACTIVATED, 0, SkinActivatedParam);
  return true;
}

bool TSkinManage::SkinMdiChild(HWND Window) {
  struct TForcedScope {
    bool& Flag;
    const bool Was;
    ~TForcedScope() { Flag = Was; }
  } forced{FForced, FForced};
  FForced = true;
  return SkinWindow(Window);
}

void TSkinManage::SkinToolkitForm(TCustomForm* Form) {
  if (!Form->Visible()) return;
  HWND window = Form->Handle();
  if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) && Form->FormStyle != fsMDIChild) return;
  SkinWindow(window);
}

TSkinData* TSkinManage::FindSkinData(HWND Window) {
  auto lastOf = [&](auto&& test) -> TSkinData* {
    for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
      if (test(*it)) return *it;
    return nullptr;
  };
  if (TSkinData* d = lastOf([&](TSkinData* s) {
        auto* owner = ObjectAs<TWinControl>(s->Owner());
        return s->SkinFormtype == sfOnlyThisForm && owner && owner->HandleAllocated() &&
               owner->Handle() == Window;
      }))
    return d;
  const std::string className = Lower(WindowClassName(Window));
  if (className == "tmessageform" || className == "#32770")
    if (TSkinData* d = lastOf([](TSkinData* s) { return s->SkinFormtype == sfDialog; })) return d;
  if (TSkinData* d = lastOf([](TSkinData* s) { return s->SkinFormtype == sfMainform; })) return d;
  return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

bool TSkinManage::CanSkinClass(const std::string& ClassName) {
  bool doSkin = true;
  for (TSkinData* s : FSkinDatas)
    if (s->SkinFormtype == sfMainform) {
      s->DoFormSkin(ClassName, doSkin);
      break;
    }
  return doSkin;
}

bool TSkinManage::IsMdiChild(HWND Window) {
  if (!(GetWindowLongA(Window, GWL_STYLE) & WS_CHILD)) return false;
  return Lower(WindowClassName(GetParent(Window))) == "mdiclient";
}

TCustomForm* TSkinManage::FormByHandle(HWND Window) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->HandleAllocated() && f->Handle() == Window) return f;
  }
  return nullptr;
}

TRezIderForm* TSkinManage::FindForm(HWND Window) {
  for (TRezIderForm* f : FForms)
    if (f->FHandle == Window) return f;
  return nullptr;
}

void TSkinManage::RemoveForm(HWND Window) {
  auto it = std::find_if(FForms.begin(), FForms.end(), [&](TRezIderForm* f) { return f->FHandle == Window; });
  if (it != FForms.end()) FForms.erase(it);
}

void TSkinManage::ForgetForm(TRezIderForm* Form) {
  auto it = std::find(FForms.begin(), FForms.end(), Form);
  if (it != FForms.end()) FForms.erase(it);
}

void TSkinManage::TakeoverFailed(TRezIderForm* Form) {
  if (IsWindow(Form->FHandle)) FFailed.push_back(Form->FHandle);
  if (std::find(FForms.begin(), FForms.end(), Form) != FForms.end())
    UnskinAndFree(Form);
  else
    Form->UnskinForm();  // not the manager's to free
}

void TSkinManage::PurgeForms() {
  std::erase_if(FFailed, [](HWND Window) { return !IsWindow(Window); });
  for (size_t i = FForms.size(); i-- > 0;) {
    if (i >= FForms.size() || FForms[i]->FState != fsGone) continue;
    TRezIderForm* f = FForms[i];
    FForms.erase(FForms.begin() + ptrdiff_t(i));
    delete f;
  }
}

void TSkinManage::AddSkinData(TSkinData* Data) { FSkinDatas.push_back(Data); }

void TSkinManage::RemoveSkinData(TSkinData* Data) {
  auto it = std::find(FSkinDatas.begin(), FSkinDatas.end(), Data);
  if (it == FSkinDatas.end()) return;
  FSkinDatas.erase(it);
  // Nothing may go on using a component that is going away.
  if (FPendingSkinData == Data) FPendingSkinData = nullptr;
  for (size_t i = FForms.size(); i-- > 0;)
    if (i < FForms.size() && FForms[i]->FSkinData == Data) UnskinAndFree(FForms[i]);
  for (size_t i = FPopups.size(); i-- > 0;)
    if (FPopups[i]->FSkinData == Data) {
      TRezIderPopMenu* p = FPopups[i];
      FPopups.erase(FPopups.begin() + ptrdiff_t(i));
      FreePopup(p);
    }
}

void TSkinManage::SkinPopup(HWND Window) {
  if (!Enabled) return;
  if (AlreadySkinned(Window)) return;
  if (IsPopupSkinned(Window)) return;
  TSkinData* data = FindSkinData(Window);
  if (!data || data->FNotLoaded) return;
  if (!data->SkinControls.Contains(xcMainMenu)) return;
  if (!RezIderPopMenuMaker) return;
  std::unique_ptr<TRezIderPopMenu> p(RezIderPopMenuMaker());
  // A window whose procedure cannot be taken over stays plain, and its object goes.
  p->Subclass(Window, data, nullptr);
  FPopups.push_back(p.release());
}

bool TSkinManage::UnskinPopup(HWND Window) {
  auto it =
      std::find_if(FPopups.begin(), FPopups.end(), [&](TRezIderPopMenu* p) { return p->FHandle == Window; });
  if (it == FPopups.end()) return false;
  TRezIderPopMenu* p = *it;
  FPopups.erase(it);
  FreePopup(p);
  return true;
}

bool TSkinManage::IsPopupSkinned(HWND Window) {
  return std::any_of(FPopups.begin(), FPopups.end(),
                     [&](TRezIderPopMenu* p) { return p->FHandle == Window; });
}

TBitmap* TSkinManage::PopupBitmap(HMENU Menu) {
  for (TRezIderPopMenu* p : FPopups)
    if (p->FMenuKey == Menu) return p->FFrameBitmap.get();
  return nullptr;
}

void TSkinManage::FreePopup(TRezIderPopMenu* Popup) {
  if (Popup->Subclassed()) Popup->Unsubclass();
  delete Popup;
}

void TSkinManage::FreePopups() {
  std::vector<TRezIderPopMenu*> popups;
  popups.swap(FPopups);
  for (TRezIderPopMenu* p : popups) FreePopup(p);
}

void TSkinManage::SetMdiMax(bool State) {
  if (State == FMdiMax) return;
  FMdiMax = State;
  for (TRezIderForm* f : FForms) {
    if (!IsLiveMdiChild(f)) continue;
    if (State) {
      if (f->FHasRegion) f->ClearRegion();
      f->SetCaptionStyles(true);
    } else if (f->FShowState == ssMinimized) {
      f->SetCaptionStyles(true);
    } else {
      f->FShowState = ssNormal;
      f->UpdateRegion();
      f->SetCaptionStyles(false);
      if (!f->FHasRegion) f->FrameChanged();
    }
  }
}

int32_t TSkinManage::MdiChildCount() {
  return int32_t(std::count_if(FForms.begin(), FForms.end(), IsLiveMdiChild));
}

void TSkinManage::Schedule(int Action, int Interval) {
  FPendingAction = Action;
  FTimer->SetInterval(unsigned(Interval));
  if (FActivationCount != 0)
    FTimer->SetEnabled(true);
  else if (Action == saSkinOn)
    Enabled = true;
  else if (Action == saSkinOff)
    Enabled = false;
}

void TSkinManage::ClearFormButtons() {
  for (TRezIderForm* f : FForms) f->FreeNCObjects();
}

void TSkinManage::SkinOwnerForm(TComponent* Owner) {
  if (auto* form = ObjectAs<TForm>(Owner)) SkinWindow(form->Handle());
}

void TSkinManage::UnskinAndFree(TRezIderForm* Form) {
  if (Form->FState != fsGone && IsWindow(Form->FHandle)) {
    Form->UnskinForm();
    TRezIderForm::RepaintWindow(Form->FHandle);
  }
  ForgetForm(Form);
  delete Form;
}

void TSkinManage::TimerTick(TObject*) {
  TSkinData* s = FPendingSkinData;
  if (!s) return;
  FTimer->SetEnabled(false);
  const bool own = s->SkinFormtype == sfOnlyThisForm;
  // The windows skinned with s (for a component of one form only the first), by handle: a refresh
  // can activate another window, whose skinning purges the list, so each is looked up again.
  auto windowsOf = [&] {
    std::vector<HWND> list;
    for (TRezIderForm* f : FForms) {
      if (f->FSkinData != s) continue;
      list.push_back(f->FHandle);
      if (own) break;
    }
    return list;
  };
  auto listed = [&](HWND Window) -> TRezIderForm* {
    TRezIderForm* f = FindForm(Window);
    return f && f->FSkinData == s && f->FState != fsGone ? f : nullptr;
  };
  switch (FPendingAction) {
    case saSkinOn:
      Enabled = true;
      FForced = true;
      if (own) {
        for (int i = Screen ? Screen->FormCount() : 0; i-- > 0;)
          if (Screen->Forms(i) == s->Owner()) {
            SkinToolkitForm(Screen->Forms(i));
            break;
          }
      } else {
        PurgeForms();
        for (int i = Screen ? Screen->FormCount() : 0; i-- > 0;)
          if (i < Screen->FormCount()) SkinToolkitForm(Screen->Forms(i));
      }
      FForced = false;
      break;
    case saSkinOff:
      Enabled = false;
      PurgeForms();
      for (size_t i = FForms.size(); i-- > 0;) {
        if (i >= FForms.size()) continue;
        if (own && FForms[i]->FSkinData != s) continue;
        UnskinAndFree(FForms[i]);
        if (own) break;
      }
      break;
    case saSkinChanged: {
      PurgeForms();
      const std::vector<HWND> windows = windowsOf();
      for (HWND w : windows)
        if (TRezIderForm* f = listed(w)) {
          f->FreeNCObjects();
          f->LoadSkinParts();
        }
      for (HWND w : windows)
        if (TRezIderForm* f = listed(w)) f->RefreshSkin();
      break;
    }
    case saPurge:
      PurgeFormsOnTimer();
      break;
    default:
      break;
  }
  // Cleared first: the handler may ask for the next switch, which must not be lost.
  FPendingSkinData = nullptr;
  s->DoSkinChanged();
}
