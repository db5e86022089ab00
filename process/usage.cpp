#include "process/usage.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

namespace process {

namespace {

// One row of Wine's GDI handle table, the same in 32- and 64-bit processes; a free row has type 0.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);

// Wine leaves GetGuiResources unimplemented (it returns 0). Its GDI handle table is private to
// the process and found, as on Windows, through the PEB, so the used rows are the process's
// objects. 0 where the table cannot be found: no count, not "no objects".
std::size_t CountGdiHandleTable()
{
    PROCESS_BASIC_INFORMATION process{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0)
        return 0;
    const auto* peb = reinterpret_cast<const unsigned char*>(process.PebBaseAddress);
    constexpr std::size_t kTableAt = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB.GdiSharedHandleTable
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + kTableAt);
    MEMORY_BASIC_INFORMATION region{};
    if (table == nullptr || VirtualQuery(table, &region, sizeof region) == 0) return 0;
    const std::size_t rows = (reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize -
                              reinterpret_cast<std::uintptr_t>(table)) /
                             sizeof(GdiHandleEntry);
    std::size_t used = 0;
    for (std::size_t i = 0; i < rows; ++i)
        if (table[i].type != 0) ++used;
    return used;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<std::size_t*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<std::size_t*>(count);
    EnumChildWindows(window, CountChild, count);  // every descendant, not only the children
    return TRUE;
}

// Wine cannot count USER objects either. Windows are what a dialog leaks when it leaves
// something open: the top-level ones with their children, and the message-only ones.
std::size_t CountWindows()
{
    std::size_t count = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) ++count;
    }
    return count;
}

std::size_t GdiObjectCount()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    return CountGdiHandleTable();
}

std::size_t UserObjectCount()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return count;
    return CountWindows();
}

std::size_t PrivateBytes()
{
    // Wine reports PrivateUsage as 0; PagefileUsage follows the committed private memory.
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PagefileUsage;
}

// One row of the system's handle list (SystemHandleInformation, class 16).
struct SystemHandle {
    USHORT process;
    USHORT backTrace;
    UCHAR type;
    UCHAR attributes;
    USHORT handle;
    PVOID object;
    ULONG access;
};

// Wine's GetProcessHandleCount returns 0; the system's handle list holds every process's handles
// with their owner.
std::size_t CountSystemHandles()
{
    constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    constexpr NTSTATUS kTooSmall = static_cast<NTSTATUS>(0xC0000004);
    std::vector<ULONG_PTR> buffer(1 << 16);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size() * sizeof buffer[0]), nullptr)) ==
               kTooSmall &&
           buffer.size() < (1u << 24))
        buffer.resize(buffer.size() * 2);
    if (status != 0) return 0;
    const ULONG rows = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* row = reinterpret_cast<const SystemHandle*>(buffer.data() + 1);
    std::size_t own = 0;
    for (ULONG i = 0; i < rows; ++i)
        if (row[i].process == static_cast<USHORT>(GetCurrentProcessId())) ++own;
    return own;
}

std::size_t KernelHandleCount()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return count;
    return CountSystemHandles();
}

std::size_t ThreadCount()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    std::size_t count = 0;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// A slot of each kind this process holds while it counts, taken first: the first free slot is
// then past it, and 0 can only mean a failed count.
DWORD g_ownTls = TLS_OUT_OF_INDEXES;
DWORD g_ownFls = FLS_OUT_OF_INDEXES;

// Slots are handed out lowest first, so the first free one counts those taken below it: a slot
// leaked per cycle moves it on by one per cycle. Asked by taking it and giving it back at once,
// which leaves every other slot free for whoever needs one meanwhile.
template <typename Free>
std::size_t FirstFreeSlot(DWORD& own, DWORD (*take)(), Free give, DWORD none)
{
    if (own == none) own = take();
    const DWORD slot = take();
    if (own == none || slot == none) return 0;
    give(slot);
    return slot;
}

DWORD TakeTls()
{
    return TlsAlloc();
}

DWORD TakeFls()
{
    return FlsAlloc(nullptr);
}

}  // namespace

void TakeSentMessages()
{
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

Usage UsageNow()
{
    // Taken as a host's message loop takes them: Wine holds a cursor clip with a message-only
    // window of the clipping thread and destroys the window of an earlier clip only when that
    // thread takes the message that says so.
    TakeSentMessages();
    return {GdiObjectCount(),
            UserObjectCount(),
            PrivateBytes(),
            KernelHandleCount(),
            ThreadCount(),
            FirstFreeSlot(g_ownTls, TakeTls, TlsFree, TLS_OUT_OF_INDEXES),
            FirstFreeSlot(g_ownFls, TakeFls, FlsFree, FLS_OUT_OF_INDEXES)};
}

Usage SettledUsage()
{
    Usage usage = UsageNow();
    for (int tries = 0; tries < 20; ++tries) {
        Sleep(50);
        const Usage again = UsageNow();
        if (again.gdiObjects == usage.gdiObjects && again.userObjects == usage.userObjects) return again;
        usage = again;
    }
    return usage;
}

}  // namespace process
