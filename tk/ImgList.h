// Image lists: a component over a common-controls image list of equal-sized images with masks.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "tk/Classes.h"
#include "tk/Graphics.h"

class TImageList : public TComponent {
 public:
  TK_CLASS(TImageList, TComponent)
  explicit TImageList(TComponent* AOwner);
  ~TImageList() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // A new image size empties the list.
  void SetWidth(int value);
  void SetHeight(int value);
  int Count();

  // Adds image (and its mask, black where the image shows; none: the image is drawn whole). A bitmap
  // wider than the list's width adds one image per width. Returns the index of the first added image.
  int Add(TBitmap* image, TBitmap* mask);
  // Adds image with every pixel of maskColor left out when drawn.
  int AddMasked(TBitmap* image, TColor maskColor);
  void Delete(int index);
  void Clear();
  // Draws image index with its mask at (x, y) on canvas; not Enabled, in the platform's disabled
  // look: the image's shape etched in the button shadow and highlight colours.
  void Draw(TCanvas* canvas, int x, int y, int index, bool Enabled = true);

  // Made when first asked for, so it can be handed to common controls.
  HIMAGELIST Handle();
  // Takes value in place of the list's own; the list frees it unless ShareImages is set.
  void SetHandle(HIMAGELIST value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // A handle set from outside belongs to someone else. Lists the component made itself are always freed.
  bool ShareImages = false;
  // "Bitmap" in a form description: a bitmap file cut into Width-wide images, fuchsia left out.
  void DefineProperties(TFiler* Filer) override;

 private:
  void FreeHandle();
  HIMAGELIST FHandle = nullptr;
  bool FOwnHandle = false;
  int FWidth = 16, FHeight = 16;
};
