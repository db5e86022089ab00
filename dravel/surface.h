// The source surface: width × height opaque pixels of the caller's colour with the bitmap drawn on
// it, ready to be shown as it is.
#pragma once

#include "dravel/dravel_codes.h"
#include "dravel/gdi_objects.h"
#include "dravel/overlay_checks.h"

namespace dravel {

struct Surface {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
};

// kBadBitmap when the file is not a whole bitmap the platform loads, kOutOfMemory when the
// pixels cannot be had; otherwise kOk with `surface` filled. `surface` is untouched on failure.
Code BuildSurface(const SurfaceRequest& request, Surface& surface);

}  // namespace dravel
