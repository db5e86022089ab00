// The reference library's rules on arbitrary records: the first 16 bytes are the rectangle (short
// inputs come first in fuzzing), the next 271 the surface record, missing bytes zero.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "dravel/overlay_checks.h"
#include "dravel/trace_line.h"
#include "fuzz/fuzz_require.h"

using namespace dravel;
using tavik::fuzz::Require;

namespace {

bool IsSide(int side)
{
    return side >= 1 && side <= static_cast<int>(kMaxSide);
}

void CheckSurface(const OverlaySurfaceParams& params)
{
    SurfaceRequest request{};
    const Code code = ReadSurfaceRequest(params, request);
    Require(code == kOk || code == kBadSize || code == kBadPath, "surface: only its documented codes");
    if (code != kOk) return;
    Require(IsSide(request.width) && IsSide(request.height), "surface: accepted sides within 1..8192");
    const std::size_t length = request.bitmapPath.size();
    Require(length >= 1 && length < sizeof params.bitmapFile && params.bitmapFile[length] == '\0' &&
                std::memchr(params.bitmapFile, '\0', length) == nullptr &&
                std::memcmp(request.bitmapPath.data(), params.bitmapFile, length) == 0,
            "surface: the path is the field's bytes up to its first NUL");
}

void CheckPlacement(const OverlayRect& rect)
{
    Placement placement{};
    const Code code = ReadPlacement(rect, placement);
    Require(code == kOk || code == kBadRect, "placement: only its documented code");
    if (code != kOk) return;
    Require(IsSide(placement.width) && IsSide(placement.height), "placement: sides within 1..8192");
    Require(placement.x >= 0 && placement.y >= 0 && std::int64_t{placement.x} + placement.width <= kMaxCoordinate &&
                std::int64_t{placement.y} + placement.height <= kMaxCoordinate,
            "placement: within the screen's coordinate range");
}

void CheckTrace(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    const std::string line = DescribeSurfaceCall(params, rect);
    Require(std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; }),
            "trace: printable ASCII whatever the record holds");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    struct {
        OverlayRect rect;
        OverlaySurfaceParams params;
    } records;
    static_assert(sizeof records == sizeof(OverlayRect) + sizeof(OverlaySurfaceParams));
    std::memset(&records, 0, sizeof records);
    std::memcpy(&records, data, std::min(size, sizeof records));

    CheckSurface(records.params);
    CheckPlacement(records.rect);
    CheckTrace(&records.params, &records.rect);
    return 0;
}
