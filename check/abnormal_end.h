// How a scenario process ended when it did not reach its end: an SEH exception by its code and
// name, a C++ exception that ended in std::terminate, abort(), or a plain exit. The scenario
// side watches for what the exit code alone cannot tell and says it in a line before it dies.
#pragma once

#include <windows.h>

#include <string>

namespace check {

// What a scenario says before it ends itself on finding the heap corrupted (heap_check.h).
inline constexpr char kHeapEnding[] = "heap";

// Scenario side: notes C++ exceptions raised during a call, and says so when the process
// aborts. Once, before the first call.
void WatchAbnormalEnd();
// Scenario side: a C++ exception thrown and caught inside an earlier call does not count.
void ForgetThrows();

// Checking side: what the call in progress did to end the process ("let an exception out (0xC0000005,
// access violation)"), from the exit code and the line the scenario side sent before dying
// ("throw", "abort" or kHeapEnding; empty when none came).
std::string AbnormalEnd(DWORD exitCode, const std::string& ending);

}  // namespace check
