// A scenario process of this program run to its end: the lines it wrote, and how it ended. One that
// stays silent for kHangMs in a call is taken for hung, and is ended.
#pragma once

#include "check/run/scenario_run.h"

namespace check {

// A call that does not return within this long is taken for hung.
inline constexpr unsigned kHangMs = 5000;
// Between calls a scenario counts and measures; silence this long there is a fault of its own.
inline constexpr unsigned kBetweenCallsMs = 60000;

// This program started again with `options`; `progress` is told each kProgress line as it comes,
// and those are not kept in the run's lines.
ChildRun RunChild(const ScenarioOptions& options, const ProgressSink& progress = {});

}  // namespace check
