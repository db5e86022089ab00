// The scenarios, each run in a process of its own so that a crash or hang of the library ends
// only that scenario. Each reports through the lines of protocol.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/call_inputs.h"

namespace check {

struct ScenarioOptions {
    std::string library;
    std::string files;  // the folder of TestFiles, made by the checking process
    std::uint32_t seed;
    std::uint32_t samples;
    // Calls passed over before the first one made: a scenario cut short by a crash or hang goes
    // on after the call that ended it.
    std::uint32_t skip;
};

// The scenarios by name, and the check whose scenario each is.
struct Scenario {
    const char* name;
    int check;
    void (*run)(const ScenarioOptions&);
};
extern const Scenario kScenarios[7];

// The calls the sweep or the random sample makes, in order, as the reproducers replay them;
// empty for the other scenarios.
std::vector<PlannedCall> PlannedCalls(const std::string& name, const TestFiles& files, std::uint32_t seed,
                                      std::uint32_t samples);

// Runs the named scenario in this process; false for an unknown name.
bool RunScenario(const std::string& name, const ScenarioOptions& options);

}  // namespace check
