// A scenario process run to its end: the lines it wrote, and how it ended. One that stays silent
// for kHangMs is in a call taken for hung, and is ended.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace check {

struct ChildRun {
    enum class End { kExited, kSilent, kNotStarted } end = End::kNotStarted;
    DWORD exitCode = 0;
    std::vector<std::string> lines;
    // The texts of its message boxes when it was ended for silence: a library that waits on a
    // message box hangs its caller.
    std::vector<std::string> openBoxes;
};

ChildRun RunChild(const std::string& commandLine);

}  // namespace check
