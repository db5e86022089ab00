// What the recording DRAVEL.dll keeps of each call: the ordinal, the stack pointer on entry and
// right after the return as the caller is left with it, and the bytes of the records it was given.
#pragma once

#include <cstdint>

#include "overlay/overlay_api.h"

struct RecordedCall {
    int ordinal;
    std::uintptr_t entrySp;   // points at the return address
    std::uintptr_t returnSp;  // entrySp + one return address, unless the callee popped arguments
    unsigned char params[sizeof(OverlaySurfaceParams)];  // zero when the call has no such record
    unsigned char rect[sizeof(OverlayRect)];
};

struct RecordedCalls {
    int count;
    RecordedCall calls[8];  // a ring: the tests reset count before at most eight calls
};

// Exported by name beside the five ordinals.
using RecordedCallsAccess = RecordedCalls*(__cdecl*)();
constexpr char kRecordedCallsExport[] = "RecordedCallLog";

// What ordinal n answers, so a result shows which ordinal was reached.
constexpr OverlayResult RecordedResult(int ordinal)
{
    return 0x80040A00u + static_cast<OverlayResult>(ordinal);
}
