// The scenario process's side of a replay: the calls of the replay file, through the library.
#pragma once

#include "check/protocol.h"

namespace check {

void PlayReplay(const ScenarioOptions& options);

}  // namespace check
