#include "console/open_file_bitmap_source.h"

#include <commdlg.h>

#include <memory>

#include "bitmap/load_bitmap_file.h"
#include "res/texts.h"

namespace tavik {

namespace {

constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
static_assert(kOpenFlags == 0x1804);

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

}  // namespace

std::optional<std::string> OpenFileBitmapSource::ChooseBitmapFile()
{
    // One filter entry: name, pattern, and the empty string that ends the list.
    std::string filter = texts::kBitmapFilterName;
    filter += '\0';
    filter += texts::kBitmapFilterPattern;
    filter += '\0';

    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrDefExt = texts::kBitmapDefaultExtension;
    dialog.Flags = kOpenFlags;
    if (!GetOpenFileNameA(&dialog)) return std::nullopt;
    return std::string(path);
}

std::optional<BitmapSize> OpenFileBitmapSource::ReadBitmapSize(const std::string& path)
{
    const BitmapHandle bitmap(LoadBitmapFile(path));
    if (!bitmap) return std::nullopt;

    BITMAP info{};
    if (GetObjectA(bitmap.get(), sizeof info, &info) == 0) return std::nullopt;
    return BitmapSize{static_cast<std::uint32_t>(info.bmWidth), static_cast<std::uint32_t>(info.bmHeight)};
}

}  // namespace tavik
