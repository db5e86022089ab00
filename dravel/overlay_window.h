// The window the overlay is shown in.
#pragma once

#include <windows.h>

#include <optional>

#include "dravel/dravel_codes.h"
#include "dravel/overlay_checks.h"
#include "dravel/surface.h"
#include "dravel/window_image.h"

namespace dravel {

// A popup on the creating thread, hidden until shown: topmost and layered, it lets clicks through
// to what lies beneath, never takes activation and has no task-bar button. It paints only the
// part of itself that lies on the screen, from an image of that part alone.
class OverlayWindow {
public:
    // IsMade() tells whether the window could be made.
    explicit OverlayWindow(HINSTANCE module);
    ~OverlayWindow();
    OverlayWindow(const OverlayWindow&) = delete;
    OverlayWindow& operator=(const OverlayWindow&) = delete;

    bool IsMade() const { return m_window != nullptr; }

    // Shows the surface stretched to the placement, above the other topmost windows. On failure
    // the window keeps the image and place it had.
    Code Show(const Surface& surface, const Placement& placement);
    // The same for the surface already shown: when the size stays and no part of the window comes
    // into view that its image lacks, the window only moves, whatever the surface's size.
    Code Move(const Surface& surface, const Placement& placement);
    void Hide();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HINSTANCE m_module;
    HWND m_window;
    std::optional<Placement> m_shown;  // where the window is, empty while hidden
    WindowImage m_image;               // what it shows of itself, empty while hidden
    // The screen's bounds, read on Show and when the display changes: Wine takes about a
    // millisecond to tell them, more than a whole move.
    RECT m_screen{};
};

}  // namespace dravel
