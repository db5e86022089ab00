// The part of the overlay window that can be seen, drawn straight from the surface: the pixels a
// whole-pixel (COLORONCOLOR) stretch of the whole surface to the window's size puts there, while
// neither the whole surface nor the whole window is ever drawn.
#pragma once

#include <windows.h>

#include "dravel/dravel_codes.h"
#include "dravel/gdi_objects.h"
#include "dravel/surface.h"

namespace dravel {

struct WindowImage {
    UniqueBitmap bitmap;  // 32-bit top-down, the part's size; null when nothing can be seen
    RECT part{};          // where the pixels go, in window coordinates
};

// `part` lies within the window's size. kOutOfMemory when the pixels cannot be had, kWindowFailed
// when the platform does not stretch; `image` is untouched on failure.
Code DrawWindowImage(const Surface& surface, SIZE window, const RECT& part, WindowImage& image);

}  // namespace dravel
