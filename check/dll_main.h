// The steps that run the library's DllMain: loading it, unloading it with FreeLibrary, and the
// process's end with it loaded. A scenario announces each as a call without ordinal; a step that
// crashes or does not return is DllMain's fault and check 1's finding, never a call's.
#pragma once

#include <optional>
#include <string>

#include "check/checks.h"

namespace check {

inline constexpr char kLoadingStep[] = "loading the library";
inline constexpr char kUnloadingStep[] = "unloading the library (FreeLibrary)";
inline constexpr char kEndingStep[] = "ending the process with the library loaded";

// What ended a scenario in one of these steps, as check 1's finding ("the library does not load:
// its DllMain did not return from loading within 5 s"); nullopt for a fault in a call. `fault`
// is the call in progress and what became of it.
std::optional<Finding> DllMainFault(const Finding& fault);

}  // namespace check
