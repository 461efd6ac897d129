// The input controls of StdCtrls beside the edit: memos, check boxes, radio buttons and combo boxes,
// each the system control of its kind under its own class name.
#include "tk/FormReader.h"
#include "tk/StdCtrls.h"

// ---- Memos --------------------------------------------------------------------------------------

void TMemoStrings::Edit(const std::function<void(TStringList&)>& Change) {
  TStringList lines;
  lines.SetText(FMemo->Text());
  Change(lines);
  std::string text = lines.Text();
  // No line break after the last line.
  if (!text.empty()) text.resize(text.size() - 2);
  FMemo->SetText(text);
}

int TMemoStrings::Count() const {
  TStringList lines;
  lines.SetText(FMemo->Text());
  return lines.Count();
}

std::string TMemoStrings::Get(int Index) const {
  TStringList lines;
  lines.SetText(FMemo->Text());
  return lines.Strings(Index);
}

void TMemoStrings::Insert(int Index, const std::string& S) {
  Edit([&](TStringList& lines) { lines.Insert(Index, S); });
}

void TMemoStrings::Delete(int Index) {
  Edit([&](TStringList& lines) { lines.Delete(Index); });
}

void TMemoStrings::Clear() { FMemo->SetText(""); }

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  FWidth = 185;
  FHeight = 89;
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  const bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  if (horizontal) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  // Wrapped lines need no scrolling sideways.
  if (FWordWrap && !horizontal) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (FScrollBars == value) return;
  FScrollBars = value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
  if (FWordWrap == value) return;
  FWordWrap = value;
  RecreateWnd();
}

// ---- Check boxes --------------------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  FWidth = 97;
  FHeight = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.SysClassName = "BUTTON";
  // Not an automatic box: the state is ours, the window only shows it.
  Params.Style |= BS_3STATE;
}

// The states are the system's check values: unchecked 0, checked 1, indeterminate 2.
void TCustomCheckBox::InitializeWnd() { SendMessageA(FHandle, BM_SETCHECK, WPARAM(FState), 0); }

void TCustomCheckBox::SetState(TCheckBoxState value) {
  if (FState == value) return;
  FState = value;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, WPARAM(value), 0);
}

void TCustomCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    if (HIWORD(Message.WParam) != BN_CLICKED) return;
    switch (FState) {
      case cbUnchecked:
        SetState(cbChecked);
        break;
      case cbChecked:
        SetState(AllowGrayed ? cbGrayed : cbUnchecked);
        break;
      case cbGrayed:
        SetState(cbUnchecked);
        break;
    }
    Click();
    return;
  }
  TButtonControl::WndProc(Message);
}

// ---- Radio buttons ------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  FWidth = 113;
  FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.SysClassName = "BUTTON";
  Params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::InitializeWnd() {
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value) {
  if (FChecked == value) return;
  FChecked = value;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!value || !FParent) return;
  for (int i = 0; i < FParent->ControlCount(); ++i)
    if (auto* other = ObjectAs<TRadioButton>(FParent->Controls(i)); other && other != this)
      other->SetChecked(false);
}

void TRadioButton::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    if (HIWORD(Message.WParam) != BN_CLICKED) return;
    SetChecked(true);
    Click();
    return;
  }
  TButtonControl::WndProc(Message);
}

// ---- Combo boxes --------------------------------------------------------------------------------

namespace {
// The list's height below a drop-down combo box: the system takes it from the window's height.
constexpr int kDropDownHeight = 8 * 16 + 2;
}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 145;
  FHeight = 21;
  FColor = clWindow;
  TabStop = true;
}

TCustomComboBox::~TCustomComboBox() {
  // The window goes while the items it may still ask for exist.
  DestroyHandle();
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = "COMBOBOX";
  Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (FStyle) {
    case csDropDown:
      Params.Style |= CBS_DROPDOWN;
      break;
    case csSimple:
      Params.Style |= CBS_SIMPLE;
      break;
    case csDropDownList:
      Params.Style |= CBS_DROPDOWNLIST;
      break;
  }
  if (FStyle != csSimple) Params.Height += kDropDownHeight;
}

void TCustomComboBox::InitializeWnd() {
  SendStrings(FHandle, FItems, CB_INSERTSTRING);
  FIndex.Restore(FHandle);
}

void TCustomComboBox::DestroyWnd() {
  FIndex.Save(FHandle);
  TWinControl::DestroyWnd();
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (FStyle == value) return;
  FStyle = value;
  RecreateWnd();
}

void TCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case CBN_SELCHANGE:
          Click();
          [[fallthrough]];
        case CBN_EDITCHANGE:
          if (OnChange) OnChange(this);
      }
      return;
    case WM_SETTEXT:
      if (FStyle == csDropDownList && FHandle) {
        SetItemIndex(FItems.IndexOf(reinterpret_cast<const char*>(Message.LParam)));
        Message.Result = TRUE;
        return;
      }
      break;
  }
  TWinControl::WndProc(Message);
}

// ---- Form descriptions --------------------------------------------------------------------------

void RegisterStdCtrlsInput() {
  RegisterComponentClass<TMemo>();
  RegisterComponentClass<TCheckBox>();
  RegisterComponentClass<TRadioButton>();
  RegisterComponentClass<TComboBox>();
  Published<TCustomMemo>()
      .Object("Lines", [](TCustomMemo* m) -> TPersistent* { return &m->Lines(); })
      .Property("ScrollBars", &TCustomMemo::SetScrollBars,
                {{"ssNone", ssNone},
                 {"ssHorizontal", ssHorizontal},
                 {"ssVertical", ssVertical},
                 {"ssBoth", ssBoth}})
      .Property("WordWrap", &TCustomMemo::SetWordWrap);
  Published<TCustomCheckBox>()
      .Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
      .Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState,
                {{"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}})
      .Property("AllowGrayed", &TCustomCheckBox::AllowGrayed);
  Published<TRadioButton>().Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
  Published<TCustomComboBox>()
      .Property("Style", &TCustomComboBox::SetStyle,
                {{"csDropDown", csDropDown}, {"csSimple", csSimple}, {"csDropDownList", csDropDownList}})
      .Object("Items", [](TCustomComboBox* c) -> TPersistent* { return &c->Items(); })
      .Property("ItemIndex", &TCustomComboBox::SetItemIndex)
      .Event("OnChange", &TCustomComboBox::OnChange);
}
