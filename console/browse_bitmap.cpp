#include "console/browse_bitmap.h"

#include "console/picture_fields.h"
#include "res/resource.h"
#include "res/texts.h"

namespace tavik {

void RunBrowseBitmap(ConsoleWindow& window, BitmapSource& source)
{
    const std::optional<std::string> path = source.ChooseBitmapFile();
    if (!path) return;
    window.WriteText(IDC_BITMAP_FILE, *path);

    const std::optional<BitmapSize> size = source.ReadBitmapSize(*path);
    if (!size) {
        window.ShowStopBox(texts::kBitmapLoadFailed, texts::kBitmapLoadCaption);
        return;
    }
    const PictureFields fields = FieldsForPicture(size->width, size->height);
    WriteNumbers(window, fields.surface);
    WriteNumbers(window, fields.rectangles);
}

}  // namespace tavik
