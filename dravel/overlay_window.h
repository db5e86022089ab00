// The window the overlay is shown in.
#pragma once

#include <windows.h>

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

    bool IsMade() const { return window_ != nullptr; }

    // Shows the whole surface stretched to the placement, above the other topmost windows. On
    // failure the window keeps the image and place it had.
    Code Show(const Surface& surface, const Placement& placement);
    void Hide();

private:
    HINSTANCE module_;
    HWND window_;
};

}  // namespace dravel
