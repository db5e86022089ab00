// The verdicts of a run as the user reads them: a line per check as text, or every finding as
// JSON.
#pragma once

#include <string>
#include <vector>

#include "check/check_run.h"

namespace check {

// True when every judged check passed.
bool AllPassed(const std::vector<CheckResult>& results);
std::string TextReport(const CheckOptions& options, const std::vector<CheckResult>& results);
std::string JsonReport(const CheckOptions& options, const std::vector<CheckResult>& results);

}  // namespace check
