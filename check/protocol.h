// What a scenario process tells the checking process, one line each, as it goes: a call about to
// start (so a crash or hang is blamed on it), a call that returned, a finding, a measurement, a note
// (reported beside the verdict, never judged) and why a check could not be judged here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "check/checks.h"

namespace check {

enum class LineKind { kCall, kDone, kFinding, kMeasure, kNote, kNotJudged, kEnd };

struct Line {
    LineKind kind = LineKind::kEnd;
    int ordinal = 0;         // kCall, kDone
    std::uint32_t code = 0;  // kDone
    double micros = 0;       // kDone
    std::string text;        // kCall: the call; kMeasure, kNote, kNotJudged: what it says
    Check check = Check{};   // kMeasure, kNote, kNotJudged
    Finding finding;         // kFinding
};

// The scenario side. First the lines take standard output for themselves: what the library
// itself prints goes to standard error, so it cannot break a line.
void ClaimStandardOutput();
// Each writes one line at once.
void SendCall(int ordinal, const std::string& what);
void SendDone(int ordinal, std::uint32_t code, double micros);
void SendFinding(const Finding& finding);
void SendMeasure(Check check, const std::string& text);
void SendNote(Check check, const std::string& text);
void SendNotJudged(Check check, const std::string& reason);
void SendEnd();

// The checking side; nullopt for a line that is none of these, or whose number is out of range.
std::optional<Line> ParseLine(const std::string& text);

}  // namespace check
