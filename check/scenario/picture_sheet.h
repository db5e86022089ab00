// One picture of a whole scene: each step's screen image with its name above it and, drawn on it,
// the outline of the rectangle that step's call asked for (outline.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "check/scenario/screen_image.h"

namespace check {

struct SheetRow {
    std::string label;
    const ScreenImage* image;  // every row's image is of the same area
    std::optional<RECT> asked;
};

// A row's image with the outline of the rectangle it asked for (screen coordinates) in `colour`.
ScreenImage Outlined(const ScreenImage& image, const RECT& asked, std::uint32_t colour);

// An image of area (0, 0) to the sheet's size; no pixels when it could not be drawn. The outlines
// share one colour, which no row's image has.
ScreenImage PictureSheet(const std::vector<SheetRow>& rows);

}  // namespace check
