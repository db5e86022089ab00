/* The boundary header as a library author writing C uses it: strict C11, compiled only. The five
 * entry points are defined here as a C library would define them, so a declaration that differs
 * from its definition, or a record C cannot lay out the same way, does not compile. */
#include "overlay/overlay_api.h"

OverlayResult OVERLAY_CALL OverlayOpen(void) { return 0; }

OverlayResult OVERLAY_CALL OverlayClose(void) { return 0; }

OverlayResult OVERLAY_CALL OverlaySetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    return params->width > 0 && params->bitmapFile[0] != '\0' && rect->endX > rect->startX ? 0 : 1;
}

OverlayResult OVERLAY_CALL OverlayMoveAndShow(const OverlayRect* rect) { return rect->endY > rect->startY ? 0 : 1; }

OverlayResult OVERLAY_CALL OverlayClearSetting(void) { return 0; }
