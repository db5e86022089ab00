// How a scenario process ended when it did not finish: an SEH exception by its code and name, a
// C++ exception that ended in std::terminate, abort(), or a plain exit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "check/protocol.h"

namespace check {

// What the call in progress did to end the process ("let an exception out (0xC0000005, access
// violation)"), from the exit code and what the scenario said was killing it, if it said so.
std::string AbnormalEnd(std::uint32_t exitCode, std::optional<Dying> dying);

}  // namespace check
