#include "check/run/scenario_run.h"

#include <algorithm>
#include <utility>

namespace check {

namespace {

// Where a run was when it ended: the call or step last announced.
struct Place {
    std::uint32_t index = 0;  // among the scenario's planned calls
    InProgress call;
};

Place Gather(Check check, const Scenario& scenario, const ChildRun& run, Gathered& gathered)
{
    Place place;
    for (const Line& line : run.lines) {
        switch (line.kind) {
            case LineKind::kCall:
                place = {line.index, {line.ordinal, line.text}};
                break;
            case LineKind::kReturned:
                if (line.ordinal == kNoOrdinal) break;  // a step
                ++gathered.tallies[check].calls;
                if (scenario.timed) gathered.times[line.ordinal].push_back(line.micros);
                break;
            case LineKind::kFinding:
                gathered.AddFinding(line.finding);
                break;
            case LineKind::kMeasure:
                gathered.tallies[line.check].measures.push_back(line.text);
                break;
            case LineKind::kNote:
                gathered.tallies[line.check].notes.push_back(line.text);
                break;
            case LineKind::kNotJudged:
                gathered.AddNotJudged(line.check, line.text);
                break;
            case LineKind::kNotLoaded:
                gathered.AddNotLoaded(line.check, line.code);
                break;
            case LineKind::kFinished:
            case LineKind::kDying:
            case LineKind::kProgress:
                break;  // the runner keeps them apart
            case LineKind::kCounted:
            case LineKind::kPoint:
            case LineKind::kFailing:
                break;  // the failure points' run reads them
        }
    }
    return place;
}

}  // namespace

ChildRun RunRetried(const ChildRunner& run, const ScenarioOptions& options, const ProgressSink& progress)
{
    ChildRun first = run(options, progress);
    return first.failure ? run(options, progress) : first;
}

void AddNotStarted(Check check, const std::string& failure, Gathered& gathered)
{
    gathered.AddNotJudged(check, "the scenario process did not start: " + failure);
}

bool TookDllMainFault(Check check, const Ending& ending, const Finding& finding, Gathered& gathered)
{
    if (finding.check == kFaultsCheck) return false;
    if (EndedLoading(ending)) gathered.tallies[finding.check].loaded = false;
    if (check != finding.check) gathered.AddCutShort(check, finding);
    gathered.AddFinding(finding);
    return true;
}

void ScenarioRuns::RunPhase(std::span<const CheckRow> rows, Phase phase, Gathered& gathered) const
{
    m_progress.PhaseBegun(phase);
    for (std::size_t round = 0; round < kMostScenarios; ++round) {
        if (phase == Phase::kGate && round > 0 && !gathered.Loads(rows)) return;
        for (const CheckRow& row : rows)
            if (const Scenario& scenario = row.scenarios[round]; scenario.name != nullptr && row.phase == phase) {
                m_progress.Begun(phase, scenario.name);
                RunToEnd(row.id, scenario, gathered);
                m_progress.Ended(scenario.name);
            }
    }
}

void ScenarioRuns::RunToEnd(Check check, const Scenario& scenario, Gathered& gathered) const
{
    const ProgressSink counted = [&](const Line& line) {
        m_progress.Counted(scenario.name, line.index, line.total, line.text);
    };
    if (scenario.failurePoints) return RunFailurePoints(check, scenario, gathered, counted);
    // The same entry point failing the same way again tells nothing new.
    std::vector<std::pair<int, Ending::Kind>> faults;
    for (std::uint32_t skip = 0;;) {
        const ScenarioOptions options{.scenario = scenario.name,
                                      .files = m_files.folder,
                                      .seed = m_options.seed,
                                      .samples = m_options.samples,
                                      .skip = skip,
                                      .pictures = m_options.pictures,
                                      .library = m_options.library};
        const ChildRun run = RunRetried(m_runner.run, options, counted);
        const Place place = Gather(check, scenario, run, gathered);
        if (run.failure) return AddNotStarted(check, *run.failure, gathered);
        if (!run.ending) return;
        Finding finding = FindingOf(*run.ending, place.call, scenario.name);
        if (TookDllMainFault(check, *run.ending, finding, gathered)) return;
        const std::pair fault{place.call.ordinal, run.ending->kind};
        const bool goesOn = scenario.resumes && std::find(faults.begin(), faults.end(), fault) == faults.end();
        if (!scenario.faultsElsewhere) {
            if (check != kFaultsCheck) gathered.AddCutShort(check, finding);
            if (goesOn) finding.outcome += Reproducer(scenario, skip, place.index);
            gathered.AddFinding(finding);
        }
        if (!goesOn) return;
        faults.push_back(fault);
        skip = place.index + 1;
    }
}

std::string ScenarioRuns::Reproducer(const Scenario& scenario, std::uint32_t skip, std::uint32_t index) const
{
    if (scenario.plan == nullptr) return "";
    const std::vector<PlannedCall> planned = scenario.plan(m_files, m_options.seed, m_options.samples);
    if (index >= planned.size() || index < skip) return "";
    const std::vector<PlannedCall> calls(planned.begin() + skip,
                                         planned.begin() + static_cast<std::ptrdiff_t>(index) + 1);
    return " (" + m_runner.reproduce(calls, std::string(scenario.name) + "-" + std::to_string(skip + 1)) + ")";
}

}  // namespace check
