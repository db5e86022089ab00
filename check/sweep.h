// The sweep: every edge input through each entry point, and the orders of the five calls.
#pragma once

#include <vector>

#include "check/call_input.h"

namespace check {

// Every input through Open, Set & show, Move & show, Clear setting and Close; every order of the
// five calls with a Close after each; each call twice in a row.
std::vector<PlannedCall> SweepCalls(const TestFiles& files);

}  // namespace check
