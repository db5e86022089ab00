// A fake overlay library behind an entry-point table: returns a chosen code and keeps a copy of
// the exact bytes each call was given.
#pragma once

#include <cstring>
#include <string>
#include <vector>

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

}  // namespace tavik::test
