// The scenarios, each run in a process of its own so that a crash or hang of the library ends
// only that scenario. Each reports through the lines of protocol.h; the rows of checks.h say
// which check each scenario belongs to.
#pragma once

#include "check/checks.h"
#include "check/protocol.h"
#include "check/test_files.h"

namespace check {

void Exports(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
// As the console ends and starts again: the library unloaded with FreeLibrary, loaded again and
// left loaded to the process's end.
void Unloading(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void CallingConvention(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void Records(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void Sweep(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void RandomSample(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void Lifecycles(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
// The random sample again, its private bytes counted before and after.
void RandomSampleMemory(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);
void CallerStateKept(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);

}  // namespace check
