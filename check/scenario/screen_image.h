// An area of the screen as the user sees it, read with GDI, and how two readings of it differ.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace check {

struct ScreenImage {
    RECT area{};
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row by row from the top

    int Width() const { return area.right - area.left; }
    int Height() const { return area.bottom - area.top; }
};

// False where the display gives this process no device caps (the WoW64 Wine's 32-bit processes):
// nothing can be read from the screen there.
bool CanReadScreen();

ScreenImage ReadScreen(const RECT& area);

// An image of `area`'s size drawn by `draw` on a memory DC (its origin the area's top-left corner);
// no pixels where the platform cannot make the bitmap.
ScreenImage DrawnImage(const RECT& area, const std::function<void(HDC)>& draw);

// Reads the area once this thread's messages are handled and the screen stays still: a layered
// window's new image reaches the screen when its thread handles its messages.
ScreenImage SettledScreen(const RECT& area);

// The pixels of `after` that differ from `before` (both of one area), inside `rect` (screen
// coordinates, end exclusive) and outside it.
struct Changes {
    std::size_t inside = 0;
    std::size_t outside = 0;
    std::size_t insideTotal = 0;  // the pixels of `rect` within the area
};
Changes CountChanges(const ScreenImage& before, const ScreenImage& after, const RECT& rect);

}  // namespace check
