#include "check/scenario/second_thread.h"

#include <windows.h>

#include "check/scenario/checked_library.h"
#include "check/scenario/held_locks.h"
#include "check/scenario/scenario_process.h"
#include "check/scenario/send.h"
#include "check/scenario/thread_messages.h"

namespace check {

namespace {

// Long for any one call; well within the 5 s after which the checking process takes the call for
// hung, so that this names it first.
constexpr DWORD kCallLimitMs = 3000;
constexpr char kWhere[] = "on a second thread after the cycles";

struct SecondLifecycle {
    CheckedLibrary& library;
    const CallInput& input;
    volatile LONG ordinal = 0;   // of the call in progress
    volatile LONG returned = 0;  // calls returned
};

DWORD WINAPI RunLifecycle(void* parameter)
{
    SecondLifecycle& run = *static_cast<SecondLifecycle*>(parameter);
    for (const int ordinal : kCycle) {
        run.ordinal = ordinal;
        run.library.Call(ordinal, &run.input.params, &run.input.rect, kWhere);
        InterlockedIncrement(&run.returned);
    }
    return 0;
}

// Waits for `thread`, dispatching this thread's messages meanwhile as the console's loop would (a
// library may send to a window it made on this thread); false when a call took longer than the
// limit.
bool Returns(HANDLE thread, const SecondLifecycle& run)
{
    LONG returned = -1;
    ULONGLONG deadline = 0;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (run.returned != returned) {
            returned = run.returned;
            deadline = now + kCallLimitMs;
        }
        if (now >= deadline) return false;
        if (MsgWaitForMultipleObjects(1, &thread, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT) ==
            WAIT_OBJECT_0)
            return true;
        HandleMessages();
    }
}

}  // namespace

void LifecycleOnSecondThread(CheckedLibrary& library, const CallInput& input)
{
    SecondLifecycle run{library, input};
    DWORD id = 0;
    // The program's default stack, the console's, as for the thread that made the cycles.
    const HANDLE thread = CreateThread(nullptr, 0, RunLifecycle, &run, 0, &id);
    if (thread == nullptr) return SendNotJudged(Check::kLifecycles, "no second thread could be started");
    const bool returned = Returns(thread, run);
    CloseHandle(thread);
    if (returned) return SendMeasure(Check::kLifecycles, "a lifecycle on a second thread after them returned");
    const int ordinal = run.ordinal;
    std::string outcome = "did not return within " + std::to_string(kCallLimitMs / 1000) + " s: ";
    const std::vector<HeldLock> locks = HeldLocks(library.Module(), id);
    if (locks.empty()) {
        outcome += "it hangs (no lock the library left held could be read)";
    } else {
        outcome += "it waits on a lock the library left held (";
        for (const HeldLock& lock : locks)
            outcome += (&lock == &locks.front() ? "" : "; ") + HeldLockText(lock, GetCurrentThreadId());
        outcome += ")";
    }
    SendFinding({Check::kLifecycles, ordinal, OrdinalLabel(ordinal) + " " + kWhere, outcome});
    EndWithoutUnloading();
}

}  // namespace check
