#include "check/run/failure_rounds.h"

namespace check {

namespace {

// A finding of check 4 (a box left open) that followed a failed call is check 9's.
Finding AfterFailed(Finding finding, const std::optional<FailedCall>& failed)
{
    if (finding.check != kFaultsCheck || !failed) return finding;
    finding.check = Check::kFailingCalls;
    finding.outcome += " " + AfterFailure(*failed, finding.ordinal);
    return finding;
}

}  // namespace

FailureRound ReadRound(const std::vector<Line>& lines)
{
    FailureRound round;
    for (const Line& line : lines) {
        round.lastSaidFinding = line.kind == LineKind::kFinding && line.finding.check == Check::kFailingCalls;
        switch (line.kind) {
            case LineKind::kCall:
                round.call = {line.ordinal, line.text};
                break;
            case LineKind::kReturned:
                if (line.ordinal != kNoOrdinal) ++round.returned;  // not a step
                break;
            case LineKind::kCounted:
                round.counted.push_back({line.ordinal, line.text, line.index});
                break;
            case LineKind::kPoint:
                if (round.point && !round.failed) ++round.unreached;
                round.point = line.index;
                round.failed.reset();
                break;
            case LineKind::kFailing:
                round.failed = FailedCall{line.ordinal, line.text, line.index};
                break;
            case LineKind::kFinding:
                round.findings.push_back(AfterFailed(line.finding, round.failed));
                break;
            default:
                break;
        }
    }
    return round;
}

std::optional<std::uint32_t> ResumeAt(const FailureRound& round)
{
    if (!round.point) return std::nullopt;
    return *round.point + 1;
}

Finding CutShortFinding(const FailureRound& round, const Ending& ending)
{
    Finding finding = AfterFailed(FindingOf(ending, round.call, ""), round.failed);
    if (finding.check == kFaultsCheck) finding.check = Check::kFailingCalls;
    return finding;
}

}  // namespace check
