#include "bitmap/load_bitmap_file.h"

#include "bitmap/bmp_file_check.h"

namespace tavik {

namespace {

constexpr UINT kLoadFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION;
static_assert(kLoadFlags == 0x2010);

}  // namespace

HBITMAP LoadBitmapFile(const std::string& path)
{
    // The loader crashes the process on a cut-short file, so it only sees files that are whole.
    if (!IsSafeBmpFile(path)) return nullptr;
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, kLoadFlags));
}

}  // namespace tavik
