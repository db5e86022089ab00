#include "console/browse_bitmap.h"

#include "res/resource.h"
#include "res/texts.h"

namespace tavik {

void RunBrowseBitmap(ConsoleWindow& window, BitmapSource& source)
{
    const std::optional<std::string> path = source.ChooseBitmapFile();
    if (!path) return;
    window.ReplaceText(IDC_BITMAP_FILE, *path);

    const std::optional<BitmapSize> size = source.ReadBitmapSize(*path);
    if (!size) {
        window.ShowStopBox(texts::kBitmapLoadFailed, texts::kBitmapLoadCaption);
        return;
    }
    // The move rectangle keeps the picture's size at (128, 128); 32-bit wrap-around is intended.
    const std::uint32_t w = size->width;
    const std::uint32_t h = size->height;
    const struct {
        int id;
        std::uint32_t value;
    } writes[] = {
        {IDC_SURFACE_WIDTH, w},     {IDC_SURFACE_HEIGHT, h},    {IDC_SET_START_X, 0},    {IDC_SET_START_Y, 0},
        {IDC_SET_END_X, w},         {IDC_SET_END_Y, h},         {IDC_MOVE_START_X, 128}, {IDC_MOVE_START_Y, 128},
        {IDC_MOVE_END_X, w + 128u}, {IDC_MOVE_END_Y, h + 128u},
    };
    for (const auto& write : writes) window.WriteUnsigned(write.id, write.value);
}

}  // namespace tavik
