// How a scenario process ended when it did not finish: an SEH exception by its code and name, a
// C++ exception that ended in std::terminate, abort(), or a plain exit. Window-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "check/protocol.h"

namespace check {

// What the call in progress did to end the process ("let an exception out (0xC0000005, access
// violation)"), from the exit code, what the scenario said was killing it, if it said so, and the
// end of its standard error, where a C++ runtime names the exception it ends the process for.
std::string AbnormalEnd(std::uint32_t exitCode, std::optional<Dying> dying, std::string_view errors);

}  // namespace check
