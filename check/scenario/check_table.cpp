// The table of checks, registered here beside the scenarios it names; the run side links it.
#include "check/checks.h"

#include <algorithm>
#include <cstdio>

#include "check/ordinals.h"
#include "check/random_sample.h"
#include "check/scenario/failing_scenario.h"
#include "check/scenario/scenarios.h"
#include "check/scenario/scene.h"
#include "check/sweep.h"

namespace check {

namespace {

std::string Calls(const Tally& tally)
{
    return std::to_string(tally.calls) + " calls";
}

std::string Milliseconds(double micros)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f ms", micros / 1000);
    return text;
}

std::string CostSummary(const CallTimes& times)
{
    std::string summary;
    for (const int ordinal : kAllOrdinals) {
        if (!summary.empty()) summary += "; ";
        summary += OrdinalLabel(ordinal);
        const auto found = times.find(ordinal);
        if (found == times.end() || found->second.empty()) {
            summary += " not called";
            continue;
        }
        std::vector<double> sorted = found->second;
        std::sort(sorted.begin(), sorted.end());
        summary += " median " + Milliseconds(sorted[sorted.size() / 2]) + ", worst " + Milliseconds(sorted.back());
    }
    return summary;
}

constexpr CheckRow kRows[] = {
    {Check::kExports,
     "exports",
     {{{"exports", Exports}, {"unload", Unloading}}},
     [](const SummaryInput&) {
         return std::string(
             "ordinals 1-5 present; DllMain returned from loading, from FreeLibrary and at the "
             "process's end");
     },
     Role::kJudged,
     Phase::kGate},
    {Check::kCallingConvention,
     "calling convention and registers",
     {{{"abi", CallingConvention}}},
     [](const SummaryInput& in) { return Calls(in.tally) + ": " + Joined(in.tally.measures) + " kept"; },
     Role::kJudged,
     Phase::kInTurn},
    {Check::kRecords,
     "records read-only and not kept",
     {{{"records", Records}}},
     [](const SummaryInput& in) {
         return Calls(in.tally) + ": no write, no read past a record, no touch after the call";
     },
     Role::kJudged,
     Phase::kInTurn},
    {Check::kEveryInputReturns,
     "every input returns",
     {{{.name = "sweep",
        .run = Sweep,
        .resumes = true,
        .timed = true,
        .plan = [](const TestFiles& files, std::uint32_t, std::uint32_t) { return SweepCalls(files); }},
       {.name = "random", .run = RandomSample, .resumes = true, .plan = RandomPlan}}},
     [](const SummaryInput& in) {
         return Calls(in.tally) + " (sweep, and " + std::to_string(in.options.samples) + " random with seed " +
                std::to_string(in.options.seed) + "): each returned a code; no crash, hang or message box";
     },
     Role::kJudged,
     Phase::kInTurn},
    {Check::kLifecycles,
     "lifecycles leak nothing",
     {{{"cycles", Lifecycles},
       {.name = "random-memory", .run = RandomSampleMemory, .resumes = true, .faultsElsewhere = true}}},
     [](const SummaryInput& in) { return Joined(in.tally.measures); },
     Role::kJudged,
     Phase::kBeside},
    {Check::kCost,
     "per-call cost",
     {},
     [](const SummaryInput& in) { return "over the sweep: " + CostSummary(in.times); },
     Role::kNote,
     Phase::kInTurn},
    {Check::kCallerState,
     "caller's state kept",
     {{{"state", CallerStateKept}}},
     [](const SummaryInput& in) {
         return Calls(in.tally) +
                ": the caller's messages neither dispatched nor taken during a call; no message left for the "
                "caller; current directory, error mode, thread locale, unhandled-exception filter, cursor clip, mouse "
                "capture, activation, focus, the caller's window procedure, the clipboard, the DLL directory, thread "
                "priority and priority class kept; no thread timer or hook left after Close";
     },
     Role::kJudged,
     Phase::kAlone},
    {Check::kScreen,
     "what the library shows",
     {{{"scene", Scene}}},
     [](const SummaryInput&) {
         return std::string(
             "after Close no window of the library's is visible and the screen is as before Open; the caller's "
             "window kept the foreground, activation and focus throughout");
     },
     Role::kJudged,
     Phase::kAlone},
    {Check::kFailingCalls,
     "its own calls may fail",
     {{{.name = "failing", .run = FailingCalls, .failurePoints = true}}},
     [](const SummaryInput& in) { return Joined(in.tally.measures); },
     Role::kJudged,
     Phase::kInTurn},
};

// The reports print each check's number; rows in number order keep them in step.
constexpr bool NumberedInOrder()
{
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (static_cast<std::size_t>(kRows[i].id) != i + 1) return false;
    return true;
}
static_assert(NumberedInOrder(), "the checks' rows are numbered 1, 2, ... in order");
static_assert(std::size(kRows) == std::size_t{kCheckCount}, "a row for each check");

}  // namespace

const std::span<const CheckRow> kChecks{kRows};

const CheckRow& RowOf(Check check)
{
    return kRows[Number(check) - 1];
}

}  // namespace check
