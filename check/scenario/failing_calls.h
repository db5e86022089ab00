// Check 9 in the scenario process: the library's import slots of the acquiring calls
// (failure_points.h) and of the calls that free what they give are pointed at wrappers here, as the
// thread ledger does for timers and hooks. Each wrapped call an entry point makes on the caller's
// thread is counted, and the one armed is made to fail as the real function fails: its documented
// return value, and ERROR_NOT_ENOUGH_MEMORY (ENOMEM for the C runtime) where it sets an error. The
// blocks of the allocation calls come from guarded pages (page_heap.h). A library that reaches a
// call another way (GetProcAddress, through another library) is not wrapped.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "check/failure_points.h"

namespace check {

// Once, after the library loads. A misuse of a guarded block is sent as check 9's finding against
// the entry point last called, and ends the process.
void WrapAcquiringCalls(HMODULE library);

// Around each call of an entry point: its wrapped calls are counted from none.
void BeginWrappedCalls(int ordinal);
void EndWrappedCalls();
// The wrapped calls of the entry point last called, per import, in the order first made.
std::vector<CountedCall> LastCounts();

// The next call made at the point fails, by its place among an entry point's wrapped calls or by
// the import and which of its calls; then the failure is disarmed.
void ArmFailure(const FailurePoint& point);
void ArmFailure(const FailedCall& call);
void Disarm();
// The call made to fail since the last arming; nullopt when none was reached.
std::optional<FailedCall> FailedSinceArmed();

}  // namespace check
