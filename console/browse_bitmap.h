#pragma once

#include "console/bitmap_source.h"
#include "console/console_window.h"

namespace tavik {

// Puts a chosen bitmap's path into the file name field and sizes the surface and both
// rectangles to match the picture.
void RunBrowseBitmap(ConsoleWindow& window, BitmapSource& source);

}  // namespace tavik
