// The checks as data: one row each drives the run, both reports and the tests. A check is its
// number and name, the scenarios whose lines it gathers, how a pass is summed up, and whether it is
// judged or only reported. Adding a check is adding a row and its scenario. The rows name the
// scenario side's functions, so they are registered there (scenario/check_table.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace check {

// The number is the one the reports print.
enum class Check {
    kExports = 1,
    kCallingConvention,
    kRecords,
    kEveryInputReturns,
    kLifecycles,
    kCost,
    kCallerState,
    kScreen,
    kFailingCalls
};

inline constexpr int kCheckCount = static_cast<int>(Check::kFailingCalls);

// Crashes, hangs and message boxes of every scenario are findings of this check.
inline constexpr Check kFaultsCheck = Check::kEveryInputReturns;
// A DllMain that crashed or did not return is this check's, whichever scenario met it; its tally
// says whether the library loaded.
inline constexpr Check kDllMainCheck = Check::kExports;

inline int Number(Check check)
{
    return static_cast<int>(check);
}
// The check of a number as the lines carry it; nullopt for a number no check has.
inline std::optional<Check> CheckOfNumber(long number)
{
    if (number < 1 || number > kCheckCount) return std::nullopt;
    return static_cast<Check>(number);
}

// "a; b; c".
inline std::string Joined(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : "; ") + text;
    return joined;
}

struct Finding {
    Check check = kFaultsCheck;
    int ordinal = 0;            // the entry point called; 0 when no call was in progress
    std::string call;           // the call as announced, with its inputs; empty when none
    std::string outcome;        // what went wrong
    std::string scenario = {};  // named only when the scenario was cut short

    std::string Text() const
    {
        return (scenario.empty() ? "" : scenario + ": ") + (call.empty() ? "" : call + " ") + outcome;
    }
    bool operator==(const Finding&) const = default;
};

class CheckedLibrary;
struct PlannedCall;
struct ScenarioOptions;
struct TestFiles;

struct Scenario {
    const char* name = nullptr;  // as `--scenario NAME`
    // Runs in a scenario process, on the library it loaded.
    void (*run)(CheckedLibrary&, const TestFiles&, const ScenarioOptions&) = nullptr;
    // After a crash or hang it goes on from the next call, until the same entry point fails the
    // same way again: one bad input must not hide the others.
    bool resumes = false;
    // Its calls' times make the per-call cost.
    bool timed = false;
    // The calls it makes, in order, as a reproducer replays them; none for a scenario whose calls
    // are not planned ahead.
    std::vector<PlannedCall> (*plan)(const TestFiles&, std::uint32_t seed, std::uint32_t samples) = nullptr;
    // Its calls are another scenario's, which reports their crashes and hangs: here they only end
    // a run, or skip to the next call where it resumes.
    bool faultsElsewhere = false;
    // Played by the failure points' run (check 9): it counts, plans, and after a crash or hang goes
    // on from the next failure point.
    bool failurePoints = false;
};

struct CheckOptions {
    std::string library;  // full path
    std::uint32_t seed;
    std::uint32_t samples;
    std::string reproFolder;  // full path
    std::string pictures;     // the folder for the screen scene's pictures; empty for none
};

// What the scenarios told one check.
struct Tally {
    int calls = 0;  // calls of the check's own scenarios that returned
    std::vector<Finding> findings{};
    std::vector<std::string> measures{};   // in the order the scenarios sent them
    std::vector<std::string> notes{};      // reported beside the verdict
    std::optional<Finding> cutShort{};     // why its own scenario did not reach its end
    std::vector<std::string> notJudged{};  // what of it this platform cannot judge, and why
    bool loaded = true;                    // the library loaded in each of its scenarios
};

// Per ordinal, the times in microseconds of the timed scenarios' calls.
using CallTimes = std::map<int, std::vector<double>>;

struct SummaryInput {
    const Tally& tally;
    const CheckOptions& options;
    const CallTimes& times;
};

inline constexpr std::size_t kMostScenarios = 2;

// A judged check passes or fails the run; a note is reported and never fails it.
enum class Role { kJudged, kNote };

// When a check's scenarios run.
enum class Phase {
    kGate,    // first, by themselves: a library that does not load there is judged by no other check
    kBeside,  // on a thread of their own, beside the kInTurn ones; for what takes longest
    kInTurn,  // one after another
    // Last, one at a time: they watch the screen, the activation or the focus, which another
    // scenario's windows would change.
    kAlone
};

struct CheckRow {
    Check id;
    const char* name;
    // Unused ones have no name. Every check's first scenario runs before any check's second.
    std::array<Scenario, kMostScenarios> scenarios;
    // The summary of a pass, and always of a note.
    std::string (*summary)(const SummaryInput&);
    Role role;
    Phase phase;
};

// In number order, the order they are reported; each phase's rows run in this order.
extern const std::span<const CheckRow> kChecks;

const CheckRow& RowOf(Check check);

}  // namespace check
