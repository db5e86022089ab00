// Check 9's scenario: one ordinary lifecycle with the library's wrapped calls counted, then, from
// the failure point the run asks for, each point of the plan made from those counts: a lifecycle
// with that one call failing, what it left after its Close, and whether the next lifecycle works.
#pragma once

#include "check/call_input.h"
#include "check/protocol.h"

namespace check {

class CheckedLibrary;

void FailingCalls(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);

}  // namespace check
