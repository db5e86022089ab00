#include "check/scenario/turns.h"

namespace check {

std::optional<std::vector<Finding>> UndisturbedFindings(const std::function<TurnSeen(int turn)>& play)
{
    bool unsureSeen = false;
    for (int turn = 0; turn < kTurns; ++turn) {
        TurnSeen seen = play(turn);
        if (seen.disturbed) continue;
        if (unsureSeen || !seen.findings.empty() || seen.unsure.empty()) {
            seen.findings.insert(seen.findings.end(), seen.unsure.begin(), seen.unsure.end());
            return std::move(seen.findings);
        }
        unsureSeen = true;
    }
    return std::nullopt;
}

}  // namespace check
