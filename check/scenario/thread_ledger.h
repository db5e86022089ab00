// What the library sets on its caller's thread that the caller cannot see afterwards: thread
// timers and hooks. The library's imports of SetTimer, KillTimer, SetWindowsHookEx and
// UnhookWindowsHookEx are pointed here, so each is noted with the call that set it and crossed off
// when the library takes it away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace check {

// Points the library's imports here; once, after it loads.
void WatchThreadImports(HMODULE library);
// The entry point being called, to note with what it sets; 0 between calls.
void NoteCallInProgress(int ordinal);

struct LeftOnThread {
    int ordinal;       // the call that set it
    std::string what;  // "a thread timer", "a WH_GETMESSAGE hook on the caller's thread"
    bool timer;
};

// What is still set; each is taken away (the timers killed, the hooks removed) and forgotten, so
// that it is told once.
std::vector<LeftOnThread> TakeLeftOnThread();
// Kills the thread timers the library left, whose WM_TIMER flood the caller's queue.
void KillThreadTimers();

}  // namespace check
