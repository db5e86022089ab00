// A surface record as the console fills it: zeroed first, so every byte after the name is zero.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "overlay/overlay_api.h"

namespace dravel::test {

inline OverlaySurfaceParams SurfaceParams(std::uint32_t width, std::uint32_t height, const std::string& file,
                                          std::uint8_t red = 255, std::uint8_t green = 128, std::uint8_t blue = 0)
{
    OverlaySurfaceParams params;
    std::memset(&params, 0, sizeof params);
    params.width = width;
    params.height = height;
    params.red = red;
    params.green = green;
    params.blue = blue;
    std::strncpy(params.bitmapFile, file.c_str(), sizeof params.bitmapFile - 1);
    return params;
}

}  // namespace dravel::test
