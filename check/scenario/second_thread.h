// After the cycles, one lifecycle on another thread, as a host whose work thread changes runs it.
// One that does not return in time is named: as a lock the library left held where one can be
// read (held_locks.h), with its owner; only as a hang when nothing better is known.
#pragma once

#include "check/call_input.h"

namespace check {

class CheckedLibrary;

// Ends the scenario when the lifecycle does not return in time, its blocked thread with it.
void LifecycleOnSecondThread(CheckedLibrary& library, const CallInput& input);

}  // namespace check
