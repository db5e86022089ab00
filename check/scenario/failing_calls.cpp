#include "check/scenario/failing_calls.h"

#include <malloc.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "check/scenario/import_slots.h"
#include "check/scenario/page_heap.h"
#include "check/scenario/send.h"

namespace check {

namespace {

// One library per scenario process; its wrappers reach this state through here. Only the caller's
// thread during a call is counted: what the library's own threads do is not in step with the calls.
struct Counting {
    DWORD callerThread = 0;
    int ordinal = kNoOrdinal;      // the entry point in progress; kNoOrdinal between calls
    int lastOrdinal = kNoOrdinal;  // the one last called, to blame a misuse on
    std::uint32_t made = 0;        // wrapped calls made during it
    std::vector<CountedCall> counts;
    std::optional<FailurePoint> armedPoint;
    std::optional<FailedCall> armedCall;
    std::optional<FailedCall> failed;
};
Counting g_counting;

// Counts the call and tells whether it is the one to fail.
bool Fails(const char* name)
{
    Counting& c = g_counting;
    if (c.ordinal == kNoOrdinal || GetCurrentThreadId() != c.callerThread) return false;
    ++c.made;
    std::uint32_t occurrence = 1;
    bool counted = false;
    for (CountedCall& count : c.counts)
        if (count.name == name) {
            occurrence = ++count.count;
            counted = true;
        }
    if (!counted) c.counts.push_back({c.ordinal, name, 1});
    const bool fails =
        (c.armedPoint && c.armedPoint->ordinal == c.ordinal && c.armedPoint->at == c.made) ||
        (c.armedCall && c.armedCall->ordinal == c.ordinal && c.armedCall->name == name &&
         c.armedCall->occurrence == occurrence);
    if (!fails) return false;
    c.armedPoint.reset();
    c.armedCall.reset();
    c.failed = FailedCall{c.ordinal, name, occurrence};
    SendFailing(*c.failed);
    return true;
}

template <typename Result>
Result Refused(Result result)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return result;
}

// The real functions, from the library's own slots.
struct Originals {
    decltype(&std::malloc) malloc = nullptr;
    decltype(&std::calloc) calloc = nullptr;
    decltype(&std::realloc) realloc = nullptr;
    decltype(&std::free) free = nullptr;
    decltype(&_msize) msize = nullptr;
    void* (*newScalar)(std::size_t) = nullptr;
    void* (*newArray)(std::size_t) = nullptr;
    decltype(&HeapAlloc) heapAlloc = nullptr;
    decltype(&HeapReAlloc) heapReAlloc = nullptr;
    decltype(&HeapFree) heapFree = nullptr;
    decltype(&HeapSize) heapSize = nullptr;
};
Originals g_real;

// A wrapper is reached only through a slot that held the real function, kept in g_real first;
// what the guarded pages cannot hold comes from the library's own runtime.
void* __cdecl WrappedMalloc(std::size_t size)
{
    if (Fails("malloc")) return errno = ENOMEM, nullptr;
    if (void* block = GuardedAllocate(size, "malloc")) return block;
    return g_real.malloc(size);
}

void* __cdecl WrappedCalloc(std::size_t count, std::size_t size)
{
    if (Fails("calloc") || (size != 0 && count > SIZE_MAX / size)) return errno = ENOMEM, nullptr;
    if (void* block = GuardedAllocate(count * size, "calloc")) return block;
    return g_real.calloc(count, size);
}

void __cdecl WrappedFree(void* block)
{
    if (IsGuarded(block))
        GuardedFree(block);
    else
        g_real.free(block);
}

void* __cdecl WrappedRealloc(void* block, std::size_t size)
{
    if (Fails("realloc")) return errno = ENOMEM, nullptr;
    if (block == nullptr) {
        if (void* fresh = GuardedAllocate(size, "realloc")) return fresh;
    }
    if (!IsGuarded(block)) return g_real.realloc(block, size);
    if (size == 0) return GuardedFree(block), nullptr;
    if (void* moved = GuardedReallocate(block, size, "realloc")) return moved;
    return errno = ENOMEM, nullptr;
}

std::size_t __cdecl WrappedMsize(void* block)
{
    return IsGuarded(block) ? GuardedSize(block) : g_real.msize(block);
}

// The runtime's own operator new, asked for what it cannot give, throws its own std::bad_alloc.
void* __cdecl WrappedNew(std::size_t size)
{
    return g_real.newScalar(Fails("operator new") ? SIZE_MAX : size);
}

void* __cdecl WrappedNewArray(std::size_t size)
{
    return g_real.newArray(Fails("operator new[]") ? SIZE_MAX : size);
}

LPVOID WINAPI WrappedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    if (Fails("HeapAlloc")) {
        if (flags & HEAP_GENERATE_EXCEPTIONS) RaiseException(STATUS_NO_MEMORY, 0, 0, nullptr);
        return nullptr;
    }
    if (void* block = GuardedAllocate(size, "HeapAlloc")) return block;
    return g_real.heapAlloc(heap, flags, size);
}

LPVOID WINAPI WrappedHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size)
{
    if (Fails("HeapReAlloc")) {
        if (flags & HEAP_GENERATE_EXCEPTIONS) RaiseException(STATUS_NO_MEMORY, 0, 0, nullptr);
        return nullptr;
    }
    if (!IsGuarded(block)) return g_real.heapReAlloc(heap, flags, block, size);
    // A guarded block never grows where it is.
    if (flags & HEAP_REALLOC_IN_PLACE_ONLY) return nullptr;
    return GuardedReallocate(block, size, "HeapReAlloc");
}

BOOL WINAPI WrappedHeapFree(HANDLE heap, DWORD flags, LPVOID block)
{
    if (!IsGuarded(block)) return g_real.heapFree(heap, flags, block);
    GuardedFree(block);
    return TRUE;
}

SIZE_T WINAPI WrappedHeapSize(HANDLE heap, DWORD flags, LPCVOID block)
{
    return IsGuarded(block) ? GuardedSize(block) : g_real.heapSize(heap, flags, block);
}

LPVOID WINAPI WrappedVirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protect)
{
    return Fails("VirtualAlloc") ? Refused<LPVOID>(nullptr) : VirtualAlloc(address, size, type, protect);
}

HGLOBAL WINAPI WrappedGlobalAlloc(UINT flags, SIZE_T size)
{
    return Fails("GlobalAlloc") ? Refused<HGLOBAL>(nullptr) : GlobalAlloc(flags, size);
}

HLOCAL WINAPI WrappedLocalAlloc(UINT flags, SIZE_T size)
{
    return Fails("LocalAlloc") ? Refused<HLOCAL>(nullptr) : LocalAlloc(flags, size);
}

ATOM WINAPI WrappedRegisterClassA(const WNDCLASSA* windowClass)
{
    return Fails("RegisterClassA") ? Refused<ATOM>(0) : RegisterClassA(windowClass);
}

ATOM WINAPI WrappedRegisterClassW(const WNDCLASSW* windowClass)
{
    return Fails("RegisterClassW") ? Refused<ATOM>(0) : RegisterClassW(windowClass);
}

ATOM WINAPI WrappedRegisterClassExA(const WNDCLASSEXA* windowClass)
{
    return Fails("RegisterClassExA") ? Refused<ATOM>(0) : RegisterClassExA(windowClass);
}

ATOM WINAPI WrappedRegisterClassExW(const WNDCLASSEXW* windowClass)
{
    return Fails("RegisterClassExW") ? Refused<ATOM>(0) : RegisterClassExW(windowClass);
}

HWND WINAPI WrappedCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                                   int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    if (Fails("CreateWindowExA")) return Refused<HWND>(nullptr);
    return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance, param);
}

HWND WINAPI WrappedCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                                   int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    if (Fails("CreateWindowExW")) return Refused<HWND>(nullptr);
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, param);
}

HDC WINAPI WrappedGetDC(HWND window)
{
    return Fails("GetDC") ? nullptr : GetDC(window);
}

HDC WINAPI WrappedCreateCompatibleDC(HDC dc)
{
    return Fails("CreateCompatibleDC") ? nullptr : CreateCompatibleDC(dc);
}

HBITMAP WINAPI WrappedCreateCompatibleBitmap(HDC dc, int width, int height)
{
    return Fails("CreateCompatibleBitmap") ? nullptr : CreateCompatibleBitmap(dc, width, height);
}

HBITMAP WINAPI WrappedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset)
{
    if (!Fails("CreateDIBSection")) return CreateDIBSection(dc, info, usage, bits, section, offset);
    if (bits) *bits = nullptr;
    return Refused<HBITMAP>(nullptr);
}

HBITMAP WINAPI WrappedCreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return Fails("CreateBitmap") ? nullptr : CreateBitmap(width, height, planes, bitsPerPixel, bits);
}

HBRUSH WINAPI WrappedCreateSolidBrush(COLORREF colour)
{
    return Fails("CreateSolidBrush") ? nullptr : CreateSolidBrush(colour);
}

HANDLE WINAPI WrappedCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                 DWORD disposition, DWORD flags, HANDLE model)
{
    if (Fails("CreateFileA")) return Refused(INVALID_HANDLE_VALUE);
    return CreateFileA(name, access, share, security, disposition, flags, model);
}

HANDLE WINAPI WrappedCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                 DWORD disposition, DWORD flags, HANDLE model)
{
    if (Fails("CreateFileW")) return Refused(INVALID_HANDLE_VALUE);
    return CreateFileW(name, access, share, security, disposition, flags, model);
}

HANDLE WINAPI WrappedLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    return Fails("LoadImageA") ? Refused<HANDLE>(nullptr) : LoadImageA(instance, name, type, width, height, flags);
}

HANDLE WINAPI WrappedLoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags)
{
    return Fails("LoadImageW") ? Refused<HANDLE>(nullptr) : LoadImageW(instance, name, type, width, height, flags);
}

HANDLE WINAPI WrappedCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                                  LPVOID parameter, DWORD flags, LPDWORD id)
{
    if (Fails("CreateThread")) return Refused<HANDLE>(nullptr);
    return CreateThread(security, stack, start, parameter, flags, id);
}

HANDLE WINAPI WrappedCreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL initial, LPCSTR name)
{
    return Fails("CreateEventA") ? Refused<HANDLE>(nullptr) : CreateEventA(security, manual, initial, name);
}

HANDLE WINAPI WrappedCreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL initial, LPCWSTR name)
{
    return Fails("CreateEventW") ? Refused<HANDLE>(nullptr) : CreateEventW(security, manual, initial, name);
}

// An import by name, its wrapper, and where the real function is kept when the wrapper needs it.
struct Wrapper {
    const char* import;
    const void* wrapper;
    void** real = nullptr;
};

template <typename Function>
const void* Address(Function function)
{
    return reinterpret_cast<const void*>(function);
}

template <typename Pointer>
void** Keep(Pointer& pointer)
{
    return reinterpret_cast<void**>(&pointer);
}

// operator new and new[] by the names GCC's and MSVC's runtimes export them under.
const Wrapper kWrappers[] = {
    {"malloc", Address(WrappedMalloc), Keep(g_real.malloc)},
    {"calloc", Address(WrappedCalloc), Keep(g_real.calloc)},
    {"realloc", Address(WrappedRealloc), Keep(g_real.realloc)},
    {"free", Address(WrappedFree), Keep(g_real.free)},
    {"_msize", Address(WrappedMsize), Keep(g_real.msize)},
    {"_Znwm", Address(WrappedNew), Keep(g_real.newScalar)},
    {"_Znwj", Address(WrappedNew), Keep(g_real.newScalar)},
    {"??2@YAPEAX_K@Z", Address(WrappedNew), Keep(g_real.newScalar)},
    {"??2@YAPAXI@Z", Address(WrappedNew), Keep(g_real.newScalar)},
    {"_Znam", Address(WrappedNewArray), Keep(g_real.newArray)},
    {"_Znaj", Address(WrappedNewArray), Keep(g_real.newArray)},
    {"??_U@YAPEAX_K@Z", Address(WrappedNewArray), Keep(g_real.newArray)},
    {"??_U@YAPAXI@Z", Address(WrappedNewArray), Keep(g_real.newArray)},
    {"HeapAlloc", Address(WrappedHeapAlloc), Keep(g_real.heapAlloc)},
    {"HeapReAlloc", Address(WrappedHeapReAlloc), Keep(g_real.heapReAlloc)},
    {"HeapFree", Address(WrappedHeapFree), Keep(g_real.heapFree)},
    {"HeapSize", Address(WrappedHeapSize), Keep(g_real.heapSize)},
    {"VirtualAlloc", Address(WrappedVirtualAlloc)},
    {"GlobalAlloc", Address(WrappedGlobalAlloc)},
    {"LocalAlloc", Address(WrappedLocalAlloc)},
    {"RegisterClassA", Address(WrappedRegisterClassA)},
    {"RegisterClassW", Address(WrappedRegisterClassW)},
    {"RegisterClassExA", Address(WrappedRegisterClassExA)},
    {"RegisterClassExW", Address(WrappedRegisterClassExW)},
    {"CreateWindowExA", Address(WrappedCreateWindowExA)},
    {"CreateWindowExW", Address(WrappedCreateWindowExW)},
    {"GetDC", Address(WrappedGetDC)},
    {"CreateCompatibleDC", Address(WrappedCreateCompatibleDC)},
    {"CreateCompatibleBitmap", Address(WrappedCreateCompatibleBitmap)},
    {"CreateDIBSection", Address(WrappedCreateDIBSection)},
    {"CreateBitmap", Address(WrappedCreateBitmap)},
    {"CreateSolidBrush", Address(WrappedCreateSolidBrush)},
    {"CreateFileA", Address(WrappedCreateFileA)},
    {"CreateFileW", Address(WrappedCreateFileW)},
    {"LoadImageA", Address(WrappedLoadImageA)},
    {"LoadImageW", Address(WrappedLoadImageW)},
    {"CreateThread", Address(WrappedCreateThread)},
    {"CreateEventA", Address(WrappedCreateEventA)},
    {"CreateEventW", Address(WrappedCreateEventW)},
};

void NameMisuse(const std::string& misuse)
{
    const Counting& c = g_counting;
    const int ordinal = c.lastOrdinal;
    SendFinding({Check::kFailingCalls, ordinal, ordinal == kNoOrdinal ? "" : OrdinalLabel(ordinal),
                 misuse + (c.failed ? " " + AfterFailure(*c.failed, ordinal) : "")});
}

}  // namespace

void WrapAcquiringCalls(HMODULE library)
{
    g_counting.callerThread = GetCurrentThreadId();
    WatchGuardedPages(NameMisuse);
    // By the names the library imports, from whichever library: the C runtime's calls come from
    // msvcrt, ucrtbase or its api-ms-win-crt sets.
    ForEachImportSlot(library, [](const char* name, ULONG_PTR& slot) {
        if (name == nullptr) return;
        for (const Wrapper& wrapper : kWrappers) {
            if (std::strcmp(name, wrapper.import) != 0) continue;
            if (wrapper.real != nullptr && *wrapper.real == nullptr) *wrapper.real = reinterpret_cast<void*>(slot);
            PointSlot(slot, wrapper.wrapper);
        }
    });
}

void BeginWrappedCalls(int ordinal)
{
    g_counting.ordinal = g_counting.lastOrdinal = ordinal;
    g_counting.made = 0;
    g_counting.counts.clear();
}

void EndWrappedCalls()
{
    g_counting.ordinal = kNoOrdinal;
}

std::vector<CountedCall> LastCounts()
{
    return g_counting.counts;
}

void ArmFailure(const FailurePoint& point)
{
    g_counting.armedPoint = point;
    g_counting.failed.reset();
}

void ArmFailure(const FailedCall& call)
{
    g_counting.armedCall = call;
    g_counting.failed.reset();
}

void Disarm()
{
    g_counting.armedPoint.reset();
    g_counting.armedCall.reset();
}

std::optional<FailedCall> FailedSinceArmed()
{
    return g_counting.failed;
}

}  // namespace check
