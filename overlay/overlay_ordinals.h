// The five entry points by the ordinals DRAVEL.def binds them to, and their names in reports.
// C++ only, for our own code on both sides: library authors read the ordinals in the .def.
#pragma once

namespace overlay {

// 0 stands for no entry point: loading the library, say.
enum Ordinal { kNoOrdinal = 0, kOpen, kClose, kSetAndShow, kMoveAndShow, kClearSetting };
inline constexpr int kOrdinals = kClearSetting;
inline constexpr int kAllOrdinals[] = {kOpen, kClose, kSetAndShow, kMoveAndShow, kClearSetting};

// "Set & show", for ordinals 1 to kOrdinals.
inline const char* OrdinalName(int ordinal)
{
    constexpr const char* kNames[kOrdinals] = {"Open", "Close", "Set & show", "Move & show", "Clear setting"};
    return kNames[ordinal - 1];
}

}  // namespace overlay
