// How a scenario process ended before its end, kept as a value with its fields until it is
// worded, here and nowhere else: a call's ending is check 4's finding, blamed on the call; a
// step's (loading, FreeLibrary, the process's end) is its DllMain's and check 1's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "check/checks.h"
#include "check/ordinals.h"
#include "check/protocol.h"

namespace check {

struct Ending {
    enum class Kind {
        kHung,    // silent for `seconds` in a call or step
        kSilent,  // silent for `seconds` between calls
        kExited,  // the process ended: by `exitCode`, or by what it said was killing it
    };
    Kind kind = Kind::kExited;
    Step step = Step::kCall;  // what was in progress; a call between calls
    unsigned seconds = 0;
    std::string box{};           // kHung: the text of a message box it showed; empty for none
    std::uint32_t exitCode = 0;  // kExited: an exception's code for a crash
    std::optional<Dying> dying{};
    // kExited: the end of its standard error, where a C++ runtime names the exception it ends the
    // process for.
    std::string errors{};

    bool operator==(const Ending&) const = default;
};

// What was in progress when it ended: the call or step last announced.
struct InProgress {
    int ordinal = kNoOrdinal;
    std::string call{};  // the call as announced; empty for a step
};

// The finding: "did not return within 5 s" of the call in progress, for a call, in `scenario`;
// "the library does not load: its DllMain did not return from loading within 5 s" for a step.
Finding FindingOf(const Ending& ending, const InProgress& call, const std::string& scenario);

// Whether the library was still loading when it ended: then it did not load.
inline bool EndedLoading(const Ending& ending)
{
    return ending.step == Step::kLoading && ending.kind != Ending::Kind::kSilent;
}

// Check 1's finding for a library the loader refused with `error` ("the library does not load:
// its DllMain refused to load it (error 1114)").
std::string NotLoadingText(std::uint32_t error);

}  // namespace check
