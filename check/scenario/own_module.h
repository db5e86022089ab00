// Whether the library's own image is still mapped. A library that frees itself (FreeLibrary on
// its own module, from a call or a thread of its own) is named by the call after which its module
// was gone, never by the crash of a later call in unmapped code.
#pragma once

#include <windows.h>

namespace check {

bool ModuleLoaded(HMODULE module);

// Scenario side: ends the process, saying first that the library unloaded itself, so that the
// last call announced is blamed for it.
[[noreturn]] void EndForSelfUnload();

}  // namespace check
