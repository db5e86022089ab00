// Check 9's run: a scenario process counts the library's wrapped calls over one lifecycle and
// plays the failure points planned from them; one that crashes or hangs is followed by another
// from the next failure point.
#pragma once

#include <functional>

#include "check/call_inputs.h"
#include "check/protocol.h"
#include "check/run/verdict.h"

namespace check {

// `progress` is given the failure points played of the plan as the scenario tells them.
void RunFailurePoints(Check check, const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                      Gathered& gathered, const std::function<void(const Line&)>& progress);

}  // namespace check
