#include "process/usage.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>

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

Usage UsageNow()
{
    return {GdiObjectCount(), UserObjectCount(), PrivateBytes()};
}

}  // namespace

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
