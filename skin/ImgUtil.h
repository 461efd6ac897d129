// Whole-bitmap transforms for skin pictures: grey for disabled glyphs, mirror, flip and the two
// quarter turns that make bottom, left and right tabs out of the skin's top tabs. Each changes
// the bitmap in place and leaves it at 24 bits per pixel.
#pragma once

#include "tk/Graphics.h"

void GrayBitmap(TBitmap* Bitmap);
void MirrorBitmap(TBitmap* Bitmap);
void FlipBitmap(TBitmap* Bitmap);
// A quarter turn counter-clockwise: W x H becomes H x W, (x, y) goes to (y, W - 1 - x).
void RotateBitmap270(TBitmap* Bitmap);
// A quarter turn clockwise: W x H becomes H x W, (x, y) goes to (H - 1 - y, x).
void RotateBitmap90(TBitmap* Bitmap);
