#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The whole text of a window in the system code page, however long it is.
std::string WindowText(HWND window);

}  // namespace platform
