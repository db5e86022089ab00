// The five entry points as a table, so the commands can be run against a fake library in tests
// and against the ordinal imports in the program.
#pragma once

#include "overlay/overlay_api.h"

struct OverlayEntryPoints {
    OverlayResult(OVERLAY_CALL* open)();
    OverlayResult(OVERLAY_CALL* close)();
    OverlayResult(OVERLAY_CALL* setAndShow)(const OverlaySurfaceParams*, const OverlayRect*);
    OverlayResult(OVERLAY_CALL* moveAndShow)(const OverlayRect*);
    OverlayResult(OVERLAY_CALL* clearSetting)();
};

// The table bound to DRAVEL.dll's ordinals at load time (only the program links this).
const OverlayEntryPoints& ImportedOverlay();
