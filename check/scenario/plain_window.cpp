#include "check/scenario/plain_window.h"

namespace check {

HWND ShowPlainWindow(const char* className, const char* title, DWORD style, DWORD extendedStyle, HBRUSH brush,
                     const RECT& place, WNDPROC procedure)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(extendedStyle, className, title, style | WS_VISIBLE, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, nullptr, nullptr, windowClass.hInstance,
                           nullptr);
}

}  // namespace check
