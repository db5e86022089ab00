// A plain top-level window: the caller's stand-in and the scene's backdrop.
#pragma once

#include <windows.h>

namespace check {

// Registers `className` with `procedure` and shows a top-level window of it at `place`, its
// background `brush` (none for nullptr).
HWND ShowPlainWindow(const char* className, const char* title, DWORD style, DWORD extendedStyle, HBRUSH brush,
                     const RECT& place, WNDPROC procedure = DefWindowProcA);

}  // namespace check
