#include "tk/StdCtrls.h"

#include <algorithm>

#include "tk/FormReader.h"
#include "tk/Forms.h"

// ---- Buttons ------------------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) { TabStop = true; }

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  FWidth = 75;
  FHeight = 25;
}

void TButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.SysClassName = "BUTTON";
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (ModalResult != 0)
    if (TCustomForm* form = GetParentForm(this)) form->ModalResult = ModalResult;
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY: {
      // Return presses the focused button, or the default one when no button has the focus.
      TWinControl* focused = FindControl(GetFocus());
      bool buttonFocused = focused && focused->Is<TButton>();
      bool take = (Message.WParam == VK_RETURN && (Focused() || (FDefault && !buttonFocused))) ||
                  (Message.WParam == VK_ESCAPE && Cancel);
      if (take && CanFocus()) {
        Click();
        Message.Result = 1;
      }
      return;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(unsigned(Message.WParam), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
      }
      return;
  }
  TButtonControl::WndProc(Message);
}

// ---- Edits --------------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 121;
  FHeight = 21;
  FColor = clWindow;
  TabStop = true;
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = "EDIT";
  Params.Style |= ES_AUTOHSCROLL;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::InitializeWnd() { SendMessageA(FHandle, EM_LIMITTEXT, FMaxLength, 0); }

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (FCharCase == value) return;
  FCharCase = value;
  RecreateWnd();
  // What is there already takes the new case too, as the system does for new input.
  if (value != ecNormal) {
    std::string t = Text();
    for (char& c : t)
      c = char(value == ecLowerCase ? tolower(static_cast<unsigned char>(c))
                                    : toupper(static_cast<unsigned char>(c)));
    SetText(t);
  }
}

void TCustomEdit::SetMaxLength(int value) {
  FMaxLength = std::max(value, 0);
  if (HandleAllocated()) SendMessageA(FHandle, EM_LIMITTEXT, FMaxLength, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (FBorderStyle == value) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETSEL, 0, -1);
}

void TCustomEdit::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    if (HIWORD(Message.WParam) == EN_CHANGE && OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(Message);
}

// ---- Labels -------------------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 65;
  FHeight = 17;
  FParentColor = true;
}

UINT TCustomLabel::DrawFlags() const {
  UINT f = DT_EXPANDTABS;
  if (WordWrap) f |= DT_WORDBREAK;
  if (Alignment == taCenter) f |= DT_CENTER;
  if (Alignment == taRightJustify) f |= DT_RIGHT;
  return f;
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  RECT r{0, 0, FWidth, FHeight};
  if (!FTransparent) {
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  std::string text = FText;
  if (FEnabled) {
    DrawTextA(c->Handle(), text.c_str(), int(text.size()), &r, DrawFlags());
    return;
  }
  // The system's look of disabled text: a highlight copy one pixel down-right, then shadow.
  OffsetRect(&r, 1, 1);
  c->Font()->SetColor(clBtnHighlight);
  DrawTextA(c->Handle(), text.c_str(), int(text.size()), &r, DrawFlags());
  OffsetRect(&r, -1, -1);
  c->Font()->SetColor(clBtnShadow);
  DrawTextA(c->Handle(), text.c_str(), int(text.size()), &r, DrawFlags());
}

void TCustomLabel::SetTransparent(bool value) {
  FTransparent = value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || (ComponentState() & csLoading)) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  RECT r{0, 0, WordWrap ? FWidth : 0, 0};
  std::string text = FText.empty() ? " " : FText;
  DrawTextA(dc, text.c_str(), int(text.size()), &r, DrawFlags() | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int left = FLeft;
  if (Alignment == taRightJustify) left += FWidth - r.right;
  SetBounds(left, FTop, r.right, r.bottom);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

// ---- Group boxes --------------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 185;
  FHeight = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = "BUTTON";
  Params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TCustomGroupBox::AdjustClientRect(RECT& Rect) {
  // Inside the frame and below the caption line.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  InflateRect(&Rect, -1, -1);
  Rect.top += tm.tmHeight - 1;
}

void TCustomGroupBox::WndProc(TMessage& Message) {
  // The system's group box lets the mouse through to its parent; ours keeps it for its children.
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTCLIENT;
    return;
  }
  TWinControl::WndProc(Message);
}

// ---- List boxes ---------------------------------------------------------------------------------

void TControlStrings::Check(int Index, int Limit) const {
  if (Index < 0 || Index > Limit)
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

std::string TControlStrings::Get(int Index) const {
  Check(Index, Count() - 1);
  return FItems[size_t(Index)];
}

void TControlStrings::Insert(int Index, const std::string& S) {
  Check(Index, Count());
  FItems.insert(FItems.begin() + Index, S);
  FOnChange(chInsert, Index);
}

void TControlStrings::Delete(int Index) {
  Check(Index, Count() - 1);
  FItems.erase(FItems.begin() + Index);
  FOnChange(chDelete, Index);
}

void TControlStrings::Clear() {
  FItems.clear();
  FOnChange(chClear, -1);
}

void SendStringsChange(HWND Wnd, const TControlStrings& Strings, TControlStrings::TChange Change, int Index,
                       UINT InsertMsg, UINT DeleteMsg, UINT ResetMsg) {
  if (!Wnd) return;
  switch (Change) {
    case TControlStrings::chInsert:
      SendMessageA(Wnd, InsertMsg, WPARAM(Index), LPARAM(Strings.Strings(Index).c_str()));
      break;
    case TControlStrings::chDelete:
      SendMessageA(Wnd, DeleteMsg, WPARAM(Index), 0);
      break;
    case TControlStrings::chClear:
      SendMessageA(Wnd, ResetMsg, 0, 0);
      break;
  }
}

void SendStrings(HWND Wnd, const TControlStrings& Strings, UINT InsertMsg) {
  for (int i = 0; i < Strings.Count(); ++i)
    SendMessageA(Wnd, InsertMsg, WPARAM(i), LPARAM(Strings.Strings(i).c_str()));
}

void TKeptIndex::Set(HWND Wnd, int Value) {
  FSaved = Value;
  if (Wnd) SendMessageA(Wnd, FSetMsg, WPARAM(Value), 0);
}

void TKeptIndex::Restore(HWND Wnd) const {
  if (FSaved >= 0) SendMessageA(Wnd, FSetMsg, WPARAM(FSaved), 0);
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  FWidth = 121;
  FHeight = 97;
  FColor = clWindow;
  TabStop = true;
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = "LISTBOX";
  Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::InitializeWnd() {
  if (FStyle == lbOwnerDrawFixed) SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
  SendStrings(FHandle, FItems, LB_INSERTSTRING);
  FIndex.Restore(FHandle);
}

void TCustomListBox::DestroyWnd() {
  FIndex.Save(FHandle);
  TWinControl::DestroyWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
  if (FStyle == value) return;
  FStyle = value;
  RecreateWnd();
}

void TCustomListBox::SetItemHeight(int value) {
  FItemHeight = value;
  if (FHandle && FStyle == lbOwnerDrawFixed) {
    SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, value);
    InvalidateRect(FHandle, nullptr, TRUE);
  }
}

void TCustomListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == LBN_SELCHANGE) Click();
      return;
    case CN_DRAWITEM:
      CNDrawItem(Message);
      return;
  }
  TWinControl::WndProc(Message);
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  TOwnerDrawState state = 0;
  if (dis->itemState & ODS_SELECTED) state |= odSelected;
  if (dis->itemState & ODS_FOCUS) state |= odFocused;
  if (dis->itemState & ODS_DISABLED) state |= odDisabled;
  // The canvas is prepared for the row before the handler: highlight colours for the selected row.
  bool selected = (state & odSelected) != 0;
  FCanvas->SetFont(Font());
  FCanvas->Brush()->SetStyle(bsSolid);
  FCanvas->Brush()->SetColor(selected ? clHighlight : FColor);
  if (selected) FCanvas->Font()->SetColor(clHighlightText);
  PaintOnCanvas(FCanvas.get(), dis->hDC, [&] {
    if (int(dis->itemID) >= 0 && int(dis->itemID) < FItems.Count())
      DrawItem(int(dis->itemID), dis->rcItem, state);
    else
      FCanvas->FillRect(dis->rcItem);
    if (dis->itemState & ODS_FOCUS) FCanvas->DrawFocusRect(dis->rcItem);
  });
  Message.Result = TRUE;
}

void TCustomListBox::DrawItem(int Index, RECT Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  FCanvas->TextOut(Rect.left + 2, Rect.top, FItems.Strings(Index));
}

TCustomListBox::~TCustomListBox() {
  // The window goes while the rows and the canvas it may still ask for exist.
  DestroyHandle();
}

// ---- Form descriptions --------------------------------------------------------------------------

void RegisterStdCtrls() {
  RegisterStdCtrlsInput();
  static const TIdentMap borders = {{"bsNone", bsNone}, {"bsSingle", bsSingle}};
  static const TIdentMap alignments = {
      {"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}};
  RegisterComponentClass<TButton>();
  RegisterComponentClass<TEdit>();
  RegisterComponentClass<TLabel>();
  RegisterComponentClass<TGroupBox>();
  RegisterComponentClass<TListBox>();
  Published<TButton>()
      .Property("Default", &TButton::SetDefault)
      .Property("Cancel", &TButton::Cancel)
      .Property("ModalResult", &TButton::ModalResult, ModalResultIdents());
  Published<TCustomEdit>()
      .Property("CharCase", &TCustomEdit::SetCharCase,
                {{"ecNormal", ecNormal}, {"ecUpperCase", ecUpperCase}, {"ecLowerCase", ecLowerCase}})
      .Property("MaxLength", &TCustomEdit::SetMaxLength)
      .Property("BorderStyle", &TCustomEdit::SetBorderStyle, borders)
      .Event("OnChange", &TCustomEdit::OnChange);
  Published<TCustomLabel>()
      .Property("Transparent", &TCustomLabel::SetTransparent)
      .Property("AutoSize", &TCustomLabel::SetAutoSize)
      .Property("Alignment", &TCustomLabel::Alignment, alignments)
      .Property("WordWrap", &TCustomLabel::WordWrap);
  Published<TCustomListBox>()
      .Property("Style", &TCustomListBox::SetStyle,
                {{"lbStandard", lbStandard}, {"lbOwnerDrawFixed", lbOwnerDrawFixed}})
      .Property("ItemHeight", &TCustomListBox::SetItemHeight)
      .Object("Items", [](TCustomListBox* l) -> TPersistent* { return &l->Items(); })
      .Event("OnDrawItem", &TCustomListBox::OnDrawItem);
}
