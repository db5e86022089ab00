// The checks of checks.h run: each scenario in a child process of this program, their lines
// gathered into one verdict per check.
#pragma once

#include <vector>

#include "check/run/progress.h"
#include "check/run/verdict.h"

namespace check {

// `progress` is told each phase and scenario as it runs.
std::vector<CheckResult> RunChecks(const CheckOptions& options, Progress& progress);

}  // namespace check
