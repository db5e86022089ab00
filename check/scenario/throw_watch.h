// Says what is killing the scenario process when the exit code alone cannot tell: a C++ exception
// that reached std::terminate, or abort().
#pragma once

namespace check {

// Notes C++ exceptions raised during a call, and says so when the process aborts. Once, before
// the first call.
void WatchThrows();
// A C++ exception thrown and caught inside an earlier call does not count.
void ForgetThrows();

}  // namespace check
