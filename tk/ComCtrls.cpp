#include "tk/ComCtrls.h"

#include "tk/FormReader.h"

#include <algorithm>

#include "tk/ImgList.h"
#include "tk/Menus.h"

// ---- Status bar ---------------------------------------------------------------------------------

void TStatusPanel::SetText(const std::string& value) {
  FText = value;
  FOwner->UpdatePanels();
}
void TStatusPanel::SetWidth(int value) {
  FWidth = value;
  FOwner->UpdatePanels();
}
void TStatusPanel::SetAlignment(TAlignment value) {
  FAlignment = value;
  FOwner->UpdatePanels();
}
void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  FBevel = value;
  FOwner->UpdatePanels();
}

TStatusPanel* TStatusPanels::Add() {
  FItems.push_back(std::make_unique<TStatusPanel>(FOwner));
  FOwner->UpdatePanels();
  return FItems.back().get();
}

void TStatusPanels::Clear() {
  FItems.clear();
  FOwner->UpdatePanels();
}

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 150;
  FHeight = 19;
  FAlign = alBottom;
}

void TStatusBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = STATUSCLASSNAMEA;
  // The toolkit places the bar itself (Align), not the system.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (FSizeGrip) Params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::InitializeWnd() { UpdatePanels(); }

void TStatusBar::SetSimplePanel(bool value) {
  FSimplePanel = value;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& value) {
  FSimpleText = value;
  UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool value) {
  if (FSizeGrip == value) return;
  FSizeGrip = value;
  RecreateWnd();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  if (FSimplePanel || FPanels.Count() == 0) {
    SendMessageA(FHandle, SB_SIMPLE, TRUE, 0);
    SendMessageA(FHandle, SB_SETTEXTA, 255, LPARAM(FSimpleText.c_str()));
    return;
  }
  SendMessageA(FHandle, SB_SIMPLE, FALSE, 0);
  std::vector<int> edges;
  int edge = 0;
  for (int i = 0; i < FPanels.Count(); ++i) {
    edge += FPanels.Items(i)->Width();
    edges.push_back(i == FPanels.Count() - 1 ? -1 : edge);
  }
  SendMessageA(FHandle, SB_SETPARTS, WPARAM(edges.size()), LPARAM(edges.data()));
  for (int i = 0; i < FPanels.Count(); ++i) {
    TStatusPanel* p = FPanels.Items(i);
    // The status bar centres text after one tab and right-aligns it after two.
    std::string text = (p->Alignment() == taCenter         ? "\t"
                        : p->Alignment() == taRightJustify ? "\t\t"
                                                           : "") +
                       p->Text();
    WPARAM flags = p->Bevel() == pbNone ? SBT_NOBORDERS : p->Bevel() == pbRaised ? SBT_POPOUT : 0;
    SendMessageA(FHandle, SB_SETTEXTA, WPARAM(i) | flags, LPARAM(text.c_str()));
  }
}

// ---- Page control -------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FVisible = false;
  FWidth = 200;
  FHeight = 150;
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) { SetParent(value); }

void TTabSheet::SetParent(TWinControl* AParent) {
  if (FPageControl && FPageControl != AParent) FPageControl->RemovePage(this);
  TWinControl::SetParent(AParent);
  auto* pc = ObjectAs<TPageControl>(AParent);
  if (pc && FPageControl != pc) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::TextChanged() {
  if (FPageControl) FPageControl->UpdateTab(this);
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 289;
  FHeight = 193;
  TabStop = true;
}

TPageControl::~TPageControl() {
  // The sheets are freed with the children after this part is gone: they must not call back.
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
}

void TPageControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = WC_TABCONTROLA;
  Params.Style |= WS_CLIPCHILDREN;
}

void SendTabText(HWND Wnd, UINT Msg, int Index, std::string Text) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = Text.data();
  SendMessageA(Wnd, Msg, WPARAM(Index), LPARAM(&item));
}

void TPageControl::SendTab(UINT Msg, int Index, TTabSheet* Page) {
  SendTabText(FHandle, Msg, Index, Page->Caption());
}

void TPageControl::InitializeWnd() {
  for (size_t i = 0; i < FPages.size(); ++i) SendTab(TCM_INSERTITEMA, int(i), FPages[i]);
  ShowActivePage();
}

void TPageControl::InsertPage(TTabSheet* Page) {
  Page->FPageControl = this;
  FPages.push_back(Page);
  if (HandleAllocated()) SendTab(TCM_INSERTITEMA, PageCount() - 1, Page);
  if (!FActivePage) FActivePage = Page;
  ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  if (HandleAllocated()) SendMessageA(FHandle, TCM_DELETEITEM, WPARAM(it - FPages.begin()), 0);
  FPages.erase(it);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) FActivePage = FPages.empty() ? nullptr : FPages.front();
  ShowActivePage();
}

void TPageControl::UpdateTab(TTabSheet* Page) {
  int i = Page->PageIndex();
  if (HandleAllocated() && i >= 0) SendTab(TCM_SETITEMA, i, Page);
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Index) {
  SetActivePage(Index >= 0 && Index < PageCount() ? FPages[size_t(Index)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  FActivePage = Page;
  ShowActivePage();
}

void TPageControl::AdjustClientRect(RECT& Rect) {
  if (HandleAllocated()) SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&Rect));
}

void TPageControl::ShowActivePage() {
  if (HandleAllocated()) SendMessageA(FHandle, TCM_SETCURSEL, WPARAM(ActivePageIndex()), 0);
  RECT r = ClientRect();
  AdjustClientRect(r);
  for (TTabSheet* p : FPages) {
    if (p == FActivePage) p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    p->SetVisible(p == FActivePage);
  }
  if (FActivePage) FActivePage->BringToFront();
}

void TPageControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
      if (hdr->code == TCN_SELCHANGE) {
        int i = int(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
        FActivePage = i >= 0 && i < PageCount() ? FPages[size_t(i)] : nullptr;
        ShowActivePage();
        if (OnChange) OnChange(this);
      }
      return;
    }
    case WM_SIZE:
      TWinControl::WndProc(Message);
      ShowActivePage();
      return;
  }
  TWinControl::WndProc(Message);
}

// ---- Tree view ----------------------------------------------------------------------------------

namespace {
TVITEMA NodeItem(HTREEITEM item, UINT mask) {
  TVITEMA tv{};
  tv.mask = mask | TVIF_HANDLE;
  tv.hItem = item;
  return tv;
}
}  // namespace

TCustomTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

std::string TTreeNode::Text() const {
  char buf[1024] = "";
  TVITEMA tv = NodeItem(FItem, TVIF_TEXT);
  tv.pszText = buf;
  tv.cchTextMax = sizeof buf;
  SendMessageA(FOwner->Handle(), TVM_GETITEMA, 0, LPARAM(&tv));
  return buf;
}

void TTreeNode::SetText(const std::string& value) {
  std::string text = value;
  TVITEMA tv = NodeItem(FItem, TVIF_TEXT);
  tv.pszText = text.data();
  SendMessageA(FOwner->Handle(), TVM_SETITEMA, 0, LPARAM(&tv));
}

void TTreeNode::SetImageIndex(int value) {
  FImageIndex = value;
  TVITEMA tv = NodeItem(FItem, TVIF_IMAGE);
  tv.iImage = value;
  SendMessageA(FOwner->Handle(), TVM_SETITEMA, 0, LPARAM(&tv));
}

void TTreeNode::SetSelectedIndex(int value) {
  FSelectedIndex = value;
  TVITEMA tv = NodeItem(FItem, TVIF_SELECTEDIMAGE);
  tv.iSelectedImage = value;
  SendMessageA(FOwner->Handle(), TVM_SETITEMA, 0, LPARAM(&tv));
}

TTreeNode* TTreeNode::Parent() const {
  return FOwner->NodeFromItem(TreeView_GetParent(FOwner->Handle(), FItem));
}

TTreeNode* TTreeNode::getFirstChild() const {
  return FOwner->NodeFromItem(TreeView_GetChild(FOwner->Handle(), FItem));
}

TTreeNode* TTreeNode::getNextSibling() const {
  return FOwner->NodeFromItem(TreeView_GetNextSibling(FOwner->Handle(), FItem));
}

int TTreeNode::Count() const {
  int n = 0;
  for (TTreeNode* c = getFirstChild(); c; c = c->getNextSibling()) ++n;
  return n;
}

TTreeNode* TTreeNode::Item(int Index) const {
  TTreeNode* c = getFirstChild();
  for (int i = 0; c && i < Index; ++i) c = c->getNextSibling();
  if (!c || Index < 0) throw EListError("Tree node index out of bounds (" + std::to_string(Index) + ")");
  return c;
}

int TTreeNode::Level() const {
  int n = 0;
  for (TTreeNode* p = Parent(); p; p = p->Parent()) ++n;
  return n;
}

int TTreeNode::Index() const {
  int n = 0;
  for (HTREEITEM i = TreeView_GetPrevSibling(FOwner->Handle(), FItem); i;
       i = TreeView_GetPrevSibling(FOwner->Handle(), i))
    ++n;
  return n;
}

bool TTreeNode::Expanded() const {
  return (TreeView_GetItemState(FOwner->Handle(), FItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand(bool Recurse) {
  TreeView_Expand(FOwner->Handle(), FItem, TVE_EXPAND);
  if (Recurse)
    for (TTreeNode* c = getFirstChild(); c; c = c->getNextSibling()) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  TreeView_Expand(FOwner->Handle(), FItem, TVE_COLLAPSE);
  if (Recurse)
    for (TTreeNode* c = getFirstChild(); c; c = c->getNextSibling()) c->Collapse(true);
}

bool TTreeNode::Selected() const { return TreeView_GetSelection(FOwner->Handle()) == FItem; }

void TTreeNode::Delete() { FOwner->Delete(this); }

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* n : FNodes) delete n;
}

HWND TTreeNodes::Handle() const { return FOwner->Handle(); }

TTreeNode* TTreeNodes::NodeFromItem(HTREEITEM Item) const {
  if (!Item) return nullptr;
  TVITEMA tv = NodeItem(Item, TVIF_PARAM);
  if (!SendMessageA(Handle(), TVM_GETITEMA, 0, LPARAM(&tv))) return nullptr;
  auto* node = reinterpret_cast<TTreeNode*>(tv.lParam);
  return FNodes.count(node) ? node : nullptr;
}

TTreeNode* TTreeNodes::Insert(HTREEITEM Parent, HTREEITEM After, const std::string& S, void* Data) {
  auto* node = new TTreeNode(this, nullptr);
  node->Data = Data;
  std::string text = S;
  TVINSERTSTRUCTA ins{};
  ins.hParent = Parent;
  ins.hInsertAfter = After;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = text.data();
  ins.item.lParam = LPARAM(node);
  ins.item.iImage = node->FImageIndex;
  ins.item.iSelectedImage = node->FSelectedIndex;
  FNodes.insert(node);
  node->FItem = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, LPARAM(&ins)));
  if (!node->FItem) {
    FNodes.erase(node);
    delete node;
    throw EOutOfResources("Cannot insert a tree node");
  }
  return node;
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Data) {
  return Insert(Parent ? Parent->FItem : TVI_ROOT, TVI_LAST, S, Data);
}
TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::string& S) {
  return AddChildObject(Parent, S, nullptr);
}
TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Data) {
  return AddChildObject(Sibling ? Sibling->Parent() : nullptr, S, Data);
}
TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::string& S) {
  return AddObject(Sibling, S, nullptr);
}

TTreeNode* TTreeNodes::GetFirstNode() const { return NodeFromItem(TreeView_GetRoot(Handle())); }

TTreeNode* TTreeNodes::Item(int Index) const {
  int i = 0;
  for (HTREEITEM it = TreeView_GetRoot(Handle()); it;) {
    if (i++ == Index) return NodeFromItem(it);
    // Tree order: first child, else next sibling, else the next sibling of the nearest ancestor.
    HTREEITEM next = TreeView_GetChild(Handle(), it);
    while (!next && it) {
      next = TreeView_GetNextSibling(Handle(), it);
      if (!next) it = TreeView_GetParent(Handle(), it);
    }
    it = next;
  }
  throw EListError("Tree node index out of bounds (" + std::to_string(Index) + ")");
}

void TTreeNodes::Clear() {
  if (FOwner->HandleAllocated()) SendMessageA(Handle(), TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (Node && FNodes.count(Node)) SendMessageA(Handle(), TVM_DELETEITEM, 0, LPARAM(Node->FItem));
}

void TTreeNodes::Forget(TTreeNode* Node) {
  if (FNodes.erase(Node)) delete Node;
}

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 121;
  FHeight = 97;
  FColor = clWindow;
  TabStop = true;
}

TCustomTreeView::~TCustomTreeView() {
  // The window goes while the nodes' owner is whole; the node objects go with it.
  SetState(csDestroying);
  DestroyHandle();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = WC_TREEVIEWA;
  Params.Style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;
  if (!FHideSelection) Params.Style |= TVS_SHOWSELALWAYS;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::DestroyWnd() {
  // The nodes outlive the window: their objects stay, and a new window gets them back. A window
  // that goes with its view or its form for good keeps nothing: each question about an item costs
  // the window a search of its items.
  FSaved.clear();
  bool going = false;
  for (TControl* c = this; c && !going; c = c->Parent()) going = (c->ComponentState() & csDestroying) != 0;
  if (!going) SaveNodes();
  FSaving = true;
  TWinControl::DestroyWnd();
}

void TCustomTreeView::SaveNodes() {
  // One walk in tree order, the ancestors of the current item on a stack.
  std::vector<std::pair<HTREEITEM, TTreeNode*>> ancestors;
  for (HTREEITEM item = TreeView_GetRoot(FHandle); item;) {
    char text[1024] = "";
    TVITEMA tv = NodeItem(item, TVIF_TEXT | TVIF_PARAM);
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(FHandle, TVM_GETITEMA, 0, LPARAM(&tv));
    auto* node = reinterpret_cast<TTreeNode*>(tv.lParam);
    FSaved.push_back({node, ancestors.empty() ? nullptr : ancestors.back().second, text});
    if (HTREEITEM child = TreeView_GetChild(FHandle, item)) {
      ancestors.push_back({item, node});
      item = child;
      continue;
    }
    item = TreeView_GetNextSibling(FHandle, item);
    while (!item && !ancestors.empty()) {
      item = TreeView_GetNextSibling(FHandle, ancestors.back().first);
      ancestors.pop_back();
    }
  }
}

void TCustomTreeView::InitializeWnd() {
  FSaving = false;
  for (TSavedNode& s : FSaved) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = s.Parent ? s.Parent->FItem : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = s.Text.data();
    ins.item.lParam = LPARAM(s.Node);
    ins.item.iImage = s.Node->FImageIndex;
    ins.item.iSelectedImage = s.Node->FSelectedIndex;
    s.Node->FItem = reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_INSERTITEMA, 0, LPARAM(&ins)));
  }
  FSaved.clear();
  SendMessageA(FHandle, TVM_SETINDENT, WPARAM(FIndent), 0);
  HIMAGELIST list = FImages ? FImages->Handle() : FImageList;
  if (list) SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(list));
  SendMessageA(FHandle, TVM_SETBKCOLOR, 0, LPARAM(ColorToCOLORREF(FColor)));
}

// Tree styles change in place: a new window would lose the nodes.
static void ChangeStyle(HWND wnd, int index, DWORD bit, bool on) {
  if (!wnd) return;
  DWORD style = DWORD(GetWindowLongA(wnd, index));
  SetWindowLongA(wnd, index, LONG(on ? style | bit : style & ~bit));
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomTreeView::SetHideSelection(bool value) {
  FHideSelection = value;
  ChangeStyle(FHandle, GWL_STYLE, TVS_SHOWSELALWAYS, !value);
}

void TCustomTreeView::SetReadOnly(bool value) {
  FReadOnly = value;
  ChangeStyle(FHandle, GWL_STYLE, TVS_EDITLABELS, !value);
}

void TCustomTreeView::SetBorderStyle(TBorderStyle value) {
  FBorderStyle = value;
  ChangeStyle(FHandle, GWL_EXSTYLE, WS_EX_CLIENTEDGE, value == bsSingle);
}

int TCustomTreeView::Indent() const {
  return FHandle ? int(SendMessageA(FHandle, TVM_GETINDENT, 0, 0)) : FIndent;
}

void TCustomTreeView::SetIndent(int value) {
  FIndent = value;
  if (FHandle) SendMessageA(FHandle, TVM_SETINDENT, WPARAM(value), 0);
}

void TCustomTreeView::SetImages(TImageList* value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = value;
  if (value) value->FreeNotification(this);
  if (FHandle)
    SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(value ? value->Handle() : FImageList));
}

void TCustomTreeView::SetImageListHandle(HIMAGELIST value) {
  FImageList = value;
  if (FHandle && !FImages) SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(value));
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (FHandle) SendMessageA(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(FImageList));
  }
}

TTreeNode* TCustomTreeView::Selected() const {
  return FHandle ? FItems.NodeFromItem(TreeView_GetSelection(FHandle)) : nullptr;
}

void TCustomTreeView::SetSelected(TTreeNode* Node) {
  TreeView_SelectItem(Handle(), Node ? Node->ItemId() : nullptr);
}

void TCustomTreeView::WndProc(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  TWinControl::WndProc(Message);
}

void TCustomTreeView::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  switch (hdr->code) {
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      if (!FSaving)
        FItems.Forget(reinterpret_cast<TTreeNode*>(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemOld.lParam));
      break;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      // A window on its way out moves its selection as it deletes the items: no change to report.
      if (OnChange && !FSaving)
        OnChange(this, FItems.NodeFromItem(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemNew.hItem));
      break;
    case NM_CLICK:
      Click();
      break;
  }
}

// ---- Tool bar -----------------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TControl(AOwner) {
  FWidth = 23;
  FHeight = 22;
}

TToolButton::~TToolButton() {
  if (FToolBar) FToolBar->RemoveButton(this);
  FParent = nullptr;
}

void TToolButton::SetParent(TWinControl* AParent) {
  auto* bar = ObjectAs<TToolBar>(AParent);
  if (!bar) {
    if (FToolBar) FToolBar->RemoveButton(this);
    TControl::SetParent(AParent);
    return;
  }
  if (bar == FToolBar) return;
  if (FParent && !FToolBar) TControl::SetParent(nullptr);
  if (FToolBar) FToolBar->RemoveButton(this);
  FParent = bar;
  bar->InsertButton(this);
}

void TToolButton::SetMenuItem(TMenuItem* Value) {
  FMenuItem = Value;
  if (Value) {
    Value->FreeNotification(this);
    SetCaption(Value->Caption());
  }
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenuItem) FMenuItem = nullptr;
}

void TToolButton::TextChanged() {
  if (FToolBar) FToolBar->UpdateButtons();
}

void TToolButton::Click() {
  if (FMenuItem && FMenuItem->Count() > 0 && FToolBar && FToolBar->HandleAllocated()) {
    POINT p{FLeft, FTop + FHeight};
    ClientToScreen(FToolBar->Handle(), &p);
    TrackItemMenu(FMenuItem, p.x, p.y);
    return;
  }
  if (OnClick)
    OnClick(this);
  else if (FMenuItem)
    FMenuItem->Click();
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  FWidth = 150;
  FHeight = 29;
  FAlign = alTop;
}

TToolBar::~TToolBar() {
  FMenuButtons.clear();
  for (TToolButton* b : std::vector<TToolButton*>(FButtons)) b->FToolBar = nullptr, b->FParent = nullptr;
  FButtons.clear();
}

void TToolBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = TOOLBARCLASSNAMEA;
  // The toolkit places the bar itself (Align), not the system.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_LIST;
  if (FFlat) Params.Style |= TBSTYLE_FLAT;
  if (FTransparent) Params.Style |= TBSTYLE_TRANSPARENT;
}

void TToolBar::InitializeWnd() {
  SendMessageA(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  UpdateButtons();
}

void TToolBar::UpdateStyle() {
  if (!FHandle) return;
  DWORD style = DWORD(SendMessageA(FHandle, TB_GETSTYLE, 0, 0)) & ~DWORD(TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
  if (FFlat) style |= TBSTYLE_FLAT;
  if (FTransparent) style |= TBSTYLE_TRANSPARENT;
  SendMessageA(FHandle, TB_SETSTYLE, 0, LPARAM(style));
  Invalidate();
}

void TToolBar::SetFlat(bool Value) {
  FFlat = Value;
  UpdateStyle();
}

void TToolBar::SetTransparent(bool Value) {
  FTransparent = Value;
  UpdateStyle();
}

void TToolBar::SetMenu(TMainMenu* Value) {
  FMenuButtons.clear();
  FMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    for (int i = 0; i < Value->Items()->Count(); ++i) {
      TMenuItem* item = Value->Items()->Items(i);
      if (!item->Visible()) continue;
      auto button = std::make_unique<TToolButton>(nullptr);
      button->SetMenuItem(item);
      button->SetParent(this);
      FMenuButtons.push_back(std::move(button));
    }
  }
  UpdateButtons();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenu) SetMenu(nullptr);
}

void TToolBar::InsertButton(TToolButton* Button) {
  Button->FToolBar = this;
  FButtons.push_back(Button);
  UpdateButtons();
}

void TToolBar::RemoveButton(TToolButton* Button) {
  FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), Button), FButtons.end());
  Button->FToolBar = nullptr;
  Button->FParent = nullptr;
  UpdateButtons();
}

void TToolBar::UpdateButtons() {
  if (!FHandle) return;
  while (SendMessageA(FHandle, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(FHandle, TB_DELETEBUTTON, 0, 0);
  std::vector<std::string> texts;
  for (TToolButton* b : FButtons) texts.push_back(b->Caption());
  std::vector<TBBUTTON> buttons(FButtons.size());
  for (size_t i = 0; i < buttons.size(); ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = int(i + 1);
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    buttons[i].iString = INT_PTR(texts[i].c_str());
  }
  if (!buttons.empty()) SendMessageA(FHandle, TB_ADDBUTTONSA, buttons.size(), LPARAM(buttons.data()));
  for (size_t i = 0; i < FButtons.size(); ++i) {
    RECT r{};
    SendMessageA(FHandle, TB_GETITEMRECT, i, LPARAM(&r));
    TToolButton* b = FButtons[i];
    b->FLeft = r.left, b->FTop = r.top, b->FWidth = r.right - r.left, b->FHeight = r.bottom - r.top;
  }
}

void TToolBar::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    const size_t index = LOWORD(Message.WParam) - 1u;
    if (index < FButtons.size()) FButtons[index]->Click();
    return;
  }
  if (Message.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(Message.LParam)->code == UINT(NM_CUSTOMDRAW)) {
    CustomDraw(Message);
    return;
  }
  TWinControl::WndProc(Message);
}

void TToolBar::CustomDraw(TMessage& Message) {
  auto* d = reinterpret_cast<NMTBCUSTOMDRAW*>(Message.LParam);
  Message.Result = CDRF_DODEFAULT;
  if (!OnCustomDrawButton) return;
  if (d->nmcd.dwDrawStage == CDDS_PREPAINT) {
    Message.Result = CDRF_NOTIFYITEMDRAW;
    return;
  }
  const size_t index = d->nmcd.dwItemSpec - 1u;
  if (d->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || index >= FButtons.size()) return;
  bool defaultDraw = true;
  FCanvas->Font()->Assign(Font());
  PaintOnCanvas(FCanvas.get(), d->nmcd.hdc, [&] {
    OnCustomDrawButton(this, FButtons[index], d->nmcd.uItemState, defaultDraw);
    d->clrText = ColorToCOLORREF(FCanvas->Font()->Color());
  });
  Message.Result = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
}

// ---- Form descriptions --------------------------------------------------------------------------

void RegisterComCtrls() {
  RegisterComCtrlsViews();
  RegisterComponentClass<TToolBar>();
  RegisterComponentClass<TToolButton>();
  Published<TToolBar>()
      .Property("Flat", &TToolBar::SetFlat)
      .Property("Transparent", &TToolBar::SetTransparent)
      .Reference("Menu", &TToolBar::SetMenu)
      .Event("OnCustomDrawButton", &TToolBar::OnCustomDrawButton);
  Published<TToolButton>().Reference("MenuItem", &TToolButton::SetMenuItem);
  static const TIdentMap borders = {{"bsNone", bsNone}, {"bsSingle", bsSingle}};
  RegisterComponentClass<TImageList>();
  Published<TImageList>()
      .Property("Width", &TImageList::SetWidth)
      .Property("Height", &TImageList::SetHeight)
      .Property("ShareImages", &TImageList::ShareImages);
  RegisterComponentClass<TStatusBar>();
  RegisterComponentClass<TPageControl>();
  RegisterComponentClass<TTabSheet>();
  RegisterComponentClass<TTreeView>();
  Published<TStatusBar>()
      .Property("SimplePanel", &TStatusBar::SetSimplePanel)
      .Property("SimpleText", &TStatusBar::SetSimpleText)
      .Property("SizeGrip", &TStatusBar::SetSizeGrip);
  Published<TPageControl>()
      .Reference("ActivePage", &TPageControl::SetActivePage)
      .Event("OnChange", &TPageControl::OnChange);
  Published<TTabSheet>().Reference("PageControl", &TTabSheet::SetPageControl);
  Published<TCustomTreeView>()
      .Property("HideSelection", &TCustomTreeView::SetHideSelection)
      .Property("ReadOnly", &TCustomTreeView::SetReadOnly)
      .Property("Indent", &TCustomTreeView::SetIndent)
      .Property("BorderStyle", &TCustomTreeView::SetBorderStyle, borders)
      .Reference("Images", &TCustomTreeView::SetImages)
      .Event("OnChange", &TCustomTreeView::OnChange);
}
