#include "check/run/failure_run.h"

#include <algorithm>

#include "check/dll_main.h"
#include "check/protocol.h"
#include "check/run/child_run.h"
#include "check/run/failure_rounds.h"
#include "check/run/reproducer.h"
#include "platform/module_path.h"
#include "process/child.h"

namespace check {

namespace {

// Processes cut short before the rest of the failure points are left unplayed: each costs a start
// and a crash, and a library that crashes on so many has shown what it does.
constexpr int kMostCutShort = 12;

// The lifecycle that showed a fault, as a replay: the counted lifecycle, then the failure point's
// lifecycle up to the call in progress, with the call made to fail.
std::vector<PlannedCall> FaultCalls(const FailureRound& round, const TestFiles& files)
{
    std::vector<PlannedCall> calls;
    for (const int ordinal : kFailureLifecycle) calls.push_back({ordinal, PlainInput(files)});
    for (const int ordinal : kFailureLifecycle) {
        PlannedCall call{ordinal, PlainInput(files)};
        if (round.failed && round.failed->ordinal == ordinal) call.failure = round.failed;
        calls.push_back(call);
        if (ordinal == round.ordinal) break;
    }
    return calls;
}

}  // namespace

void RunFailurePoints(Check check, const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                      Gathered& gathered, const std::function<void(const Line&)>& progress)
{
    Tally& tally = gathered.tallies[check];
    std::optional<FailurePlan> plan;
    std::uint32_t unreached = 0;
    std::vector<int> reproduced;  // the entry points whose fault has a reproducer
    int cutShort = 0;
    for (std::uint32_t from = 0;;) {
        const ScenarioOptions child{
            .scenario = scenario.name, .files = files.folder, .from = from, .library = options.library};
        const ChildRun run =
            RunChild(process::CommandLine(platform::ModuleFileName(), child.ToCommandLine()), progress);
        const FailureRound round = ReadRound(run.lines);
        if (!plan && !round.counted.empty()) plan = PlanFailures(round.counted);
        tally.calls += static_cast<int>(round.returned);
        unreached += round.unreached;
        for (const Finding& finding : round.findings) gathered.AddFinding(finding);
        if (run.finished) {
            if (round.point && !round.failed) ++unreached;
            // A plan is made once the counted lifecycle ended; a library with no wrapped calls has none to play.
            if (plan || round.returned > 0) tally.measures.push_back(FailurePlanSummary(plan.value_or(FailurePlan{}), unreached));
            return;
        }
        const std::string ending = CutShortOutcome(run);
        const std::optional<std::uint32_t> resume = ResumeAt(round);
        if (!resume) {
            // Before any call was made to fail: the fault is the library's in an ordinary
            // lifecycle, told as every scenario's are, unless the guarded blocks named it.
            if (round.lastSaidFinding) return;
            Finding fault{kFaultsCheck, round.ordinal, round.ordinal == kNoOrdinal && run.end == ChildRun::End::kNotStarted ? "" : round.call, ending, scenario.name};
            if (const std::optional<Finding> dllMain = DllMainFault(fault)) return gathered.AddFinding(*dllMain);
            gathered.AddFinding(fault);
            tally.cutShort = fault;
            return;
        }
        if (!round.lastSaidFinding) {
            Finding finding = CutShortFinding(round, ending);
            if (std::find(reproduced.begin(), reproduced.end(), round.ordinal) == reproduced.end()) {
                reproduced.push_back(round.ordinal);
                finding.outcome += " (" +
                                   WriteReproducer(FaultCalls(round, files), options.library, files, options.reproFolder,
                                                   std::string(scenario.name) + "-" + std::to_string(*resume)) +
                                   ")";
            }
            gathered.AddFinding(finding);
        }
        if (++cutShort == kMostCutShort && plan && *resume < plan->points.size()) {
            tally.notes.push_back("stopped after " + std::to_string(kMostCutShort) +
                                  " failure points that crashed or hung; " +
                                  std::to_string(plan->points.size() - *resume) + " of " +
                                  std::to_string(plan->points.size()) + " not played");
            return;
        }
        from = *resume;
        if (plan && from >= plan->points.size()) return;
    }
}

}  // namespace check
