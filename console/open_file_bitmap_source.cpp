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

using OpenFileDialog = decltype(&GetOpenFileNameA);

// The file dialog's library is loaded at the first pick and kept: importing it would load it,
// and the shell libraries it pulls in, at every start (about 2.5 MB under Wine) for a button
// that may never be pressed. Null when it cannot be loaded; the pick then ends as if cancelled.
OpenFileDialog LoadOpenFileDialog()
{
    const HMODULE library = LoadLibraryA("comdlg32.dll");
    if (!library) return nullptr;
    return reinterpret_cast<OpenFileDialog>(reinterpret_cast<void*>(GetProcAddress(library, "GetOpenFileNameA")));
}

}  // namespace

std::optional<std::string> OpenFileBitmapSource::ChooseBitmapFile()
{
    static const OpenFileDialog openFileDialog = LoadOpenFileDialog();
    if (!openFileDialog) return std::nullopt;

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
    if (!openFileDialog(&dialog)) return std::nullopt;
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
