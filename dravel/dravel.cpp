// Reference overlay library: keeps the open/closed state and checks its arguments.
#include "dravel/dravel_codes.h"
#include "overlay/overlay_api.h"

namespace {

bool g_open = false;
bool g_surfaceSet = false;

}  // namespace

extern "C" {

OverlayResult OVERLAY_CALL OverlayOpen(void)
{
    if (g_open) return dravel::kAlreadyOpen;
    g_open = true;
    return dravel::kOk;
}

OverlayResult OVERLAY_CALL OverlayClose(void)
{
    if (!g_open) return dravel::kNotOpen;
    g_open = g_surfaceSet = false;
    return dravel::kOk;
}

OverlayResult OVERLAY_CALL OverlaySetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    if (!g_open) return dravel::kNotOpen;
    if (!params || !rect) return dravel::kPointer;
    if (params->width == 0 || params->width > 8192 || params->height == 0 || params->height > 8192)
        return dravel::kBadSize;
    if (rect->endX <= rect->startX || rect->endY <= rect->startY) return dravel::kBadRect;
    g_surfaceSet = true;
    return dravel::kOk;
}

OverlayResult OVERLAY_CALL OverlayMoveAndShow(const OverlayRect* rect)
{
    if (!g_open) return dravel::kNotOpen;
    if (!rect) return dravel::kPointer;
    if (rect->endX <= rect->startX || rect->endY <= rect->startY) return dravel::kBadRect;
    return g_surfaceSet ? dravel::kOk : dravel::kNothingSet;
}

OverlayResult OVERLAY_CALL OverlayClearSetting(void)
{
    if (!g_open) return dravel::kNotOpen;
    if (!g_surfaceSet) return dravel::kNothingSet;
    g_surfaceSet = false;
    return dravel::kOk;
}

}  // extern "C"
