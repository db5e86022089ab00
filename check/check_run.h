// The checks: each scenario in a child process of this program, their lines gathered into one
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

enum class Verdict { kPass, kFail, kNote, kNotJudged };

struct CheckResult {
    int number;
    const char* name;
    Verdict verdict;
    std::string summary;  // the first finding of a failed check
    std::vector<std::string> findings;
};

std::vector<CheckResult> RunChecks(const CheckOptions& options);
// Every check not judged for one reason: the file given is no library this build can load.
std::vector<CheckResult> NotJudged(const std::string& reason);
// "  1 exports\n" and so on, for --help.
std::string CheckList();

// 0 every judged check passed, 1 one failed, 3 none failed but one could not be judged.
int ExitCode(const std::vector<CheckResult>& results);
// Each with the run's wall time.
std::string TextReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds);
std::string JsonReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds);
std::string JunitReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds);

}  // namespace check
