// Replays and reproducers. A replay runs in a scenario process of its own, so a crash, hang or
// box ends only that process and is named with the line of the call that caused it. A failure
// found by the sweep or the random sample is shrunk to the shortest sequence that still shows the
// same fault (calls dropped, then fields moved to the console's start-up values) and written as a
// replay file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/call_inputs.h"

namespace check {

// How a replay ended.
struct ReplayEnd {
    std::vector<std::string> codes;  // "line N: Set & show 0x00000000", one per call that returned
    bool stopped = false;            // at a crash, hang or box
    std::size_t stopIndex = 0;       // the call it stopped at
    std::string fault;               // what stopped it, for comparing two runs
    std::string what;                // what stopped it, in words
    std::string message;             // "line N: " and what
};

// Checking side: plays `calls` (read from a replay file at `lines`, or made by a scenario, with
// lines counted from 1) in a child process through `library`.
ReplayEnd PlayInChild(const std::vector<PlannedCall>& calls, const std::vector<int>& lines,
                      const std::string& library, const TestFiles& files);

// Scenario side: the calls of the replay file, through the library.
void PlayReplay(const std::string& library, const std::string& files, const std::string& replayFile);

// `DravelCheck --replay FILE [DLL]`: prints each call's code, or each line it cannot read; the
// exit code (0 every call returned, 1 stopped at a fault, 2 a line cannot be read).
int ReplayCommand(const std::string& replayFile, const std::string& library);

// Shrinks `calls`, whose last call showed a fault, and writes the result into `folder` as
// `name`.replay. Returns what the finding says of it: "reproducer: PATH, 1 of 452 calls", or why
// there is none.
std::string WriteReproducer(std::vector<PlannedCall> calls, const std::string& library, const TestFiles& files,
                            const std::string& folder, const std::string& name);

}  // namespace check
