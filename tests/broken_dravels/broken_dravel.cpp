// Overlay libraries that each break the contract in one way, for DravelCheck's tests; otherwise
// they do nothing and succeed. Built once per fault, with the fault's macro defined:
//   BREAK_CONVENTION  i686: __stdcall (pops its arguments). x86_64 has one calling convention, so
//                     there it leaves the direction flag set instead.
//   WRITE_RECORD      writes into the surface record.
//   KEEP_RECT         keeps the rectangle pointer and reads it on the next call.
//   CHANGE_FPU        leaves the x87 control word at single precision.
//   CRASH_EMPTY_NAME  crashes on an empty file name.
//   HANG_CLOSE        never returns from Close.
//   MISSING_4         exports no ordinal 4 (built with missing4.def).
//   LEAVE_WINDOW      shows a window of one colour over the rectangle, and neither Clear setting
//                     nor Close takes it away (one window for the process, so nothing leaks).
#include <windows.h>

#include "overlay/overlay_api.h"

#if defined(BREAK_CONVENTION) && !defined(_WIN64)
#define CONVENTION __attribute__((stdcall))
#else
#define CONVENTION OVERLAY_CALL
#endif
#define TEXT_OF(x) #x
#define SYMBOL(prefix, name) TEXT_OF(prefix) #name
// An entry point in this build's convention under the plain symbol the .def exports (a __stdcall
// one would otherwise be decorated, and would clash with the header's __cdecl declaration).
#define ENTRY(name, ...)                                                                                        \
    extern "C" OverlayResult CONVENTION Broken##name(__VA_ARGS__) __asm__(SYMBOL(__USER_LABEL_PREFIX__, name)); \
    OverlayResult CONVENTION Broken##name(__VA_ARGS__)

namespace {

void UseKeptRect(const OverlayRect* rect)
{
#if defined(KEEP_RECT)
    static const OverlayRect* kept = nullptr;
    if (kept) static_cast<void>(*static_cast<const volatile std::uint32_t*>(&kept->startX));
    kept = rect;
#endif
    static_cast<void>(rect);
}

// Shows the window over a rectangle of at most 8192 pixels a side; LEAVE_WINDOW only.
void ShowOver(const OverlayRect* rect)
{
#if defined(LEAVE_WINDOW)
    static HWND window = nullptr;
    if (window == nullptr) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = CreateSolidBrush(RGB(0, 160, 80));
        windowClass.lpszClassName = "BrokenDravelLeftWindow";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, windowClass.lpszClassName, "",
                                 WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    if (rect->endX > rect->startX && rect->endY > rect->startY && rect->endX <= 8192 && rect->endY <= 8192)
        SetWindowPos(window, HWND_TOPMOST, rect->startX, rect->startY, rect->endX - rect->startX,
                     rect->endY - rect->startY, SWP_NOACTIVATE | SWP_SHOWWINDOW);
#endif
    static_cast<void>(rect);
}

}  // namespace

ENTRY(OverlayOpen, void)
{
#if defined(CHANGE_FPU)
    unsigned short control;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    control &= ~0x300;  // precision control: 24-bit
    __asm__ volatile("fldcw %0" : : "m"(control));
#endif
    return 0;
}

ENTRY(OverlayClose, void)
{
#if defined(HANG_CLOSE)
    Sleep(INFINITE);
#endif
    return 0;
}

ENTRY(OverlaySetAndShow, const OverlaySurfaceParams* params, const OverlayRect* rect)
{
#if defined(WRITE_RECORD)
    const_cast<OverlaySurfaceParams*>(params)->red = 0;
#endif
#if defined(CRASH_EMPTY_NAME)
    if (params->bitmapFile[0] == '\0') *static_cast<volatile int*>(nullptr) = 0;
#endif
#if defined(BREAK_CONVENTION) && defined(_WIN64)
    __asm__ volatile("std");
#endif
    static_cast<void>(params);
    UseKeptRect(rect);
    ShowOver(rect);
    return 0;
}

#if !defined(MISSING_4)
ENTRY(OverlayMoveAndShow, const OverlayRect* rect)
{
    UseKeptRect(rect);
    ShowOver(rect);
    return 0;
}
#endif

ENTRY(OverlayClearSetting, void)
{
    return 0;
}
