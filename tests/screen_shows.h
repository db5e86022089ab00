// What the screen shows, waited for: an overlay's picture reaches the screen some time after the
// call that shows it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <sstream>

#include "check/scenario/screen_image.h"

namespace dravel::test {

inline void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

using ScreenPicture = std::function<COLORREF(int x, int y)>;

// Waits, handling this thread's messages meanwhile (Wine puts a layered window's new image on the
// screen when its thread does), until every pixel of the area is what `expected` says.
inline ::testing::AssertionResult ScreenShows(const RECT& area, const ScreenPicture& expected)
{
    int wrong = 0;
    std::ostringstream first;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(20)) {
        PumpMessages();
        const check::ScreenImage screen = check::ReadScreen(area);
        if (screen.pixels.empty()) continue;
        wrong = 0;
        first.str("");
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const std::uint32_t pixel =
                    screen.pixels[static_cast<std::size_t>(y - area.top) * screen.Width() + (x - area.left)];
                const COLORREF seen = RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
                if (seen == expected(x, y)) continue;
                if (wrong++ == 0)
                    first << std::hex << "first at (" << std::dec << x << ',' << y << "): 0x" << std::hex << seen
                          << " instead of 0x" << expected(x, y);
            }
        }
        if (wrong == 0) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << wrong << " pixels differ, " << first.str();
}

}  // namespace dravel::test
