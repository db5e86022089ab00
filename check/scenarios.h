// The scenarios, each run in a process of its own so that a crash or hang of the library ends
// only that scenario. Each reports through the lines of protocol.h; the rows of checks.h say
// which check each scenario belongs to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/call_inputs.h"

#include "check/checks.h"

namespace check {

struct ScenarioOptions {
    std::string library;
    std::string files;  // the folder of TestFiles, made by the checking process
    std::uint32_t seed;
    std::uint32_t samples;
    // Calls passed over before the first one made: a scenario cut short by a crash or hang goes
    // on after the call that ended it.
    std::uint32_t skip;
    std::string pictures;  // the folder the screen scene writes its pictures to; empty for none
};

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

// The calls the sweep or the random sample makes, in order, as the reproducers replay them;
// empty for the other scenarios.
std::vector<PlannedCall> PlannedCalls(const std::string& name, const TestFiles& files, std::uint32_t seed,
                                      std::uint32_t samples);

// Runs the named scenario in this process on the library it loads (one that does not load is the
// finding of the scenario's check) and ends the process; false for an unknown name.
bool RunScenario(const std::string& name, const ScenarioOptions& options);

// Says the scenario's end and ends the process at once, the library still loaded: its unloading
// is the Unloading scenario's to judge, once, and not a wait in every scenario.
[[noreturn]] void EndWithoutUnloading();

}  // namespace check
