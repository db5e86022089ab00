#include "overlay/overlay_entry_points.h"

const OverlayEntryPoints& ImportedOverlay()
{
    static constexpr OverlayEntryPoints imports{OverlayOpen, OverlayClose, OverlaySetAndShow, OverlayMoveAndShow,
                                                OverlayClearSetting};
    return imports;
}
