// The failure points of check 9: the library's calls to the imports DravelCheck wraps, counted per
// entry point over one ordinary lifecycle, and from those counts the plan: for each entry point
// and each k up to a bound, a lifecycle in which its k-th wrapped call fails. Both sides reach the
// same plan from the same counts, so the scenario process is told only where to start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/ordinals.h"

namespace check {

// The lifecycle counted and then played once per failure point, each entry point once.
inline constexpr int kFailureLifecycle[] = {kOpen, kSetAndShow, kMoveAndShow, kClearSetting, kClose};

// Failure points per entry point; an entry point that makes more wrapped calls has the rest left
// out, and the report says so.
inline constexpr std::uint32_t kMostFailurePoints = 32;

// An acquiring call DravelCheck can make fail, as a finding names it and how it then answers.
struct WrappedCall {
    const char* name;
    const char* failure;  // "returned NULL"
};
extern const std::vector<WrappedCall> kWrappedCalls;
// Nullptr for a name not wrapped.
const WrappedCall* FindWrappedCall(const std::string& name);

// How many times an entry point called one wrapped import during the counted lifecycle.
struct CountedCall {
    int ordinal;
    std::string name;
    std::uint32_t count;
    bool operator==(const CountedCall&) const = default;
};

struct FailurePoint {
    int ordinal;
    std::uint32_t at;  // the k-th wrapped call of that entry point, from 1
    bool operator==(const FailurePoint&) const = default;
};

struct FailurePlan {
    std::vector<FailurePoint> points;  // in the lifecycle's order, then by k
    std::vector<std::string> calls;    // the wrapped calls the library made, in the order first made
    std::vector<int> bounded;          // entry points with more wrapped calls than the bound
    std::uint32_t bound = kMostFailurePoints;
};

FailurePlan PlanFailures(const std::vector<CountedCall>& counted, std::uint32_t bound = kMostFailurePoints);

// One call made to fail: the entry point it was made in, and which call to which import it was.
struct FailedCall {
    int ordinal = 0;
    std::string name{};
    std::uint32_t occurrence = 0;  // from 1: the n-th call to `name` in that entry point
    bool operator==(const FailedCall&) const = default;
};

// "1st", "2nd", "3rd", "4th", "11th", "22nd".
std::string Nth(std::uint32_t n);
// What ended or went wrong in `ordinal`, said after the call that was made to fail: "after its 1st
// call to malloc failed (returned NULL)", or "after the 2nd call to GetDC of ordinal 1 (Open)
// failed (returned NULL)" when the failure came in an earlier entry point.
std::string AfterFailure(const FailedCall& failed, int ordinal);

// The PASS line: how many failure points in which calls, and each bound that was reached.
std::string FailurePlanSummary(const FailurePlan& plan, std::uint32_t unreached);

}  // namespace check
