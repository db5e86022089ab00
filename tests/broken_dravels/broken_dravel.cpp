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
//   POST_QUIT         posts WM_QUIT to the caller's thread in Open.
//   CHANGE_DIR        changes the current directory in Open.
//   LEAK_HANDLE       leaks an event per Open.
//   LEAK_THREAD       leaks a waiting thread per Open.
//   THROW_CPP         throws a C++ exception out of Set & show.
//   REFUSE_LOAD       its DllMain refuses to load.
//   HANG_LOAD         its DllMain never returns from loading.
//   CRASH_LOAD        its DllMain crashes while loading.
//   HANG_UNLOAD       its DllMain never returns from unloading at the process's end (FreeLibrary
//                     returns).
//   THREAD_TIMER      sets a thread timer (no window) in Open that Close never kills.
//   KEEP_HOOK         sets a WH_GETMESSAGE hook on the caller's thread in Open, never removed.
//   EXCEPTION_FILTER  replaces the process's unhandled-exception filter in Open.
//   CLIP_CURSOR       confines the mouse in Open and never frees it.
//   CAPTURE_MOUSE     takes the mouse capture for a hidden window of its own in Set & show.
//   DISPATCH_MESSAGES dispatches the caller's queued messages inside Set & show.
//   READ_AFTER_CALL   keeps the rectangle record and reads it from its window procedure.
//   OVERRUN_HEAP      writes past the end of a heap block of its own in Open.
//   POST_CLOSE        posts WM_CLOSE to the caller's active window in Set & show.
//   SUBCLASS_CALLER   replaces the window procedure of the caller's active window in Open and
//                     never puts it back.
//   KEEP_CLIPBOARD    opens the clipboard in Open and never closes it.
//   DLL_DIRECTORY     sets a DLL directory in Open and never restores it.
//   RAISE_PRIORITY    raises the caller thread's priority to time-critical in Open.
//   PRIORITY_CLASS    raises the process's priority class to high in Open.
//   DROP_FOCUS        takes the keyboard focus from the caller's window to no window in Set & show.
//   DRAW_ON_SCREEN    paints the rectangle straight onto the screen in Set & show, with no window
//                     of its own, and never paints it away.
//   UNLOAD_SELF       Close frees the library's own module, returning straight from FreeLibrary.
//   LEAK_TLS          leaks a TLS slot per Open.
//   LEAK_FLS          leaks an FLS slot per Open.
//   HOLD_LOCK         Open enters a critical section that nothing leaves.
//   SEH_CHAIN         i686: Open returns with the thread's exception-handler chain (fs:[0])
//                     pointing at a record in its own, dead, stack frame.
//   OVERRUN_MALLOC    writes 8 bytes past the end of a 24-byte malloc block in Open, where the
//                     heap's own slack hides it from the heap's validation.
//   UNCHECKED_ALLOC   writes to its malloc block (Open) and its HeapAlloc block (Set & show)
//                     without checking that it got them.
//   UNCHECKED_WINDOW  uses the window CreateWindowExA gave in Open without checking it.
//   CAREFUL_CALLS     the work of the two above, each call checked: refused, it cleans up and
//                     returns 0x20. It passes every check.
//   DO_NOTHING        nothing: it passes every check.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "overlay/overlay_api.h"

// The libraries that keep a surface state of their own between calls, and those of them that make
// a window for it.
#if defined(UNCHECKED_ALLOC) || defined(UNCHECKED_WINDOW) || defined(CAREFUL_CALLS)
#define KEEPS_STATE
#endif
#if defined(UNCHECKED_WINDOW) || defined(CAREFUL_CALLS)
#define MAKES_STATE_WINDOW
#endif

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

// The library's own image, as the linker places it.
extern "C" IMAGE_DOS_HEADER __ImageBase;

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

#if defined(READ_AFTER_CALL) || defined(CAPTURE_MOUSE)
const OverlayRect* g_keptRect = nullptr;

LRESULT CALLBACK ReadKeptRect(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP && g_keptRect != nullptr)
        static_cast<void>(*static_cast<const volatile std::uint32_t*>(&g_keptRect->startX));
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden window of the library's own, made once.
HWND OwnWindow()
{
    static HWND window = nullptr;
    if (window == nullptr) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ReadKeptRect;
        windowClass.hInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
        windowClass.lpszClassName = "BrokenDravelOwnWindow";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
    }
    return window;
}
#endif

#if defined(KEEPS_STATE)
// The state an open library keeps: a malloc block, and a hidden window that points at it.
struct State {
    HWND window;
    int shown;
};
State* g_state = nullptr;
constexpr char kStateClass[] = "BrokenDravelState";
constexpr OverlayResult kRefused = 0x20;

OverlayResult OpenState()
{
    if (g_state != nullptr) return 0;
    g_state = static_cast<State*>(std::malloc(sizeof(State)));
#if !defined(UNCHECKED_ALLOC)
    if (g_state == nullptr) return kRefused;
#endif
    g_state->window = nullptr;
    g_state->shown = 0;
#if defined(MAKES_STATE_WINDOW)
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
    windowClass.lpszClassName = kStateClass;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        std::free(g_state);
        g_state = nullptr;
        return kRefused;
    }
    g_state->window = CreateWindowExA(WS_EX_TOOLWINDOW, kStateClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
#if defined(CAREFUL_CALLS)
    if (g_state->window == nullptr) {
        UnregisterClassA(kStateClass, windowClass.hInstance);
        std::free(g_state);
        g_state = nullptr;
        return kRefused;
    }
#endif
    SetWindowLongPtrA(g_state->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(g_state));
#endif
    return 0;
}

// Marks the state shown through the window's pointer to it, and copies the rectangle into a heap
// block of its own.
OverlayResult ShowState(const OverlayRect* rect)
{
    if (g_state == nullptr) return kRefused;
#if defined(MAKES_STATE_WINDOW)
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(g_state->window, GWLP_USERDATA));
#if defined(CAREFUL_CALLS)
    if (state == nullptr) return kRefused;
#endif
    state->shown = 1;
#endif
    auto* copy = static_cast<OverlayRect*>(HeapAlloc(GetProcessHeap(), 0, sizeof(OverlayRect)));
#if !defined(UNCHECKED_ALLOC)
    if (copy == nullptr) return kRefused;
#endif
    *copy = *rect;
    HeapFree(GetProcessHeap(), 0, copy);
    return 0;
}

void CloseState()
{
    if (g_state == nullptr) return;
    if (g_state->window != nullptr) DestroyWindow(g_state->window);
    UnregisterClassA(kStateClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
    std::free(g_state);
    g_state = nullptr;
}
#endif

#if defined(THREAD_TIMER)
void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {}
#endif

#if defined(KEEP_HOOK)
LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
#endif

#if defined(EXCEPTION_FILTER)
LONG WINAPI OnUnhandled(EXCEPTION_POINTERS*)
{
    return EXCEPTION_CONTINUE_SEARCH;
}
#endif

#if defined(SUBCLASS_CALLER)
WNDPROC g_callerProcedure = nullptr;

LRESULT CALLBACK Subclassed(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_callerProcedure, window, message, wParam, lParam);
}
#endif

#if defined(HOLD_LOCK)
CRITICAL_SECTION g_lock;
bool g_lockMade = false;
#endif

#if defined(SEH_CHAIN)
EXCEPTION_DISPOSITION __cdecl NoHandler(EXCEPTION_RECORD*, void*, CONTEXT*, void*)
{
    return ExceptionContinueSearch;
}

// Links a record of this frame at the chain's head and returns without taking it off again.
__attribute__((noinline)) void LeaveHandlerRecord()
{
    struct {
        void* next;
        void* handler;
    } volatile record;
    void* head = nullptr;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(head));
    record.next = head;
    record.handler = reinterpret_cast<void*>(NoHandler);
    __asm__ volatile("movl %0, %%fs:0" : : "r"(&record) : "memory");
}
#endif

}  // namespace

#if defined(REFUSE_LOAD) || defined(HANG_LOAD) || defined(CRASH_LOAD) || defined(HANG_UNLOAD)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
#if defined(HANG_LOAD)
    if (reason == DLL_PROCESS_ATTACH) Sleep(INFINITE);
#endif
#if defined(CRASH_LOAD)
    if (reason == DLL_PROCESS_ATTACH) *static_cast<volatile int*>(nullptr) = 0;
#endif
#if defined(HANG_UNLOAD)
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr) Sleep(INFINITE);
#else
    static_cast<void>(reserved);
#endif
#if defined(REFUSE_LOAD)
    return reason != DLL_PROCESS_ATTACH;
#else
    return TRUE;
#endif
}
#endif

#if defined(LEAK_THREAD)
DWORD WINAPI WaitForever(LPVOID)
{
    Sleep(INFINITE);
    return 0;
}
#endif

ENTRY(OverlayOpen, void)
{
#if defined(POST_QUIT)
    PostQuitMessage(0);
#endif
#if defined(CHANGE_DIR)
    SetCurrentDirectoryA("C:\\");
#endif
#if defined(LEAK_HANDLE)
    CreateEventA(nullptr, TRUE, FALSE, nullptr);
#endif
#if defined(LEAK_THREAD)
    CloseHandle(CreateThread(nullptr, 0, WaitForever, nullptr, 0, nullptr));
#endif
#if defined(THREAD_TIMER)
    SetTimer(nullptr, 0, 10, OnTimer);
#endif
#if defined(KEEP_HOOK)
    SetWindowsHookExA(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId());
#endif
#if defined(EXCEPTION_FILTER)
    SetUnhandledExceptionFilter(OnUnhandled);
#endif
#if defined(CLIP_CURSOR)
    const RECT clip{0, 0, 100, 100};
    ClipCursor(&clip);
#endif
#if defined(OVERRUN_HEAP)
    auto* block = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), 0, 24));
    std::memset(block, 0x5A, 64);  // past its end, over what follows it
#endif
#if defined(SUBCLASS_CALLER)
    if (const HWND caller = GetActiveWindow()) {
        const auto previous =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(caller, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclassed)));
        if (previous != Subclassed) g_callerProcedure = previous;
    }
#endif
#if defined(KEEP_CLIPBOARD)
    OpenClipboard(nullptr);
#endif
#if defined(DLL_DIRECTORY)
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    SetDllDirectoryA(temp);
#endif
#if defined(RAISE_PRIORITY)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
#endif
#if defined(PRIORITY_CLASS)
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
#endif
#if defined(LEAK_TLS)
    TlsAlloc();
#endif
#if defined(LEAK_FLS)
    FlsAlloc(nullptr);
#endif
#if defined(HOLD_LOCK)
    if (!g_lockMade) {
        InitializeCriticalSection(&g_lock);
        g_lockMade = true;
    }
    EnterCriticalSection(&g_lock);
#endif
#if defined(SEH_CHAIN)
    LeaveHandlerRecord();
#endif
#if defined(OVERRUN_MALLOC)
    // Through volatile, so that the compiler neither drops the block nor sees the overrun.
    static unsigned char* volatile small;
    static volatile std::size_t length = 24 + 8;
    small = static_cast<unsigned char*>(std::malloc(24));
    if (small != nullptr) std::memset(small, 0x5A, length);
    std::free(small);
#endif
#if defined(KEEPS_STATE)
    return OpenState();
#endif
#if defined(CHANGE_FPU)
    unsigned short control;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    control &= ~0x300;  // precision control: 24-bit
    __asm__ volatile("fldcw %0" : : "m"(control));
#endif
    return 0;
}

#if defined(UNLOAD_SELF)
// FreeLibrary on its own module, jumped to with the caller's return address in place: it returns
// straight to the caller, and no code of the unmapped image runs after it.
#if defined(_WIN64)
__asm__(
    ".text\n.globl OverlayClose\nOverlayClose:\n"
    "  leaq __ImageBase(%rip), %rcx\n"
    "  jmp *__imp_FreeLibrary(%rip)\n");
#else
__asm__(
    ".text\n.globl _OverlayClose\n_OverlayClose:\n"
    "  popl %ecx\n"
    "  pushl $___ImageBase\n"
    "  pushl %ecx\n"
    "  jmp *__imp__FreeLibrary@4\n");
#endif
#else
ENTRY(OverlayClose, void)
{
#if defined(HANG_CLOSE)
    Sleep(INFINITE);
#endif
#if defined(KEEPS_STATE)
    CloseState();
#endif
    return 0;
}
#endif

ENTRY(OverlaySetAndShow, const OverlaySurfaceParams* params, const OverlayRect* rect)
{
#if defined(WRITE_RECORD)
    const_cast<OverlaySurfaceParams*>(params)->red = 0;
#endif
#if defined(THROW_CPP)
    throw std::runtime_error("thrown out of Set & show");
#endif
#if defined(CRASH_EMPTY_NAME)
    if (params->bitmapFile[0] == '\0') *static_cast<volatile int*>(nullptr) = 0;
#endif
#if defined(BREAK_CONVENTION) && defined(_WIN64)
    __asm__ volatile("std");
#endif
#if defined(DISPATCH_MESSAGES)
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
#endif
#if defined(READ_AFTER_CALL)
    g_keptRect = rect;
    PostMessageA(OwnWindow(), WM_APP, 0, 0);
#endif
#if defined(CAPTURE_MOUSE)
    SetCapture(OwnWindow());
#endif
#if defined(POST_CLOSE)
    if (const HWND caller = GetActiveWindow()) PostMessageA(caller, WM_CLOSE, 0, 0);
#endif
#if defined(DROP_FOCUS)
    SetFocus(nullptr);
#endif
#if defined(DRAW_ON_SCREEN)
    if (const HDC screen = GetDC(nullptr)) {
        const RECT area{static_cast<LONG>(rect->startX), static_cast<LONG>(rect->startY),
                        static_cast<LONG>(rect->endX), static_cast<LONG>(rect->endY)};
        FillRect(screen, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(nullptr, screen);
    }
#endif
    static_cast<void>(params);
    UseKeptRect(rect);
    ShowOver(rect);
#if defined(KEEPS_STATE)
    return ShowState(rect);
#endif
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
