// A scenario process run to its end: the lines it wrote, and how it ended. One that stays silent
// for kHangMs is in a call taken for hung, and is ended.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "check/protocol.h"

namespace check {

// A scenario silent for this long is in a call that is taken for hung.
inline constexpr unsigned kHangMs = 5000;

struct ChildRun {
    enum class End { kExited, kSilent, kNotStarted } end = End::kNotStarted;
    DWORD exitCode = 0;
    std::vector<Line> lines;  // each line it wrote that the protocol reads, but the end and ending
    bool finished = false;    // it said its end
    std::string ending;       // what it said of its own abnormal end (abnormal_end.h)
    // The texts of its message boxes when it was ended for silence: a library that waits on a
    // message box hangs its caller.
    std::vector<std::string> openBoxes;
};

ChildRun RunChild(const std::string& commandLine);

// What ended a scenario before its end, to be blamed on the call in progress.
std::string CutShortOutcome(const ChildRun& run);

}  // namespace check
