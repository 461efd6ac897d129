#include "skin/RezIderFormControls.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <exception>

#include "skin/RezIderData.h"
#include "skin/RezIderFormImpl.h"
#include "skin/WinSubClass.h"
#include "skin/WinSubClassEdit.h"
#include "skin/WinSubClassScroll.h"
#include "skin/WinSubClassTab.h"
#include "tk/Buttons.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"
#include "tk/Menus.h"
#include "tk/StdCtrls.h"

namespace {

struct TModule {
  TModule() {
    FormControlHooks.SkinFormControls = &SkinFormControls;
    FormControlHooks.SkinChildWindows = &SkinChildWindows;
  }
} Module;

std::string Lower(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return S;
}

std::string Upper(std::string S) {
  std::transform(S.begin(), S.end(), S.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return S;
}

bool Gate(TRezIderFormImpl* Form, TSkinControlType Type) {
  return Form->FSkinData && Form->FSkinData->SkinControls.Contains(Type);
}

// The tab rules need the gate and a Tabs element in the skin.
bool TabsGate(TRezIderFormImpl* Form) { return Gate(Form, xcTab) && Form->FSkinData->Tabs; }

// A new skinned object of type T owned by Owner, taking its owner over by its message method.
template <typename T>
void SkinAsControl(TRezIderFormImpl* Form, TComponent* Owner, bool TakeColor) {
  auto* skin = new T(Owner);
  skin->SkinControl(Form, Form->FSkinData, Form->FCanvas.get(), TakeColor);
}

// A new skinned object of type T owned by Owner, taking Window over by its window procedure.
template <typename T>
void SkinAsHandle(TRezIderFormImpl* Form, TComponent* Owner, HWND Window) {
  auto* skin = new T(Owner);
  skin->SkinHandle(Window, Form->FSkinData, Form->FCanvas.get(), Form);
}

template <typename T = TSkinScrollbar>
T* SkinScrolling(TRezIderFormImpl* Form, TComponent* C, bool DragThumb) {
  auto* control = ObjectAs<TWinControl>(C);
  if (!control) return nullptr;
  auto* skin = new T(C);
  skin->SkinScrollingControl(control, Form->FSkinData, Form->FCanvas.get(), Form, DragThumb);
  return skin;
}

HWND HandleOf(TComponent* C) {
  auto* control = ObjectAs<TWinControl>(C);
  return control ? control->Handle() : nullptr;
}

// A radio or check group: with SkinItems each child control gets Item's skin; then the group a
// group box's. A child the form's walk reached first keeps the skin it got: a second one would chain
// onto the first's message method.
template <typename Item>
void SkinGroup(TRezIderFormImpl* Form, TComponent* C, bool SkinItems) {
  if (auto* group = ObjectAs<TWinControl>(C); group && SkinItems)
    for (int i = 0; i < group->ControlCount(); ++i) {
      HWND child = HandleOf(group->Controls(i));
      if (!child || !FindControlByHandle(Form, child)) SkinAsControl<Item>(Form, group->Controls(i), false);
    }
  SkinAsControl<TSkinGroupBox>(Form, C, true);
}

// The date-time picker shows its up-down presentation by the system style DTS_UPDOWN.
bool PickerIsUpDown(TComponent* C) {
  HWND h = HandleOf(C);
  return h && (GetWindowLongA(h, GWL_STYLE) & DTS_UPDOWN);
}

// A container that owns components of its own: walked, not skinned. Forms have their own rule.
bool IsContainer(TComponent* C) {
  return C->Is<TWinControl>() && !C->Is<TCustomForm>() && C->ComponentCount() > 0;
}

// A tab control (tabs without pages) is tried before Skin3rd.
bool SkinTabControl(TRezIderFormImpl* Form, TComponent* C) {
  if (!C->Is<TCustomTabControl>() || !TabsGate(Form)) return false;
  SkinAsHandle<TSkinTab>(Form, C, HandleOf(C));
  return true;
}

// A scrolling kind that keeps a colour of its own takes the skin colour too; its skin object keeps
// the colour it had, to give it back when skinning ends and to follow a new skin.
void SkinScrollingWithColour(TRezIderFormImpl* Form, TComponent* C) {
  TSkinScrollbar* skin = SkinScrolling(Form, C, true);
  if (!skin) return;
  skin->FOldColor = skin->FControl->Color();
  skin->FTakeColor = true;
  skin->FControl->SetColor(Form->FSkinData->ButtonFace);
}

// The class rules after Skin3rd, in order; true when one applied (or, for a bit button, when it
// ends the work). The scrolling list kind is the list box; the scrolling kind that keeps a colour of
// its own is the memo. The control carrying a menu item of its own is the tool button.
bool SkinByClass(TRezIderFormImpl* Form, const std::string& N, TComponent* C) {
  if (auto* button = ObjectAs<TToolButton>(C); button && Gate(Form, xcMainMenu)) {
    Form->SkinMenuItems(button->MenuItem(), true);
    return true;
  }
  if (N == "TTABSET" && TabsGate(Form)) {
    SkinAsControl<TSkinTab31>(Form, C, false);
    return true;
  }
  if (N == "TTABBEDNOTEBOOK" && TabsGate(Form)) {
    SkinAsHandle<TSkinTab>(Form, C, HandleOf(C));
    return true;
  }
  if (N == "TMVCPANEL") {
    SkinFormControls(Form, ObjectAs<TWinControl>(C));
    return true;
  }
  if (C->Is<TPageControl>() && TabsGate(Form)) {
    SkinAsHandle<TSkinTab>(Form, Form, HandleOf(C));
    return true;
  }
  if (C->Is<TCustomCheckBox>() && Gate(Form, xcCheckBox)) {
    SkinAsControl<TSkinCheckBox>(Form, C, false);
    return true;
  }
  if (N == "TTRACKBAR" && Gate(Form, xcButton)) {
    SkinAsControl<TSkinTrackBar>(Form, C, false);
    return true;
  }
  if (N == "TUPDOWN" && Gate(Form, xcButton)) {
    SkinAsControl<TSkinUpDown>(Form, C, false);
    return true;
  }
  if (C->Is<TCustomRadioGroup>() && Gate(Form, xcRadioButton)) {
    SkinGroup<TSkinRadioButton>(Form, C, true);
    return true;
  }
  if (N == "TDBNAVIGATOR" && Gate(Form, xcPanel)) {
    SetEnumPropByName(C, "Flat", "True");
    SkinAsControl<TSkinBox>(Form, C, true);
    return true;
  }
  if (C->Is<TCustomGroupBox>() && Gate(Form, xcPanel)) {
    SkinAsControl<TSkinGroupBox>(Form, C, true);
    SkinFormControls(Form, ObjectAs<TWinControl>(C));
    return true;
  }
  if (C->Is<TRadioButton>() && Gate(Form, xcRadioButton)) {
    SkinAsControl<TSkinRadioButton>(Form, C, false);
    return true;
  }
  if (auto* bar = ObjectAs<TToolBar>(C); bar && Gate(Form, xcToolbar)) {
    SetEnumPropByName(C, "Flat", "True");
    SetEnumPropByName(C, "Transparent", "True");
    bar->OnCustomDrawButton = TSkinToolDraw{Form->FSelf, std::move(bar->OnCustomDrawButton)};
    SkinAsControl<TSkinBox>(Form, C, true);
    if (TMainMenu* menu = bar->Menu())
      for (int i = 0; i < menu->Items()->Count(); ++i) Form->SkinMenuItems(menu->Items()->Items(i), true);
    return true;
  }
  if (auto* bar = ObjectAs<TStatusBar>(C); bar && Gate(Form, xcStatusBar)) {
    bar->SetSizeGrip(false);
    SkinAsControl<TSkinStatusBar>(Form, C, false);
    return true;
  }
  if (C->Is<TProgressBar>() && Gate(Form, xcProgress)) {
    SkinAsControl<TSkinProgress>(Form, C, false);
    return true;
  }
  if (C->Is<TScrollBar>() && Gate(Form, xcScrollbar)) {
    SkinAsControl<TSkinScControl>(Form, C, false);
    return true;
  }
  if (C->Is<TCustomComboBox>() && Gate(Form, xcCombo)) {
    SkinAsControl<TSkinComBox>(Form, C, false);
    return true;
  }
  if (N == "TDATETIMEPICKER" && Gate(Form, xcEdit)) {
    if (PickerIsUpDown(C))
      SkinAsControl<TSkinEdit>(Form, C, false);
    else
      SkinAsControl<TSkinComBox>(Form, C, false);
    return true;
  }
  if ((N == "TRICHEDIT" || N == "TWWDBRICHEDIT" || N == "TDXDBMEMO") && Gate(Form, xcScrollbar)) {
    SkinScrolling(Form, C, true);
    return true;
  }
  if (C->Is<TBitBtn>()) {
    if (Gate(Form, xcBitBtn)) SkinAsControl<TSkinBitButton>(Form, C, false);
    return true;
  }
  if (C->Is<TSpeedButton>() && Gate(Form, xcSpeedButton)) {
    auto* skin = new TSkinSpeedButton(C);
    skin->HookOwner(Form, Form->FSkinData, Form->FCanvas.get());
    return true;
  }
  if (C->Is<TCustomPanel>() && Gate(Form, xcPanel)) {
    SkinAsControl<TSkinBox>(Form, C, true);
    SkinFormControls(Form, ObjectAs<TWinControl>(C));
    return true;
  }
  if ((N == "TDXTREELIST" || N == "TDXDBTREELIST" || N == "TDXDBGRID") && Gate(Form, xcScrollbar)) {
    SkinScrolling(Form, C, false);
    return true;
  }
  if (C->Is<TCustomListView>() && Gate(Form, xcScrollbar)) {
    SkinScrolling<TSkinListView>(Form, C, false);
    return true;
  }
  if (C->Is<TCustomListBox>() && Gate(Form, xcScrollbar)) {
    SkinScrolling(Form, C, true);
    return true;
  }
  if (C->Is<TCustomMemo>() && Gate(Form, xcScrollbar)) {
    SkinScrollingWithColour(Form, C);
    return true;
  }
  if (IsScrollingControl(C) && Gate(Form, xcScrollbar)) {
    SkinScrolling(Form, C, true);
    return true;
  }
  if (C->Is<TButton>() && Gate(Form, xcButton)) {
    SkinAsControl<TSkinButton>(Form, C, false);
    return true;
  }
  if (C->Is<TCustomEdit>() && Gate(Form, xcEdit)) {
    SkinAsHandle<TSkinEdit>(Form, C, HandleOf(C));
    return true;
  }
  if (IsContainer(C)) {
    SkinFormControls(Form, ObjectAs<TWinControl>(C));
    return true;
  }
  if (C->Is<TCustomForm>()) {
    SkinAsControl<TSkinBox>(Form, C, true);
    SkinFormControls(Form, ObjectAs<TWinControl>(C));
    return true;
  }
  return false;
}

}  // namespace

void SkinFormControls(TRezIderFormImpl* Form, TWinControl* Container) {
  if (!Container) return;
  Form->PurgeControls();
  // Skinned objects the form owns join its components while it is walked: walk by index.
  for (int i = 0; i < Container->ComponentCount(); ++i)
    SkinChildren(Form, Container->Components(i), Container);
}

void SkinChildren(TRezIderFormImpl* Form, TComponent* C, TWinControl* Container) {
  TSkinData* data = Form->FSkinData;
  if (!data || !C || C->Is<TSkinControl>()) return;
  const std::string N = Upper(C->ClassName());
  if (C->Tag % 100 == data->DisableTag || IsPrintPreview(Form, C)) return;
  if (auto* control = ObjectAs<TWinControl>(C); control && !control->HandleAllocated()) {
    try {
      control->HandleNeeded();
    } catch (const std::exception&) {
      return;
    }
  }

  if (data->OnSkinControl) {
    TComponent* skinned = nullptr;
    data->OnSkinControl(Form, data, Container, ObjectAs<TControl>(C), N, skinned);
    if (auto* skin = ObjectAs<TSkinControl>(skinned)) {
      if (!Form->AddControl(skin)) {
        skin->SkinControl(Form, data, Form->FCanvas.get(), skin->FTakeColor);
        if (auto* panel = ObjectAs<TCustomPanel>(C)) SkinFormControls(Form, panel);
      }
      return;
    }
  }

  if (N == "TDBCOMBOBOXEH" || N == "TQRPREVIEW" || N == "TFRDESIGNERPAGE" || N == "TFRPBOX") return;
  if (SkinTabControl(Form, C)) return;
  if (SkinByType(Form, N, C)) return;
  SkinByClass(Form, N, C);
}

bool IsPrintPreview(TRezIderFormImpl* Form, TComponent* C) {
  auto* control = ObjectAs<TWinControl>(C);
  for (int i = 0; i < Form->FControls.Count(); ++i) {
    auto* entry = static_cast<TSkinControl*>(Form->FControls.Items(i));
    if (entry->FGraphicControl) {
      if (entry->FGraphicControl == C) return true;
      continue;
    }
    if (!control) continue;
    if (control->HandleAllocated()) {
      if (control->Handle() == entry->FHandle) return true;
      continue;
    }
    return Form->FForm && Lower(Form->FForm->Name()).find("preview") != std::string::npos;
  }
  return false;
}

bool SkinByType(TRezIderFormImpl* Form, const std::string& UpperName, TComponent* C) {
  TStrings* lines = Form->FSkinData ? Form->FSkinData->Skin3rd() : nullptr;
  if (!lines) return false;
  const std::string key = Lower(UpperName) + "=";
  std::string kind;
  for (int i = 0; i < lines->Count(); ++i) {
    std::string line = Lower(lines->Strings(i));
    if (line.compare(0, key.size(), key) != 0) continue;
    kind = line.substr(line.find('=') + 1, 50);
    break;
  }
  if (kind.empty()) return false;

  if (kind == "combobox") {
    if (Gate(Form, xcCombo)) SkinAsControl<TSkinComBox>(Form, C, false);
  } else if (kind == "nil") {
  } else if (kind == "edit") {
    if (Gate(Form, xcEdit)) SkinAsHandle<TSkinEdit>(Form, C, HandleOf(C));
  } else if (kind == "radiobutton") {
    if (Gate(Form, xcRadioButton)) SkinAsControl<TSkinRadioButton>(Form, C, false);
  } else if (kind == "panel") {
    if (Gate(Form, xcPanel)) {
      SetEnumPropByName(C, "Transparent", "True");
      SkinAsControl<TSkinBox>(Form, C, true);
    }
  } else if (kind == "trackbar") {
    if (Gate(Form, xcButton)) {
      SetEnumPropByName(C, "Transparent", "True");
      SkinAsControl<TSkinTrackBar>(Form, C, false);
    }
  } else if (kind == "button") {
    if (Gate(Form, xcButton)) SkinAsControl<TSkinButton>(Form, C, false);
  } else if (kind == "tab") {
    if (TabsGate(Form)) SkinAsHandle<TSkinTab>(Form, C, HandleOf(C));
  } else if (kind == "progress") {
    if (Gate(Form, xcProgress)) SkinAsControl<TSkinProgress>(Form, C, false);
  } else if (kind == "scrollbar") {
    if (Gate(Form, xcScrollbar)) SkinScrolling(Form, C, true);
  } else if (kind == "groupbox") {
    if (Gate(Form, xcGroupBox)) SkinAsControl<TSkinGroupBox>(Form, C, true);
  } else if (kind == "radiogroup") {
    if (Gate(Form, xcPanel)) SkinGroup<TSkinRadioButton>(Form, C, Gate(Form, xcRadioButton));
  } else if (kind == "checkgroup") {
    if (Gate(Form, xcPanel)) SkinGroup<TSkinCheckBox>(Form, C, Gate(Form, xcRadioButton));
  } else if (kind == "checkbox") {
    if (Gate(Form, xcCheckBox)) SkinAsControl<TSkinCheckBox>(Form, C, false);
  }
  return true;
}

bool IsScrollingControl(TComponent* C) {
  auto* control = ObjectAs<TWinControl>(C);
  if (!control) return false;
  if (GetWindowLongA(control->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) return true;
  return C->Tag == 55 || C->Is<TCustomTreeView>();
}

void SkinChildWindows(TRezIderFormImpl* Form) {
  for (HWND child = GetTopWindow(Form->FHandle); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongA(child, GWL_STYLE) & WS_CHILD) SkinByWindowClass(Form, child);
}

TSkinControl* FindControlByHandle(TRezIderFormImpl* Form, HWND Window) {
  for (int i = 0; i < Form->FControls.Count(); ++i) {
    auto* control = static_cast<TSkinControl*>(Form->FControls.Items(i));
    if (control->FHandle == Window) return control;
  }
  return nullptr;
}

void SkinByWindowClass(TRezIderFormImpl* Form, HWND Window) {
  if (!Window || FindControlByHandle(Form, Window)) return;
  const std::string cls = Lower(GetWindowClassName(Window));
  const DWORD style = DWORD(GetWindowLongA(Window, GWL_STYLE));
  if (cls == "button") {
    // By the button's type, not by overlapping bit masks: an owner-drawn button paints itself.
    switch (style & BS_TYPEMASK) {
      case BS_GROUPBOX:
      case BS_OWNERDRAW:
        return;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return SkinAsHandle<TSkinCheckBox>(Form, Form, Window);
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return SkinAsHandle<TSkinRadioButton>(Form, Form, Window);
      default:
        return SkinAsHandle<TSkinButton>(Form, Form, Window);
    }
  }
  if (cls == "combobox") {
    if ((style & 3) != CBS_SIMPLE) SkinAsHandle<TSkinComBox>(Form, Form, Window);
  } else if (cls == "comboboxex32") {
    // The inner combo box is what gets skinned, so it is what tells whether this one already is.
    HWND inner = GetTopWindow(Window);
    if (inner && !FindControlByHandle(Form, inner)) SkinAsHandle<TSkinComBox>(Form, Form, inner);
  } else if (cls == "scrollbar") {
    // The sizer paints nothing: only a size box or grip may lose its painting, never a bar.
    if (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) SkinAsHandle<TSkinSizer>(Form, Form, Window);
  } else if (cls == "systabcontrol32") {
    if (!(style & TCS_OWNERDRAWFIXED)) SkinAsHandle<TSkinTab>(Form, Form, Window);
  } else if (cls == "edit") {
    SkinAsHandle<TSkinEdit>(Form, Form, Window);
  }
}
