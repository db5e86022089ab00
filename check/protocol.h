// Between DravelCheck and the scenario processes it starts from its own program: the flags it
// starts one with, and the lines the scenario writes to its standard output as it goes. A call or
// step about to start (so a crash or hang is blamed on it), one that returned, a finding, a
// measurement, a note (reported beside the verdict, never judged), what the platform cannot judge,
// that the library did not load, that the scenario finished, what is killing it when it dies
// before that, and how far it has come (for the person watching, never judged). Check 9's scenario
// also says what it counted, which failure point it starts and which call it made fail. The facts
// go as values; the run side words them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "check/checks.h"

namespace check {

// How a scenario process is started: `--scenario NAME --files DIR [--seed S] [--samples N]
// [--skip CALLS] [--from POINT] [--pictures DIR] [--replay FILE] LIBRARY`.
struct ScenarioOptions {
    std::string scenario{};  // a row's scenario, or kReplayScenario
    std::string files{};     // the folder of TestFiles, made by the checking process
    std::uint32_t seed = 0;
    std::uint32_t samples = 0;
    // Calls passed over before the first one made: a scenario cut short by a crash or hang goes
    // on after the call that ended it.
    std::uint32_t skip = 0;
    // Check 9: the failure point to start at, from 0; those before it were played by a process
    // that a crash or hang ended.
    std::uint32_t from = 0;
    std::string pictures{};  // the folder the screen scene writes its pictures to; empty for none
    std::string replay{};    // the replay file kReplayScenario plays
    std::string library{};

    // The arguments after the program's name, unquoted.
    std::vector<std::string> ToCommandLine() const;
    // Nullopt unless `arguments` (after the program's name) start a scenario and each reads.
    static std::optional<ScenarioOptions> Parse(std::span<const std::string> arguments);
    bool operator==(const ScenarioOptions&) const = default;
};

inline constexpr char kReplayScenario[] = "replay";

// Each line is "@KIND ...", KIND the enum's name without its k.
enum class LineKind {
    kCall,
    kReturned,
    kFinding,
    kMeasure,
    kNote,
    kNotJudged,
    kFinished,
    kDying,
    kNotLoaded,
    kProgress,
    kCounted,  // an entry point's calls to one wrapped import over the counted lifecycle
    kPoint,    // a failure point starts
    kFailing   // a wrapped call is made to fail
};
inline constexpr const char* kLineKindNames[] = {"Call",     "Returned", "Finding",  "Measure", "Note",
                                                 "NotJudged", "Finished", "Dying",    "NotLoaded", "Progress",
                                                 "Counted",  "Point",    "Failing"};
static_assert(std::size(kLineKindNames) == static_cast<std::size_t>(LineKind::kFailing) + 1, "a name for each kind");

// What a kCall line announces: a call of an entry point, or a step that runs the library's DllMain.
// A step that crashes or does not return is DllMain's fault and check 1's finding, never a call's.
enum class Step {
    kCall,
    kLoading,     // LoadLibrary
    kUnloading,   // FreeLibrary, as the console does at its end
    kProcessEnd,  // the process ending with the library loaded
};
inline constexpr const char* kStepNames[] = {"call", "loading", "unloading", "ending"};
static_assert(std::size(kStepNames) == static_cast<std::size_t>(Step::kProcessEnd) + 1, "a name for each step");

// What a scenario process says is killing it, when the exit code cannot tell.
enum class Dying {
    kThrow,    // a C++ exception ended in std::terminate
    kAbort,    // abort() with no exception in flight
    kHeap,     // the heap no longer validated after the call, and the scenario ended itself
    kUnloaded  // the library's module was no longer loaded after the call, and the scenario ended itself
};
inline constexpr const char* kDyingNames[] = {"Throw", "Abort", "Heap", "Unloaded"};
// The exception codes of a C++ throw: GCC's where unwinding is SEH (x86_64), and MSVC's.
inline constexpr std::uint32_t kGccThrow = 0x20474343;
inline constexpr std::uint32_t kMsvcThrow = 0xE06D7363;
static_assert(std::size(kDyingNames) == static_cast<std::size_t>(Dying::kUnloaded) + 1, "a name for each");

struct Line {
    LineKind kind = LineKind::kFinished;
    Step step = Step::kCall;  // kCall
    int ordinal = 0;          // kCall, kReturned, kCounted, kPoint, kFailing; kNoOrdinal for a step
    // kCall: the scenario's calls made or passed over before it; kProgress: done; kCounted: how
    // many; kPoint: the failure point's number in the plan, from 0; kFailing: which call to the
    // import, from 1.
    std::uint32_t index = 0;
    std::uint32_t total = 0;      // kProgress
    std::uint32_t code = 0;       // kReturned; kNotLoaded: the loader's error
    double micros = 0;            // kReturned
    std::string text{};           // kCall: the call; kMeasure, kNote: what it says; kNotJudged: why;
                                  // kProgress: what it counts ("calls"); kCounted, kFailing: the
                                  // wrapped import
    Check check = Check{};        // kMeasure, kNote, kNotJudged, kNotLoaded
    Finding finding{};            // kFinding
    Dying dying = Dying::kAbort;  // kDying

    bool operator==(const Line&) const = default;
};

// The line without its end; line ends inside texts become spaces.
std::string FormatLine(const Line& line);
// Nullopt for a line that is none of these, or whose number is out of range.
std::optional<Line> ParseLine(const std::string& text);

}  // namespace check
