// A scenario process: it loads the library, runs the scenario its flags name and ends without
// unloading it.
#pragma once

#include "check/checks.h"
#include "check/protocol.h"

namespace check {

// Whether the library loaded for a scenario of `check`; one that did not is said to the checking
// process, which words it as the check's finding.
bool Loaded(const CheckedLibrary& library, Check check);

// Runs the scenario `options` name in this process on the library it loads and ends the process;
// false for an unknown name.
bool RunScenario(const ScenarioOptions& options);

// Says the scenario's end and ends the process at once, the library still loaded: its unloading
// is the Unloading scenario's to judge, once, and not a wait in every scenario.
[[noreturn]] void EndWithoutUnloading();

}  // namespace check
