#include "dravel/window_image.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

namespace dravel {

namespace {

// Which surface column (or, with `rows`, row) each window column (or row) from `first` to `last`
// shows, as the platform's own whole-pixel stretch picks them: a line of `from` pixels, numbered 0,
// 1, ..., is stretched to `to` pixels and read back. That stretch picks columns and rows independently, so
// one line each way tells what the whole picture would be.
Code StretchIndices(int from, int to, int first, int last, bool rows, std::vector<int>& indices)
{
    const SIZE line = rows ? SIZE{1, from} : SIZE{from, 1};
    const SIZE stretched = rows ? SIZE{1, to} : SIZE{to, 1};
    std::uint32_t* numbers = nullptr;
    std::uint32_t* picked = nullptr;
    const UniqueBitmap source = CreatePixelBuffer(line.cx, line.cy, &numbers);
    const UniqueBitmap target = CreatePixelBuffer(stretched.cx, stretched.cy, &picked);
    const UniqueMemoryDc sourceDc{CreateCompatibleDC(nullptr)};
    const UniqueMemoryDc targetDc{CreateCompatibleDC(nullptr)};
    if (!source || !target || !sourceDc || !targetDc) return kOutOfMemory;
    std::iota(numbers, numbers + from, 0u);
    {
        const Selection sourceSelection(sourceDc.get(), source.get());
        const Selection targetSelection(targetDc.get(), target.get());
        SetStretchBltMode(targetDc.get(), COLORONCOLOR);
        if (!StretchBlt(targetDc.get(), 0, 0, stretched.cx, stretched.cy, sourceDc.get(), 0, 0, line.cx, line.cy,
                        SRCCOPY))
            return kWindowFailed;
    }
    GdiFlush();
    indices.assign(picked + first, picked + last);
    return kOk;
}

}  // namespace

Code DrawWindowImage(const Surface& surface, SIZE window, const RECT& part, WindowImage& image)
{
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    if (width <= 0 || height <= 0) {
        image = {};
        return kOk;
    }
    std::vector<int> columns, rows;
    if (const Code code = StretchIndices(surface.width, window.cx, part.left, part.right, false, columns); code != kOk)
        return code;
    if (const Code code = StretchIndices(surface.height, window.cy, part.top, part.bottom, true, rows); code != kOk)
        return code;
    std::uint32_t* pixels = nullptr;
    UniqueBitmap bitmap = CreatePixelBuffer(width, height, &pixels);
    if (!bitmap) return kOutOfMemory;

    // The stretch keeps the order, so the columns showing the picture come first.
    const auto pictureEnd =
        std::partition_point(columns.begin(), columns.end(), [&](int column) { return column < surface.pictureWidth; });
    const int pictureColumns = static_cast<int>(pictureEnd - columns.begin());
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
        if (y > 0 && rows[y] == rows[y - 1]) {
            std::copy_n(row - width, width, row);
            continue;
        }
        int drawn = 0;
        if (rows[y] < surface.pictureHeight) {
            const std::uint32_t* source = surface.pixels + static_cast<std::size_t>(rows[y]) * surface.pictureWidth;
            for (; drawn < pictureColumns; ++drawn) row[drawn] = source[columns[drawn]];
        }
        std::fill(row + drawn, row + width, surface.colour);
    }
    image = {std::move(bitmap), part};
    return kOk;
}

}  // namespace dravel
