#include "skin/RezIderMenu.h"

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderFormDraw.h"

TRezIderPopMenuMaker RezIderPopMenuMaker = []() -> TRezIderPopMenu* { return new TSkinnedPopMenu; };
TRezIderPopMenu* CurrentSkinPopup = nullptr;

namespace {
// Width of the popup frame the skin paints, whatever the element's margins.
constexpr int kFrameBand = 3;
// The band, narrowed for a window too small to hold it on both sides.
int Band(int W, int H) { return IntMin(kFrameBand, IntMin(W, H) / 2); }
}  // namespace

TSkinnedPopMenu::~TSkinnedPopMenu() {
  // A freed popup must not stay where the item drawing would write its menu key into it.
  if (CurrentSkinPopup == this) CurrentSkinPopup = nullptr;
}

void TSkinnedPopMenu::Subclass(HWND Window, TSkinData* Data, HMENU MenuKey) {
  FHandle = Window;
  FSkinData = Data;
  FMenuKey = MenuKey;
  if (FOwnProc) return;  // one saved procedure per object: a second takeover would lose it
  FOwnProc = HookWindowProc(Window, MakeWndMethod<&TSkinnedPopMenu::InstanceWndProc>(this), FOldProc);
}

void TSkinnedPopMenu::Unsubclass() {
  if (!FOwnProc) return;
  UnhookWindowProc(FHandle, FOwnProc, FOldProc);
  FOwnProc = nullptr;
  FFrameBitmap->SetSize(0, 0);
}

void TSkinnedPopMenu::InstanceWndProc(TMessage& Message) {
  Message.Result = WndProc(Message.Msg, Message.WParam, Message.LParam);
}

LRESULT TSkinnedPopMenu::CallOldProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(FOldProc, FHandle, Msg, wParam, lParam);
}

LRESULT TSkinnedPopMenu::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_SKINQUERY) return 1;
  if (!SkinManager || !SkinManager->Enabled) return CallOldProc(Msg, wParam, lParam);
  switch (Msg) {
    case WM_DESTROY: {
      // The saved procedure is kept by value: the window gets its own back before it goes on.
      WNDPROC old = FOldProc;
      HWND window = FHandle;
      Unsubclass();
      return CallWindowProcA(old, window, Msg, wParam, lParam);
    }
    case WM_NCPAINT:
      if (IsWinNT || (StoredVersion & 0x80000000u)) return PaintFrame(Msg, wParam, lParam);
      return 0;
    case WM_PRINT:
      return PrintFrame(Msg, wParam, lParam);
    case WM_PAINT:
      return PaintClient(Msg, wParam, lParam);
    default:
      return CallOldProc(Msg, wParam, lParam);
  }
}

TDataSkinObject* TSkinnedPopMenu::Background() const {
  if (!FSkinData || FSkinData->FNotLoaded) return nullptr;
  TDataSkinObject* e = FSkinData->MenuBackground.get();
  if (!e || !e->Image || e->Image->Empty()) return nullptr;
  return e;
}

bool TSkinnedPopMenu::BuildFrame(int W, int H) {
  TDataSkinObject* e = Background();
  if (W <= 0 || H <= 0) {
    FFrameBitmap->SetSize(0, 0);
    return false;
  }
  RECT r{0, 0, W, H};
  std::unique_ptr<TBitmap> picture = BuildNineSliceBitmap(r, e->Image.get(), e->Margins(), 1, 1, e->Tile, 0);
  FFrameBitmap->Assign(picture.get());
  return true;
}

LRESULT TSkinnedPopMenu::PaintFrame(UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!Background()) return CallOldProc(Msg, wParam, lParam);
  DrawFrameBand();
  return 0;
}

bool TSkinnedPopMenu::FrameInClient() const {
  POINT origin{0, 0};
  RECT wr{};
  return ClientToScreen(FHandle, &origin) && GetWindowRect(FHandle, &wr) && origin.x == wr.left &&
         origin.y == wr.top;
}

LRESULT TSkinnedPopMenu::PaintClient(UINT Msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC own = FOwnProc;
  LRESULT result = CallOldProc(Msg, wParam, lParam);
  // The owner's item drawing may have let the window go (and this object with it).
  if (!WindowProcBound(own)) return result;
  if (Background() && FrameInClient()) DrawFrameBand();
  return result;
}

void TSkinnedPopMenu::DrawFrameBand() {
  RECT wr{};
  GetWindowRect(FHandle, &wr);
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  if (!BuildFrame(W, H)) return;
  if (!FMenuKey) CurrentSkinPopup = this;
  HDC dc = GetWindowDC(FHandle);
  if (!dc) return;
  HDC src = FFrameBitmap->Canvas()->Handle();
  const int b = Band(W, H);
  BitBlt(dc, 0, 0, W, b, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, H - b, W, b, src, 0, H - b, SRCCOPY);
  BitBlt(dc, 0, b, b, H - b, src, 0, b, SRCCOPY);
  BitBlt(dc, W - b, b, b, H - b, src, W - b, b, SRCCOPY);
  ReleaseDC(FHandle, dc);
}

LRESULT TSkinnedPopMenu::PrintFrame(UINT Msg, WPARAM wParam, LPARAM lParam) {
  RECT wr{};
  if (!Background() || !GetWindowRect(FHandle, &wr)) return CallOldProc(Msg, wParam, lParam);
  if (!FMenuKey) CurrentSkinPopup = this;
  const int W = wr.right - wr.left, H = wr.bottom - wr.top;
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (!BuildFrame(W, H)) return CallOldProc(Msg, wParam, lParam);
  BitBlt(dc, 0, 0, W, H, FFrameBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  const int b = Band(W, H);
  HRGN clip = CreateRectRgn(b, b, W - b, H - b);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SelectClipRgn(dc, clip);
  // The window may be destroyed while its own procedure prints (and this object with it), so only
  // locals are used from here on.
  LRESULT result = CallWindowProcA(FOldProc, FHandle, Msg, wParam, lParam);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  SetBkMode(dc, oldMode);
  return result;
}
