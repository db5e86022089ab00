#include "dravel/surface.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "bitmap/load_bitmap_file.h"

namespace dravel {

namespace {

// Wine shapes a layered window by its pixels' alpha whatever UpdateLayeredWindow is told, so the
// surface, which is shown as it is or stretched, carries alpha 255 in every pixel.
constexpr std::uint32_t kOpaque = 0xFF000000;

}  // namespace

Code BuildSurface(const SurfaceRequest& request, Surface& surface)
{
    const UniqueBitmap picture{tavik::LoadBitmapFile(request.bitmapPath)};
    BITMAP pictureSize{};
    if (!picture || !GetObject(picture.get(), sizeof pictureSize, &pictureSize)) return kBadBitmap;

    std::uint32_t* pixels = nullptr;
    UniqueBitmap canvas = CreatePixelBuffer(request.width, request.height, &pixels);
    const UniqueMemoryDc canvasDc{CreateCompatibleDC(nullptr)};
    const UniqueMemoryDc pictureDc{CreateCompatibleDC(nullptr)};
    if (!canvas || !canvasDc || !pictureDc) return kOutOfMemory;
    std::fill_n(pixels, static_cast<std::size_t>(request.width) * static_cast<std::size_t>(request.height),
                request.colour | kOpaque);
    // 1:1 at the top-left corner; what lies beyond the surface is cut off.
    const int drawnWidth = std::min<int>(pictureSize.bmWidth, request.width);
    const int drawnHeight = std::min<int>(pictureSize.bmHeight, request.height);
    {
        const Selection canvasSelection(canvasDc.get(), canvas.get());
        const Selection pictureSelection(pictureDc.get(), picture.get());
        if (!BitBlt(canvasDc.get(), 0, 0, drawnWidth, drawnHeight, pictureDc.get(), 0, 0, SRCCOPY)) return kBadBitmap;
    }
    // GDI's drawing left the picture's alpha bytes at 0.
    GdiFlush();
    for (int y = 0; y < drawnHeight; ++y)
        for (std::uint32_t& pixel : std::span(pixels + static_cast<std::size_t>(y) * request.width, drawnWidth))
            pixel |= kOpaque;
    surface = {std::move(canvas), request.width, request.height};
    return kOk;
}

}  // namespace dravel
