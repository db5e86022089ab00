// The critical sections of the library's that some thread holds: read in its image's writable
// sections and in the blocks they point to. A lock left held across a return to the caller (or
// by a thread that has ended) blocks the next thread that enters it; this names it, with its
// owner, where a hang alone would say nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace check {

struct HeldLock {
    std::uintptr_t address;
    bool inImage;           // else in a block the image points to
    std::uintptr_t offset;  // in the image, when inImage
    DWORD owner;            // the owning thread's id
    LONG recursion;         // how many more times the owner entered it than it left it
};

// Held by any thread but `waiting`, the thread blocked on one of them.
std::vector<HeldLock> HeldLocks(HMODULE library, DWORD waiting);

// "a critical section held by the caller's thread, entered 12 times more than left, in its image
// at offset 0x4030"; `caller` is the thread the calls before ran on.
std::string HeldLockText(const HeldLock& lock, DWORD caller);

}  // namespace check
