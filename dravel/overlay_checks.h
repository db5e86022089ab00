// What the library accepts from the caller's records, decided before anything is allocated.
// No window is involved, so these rules are also tested natively.
#pragma once

#include <cstdint>
#include <string>

#include "dravel/dravel_codes.h"
#include "overlay/overlay_api.h"

namespace dravel {

// Largest surface side and rectangle side: 8192 × 8192 32-bit pixels is 256 MiB, already a lot.
inline constexpr std::uint32_t kMaxSide = 8192;
// Window positions travel in 16-bit signed fields in places, so screen coordinates stay below that.
inline constexpr std::uint32_t kMaxCoordinate = 32767;

// The surface the caller asked for, once its record passed the checks.
struct SurfaceRequest {
    int width;
    int height;
    std::uint32_t colour;  // 0x00RRGGBB, the byte order of a 32-bit DIB pixel
    std::string bitmapPath;
};

// Where the surface goes on the screen: the rectangle with its end excluded.
struct Placement {
    int x;
    int y;
    int width;
    int height;

    friend bool operator==(const Placement&, const Placement&) = default;
};

// kBadSize for a side outside 1..kMaxSide, kBadPath for an empty file name or one without a NUL
// in its field; otherwise kOk with `request` filled.
Code ReadSurfaceRequest(const OverlaySurfaceParams& params, SurfaceRequest& request);

// kBadRect unless start < end on both axes, each side at most kMaxSide and every coordinate at
// most kMaxCoordinate; otherwise kOk with `placement` filled.
Code ReadPlacement(const OverlayRect& rect, Placement& placement);

}  // namespace dravel
