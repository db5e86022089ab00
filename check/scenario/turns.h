// The turns of a scenario that watches the screen or the focus. Another program on the display
// can disturb a turn, seen at once (its window in the foreground or over the scene), or behind
// our back: a window that came and went between two looks leaves pixels in a capture, or the focus
// with no window. A disturbed turn is played again. What a turn saw that another program could
// also have caused is believed beside what only the library can have done; alone, only when the
// next undisturbed turn sees it too. Window-free.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "check/checks.h"

namespace check {

// Turns a scenario plays before it gives up.
inline constexpr int kTurns = 5;

struct TurnSeen {
    bool disturbed = false;
    std::vector<Finding> findings;  // what only the library can have done
    std::vector<Finding> unsure;    // what another program could also have done
};

// Plays turn 0, 1, ... of `play` until an undisturbed one sees something sure or nothing unsure,
// and gives what it saw; or, when it saw only unsure findings, until the next undisturbed one,
// and gives the unsure findings that one saw again. None when no turn settled it.
std::optional<std::vector<Finding>> UndisturbedFindings(const std::function<TurnSeen(int turn)>& play);

}  // namespace check
