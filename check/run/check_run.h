// The checks of checks.h run: each scenario in a child process of this program, their lines
// gathered into one verdict per check.
#pragma once

#include <vector>

#include "check/run/verdict.h"

namespace check {

std::vector<CheckResult> RunChecks(const CheckOptions& options);

}  // namespace check
