// The six checks: each scenario in a child process of this program, their lines gathered into one
// verdict per check, and the report as text or JSON.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace check {

struct CheckOptions {
    std::string library;  // full path
    std::uint32_t seed;
    std::uint32_t samples;
    std::string reproFolder;  // full path
};

enum class Verdict { kPass, kFail, kNote };

struct CheckResult {
    int number;
    const char* name;
    Verdict verdict;
    std::string summary;  // the first finding of a failed check
    std::vector<std::string> findings;
};

std::vector<CheckResult> RunChecks(const CheckOptions& options);

bool AllPassed(const std::vector<CheckResult>& results);
std::string TextReport(const CheckOptions& options, const std::vector<CheckResult>& results);
std::string JsonReport(const CheckOptions& options, const std::vector<CheckResult>& results);

}  // namespace check
