// The random sample: seeded calls through every entry point, most of them with inputs near the
// plain one so that the calls after them find a surface set.
#pragma once

#include <cstdint>
#include <vector>

#include "check/call_input.h"

namespace check {

// The random scenario's calls: a plain cycle, the sample, Close.
std::vector<PlannedCall> RandomPlan(const TestFiles& files, std::uint32_t seed, std::uint32_t samples);

}  // namespace check
