// Writes a screen image as a PNG file with the platform's own encoder (WIC).
#pragma once

#include <string>

#include "check/scenario/screen_image.h"

namespace check {

// `path` in the system code page; false when the file could not be written.
bool WritePng(const std::string& path, const ScreenImage& image);

}  // namespace check
