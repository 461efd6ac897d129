// Skinned scroll bars: the bars a scrolling window draws in its own frame, the header of a list
// view, size grips and the toolkit's scroll-bar control. The window keeps its own scrolling; the
// skin is painted over its bars after it has painted, and the thumb of a window's bar can be
// dragged by our own loop so that the skinned thumb follows the pointer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/WinSubClass.h"

// Where a bar's thumb lies: the arrow size, the track between the arrows, the thumb's length and
// its start measured from the end of the first arrow. StyleMask names the bar (WS_HSCROLL or
// WS_VSCROLL).
struct TScrollGeometry {
  int32_t ArrowSize = 0;
  int32_t TrackLength = 0;
  int32_t ThumbSize = 0;
  int32_t ThumbOffset = 0;
  int32_t StyleMask = 0;
};

// FPressedPart values.
enum : int32_t {
  ppNone = 0,
  ppLeftArrow = 1,
  ppRightArrow = 2,
  ppUpArrow = 3,
  ppDownArrow = 4,
  ppHorzThumb = 5,
  ppVertThumb = 6
};

// The bars of a window of size W x H whose client area is Client, arrows B pixels long. Only the
// rectangles of the bars the style shows are written.
struct TScrollBarRects {
  RECT Horz;
  RECT Vert;
  RECT SizeBox;
};
void LayoutScrollBars(int W, int H, const RECT& Client, int B, DWORD Style, DWORD ExStyle,
                      TScrollBarRects& Rects);

// The thumb of a bar N pixels long with arrows of Arrow pixels, for a range of Range positions from
// Min. False (and G untouched) when the range is empty. MinThumb is the least thumb of a page bar,
// DefaultThumb the thumb of a bar without a page.
bool ComputeThumb(int N, int Arrow, int MinThumb, int DefaultThumb, int Min, int Page, int Pos, int Range,
                  TScrollGeometry& G);
// The least thumb length of a bar with a page, for arrows of Arrow pixels.
int MinimumThumb(int Arrow);
// The scroll code of the part at X along a bar of geometry G (x from the bar's start); -1 past it.
int ScrollHitPart(int X, const TScrollGeometry& G);
// The position a thumb dragged to Offset means on a bar of geometry G and scroll state Info;
// Offset is brought inside what the bar allows.
int DragPosition(int& Offset, const TScrollGeometry& G, const SCROLLINFO& Info);

// The scroll bars a window draws in its own frame, painted from the skin.
class TSkinScrollbar : public TSkinControl {
 public:
  TK_CLASS(TSkinScrollbar, TSkinControl)
  explicit TSkinScrollbar(TComponent* AOwner);
  // A drag loop still running lets go of its window.
  ~TSkinScrollbar() override;

  // Takes over a toolkit window control that has its own scroll bars; DragThumb lets our own loop
  // drag the thumb.
  virtual void SkinScrollingControl(TWinControl* Control, TSkinData* Data, TCanvas* Canvas,
                                    TSkinControlHost* Form, bool DragThumb);
  // Takes over a bare window; no own drag.
  void SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form) override;
  void Unskin() override;
  bool BeforeDefault(TMessage& Message) override;
  void AfterDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;

  // The scroll code of the part at X (client coordinates) of the vertical or horizontal bar.
  int HitPart(int X, bool Vertical) const;
  // True when the press started our own thumb drag.
  bool NCButtonDown(TMessage& Message);
  // Drags the thumb of the bar until the left button goes up; ScrollMsg is WM_HSCROLL or WM_VSCROLL.
  void TrackThumb(int Bar, UINT ScrollMsg);

  int32_t FPressedPart = ppNone;
  int32_t FStyle = 0;
  int32_t FExStyle = 0;
  RECT FSizeBoxRect{};
  bool FTracking = false;
  bool FDragThumb = false;
  bool FInVScroll = false;
  bool FInHScroll = false;
  bool FInPaint = false;  // the window's own WM_PAINT is running
  SCROLLINFO FHorzInfo{};
  SCROLLINFO FVertInfo{};
  RECT FHorzRect{};
  RECT FVertRect{};
  TScrollGeometry FHorzGeometry;
  TScrollGeometry FVertGeometry;

 private:
  void ResetScrollState(bool DragThumb);
  // The thumb of one bar from the window's scroll state; kept as it is during a drag.
  void UpdateThumb(int N, bool Vertical);
  void DrawBar(HDC DC, const RECT& B, bool Vertical);
  // Cleared by the destructor when the object goes while its drag loop runs.
  std::shared_ptr<bool> FAlive;
};

class TSkinHeader;

// A list view: its scroll bars, and its header through a TSkinHeader.
class TSkinListView : public TSkinScrollbar {
 public:
  TK_CLASS(TSkinListView, TSkinScrollbar)
  using TSkinScrollbar::TSkinScrollbar;
  void SkinScrollingControl(TWinControl* Control, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form,
                            bool DragThumb) override;

  // Owned by this object's owner, not by this object; nullptr when the list view has no header.
  TSkinHeader* FHeader = nullptr;

 protected:
  // The header's object lets go of this one when it is freed first.
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// The column header of a list view, every section painted from the Headerbar element.
class TSkinHeader : public TSkinControl {
 public:
  TK_CLASS(TSkinHeader, TSkinControl)
  using TSkinControl::TSkinControl;
  void SkinHandle(HWND Handle, TSkinData* Data, TCanvas* Canvas, TSkinControlHost* Form) override;
  bool BeforeDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;
  void DrawSection(HIMAGELIST Images, TCanvas* Canvas, int Index, const RECT& S);
};

// A size grip of class "scrollbar": it paints nothing at all while skinned.
class TSkinSizer : public TSkinControl {
 public:
  TK_CLASS(TSkinSizer, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
};

// The toolkit's scroll-bar control (TScrollBar) painted whole from the scroll-bar elements.
class TSkinScControl : public TSkinControl {
 public:
  TK_CLASS(TSkinScControl, TSkinControl)
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& Message) override;
  void DrawControl(HDC DC, const RECT& R) override;

  int32_t FPressedPart = ppNone;
  int32_t FTrackLength = 0;
  int32_t FThumbSize = 0;
  int32_t FThumbOffset = 0;
};
