#include "check/check_run.h"

#include <windows.h>

#include <algorithm>
#include <thread>
#include <utility>

#include "check/call_inputs.h"
#include "check/checked_library.h"
#include "check/dll_main.h"
#include "check/library_image.h"
#include "check/protocol.h"
#include "check/reproducer.h"
#include "check/scenario_child.h"
#include "check/scenarios.h"
#include "framework/module_path.h"
#include "process/child.h"

namespace check {

namespace {

template <typename T>
void AddOnce(std::vector<T>& list, const T& item)
{
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

// What the scenarios told each check, and the times of the timed calls.
struct Gathered {
    std::map<Check, Tally> tallies;
    CallTimes times;

    // Takes in what scenarios run beside these told.
    void Add(const Gathered& other)
    {
        for (const auto& [check, from] : other.tallies) {
            Tally& to = tallies[check];
            to.calls += from.calls;
            for (const Finding& finding : from.findings) AddOnce(to.findings, finding);
            for (const std::string& reason : from.notJudged) AddOnce(to.notJudged, reason);
            to.notes.insert(to.notes.end(), from.notes.begin(), from.notes.end());
            to.measures.insert(to.measures.end(), from.measures.begin(), from.measures.end());
            if (!to.cutShort) to.cutShort = from.cutShort;
        }
        for (const auto& [ordinal, micros] : other.times)
            times[ordinal].insert(times[ordinal].end(), micros.begin(), micros.end());
    }
};

std::string ScenarioCommand(const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                            std::uint32_t skip)
{
    return process::CommandLine(fw::ModuleFileName(),
                                {"--scenario", scenario.name, "--files", files.folder, "--seed",
                                 std::to_string(options.seed), "--samples", std::to_string(options.samples), "--skip",
                                 std::to_string(skip), "--pictures", options.pictures, options.library});
}

// How one run of a scenario ended, when not at its end.
struct RunEnd {
    std::uint32_t callsDone = 0;
    Finding fault;  // the call in progress and what it did
};

RunEnd Gather(Check check, const Scenario& scenario, const ChildRun& run, Gathered& gathered)
{
    RunEnd end;
    end.fault = {kFaultsCheck, kNoOrdinal, "starting the scenario", "", scenario.name};
    for (const Line& line : run.lines) {
        switch (line.kind) {
            case LineKind::kCall:
                end.fault.ordinal = line.ordinal;
                end.fault.call = line.text;
                break;
            case LineKind::kDone:
                ++end.callsDone;
                ++gathered.tallies[check].calls;
                if (scenario.timed) gathered.times[line.ordinal].push_back(line.micros);
                break;
            case LineKind::kFinding:
                AddOnce(gathered.tallies[line.finding.check].findings, line.finding);
                break;
            case LineKind::kMeasure:
                gathered.tallies[line.check].measures.push_back(line.text);
                break;
            case LineKind::kNote:
                gathered.tallies[line.check].notes.push_back(line.text);
                break;
            case LineKind::kNotJudged:
                AddOnce(gathered.tallies[line.check].notJudged, line.text);
                break;
            case LineKind::kEnding:
            case LineKind::kEnd:
                break;  // RunChild keeps them apart
        }
    }
    if (run.finished) return end;
    if (run.end == ChildRun::End::kNotStarted) end.fault.call.clear();
    end.fault.outcome = CutShortOutcome(run);
    if (check != kFaultsCheck) gathered.tallies[check].cutShort = end.fault;
    return end;
}

// Shrinks the calls of a run cut short into a reproducer; " (what became of it)" for the run's
// finding, or nothing where the calls are not known.
std::string Reproducer(const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                       std::uint32_t skip, const RunEnd& end)
{
    const std::vector<PlannedCall> planned = PlannedCalls(scenario.name, files, options.seed, options.samples);
    const std::size_t last = skip + end.callsDone;
    if (last >= planned.size()) return "";
    const std::vector<PlannedCall> calls(planned.begin() + skip,
                                         planned.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    const std::string name = std::string(scenario.name) + "-" + std::to_string(skip + 1);
    return " (" + WriteReproducer(calls, options.library, files, options.reproFolder, name) + ")";
}

// Runs a scenario to its end; one that resumes goes on after a call that crashed or hung, from the
// call after it.
void RunScenarioToEnd(Check check, const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                      Gathered& gathered)
{
    // The same entry point failing the same way again tells nothing new.
    std::vector<std::pair<int, ChildRun::End>> faults;
    for (std::uint32_t skip = 0;;) {
        const ChildRun run = RunChild(ScenarioCommand(scenario, options, files, skip));
        RunEnd end = Gather(check, scenario, run, gathered);
        if (run.finished) return;
        if (const auto dllMain = DllMainFault(end.fault))
            return AddOnce(gathered.tallies[Check::kExports].findings, *dllMain);
        const std::pair fault{end.fault.ordinal, run.end};
        const bool goesOn = scenario.resumes && run.end != ChildRun::End::kNotStarted &&
                            std::find(faults.begin(), faults.end(), fault) == faults.end();
        if (goesOn) end.fault.outcome += Reproducer(scenario, options, files, skip, end);
        AddOnce(gathered.tallies[kFaultsCheck].findings, end.fault);
        if (!goesOn) return;
        faults.push_back(fault);
        skip += end.callsDone + 1;
    }
}

}  // namespace

std::vector<CheckResult> RunChecks(const CheckOptions& options)
{
    const TestFiles files = TestFiles::InTemp("DravelCheck-");
    files.Create();
    Gathered gathered;
    // The exports first: a library that does not load cannot be judged by the others.
    const CheckRow& exports = RowOf(Check::kExports);
    RunScenarioToEnd(exports.id, exports.scenarios[0], options, files, gathered);
    const std::vector<Finding>& exportFindings = gathered.tallies[Check::kExports].findings;
    const bool loads = exportFindings.empty() || !IsLoadFailure(exportFindings.front().outcome);
    if (loads) {
        // The lifecycles take longest; the other scenarios run beside them.
        const CheckRow& lifecycles = RowOf(Check::kLifecycles);
        Gathered beside;
        std::thread thread([&] {
            for (const Scenario& scenario : lifecycles.scenarios)
                if (scenario.name != nullptr) RunScenarioToEnd(lifecycles.id, scenario, options, files, beside);
        });
        // Every check's first scenario runs before any second one: the findings come in that order.
        const auto runRound = [&](bool alone) {
            for (std::size_t round = 0; round < kMostScenarios; ++round)
                for (const CheckRow& row : kChecks)
                    if (const Scenario& scenario = row.scenarios[round];
                        scenario.name != nullptr && scenario.alone == alone && (&row != &exports || round > 0) &&
                        &row != &lifecycles)
                        RunScenarioToEnd(row.id, scenario, options, files, gathered);
        };
        runRound(false);
        thread.join();
        runRound(true);
        // The lifecycles' own lines first, as their check reads them.
        beside.Add(gathered);
        gathered = std::move(beside);
    }
    files.Remove();

    std::vector<CheckResult> results;
    for (const CheckRow& row : kChecks) {
        Tally& tally = gathered.tallies[row.id];
        const std::string summary = row.summary({tally, options, gathered.times});
        if (row.role == Role::kNote)
            results.push_back({row.id, Verdict::kNote, loads ? summary : "not measured", {}, tally.notes});
        else if (!tally.findings.empty())
            results.push_back({row.id, Verdict::kFail, tally.findings.front().Text(), tally.findings, tally.notes});
        else if (!loads)
            results.push_back({row.id, Verdict::kNotJudged, "the library does not load (check 1)", {}, {}});
        else if (!tally.notJudged.empty())
            results.push_back({row.id, Verdict::kNotJudged, Joined(tally.notJudged), {}, tally.notes});
        else if (tally.cutShort)
            results.push_back(
                {row.id,
                 Verdict::kNote,
                 "not finished: " + tally.cutShort->Text() + " (check " + std::to_string(Number(kFaultsCheck)) + ")",
                 {},
                 tally.notes});
        else
            results.push_back({row.id, Verdict::kPass, summary, {}, tally.notes});
    }
    return results;
}

std::vector<CheckResult> NotJudged(const std::string& reason)
{
    std::vector<CheckResult> results;
    for (const CheckRow& row : kChecks) results.push_back({row.id, Verdict::kNotJudged, reason, {}, {}});
    return results;
}

}  // namespace check
