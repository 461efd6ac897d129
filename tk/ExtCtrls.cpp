#include "tk/ExtCtrls.h"

#include "tk/FormReader.h"

#include <algorithm>
#include <set>

#include "tk/Forms.h"

namespace {

void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  HPEN tl = CreatePen(PS_SOLID, 1, topLeft), br = CreatePen(PS_SOLID, 1, bottomRight);
  HGDIOBJ old = SelectObject(dc, tl);
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right - 1, r.top);
  SelectObject(dc, br);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left - 1, r.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(tl);
  DeleteObject(br);
  InflateRect(&r, -1, -1);
}

}  // namespace

void DrawBevel(HDC DC, RECT& Rect, TPanelBevel Bevel, int Width) {
  if (Bevel == bvNone) return;
  COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
  for (int i = 0; i < Width; ++i) {
    if (Bevel == bvSpace)
      InflateRect(&Rect, -1, -1);
    else
      Frame3D(DC, Rect, Bevel == bvRaised ? hi : sh, Bevel == bvRaised ? sh : hi);
  }
}

// ---- TCustomPanel -------------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FWidth = 185;
  FHeight = 41;
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomPanel::Changed() {
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
  AlignControls();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
  FBevelInner = value;
  Changed();
}
void TCustomPanel::SetBevelOuter(TPanelBevel value) {
  FBevelOuter = value;
  Changed();
}
void TCustomPanel::SetBevelWidth(int value) {
  FBevelWidth = std::max(value, 1);
  Changed();
}
void TCustomPanel::SetBorderWidth(int value) {
  FBorderWidth = std::max(value, 0);
  Changed();
}
void TCustomPanel::SetBorderStyle(TBorderStyle value) {
  if (FBorderStyle == value) return;
  FBorderStyle = value;
  RecreateWnd();
}

void TCustomPanel::AdjustClientRect(RECT& Rect) {
  int inset = FBorderWidth;
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  InflateRect(&Rect, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  DrawBevel(c->Handle(), r, FBevelOuter, FBevelWidth);
  InflateRect(&r, -FBorderWidth, -FBorderWidth);
  DrawBevel(c->Handle(), r, FBevelInner, FBevelWidth);
  c->Brush()->SetColor(FColor);
  c->FillRect(r);
  std::string text = FText;
  if (text.empty()) return;
  c->Brush()->SetStyle(bsClear);
  UINT align = Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
  DrawTextA(c->Handle(), text.c_str(), int(text.size()), &r,
            align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

// ---- TBevel -------------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 50;
  FHeight = 50;
}

void TBevel::SetShape(TBevelShape value) {
  FShape = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  FStyle = value;
  Invalidate();
}

void TBevel::Paint() {
  HDC dc = Canvas()->Handle();
  COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
  COLORREF first = FStyle == bsLowered ? sh : hi, second = FStyle == bsLowered ? hi : sh;
  RECT r{0, 0, FWidth, FHeight};
  auto line = [dc](COLORREF c, int x1, int y1, int x2, int y2) {
    HPEN p = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, p);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(p);
  };
  switch (FShape) {
    case bsBox:
      Frame3D(dc, r, first, second);
      break;
    case bsFrame: {
      RECT inner = r;
      inner.left++;
      inner.top++;
      Frame3D(dc, inner, second, second);
      r.right--;
      r.bottom--;
      Frame3D(dc, r, first, first);
      break;
    }
    case bsTopLine:
      line(first, 0, 0, FWidth, 0);
      line(second, 0, 1, FWidth, 1);
      break;
    case bsBottomLine:
      line(first, 0, FHeight - 2, FWidth, FHeight - 2);
      line(second, 0, FHeight - 1, FWidth, FHeight - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, FHeight);
      line(second, 1, 0, 1, FHeight);
      break;
    case bsRightLine:
      line(first, FWidth - 2, 0, FWidth - 2, FHeight);
      line(second, FWidth - 1, 0, FWidth - 1, FHeight);
      break;
    case bsSpacer:
      break;
  }
}

// ---- TImage -------------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  FWidth = 105;
  FHeight = 105;
  FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::PictureChanged() {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  FAutoSize = value;
  PictureChanged();
}
void TImage::SetStretch(bool value) {
  FStretch = value;
  Invalidate();
}
void TImage::SetCenter(bool value) {
  FCenter = value;
  Invalidate();
}

void TImage::Paint() {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return;
  RECT r{0, 0, g->Width(), g->Height()};
  if (FStretch) {
    r = {0, 0, FWidth, FHeight};
  } else if (FCenter) {
    OffsetRect(&r, (FWidth - g->Width()) / 2, (FHeight - g->Height()) / 2);
  }
  Canvas()->StretchDraw(r, g);
}

// ---- TTimer -------------------------------------------------------------------------------------

namespace {
// Never destroyed: timers of objects that module finalisation frees (the skin manager's) still
// leave it after the static objects are gone.
std::set<TTimer*>& LiveTimers() {
  static auto* timers = new std::set<TTimer*>;
  return *timers;
}

HWND TimerWindow(WNDPROC proc) {
  static HWND wnd = [proc] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = TkInstance();
    wc.lpszClassName = "TTimerWindow";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "TTimerWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, TkInstance(),
                           nullptr);
  }();
  return wnd;
}
}  // namespace

LRESULT CALLBACK TTimer::TimerWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_TIMER) return DefWindowProcA(wnd, msg, wp, lp);
  // The identifier is the timer object; one freed meanwhile is no longer in the live set.
  auto* timer = reinterpret_cast<TTimer*>(wp);
  if (LiveTimers().count(timer) && timer->OnTimer) {
    try {
      timer->OnTimer(timer);
    } catch (const std::exception& e) {
      Application->HandleException(e.what());
    }
  }
  return 0;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  LiveTimers().insert(this);
  UpdateTimer();
}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
  LiveTimers().erase(this);
}

void TTimer::UpdateTimer() {
  HWND wnd = TimerWindow(TimerWndProc);
  if (FRunning) KillTimer(wnd, reinterpret_cast<UINT_PTR>(this));
  FRunning = false;
  if (FEnabled && FInterval > 0)
    FRunning = SetTimer(wnd, reinterpret_cast<UINT_PTR>(this), FInterval, nullptr) != 0;
}

void TTimer::SetEnabled(bool value) {
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  FInterval = value;
  UpdateTimer();
}

// ---- Radio groups -------------------------------------------------------------------------------

TGroupButton::TGroupButton(TCustomRadioGroup* Group) : TRadioButton(Group), FGroup(Group) {
  SetParent(Group);
}

void TGroupButton::Click() {
  FGroup->ButtonClicked(this);
  TRadioButton::Click();
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner) {}

TCustomRadioGroup::~TCustomRadioGroup() {
  // The buttons go first, while the group they tell of clicks is whole.
  for (TGroupButton* b : FButtons) delete b;
}

void TCustomRadioGroup::UpdateButtons() {
  while (int(FButtons.size()) > FItems.Count()) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (int(FButtons.size()) < FItems.Count()) FButtons.push_back(new TGroupButton(this));
  for (int i = 0; i < ButtonCount(); ++i) {
    FButtons[size_t(i)]->SetCaption(FItems.Strings(i));
    FButtons[size_t(i)]->SetChecked(i == FItemIndex);
  }
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  RECT r{0, 0, FWidth, FHeight};
  AdjustClientRect(r);
  InflateRect(&r, -6, 0);
  const int columns = std::max(FColumns, 1);
  const int rows = (ButtonCount() + columns - 1) / columns;
  const int w = int(r.right - r.left) / columns, h = std::max(int(r.bottom - r.top) / rows, 1);
  for (int i = 0; i < ButtonCount(); ++i)
    FButtons[size_t(i)]->SetBounds(int(r.left) + (i / rows) * w, int(r.top) + (i % rows) * h, w,
                                   std::min(h, 17));
}

void TCustomRadioGroup::SetItemIndex(int value) {
  // An index past the items waits for them (a form description may give it first).
  FItemIndex = std::max(value, -1);
  for (int i = 0; i < ButtonCount(); ++i) FButtons[size_t(i)]->SetChecked(i == value);
}

void TCustomRadioGroup::SetColumns(int value) {
  FColumns = std::clamp(value, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::ButtonClicked(TGroupButton* Button) {
  auto it = std::find(FButtons.begin(), FButtons.end(), Button);
  if (it == FButtons.end()) return;
  FItemIndex = int(it - FButtons.begin());
  Click();
}

void TCustomRadioGroup::WndProc(TMessage& Message) {
  TCustomGroupBox::WndProc(Message);
  if (Message.Msg == WM_SIZE) ArrangeButtons();
}

// ---- Form descriptions --------------------------------------------------------------------------

void RegisterExtCtrls() {
  static const TIdentMap bevels = {
      {"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}};
  RegisterComponentClass<TPanel>();
  RegisterComponentClass<TBevel>();
  RegisterComponentClass<TImage>();
  RegisterComponentClass<TTimer>();
  RegisterComponentClass<TRadioGroup>();
  Published<TCustomRadioGroup>()
      .Object("Items", [](TCustomRadioGroup* g) -> TPersistent* { return &g->Items(); })
      .Property("ItemIndex", &TCustomRadioGroup::SetItemIndex)
      .Property("Columns", &TCustomRadioGroup::SetColumns);
  Published<TCustomPanel>()
      .Property("BevelInner", &TCustomPanel::SetBevelInner, bevels)
      .Property("BevelOuter", &TCustomPanel::SetBevelOuter, bevels)
      .Property("BevelWidth", &TCustomPanel::SetBevelWidth)
      .Property("BorderWidth", &TCustomPanel::SetBorderWidth)
      .Property("BorderStyle", &TCustomPanel::SetBorderStyle, {{"bsNone", bsNone}, {"bsSingle", bsSingle}})
      .Property(
          "Alignment", &TCustomPanel::Alignment,
          {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}});
  Published<TBevel>()
      .Property("Shape", &TBevel::SetShape,
                {{"bsBox", bsBox},
                 {"bsFrame", bsFrame},
                 {"bsTopLine", bsTopLine},
                 {"bsBottomLine", bsBottomLine},
                 {"bsLeftLine", bsLeftLine},
                 {"bsRightLine", bsRightLine},
                 {"bsSpacer", bsSpacer}})
      .Property("Style", &TBevel::SetStyle, {{"bsLowered", bsLowered}, {"bsRaised", bsRaised}});
  Published<TImage>()
      .Object("Picture", [](TImage* i) -> TPersistent* { return i->Picture(); })
      .Property("AutoSize", &TImage::SetAutoSize)
      .Property("Stretch", &TImage::SetStretch)
      .Property("Center", &TImage::SetCenter);
  Published<TTimer>()
      .Property("Enabled", &TTimer::SetEnabled)
      .Property("Interval", &TTimer::SetInterval)
      .Event("OnTimer", &TTimer::OnTimer);
}
