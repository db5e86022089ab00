// The library's five entry points as DravelCheck names them in its lines, findings and replay files.
#pragma once

#include <string>

#include "overlay/overlay_api.h"

namespace check {

enum Ordinal { kNoOrdinal = 0, kOpen, kClose, kSetAndShow, kMoveAndShow, kClearSetting };
inline constexpr int kOrdinals = kClearSetting;
inline constexpr int kAllOrdinals[] = {kOpen, kClose, kSetAndShow, kMoveAndShow, kClearSetting};

// "ordinal 3 (Set & show)", and "Set & show" alone.
std::string OrdinalLabel(int ordinal);
const char* OrdinalName(int ordinal);
// A result code as the console shows it: "0x%08x".
std::string CodeText(OverlayResult code);

}  // namespace check
