// The skinned form's drawing routines: cut frames out of skin strips and copy, stretch or tile
// them into a device context, and build window regions from pictures. They keep no state: every
// temporary bitmap lives for one call; a returned bitmap or region belongs to the caller.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tk/Graphics.h"

// The colour skin pictures mark transparent pixels with (red 255, green 0, blue 255).
constexpr COLORREF SkinKeyColour = 0xFF00FF;

// Where frame Frame (from 1) of a strip of FrameCount frames lies. A frame count below 1 counts
// as 1 and a frame number outside 1..FrameCount is brought to the nearest end, so no call reads
// outside the strip.
struct TStripFrame {
  int x0, y0, fw, fh;
};
TStripFrame StripFrame(TBitmap* Strip, int Frame, int FrameCount, bool Vertical);

// Margins (left, top, right, bottom widths) fitted to a W x H target, each axis on its own: a pair
// that does not fit is dropped. Margins larger than the frame itself are first cut down to it.
RECT FitMargins(const RECT& Margins, const TStripFrame& F, int W, int H);

// A new W x H picture (the target's size) of the frame laid out as nine slices: corners at their
// own size, edges stretched along their length, the centre stretched or (Tile) tiled.
std::unique_ptr<TBitmap> BuildNineSliceBitmap(const RECT& Target, TBitmap* Strip, const RECT& Margins,
                                              int Frame, int FrameCount, int Tile, int Vertical);
// The nine-slice picture drawn into Target, opaque or (Trans) with the key colour left out.
void DrawNineSlice(HDC DC, const RECT& Target, TBitmap* Strip, const RECT& Margins, int Frame, int FrameCount,
                   int Trans, int Tile, int Vertical);
// The eight border pieces of the frame drawn straight into Target; its centre keeps what it holds.
void StretchNineSlice(HDC DC, const RECT& Target, TBitmap* Strip, const RECT& Margins, int Frame,
                      int FrameCount, int Ignored, int Vertical);
// Left piece, middle piece repeated at its own width, right piece; all stretched to Target's height.
void DrawThreeSliceTiled(TCanvas* Canvas, const RECT& Target, TBitmap* Strip, const RECT& Margins, int Frame,
                         int FrameCount, int Trans, int Vertical);
// One frame of a horizontal strip stretched to Target.
void DrawStripFrame(HDC DC, const RECT& Target, TBitmap* Strip, int Frame, int FrameCount, int Trans);
// Source copied 1:1 from its origin to Target's top-left corner; pixels of colour Key are left out.
void DrawTransparentBitmap(HDC DC, const RECT& Target, TBitmap* Source, COLORREF Key);
// The SourceRect piece of Source repeated from Target's top-left corner; the last row and column
// of tiles may run past Target.
void DrawTiledPiece(TCanvas* Canvas, const RECT& Target, TBitmap* Source, const RECT& SourceRect);
// Rectangles gathered in the layout ExtCreateRegion takes: room for 500 at first, grown by 500,
// handed over whenever 2000 are gathered and once more at Flush; the parts are joined into one
// region, which Release hands to the caller.
class TRegionBuilder {
 public:
  static constexpr int kGrowth = 500;
  static constexpr int kBatch = 2000;

  TRegionBuilder();
  ~TRegionBuilder();
  TRegionBuilder(const TRegionBuilder&) = delete;
  TRegionBuilder& operator=(const TRegionBuilder&) = delete;

  void Add(int l, int t, int r, int b);
  void Flush();
  HRGN Release();
  // The header the rectangles gathered since the last hand-over would go with.
  const RGNDATAHEADER& BatchHeader();

 private:
  RGNDATAHEADER* Header() { return reinterpret_cast<RGNDATAHEADER*>(FBuffer.data()); }
  void ResetHeader();
  void Grow();

  std::vector<char> FBuffer;
  int FRoom = 0, FCount = 0;
  HRGN FResult = nullptr;
};

// A region of every pixel of Bitmap that is not transparent, moved by the offsets. A pixel is
// transparent when each component lies between Key's and Key's plus its tolerance. Bitmap is left
// as it was. The caller deletes the region or hands it to a window.
HRGN CreateRegionFromBitmap(TBitmap* Bitmap, int XOffset, int YOffset, COLORREF Key, int RedTolerance,
                            int GreenTolerance, int BlueTolerance);

inline int IntMax(int A, int B) { return A > B ? A : B; }
inline int IntMin(int A, int B) { return A < B ? A : B; }

// One line of Text centred both ways in R (Alignment 0 left, 1 right, 2 centre only sets the
// drawing flags). A disabled text is drawn in the button-shadow colour, which stays on the canvas.
void DrawCenteredText(TCanvas* C, const RECT& R, const std::string& Text, bool Enabled, int Alignment);
