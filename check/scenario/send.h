// The scenario process's side of the lines of protocol.h: each Send writes one line at once.
#pragma once

#include <cstdint>
#include <string>

#include "check/failure_points.h"
#include "check/protocol.h"

namespace check {

// First the lines take standard output for themselves: what the library itself prints goes to
// standard error, so it cannot break a line.
void ClaimStandardOutput();

// `index`: the scenario's calls made or passed over before this one.
void SendCall(int ordinal, std::uint32_t index, const std::string& what);
// A step that runs the library's DllMain, about to start.
void SendStep(Step step, std::uint32_t index);
// A call returned; kNoOrdinal for a step.
void SendReturned(int ordinal, std::uint32_t code, double micros);
// The library did not load for `check`'s scenario; `error` as the loader said.
void SendNotLoaded(Check check, std::uint32_t error);
void SendFinding(const Finding& finding);
void SendMeasure(Check check, const std::string& text);
void SendNote(Check check, const std::string& text);
// What of a check this platform cannot judge, and why.
void SendNotJudged(Check check, const std::string& reason);
// Check 9: what an entry point called of one wrapped import, a failure point starting (its number
// in the plan, from 0), and the call made to fail, sent before it answers.
void SendCounted(const CountedCall& counted);
void SendPoint(std::uint32_t number, const FailurePoint& point);
void SendFailing(const FailedCall& failed);
void SendFinished();
// `done` of `total` (what it counts: "calls", "cycles"), told at each whole percent and at the end.
void SendProgress(std::uint32_t done, std::uint32_t total, const char* counted);
void SendDying(Dying dying);

}  // namespace check
