// The window the overlay is shown in.
#pragma once

#include <windows.h>

#include <optional>

#include "dravel/dravel_codes.h"
#include "dravel/overlay_checks.h"
#include "dravel/surface.h"

namespace dravel {

// A popup on the creating thread, hidden until shown: topmost and layered, it lets clicks through
// to what lies beneath, never takes activation and has no task-bar button.
class OverlayWindow {
public:
    // IsMade() tells whether the window could be made.
    explicit OverlayWindow(HINSTANCE module);
    ~OverlayWindow();
    OverlayWindow(const OverlayWindow&) = delete;
    OverlayWindow& operator=(const OverlayWindow&) = delete;

    bool IsMade() const { return m_window != nullptr; }

    // Shows the whole surface stretched to the placement, above the other topmost windows. On
    // failure the window keeps the image and place it had.
    Code Show(const Surface& surface, const Placement& placement);
    // The same for the surface already shown: when the size stays, the window keeps its image and
    // only moves, whatever the surface's size.
    Code Move(const Surface& surface, const Placement& placement);
    void Hide();

private:
    Code Present(HDC image, const Placement& placement);

    HINSTANCE m_module;
    HWND m_window;
    std::optional<Placement> m_shown;  // where the window's image is, empty while hidden
};

}  // namespace dravel
