// One picture of a whole scene: each step's screen image with its name above it and, beside it,
// the outline of the rectangle that step's call asked for, drawn at its place in the same area.
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

// An image of area (0, 0) to the sheet's size; no pixels when it could not be drawn.
ScreenImage PictureSheet(const std::vector<SheetRow>& rows);

}  // namespace check
