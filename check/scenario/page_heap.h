// The library's own blocks, from the allocation calls DravelCheck wraps, served from guarded pages:
// each block ends at a page boundary with an inaccessible page after it, and a freed block's pages
// become inaccessible and are never given out again in the process. An overrun or a use after free
// then faults at the instruction that made it, and the fault is named with the block.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace check {

// A block of `size` bytes, zeroed, for the wrapped call `allocator`; nullptr when the guarded pages
// are used up (the caller then asks the real allocator).
void* GuardedAllocate(std::size_t size, const char* allocator);
bool IsGuarded(const void* block);
// Of a block IsGuarded.
std::size_t GuardedSize(const void* block);
void GuardedFree(void* block);
// A new guarded block with the old one's bytes (as many as fit), the old one freed; nullptr, the
// old one kept, when the pages are used up.
void* GuardedReallocate(void* block, std::size_t size, const char* allocator);

// What an access at `address` did to a guarded block ("wrote past the end of a 24-byte block it
// allocated with malloc"); nullopt for an address no guarded block owns.
std::optional<std::string> GuardedMisuse(const void* address, bool write);

// Names an access violation in a guarded page with `name(misuse)`, then ends the process with the
// exception's code; once per process.
void WatchGuardedPages(void (*name)(const std::string& misuse));

}  // namespace check
