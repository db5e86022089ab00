// The fields that follow the size of a picture: the surface and both rectangles. The console opens
// with them for a 128 × 128 picture and rewrites them for each bitmap file picked.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "console/console_window.h"

namespace tavik {

struct NumberWrite {
    int id;
    std::uint32_t value;
};

// The ten writes for a w × h picture, in the order they are made: the surface size, then the
// Set & show rectangle at (0, 0) and the Move & show rectangle at (128, 128), both the picture's
// size. 32-bit wrap-around of the far corner is intended.
struct PictureFields {
    std::array<NumberWrite, 2> surface;
    std::array<NumberWrite, 8> rectangles;
};
PictureFields FieldsForPicture(std::uint32_t w, std::uint32_t h);

// Writes each number as unsigned decimal, in order.
void WriteNumbers(ConsoleWindow& window, std::span<const NumberWrite> writes);

}  // namespace tavik
