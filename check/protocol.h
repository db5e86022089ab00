// What a scenario process tells the checking process, one line each, as it goes: a call about to
// start (so a crash or hang is blamed on it), a call that returned, a finding, a measurement, a note
// (reported beside the verdict, never judged), what the platform cannot judge, the end, and what
// ended the process when it dies early.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "check/checks.h"

namespace check {

enum class LineKind { kCall, kDone, kFinding, kMeasure, kNote, kEnd, kEnding, kNotJudged };

struct Line {
    LineKind kind = LineKind::kEnd;
    int ordinal = 0;         // kCall, kDone
    std::uint32_t code = 0;  // kDone
    double micros = 0;       // kDone
    std::string text;        // kCall: the call; kMeasure, kNote: what it says; kNotJudged: why; kEnding: what
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
// What of a check this platform cannot judge, and why.
void SendNotJudged(Check check, const std::string& reason);
void SendEnd();
// What is ending the process before its end: "throw" or "abort" (abnormal_end.h).
void SendEnding(const char* what);

// The checking side; nullopt for a line that is none of these, or whose number is out of range.
std::optional<Line> ParseLine(const std::string& text);

}  // namespace check
