// A fake overlay library behind an entry-point table: returns a chosen code and keeps a copy of
// the exact bytes each call was given.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bitmap/bmp_writer.h"
#include "overlay/overlay_entry_points.h"

namespace tavik::test {

struct FakeOverlay {
    static inline OverlayResult nextResult = 0;
    static inline std::vector<std::string> calls;
    static inline OverlaySurfaceParams lastParams{};
    static inline OverlayRect lastRect{};

    static void Reset(OverlayResult result = 0)
    {
        nextResult = result;
        calls.clear();
        std::memset(&lastParams, 0xCD, sizeof lastParams);
        std::memset(&lastRect, 0xCD, sizeof lastRect);
    }

    static OverlayResult OVERLAY_CALL Open() { return Record("open"); }
    static OverlayResult OVERLAY_CALL Close() { return Record("close"); }
    static OverlayResult OVERLAY_CALL ClearSetting() { return Record("clear"); }
    static OverlayResult OVERLAY_CALL SetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect)
    {
        std::memcpy(&lastParams, params, sizeof lastParams);
        std::memcpy(&lastRect, rect, sizeof lastRect);
        return Record("set");
    }
    static OverlayResult OVERLAY_CALL MoveAndShow(const OverlayRect* rect)
    {
        std::memcpy(&lastRect, rect, sizeof lastRect);
        return Record("move");
    }

    static constexpr OverlayEntryPoints table{Open, Close, SetAndShow, MoveAndShow, ClearSetting};

private:
    static OverlayResult Record(const char* name)
    {
        calls.emplace_back(name);
        return nextResult;
    }
};

using Bytes = bmp::Bytes;

template <class Record>
Bytes BytesOf(const Record& record)
{
    const auto* begin = reinterpret_cast<const std::uint8_t*>(&record);
    return Bytes(begin, begin + sizeof record);
}

// The records as the library must receive them, laid out byte by byte: little-endian numbers,
// the name's bytes and zeros after it.
inline Bytes SurfaceBytes(std::uint32_t width, std::uint32_t height, std::uint8_t red, std::uint8_t green,
                          std::uint8_t blue, const std::string& name)
{
    Bytes bytes(271, 0);
    bmp::Patch(bytes, 0, width, 4);
    bmp::Patch(bytes, 4, height, 4);
    bytes[8] = red;
    bytes[9] = green;
    bytes[10] = blue;
    std::memcpy(&bytes[11], name.data(), name.size());
    return bytes;
}

inline Bytes RectBytes(std::uint32_t startX, std::uint32_t startY, std::uint32_t endX, std::uint32_t endY)
{
    Bytes bytes(16, 0);
    bmp::Patch(bytes, 0, startX, 4);
    bmp::Patch(bytes, 4, startY, 4);
    bmp::Patch(bytes, 8, endX, 4);
    bmp::Patch(bytes, 12, endY, 4);
    return bytes;
}

}  // namespace tavik::test
