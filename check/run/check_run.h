// The checks of checks.h run: each scenario in a child process of this program, their lines
// gathered into one verdict per check.
#pragma once

#include <string>
#include <vector>

#include "check/checks.h"

namespace check {

enum class Verdict { kPass, kFail, kNote, kNotJudged };

struct CheckResult {
    Check check;
    Verdict verdict;
    std::string summary;  // the first finding of a failed check
    std::vector<Finding> findings;
    std::vector<std::string> notes;
};

std::vector<CheckResult> RunChecks(const CheckOptions& options);
// Every check not judged for one reason: the file given is no library this build can load.
std::vector<CheckResult> NotJudged(const std::string& reason);

}  // namespace check
