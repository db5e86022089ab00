#include "check/scenario/turns.h"

namespace check {

std::optional<std::vector<Finding>> UndisturbedFindings(const std::function<TurnSeen(int turn)>& play)
{
    std::optional<std::vector<Finding>> first;
    for (int turn = 0; turn < kTurns; ++turn) {
        TurnSeen seen = play(turn);
        if (seen.disturbed) continue;
        if (first) {
            first->insert(first->end(), seen.unsure.begin(), seen.unsure.end());
            return first;
        }
        if (seen.unsure.empty()) return std::move(seen.findings);
        first = std::move(seen.findings);
    }
    if (first && !first->empty()) return first;
    return std::nullopt;
}

}  // namespace check
