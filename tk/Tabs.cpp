#include "tk/Tabs.h"

#include <commctrl.h>

#include <algorithm>

#include "tk/FormReader.h"

namespace {
// The scroll buttons sit in this much room before the end margin, which a tab then leaves them.
constexpr int kScrollerWidth = 12;
// A tab is its caption's width and this much more.
constexpr int kTabPadding = 9;
}  // namespace

bool TabSetTabFits(int X, int TabWidth, int Limit, bool ScrollerShown) {
  return X + (ScrollerShown ? kScrollerWidth : 0) + TabWidth <= Limit;
}

// ---- Scroll buttons -----------------------------------------------------------------------------

TTabScroller::TTabScroller(TTabSet* TabSet) : TWinControl(TabSet), FTabSet(TabSet) {
  FWidth = kScrollerWidth;
  FHeight = 18;
  FVisible = false;
}

void TTabScroller::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SysClassName = UPDOWN_CLASSA;
  Params.Style |= UDS_HORZ;
}

void TTabScroller::InitializeWnd() { SetRange(FCount, FPosition); }

void TTabScroller::SetRange(int Count, int Position) {
  FCount = Count;
  FPosition = Position;
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, UDM_SETRANGE32, 0, std::max(Count - 1, 0));
  SendMessageA(FHandle, UDM_SETPOS32, 0, Position);
}

void TTabScroller::WndProc(TMessage& Message) {
  // The up-down tells its parent, which passes it back here.
  if (Message.Msg == CN_HSCROLL) {
    if (LOWORD(Message.WParam) == SB_THUMBPOSITION) FTabSet->SetFirstIndex(short(HIWORD(Message.WParam)));
    return;
  }
  TWinControl::WndProc(Message);
}

// ---- Tab set ------------------------------------------------------------------------------------

TTabSet::TTabSet(TComponent* AOwner) : TCustomControl(AOwner) {
  FWidth = 185;
  FHeight = 21;
  FScroller = new TTabScroller(this);
  FScroller->SetParent(this);
}

TTabSet::~TTabSet() = default;

std::vector<TTabSet::TTabPlace> TTabSet::Layout(HDC DC, int Width, int Height, bool ScrollerShown) {
  std::vector<TTabPlace> shown;
  const int limit = Width - FEndMargin;
  int x = FStartMargin;
  for (int i = std::max(FFirstIndex, 0); i < FTabs.Count(); ++i) {
    const std::string caption = FTabs.Strings(i);
    SIZE size{};
    GetTextExtentPoint32A(DC, caption.c_str(), int(caption.size()), &size);
    const int w = size.cx + kTabPadding;
    // A narrower tab after one that does not fit may still fit.
    if (!TabSetTabFits(x, w, limit, ScrollerShown)) continue;
    shown.push_back({i, RECT{x, 0, x + w, Height}});
    x += w;
  }
  return shown;
}

std::vector<TTabSet::TTabPlace> TTabSet::Places(bool ScrollerShown) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  std::vector<TTabPlace> shown = Layout(dc, FWidth, FHeight, ScrollerShown);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return shown;
}

std::vector<TTabSet::TTabPlace> TTabSet::VisibleTabs() { return Places(FScroller->Visible()); }

void TTabSet::UpdateScroller() {
  const bool allFit = int(Places(false).size()) == FTabs.Count() - FFirstIndex;
  FScroller->SetRange(FTabs.Count(), FFirstIndex);
  FScroller->SetBounds(FWidth - FEndMargin - kScrollerWidth, 0, kScrollerWidth, std::min(FHeight, 18));
  FScroller->SetVisible(FFirstIndex > 0 || !allFit);
  Invalidate();
}

void TTabSet::TabsChanged() {
  FFirstIndex = std::clamp(FFirstIndex, 0, std::max(FTabs.Count() - 1, 0));
  if (FTabIndex >= FTabs.Count()) FTabIndex = -1;
  UpdateScroller();
}

void TTabSet::SetTabIndex(int value) {
  FTabIndex = value >= 0 && value < FTabs.Count() ? value : -1;
  const auto shown = VisibleTabs();
  if (FTabIndex >= 0 &&
      std::none_of(shown.begin(), shown.end(), [this](const TTabPlace& t) { return t.Index == FTabIndex; }))
    SetFirstIndex(FTabIndex);
  Invalidate();
}

void TTabSet::SetFirstIndex(int value) {
  FFirstIndex = std::clamp(value, 0, std::max(FTabs.Count() - 1, 0));
  UpdateScroller();
}

void TTabSet::SetStartMargin(int value) {
  FStartMargin = value;
  UpdateScroller();
}

void TTabSet::SetEndMargin(int value) {
  FEndMargin = value;
  UpdateScroller();
}

void TTabSet::FontChanged() {
  TCustomControl::FontChanged();
  UpdateScroller();
}

int TTabSet::ItemAtPos(POINT P) {
  for (const TTabPlace& t : VisibleTabs())
    if (PtInRect(&t.Rect, P)) return t.Index;
  return -1;
}

void TTabSet::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (Message.Msg == WM_SIZE) UpdateScroller();
}

void TTabSet::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int i = ItemAtPos(POINT{X, Y});
  if (i < 0 || i == FTabIndex) return;
  SetTabIndex(i);
  if (OnChange) OnChange(this);
}

void TTabSet::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(FColor);
  c->FillRect(RECT{0, 0, FWidth, FHeight});
  // The edge the tabs hang from; the selected tab joins the face above it.
  c->Pen()->SetColor(clWindowFrame);
  c->MoveTo(0, 0);
  c->LineTo(FWidth, 0);
  SetBkMode(c->Handle(), TRANSPARENT);
  for (const TTabPlace& t : VisibleTabs()) {
    RECT r = t.Rect;
    r.bottom -= 2;
    const bool selected = t.Index == FTabIndex;
    c->Brush()->SetColor(selected ? FColor : clWindow);
    c->FillRect(RECT{r.left, selected ? 0 : 1, r.right, r.bottom});
    c->MoveTo(r.left, selected ? 0 : 1);
    c->LineTo(r.left, r.bottom);
    c->LineTo(r.right - 1, r.bottom);
    c->LineTo(r.right - 1, 0);
    std::string caption = FTabs.Strings(t.Index);
    DrawTextA(c->Handle(), caption.c_str(), int(caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

// ---- Form descriptions --------------------------------------------------------------------------

void RegisterTabs() {
  RegisterComponentClass<TTabSet>();
  Published<TTabSet>()
      .Object("Tabs", [](TTabSet* t) -> TPersistent* { return &t->Tabs(); })
      .Property("TabIndex", &TTabSet::SetTabIndex)
      .Property("StartMargin", &TTabSet::SetStartMargin)
      .Property("EndMargin", &TTabSet::SetEndMargin)
      .Event("OnChange", &TTabSet::OnChange);
}
