// The scenarios, each run in a process of its own so that a crash or hang of the library ends
// only that scenario. Each reports through the lines of protocol.h; the rows of checks.h say
// which check each scenario belongs to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/call_inputs.h"

#include "check/checks.h"
#include "check/protocol.h"

namespace check {

// Whether the library loaded for a scenario; a library that does not load is its check's finding.
bool Loaded(const CheckedLibrary& library, Check check);

void Exports(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
// As the console ends and starts again: the library unloaded with FreeLibrary, loaded again and
// left loaded to the process's end (dll_main.h).
void Unloading(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void CallingConvention(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void Records(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void Sweep(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void RandomSample(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void Lifecycles(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void CallerStateKept(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);

// Runs the scenario `options` name in this process on the library it loads (one that does not load
// is the finding of the scenario's check) and ends the process; false for an unknown name.
bool RunScenario(const ScenarioOptions& options);

// Says the scenario's end and ends the process at once, the library still loaded: its unloading
// is the Unloading scenario's to judge, once, and not a wait in every scenario.
[[noreturn]] void EndWithoutUnloading();

}  // namespace check
