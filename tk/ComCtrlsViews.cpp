// The progress bar, list view and tab control of ComCtrls: the system controls under their own
// class names, keeping what they show so it survives their windows.
#include <algorithm>

#include "tk/ComCtrls.h"
#include "tk/FormReader.h"

// ---- Progress bar -------------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 150;
  FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = PROGRESS_CLASSA;
}

void TProgressBar::InitializeWnd() { UpdateRange(); }

void TProgressBar::UpdateRange() {
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
  SendMessageA(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

void TProgressBar::SetMin(int value) {
  FMin = value;
  FMax = std::max(FMax, value);
  FPosition = std::clamp(FPosition, FMin, FMax);
  UpdateRange();
}

void TProgressBar::SetMax(int value) {
  FMax = value;
  FMin = std::min(FMin, value);
  FPosition = std::clamp(FPosition, FMin, FMax);
  UpdateRange();
}

void TProgressBar::SetPosition(int value) {
  FPosition = std::clamp(value, FMin, FMax);
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

// ---- List view ----------------------------------------------------------------------------------

void TListColumn::SetCaption(const std::string& value) {
  FCaption = value;
  FOwner->SendColumn(LVM_SETCOLUMNA, Index());
}

void TListColumn::SetWidth(int value) {
  FWidth = value;
  FOwner->SendColumn(LVM_SETCOLUMNA, Index());
}

int TListColumn::Index() const {
  const auto& all = FOwner->FColumns.FItems;
  auto it = std::find_if(all.begin(), all.end(), [this](const auto& c) { return c.get() == this; });
  return int(it - all.begin());
}

TListColumn* TListColumns::Add() {
  FItems.push_back(std::make_unique<TListColumn>(FOwner));
  FOwner->SendColumn(LVM_INSERTCOLUMNA, Count() - 1);
  return FItems.back().get();
}

void TListColumns::Clear() {
  if (FOwner->HandleAllocated())
    for (int i = Count() - 1; i >= 0; --i) SendMessageA(FOwner->Handle(), LVM_DELETECOLUMN, WPARAM(i), 0);
  FItems.clear();
}

void TListItem::SetCaption(const std::string& value) {
  FCaption = value;
  Changed();
}

void TListItem::Changed() { FOwner->FOwner->SendItem(Index(), false); }

int TListItem::Index() const {
  const auto& all = FOwner->FItems;
  auto it = std::find_if(all.begin(), all.end(), [this](const auto& i) { return i.get() == this; });
  return int(it - all.begin());
}

TListItem* TListItems::Add() {
  FItems.push_back(std::make_unique<TListItem>(this));
  FOwner->SendItem(Count() - 1, true);
  return FItems.back().get();
}

void TListItems::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FItems.erase(FItems.begin() + Index);
  if (FOwner->HandleAllocated()) SendMessageA(FOwner->Handle(), LVM_DELETEITEM, WPARAM(Index), 0);
}

void TListItems::Clear() {
  FItems.clear();
  if (FOwner->HandleAllocated()) SendMessageA(FOwner->Handle(), LVM_DELETEALLITEMS, 0, 0);
}

TCustomListView::TCustomListView(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 250;
  FHeight = 150;
  FColor = clWindow;
  TabStop = true;
}

TCustomListView::~TCustomListView() {
  // The window goes while the rows it may still ask for exist.
  DestroyHandle();
}

void TCustomListView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = WC_LISTVIEWA;
  static const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  Params.Style |= styles[FViewStyle] | LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::InitializeWnd() {
  for (int i = 0; i < FColumns.Count(); ++i) SendColumn(LVM_INSERTCOLUMNA, i);
  for (int i = 0; i < FItems.Count(); ++i) SendItem(i, true);
}

void TCustomListView::SetViewStyle(TViewStyle value) {
  if (FViewStyle == value) return;
  FViewStyle = value;
  RecreateWnd();
}

void TCustomListView::SendColumn(UINT Msg, int Index) {
  if (!HandleAllocated()) return;
  TListColumn* c = FColumns.Items(Index);
  std::string text = c->Caption();
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = text.data();
  column.cx = c->Width();
  SendMessageA(FHandle, Msg, WPARAM(Index), LPARAM(&column));
}

void TCustomListView::SendItem(int Index, bool Insert) {
  if (!HandleAllocated()) return;
  TListItem* row = FItems.Item(Index);
  // The caption, then a text for every further column: the sub-item, or empty past the last one.
  const int texts = std::max(FColumns.Count(), row->SubItems().Count() + 1);
  for (int k = 0; k < texts; ++k) {
    std::string text = k == 0                            ? row->Caption()
                       : k - 1 < row->SubItems().Count() ? row->SubItems().Strings(k - 1)
                                                         : "";
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = Index;
    item.iSubItem = k;
    item.pszText = text.data();
    SendMessageA(FHandle, k == 0 && Insert ? LVM_INSERTITEMA : LVM_SETITEMA, 0, LPARAM(&item));
  }
}

// ---- Tab control --------------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 289;
  FHeight = 193;
  TabStop = true;
}

TCustomTabControl::~TCustomTabControl() {
  // The window goes while the tabs it may still ask for exist.
  DestroyHandle();
}

void TCustomTabControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = WC_TABCONTROLA;
  Params.Style |= WS_CLIPCHILDREN;
  // Tabs on a side need several rows.
  switch (FTabPosition) {
    case TTabPosition::tpTop:
      break;
    case TTabPosition::tpBottom:
      Params.Style |= TCS_BOTTOM;
      break;
    case TTabPosition::tpLeft:
      Params.Style |= TCS_VERTICAL | TCS_MULTILINE;
      break;
    case TTabPosition::tpRight:
      Params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
      break;
  }
}

void TCustomTabControl::InitializeWnd() {
  for (int i = 0; i < FTabs.Count(); ++i) SendTabText(FHandle, TCM_INSERTITEMA, i, FTabs.Strings(i));
  FIndex.Restore(FHandle);
}

void TCustomTabControl::DestroyWnd() {
  FIndex.Save(FHandle);
  TWinControl::DestroyWnd();
}

void TCustomTabControl::TabsChanged(TControlStrings::TChange Change, int Index) {
  if (!HandleAllocated()) return;
  switch (Change) {
    case TControlStrings::chInsert:
      SendTabText(FHandle, TCM_INSERTITEMA, Index, FTabs.Strings(Index));
      break;
    case TControlStrings::chDelete:
      SendMessageA(FHandle, TCM_DELETEITEM, WPARAM(Index), 0);
      break;
    case TControlStrings::chClear:
      SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
      break;
  }
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
  if (FTabPosition == value) return;
  FTabPosition = value;
  RecreateWnd();
}

void TCustomTabControl::AdjustClientRect(RECT& Rect) {
  if (HandleAllocated()) SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&Rect));
}

void TCustomTabControl::WndProc(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    if (reinterpret_cast<NMHDR*>(Message.LParam)->code == UINT(TCN_SELCHANGE) && OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(Message);
}

// ---- Form descriptions --------------------------------------------------------------------------

void RegisterComCtrlsViews() {
  RegisterComponentClass<TProgressBar>();
  RegisterComponentClass<TListView>();
  RegisterComponentClass<TTabControl>();
  Published<TProgressBar>()
      .Property("Min", &TProgressBar::SetMin)
      .Property("Max", &TProgressBar::SetMax)
      .Property("Position", &TProgressBar::SetPosition);
  Published<TListColumn>()
      .Property("Caption", &TListColumn::SetCaption)
      .Property("Width", &TListColumn::SetWidth);
  Published<TCustomListView>()
      .Property(
          "ViewStyle", &TCustomListView::SetViewStyle,
          {{"vsIcon", vsIcon}, {"vsSmallIcon", vsSmallIcon}, {"vsList", vsList}, {"vsReport", vsReport}})
      .Collection(
          "Columns", [](TCustomListView* v) { v->Columns().Clear(); },
          [](TCustomListView* v) -> TPersistent* { return v->Columns().Add(); });
  Published<TCustomTabControl>()
      .Object("Tabs", [](TCustomTabControl* t) -> TPersistent* { return &t->Tabs(); })
      .Property("TabIndex", &TCustomTabControl::SetTabIndex)
      .Property("TabPosition", &TCustomTabControl::SetTabPosition,
                {{"tpTop", int(TTabPosition::tpTop)},
                 {"tpBottom", int(TTabPosition::tpBottom)},
                 {"tpLeft", int(TTabPosition::tpLeft)},
                 {"tpRight", int(TTabPosition::tpRight)}})
      .Event("OnChange", &TCustomTabControl::OnChange);
}
