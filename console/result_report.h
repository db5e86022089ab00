// The one rule by which every command shows the library's answer.
#pragma once

#include "console/console_window.h"
#include "overlay/overlay_api.h"

namespace tavik {

struct CommandReport {
    int resultField;
    const char* failureText;
    const char* caption;
};

// Writes the code into the command's own result field first, so it is visible while a failure
// box is up, then shows the box only for a non-zero code.
void ReportResult(ConsoleWindow& window, const CommandReport& report, OverlayResult result);

}  // namespace tavik
