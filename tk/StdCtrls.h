// Standard controls: push buttons, edits, labels, list boxes and group boxes, each (but the
// label) wrapping the system control of its kind under its own window class name.
#pragma once

#include <string>
#include <vector>

#include "tk/Controls.h"

class TButtonControl : public TWinControl {
 public:
  TK_CLASS(TButtonControl, TWinControl)
  explicit TButtonControl(TComponent* AOwner);

 protected:
  bool ClickOnMouseUp() const override { return false; }
};

class TButton : public TButtonControl {
 public:
  TK_CLASS(TButton, TButtonControl)
  explicit TButton(TComponent* AOwner);
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel = false;
  // Given to the form's ModalResult when the button is clicked.
  int ModalResult = 0;
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  bool FDefault = false;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
 public:
  TK_CLASS(TCustomEdit, TWinControl)
  explicit TCustomEdit(TComponent* AOwner);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  void SelectAll();
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  bool ClickOnMouseUp() const override { return false; }
  TEditCharCase FCharCase = ecNormal;
  int FMaxLength = 0;
  TBorderStyle FBorderStyle = bsSingle;
};

class TEdit : public TCustomEdit {
 public:
  TK_CLASS(TEdit, TCustomEdit)
  using TCustomEdit::TCustomEdit;
};

class TCustomLabel : public TGraphicControl {
 public:
  TK_CLASS(TCustomLabel, TGraphicControl)
  explicit TCustomLabel(TComponent* AOwner);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TAlignment Alignment = taLeftJustify;
  bool WordWrap = false;
  // Fits the label to its caption (AutoSize).
  void AdjustBounds();
  void Loaded() override;

 protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  UINT DrawFlags() const;
  bool FTransparent = false;
  bool FAutoSize = true;
};

class TLabel : public TCustomLabel {
 public:
  TK_CLASS(TLabel, TCustomLabel)
  using TCustomLabel::TCustomLabel;
};

class TCustomGroupBox : public TWinControl {
 public:
  TK_CLASS(TCustomGroupBox, TWinControl)
  explicit TCustomGroupBox(TComponent* AOwner);
  void AdjustClientRect(RECT& Rect) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
};

class TGroupBox : public TCustomGroupBox {
 public:
  TK_CLASS(TGroupBox, TCustomGroupBox)
  using TCustomGroupBox::TCustomGroupBox;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
// The state of an owner-drawn row.
using TOwnerDrawState = uint32_t;
enum : TOwnerDrawState { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8, odFocused = 16 };

class TCustomListBox;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, RECT Rect, TOwnerDrawState State)>;

// Strings a control keeps beside its window, so they survive the window: each change is handed to
// the control, which puts it into the window when there is one.
class TControlStrings : public TStrings {
 public:
  TK_CLASS(TControlStrings, TStrings)
  enum TChange { chInsert, chDelete, chClear };
  using TChangeEvent = std::function<void(TChange Change, int Index)>;
  explicit TControlStrings(TChangeEvent OnChange) : FOnChange(std::move(OnChange)) {}
  int Count() const override { return int(FItems.size()); }
  std::string Get(int Index) const override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

 private:
  void Check(int Index, int Limit) const;
  TChangeEvent FOnChange;
  std::vector<std::string> FItems;
};

// Puts a change of Strings into a list window through its insert, delete and reset messages.
void SendStringsChange(HWND Wnd, const TControlStrings& Strings, TControlStrings::TChange Change, int Index,
                       UINT InsertMsg, UINT DeleteMsg, UINT ResetMsg);
// Puts every string into a new list window through its insert message.
void SendStrings(HWND Wnd, const TControlStrings& Strings, UINT InsertMsg);

// The chosen item of a list-like window, read and set through its messages while it has a window
// and kept here while it has none, so that a new window gets it back.
class TKeptIndex {
 public:
  TKeptIndex(UINT GetMsg, UINT SetMsg) : FGetMsg(GetMsg), FSetMsg(SetMsg) {}
  int Get(HWND Wnd) const { return Wnd ? int(SendMessageA(Wnd, FGetMsg, 0, 0)) : FSaved; }
  void Set(HWND Wnd, int Value);
  // Before the window goes, and once the new one exists.
  void Save(HWND Wnd) { FSaved = Get(Wnd); }
  void Restore(HWND Wnd) const;

 private:
  UINT FGetMsg, FSetMsg;
  int FSaved = -1;
};

class TCustomListBox : public TWinControl {
 public:
  TK_CLASS(TCustomListBox, TWinControl)
  explicit TCustomListBox(TComponent* AOwner);
  TControlStrings& Items() { return FItems; }
  int ItemIndex() const { return FIndex.Get(FHandle); }
  void SetItemIndex(int value) { FIndex.Set(FHandle, value); }
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int value);
  ~TCustomListBox() override;
  TDrawItemEvent OnDrawItem;
  // Draws the row in OnDrawItem, on the context the system gave for it.
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  bool ClickOnMouseUp() const override { return false; }
  virtual void DrawItem(int Index, RECT Rect, TOwnerDrawState State);
  void CNDrawItem(TMessage& Message);
  TControlStrings FItems{[this](TControlStrings::TChange c, int i) {
    SendStringsChange(FHandle, FItems, c, i, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT);
  }};
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  TKeptIndex FIndex{LB_GETCURSEL, LB_SETCURSEL};
  std::unique_ptr<TCanvas> FCanvas;
};

class TListBox : public TCustomListBox {
 public:
  TK_CLASS(TListBox, TCustomListBox)
  using TCustomListBox::TCustomListBox;
};

// ---- Memos --------------------------------------------------------------------------------------

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo;

// A memo's lines: its text, split at line breaks.
class TMemoStrings : public TStrings {
 public:
  TK_CLASS(TMemoStrings, TStrings)
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  int Count() const override;
  std::string Get(int Index) const override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

 private:
  // The lines as they are now, changed by Change, written back.
  void Edit(const std::function<void(TStringList&)>& Change);
  TCustomMemo* FMemo;
};

// A multi-line edit.
class TCustomMemo : public TCustomEdit {
 public:
  TK_CLASS(TCustomMemo, TCustomEdit)
  explicit TCustomMemo(TComponent* AOwner);
  TMemoStrings& Lines() { return FLines; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  TMemoStrings FLines{this};
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
 public:
  TK_CLASS(TMemo, TCustomMemo)
  using TCustomMemo::TCustomMemo;
};

// ---- Check boxes and radio buttons ----------------------------------------------------------------

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// The check state is the control's: a click steps it (through grayed when AllowGrayed) and clicks.
class TCustomCheckBox : public TButtonControl {
 public:
  TK_CLASS(TCustomCheckBox, TButtonControl)
  explicit TCustomCheckBox(TComponent* AOwner);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  bool AllowGrayed = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
 public:
  TK_CLASS(TCheckBox, TCustomCheckBox)
  using TCustomCheckBox::TCustomCheckBox;
};

// Checking one radio button unchecks the others of its parent; a click checks it and clicks.
class TRadioButton : public TButtonControl {
 public:
  TK_CLASS(TRadioButton, TButtonControl)
  explicit TRadioButton(TComponent* AOwner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  bool FChecked = false;
};

// ---- Combo boxes ----------------------------------------------------------------------------------

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// Its items survive the window; a choice in the list or an edit of the text raises OnChange.
class TCustomComboBox : public TWinControl {
 public:
  TK_CLASS(TCustomComboBox, TWinControl)
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  TControlStrings& Items() { return FItems; }
  int ItemIndex() const { return FIndex.Get(FHandle); }
  void SetItemIndex(int value) { FIndex.Set(FHandle, value); }
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle value);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void DestroyWnd() override;
  // In a list-only combo box, setting the text chooses the item of that text.
  void WndProc(TMessage& Message) override;
  bool ClickOnMouseUp() const override { return false; }
  TControlStrings FItems{[this](TControlStrings::TChange c, int i) {
    SendStringsChange(FHandle, FItems, c, i, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT);
  }};
  TComboBoxStyle FStyle = csDropDown;
  TKeptIndex FIndex{CB_GETCURSEL, CB_SETCURSEL};
};

class TComboBox : public TCustomComboBox {
 public:
  TK_CLASS(TComboBox, TCustomComboBox)
  using TCustomComboBox::TCustomComboBox;
};

// Makes this unit's controls readable from form descriptions.
void RegisterStdCtrls();
// The input controls' part of it.
void RegisterStdCtrlsInput();

// ---- The scroll-bar control ----------------------------------------------------------------------

enum TScrollBarKind { sbHorizontal, sbVertical };

// A window that is itself a scroll bar. The position follows the scroll notifications its parent
// reflects to it; OnChange tells of every change of Position.
class TScrollBar : public TWinControl {
 public:
  TK_CLASS(TScrollBar, TWinControl)
  explicit TScrollBar(TComponent* AOwner);
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind value);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  int PageSize() const { return FPageSize; }
  void SetMin(int value) { SetParams(FPosition, value, FMax); }
  void SetMax(int value) { SetParams(FPosition, FMin, value); }
  void SetPosition(int value) { SetParams(value, FMin, FMax); }
  void SetPageSize(int value);
  // Position, Min and Max at once; the position is kept inside the range.
  void SetParams(int APosition, int AMin, int AMax);
  int SmallChange = 1;
  int LargeChange = 1;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  bool ClickOnMouseUp() const override { return false; }
  // The position a scroll code asks for.
  void CNScroll(TMessage& Message);
  void UpdateScrollInfo(UINT Mask);
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
};
