#include "check/scenario/outline.h"

#include <algorithm>

namespace check {

namespace {

// Magenta first: no overlay picture of the sample bitmaps has it, and it stands out on any.
constexpr std::uint32_t kVivid[] = {0xFF00FF, 0x00FFFF, 0xFFFF00, 0x00FF00, 0xFF0000};
constexpr std::uint32_t kColours = 1u << 24;

}  // namespace

std::uint32_t UnusedColour(std::span<const std::vector<std::uint32_t>* const> images)
{
    std::vector<bool> used(kColours);
    for (const std::vector<std::uint32_t>* image : images)
        for (const std::uint32_t pixel : *image) used[pixel & (kColours - 1)] = true;
    for (const std::uint32_t colour : kVivid)
        if (!used[colour]) return colour;
    // Fewer pixels than colours leave one unused; a sheet never has that many.
    const auto unused = std::find(used.begin(), used.end(), false);
    return unused == used.end() ? kVivid[0] : static_cast<std::uint32_t>(unused - used.begin());
}

void DrawOutline(std::vector<std::uint32_t>& pixels, int width, const PixelBox& box, std::uint32_t colour)
{
    if (width <= 0 || box.right <= box.left || box.bottom <= box.top) return;
    const int height = static_cast<int>(pixels.size() / static_cast<std::size_t>(width));
    const auto set = [&](int x, int y) {
        if (x >= 0 && x < width && y >= 0 && y < height) pixels[static_cast<std::size_t>(y) * width + x] = colour;
    };
    // Only the part within the image is walked.
    for (int x = std::max(box.left, 0); x < std::min(box.right, width); ++x) {
        set(x, box.top);
        set(x, box.bottom - 1);
    }
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, height); ++y) {
        set(box.left, y);
        set(box.right - 1, y);
    }
}

}  // namespace check
