// Common controls: status bar, page control with its sheets, tree view.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tk/Controls.h"

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

// Makes this unit's classes readable from form descriptions.
void RegisterComCtrls();
