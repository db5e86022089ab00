// The platform's numbers as findings name them: a standard window message by its name beside its
// number ("WM_CLOSE (0x0010)"), a thread's priority and a process's priority class in words.
// Window-free: the values are the platform's, written out here.
#pragma once

#include <string>

namespace check {

// "WM_CLOSE (0x0010)", "WM_USER+5 (0x0405)", "WM_APP+1 (0x8001)", "a registered message
// (0xC0A2)"; "message 0x0123" for one with no name.
std::string MessageText(unsigned message);

// "normal", "time-critical", ...; "priority N" for a value with no name.
std::string ThreadPriorityText(int priority);
// "normal", "high", "realtime", ...; "priority class 0x..." for a value with no name.
std::string PriorityClassText(unsigned priorityClass);

}  // namespace check
