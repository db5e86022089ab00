// The rest of what the console lends the library on its thread beside the state caller_state.h
// keeps: its window's procedure, the clipboard, the DLL search path, the thread's priority and
// the process's priority class. Each is read before and after a call; a change the library left
// is named and put back, so that each is told once, by the call that made it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace check {

struct HostState {
    LONG_PTR windowProcedure;  // of the caller's window
    bool clipboardHeld;        // open, so that no other thread or process can open it
    HWND clipboardOwner;
    std::string dllDirectory;  // empty while none is set
    int threadPriority;
    DWORD priorityClass;
};

HostState HostStateNow(HWND caller);

// What changed from `before` to `after`, in words; empty when nothing.
std::vector<std::string> HostStateChanges(const HostState& before, const HostState& after);

// Puts back what can be put back: the window procedure, the clipboard when this thread holds it,
// the DLL directory and both priorities.
void RestoreHostState(const HostState& state, HWND caller);

}  // namespace check
