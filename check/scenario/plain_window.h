// A plain top-level window: the caller's stand-in and the scene's backdrop; and a message-only one
// that stands for nothing.
#pragma once

#include <windows.h>

namespace check {

// Registers `className` with `procedure` and shows a top-level window of it at `place`, its
// background `brush` (none for nullptr).
HWND ShowPlainWindow(const char* className, const char* title, DWORD style, DWORD extendedStyle, HBRUSH brush,
                     const RECT& place, WNDPROC procedure = DefWindowProcA);

// A window of the scenario's own while it lives, so the process always has one to count and a
// count of 0 can only mean a failed count.
class CountedWindow {
public:
    CountedWindow();
    ~CountedWindow();
    CountedWindow(const CountedWindow&) = delete;
    CountedWindow& operator=(const CountedWindow&) = delete;

private:
    HWND m_window;
};

}  // namespace check
