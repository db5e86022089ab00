// What this process holds of the platform: GDI objects, USER objects (or windows), private
// memory, kernel handles, threads, and thread- and fiber-local storage slots. Counted so that it
// works under Wine too, where GetGuiResources, PrivateUsage and GetProcessHandleCount return 0. A
// count of 0 means the method failed, never that nothing is there.
#pragma once

#include <cstddef>

namespace process {

struct Usage {
    std::size_t gdiObjects;
    // USER objects; where the platform cannot count them, the process's windows.
    std::size_t userObjects;
    // Committed private memory the process has touched.
    std::size_t privateBytes;
    std::size_t kernelHandles;
    std::size_t threads;
    // Thread-local and fiber-local storage slots taken, up to the first free one.
    std::size_t tlsSlots;
    std::size_t flsSlots;
};

// Counted once this thread has taken the messages sent to it, as a message loop would have.
Usage UsageNow();

// Taken once the object counts hold still: a dialog that has just gone lets go of a few GDI
// objects a moment later.
Usage SettledUsage();

// Takes only the messages other threads sent to this one (the system's news among them), leaving
// the posted ones queued.
void TakeSentMessages();

}  // namespace process
