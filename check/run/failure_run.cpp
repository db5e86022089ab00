// Check 9's run: a scenario process counts the library's wrapped calls over one lifecycle and
// plays the failure points planned from them; one that crashes or hangs is followed by another
// from the next failure point.
#include <algorithm>

#include "check/run/failure_rounds.h"
#include "check/run/scenario_run.h"

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
        if (ordinal == round.call.ordinal) break;
    }
    return calls;
}

}  // namespace

void ScenarioRuns::RunFailurePoints(Check check, const Scenario& scenario, Gathered& gathered,
                                    const ProgressSink& progress) const
{
    std::optional<FailurePlan> plan;
    std::uint32_t unreached = 0;
    std::vector<int> reproduced;  // the entry points whose fault has a reproducer
    int cutShort = 0;
    for (std::uint32_t from = 0;;) {
        const ScenarioOptions options{
            .scenario = scenario.name, .files = m_files.folder, .from = from, .library = m_options.library};
        const ChildRun run = RunRetried(m_runner.run, options, progress);
        if (run.failure) return AddNotStarted(check, *run.failure, gathered);
        const FailureRound round = ReadRound(run.lines);
        if (!plan && !round.counted.empty()) plan = PlanFailures(round.counted);
        gathered.tallies[check].calls += static_cast<int>(round.returned);
        unreached += round.unreached;
        for (const Line& line : run.lines)
            if (line.kind == LineKind::kNotLoaded) gathered.AddNotLoaded(line.check, line.code);
        for (const Finding& finding : round.findings) gathered.AddFinding(finding);
        if (!run.ending) {
            if (round.point && !round.failed) ++unreached;
            // A plan is made once the counted lifecycle ended; a library with no wrapped calls has none to play.
            if (plan || round.returned > 0)
                gathered.tallies[check].measures.push_back(FailurePlanSummary(plan.value_or(FailurePlan{}), unreached));
            return;
        }
        const std::optional<std::uint32_t> resume = ResumeAt(round);
        Finding finding = FindingOf(*run.ending, round.call, scenario.name);
        if (TookDllMainFault(check, *run.ending, finding, gathered)) return;
        if (!resume) {
            // Before any call was made to fail: the fault is the library's in an ordinary
            // lifecycle, told as every scenario's are, unless the guarded blocks named it.
            if (round.lastSaidFinding) return;
            gathered.AddCutShort(check, finding);
            return gathered.AddFinding(finding);
        }
        if (!round.lastSaidFinding) {
            finding = CutShortFinding(round, *run.ending);
            if (std::find(reproduced.begin(), reproduced.end(), round.call.ordinal) == reproduced.end()) {
                reproduced.push_back(round.call.ordinal);
                finding.outcome += " (" +
                                   m_runner.reproduce(FaultCalls(round, m_files),
                                                      std::string(scenario.name) + "-" + std::to_string(*resume)) +
                                   ")";
            }
            gathered.AddFinding(finding);
        }
        if (++cutShort == kMostCutShort && plan && *resume < plan->points.size()) {
            gathered.tallies[check].notes.push_back("stopped after " + std::to_string(kMostCutShort) +
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
