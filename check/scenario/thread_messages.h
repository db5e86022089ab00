// This thread's messages, taken between calls: what the system and the library's windows queued
// for it must be handled for the screen and the activation to move on.
#pragma once

namespace check {

// Dispatches every message queued for this thread.
void HandleMessages();

}  // namespace check
