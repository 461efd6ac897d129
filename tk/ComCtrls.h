// Common controls: status bar, page control with its sheets, tree view.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tk/Controls.h"
#include "tk/StdCtrls.h"

class TImageList;

// ---- Status bar ---------------------------------------------------------------------------------

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class TStatusBar;

class TStatusPanel {
 public:
  explicit TStatusPanel(TStatusBar* Owner) : FOwner(Owner) {}
  const std::string& Text() const { return FText; }
  void SetText(const std::string& value);
  int Width() const { return FWidth; }
  void SetWidth(int value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel value);
  // Read by painters that mirror a right-to-left panel's alignment.
  TBiDiMode BiDiMode = bdLeftToRight;

 private:
  TStatusBar* FOwner;
  std::string FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
};

class TStatusPanels {
 public:
  explicit TStatusPanels(TStatusBar* Owner) : FOwner(Owner) {}
  int Count() const { return int(FItems.size()); }
  TStatusPanel* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
  TStatusPanel* Add();
  void Clear();

 private:
  TStatusBar* FOwner;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

class TStatusBar : public TWinControl {
 public:
  TK_CLASS(TStatusBar, TWinControl)
  explicit TStatusBar(TComponent* AOwner);
  TStatusPanels& Panels() { return FPanels; }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool value);
  // Puts the panels' widths, texts and bevels into the window.
  void UpdatePanels();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  bool ClickOnMouseUp() const override { return false; }
  TStatusPanels FPanels{this};
  bool FSimplePanel = false;
  std::string FSimpleText;
  bool FSizeGrip = true;
};

// ---- Page control -------------------------------------------------------------------------------

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  TK_CLASS(TTabSheet, TWinControl)
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* value);
  void SetParent(TWinControl* AParent) override;
  int PageIndex() const;

 protected:
  void TextChanged() override;
  bool ClickOnMouseUp() const override { return false; }
  TPageControl* FPageControl = nullptr;
  friend class TPageControl;
};

class TPageControl : public TWinControl {
 public:
  TK_CLASS(TPageControl, TWinControl)
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int Index) const { return FPages.at(size_t(Index)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Index);
  TNotifyEvent OnChange;
  void AdjustClientRect(RECT& Rect) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  bool ClickOnMouseUp() const override { return false; }
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void UpdateTab(TTabSheet* Page);
  // Inserts or updates (Msg) the tab at Index with Page's caption.
  void SendTab(UINT Msg, int Index, TTabSheet* Page);
  void ShowActivePage();
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  friend class TTabSheet;
};

// ---- Tree view ----------------------------------------------------------------------------------

class TTreeNodes;
class TCustomTreeView;

class TTreeNode {
 public:
  TTreeNode(TTreeNodes* Owner, HTREEITEM Item) : FOwner(Owner), FItem(Item) {}
  HTREEITEM ItemId() const { return FItem; }
  std::string Text() const;
  void SetText(const std::string& value);
  void* Data = nullptr;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int value);
  TTreeNode* Parent() const;
  int Count() const;
  TTreeNode* Item(int Index) const;
  TTreeNode* getFirstChild() const;
  TTreeNode* getNextSibling() const;
  bool HasChildren() const { return getFirstChild() != nullptr; }
  int Level() const;
  int Index() const;
  bool Expanded() const;
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool Selected() const;
  // Removes the node and its children from the tree; the objects are freed.
  void Delete();
  TCustomTreeView* TreeView() const;

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  TTreeNodes* FOwner;
  HTREEITEM FItem;
  // As the class library starts its nodes: image 0, so a row shows its first image at once.
  int FImageIndex = 0, FSelectedIndex = 0;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TCustomTreeView* Owner) : FOwner(Owner) {}
  ~TTreeNodes();
  TCustomTreeView* Owner() const { return FOwner; }
  int Count() const { return int(FNodes.size()); }
  // A node at the end of Parent's children (a top-level node when Parent is nullptr).
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Data);
  // A node after the last sibling of Sibling (a top-level node when Sibling is nullptr).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Data);
  TTreeNode* GetFirstNode() const;
  // Every node in tree order (the first top-level node, its children, ...).
  TTreeNode* Item(int Index) const;
  void Clear();
  void Delete(TTreeNode* Node);
  TTreeNode* NodeFromItem(HTREEITEM Item) const;

 private:
  friend class TCustomTreeView;
  friend class TTreeNode;
  HWND Handle() const;
  TTreeNode* Insert(HTREEITEM Parent, HTREEITEM After, const std::string& S, void* Data);
  void Forget(TTreeNode* Node);
  TCustomTreeView* FOwner;
  std::set<TTreeNode*> FNodes;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

class TCustomTreeView : public TWinControl {
 public:
  TK_CLASS(TCustomTreeView, TWinControl)
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  TTreeNodes& Items() { return FItems; }
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* Node);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  int Indent() const;
  void SetIndent(int value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  // The image list the nodes' images come from (not owned).
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* value);
  // A plain system image list, for who has no TImageList (not owned).
  void SetImageListHandle(HIMAGELIST value);
  TTVChangedEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool ClickOnMouseUp() const override { return false; }
  // Keeps every node, in tree order with its parent and text, for the next window.
  void SaveNodes();
  void CNNotify(TMessage& Message);
  TTreeNodes FItems{this};
  bool FHideSelection = true, FReadOnly = false;
  int FIndent = 19;
  TBorderStyle FBorderStyle = bsSingle;
  TImageList* FImages = nullptr;
  HIMAGELIST FImageList = nullptr;
  // The nodes, in tree order with their parents and texts, while the window is made anew.
  struct TSavedNode {
    TTreeNode* Node;
    TTreeNode* Parent;
    std::string Text;
  };
  std::vector<TSavedNode> FSaved;
  bool FSaving = false;
};

class TTreeView : public TCustomTreeView {
 public:
  TK_CLASS(TTreeView, TCustomTreeView)
  using TCustomTreeView::TCustomTreeView;
};

// Inserts (TCM_INSERTITEMA) or changes (TCM_SETITEMA) the caption of a tab control's tab Index.
void SendTabText(HWND Wnd, UINT Msg, int Index, std::string Text);

// ---- Progress bar -------------------------------------------------------------------------------

class TProgressBar : public TWinControl {
 public:
  TK_CLASS(TProgressBar, TWinControl)
  explicit TProgressBar(TComponent* AOwner);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  void SetMin(int value);
  void SetMax(int value);
  // Kept inside the range.
  void SetPosition(int value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  bool ClickOnMouseUp() const override { return false; }
  void UpdateRange();
  int FMin = 0, FMax = 100, FPosition = 0;
};

// ---- List view ----------------------------------------------------------------------------------

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TCustomListView;

// A column of a report-style list view: its header section.
class TListColumn : public TPersistent {
 public:
  TK_CLASS(TListColumn, TPersistent)
  explicit TListColumn(TCustomListView* Owner) : FOwner(Owner) {}
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  int Width() const { return FWidth; }
  void SetWidth(int value);
  int Index() const;

 private:
  TCustomListView* FOwner;
  std::string FCaption;
  int FWidth = 50;
};

class TListColumns {
 public:
  explicit TListColumns(TCustomListView* Owner) : FOwner(Owner) {}
  int Count() const { return int(FItems.size()); }
  TListColumn* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
  TListColumn* Add();
  void Clear();

 private:
  friend class TListColumn;
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListColumn>> FItems;
};

class TListItems;

// A row: its caption in the first column, its sub-items in the next ones.
class TListItem {
 public:
  explicit TListItem(TListItems* Owner) : FOwner(Owner) {}
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  TControlStrings& SubItems() { return FSubItems; }
  int Index() const;

 private:
  void Changed();
  TListItems* FOwner;
  std::string FCaption;
  TControlStrings FSubItems{[this](TControlStrings::TChange, int) { Changed(); }};
};

class TListItems {
 public:
  explicit TListItems(TCustomListView* Owner) : FOwner(Owner) {}
  int Count() const { return int(FItems.size()); }
  TListItem* Item(int Index) const { return FItems.at(size_t(Index)).get(); }
  TListItem* Add();
  void Delete(int Index);
  void Clear();

 private:
  friend class TListItem;
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
};

// The system list view; its columns and rows survive the window.
class TCustomListView : public TWinControl {
 public:
  TK_CLASS(TCustomListView, TWinControl)
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle value);
  TListColumns& Columns() { return FColumns; }
  TListItems& Items() { return FItems; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  bool ClickOnMouseUp() const override { return false; }
  // What changed in the columns or rows, put into the window when there is one.
  void SendColumn(UINT Msg, int Index);
  void SendItem(int Index, bool Insert);
  friend class TListColumn;
  friend class TListColumns;
  friend class TListItem;
  friend class TListItems;
  TViewStyle FViewStyle = vsIcon;
  TListColumns FColumns{this};
  TListItems FItems{this};
};

class TListView : public TCustomListView {
 public:
  TK_CLASS(TListView, TCustomListView)
  using TCustomListView::TCustomListView;
};

// ---- Tab control --------------------------------------------------------------------------------

// Scoped: the skin's own tests name their pictures tpTop and so on.
enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

// Tabs without pages: choosing a tab changes TabIndex and raises OnChange.
class TCustomTabControl : public TWinControl {
 public:
  TK_CLASS(TCustomTabControl, TWinControl)
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;
  TControlStrings& Tabs() { return FTabs; }
  int TabIndex() const { return FIndex.Get(FHandle); }
  void SetTabIndex(int value) { FIndex.Set(FHandle, value); }
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition value);
  TNotifyEvent OnChange;
  void AdjustClientRect(RECT& Rect) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  bool ClickOnMouseUp() const override { return false; }
  void TabsChanged(TControlStrings::TChange Change, int Index);
  TControlStrings FTabs{[this](TControlStrings::TChange c, int i) { TabsChanged(c, i); }};
  TTabPosition FTabPosition = TTabPosition::tpTop;
  TKeptIndex FIndex{TCM_GETCURSEL, TCM_SETCURSEL};
};

class TTabControl : public TCustomTabControl {
 public:
  TK_CLASS(TTabControl, TCustomTabControl)
  using TCustomTabControl::TCustomTabControl;
};

// ---- Tool bar -----------------------------------------------------------------------------------

class TMainMenu;
class TMenuItem;
class TToolBar;

// The states of an item being custom-drawn: the system's CDIS_ bits.
using TCustomDrawState = UINT;
enum : TCustomDrawState {
  cdsSelected = CDIS_SELECTED,
  cdsGrayed = CDIS_GRAYED,
  cdsDisabled = CDIS_DISABLED,
  cdsChecked = CDIS_CHECKED,
  cdsFocused = CDIS_FOCUS,
  cdsDefault = CDIS_DEFAULT,
  cdsHot = CDIS_HOT,
};

// One button of a tool bar: drawn by the tool bar's window, not a window of its own. A button that
// carries a menu item shows that item's sub-items when pressed, or runs its click.
class TToolButton : public TControl {
 public:
  TK_CLASS(TToolButton, TControl)
  explicit TToolButton(TComponent* AOwner);
  ~TToolButton() override;
  // In a tool bar the button joins its buttons; its bounds follow the tool bar's layout.
  void SetParent(TWinControl* AParent) override;
  TMenuItem* MenuItem() const { return FMenuItem; }
  void SetMenuItem(TMenuItem* Value);
  void Click() override;

 protected:
  void TextChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TToolBar;
  TToolBar* FToolBar = nullptr;
  TMenuItem* FMenuItem = nullptr;
};

using TTBCustomDrawBtnEvent =
    std::function<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw)>;

class TToolBar : public TWinControl {
 public:
  TK_CLASS(TToolBar, TWinControl)
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // A menu shown as one button per top-level item (not owned).
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  int ButtonCount() const { return int(FButtons.size()); }
  TToolButton* Buttons(int Index) const { return FButtons.at(size_t(Index)); }
  // Bound to the device context while OnCustomDrawButton runs; its font colour is the text's.
  TCanvas* Canvas() const { return FCanvas.get(); }
  TTBCustomDrawBtnEvent OnCustomDrawButton;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void InitializeWnd() override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool ClickOnMouseUp() const override { return false; }

 private:
  friend class TToolButton;
  void InsertButton(TToolButton* Button);
  void RemoveButton(TToolButton* Button);
  // Puts the buttons into the window again and reads back where each one is.
  void UpdateButtons();
  void UpdateStyle();
  void CustomDraw(TMessage& Message);
  std::vector<TToolButton*> FButtons;
  std::vector<std::unique_ptr<TToolButton>> FMenuButtons;  // made for the menu's items
  std::unique_ptr<TCanvas> FCanvas;
  TMainMenu* FMenu = nullptr;
  bool FFlat = false, FTransparent = false;
};

// The list view, tab control and progress bar's part of RegisterComCtrls.
void RegisterComCtrlsViews();

// Makes this unit's classes readable from form descriptions.
void RegisterComCtrls();
