// A result code as the console shows it, and as every other reader of results writes it so that
// the texts can be compared. C++ only; not shipped.
#pragma once

#include <cstdio>
#include <string>

#include "overlay/overlay_api.h"

namespace overlay {

// "0x" and eight lower-case hex digits: always ten characters.
inline std::string ResultText(OverlayResult code)
{
    char text[11];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(code));
    return text;
}

}  // namespace overlay
