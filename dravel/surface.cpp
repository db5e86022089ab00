#include "dravel/surface.h"

#include <algorithm>
#include <cstddef>

#include "bitmap/load_bitmap_file.h"

namespace dravel {

Code BuildSurface(const SurfaceRequest& request, Surface& surface)
{
    const UniqueBitmap picture{tavik::LoadBitmapFile(request.bitmapPath)};
    BITMAP pictureSize{};
    if (!picture || !GetObject(picture.get(), sizeof pictureSize, &pictureSize)) return kBadBitmap;

    std::uint32_t* pixels = nullptr;
    UniqueBitmap canvas = CreatePixelBuffer(request.width, request.height, pixels);
    const UniqueMemoryDc canvasDc{CreateCompatibleDC(nullptr)};
    const UniqueMemoryDc pictureDc{CreateCompatibleDC(nullptr)};
    if (!canvas || !canvasDc || !pictureDc) return kOutOfMemory;
    std::fill_n(pixels, static_cast<std::size_t>(request.width) * static_cast<std::size_t>(request.height),
                request.colour);
    {
        const Selection canvasSelection(canvasDc.get(), canvas.get());
        const Selection pictureSelection(pictureDc.get(), picture.get());
        // 1:1 at the top-left corner; what lies beyond the surface is cut off.
        if (!BitBlt(canvasDc.get(), 0, 0, std::min<int>(pictureSize.bmWidth, request.width),
                    std::min<int>(pictureSize.bmHeight, request.height), pictureDc.get(), 0, 0, SRCCOPY))
            return kBadBitmap;
    }
    surface = {std::move(canvas), request.width, request.height};
    return kOk;
}

}  // namespace dravel
