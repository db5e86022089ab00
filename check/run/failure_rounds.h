// What one scenario process of check 9 told, read from its lines: the counts (the plan follows
// from them), the failure point it reached, the call it made fail there, and its findings, those
// that followed a failed call made check 9's. After a crash or hang the next process starts at the
// failure point after the one that ended this one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/failure_points.h"
#include "check/protocol.h"
#include "check/run/ending.h"

namespace check {

struct FailureRound {
    std::vector<CountedCall> counted;
    std::optional<std::uint32_t> point;  // the last failure point started
    std::optional<FailedCall> failed;    // the call made to fail in it, once made
    std::uint32_t unreached = 0;         // failure points whose call was never made
    InProgress call{};                   // the last call started
    std::uint32_t returned = 0;          // calls that returned
    std::vector<Finding> findings{};
    bool lastSaidFinding = false;  // its last line was a finding of check 9: what ended it, if anything did
};

FailureRound ReadRound(const std::vector<Line>& lines);

// The failure point the next process starts at, after this one was cut short; nullopt when it was
// cut short before its first failure point (while counting).
std::optional<std::uint32_t> ResumeAt(const FailureRound& round);

// A cut-short round's finding: check 9's, `ending` said of the call in progress after the call made
// to fail; check 1's when it ended in a step.
Finding CutShortFinding(const FailureRound& round, const Ending& ending);

}  // namespace check
