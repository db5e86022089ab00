// The library's import slots, which the loader bound to the functions it imports: walked, and
// pointed elsewhere, by those who stand in for a function (thread_ledger.h, failing_calls.h).
#pragma once

#include <windows.h>

#include <functional>

namespace check {

// Each slot of each library `library` imports from, with the name it was imported by; nullptr
// for one imported by ordinal or where the image keeps no names.
void ForEachImportSlot(HMODULE library, const std::function<void(const char* name, ULONG_PTR& slot)>& visit);

// Points `slot` at `function`, through the protection of the page it lies on.
void PointSlot(ULONG_PTR& slot, const void* function);

}  // namespace check
