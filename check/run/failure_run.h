// Check 9's run: a scenario process counts the library's wrapped calls over one lifecycle and
// plays the failure points planned from them; one that crashes or hangs is followed by another
// from the next failure point.
#pragma once

#include "check/call_inputs.h"
#include "check/run/verdict.h"

namespace check {

void RunFailurePoints(Check check, const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                      Gathered& gathered);

}  // namespace check
