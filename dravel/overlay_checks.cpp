#include "dravel/overlay_checks.h"

#include <cstring>

namespace dravel {

namespace {

bool IsValidSide(std::uint32_t side)
{
    return side >= 1 && side <= kMaxSide;
}

// The side from start to an exclusive end; end <= start is caught here, before the unsigned
// subtraction could wrap around into a plausible size.
bool IsValidSpan(std::uint32_t start, std::uint32_t end)
{
    return start < end && end <= kMaxCoordinate && IsValidSide(end - start);
}

}  // namespace

Code ReadSurfaceRequest(const OverlaySurfaceParams& params, SurfaceRequest& request)
{
    if (!IsValidSide(params.width) || !IsValidSide(params.height)) return kBadSize;
    const void* end = std::memchr(params.bitmapFile, '\0', sizeof params.bitmapFile);
    if (end == nullptr || end == params.bitmapFile) return kBadPath;

    request.width = static_cast<int>(params.width);
    request.height = static_cast<int>(params.height);
    request.colour = std::uint32_t{params.red} << 16 | std::uint32_t{params.green} << 8 | params.blue;
    request.bitmapPath.assign(params.bitmapFile, static_cast<const char*>(end));
    return kOk;
}

Code ReadPlacement(const OverlayRect& rect, Placement& placement)
{
    if (!IsValidSpan(rect.startX, rect.endX) || !IsValidSpan(rect.startY, rect.endY)) return kBadRect;
    placement = {static_cast<int>(rect.startX), static_cast<int>(rect.startY),
                 static_cast<int>(rect.endX - rect.startX), static_cast<int>(rect.endY - rect.startY)};
    return kOk;
}

}  // namespace dravel
