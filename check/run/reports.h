// The verdicts of a run as the user reads them: a line per check as text, or every finding as
// JSON or JUnit XML; each with the run's wall time.
#pragma once

#include <string>
#include <vector>

#include "check/run/verdict.h"

namespace check {

// The text report in two parts: its first line, naming the library, written as the run starts; and
// the rest, a line per check with its notes and the outcome, once the checks are decided.
std::string TextHeader(const CheckOptions& options);
std::string TextReport(const std::vector<CheckResult>& results, double seconds);
std::string JsonReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds);
std::string JunitReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds);
// "  1 exports\n" and so on, for --help.
std::string CheckList();

}  // namespace check
