#include "platform/window_text.h"

namespace platform {

std::string WindowText(HWND window)
{
    // The length may be an overestimate in a DBCS code page; the copy reports the real one.
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace platform
