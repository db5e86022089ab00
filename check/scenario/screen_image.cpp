#include "check/scenario/screen_image.h"

#include "check/scenario/thread_messages.h"

namespace check {

bool CanReadScreen()
{
    const HDC screen = GetDC(nullptr);
    const bool readable = screen != nullptr && GetDeviceCaps(screen, BITSPIXEL) != 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return readable;
}

ScreenImage DrawnImage(const RECT& area, const std::function<void(HDC)>& draw)
{
    ScreenImage image{area, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, image.Width(), -image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(nullptr);
    if (bitmap != nullptr && memory != nullptr) {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        draw(memory);
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        image.pixels.assign(first, first + static_cast<std::size_t>(image.Width()) * image.Height());
        for (std::uint32_t& pixel : image.pixels) pixel &= 0xFFFFFF;
        SelectObject(memory, previous);
    }
    if (memory != nullptr) DeleteDC(memory);
    if (bitmap != nullptr) DeleteObject(bitmap);
    return image;
}

ScreenImage ReadScreen(const RECT& area)
{
    return DrawnImage(area, [&area](HDC memory) {
        const HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

ScreenImage SettledScreen(const RECT& area)
{
    constexpr int kLooks = 20;
    constexpr DWORD kPauseMs = 50;
    HandleMessages();
    Sleep(kPauseMs);
    ScreenImage last = ReadScreen(area);
    for (int look = 0; look < kLooks; ++look) {
        HandleMessages();
        Sleep(kPauseMs);
        ScreenImage now = ReadScreen(area);
        if (now.pixels == last.pixels) break;
        last = std::move(now);
    }
    return last;
}

Changes CountChanges(const ScreenImage& before, const ScreenImage& after, const RECT& rect)
{
    Changes changes;
    const int width = before.Width();
    for (std::size_t i = 0; i < before.pixels.size() && i < after.pixels.size(); ++i) {
        const POINT at{before.area.left + static_cast<LONG>(i % width), before.area.top + static_cast<LONG>(i / width)};
        const bool inside = PtInRect(&rect, at) != FALSE;
        changes.insideTotal += inside;
        if (before.pixels[i] != after.pixels[i]) ++(inside ? changes.inside : changes.outside);
    }
    return changes;
}

}  // namespace check
