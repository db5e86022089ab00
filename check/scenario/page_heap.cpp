#include "check/scenario/page_heap.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>

namespace check {

namespace {

constexpr std::size_t kPage = 4096;
// As the C runtime's malloc aligns.
constexpr std::size_t kAlignment = 2 * sizeof(void*);
// Address space reserved at a time, and at most in all: past it the real allocators serve.
constexpr std::size_t kArena = std::size_t{64} << 20;
constexpr std::size_t kMostArenas = 8;

struct Block {
    std::uintptr_t run;   // the first page
    std::uintptr_t user;  // the address given out
    std::size_t size;
    std::size_t pages;  // readable and writable while it lives; the guard page follows them
    const char* allocator;
    bool freed;
};

// Keyed by the first page of each block's run; all under the lock, as the library's threads
// allocate too.
struct Pages {
    SRWLOCK lock = SRWLOCK_INIT;
    std::vector<std::uintptr_t> arenas;
    std::uintptr_t next = 0, end = 0;
    std::map<std::uintptr_t, Block> blocks;
};
Pages g_pages;

class Locked {
public:
    Locked() { AcquireSRWLockExclusive(&g_pages.lock); }
    ~Locked() { ReleaseSRWLockExclusive(&g_pages.lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

// The block whose pages or guard page hold `address`; under the lock.
Block* Owner(std::uintptr_t address)
{
    auto found = g_pages.blocks.upper_bound(address);
    if (found == g_pages.blocks.begin()) return nullptr;
    --found;
    return address < found->first + (found->second.pages + 1) * kPage ? &found->second : nullptr;
}

Block* LiveBlock(const void* user)
{
    Block* block = Owner(reinterpret_cast<std::uintptr_t>(user));
    return block && !block->freed && block->user == reinterpret_cast<std::uintptr_t>(user) ? block : nullptr;
}

std::uintptr_t TakePages(std::size_t pages)
{
    const std::size_t bytes = pages * kPage;
    if (g_pages.end - g_pages.next < bytes) {
        if (g_pages.arenas.size() == kMostArenas || bytes > kArena) return 0;
        void* arena = VirtualAlloc(nullptr, kArena, MEM_RESERVE, PAGE_NOACCESS);
        if (arena == nullptr) return 0;
        g_pages.arenas.push_back(reinterpret_cast<std::uintptr_t>(arena));
        g_pages.next = g_pages.arenas.back();
        g_pages.end = g_pages.next + kArena;
    }
    const std::uintptr_t run = g_pages.next;
    g_pages.next += bytes;
    return run;
}

void (*g_name)(const std::string&) = nullptr;

// The bytes between a block's end and its page's end, which alignment leaves, are filled with this
// and checked when the block is freed: an overrun too short to reach the guard page is named there.
constexpr unsigned char kSlackFill = 0xD5;

std::string BlockText(const Block& block)
{
    return "a " + std::to_string(block.size) + "-byte block it allocated with " + block.allocator;
}

// Names the misuse and ends the process, as a fault in the guard page does.
[[noreturn]] void EndForMisuse(const std::string& misuse, DWORD code)
{
    if (g_name) g_name(misuse);
    TerminateProcess(GetCurrentProcess(), code);
    for (;;) Sleep(INFINITE);
}

LONG CALLBACK OnAccessViolation(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto misuse = GuardedMisuse(reinterpret_cast<const void*>(record.ExceptionInformation[1]),
                                      record.ExceptionInformation[0] == 1);
    if (!misuse) return EXCEPTION_CONTINUE_SEARCH;
    EndForMisuse(*misuse, record.ExceptionCode);
}

}  // namespace

void* GuardedAllocate(std::size_t size, const char* allocator)
{
    const std::size_t rounded = (std::max<std::size_t>(size, 1) + kAlignment - 1) / kAlignment * kAlignment;
    const std::size_t pages = (rounded + kPage - 1) / kPage;
    if (pages == 0 || pages > kArena / kPage) return nullptr;
    const Locked locked;
    const std::uintptr_t run = TakePages(pages + 1);
    if (run == 0 || !VirtualAlloc(reinterpret_cast<void*>(run), pages * kPage, MEM_COMMIT, PAGE_READWRITE))
        return nullptr;
    const std::uintptr_t user = run + pages * kPage - rounded;
    g_pages.blocks[run] = {run, user, size, pages, allocator, false};
    std::memset(reinterpret_cast<unsigned char*>(user) + size, kSlackFill, rounded - size);
    return reinterpret_cast<void*>(user);
}

bool IsGuarded(const void* block)
{
    const Locked locked;
    return LiveBlock(block) != nullptr;
}

std::size_t GuardedSize(const void* block)
{
    const Locked locked;
    const Block* live = LiveBlock(block);
    return live ? live->size : 0;
}

void GuardedFree(void* block)
{
    const Locked locked;
    Block* live = LiveBlock(block);
    if (live == nullptr) return;
    const auto* slack = reinterpret_cast<const unsigned char*>(live->user + live->size);
    const auto* pageEnd = reinterpret_cast<const unsigned char*>(live->run + live->pages * kPage);
    if (std::any_of(slack, pageEnd, [](unsigned char byte) { return byte != kSlackFill; }))
        EndForMisuse("wrote past the end of " + BlockText(*live) + " (found when it was freed)", STATUS_HEAP_CORRUPTION);
    live->freed = true;
    VirtualFree(reinterpret_cast<void*>(live->run), live->pages * kPage, MEM_DECOMMIT);
}

void* GuardedReallocate(void* block, std::size_t size, const char* allocator)
{
    void* moved = GuardedAllocate(size, allocator);
    if (moved == nullptr) return nullptr;
    std::memcpy(moved, block, std::min(size, GuardedSize(block)));
    GuardedFree(block);
    return moved;
}

std::optional<std::string> GuardedMisuse(const void* address, bool write)
{
    const Locked locked;
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    const Block* block = Owner(at);
    if (block == nullptr) return std::nullopt;
    const std::string what = BlockText(*block);
    if (block->freed) return std::string(write ? "wrote to " : "read ") + what + " after freeing it";
    if (at >= block->user + block->size) return std::string(write ? "wrote" : "read") + " past the end of " + what;
    return std::nullopt;
}

void WatchGuardedPages(void (*name)(const std::string& misuse))
{
    if (g_name != nullptr) return;
    g_name = name;
    AddVectoredExceptionHandler(1, OnAccessViolation);
}

}  // namespace check
