// The overlay library's boundary: the two records it is handed and its five entry points.
// Shared by the console and by the reference library, so both sides see one declaration.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define OVERLAY_CALL __cdecl
#else
#define OVERLAY_CALL
#endif

using OverlayResult = std::uint32_t;

#pragma pack(push, 1)
struct OverlaySurfaceParams {
    std::uint32_t width;
    std::uint32_t height;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    char bitmapFile[260];  // 8-bit system code page, NUL-terminated, zero bytes after it
};

struct OverlayRect {
    std::uint32_t startX;
    std::uint32_t startY;
    std::uint32_t endX;
    std::uint32_t endY;
};
#pragma pack(pop)

// The library reads these records byte for byte; a moved field is a broken contract.
static_assert(sizeof(OverlaySurfaceParams) == 271);
static_assert(offsetof(OverlaySurfaceParams, width) == 0);
static_assert(offsetof(OverlaySurfaceParams, height) == 4);
static_assert(offsetof(OverlaySurfaceParams, red) == 8);
static_assert(offsetof(OverlaySurfaceParams, green) == 9);
static_assert(offsetof(OverlaySurfaceParams, blue) == 10);
static_assert(offsetof(OverlaySurfaceParams, bitmapFile) == 11);
static_assert(sizeof(OverlaySurfaceParams::bitmapFile) == 260);
static_assert(sizeof(OverlayRect) == 16);
static_assert(offsetof(OverlayRect, startX) == 0);
static_assert(offsetof(OverlayRect, startY) == 4);
static_assert(offsetof(OverlayRect, endX) == 8);
static_assert(offsetof(OverlayRect, endY) == 12);

// Bound by ordinal: 1 open, 2 close, 3 set & show, 4 move & show, 5 clear setting (DRAVEL.def).
extern "C" {
OverlayResult OVERLAY_CALL OverlayOpen(void);
OverlayResult OVERLAY_CALL OverlayClose(void);
OverlayResult OVERLAY_CALL OverlaySetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect);
OverlayResult OVERLAY_CALL OverlayMoveAndShow(const OverlayRect* rect);
OverlayResult OVERLAY_CALL OverlayClearSetting(void);
}
