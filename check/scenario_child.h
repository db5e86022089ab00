// A scenario process run to its end: the lines it wrote, and how it ended. One that stays silent
// for kHangMs is in a call taken for hung, and is ended.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace check {

// A scenario silent for this long is in a call that is taken for hung.
inline constexpr unsigned kHangMs = 5000;

struct ChildRun {
    enum class End { kExited, kSilent, kNotStarted } end = End::kNotStarted;
    DWORD exitCode = 0;
    std::vector<std::string> lines;
    // The texts of its message boxes when it was ended for silence: a library that waits on a
    // message box hangs its caller.
    std::vector<std::string> openBoxes;
};

ChildRun RunChild(const std::string& commandLine);

// What ended a scenario before its end, to be blamed on the call in progress; `ending` is what
// the process said of it (abnormal_end.h).
std::string CutShortOutcome(const ChildRun& run, const std::string& ending);

}  // namespace check
