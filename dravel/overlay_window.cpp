#include "dravel/overlay_window.h"

#include <utility>

namespace dravel {

namespace {

constexpr char kClassName[] = "DravelOverlay";

// The bounds of all screens together.
RECT ScreenBounds()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The part of a window at the placement that lies within the screen's bounds, in window
// coordinates; empty when none does.
RECT VisiblePart(const Placement& placement, const RECT& screen)
{
    const RECT window{placement.x, placement.y, placement.x + placement.width, placement.y + placement.height};
    RECT part{};
    if (IntersectRect(&part, &window, &screen)) OffsetRect(&part, -placement.x, -placement.y);
    return part;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    RECT both{};
    return IsRectEmpty(&inner) || (IntersectRect(&both, &outer, &inner) && EqualRect(&both, &inner));
}

// Puts the window at the placement above topmost windows that came later, without activating it;
// `flags` may add SWP_NOMOVE or SWP_NOSIZE.
bool PlaceOnTop(HWND window, const Placement& placement, UINT flags)
{
    return SetWindowPos(window, HWND_TOPMOST, placement.x, placement.y, placement.width, placement.height,
                        flags | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

OverlayWindow::OverlayWindow(HINSTANCE module) : m_module(module), m_window(nullptr)
{
    // The class keeps the system's procedure and only this window gets ours, so a window that
    // outlives the library (freed from another thread, which cannot destroy it) calls no
    // unloaded code once the destructor has given it the system's back.
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
    m_window = CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                               kClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, module, nullptr);
    if (!m_window) return;
    // Opaque as a whole and painted on WM_PAINT, so the system holds no more of the window than
    // lies on the screen. UpdateLayeredWindow would instead take, and copy, an image of the whole
    // window however little of it is on the screen.
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (!SetLayeredWindowAttributes(m_window, 0, 255, LWA_ALPHA) ||
        !SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure))) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
}

OverlayWindow::~OverlayWindow()
{
    if (m_window) {
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
        DestroyWindow(m_window);
    }
    UnregisterClassA(kClassName, m_module);
}

// The image is drawn before anything changes, so a failure leaves the window as it was; once it
// is placed, it is painted before the call returns.
Code OverlayWindow::Show(const Surface& surface, const Placement& placement)
{
    m_screen = ScreenBounds();
    WindowImage image;
    if (const Code code =
            DrawWindowImage(surface, {placement.width, placement.height}, VisiblePart(placement, m_screen), image);
        code != kOk)
        return code;
    std::swap(m_image, image);
    if (!PlaceOnTop(m_window, placement, 0)) {
        std::swap(m_image, image);
        return kWindowFailed;
    }
    m_shown = placement;
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return kOk;
}

Code OverlayWindow::Move(const Surface& surface, const Placement& placement)
{
    if (!m_shown || m_shown->width != placement.width || m_shown->height != placement.height ||
        !Contains(m_image.part, VisiblePart(placement, m_screen)))
        return Show(surface, placement);
    // The system keeps what was painted, so the window only moves.
    if (!PlaceOnTop(m_window, placement, SWP_NOSIZE)) return kWindowFailed;
    m_shown = placement;
    return kOk;
}

void OverlayWindow::Hide()
{
    ShowWindow(m_window, SW_HIDE);
    m_shown.reset();
    m_image = {};
}

LRESULT CALLBACK OverlayWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<OverlayWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            self->Paint();
            return 0;
        case WM_DISPLAYCHANGE:
            self->m_screen = ScreenBounds();
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// What lies off the screen is left unpainted.
void OverlayWindow::Paint()
{
    PAINTSTRUCT paint;
    const HDC window = BeginPaint(m_window, &paint);
    const UniqueMemoryDc imageDc{CreateCompatibleDC(window)};
    if (window && imageDc && m_image.bitmap) {
        const Selection imageSelection(imageDc.get(), m_image.bitmap.get());
        const RECT& part = m_image.part;
        BitBlt(window, part.left, part.top, part.right - part.left, part.bottom - part.top, imageDc.get(), 0, 0,
               SRCCOPY);
    }
    EndPaint(m_window, &paint);
}

}  // namespace dravel
