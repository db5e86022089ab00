// The library's five entry points as DravelCheck names them in its lines, findings and replay files:
// the boundary's own ordinals, names and result text, and the label its findings use.
#pragma once

#include <string>

#include "overlay/overlay_ordinals.h"
#include "overlay/overlay_result_text.h"

namespace check {

using overlay::kAllOrdinals, overlay::kClearSetting, overlay::kClose, overlay::kMoveAndShow, overlay::kNoOrdinal,
    overlay::kOpen, overlay::kOrdinals, overlay::kSetAndShow, overlay::OrdinalName, overlay::ResultText;

// "ordinal 3 (Set & show)".
std::string OrdinalLabel(int ordinal);

}  // namespace check
