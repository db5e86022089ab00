// This thread's messages, taken between calls: what the system and the library's windows queued
// for it must be handled for the screen, the activation and the other programs' news to move on.
#pragma once

namespace check {

// Dispatches every message queued for this thread.
void HandleMessages();

// Takes only the messages other threads sent (the system's news of other programs among them),
// leaving the posted ones queued.
void TakeSentMessages();

}  // namespace check
