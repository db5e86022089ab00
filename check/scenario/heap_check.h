// Whether the process's heaps still validate after a call: a library that wrote past a block of
// its own is named by the call after which it was first seen, not by a crash in a later one.
#pragma once

namespace check {

// Every heap of the process, the C runtime's among them.
bool HeapsValid();

// Scenario side: ends the process, saying first that the heap is corrupted, so that the call in
// progress is blamed for it.
[[noreturn]] void EndForCorruptHeap();

}  // namespace check
