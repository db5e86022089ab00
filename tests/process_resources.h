// What this process holds of the platform, for the leak checks of the GUI tests.
#pragma once

#include "check/process_usage.h"

namespace tavik::test {

using tavik::ProcessUsage;
using tavik::SettledUsage;

}  // namespace tavik::test
