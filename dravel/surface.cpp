#include "dravel/surface.h"

#include <algorithm>
#include <cstddef>

#include "bitmap/bmp_file_check.h"

namespace dravel {

namespace {

// The platform's loader can crash the process on a cut-short file, so it only ever sees files
// that passed the check the console's file pick uses as well.
UniqueBitmap LoadBitmapFile(const std::string& path)
{
    if (!tavik::IsSafeBmpFile(path)) return nullptr;
    return UniqueBitmap{static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION))};
}

}  // namespace

Code BuildSurface(const SurfaceRequest& request, Surface& surface)
{
    const UniqueBitmap picture = LoadBitmapFile(request.bitmapPath);
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
