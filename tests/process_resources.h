// What this process holds of the platform, for the leak checks of the GUI tests.
#pragma once

#include "process/usage.h"

namespace tavik::test {

using ProcessUsage = process::Usage;
using process::SettledUsage;

}  // namespace tavik::test
