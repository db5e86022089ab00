// The file button's platform side: the open-file dialog and the bitmap loader.
#pragma once

#include <windows.h>

#include "console/bitmap_source.h"

namespace tavik {

class OpenFileBitmapSource : public BitmapSource {
public:
    explicit OpenFileBitmapSource(HWND owner) : m_owner(owner) {}

    std::optional<std::string> ChooseBitmapFile() override;
    std::optional<BitmapSize> ReadBitmapSize(const std::string& path) override;

private:
    HWND m_owner;
};

}  // namespace tavik
