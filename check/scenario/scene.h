// The screen scene: a window of the process's own stands in for the console and keeps the focus
// while the library under check is opened, shows a picture, moves it, clears it and is closed; the
// screen is read after each step.
#pragma once

#include "check/scenario/scenarios.h"

namespace check {

void Scene(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options);

}  // namespace check
