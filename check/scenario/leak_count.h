// The process's counts a run of calls may leak: GDI objects, windows, private bytes, kernel
// handles and threads, each with what a long run may leave behind on this platform.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "process/usage.h"

namespace check {

// Wine's own caches move a little; a leak of one object or one small surface per cycle goes far
// past these.
inline constexpr std::size_t kPrivateAllowance = 4 << 20;

struct WatchedCount {
    const char* name;
    std::size_t process::Usage::*count;
    std::size_t allowance;
};
inline constexpr WatchedCount kWatchedCounts[] = {
    {"GDI objects", &process::Usage::gdiObjects, 8},
    {"windows", &process::Usage::userObjects, 1},
    {"private", &process::Usage::privateBytes, kPrivateAllowance},
    {"kernel handles", &process::Usage::kernelHandles, 8},
    {"threads", &process::Usage::threads, 1},
    {"TLS slots", &process::Usage::tlsSlots, 4},
    {"FLS slots", &process::Usage::flsSlots, 4},
};

std::string Kilobytes(std::size_t bytes);
// The count as the reports show it: private bytes in KB, the others as they are.
std::string CountText(const WatchedCount& watched, std::size_t value);

// Whether an object count grew by one object per cycle done, past its allowance: a leak however
// the cycles go on. Private bytes are never taken for certain early: a cache may still be filling.
bool LeakCertain(const process::Usage& before, const process::Usage& now, std::size_t cycles);

// The counts after the cycles. On a busy machine what the last Close let go of can show a moment
// later; a count past its allowance is read again a few times and the lowest taken. A leak per
// cycle stays whatever the wait.
process::Usage LowestAfter(const process::Usage& before);

// A window of our own while it lives, so the process always has one to count and 0 can only mean a
// failed count.
class CountedWindow {
public:
    CountedWindow();
    ~CountedWindow() { DestroyWindow(m_window); }
    CountedWindow(const CountedWindow&) = delete;
    CountedWindow& operator=(const CountedWindow&) = delete;

private:
    HWND m_window;
};

}  // namespace check
