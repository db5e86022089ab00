// The caller's records in pages of their own, so that what the library does with them shows: each
// record ends at its page's end (a read past it faults), its pages are read-only while the library
// has it, and they are taken away as the call returns, before any of the caller's messages is
// dispatched (a later touch faults, from the library's window procedure as from its next call). A vectored handler
// notes each such access with the field it hit and lets the library go on.
#pragma once

#include <string>
#include <vector>

#include "overlay/overlay_api.h"

namespace check {

class GuardedRecords {
public:
    GuardedRecords();
    ~GuardedRecords();
    GuardedRecords(const GuardedRecords&) = delete;
    GuardedRecords& operator=(const GuardedRecords&) = delete;

    // Read-only copies for the next call; they stay valid until Release.
    const OverlaySurfaceParams* LendParams(const OverlaySurfaceParams& params);
    const OverlayRect* LendRect(const OverlayRect& rect);
    // Takes back what was lent as the call returns; what touches it from then on is told apart
    // until Release.
    void Withdraw();
    // Takes back what was lent, and returns what the library did wrong since the last Release
    // ("wrote OverlaySurfaceParams.red").
    std::vector<std::string> Release();

private:
    void* m_region;
    void* m_handler;
};

}  // namespace check
