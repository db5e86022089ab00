#pragma once

#include <windows.h>

namespace fw {

// Centres a window over its owner, or in the work area of its monitor when it has no visible
// owner, and keeps it inside that work area.
void CentreWindow(HWND window);

}  // namespace fw
