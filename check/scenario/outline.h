// The rectangle a call asked for, drawn on the capture of what the library showed: a one-pixel
// outline on the rectangle's own edge pixels, so that whatever the library drew outside it stays
// in view, in a colour that no pixel of the captures has. Window-free: it works on the pixels.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace check {

// A rectangle in an image's own pixels, the right and bottom ends exclusive.
struct PixelBox {
    int left, top, right, bottom;
};

// 0x00RRGGBB: the first of a few vivid colours that no pixel of `images` has, else the lowest
// value none has.
std::uint32_t UnusedColour(std::span<const std::vector<std::uint32_t>* const> images);

// Sets the edge pixels of `box` that lie within the image (`width` pixels a row, top row first)
// to `colour`.
void DrawOutline(std::vector<std::uint32_t>& pixels, int width, const PixelBox& box, std::uint32_t colour);

}  // namespace check
