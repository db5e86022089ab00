// The source surface: width × height pixels of the caller's colour with the bitmap at its top-left
// 1:1. Only the part of the bitmap that lies on the surface is kept; everything else is the
// colour, so nothing the size of the surface is ever held.
#pragma once

#include <cstdint>

#include "dravel/dravel_codes.h"
#include "dravel/gdi_objects.h"
#include "dravel/overlay_checks.h"

namespace dravel {

struct Surface {
    int width = 0;
    int height = 0;
    std::uint32_t colour = 0;  // 0x00RRGGBB
    // The bitmap cut to the surface, 32-bit top-down, pictureWidth × pictureHeight pixels.
    UniqueBitmap picture;
    const std::uint32_t* pixels = nullptr;
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// kBadBitmap when the file is not a whole bitmap the platform loads, kOutOfMemory when the
// pixels cannot be had; otherwise kOk with `surface` filled. `surface` is untouched on failure.
Code BuildSurface(const SurfaceRequest& request, Surface& surface);

}  // namespace dravel
