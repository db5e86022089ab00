#include "dravel/surface.h"

#include <algorithm>

#include "bitmap/load_bitmap_file.h"

namespace dravel {

Code BuildSurface(const SurfaceRequest& request, Surface& surface)
{
    const UniqueBitmap file{tavik::LoadBitmapFile(request.bitmapPath)};
    BITMAP fileSize{};
    if (!file || !GetObject(file.get(), sizeof fileSize, &fileSize)) return kBadBitmap;

    // What lies beyond the surface is cut off.
    const int width = std::min<int>(fileSize.bmWidth, request.width);
    const int height = std::min<int>(fileSize.bmHeight, request.height);
    std::uint32_t* pixels = nullptr;
    UniqueBitmap picture = CreatePixelBuffer(width, height, &pixels);
    const UniqueMemoryDc pictureDc{CreateCompatibleDC(nullptr)};
    const UniqueMemoryDc fileDc{CreateCompatibleDC(nullptr)};
    if (!picture || !pictureDc || !fileDc) return kOutOfMemory;
    {
        // GDI turns any bitmap the loader makes into 32-bit pixels, bottom-up rows included.
        const Selection pictureSelection(pictureDc.get(), picture.get());
        const Selection fileSelection(fileDc.get(), file.get());
        if (!BitBlt(pictureDc.get(), 0, 0, width, height, fileDc.get(), 0, 0, SRCCOPY)) return kBadBitmap;
    }
    GdiFlush();
    surface = {request.width, request.height, request.colour, std::move(picture), pixels, width, height};
    return kOk;
}

}  // namespace dravel
