// A scenario process run to its end: the lines it wrote, and how it ended. One that stays silent
// for kHangMs in a call is taken for hung, and is ended.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <optional>

#include "check/protocol.h"

namespace check {

// A call that does not return within this long is taken for hung.
inline constexpr unsigned kHangMs = 5000;
// Between calls a scenario counts and measures; silence this long there is a fault of its own.
inline constexpr unsigned kBetweenCallsMs = 60000;

struct ChildRun {
    enum class End { kExited, kSilent, kNotStarted } end = End::kNotStarted;
    DWORD exitCode = 0;
    std::vector<Line> lines;     // each line it wrote that the protocol reads, but kFinished and kDying
    bool finished = false;       // it said it finished
    std::optional<Dying> dying;  // what it said was killing it
    bool inCall = false;         // when it ended or was ended, a call had started and not returned
    // The texts of its message boxes when it was ended for silence: a library that waits on a
    // message box hangs its caller.
    std::vector<std::string> openBoxes;
    std::string errors;  // the end of its standard error, when it exited
};

// `progress` is told each kProgress line as it comes; those are not kept in the run's lines.
ChildRun RunChild(const std::string& commandLine, const std::function<void(const Line&)>& progress = {});

// What ended a scenario before its end, to be blamed on the call in progress.
std::string CutShortOutcome(const ChildRun& run);

}  // namespace check
