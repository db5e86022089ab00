// What the scenarios told each check, and the verdict on each: a function of those tallies alone.
#pragma once

#include <map>
#include <span>
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

struct Gathered {
    std::map<Check, Tally> tallies;
    CallTimes times;

    // Each finding, and each reason a check cannot be judged, once.
    void AddFinding(const Finding& finding);
    void AddNotJudged(Check check, const std::string& reason);
    // A scenario of `check` that did not reach its end, and why; the first one stays.
    void AddCutShort(Check check, const Finding& why);
    // A scenario of `check` whose library the loader refused with `error`: check's finding.
    void AddNotLoaded(Check check, std::uint32_t error);
    // Takes in what other scenarios told, after what these told, through the routes above.
    void Add(const Gathered& other);
    // Whether the library loaded in every scenario of the rows that run first (Phase::kGate).
    bool Loads(std::span<const CheckRow> rows) const;
};

// One result per row. `loads`: the library loaded in the gate's scenarios; where it did not, only
// their findings are judged.
std::vector<CheckResult> Verdicts(std::span<const CheckRow> rows, const Gathered& gathered, const CheckOptions& options,
                                  bool loads);
// 0 every judged check passed, 1 one failed, 3 none failed but one could not be judged.
int ExitCode(const std::vector<CheckResult>& results);
// How many results have `verdict`.
int Count(const std::vector<CheckResult>& results, Verdict verdict);

// Every check not judged for one reason: the file given is no library this build can load.
std::vector<CheckResult> NotJudged(std::span<const CheckRow> rows, const std::string& reason);

}  // namespace check
