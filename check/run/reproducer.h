// A failure found by the sweep or the random sample, shrunk and written as a replay file.
#pragma once

#include <string>
#include <vector>

#include "check/call_input.h"

namespace check {

// Shrinks `calls`, whose last call showed a fault, and writes the result into `folder` as
// `name`.replay. Returns what the finding says of it: "reproducer: PATH, 1 of 452 calls", or why
// there is none.
std::string WriteReproducer(std::vector<PlannedCall> calls, const std::string& library, const TestFiles& files,
                            const std::string& folder, const std::string& name);

}  // namespace check
