// Drawing on an Image: solid fills, gradients, rounded boxes whose outside is the transparent key,
// glyphs from character patterns, and the cutting and joining of strips. No anti-aliasing: every
// pixel keeps an exact colour, so key pixels stay exact.
#pragma once

#include <initializer_list>
#include <vector>

#include "tools/skinart/Bmp.h"

namespace skinart {

// Which corners of a box are rounded.
enum Corners : unsigned {
  kTopLeft = 1,
  kTopRight = 2,
  kBottomLeft = 4,
  kBottomRight = 8,
  kTopCorners = kTopLeft | kTopRight,
  kAllCorners = 15
};

// Rectangles are left, top, right, bottom; right and bottom exclusive.
void Fill(Image& image, int left, int top, int right, int bottom, uint32_t colour);
void FrameBox(Image& image, int left, int top, int right, int bottom, uint32_t colour);

// Colour a + (b - a) * num / den, per component.
uint32_t Mix(uint32_t a, uint32_t b, int num, int den);

// Rows from `top` colour to `bottom` colour.
void VGradient(Image& image, int left, int top, int right, int bottom, uint32_t topColour,
               uint32_t bottomColour);

// Whether pixel (x, y) lies inside the box with the given corners rounded to `radius`.
bool InsideRounded(int x, int y, int left, int top, int right, int bottom, double radius, unsigned corners);

// Within the box's bounds: the key colour outside the rounded outline, `border` along its inside.
void ShapeOutline(Image& image, int left, int top, int right, int bottom, double radius, unsigned corners,
                  uint32_t border);

// Inside the rounded box: a vertical gradient with a one-pixel border along its outline; outside it,
// within the box's bounds: the key colour.
void RoundedBox(Image& image, int left, int top, int right, int bottom, double radius, unsigned corners,
                uint32_t border, uint32_t fillTop, uint32_t fillBottom);

// Draws the '#' cells of `rows` with its top-left corner at (x, y).
void Pattern(Image& image, int x, int y, std::initializer_list<const char*> rows, uint32_t colour);
void Pattern(Image& image, int x, int y, const std::vector<const char*>& rows, uint32_t colour);

Image Crop(const Image& source, int left, int top, int width, int height);
void Blit(Image& target, int x, int y, const Image& source);

// Frames of equal size joined side by side, or one above the other when `stacked`.
Image Strip(const std::vector<Image>& frames, bool stacked = false);

}  // namespace skinart
