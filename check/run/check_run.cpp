#include "check/run/check_run.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "check/call_inputs.h"
#include "check/dll_main.h"
#include "check/library_image.h"
#include "check/protocol.h"
#include "check/run/child_run.h"
#include "check/run/reproducer.h"
#include "platform/module_path.h"
#include "process/child.h"

namespace check {

namespace {

std::string ScenarioCommand(const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                            std::uint32_t skip)
{
    const ScenarioOptions child{.scenario = scenario.name,
                                .files = files.folder,
                                .seed = options.seed,
                                .samples = options.samples,
                                .skip = skip,
                                .pictures = options.pictures,
                                .library = options.library};
    return process::CommandLine(platform::ModuleFileName(), child.ToCommandLine());
}

// How one run of a scenario ended, when not at its end.
struct RunEnd {
    std::uint32_t index = 0;  // of the call in progress among the scenario's planned calls
    Finding fault;            // the call in progress and what it did
};

RunEnd Gather(Check check, const Scenario& scenario, const ChildRun& run, Gathered& gathered)
{
    RunEnd end;
    end.fault = {kFaultsCheck, kNoOrdinal, "starting the scenario", "", scenario.name};
    for (const Line& line : run.lines) {
        switch (line.kind) {
            case LineKind::kCall:
                end.index = line.index;
                end.fault.ordinal = line.ordinal;
                end.fault.call = line.text;
                break;
            case LineKind::kReturned:
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
            case LineKind::kFinished:
            case LineKind::kDying:
            case LineKind::kProgress:
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
    if (end.index >= planned.size() || end.index < skip) return "";
    const std::vector<PlannedCall> calls(planned.begin() + skip,
                                         planned.begin() + static_cast<std::ptrdiff_t>(end.index) + 1);
    const std::string name = std::string(scenario.name) + "-" + std::to_string(skip + 1);
    return " (" + WriteReproducer(calls, options.library, files, options.reproFolder, name) + ")";
}

// Runs a scenario to its end; one that resumes goes on after a call that crashed or hung, from the
// call after it.
void RunScenarioToEnd(Check check, const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                      Gathered& gathered, Progress& progress)
{
    const auto counted = [&](const Line& line) { progress.Counted(scenario.name, line.index, line.total, line.text); };
    // The same entry point failing the same way again tells nothing new.
    std::vector<std::pair<int, ChildRun::End>> faults;
    for (std::uint32_t skip = 0;;) {
        const ChildRun run = RunChild(ScenarioCommand(scenario, options, files, skip), counted);
        RunEnd end = Gather(check, scenario, run, gathered);
        if (run.finished) return;
        // A DllMain that crashed or did not return is check 1's, whichever scenario met it.
        if (const std::optional<Finding> dllMain = DllMainFault(end.fault)) return gathered.AddFinding(*dllMain);
        const std::pair fault{end.fault.ordinal, run.end};
        const bool goesOn = scenario.resumes && run.end != ChildRun::End::kNotStarted &&
                            std::find(faults.begin(), faults.end(), fault) == faults.end();
        if (goesOn) end.fault.outcome += Reproducer(scenario, options, files, skip, end);
        gathered.AddFinding(end.fault);
        if (!goesOn) return;
        faults.push_back(fault);
        skip = end.index + 1;
    }
}

// Whether the library loaded in the gate's scenarios.
bool Loads(const Gathered& gathered)
{
    for (const CheckRow& row : kChecks) {
        const auto found = gathered.tallies.find(row.id);
        if (row.phase == Phase::kGate && found != gathered.tallies.end() && !found->second.findings.empty() &&
            IsLoadFailure(found->second.findings.front().outcome))
            return false;
    }
    return true;
}

// Each row of `phase` in turn, every row's first scenario before any row's second: the findings
// come in that order.
void RunPhase(Phase phase, const CheckOptions& options, const TestFiles& files, Gathered& gathered,
              Progress& progress)
{
    progress.PhaseBegun(phase);
    for (std::size_t round = 0; round < kMostScenarios; ++round) {
        // What the gate found unloadable is not loaded again by its later scenarios.
        if (phase == Phase::kGate && round > 0 && !Loads(gathered)) return;
        for (const CheckRow& row : kChecks)
            if (const Scenario& scenario = row.scenarios[round]; scenario.name != nullptr && row.phase == phase) {
                progress.Begun(phase, scenario.name);
                RunScenarioToEnd(row.id, scenario, options, files, gathered, progress);
                progress.Ended(scenario.name);
            }
    }
}

// The kBeside phase on a thread of its own: the platform's thread, as the C++ one would bring a
// threads library into the program for this one use.
struct BesideRun {
    const CheckOptions& options;
    const TestFiles& files;
    Progress& progress;
    Gathered gathered;
};

DWORD WINAPI RunBeside(void* parameter)
{
    BesideRun& run = *static_cast<BesideRun*>(parameter);
    RunPhase(Phase::kBeside, run.options, run.files, run.gathered, run.progress);
    return 0;
}

}  // namespace

std::vector<CheckResult> RunChecks(const CheckOptions& options, Progress& progress)
{
    const TestFiles files = TestFiles::InTemp("DravelCheck-");
    files.Create();
    Gathered gathered;
    RunPhase(Phase::kGate, options, files, gathered, progress);
    const bool loads = Loads(gathered);
    if (loads) {
        BesideRun beside{options, files, progress, {}};
        const HANDLE thread = CreateThread(nullptr, 0, RunBeside, &beside, 0, nullptr);
        if (thread == nullptr) RunBeside(&beside);
        RunPhase(Phase::kInTurn, options, files, gathered, progress);
        if (thread != nullptr) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        RunPhase(Phase::kAlone, options, files, gathered, progress);
        // What ran beside first, as its checks read their lines.
        Gathered ordered;
        ordered.Add(beside.gathered);
        ordered.Add(gathered);
        gathered = std::move(ordered);
    }
    files.Remove();
    return Verdicts(kChecks, gathered, options, loads);
}

}  // namespace check
