// The one way a .bmp file reaches the platform's bitmap loader, for the console's file pick and
// the reference overlay library alike.
#pragma once

#include <windows.h>

#include <string>

namespace tavik {

// The file named in the system code page, loaded as a DIB section at its own size once it passed
// IsSafeBmpFile; null when it did not pass or does not load. The caller deletes the bitmap.
HBITMAP LoadBitmapFile(const std::string& path);

}  // namespace tavik
