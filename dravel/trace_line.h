// The one line of debug output each entry point writes, so a person watching it sees exactly what
// the caller sent and what it got back. Plain ASCII whatever the caller's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "overlay/overlay_api.h"

namespace dravel {

// "w=128 h=128 rgb=0,0,0 file=\"Image.bmp\" rect=0,0-128,128"; a null record reads "null".
std::string DescribeSurfaceCall(const OverlaySurfaceParams* params, const OverlayRect* rect);

// "rect=0,0-128,128" or "rect=null".
std::string DescribeRect(const OverlayRect* rect);

// "DRAVEL OverlayOpen() -> 0x80040202\n", the code as the console shows it.
std::string TraceLine(std::string_view call, std::string_view arguments, std::uint32_t code);

}  // namespace dravel
