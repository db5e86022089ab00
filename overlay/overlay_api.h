/* The overlay library's boundary: the two records it is handed and its five entry points.
 * Shared by the console and by the reference library, so both sides see one declaration, and
 * shipped to library authors: it compiles as C11 and as C++17 alike. */
#pragma once

#include <stddef.h>
#include <stdint.h>
#ifdef __cplusplus
/* C++ includers get the std:: names of the same types too. */
#include <cstddef>
#include <cstdint>
#endif

#if defined(_WIN32)
#define OVERLAY_CALL __cdecl
#else
#define OVERLAY_CALL
#endif

#ifdef __cplusplus
#define OVERLAY_STATIC_ASSERT(condition) static_assert(condition, #condition)
#else
#define OVERLAY_STATIC_ASSERT(condition) _Static_assert(condition, #condition)
#endif

typedef uint32_t OverlayResult;

#pragma pack(push, 1)
typedef struct OverlaySurfaceParams {
    uint32_t width;
    uint32_t height;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    char bitmapFile[260]; /* 8-bit system code page, NUL-terminated, zero bytes after it */
} OverlaySurfaceParams;

typedef struct OverlayRect {
    uint32_t startX;
    uint32_t startY;
    uint32_t endX;
    uint32_t endY;
} OverlayRect;
#pragma pack(pop)

/* The library reads these records byte for byte; a moved field is a broken contract. */
OVERLAY_STATIC_ASSERT(sizeof(OverlaySurfaceParams) == 271);
OVERLAY_STATIC_ASSERT(offsetof(OverlaySurfaceParams, width) == 0);
OVERLAY_STATIC_ASSERT(offsetof(OverlaySurfaceParams, height) == 4);
OVERLAY_STATIC_ASSERT(offsetof(OverlaySurfaceParams, red) == 8);
OVERLAY_STATIC_ASSERT(offsetof(OverlaySurfaceParams, green) == 9);
OVERLAY_STATIC_ASSERT(offsetof(OverlaySurfaceParams, blue) == 10);
OVERLAY_STATIC_ASSERT(offsetof(OverlaySurfaceParams, bitmapFile) == 11);
OVERLAY_STATIC_ASSERT(sizeof(((OverlaySurfaceParams*)0)->bitmapFile) == 260);
OVERLAY_STATIC_ASSERT(sizeof(OverlayRect) == 16);
OVERLAY_STATIC_ASSERT(offsetof(OverlayRect, startX) == 0);
OVERLAY_STATIC_ASSERT(offsetof(OverlayRect, startY) == 4);
OVERLAY_STATIC_ASSERT(offsetof(OverlayRect, endX) == 8);
OVERLAY_STATIC_ASSERT(offsetof(OverlayRect, endY) == 12);

/* Bound by ordinal: 1 open, 2 close, 3 set & show, 4 move & show, 5 clear setting (DRAVEL.def).
 * Each returns 0 for success; the records live for the call only and must not be kept. */
#ifdef __cplusplus
extern "C" {
#endif
OverlayResult OVERLAY_CALL OverlayOpen(void);
OverlayResult OVERLAY_CALL OverlayClose(void);
OverlayResult OVERLAY_CALL OverlaySetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect);
OverlayResult OVERLAY_CALL OverlayMoveAndShow(const OverlayRect* rect);
OverlayResult OVERLAY_CALL OverlayClearSetting(void);
#ifdef __cplusplus
}
#endif
