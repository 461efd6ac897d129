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

// The rows of a list box: kept here and in the window alike, so they survive the window.
class TListBoxStrings : public TStrings {
 public:
  TK_CLASS(TListBoxStrings, TStrings)
  explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
  int Count() const override { return int(FItems.size()); }
  std::string Get(int Index) const override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

 private:
  friend class TCustomListBox;
  void Check(int Index, int Limit) const;
  TCustomListBox* FListBox;
  std::vector<std::string> FItems;
};

class TCustomListBox : public TWinControl {
 public:
  TK_CLASS(TCustomListBox, TWinControl)
  explicit TCustomListBox(TComponent* AOwner);
  TListBoxStrings& Items() { return FItems; }
  int ItemIndex() const;
  void SetItemIndex(int value);
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
  friend class TListBoxStrings;
  TListBoxStrings FItems{this};
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  int FSavedIndex = -1;
  std::unique_ptr<TCanvas> FCanvas;
};

class TListBox : public TCustomListBox {
 public:
  TK_CLASS(TListBox, TCustomListBox)
  using TCustomListBox::TCustomListBox;
};

// Makes this unit's controls readable from form descriptions.
void RegisterStdCtrls();

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
