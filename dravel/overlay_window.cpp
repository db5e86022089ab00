#include "dravel/overlay_window.h"

namespace dravel {

namespace {

constexpr char kClassName[] = "DravelOverlay";

// Puts the window at the placement's position above topmost windows that came later, without
// activating it; `flags` may add SWP_NOMOVE.
bool PlaceOnTop(HWND window, const Placement& placement, UINT flags)
{
    return SetWindowPos(window, HWND_TOPMOST, placement.x, placement.y, 0, 0,
                        flags | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

OverlayWindow::OverlayWindow(HINSTANCE module) : m_module(module), m_window(nullptr)
{
    // No window procedure of ours: the window only shows what UpdateLayeredWindow hands it, and
    // one that outlives the library (unloaded from another thread) calls no unloaded code.
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
    m_window = CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                               kClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, module, nullptr);
}

OverlayWindow::~OverlayWindow()
{
    if (m_window) DestroyWindow(m_window);
    UnregisterClassA(kClassName, m_module);
}

Code OverlayWindow::Show(const Surface& surface, const Placement& placement)
{
    const UniqueMemoryDc surfaceDc{CreateCompatibleDC(nullptr)};
    if (!surfaceDc) return kOutOfMemory;
    const Selection surfaceSelection(surfaceDc.get(), surface.bitmap.get());
    // At its own size the surface is the image: no copy of it is made.
    if (placement.width == surface.width && placement.height == surface.height)
        return Present(surfaceDc.get(), placement);

    const UniqueBitmap image = CreatePixelBuffer(placement.width, placement.height);
    const UniqueMemoryDc imageDc{CreateCompatibleDC(nullptr)};
    if (!image || !imageDc) return kOutOfMemory;
    const Selection imageSelection(imageDc.get(), image.get());
    // Whole pixels, no blending of neighbours: at 2× each surface pixel becomes a 2×2 block.
    SetStretchBltMode(imageDc.get(), COLORONCOLOR);
    if (!StretchBlt(imageDc.get(), 0, 0, placement.width, placement.height, surfaceDc.get(), 0, 0, surface.width,
                    surface.height, SRCCOPY))
        return kWindowFailed;
    return Present(imageDc.get(), placement);
}

Code OverlayWindow::Move(const Surface& surface, const Placement& placement)
{
    if (!m_shown || m_shown->width != placement.width || m_shown->height != placement.height)
        return Show(surface, placement);
    // The system keeps the image UpdateLayeredWindow handed it, so it only moves.
    if (!PlaceOnTop(m_window, placement, 0)) return kWindowFailed;
    m_shown = placement;
    return kOk;
}

// The image goes to the window as it is; from then on the system keeps its own copy.
Code OverlayWindow::Present(HDC image, const Placement& placement)
{
    const ScreenDc screen;
    POINT position{placement.x, placement.y};
    SIZE size{placement.width, placement.height};
    POINT origin{0, 0};
    // Opaque, so the pixels' alpha does not count where the system honours the flag. Wine shapes
    // the window by it all the same; there the surface's alpha 255 carries over, as Wine's
    // StretchBlt copies it along.
    if (!UpdateLayeredWindow(m_window, screen.get(), &position, &size, image, &origin, 0, nullptr, ULW_OPAQUE))
        return kWindowFailed;
    m_shown = placement;
    return PlaceOnTop(m_window, placement, SWP_NOMOVE) ? kOk : kWindowFailed;
}

void OverlayWindow::Hide()
{
    ShowWindow(m_window, SW_HIDE);
    m_shown.reset();
}

}  // namespace dravel
