// A replay run in a scenario process of its own, so a crash, hang or box ends only that process and
// is named with the line of the call that caused it; and `DravelCheck --replay`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "check/call_input.h"
#include "check/run/shrinker.h"

namespace check {

struct ReplayEnd {
    std::vector<std::string> codes{};  // "line N: Set & show 0x00000000", one per call that returned
    std::optional<Stop> stop{};        // at a crash, hang or box
    std::string message{};             // "line N: " and what stopped it
    // DravelCheck's own failure: the replay process or its files could not be made.
    std::optional<std::string> failure{};
};

// Plays `replayFile`, whose calls are `calls` at `lines` of it, through `library`.
ReplayEnd PlayReplayFile(const std::string& replayFile, const std::vector<PlannedCall>& calls,
                         const std::vector<int>& lines, const std::string& library, const TestFiles& files);

// Plays calls made here, from a replay file of their own.
std::optional<Stop> PlayCalls(const std::vector<PlannedCall>& calls, const std::string& library,
                              const TestFiles& files);

// `DravelCheck --replay FILE [DLL]`: prints each call's code, or each line it cannot read; the
// exit code (0 every call returned, 1 stopped at a fault, 2 a line cannot be read).
int ReplayCommand(const std::string& replayFile, const std::string& library);

}  // namespace check
