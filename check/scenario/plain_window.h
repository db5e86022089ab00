// A top-level window with the system's window procedure: the caller's stand-in and the scene's
// backdrop.
#pragma once

#include <windows.h>

namespace check {

// Registers `className` with the system's window procedure and shows a top-level window of it at
// `place`, its background `brush` (none for nullptr).
HWND ShowPlainWindow(const char* className, const char* title, DWORD style, DWORD extendedStyle, HBRUSH brush,
                     const RECT& place);

}  // namespace check
