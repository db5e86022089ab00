#include "dravel/overlay_window.h"

#include <algorithm>
#include <cstddef>

namespace dravel {

namespace {

constexpr char kClassName[] = "DravelOverlay";
constexpr std::uint32_t kOpaque = 0xFF000000;

}  // namespace

OverlayWindow::OverlayWindow(HINSTANCE module) : module_(module), window_(nullptr)
{
    // No window procedure of ours: the window only shows what UpdateLayeredWindow hands it, and
    // one that outlives the library (unloaded from another thread) calls no unloaded code.
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
    window_ = CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                              kClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, module, nullptr);
}

OverlayWindow::~OverlayWindow()
{
    if (window_) DestroyWindow(window_);
    UnregisterClassA(kClassName, module_);
}

Code OverlayWindow::Show(const Surface& surface, const Placement& placement)
{
    std::uint32_t* pixels = nullptr;
    const UniqueBitmap image = CreatePixelBuffer(placement.width, placement.height, pixels);
    const UniqueMemoryDc imageDc{CreateCompatibleDC(nullptr)};
    const UniqueMemoryDc surfaceDc{CreateCompatibleDC(nullptr)};
    if (!image || !imageDc || !surfaceDc) return kOutOfMemory;

    const Selection imageSelection(imageDc.get(), image.get());
    {
        const Selection surfaceSelection(surfaceDc.get(), surface.bitmap.get());
        // Whole pixels, no blending of neighbours: at 2× each surface pixel becomes a 2×2 block.
        SetStretchBltMode(imageDc.get(), COLORONCOLOR);
        if (!StretchBlt(imageDc.get(), 0, 0, placement.width, placement.height, surfaceDc.get(), 0, 0, surface.width,
                        surface.height, SRCCOPY))
            return kWindowFailed;
    }
    // The window takes per-pixel alpha, and GDI's drawing left every alpha byte at 0.
    GdiFlush();
    std::for_each_n(pixels, static_cast<std::size_t>(placement.width) * static_cast<std::size_t>(placement.height),
                    [](std::uint32_t& pixel) { pixel |= kOpaque; });

    const ScreenDc screen;
    POINT position{placement.x, placement.y};
    SIZE size{placement.width, placement.height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!UpdateLayeredWindow(window_, screen.get(), &position, &size, imageDc.get(), &origin, 0, &blend, ULW_ALPHA))
        return kWindowFailed;
    // Also lifts it above topmost windows that came later, without activating it.
    if (!SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW))
        return kWindowFailed;
    return kOk;
}

void OverlayWindow::Hide()
{
    ShowWindow(window_, SW_HIDE);
}

}  // namespace dravel
