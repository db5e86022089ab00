// Shrinks a call sequence that shows a fault to the shortest one found that still shows the same
// fault: calls dropped, then fields moved to the console's start-up values. Each candidate is
// played by a player of the caller's, a child process in the program and a fake in the tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "check/call_input.h"
#include "check/protocol.h"

namespace check {

// What stopped a played sequence: two plays show the same fault when these are equal.
struct Fault {
    int ordinal = 0;                   // the entry point of the call it stopped at
    std::optional<Finding> finding{};  // a finding the call caused; else how the process ended:
    bool hung = false;
    std::uint32_t exitCode = 0;
    std::optional<Dying> dying{};

    bool operator==(const Fault&) const = default;
};

struct Stop {
    std::size_t index = 0;  // of the call it stopped at
    Fault fault;
    std::string what;  // the fault in words
};

// Plays `calls` from the first; nullopt when each returned.
using Player = std::function<std::optional<Stop>(const std::vector<PlannedCall>&)>;

struct ShrinkBudget {
    int tries;
    std::chrono::milliseconds time;
};

// `calls`, whose play stopped at `found`, shrunk; `found` becomes the last stop seen.
std::vector<PlannedCall> Shrink(std::vector<PlannedCall> calls, Stop& found, const Player& play,
                                const ShrinkBudget& budget);

}  // namespace check
