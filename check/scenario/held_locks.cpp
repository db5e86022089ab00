#include "check/scenario/held_locks.h"

#include <algorithm>

#include "check/numbers.h"

namespace check {

namespace {

// Readable bytes from `address`, up to `size`; 0 where it is not readable memory.
std::size_t Readable(std::uintptr_t address, std::size_t size)
{
    MEMORY_BASIC_INFORMATION region{};
    if (address < 0x10000 || VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof region) == 0)
        return 0;
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (region.State != MEM_COMMIT || !(region.Protect & kReadable) || (region.Protect & PAGE_GUARD)) return 0;
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    return std::min<std::size_t>(size, end - address);
}

bool ThreadAlive(DWORD id)
{
    const HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (thread == nullptr) return false;
    DWORD code = 0;
    const bool alive = GetProcessIdOfThread(thread) == GetCurrentProcessId() && GetExitCodeThread(thread, &code) &&
                       code == STILL_ACTIVE;
    CloseHandle(thread);
    return alive;
}

// Whether `address` holds a critical section some thread but `waiting` owns. Its debug record
// points back at it where the platform keeps one; where it keeps none (-1), the owner must be a
// live thread of this process, which random data hardly is.
bool IsHeld(std::uintptr_t address, DWORD waiting)
{
    const auto* section = reinterpret_cast<const RTL_CRITICAL_SECTION*>(address);
    const auto owner = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(section->OwningThread));
    if (owner == 0 || owner == waiting || section->RecursionCount < 1 || section->RecursionCount > (1 << 24))
        return false;
    const auto debug = reinterpret_cast<std::uintptr_t>(section->DebugInfo);
    if (debug == ~std::uintptr_t{0}) return ThreadAlive(owner);
    return Readable(debug, sizeof(RTL_CRITICAL_SECTION_DEBUG)) == sizeof(RTL_CRITICAL_SECTION_DEBUG) &&
           reinterpret_cast<const RTL_CRITICAL_SECTION_DEBUG*>(debug)->CriticalSection == section;
}

// The aligned places of [from, from + size) where a whole critical section fits.
template <typename Visit>
void EachPlace(std::uintptr_t from, std::size_t size, Visit visit)
{
    for (std::uintptr_t at = from; at + sizeof(RTL_CRITICAL_SECTION) <= from + size; at += sizeof(void*)) visit(at);
}

// How much of a block an image's pointer leads to is searched: a lock in a small state record.
constexpr std::size_t kPointedBlock = 256;

}  // namespace

std::vector<HeldLock> HeldLocks(HMODULE library, DWORD waiting)
{
    std::vector<HeldLock> held;
    const auto base = reinterpret_cast<std::uintptr_t>(library);
    const auto* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(library)->e_lfanew);
    const std::uintptr_t imageEnd = base + headers->OptionalHeader.SizeOfImage;
    const auto note = [&](std::uintptr_t at, bool inImage) {
        if (!IsHeld(at, waiting) ||
            std::any_of(held.begin(), held.end(), [at](const HeldLock& seen) { return seen.address == at; }))
            return;
        const auto* section = reinterpret_cast<const RTL_CRITICAL_SECTION*>(at);
        held.push_back({at, inImage, inImage ? at - base : 0,
                        static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(section->OwningThread)),
                        section->RecursionCount});
    };
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
    for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section) {
        if (!(section->Characteristics & IMAGE_SCN_MEM_WRITE)) continue;
        const std::uintptr_t from = base + section->VirtualAddress;
        const std::size_t size = Readable(from, section->Misc.VirtualSize);
        EachPlace(from, size, [&](std::uintptr_t at) { note(at, true); });
        for (std::uintptr_t at = from; at + sizeof(void*) <= from + size; at += sizeof(void*)) {
            const std::uintptr_t pointed = *reinterpret_cast<const std::uintptr_t*>(at);
            if (pointed % sizeof(void*) != 0 || (pointed >= base && pointed < imageEnd)) continue;
            EachPlace(pointed, Readable(pointed, kPointedBlock), [&](std::uintptr_t in) { note(in, false); });
        }
    }
    return held;
}

std::string HeldLockText(const HeldLock& lock, DWORD caller)
{
    const std::string where = lock.inImage ? "in its image at offset " + Hex(static_cast<unsigned>(lock.offset))
                                           : "in a block its image points to";
    const std::string owner = lock.owner == caller      ? "the caller's thread"
                              : ThreadAlive(lock.owner) ? "thread " + std::to_string(lock.owner) + " of the process"
                                                        : "thread " + std::to_string(lock.owner) + ", which has ended";
    return "a critical section held by " + owner + ", entered " + std::to_string(lock.recursion) +
           (lock.recursion == 1 ? " time" : " times") + " more than left, " + where;
}

}  // namespace check
